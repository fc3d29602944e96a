// Writes registry keys for a test and removes them afterwards. The same code writes the
// emulated registry natively and wine's real one in the Windows build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Text.h"

namespace testing_support {

using rtl::String;

class TestRegistry {
public:
    TestRegistry();
    ~TestRegistry();

    void SetString(HKEY root, const String& path, const String& name, const String& value, DWORD type = REG_SZ);
    void SetDword(HKEY root, const String& path, const String& name, uint32_t value);
    void SetBytes(HKEY root, const String& path, const String& name, DWORD type, const std::vector<uint8_t>& data);
    void CreateKey(HKEY root, const String& path);

    // A registered package: subkey `id` of the packages key with its display name, and a
    // LoadOrder value when one is given.
    void AddPackage(const String& id, const String& name);
    void AddPackage(const String& id, const String& name, int32_t loadOrder);
    // An in-process server for a class, as the platform's COM reads it.
    void RegisterInprocServer(const GUID& clsid, const String& path);

private:
    void Remember(HKEY root, const String& path);
    std::vector<std::pair<HKEY, String>> created_;
};

String PackagesKey();
// The IDE's own product key, where it keeps its edition.
String IdeProductKey();

}  // namespace testing_support
