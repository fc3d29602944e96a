// The language library's registry accessor: a root key, at most one open key, and typed
// reads that raise on the wrong type.
#pragma once

#include <vector>

#include "platform/rtl/Text.h"

namespace rtl {

struct RegDataInfo {
    DWORD DataType = REG_NONE;
    DWORD DataSize = 0;
};

class TRegistry {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    ~TRegistry() { CloseKey(); }

    void SetRootKey(HKEY root);
    HKEY CurrentKey() const { return current_; }

    // Paths are relative to the open key unless they begin with a backslash.
    bool OpenKey(const String& path, bool canCreate);
    bool OpenKeyReadOnly(const String& path);
    bool KeyExists(const String& path);
    void CloseKey();

    bool ValueExists(const String& name);
    bool GetDataInfo(const String& name, RegDataInfo& info);
    String ReadString(const String& name);
    int32_t ReadInteger(const String& name);
    std::vector<String> GetKeyNames();

private:
    HKEY BaseFor(const String& path) const;
    HKEY CurrentOrRoot() const { return current_ ? current_ : root_; }
    LSTATUS Open(const String& path, REGSAM access, HKEY& key) const;

    REGSAM access_;
    HKEY root_ = HKEY_CURRENT_USER;
    HKEY current_ = nullptr;
};

}  // namespace rtl
