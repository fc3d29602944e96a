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

// A handler of the service as installed on a tab set: small enough for the event's own storage,
// since the tab set copies its handler at every call.
template <class Event, auto Method>
struct ServiceHandler {
    TBdsWindowsService* service;
    template <class... Args>
    void operator()(Args&&... args) const {
        (service->*Method)(std::forward<Args>(args)...);
    }
};

template <class Event, auto Method>
bool IsServiceHandler(const Event& handler) {
    return handler.template target<ServiceHandler<Event, Method>>() != nullptr;
}

// Saves the tab set's handler and installs the service's. A tab set that already carries the
// service's handler (a second record for the same edit window) keeps the IDE's handler that the
// earlier record saved: saving the service's own would make it call itself without end.
template <class Event, auto Method>
void Substitute(TBdsWindowsService* service, vcl::TComponent* tabSet, const String& property, Event& saved,
                const Event& savedBefore) {
    const Event current = vcl::GetMethodProp<Event>(tabSet, property);
    saved = IsServiceHandler<Event, Method>(current) ? savedBefore : current;
    vcl::SetMethodProp<Event>(tabSet, property, ServiceHandler<Event, Method>{service});
}

template <class Event, auto Method>
void Restore(vcl::TComponent* tabSet, const String& property, const Event& saved) {
    if (IsServiceHandler<Event, Method>(vcl::GetMethodProp<Event>(tabSet, property)))
        vcl::SetMethodProp<Event>(tabSet, property, saved);
}

// The bitmap a package hands over for its document's tab: the system's from then on, deleted on
// every way out. It travels as a 32-bit integer; 0 and -1 are none.
class HandedBitmap {
public:
    explicit HandedBitmap(int32_t handle)
        : handle_(handle == -1 ? nullptr : reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)))) {}
    ~HandedBitmap() {
        if (handle_) DeleteObject(handle_);
    }
    HandedBitmap(const HandedBitmap&) = delete;
    HandedBitmap& operator=(const HandedBitmap&) = delete;

    HBITMAP Get() const { return handle_; }

private:
    HBITMAP handle_;
};

}  // namespace

void TBdsWindowsService::SubstituteTabSet(TBdsEditWindow& record) {
    record.TabSet = GetEditorTabSet(u"TIDEGradientTabSet");
    vcl::TComponent* tabSet = record.TabSet.Get();
    if (!tabSet) return;
    TBdsEditWindow* earlier = RecordOfTabSet(tabSet, false);
    const TBdsEditWindow before = earlier ? *earlier : TBdsEditWindow{};
    Substitute<vcl::TNotifyEvent, &TBdsWindowsService::NewTabSetOnChange>(this, tabSet, u"OnChange",
                                                                          record.OldTabSetOnChange, before.OldTabSetOnChange);
    Substitute<vcl::TTabGetImageEvent, &TBdsWindowsService::NewTabSetOnGetImageIndex>(
        this, tabSet, u"OnGetImageIndex", record.OldTabSetOnGetImageIndex, before.OldTabSetOnGetImageIndex);
    Substitute<vcl::TTabGetImageEvent, &TBdsWindowsService::NewTabSetOnGetOverlayImageIndex>(
        this, tabSet, u"OnGetOverlayImageIndex", record.OldTabSetOnGetOverlayImageIndex,
        before.OldTabSetOnGetOverlayImageIndex);
    Substitute<vcl::TMouseEvent, &TBdsWindowsService::NewTabSetOnMouseDown>(
        this, tabSet, u"OnMouseDown", record.OldTabSetOnMouseDown, before.OldTabSetOnMouseDown);
}

void TBdsWindowsService::RestoreTabSet(const TBdsEditWindow& record) {
    vcl::TComponent* tabSet = record.TabSet.Get();
    if (!tabSet) return;
    rtl::Swallow([&] {
        Restore<vcl::TNotifyEvent, &TBdsWindowsService::NewTabSetOnChange>(tabSet, u"OnChange",
                                                                           record.OldTabSetOnChange);
        Restore<vcl::TTabGetImageEvent, &TBdsWindowsService::NewTabSetOnGetImageIndex>(
            tabSet, u"OnGetImageIndex", record.OldTabSetOnGetImageIndex);
        Restore<vcl::TTabGetImageEvent, &TBdsWindowsService::NewTabSetOnGetOverlayImageIndex>(
            tabSet, u"OnGetOverlayImageIndex", record.OldTabSetOnGetOverlayImageIndex);
        Restore<vcl::TMouseEvent, &TBdsWindowsService::NewTabSetOnMouseDown>(tabSet, u"OnMouseDown",
                                                                             record.OldTabSetOnMouseDown);
    });
}

void TBdsWindowsService::RestoreTabSets() {
    for (const auto& record : FEditWindowRecords) RestoreTabSet(*record);
}

