// The "Korvel Sample Package"'s document: "Korvel Sample &Document" (after "Korvel Sample") lays the
// loader's frame over the editor and shows a window of the package's own there, for the open
// source file "C:\Korvel\Sample.kdoc", marked modified and kept on top.
#pragma once

#include "examples/SamplePackage/ControlEvents.h"

namespace sample {

// Destroying it lets go of the document window, then destroys the package's window.
class SampleDocument {
public:
    SampleDocument() = default;
    SampleDocument(const SampleDocument&) = delete;
    SampleDocument& operator=(const SampleDocument&) = delete;
    ~SampleDocument();

    void Add(const ComRef<IBdsServices>& site);

private:
    void Open();

    ComRef<IBdsServices> site_;
    Subscription<IBdsMenuItem> item_;
    ComRef<IBdsDocumentWindow> document_;
    HWND window_ = nullptr;
};

}  // namespace sample
