#include "SampleDocument.h"

#include "korvel/Bitmap.h"
#include "SampleCommon.h"

namespace sample {
namespace {

const Text ModuleName = u"C:\\Korvel\\Sample.kdoc";
constexpr uint32_t IconColour = 0x00E0A020;

}  // namespace

SampleDocument::~SampleDocument() {
    if (events_) events_->Disconnect();
    if (document_) document_->RegisterEvents(nullptr);
    document_.Reset();
}

void SampleDocument::Add(const ComRef<IBdsServices>& site) {
    site_ = site;
    ComRef<IBdsMenuBarService> menuBar;
    if (!menuBar.Received(site_->Get_BdsMenuBarService(menuBar.Put()))) return;
    AddItemAfter(*menuBar.Get(), u"ToolsMenu\\KorvelSampleItem", u"KorvelSampleDocumentItem",
                 u"Korvel Sample &Document", item_, [this] { OpenOrSave(); });
}

void SampleDocument::OpenOrSave() {
    if (document_)
        Save();
    else
        Open();
}

void SampleDocument::Open() {
    ComRef<IBdsWindowsService> windows;
    if (!windows.Received(site_->Get_BdsWindowsService(windows.Put()))) return;
    Integer editor = -1;
    if (FAILED(windows->DocumentFrameOnTop(&editor)) || editor < 0) {
        SampleReport(u"no editor to show the document in");
        return;
    }
    ComRef<IBdsDocumentWindow> document;
    if (!document.Received(windows->CreateDocumentWindow(Bstr(ModuleName).Get(), 0, editor, document.Put()))) return;
    // The tab set asks for the icon while it paints the tab, until it has one.
    events_ = ComRef<WindowEvents>(new WindowEvents({nullptr, nullptr, [] {
                                                         Bitmap icon = Bitmap::Square(16, IconColour, 3);
                                                         SampleReport(u"the document's tab asks for its icon");
                                                         const HBITMAP handle = icon.Get();
                                                         icon.HandedOver();
                                                         return handle;
                                                     }}));
    document->RegisterEvents(events_.Get());
    if (const ComRef<IWin32Window> control = window_.Control()) document->HostControl(control.Get());
    document->Set_Modified(WordTrue);
    document->Set_StayOnTop(WordTrue);
    document_ = document;
    WordBool onTop = WordFalse;
    document_->Get_StayOnTop(&onTop);
    Report(u"opened in editor " + DecimalText(editor) + u"; stay on top " + (onTop ? u"yes" : u"no"));
}

void SampleDocument::Save() {
    document_->Activate();
    document_->Set_Modified(WordFalse);
    Report(u"saved");
}

void SampleDocument::Report(const Text& what) {
    WordBool modified = WordFalse;
    document_->Get_Modified(&modified);
    SampleReport(u"document " + what + u"; modified " + (modified ? u"yes" : u"no"));
}

}  // namespace sample
