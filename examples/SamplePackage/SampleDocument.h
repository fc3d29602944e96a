// The "Korvel Sample Package"'s document: "Korvel Sample &Document" (after "Korvel Sample") lays the
// loader's frame over the editor and shows a window of the package's own there, for the open
// source file "C:\Korvel\Sample.kdoc", marked modified and kept on top; its tab shows the
// package's own icon. Clicking the item again while the document is open saves it: it comes to
// the front and is no longer modified.
#pragma once

#include "SampleWindows.h"
#include "korvel/ControlEvents.h"

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
    void OpenOrSave();
    void Open();
    void Save();
    void Report(const Text& what);

    ComRef<IBdsServices> site_;
    Subscription<IBdsMenuItem> item_;
    PackageWindow window_{u"KorvelSampleDocument", u"Sample document"};
    ComRef<WindowEvents> events_;
    ComRef<IBdsDocumentWindow> document_;
};

}  // namespace sample
