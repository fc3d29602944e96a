// The editor tab set's four events, rewired so that package documents behave as tabs: the
// service answers for a package document's tab and hands every other tab to the handler the
// tab set had before.
#include "loader/KorvelLoader.h"
#include "platform/rtl/ComGuard.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsIdeUtils.h"
#include "windows/BdsWindowsService.h"

namespace korvel {
namespace {

// A handler of the service as installed on a tab set. It carries the handler it replaced, so
// that a second record for the same tab set saves the IDE's handler rather than the service's
// own (which would call itself without end), and teardown can put the IDE's back.
template <class Event>
struct ServiceHandler {
    Event handler;
    Event previous;
    template <class... Args>
    void operator()(Args&&... args) const {
        handler(std::forward<Args>(args)...);
    }
};

// The handler in place on the tab set, seen through any handler of the service.
template <class Event>
Event PreviousHandler(Event current) {
    if (const auto* ours = current.template target<ServiceHandler<Event>>()) return ours->previous;
    return current;
}

template <class Event>
void Substitute(vcl::TComponent* tabSet, const String& property, Event& saved, Event handler) {
    saved = PreviousHandler(vcl::GetMethodProp<Event>(tabSet, property));
    vcl::SetMethodProp<Event>(tabSet, property, ServiceHandler<Event>{std::move(handler), saved});
}

template <class Event>
void Restore(vcl::TComponent* tabSet, const String& property) {
    const Event current = vcl::GetMethodProp<Event>(tabSet, property);
    if (current.template target<ServiceHandler<Event>>())
        vcl::SetMethodProp<Event>(tabSet, property, PreviousHandler(current));
}

vcl::TStringList& TabItems(vcl::TComponent* tabSet) {
    auto* items = dynamic_cast<vcl::TStringList*>(vcl::GetObjectProp(tabSet, u"Items"));
    if (!items) rtl::RaiseIntfCastError();
    return *items;
}

// The document's bitmap handle travels as a 32-bit integer.
HBITMAP BitmapFromInteger(int32_t handle) {
    return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
}

}  // namespace

void TBdsWindowsService::SubstituteTabSet(TBdsEditWindow& record) {
    record.TabSet = GetEditorTabSet(u"TIDEGradientTabSet");
    vcl::TComponent* tabSet = record.TabSet.Get();
    if (!tabSet) return;
    Substitute<vcl::TNotifyEvent>(tabSet, u"OnChange", record.OldTabSetOnChange,
                                  [this](vcl::TObject* sender) { NewTabSetOnChange(sender); });
    Substitute<vcl::TTabGetImageEvent>(
        tabSet, u"OnGetImageIndex", record.OldTabSetOnGetImageIndex,
        [this](vcl::TObject* sender, int tab, int& image) { NewTabSetOnGetImageIndex(sender, tab, image); });
    Substitute<vcl::TTabGetImageEvent>(
        tabSet, u"OnGetOverlayImageIndex", record.OldTabSetOnGetOverlayImageIndex,
        [this](vcl::TObject* sender, int tab, int& image) { NewTabSetOnGetOverlayImageIndex(sender, tab, image); });
    Substitute<vcl::TMouseEvent>(tabSet, u"OnMouseDown", record.OldTabSetOnMouseDown,
                                 [this](vcl::TObject* sender, vcl::TMouseButton button, vcl::TShiftState shift, int x,
                                        int y) { NewTabSetOnMouseDown(sender, button, shift, x, y); });
}

void TBdsWindowsService::RestoreTabSets() {
    for (const auto& record : FEditWindowRecords) {
        vcl::TComponent* tabSet = record->TabSet.Get();
        if (!tabSet) continue;
        rtl::Swallow([&] {
            Restore<vcl::TNotifyEvent>(tabSet, u"OnChange");
            Restore<vcl::TTabGetImageEvent>(tabSet, u"OnGetImageIndex");
            Restore<vcl::TTabGetImageEvent>(tabSet, u"OnGetOverlayImageIndex");
            Restore<vcl::TMouseEvent>(tabSet, u"OnMouseDown");
        });
    }
}

const std::vector<TBdsCustomDocumentWindow*>* TBdsWindowsService::DocumentWindowsOfTab(const vcl::TObject* object) {
    if (!object) return nullptr;
    if (FTabDocumentsStale) {
        FTabDocuments.clear();
        for (TBdsCustomDocumentWindow* window : DocumentWindows.Snapshot())
            if (window->IdentifiedObject()) FTabDocuments[window->IdentifiedObject()].push_back(window);
        FTabDocumentsStale = false;
    }
    const auto found = FTabDocuments.find(object);
    return found == FTabDocuments.end() ? nullptr : &found->second;
}

TBdsCustomDocumentWindow* TBdsWindowsService::TabDocument(vcl::TComponent* tabSet, int tabIndex) {
    if (tabIndex < 0) return nullptr;
    const std::vector<TBdsCustomDocumentWindow*>* windows = DocumentWindowsOfTab(TabItems(tabSet).Objects(tabIndex));
    return windows ? windows->front() : nullptr;
}

TBdsEditWindow* TBdsWindowsService::RecordOfTabSet(const vcl::TObject* tabSet, bool last) const {
    // The service's share of each record lists them in registry order, without taking the
    // registry's lock per record.
    TBdsEditWindow* found = nullptr;
    for (const auto& record : FEditWindowRecords) {
        if (record->TabSet.Get() != tabSet) continue;
        found = record.get();
        if (!last) break;
    }
    return found;
}

void TBdsWindowsService::NewTabSetOnChange(vcl::TObject* Sender) {
    auto* tabSet = dynamic_cast<vcl::TComponent*>(Sender);
    const bool isDocument = tabSet && TabDocument(tabSet, vcl::GetOrdProp(tabSet, u"TabIndex"));
    if (tabSet && !isDocument && ShellPackage) {
        const rtl::ComPtr<IBdsShellPackage> shell = ShellPackage;
        rtl::Swallow([&] { shell->OnDocumentDeactivated(); });
    }
    if (!isDocument) {
        SetEditorStatusBarVisibility(true);
        NewEditWindowActionVisible(true);
        MessageViewEditorMenuVisble(true);
    }
    if (TBdsEditWindow* record = RecordOfTabSet(Sender, false))
        if (const vcl::TNotifyEvent previous = record->OldTabSetOnChange) previous(Sender);
}

void TBdsWindowsService::NewTabSetOnGetImageIndex(vcl::TObject* Sender, int TabIndex, int& ImageIndex) {
    TBdsEditWindow* record = RecordOfTabSet(Sender, true);
    if (!record) return;
    auto* tabSet = static_cast<vcl::TComponent*>(record->TabSet.Get());
    TBdsCustomDocumentWindow* document = TabDocument(tabSet, TabIndex);
    if (!document) {
        if (const vcl::TTabGetImageEvent previous = record->OldTabSetOnGetImageIndex) previous(Sender, TabIndex, ImageIndex);
        return;
    }
    if (document->DocImageIndex() < 0) {
        // The package may release the document while it is asked for its icon.
        const rtl::ComPtr<TBdsCustomDocumentWindow> pin(document);
        const int32_t handle = document->GetIconHandle();
        if (handle != 0 && handle != -1) {
            auto* images = dynamic_cast<vcl::TCustomImageList*>(vcl::GetObjectProp(tabSet, u"Images"));
            if (!images) rtl::RaiseIntfCastError();
            vcl::TBitmap bitmap;
            bitmap.SetHandle(BitmapFromInteger(handle));
            try {
                int32_t slot;
                if (FreeImageIndexes.empty()) {
                    slot = images->AddMasked(bitmap, vcl::clFuchsia);
                } else {
                    slot = FreeImageIndexes.back();
                    images->ReplaceMasked(slot, bitmap, vcl::clFuchsia);
                    FreeImageIndexes.pop_back();
                }
                document->SetDocImageIndex(slot);
                DeleteObject(bitmap.Handle());
            } catch (const rtl::Exception&) {
                // An unreadable bitmap stays the package's; the tab goes without an image and
                // the package is asked again at the next paint.
            }
        }
    }
    ImageIndex = document->DocImageIndex();
}

void TBdsWindowsService::NewTabSetOnGetOverlayImageIndex(vcl::TObject* Sender, int TabIndex, int& ImageIndex) {
    TBdsEditWindow* record = RecordOfTabSet(Sender, true);
    if (!record) return;
    const vcl::TObject* object = TabIndex >= 0 ? TabItems(record->TabSet.Get()).Objects(TabIndex) : nullptr;
    if (const std::vector<TBdsCustomDocumentWindow*>* windows = DocumentWindowsOfTab(object)) {
        // Asking a window may run package code that changes the registry: walk a copy, pinned.
        for (TBdsCustomDocumentWindow* window : std::vector<TBdsCustomDocumentWindow*>(*windows)) {
            if (!DocumentWindows.Contains(window)) continue;
            const rtl::ComPtr<TBdsCustomDocumentWindow> pin(window);
            WordBool modified = 0;
            window->Get_Modified(&modified);
            if (!modified) {
                ImageIndex = -1;
                return;
            }
        }
    }
    if (const vcl::TTabGetImageEvent previous = record->OldTabSetOnGetOverlayImageIndex) previous(Sender, TabIndex, ImageIndex);
}

void TBdsWindowsService::NewTabSetOnMouseDown(vcl::TObject* Sender, vcl::TMouseButton Button, vcl::TShiftState Shift,
                                              int X, int Y) {
    auto* tabSet = dynamic_cast<vcl::TComponent*>(Sender);
    // The tab selected when the mouse goes down, not the one under it.
    if (tabSet && TabDocument(tabSet, vcl::GetOrdProp(tabSet, u"TabIndex"))) return;
    if (TBdsEditWindow* record = RecordOfTabSet(Sender, false))
        if (const vcl::TMouseEvent previous = record->OldTabSetOnMouseDown) previous(Sender, Button, Shift, X, Y);
}

}  // namespace korvel
