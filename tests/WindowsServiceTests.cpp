#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComObject.h"
#include "platform/vcl/ActnList.h"
#include "sim/SimulatedIde.h"
#include "tests/support/PackageWindow.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsIdeUtils.h"

using korvel::TBdsWindowsService;
using rtl::String;

using testing_support::PackageWindow;

namespace {

class WindowsServiceTest : public testing::Test {
protected:
    ~WindowsServiceTest() override { delete service; }

    int OnTop() {
        Integer index = -7;
        EXPECT_EQ(service->DocumentFrameOnTop(&index), S_OK);
        return index;
    }
    rtl::ComPtr<IBdsDocumentWindow> Create(const String& moduleID, int moduleIndex, int editorIndex,
                                           HRESULT expected = S_OK) {
        rtl::ComPtr<IBdsDocumentWindow> window;
        rtl::WideString id(moduleID);
        EXPECT_EQ(service->CreateDocumentWindow(id.Get(), moduleIndex, editorIndex, window.Put()), expected);
        return window;
    }
    // A document over the editor's only file, optionally hosting the package's window.
    rtl::ComPtr<IBdsDocumentWindow> Document(bool hosted) {
        ide.Editors().OpenFile(u"Doc.kdoc");
        EXPECT_EQ(OnTop(), 0);
        auto window = Create(u"Doc.kdoc", 0, 0);
        if (hosted) {
            EXPECT_EQ(window->HostControl(package->Unknown()), S_OK);
        }
        return window;
    }
    korvel::TKorvelFrame* FrameOf(int index) { return service->BdsEditWindows().Items(index)->Frame.Get(); }
    vcl::TCustomAction* NewEditorAction() {
        vcl::TCustomActionList* actions = ide.Services().GetActionList();
        for (int i = 0; i < actions->ActionCount(); ++i)
            if (actions->Actions(i)->Name() == u"ViewNewEditorCommand")
                return static_cast<vcl::TCustomAction*>(actions->Actions(i));
        return nullptr;
    }

