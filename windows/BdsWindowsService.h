// The windows service packages get from the hub: dockable tool windows, and package documents
// in the IDE's editor area. For each edit window that received a frame it keeps an
// edit-window record; document windows are hosted in that record's frame, and a hidden shadow
// window parks their package windows while the frame's handle is being re-created.
//
// Who holds what: the service holds one reference on itself and lives as long as the process;
// its registries hold plain pointers (windows add and remove themselves). Edit-window records
// are shared between the service, which lets go when the record's frame is destroyed, and the
// document windows bound to them, so a document window never meets a freed record: it finds
// the frame gone (guarded pointers read nil) and answers harmlessly. The frames belong to the
// IDE's control tree; the IDE destroys them with the edit window.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "interop/InterfaceBindings.h"
#include "platform/ide/ToolsAPI.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/LockedList.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "interop/KorvelBdsInterop.h"
#include "windows/HostedWindow.h"
#include "windows/KorvelBaseFrame.h"

namespace korvel {

using rtl::String;

class TBdsCustomDocumentWindow;
class TBdsCustomDockableWindow;

// One per IDE edit window that has received a frame. The tab set's previous handlers are
// kept here while the service's own handle its events.
struct TBdsEditWindow {
    vcl::ComponentPtr<vcl::TComponent> TabSet;
    vcl::ComponentPtr<vcl::TStatusBar> StatusBar;
    vcl::ComponentPtr<TKorvelFrame> Frame;
    vcl::TNotifyEvent OldTabSetOnChange;
    vcl::TTabGetImageEvent OldTabSetOnGetImageIndex;
    vcl::TTabGetImageEvent OldTabSetOnGetOverlayImageIndex;
    vcl::TMouseEvent OldTabSetOnMouseDown;
};

using TDocumentWindows = rtl::LockedList<TBdsCustomDocumentWindow>;
using TDockableWindows = rtl::LockedList<TBdsCustomDockableWindow>;
using TBdsEditWindows = rtl::LockedList<TBdsEditWindow>;

class TBdsWindowsService : public rtl::SelfReferenced<rtl::ComObject<IBdsWindowsService>> {
public:
    // Raises EAssertionFailed when the shadow window cannot be made.
    TBdsWindowsService();
    ~TBdsWindowsService() override;

    // IBdsWindowsService
    HRESULT STDMETHODCALLTYPE CreateDockableWindow(BSTR windowName, IBdsDockableWindow** pRetVal) override;
    HRESULT STDMETHODCALLTYPE CreateDocumentWindow(BSTR moduleID, Integer moduleIndex, Integer editorIndex,
                                                   IBdsDocumentWindow** pRetVal) override;
    HRESULT STDMETHODCALLTYPE GetStandardWindow(BSTR windowType, IBdsDockableWindow** pRetVal) override;
    HRESULT STDMETHODCALLTYPE DocumentFrameOnTop(Integer* pRetVal) override;
    HRESULT STDMETHODCALLTYPE DocumentFrameNormal(Integer editorIndex) override;

    const TBdsEditWindows& BdsEditWindows() const { return FBdsEditWindows; }
    const TDocumentWindows& DbDocumentWindows() const { return DocumentWindows; }
    const TDockableWindows& BdsDockableWindows() const { return DockableWindows; }
    const std::vector<int32_t>& FreeImageIndexPool() const { return FreeImageIndexes; }
    HWND ShadowWindow() const { return hShadowWindow; }

    // At shut-down, once the packages are released: every document and dockable window lets
    // go of the package's sink and hosted window (a dockable window also of itself), so no
    // package object outlives the run; the windows stay inert until their last release.
    void ReleasePackageHolds();
    void RegisterDockableWindow(TBdsCustomDockableWindow* window) { DockableWindows.Add(window); }
    void UnregisterDockableWindow(TBdsCustomDockableWindow* window) { DockableWindows.Remove(window); }
    // Every document window enters the teardown list; only one with a module is registered
    // as a document of the editor area.
    void RegisterDocumentWindow(TBdsCustomDocumentWindow* window, bool hasModule) {
        FMadeDocumentWindows.Add(window);
        if (!hasModule) return;
        DocumentWindows.Add(window);
        FTabDocumentsStale = true;
    }
    void UnregisterDocumentWindow(TBdsCustomDocumentWindow* window);
    void UnregisterBdsEditWindow(TBdsEditWindow* record) { FBdsEditWindows.Remove(record); }
    // Shows the record's frame over the editor, hiding what the IDE shows for its own editor.
    void ShowFrame(TBdsEditWindow* record);
    // Repaints the tab set so that a document's modified marker follows.
    static void UpdateTabSet(vcl::TComponent* TabSet);