const std::vector<TBdsCustomDocumentWindow*>* TBdsWindowsService::DocumentWindowsOfTab(const vcl::TObject* object) {
    if (!object) return nullptr;
    if (FTabDocumentsStale) {
        FTabDocuments.clear();
        FTabEntries.clear();
        for (TBdsCustomDocumentWindow* window : DocumentWindows.Snapshot())
            if (window->IdentifiedObject()) FTabDocuments[window->IdentifiedObject()].push_back(window);
        FTabDocumentsStale = false;
    }
    const auto found = FTabDocuments.find(object);
    return found == FTabDocuments.end() ? nullptr : &found->second;
}

vcl::TStringList& TBdsWindowsService::TabItems(vcl::TComponent* tabSet) {
    if (tabSet != FTabEntriesOwner.Get() || !FTabEntriesItems) {
        auto* items = dynamic_cast<vcl::TStringList*>(vcl::GetObjectProp(tabSet, u"Items"));
        if (!items) rtl::RaiseIntfCastError();
        FTabEntriesOwner = tabSet;
        FTabEntriesItems = items;
        FTabEntries.clear();
    }
    return *FTabEntriesItems;
}

TBdsCustomDocumentWindow* TBdsWindowsService::TabDocument(vcl::TComponent* tabSet, int tabIndex) {
    if (tabIndex < 0) return nullptr;
    const vcl::TObject* object = TabItems(tabSet).Objects(tabIndex);
    if (!object) return nullptr;
    if (!FTabDocumentsStale && static_cast<size_t>(tabIndex) < FTabEntries.size() &&
        FTabEntries[static_cast<size_t>(tabIndex)].object == object)
        return FTabEntries[static_cast<size_t>(tabIndex)].document;
    const std::vector<TBdsCustomDocumentWindow*>* windows = DocumentWindowsOfTab(object);
    if (FTabEntries.size() <= static_cast<size_t>(tabIndex)) FTabEntries.resize(static_cast<size_t>(tabIndex) + 1);
    FTabEntries[static_cast<size_t>(tabIndex)] = {object, windows ? windows->front() : nullptr};
    return FTabEntries[static_cast<size_t>(tabIndex)].document;
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
    if (tabSet && !isDocument)
        ShellPackage.Notify("OnDocumentDeactivated", [](IBdsShellPackage& shell) { return shell.OnDocumentDeactivated(); });
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
    vcl::TComponent* tabSet = record->TabSet.Get();
    TBdsCustomDocumentWindow* tabDocument = TabDocument(tabSet, TabIndex);
    if (!tabDocument) {
        if (const vcl::TTabGetImageEvent previous = record->OldTabSetOnGetImageIndex) previous(Sender, TabIndex, ImageIndex);
        return;
    }
    // The package may release the document, or have the IDE close the edit window and its tab
    // set, while it is asked for its icon: the document is held up to its last use.
    const rtl::ComPtr<TBdsCustomDocumentWindow> document(tabDocument);
    if (document->DocImageIndex() < 0 && !document->ImageRefused()) {
        const vcl::ComponentPtr<vcl::TComponent> liveTabSet(tabSet);
        const HandedBitmap bitmap(document->GetIconHandle());
        if (!liveTabSet.Get()) return;
        if (bitmap.Get()) AddDocumentImage(tabSet, *document.Get(), bitmap.Get());
    }
    ImageIndex = document->DocImageIndex();
}

void TBdsWindowsService::AddDocumentImage(vcl::TComponent* tabSet, TBdsCustomDocumentWindow& document, HBITMAP handle) {
    auto* images = dynamic_cast<vcl::TCustomImageList*>(vcl::GetObjectProp(tabSet, u"Images"));
    if (!images) rtl::RaiseIntfCastError();
    vcl::TBitmap bitmap;
    bitmap.SetHandle(handle);
    try {
        int32_t slot;
        if (FreeImageIndexes.empty()) {
            slot = images->AddMasked(bitmap, vcl::clFuchsia);
        } else {
            slot = FreeImageIndexes.back();
            images->ReplaceMasked(slot, bitmap, vcl::clFuchsia);
            FreeImageIndexes.pop_back();
        }
        document.SetDocImageIndex(slot);
    } catch (const rtl::Exception&) {
        // An unusable bitmap: the tab goes without an image, and asking again at every paint
        // would only take another bitmap each time.
        document.RefuseImage();
    }
}

void TBdsWindowsService::NewTabSetOnGetOverlayImageIndex(vcl::TObject* Sender, int TabIndex, int& ImageIndex) {
    TBdsEditWindow* record = RecordOfTabSet(Sender, true);
    if (!record) return;
    TBdsCustomDocumentWindow* first = TabDocument(record->TabSet.Get(), TabIndex);
    if (const std::vector<TBdsCustomDocumentWindow*>* windows = first ? DocumentWindowsOfTab(first->IdentifiedObject()) : nullptr) {
        // The modified flag is the window's own: no package code runs while the list is walked.
        for (TBdsCustomDocumentWindow* window : *windows) {
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
