// Text as the sample packages handle it: UTF-16 strings of their own, BSTRs only where text
// crosses to the loader, and the debug output through which the packages say what they do.
#pragma once

#include <cstdint>
#include <string>

#include "interop/KorvelBdsInterop.h"

namespace sample {

using Text = std::u16string;

// A BSTR the package owns.
class Bstr {
public:
    Bstr() = default;
    // Raises std::bad_alloc when there is no memory for the copy.
    explicit Bstr(const Text& text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr();

    BSTR Get() const { return text_; }
    // The slot for an out parameter; pass the call's result to Received.
    BSTR* Put();
    // Whether the call that filled Put() succeeded; a failed call leaves nothing to free.
    bool Received(HRESULT result);
    Text ToText() const;

private:
    void Free();

    BSTR text_ = nullptr;
};

// A BSTR the package borrows; nil is the empty text.
Text FromBstr(BSTR text);
// A zero-terminated string; nil is the empty text.
Text FromWideString(const WCHAR* text);

// In double quotes, as the packages show what a user typed or picked.
Text Quoted(const Text& text);
Text DecimalText(int64_t value);
// Upper-case, padded with zeros to at least `digits`.
Text HexText(uint32_t value, int digits);

// One line for whoever watches the process's debug output (in the IDE, its recorder).
void WriteDebugLine(const Text& line);

}  // namespace sample