    // The editor tab set: package documents behave as its tabs (EditorTabSet.cpp).
    void SubstituteTabSet(TBdsEditWindow& record);
    void NewTabSetOnChange(vcl::TObject* Sender);
    void NewTabSetOnGetImageIndex(vcl::TObject* Sender, int TabIndex, int& ImageIndex);
    void NewTabSetOnGetOverlayImageIndex(vcl::TObject* Sender, int TabIndex, int& ImageIndex);
    void NewTabSetOnMouseDown(vcl::TObject* Sender, vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);

    void OnFrameResize(vcl::TObject* Sender);
    void OnFrameDestroyWindowHandle(vcl::TObject* Sender);
    void OnFrameDestroy(vcl::TObject* Sender);

private:
    void CreateShadowWindow();
    // The registered document windows whose identified object is `object`, in registry order;
    // nil for none. Valid until the next call out of the service.
    const std::vector<TBdsCustomDocumentWindow*>* DocumentWindowsOfTab(const vcl::TObject* object);
    // The document window of the tab set's entry at `tabIndex`, or nil when it is an IDE tab.
    TBdsCustomDocumentWindow* TabDocument(vcl::TComponent* tabSet, int tabIndex);
    // The tab set's "Items", read once per tab set painted.
    vcl::TStringList& TabItems(vcl::TComponent* tabSet);
    // The first (or last) record whose tab set is `tabSet`.
    TBdsEditWindow* RecordOfTabSet(const vcl::TObject* tabSet, bool last) const;
    // Gives the record's tab set back the handlers the service replaced; every tab set at teardown.
    void RestoreTabSet(const TBdsEditWindow& record);
    void RestoreTabSets();
    // Puts the package's bitmap into the tab set's image list as the document's tab image.
    void AddDocumentImage(vcl::TComponent* tabSet, TBdsCustomDocumentWindow& document, HBITMAP handle);
    std::shared_ptr<TBdsEditWindow> SharedRecord(const TBdsEditWindow* record) const;
    TBdsEditWindow* NewEditWindowRecord(vcl::TWinControl* editControlParent);
    // Calls `visit`, in list order, on every document window of `windows` that `bound` accepts,
    // each held by a reference for the call; windows that left meanwhile are skipped.
    template <class Bound, class Visit>
    void ForEachDocumentWindow(TDocumentWindows& windows, Bound&& bound, Visit&& visit);
    template <class Visit>
    void ForEachDocumentWindowOfFrame(TDocumentWindows& windows, const vcl::TObject* frame, Visit&& visit);

    TDocumentWindows DocumentWindows;
    // The document windows made and not yet gone, registered or not: shut-down detaches them all.
    TDocumentWindows FMadeDocumentWindows;
    TDockableWindows DockableWindows;
    TBdsEditWindows FBdsEditWindows;
    std::vector<int32_t> FreeImageIndexes;
    HWND hShadowWindow = nullptr;
    // The service's share of each registered record.
    std::vector<std::shared_ptr<TBdsEditWindow>> FEditWindowRecords;
    // Tab painting asks for every tab at every repaint: the registry's answer per tab object is
    // kept, and made again after the registry or an identified object changed.
    std::unordered_map<const vcl::TObject*, std::vector<TBdsCustomDocumentWindow*>> FTabDocuments;
    bool FTabDocumentsStale = true;
    // Set at shut-down: no window is made any more.
    bool FPackageHoldsReleased = false;
    // The answers per tab index for the tab set painted last, each checked against the tab's
    // object before use; cleared with the answers above.
    struct TabEntry {
        const vcl::TObject* object;
        TBdsCustomDocumentWindow* document;
    };
    vcl::ComponentPtr<vcl::TComponent> FTabEntriesOwner;
    vcl::TStringList* FTabEntriesItems = nullptr;
    std::vector<TabEntry> FTabEntries;
};

}  // namespace korvel
