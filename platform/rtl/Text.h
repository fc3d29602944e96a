// Text inside the system is UTF-16, as on Windows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/Win32.h"

namespace rtl {

using String = std::u16string;

// Win32 wide strings are wchar_t on Windows and char16_t here; both are UTF-16 code units.
inline LPCWSTR W(const String& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }
inline LPCWSTR W(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
inline LPWSTR W(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }
inline const char16_t* U(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }
inline String FromWide(LPCWSTR text) { return text ? String(U(text)) : String(); }
inline String FromWide(LPCWSTR text, size_t length) { return text ? String(U(text), length) : String(); }

std::string ToUtf8(const String& text);
String FromUtf8(const std::string& text);

String IntToStr(int64_t value);
String IntToHex(uint64_t value, int digits);

// The component library's CompareText: only the ASCII letters compare without case.
int CompareText(const String& a, const String& b);
inline bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }
inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }
// Only A-Z change, as in the library: two texts are SameText exactly when their LowerCase agree.
String LowerCase(const String& text);

bool IsValidIdent(const String& text);

}  // namespace rtl
