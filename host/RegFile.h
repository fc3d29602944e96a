// Files in the registry editor's format ("Windows Registry Editor Version 5.00"): read into
// keys and values, then written through the platform's registry API, so that one file fills
// the emulated registry natively and the real one under wine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rtl/Text.h"

namespace host {

using rtl::String;

struct RegValue {
    // Empty for the key's default value (@).
    String name;
    // "name"=- removes the value.
    bool remove = false;
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
    int line = 0;
};

struct RegKey {
    HKEY root = nullptr;
    String path;
    // [-KEY] removes the key with everything below it.
    bool remove = false;
    std::vector<RegValue> values;
    int line = 0;
};

// A problem with the file, on the line it was found; what() names the line.
class RegFileError : public std::runtime_error {
public:
    RegFileError(int line, const std::string& problem);
    int Line() const noexcept { return line_; }

private:
    int line_;
};

// The text is UTF-8 (a byte-order mark is allowed) or UTF-16LE with its byte-order mark, as
// the registry editor exports it.
std::vector<RegKey> ParseRegFile(const std::string& bytes);
std::vector<RegKey> ReadRegFile(const std::filesystem::path& file);

// Writes in file order. Removing what is not there is no failure; any other refusal of the
// registry raises RegFileError with the line of the key or value.
void ApplyRegFile(const std::vector<RegKey>& keys);
// An in-process server named by a relative path with a folder ("build/My.dll") is taken from
// `base`; a bare file name stays as it is, for the platform's own search.
void ResolveServerPaths(std::vector<RegKey>& keys, const std::filesystem::path& base);

}  // namespace host
