#include "services/IdeProductKey.h"

#include "platform/rtl/ComGuard.h"
#include "platform/rtl/Registry.h"

namespace korvel {
namespace {

bool OpenProductKey(rtl::TRegistry& registry, const rtl::String& regKeyName) {
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    return registry.KeyExists(regKeyName) && registry.OpenKey(regKeyName, false);
}

}  // namespace

rtl::String ReadIdeEdition(const rtl::String& regKeyName) {
    rtl::String edition = u"unknown";
    rtl::Swallow([&] {
        rtl::TRegistry registry;
        if (OpenProductKey(registry, regKeyName) && registry.ValueExists(u"Edition"))
            edition = registry.ReadString(u"Edition");
    });
    return edition;
}

bool ReadIsPersonalityEdition(const rtl::String& regKeyName) {
    bool personality = true;
    rtl::Swallow([&] {
        rtl::TRegistry registry;
        if (OpenProductKey(registry, regKeyName) && registry.ValueExists(u"RegMergeTimeStamp")) personality = false;
    });
    return personality;
}

}  // namespace korvel
