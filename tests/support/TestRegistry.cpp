#include "tests/support/TestRegistry.h"

#include "loader/PackageDiscovery.h"
#include "platform/rtl/Guid.h"

namespace testing_support {
namespace {

HKEY Create(HKEY root, const String& path) {
    HKEY key = nullptr;
    RegCreateKeyExW(root, rtl::W(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

}  // namespace

String PackagesKey() { return korvel::PkgKey(); }

String IdeProductKey() { return u"SOFTWARE\\CodeGear\\BDS\\9.0"; }

TestRegistry::TestRegistry() {
    // Whatever an earlier test or program left behind must not leak into this one: every
    // test starts without packages and without the IDE's own key, and writes what it needs.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(PackagesKey()));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, rtl::W(IdeProductKey()));
}

TestRegistry::~TestRegistry() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) RegDeleteTreeW(it->first, rtl::W(it->second));
}

void TestRegistry::Remember(HKEY root, const String& path) {
    // Package keys go with the packages key; anything else is removed key by key.
    const String removable = path.rfind(PackagesKey(), 0) == 0 ? PackagesKey() : path;
    for (const auto& entry : created_)
        if (entry.first == root && entry.second == removable) return;
    created_.emplace_back(root, removable);
}

void TestRegistry::CreateKey(HKEY root, const String& path) {
    HKEY key = Create(root, path);
    if (key) RegCloseKey(key);
    Remember(root, path);
}

void TestRegistry::SetBytes(HKEY root, const String& path, const String& name, DWORD type,
                            const std::vector<uint8_t>& data) {
    HKEY key = Create(root, path);
    if (!key) return;
    RegSetValueExW(key, rtl::W(name), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    Remember(root, path);
}

void TestRegistry::SetString(HKEY root, const String& path, const String& name, const String& value, DWORD type) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(value.c_str());
    SetBytes(root, path, name, type, std::vector<uint8_t>(bytes, bytes + (value.size() + 1) * sizeof(char16_t)));
}

void TestRegistry::SetDword(HKEY root, const String& path, const String& name, uint32_t value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    SetBytes(root, path, name, REG_DWORD, std::vector<uint8_t>(bytes, bytes + sizeof(value)));
}

void TestRegistry::AddPackage(const String& id, const String& name) {
    SetString(HKEY_LOCAL_MACHINE, PackagesKey() + u"\\" + id, u"", name);
}

void TestRegistry::AddPackage(const String& id, const String& name, int32_t loadOrder) {
    AddPackage(id, name);
    SetDword(HKEY_LOCAL_MACHINE, PackagesKey() + u"\\" + id, u"LoadOrder", static_cast<uint32_t>(loadOrder));
}

void TestRegistry::RegisterInprocServer(const GUID& clsid, const String& path) {
    const String key = u"Software\\Classes\\CLSID\\" + rtl::GUIDToString(clsid);
    SetString(HKEY_LOCAL_MACHINE, key + u"\\InprocServer32", u"", path);
    SetString(HKEY_LOCAL_MACHINE, key + u"\\InprocServer32", u"ThreadingModel", u"Apartment");
}

}  // namespace testing_support
