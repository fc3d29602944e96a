#include "platform/rtl/Registry.h"

#include "platform/rtl/Exceptions.h"

namespace rtl {
namespace {

String WithoutLeadingBackslash(const String& path) {
    return !path.empty() && path[0] == u'\\' ? path.substr(1) : path;
}

}  // namespace

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

HKEY TRegistry::BaseFor(const String& path) const {
    return (!path.empty() && path[0] == u'\\') || !current_ ? root_ : current_;
}

LSTATUS TRegistry::Open(const String& path, REGSAM access, HKEY& key) const {
    return RegOpenKeyExW(BaseFor(path), W(WithoutLeadingBackslash(path)), 0, access, &key);
}

bool TRegistry::OpenKey(const String& path, bool canCreate) {
    HKEY key = nullptr;
    LSTATUS status;
    if (canCreate) {
        status = RegCreateKeyExW(BaseFor(path), W(WithoutLeadingBackslash(path)), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 access_, nullptr, &key, nullptr);
    } else {
        status = Open(path, access_, key);
    }
    if (status != ERROR_SUCCESS) return false;
    CloseKey();
    current_ = key;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& path) {
    HKEY key = nullptr;
    if (Open(path, KEY_READ, key) != ERROR_SUCCESS) return false;
    CloseKey();
    current_ = key;
    return true;
}

bool TRegistry::KeyExists(const String& path) {
    HKEY key = nullptr;
    if (Open(path, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void TRegistry::CloseKey() {
    if (current_) RegCloseKey(current_);
    current_ = nullptr;
}

bool TRegistry::GetDataInfo(const String& name, RegDataInfo& info) {
    info = RegDataInfo{};
    return RegQueryValueExW(CurrentOrRoot(), W(name), nullptr, &info.DataType, nullptr, &info.DataSize) ==
           ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const String& name) {
    RegDataInfo info;
    return GetDataInfo(name, info);
}

String TRegistry::ReadString(const String& name) {
    RegDataInfo info;
    if (!GetDataInfo(name, info)) return String();
    if (info.DataType != REG_SZ && info.DataType != REG_EXPAND_SZ)
        throw ERegistryException(u"Invalid data type for '" + name + u"'");
    std::vector<BYTE> data(info.DataSize + sizeof(WCHAR));
    DWORD size = info.DataSize;
    if (RegQueryValueExW(CurrentOrRoot(), W(name), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS)
        throw ERegistryException(u"Failed to get data for '" + name + u"'");
    String text(reinterpret_cast<const char16_t*>(data.data()), size / sizeof(char16_t));
    const size_t end = text.find(u'\0');
    if (end != String::npos) text.resize(end);
    return text;
}

int32_t TRegistry::ReadInteger(const String& name) {
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LSTATUS status =
        RegQueryValueExW(CurrentOrRoot(), W(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        throw ERegistryException(u"Invalid data type for '" + name + u"'");
    return static_cast<int32_t>(value);
}

std::vector<String> TRegistry::GetKeyNames() {
    std::vector<String> names;
    WCHAR buffer[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(buffer) / sizeof(buffer[0]);
        const LSTATUS status =
            RegEnumKeyExW(CurrentOrRoot(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(U(buffer), length);
    }
    return names;
}

}  // namespace rtl
