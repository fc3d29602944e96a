// Text as a package handles it: UTF-16 strings of its own, BSTRs only where text crosses to
// the loader, and the debug output through which a package can say what it does.
#pragma once

#include <string>

#include "korvel/BdsInterop.h"

namespace korvel::sdk {

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
    // Hands the text to the caller, who frees it (an out parameter's BSTR).
    BSTR Detach() {
        BSTR text = text_;
        text_ = nullptr;
        return text;
    }
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
// The text as the platform's wide string, valid while `text` lives unchanged.
LPCWSTR Wide(const Text& text);

// One line for whoever watches the process's debug output (in the IDE, its recorder).
void WriteDebugLine(const Text& line);
// A message box owned by the IDE's foreground window; answers the button pressed.
int ShowMessage(const Text& text, const Text& caption, UINT style = MB_OK);

}  // namespace korvel::sdk
