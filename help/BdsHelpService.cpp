#include "help/BdsHelpService.h"

#include <optional>

#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComGuard.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Registry.h"
#include "platform/vcl/Forms.h"
#include "platform/win32/Observed.h"

namespace korvel {

const String dexplore2003RegPath = u"\\CLSID\\{4A79114D-19E4-11d3-B86B-00C04F79F802}\\LocalServer32";

namespace {

const String HelpCollectionSwitch = u"/helpcol ";
const String HelpViewerProgram = u"dexplore.exe";

// The viewer's command as registered (a quoted path), when the path it names exists.
// Raises when the registration cannot be read.
std::optional<String> RegisteredHelpViewer() {
    rtl::TRegistry registry;
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    // A key that cannot be opened counts as missing: reading on would read the root's value.
    if (!registry.OpenKey(dexplore2003RegPath, false)) return std::nullopt;
    const String command = registry.ReadString(String());
    // The first and last characters are taken for quotes, whatever they are.
    if (command.size() < 2 || !rtl::FileExists(command.substr(1, command.size() - 2))) return std::nullopt;
    return command;
}

void LaunchHelpViewer(const String& file, const String& parameters) {
    win32::LaunchShell({nullptr, String(), file, parameters, String(), SW_SHOW});
}

}  // namespace

HRESULT TBdsHelpService::ShowHelpByKeyword(BSTR keyword) {
    return rtl::ComGuard([&] {
        if (vcl::TApplication* application = vcl::Application()) application->HelpKeyword(rtl::FromBstr(keyword));
        return S_OK;
    });
}

HRESULT TBdsHelpService::ShowHelpByURL(BSTR URL) {
    return rtl::ComGuard([&] {
        const String parameters = HelpCollectionSwitch + rtl::FromBstr(URL);
        std::optional<String> viewer;
        rtl::Swallow([&] { viewer = RegisteredHelpViewer(); });
        // Without a usable registration the shell finds the viewer by its program name.
        LaunchHelpViewer(viewer.value_or(HelpViewerProgram), parameters);
        return S_OK;
    });
}

}  // namespace korvel
