// BSTR with the Windows layout: a 32-bit byte length before the characters and a
// terminating zero after them.
#include <cstdlib>
#include <cstring>

#include "platform/win32/Win32.h"

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const size_t bytes = static_cast<size_t>(length) * sizeof(OLECHAR);
    if (bytes > 0x7FFFFFF0u) return nullptr;
    auto* block = static_cast<BYTE*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
    if (!block) return nullptr;
    const auto byteLength = static_cast<uint32_t>(bytes);
    std::memcpy(block, &byteLength, sizeof(byteLength));
    auto* chars = reinterpret_cast<OLECHAR*>(block + sizeof(uint32_t));
    if (text && length) std::memcpy(chars, text, bytes);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    UINT length = 0;
    while (text[length]) ++length;
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text) std::free(reinterpret_cast<BYTE*>(text) - sizeof(uint32_t));
}

UINT SysStringByteLen(BSTR text) {
    if (!text) return 0;
    uint32_t byteLength;
    std::memcpy(&byteLength, reinterpret_cast<BYTE*>(text) - sizeof(uint32_t), sizeof(byteLength));
    return byteLength;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

}  // extern "C"