    sim::SimulatedIde ide;
    TBdsWindowsService* service = new TBdsWindowsService;
    rtl::ComPtr<PackageWindow> package{new PackageWindow};
};

TEST_F(WindowsServiceTest, ShadowWindowIsAHiddenToolWindowOfItsOwnClass) {
    const HWND shadow = service->ShadowWindow();
    ASSERT_TRUE(IsWindow(shadow));
    char16_t className[32] = {};
    GetClassNameW(shadow, rtl::W(className), 32);
    EXPECT_EQ(String(className), u"KorvelWnd");
    EXPECT_FALSE(IsWindowVisible(shadow));
    EXPECT_EQ(GetWindowLongW(shadow, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetParent(shadow), nullptr);
    EXPECT_EQ(GetWindowLongW(shadow, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CHILD), WS_POPUP);
}

TEST_F(WindowsServiceTest, FrameGoesOverTheEditorAndIsFoundAgainOnlyAfterNormal) {
    EXPECT_EQ(OnTop(), -1) << "no source editor open";
    EXPECT_EQ(service->BdsEditWindows().Count(), 0);

    ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
    ASSERT_EQ(OnTop(), 0);
    korvel::TKorvelFrame* frame = FrameOf(0);
    vcl::TWinControl* editorContainer = ide.Editors().EditControl()->Parent();
    EXPECT_EQ(frame->Parent(), editorContainer->Parent()) << "lifted into the grandparent";
    EXPECT_EQ(frame->Width(), editorContainer->Width());
    EXPECT_TRUE(IsWindowVisible(frame->Handle()));
    EXPECT_EQ(GetFocus(), frame->Handle());
    EXPECT_NE(frame->PopupMenu(), nullptr);
    EXPECT_EQ(service->BdsEditWindows().Items(0)->TabSet.Get(), ide.Editors().TabSet());
    // What the IDE shows for its own editor is hidden.
    EXPECT_FALSE(ide.Editors().StatusBar()->Parent()->Visible());
    EXPECT_FALSE(NewEditorAction()->Visible());
    EXPECT_FALSE(ide.Editors().MessageView()->ViewEditorItem()->Visible());

    EXPECT_EQ(OnTop(), 1) << "a second frame without Normal in between";
    EXPECT_EQ(service->DocumentFrameNormal(1), S_OK);
    EXPECT_EQ(FrameOf(1)->Parent(), editorContainer);
    EXPECT_EQ(OnTop(), 1);
    EXPECT_EQ(service->DocumentFrameNormal(2), E_INVALIDARG) << "a failing result, not an exception";
    EXPECT_EQ(service->DocumentFrameNormal(-1), E_INVALIDARG);
}

TEST_F(WindowsServiceTest, DocumentWindowsFindTheirModuleAndTheLowestMatchingTab) {
    ide.Editors().OpenFile(u"C:\\other\\Notes.txt");
    ide.Editors().OpenFile(u"C:\\a\\Doc.kdoc");
    ide.Editors().OpenFile(u"C:\\b\\Doc.kdoc");
    ide.Editors().OpenFile(u"C:\\c\\MyDoc.kdoc");
    ASSERT_EQ(OnTop(), 0);

    EXPECT_FALSE(Create(u"C:\\b\\Doc.kdoc", 2, 1, E_UNEXPECTED)) << "no record 1";
    auto window = Create(u"C:\\b\\Doc.kdoc", 2, 0);
    ASSERT_TRUE(window);
    auto* document = static_cast<korvel::TBdsDocumentWindow*>(window.Get());
    EXPECT_TRUE(service->DbDocumentWindows().Contains(document));
    vcl::TStringList& tabs = ide.Editors().TabSet()->Items();
    EXPECT_EQ(document->IdentifiedObject(), tabs.Objects(1));
    // A caption is the whole file name, not any end of the identifier.
    auto other = Create(u"C:\\c\\MyDoc.kdoc", 3, 0);
    EXPECT_EQ(static_cast<korvel::TBdsDocumentWindow*>(other.Get())->IdentifiedObject(), tabs.Objects(3));
    auto bare = Create(u"Doc.kdoc", 0, 0);
    EXPECT_EQ(static_cast<korvel::TBdsDocumentWindow*>(bare.Get())->IdentifiedObject(), tabs.Objects(1));
    bare = nullptr;

    // A module index that names another file falls back to the name; one out of range does not.
    auto byName = Create(u"C:\\a\\Doc.kdoc", 0, 0);
    EXPECT_TRUE(service->DbDocumentWindows().Contains(static_cast<korvel::TBdsDocumentWindow*>(byName.Get())));
    auto unknown = Create(u"C:\\a\\Doc.kdoc", 4, 0);
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(service->DbDocumentWindows().Contains(static_cast<korvel::TBdsDocumentWindow*>(unknown.Get())));
    EXPECT_EQ(service->DbDocumentWindows().Count(), 3);

    // A document's image index, the first slot too, goes back to the pool when the window goes.
    document->SetDocImageIndex(5);
    static_cast<korvel::TBdsDocumentWindow*>(other.Get())->SetDocImageIndex(0);
    window = nullptr;
    unknown = nullptr;
    other = nullptr;
    EXPECT_EQ(service->FreeImageIndexPool(), (std::vector<int32_t>{5, 0}));
    EXPECT_EQ(service->DbDocumentWindows().Count(), 1);
}

TEST_F(WindowsServiceTest, HostedWindowSurvivesTheFramesHandleRecreationAndFollowsItsSize) {
    auto window = Document(false);
    WordBool flag = 1;
    EXPECT_EQ(window->Get_Visible(&flag), E_FAIL);
    EXPECT_EQ(flag, 0);

    ASSERT_EQ(window->HostControl(package->Unknown()), S_OK);
    korvel::TKorvelFrame* frame = FrameOf(0);
    EXPECT_EQ(GetAncestor(package->handle, GA_PARENT), frame->Handle());
    EXPECT_EQ(window->Get_Visible(&flag), S_OK);
    EXPECT_EQ(flag, -1);

    const HWND oldFrameWindow = frame->Handle();
    frame->RecreateWnd();
    ASSERT_TRUE(IsWindow(package->handle)) << "parked under the shadow window while the frame's handle died";
    EXPECT_NE(frame->Handle(), oldFrameWindow);
    EXPECT_EQ(GetAncestor(package->handle, GA_PARENT), frame->Handle());

    ide.Editors().EditWindowForm()->SetBounds(0, 0, 500, 400);
    RECT rect{};
    GetClientRect(package->handle, &rect);
    EXPECT_EQ(rect.right, frame->Width());
    EXPECT_EQ(rect.bottom, frame->Height());

    // Close hides the frame and so every document of it; the hosted window stays as it was.
    EXPECT_EQ(window->Close(), S_OK);
    EXPECT_EQ(window->Get_Visible(&flag), S_OK);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(GetWindowLongW(package->handle, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);

    // Normal and OnTop again: the record is found and its documents are hidden until shown.
    EXPECT_EQ(service->DocumentFrameNormal(0), S_OK);
    EXPECT_EQ(OnTop(), 0);
    EXPECT_FALSE(IsWindowVisible(package->handle));
    EXPECT_EQ(window->Activate(), S_OK);
    EXPECT_TRUE(IsWindowVisible(package->handle));

    EXPECT_EQ(window->HostControl(ide.Services().Unknown()), E_FAIL) << "no IWin32Window";
    EXPECT_EQ(GetAncestor(package->handle, GA_PARENT), frame->Handle());
    EXPECT_EQ(window->HostControl(nullptr), S_OK);
    EXPECT_EQ(window->Get_Visible(&flag), E_FAIL);
}

TEST_F(WindowsServiceTest, TwoFramesOverOneEditWindowKeepTheirOwnDocuments) {
    auto first = Document(true);
    EXPECT_EQ(OnTop(), 1) << "a second frame without Normal in between";
    const rtl::ComPtr<PackageWindow> secondPackage{new PackageWindow};
    auto second = Create(u"Doc.kdoc", 0, 1);
    ASSERT_EQ(second->HostControl(secondPackage->Unknown()), S_OK);

    // Both frames back under the edit control: the last record is found, and only its own
    // documents are hidden.
    EXPECT_EQ(service->DocumentFrameNormal(0), S_OK);
    EXPECT_EQ(service->DocumentFrameNormal(1), S_OK);
    EXPECT_EQ(OnTop(), 1);
    EXPECT_EQ(GetWindowLongW(secondPackage->handle, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetWindowLongW(package->handle, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);

    // Showing a document enables its frame, and hands its window the focus.
    EnableWindow(FrameOf(1)->Handle(), FALSE);
    const int focusMessages = secondPackage->focusMessages;
    EXPECT_EQ(second->Activate(), S_OK);
    EXPECT_TRUE(IsWindowEnabled(FrameOf(1)->Handle()));
    EXPECT_TRUE(IsWindowVisible(secondPackage->handle));
    EXPECT_GT(secondPackage->focusMessages, focusMessages);
}

TEST_F(WindowsServiceTest, PackageWindowsOutliveTheirFrameAlsoForModulesTheIdeDoesNotKnow) {
    auto known = Document(true);
    const rtl::ComPtr<PackageWindow> otherPackage{new PackageWindow};
    auto unknown = Create(u"Unknown.kdoc", -1, 0);
    ASSERT_EQ(unknown->HostControl(otherPackage->Unknown()), S_OK);
    EXPECT_EQ(GetAncestor(otherPackage->handle, GA_PARENT), FrameOf(0)->Handle());

    FrameOf(0)->RecreateWnd();
    EXPECT_TRUE(IsWindow(package->handle));
    EXPECT_TRUE(IsWindow(otherPackage->handle)) << "parked although the frame's events pass it by";
    EXPECT_EQ(unknown->ReHostControl(), S_OK);
    EXPECT_EQ(GetAncestor(otherPackage->handle, GA_PARENT), FrameOf(0)->Handle());

    // Closing the edit window takes the frame along; the package's windows stay the package's.
    ide.Editors().CloseEditWindow();
    EXPECT_EQ(GetAncestor(package->handle, GA_PARENT), service->ShadowWindow());
    EXPECT_EQ(GetAncestor(otherPackage->handle, GA_PARENT), service->ShadowWindow());
}

TEST_F(WindowsServiceTest, ModifiedAndStayOnTopAreReadBack) {
    auto window = Document(false);
    const int repaints = ide.Editors().TabSet()->UpdateCount();
    WordBool flag = 0;
    EXPECT_EQ(window->Set_Modified(1), S_OK);
    EXPECT_EQ(window->Set_Modified(1), S_OK);
    EXPECT_EQ(window->Get_Modified(&flag), S_OK);
    EXPECT_EQ(flag, -1);
    EXPECT_EQ(ide.Editors().TabSet()->UpdateCount(), repaints + 2) << "repainted also when unchanged";

    EXPECT_EQ(window->Set_StayOnTop(-1), S_OK);
    EXPECT_EQ(window->Get_StayOnTop(&flag), S_OK);
    const bool topmost = (GetWindowLongW(FrameOf(0)->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    EXPECT_EQ(flag, topmost ? -1 : 0) << "read from the frame window's extended style";
    EXPECT_EQ(window->Set_StayOnTop(0), S_OK);
    EXPECT_EQ(window->Get_StayOnTop(&flag), S_OK);
    EXPECT_EQ(flag, 0);
}

TEST_F(WindowsServiceTest, ClosedEditWindowLeavesDocumentsHarmlessAndTheRecordGone) {
    auto window = Document(true);

    ide.Editors().CloseEditWindow();
    EXPECT_EQ(service->BdsEditWindows().Count(), 0);
    WordBool flag = 1;
    EXPECT_EQ(window->Set_Visible(-1), E_FAIL);
    EXPECT_EQ(window->Activate(), E_FAIL);
    EXPECT_EQ(window->DoResize(), E_FAIL);
    EXPECT_EQ(window->ReHostControl(), E_FAIL);
    EXPECT_EQ(window->Close(), E_FAIL);
    EXPECT_EQ(window->Get_StayOnTop(&flag), E_FAIL);
    EXPECT_EQ(window->Set_Modified(-1), S_OK);
    EXPECT_EQ(window->Get_Visible(&flag), S_OK);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(OnTop(), -1);
}

TEST_F(WindowsServiceTest, PackageMayReleaseItsDocumentFromInsideTheWindowsOwnCallback) {
    auto window = Document(true);
    IBdsDocumentWindow* raw = window.Detach();
    package->onHandle = [raw] { raw->Release(); };
    EXPECT_EQ(raw->DoResize(), S_OK);
    EXPECT_EQ(service->DbDocumentWindows().Count(), 0);

    // The same from a frame event: the service holds the window for the call.
    auto second = Create(u"Doc.kdoc", 0, 0);
    ASSERT_EQ(second->HostControl(package->Unknown()), S_OK);
    raw = second.Detach();
    package->onHandle = [raw] { raw->Release(); };
    FrameOf(0)->RecreateWnd();
    EXPECT_EQ(service->DbDocumentWindows().Count(), 0);
    EXPECT_TRUE(IsWindow(package->handle));
}

TEST_F(WindowsServiceTest, TeardownDetachesDocumentsThePackageStillHolds) {
    auto window = Document(false);
    delete service;
    service = nullptr;
    EXPECT_EQ(window->Set_Visible(-1), E_FAIL);
    ide.Editors().CloseEditWindow();  // the frame's handlers no longer reach the service
    window = nullptr;
}

TEST_F(WindowsServiceTest, EditWindowWithoutTabSetKeepsNoneAndAFailureWhileShowingLeavesTheRecord) {
    ide.Editors().OpenFile(u"Doc.kdoc");
    delete ide.Editors().TabSet();
    ide.Editors().MessageView()->SetPopupMenu(nullptr);
    EXPECT_EQ(OnTop(), -1) << "the message view without its popup menu fails the showing";
    ASSERT_EQ(service->BdsEditWindows().Count(), 1);
    EXPECT_EQ(service->BdsEditWindows().Items(0)->TabSet.Get(), nullptr);
    auto window = Create(u"Doc.kdoc", 0, 0);
    EXPECT_EQ(static_cast<korvel::TBdsDocumentWindow*>(window.Get())->IdentifiedObject(), nullptr);
    EXPECT_EQ(window->Set_Modified(-1), S_OK);
}

TEST(IdeLookups, AnswerNilWithoutAnEditorAndFindTheObjectInspectorsWindow) {
    sim::SimulatedIde ide;
    EXPECT_FALSE(korvel::GetAnyOTAEditView());
    EXPECT_EQ(korvel::GetEditorStatusBar(), nullptr);
    EXPECT_EQ(korvel::GetEditorTabSet(u"TIDEGradientTabSet"), nullptr);
    EXPECT_EQ(korvel::GetDocumentParentCtrl(), nullptr);
    korvel::SetEditorStatusBarVisibility(false);
    korvel::MessageViewEditorMenuVisble(false);
    EXPECT_EQ(korvel::GetObjectInspectorWindow(), ide.ObjectInspectorForm());

    ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
    EXPECT_FALSE(korvel::FindOTAModule(u"C:\\src\\Unit1.pas", 1)) << "index equal to the count";
    EXPECT_FALSE(korvel::FindOTAModule(u"C:\\src\\Unit1.pas", -1));
    EXPECT_EQ(korvel::GetEditorTabSet(u"TIDEGradientTabSet"), ide.Editors().TabSet());
    korvel::SetEditorStatusBarVisibility(false);
    EXPECT_FALSE(IsWindowVisible(ide.Editors().StatusBar()->Handle()));
}

}  // namespace
