#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "loader/KorvelLoader.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComObject.h"
#include "platform/vcl/ActnList.h"
#include "sim/SimulatedIde.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsWindowsService.h"

using rtl::String;

namespace {

// A package's window sink: RequestIcon hands out the queued handles, then 0, after running the
// package code given for the next request.
class IconSink : public rtl::ComObject<IBdsWindowEvents> {
public:
    HRESULT STDMETHODCALLTYPE OnClose() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer* pRetVal) override {
        ++requests;
        if (onRequest) std::exchange(onRequest, nullptr)();
        if (!icons.empty()) {
            *pRetVal = icons.front();
            icons.pop_front();
        }
        return S_OK;
    }
    std::deque<Integer> icons;
    int requests = 0;
    std::function<void()> onRequest;
};

class ShellPackage : public rtl::ComObject<IBdsShellPackage> {
public:
    HRESULT STDMETHODCALLTYPE OnDocumentDeactivated() override {
        ++deactivations;
        return S_OK;
    }
    int deactivations = 0;
};

Integer NewBitmap(int size = 16) {
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size, 0x0000FF00u);
    return static_cast<Integer>(reinterpret_cast<uintptr_t>(CreateBitmap(size, size, 1, 32, pixels.data())));
}

bool BitmapAlive(Integer handle) {
    BITMAP info{};
    return GetObjectW(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(static_cast<uint32_t>(handle))), sizeof(info),
                      &info) == sizeof(info);
}

// An IDE source file in tab 0 and a package document's file in tab 1.
class EditorTabSetTest : public testing::Test {
protected:
    EditorTabSetTest() {
        ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
        ide.Editors().OpenFile(u"C:\\docs\\Plan.kdoc");
        Integer index = -1;
        service->DocumentFrameOnTop(&index);
        EXPECT_EQ(index, 0);
        tabs = ide.Editors().TabSet();
        document = Document();
    }
    ~EditorTabSetTest() override {
        document = nullptr;
        delete service;
        korvel::ShellPackage = nullptr;
    }
    rtl::ComPtr<IBdsDocumentWindow> Document() {
        rtl::ComPtr<IBdsDocumentWindow> window;
        rtl::WideString id(u"C:\\docs\\Plan.kdoc");
        EXPECT_EQ(service->CreateDocumentWindow(id.Get(), 1, 0, window.Put()), S_OK);
        window->RegisterEvents(sink.Get());
        return window;
    }
    static korvel::TBdsCustomDocumentWindow* Of(const rtl::ComPtr<IBdsDocumentWindow>& window) {
        return static_cast<korvel::TBdsCustomDocumentWindow*>(window.Get());
    }
    // The IDE destroys the frame of the edit-window record at `index`; the tab set stays.
    void DestroyFrame(int index) { delete service->BdsEditWindows().Items(index)->Frame.Get(); }

    sim::SimulatedIde ide;
    korvel::TBdsWindowsService* service = new korvel::TBdsWindowsService;
    rtl::ComPtr<IconSink> sink{new IconSink};
    sim::GradientTabSet* tabs = nullptr;
    rtl::ComPtr<IBdsDocumentWindow> document;
};

TEST_F(EditorTabSetTest, DocumentImagesComeFromThePackageOnceAndTheirSlotsAreReused) {
    EXPECT_EQ(tabs->ImageIndexOf(0), sim::GradientTabSet::SourceImageIndex);
    EXPECT_EQ(tabs->Requests().images, std::vector<int>{0}) << "an IDE tab asks the IDE's handler";

    EXPECT_EQ(tabs->ImageIndexOf(1), -1) << "no bitmap yet";
    EXPECT_EQ(sink->requests, 1);
    sink->icons = {-1};
    EXPECT_EQ(tabs->ImageIndexOf(1), -1) << "-1 is no bitmap either";
    const Integer bitmap = NewBitmap();
    sink->icons = {bitmap};
    const int first = tabs->Images().Count();
    EXPECT_EQ(tabs->ImageIndexOf(1), first) << "appended with magenta transparent";
    EXPECT_FALSE(BitmapAlive(bitmap)) << "the handle is consumed";
    EXPECT_EQ(tabs->ImageIndexOf(1), first);
    EXPECT_EQ(sink->requests, 3) << "not asked again once it has an image";
    EXPECT_EQ(tabs->Requests().images, std::vector<int>{0}) << "a document's tab never reaches the IDE's handler";

    // Slots given back are taken last-in first-out, and overwritten.
    vcl::TBitmap white;
    std::vector<uint32_t> pixels(16 * 16, 0x00FFFFFFu);
    white.SetHandle(CreateBitmap(16, 16, 1, 32, pixels.data()));
    while (tabs->Images().Count() < 8) tabs->Images().AddMasked(white, vcl::clFuchsia);
    DeleteObject(white.Handle());
    auto three = Document();
    auto seven = Document();
    Of(three)->SetDocImageIndex(3);
    Of(seven)->SetDocImageIndex(7);
    document = nullptr;
    three = nullptr;
    seven = nullptr;
    EXPECT_EQ(service->FreeImageIndexPool(), (std::vector<int32_t>{first, 3, 7}));
    auto next = Document();
    sink->icons = {NewBitmap()};
    EXPECT_EQ(tabs->ImageIndexOf(1), 7);
    EXPECT_EQ(service->FreeImageIndexPool(), (std::vector<int32_t>{first, 3}));
    EXPECT_EQ(tabs->Images().Images(7).pixels[0], 0x0000FF00u) << "the slot's picture is the new document's";
    EXPECT_EQ(tabs->Images().Count(), 8);
}

TEST_F(EditorTabSetTest, BitmapsHandedOverForTabsAreTheSystemsWhateverThePackageDoesMeanwhile) {
    // The package lets go of its document while it is asked for the icon: the image is taken,
    // and the slot goes back to the pool with the document.
    const int slot = tabs->Images().Count();
    Integer bitmap = NewBitmap();
    sink->icons = {bitmap};
    sink->onRequest = [&] { document = nullptr; };
    EXPECT_EQ(tabs->ImageIndexOf(1), slot);
    EXPECT_FALSE(BitmapAlive(bitmap));
    EXPECT_EQ(service->FreeImageIndexPool(), std::vector<int32_t>{slot});

    // A bitmap the image list cannot take is deleted, and the package is not asked again.
    document = Document();
    bitmap = NewBitmap(10);
    sink->icons = {bitmap};
    EXPECT_EQ(tabs->ImageIndexOf(1), -1);
    EXPECT_FALSE(BitmapAlive(bitmap));
    const int requests = sink->requests;
    EXPECT_EQ(tabs->ImageIndexOf(1), -1);
    EXPECT_EQ(sink->requests, requests);

    // The IDE closes the edit window while the package is asked: nothing takes the bitmap.
    document = Document();
    bitmap = NewBitmap();
    sink->icons = {bitmap};
    sink->onRequest = [&] { ide.Editors().CloseEditWindow(); };
    tabs->ImageIndexOf(1);
    EXPECT_EQ(sink->requests, requests + 1);
    EXPECT_FALSE(BitmapAlive(bitmap));
}

TEST_F(EditorTabSetTest, TheIdesHandlersComeBackWhenTheLastFrameOnTheTabSetGoesAndAreChainedAgain) {
    Integer index = -1;
    service->DocumentFrameOnTop(&index);
    ASSERT_EQ(index, 1);
    const int changes = tabs->Requests().changes;
    DestroyFrame(0);
    tabs->SelectTab(0);
    EXPECT_EQ(tabs->Requests().changes, changes + 1) << "the other record forwards";
    DestroyFrame(0);
    ASSERT_EQ(service->BdsEditWindows().Count(), 0);
    tabs->SelectTab(0);
    EXPECT_EQ(tabs->Requests().changes, changes + 2) << "the IDE's own handler again";

    service->DocumentFrameOnTop(&index);
    ASSERT_EQ(index, 0);
    tabs->SelectTab(0);
    EXPECT_EQ(tabs->Requests().changes, changes + 3) << "a new record chains to the IDE's handler";
    tabs->MouseDown(vcl::TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_EQ(tabs->Requests().presses.size(), 1u);
    document = nullptr;
    delete std::exchange(service, nullptr);
    tabs->SelectTab(1);
    EXPECT_EQ(tabs->Requests().changes, changes + 4) << "and gets it back at teardown";
}

TEST_F(EditorTabSetTest, TheFirstRegisteredDocumentOfATabAnswersAlsoAfterDocumentsComeAndGo) {
    sink->icons = {NewBitmap()};
    const int first = tabs->ImageIndexOf(1);
    ASSERT_GE(first, 0);
    rtl::ComPtr<IconSink> laterSink(new IconSink);
    auto later = Document();
    later->RegisterEvents(laterSink.Get());
    EXPECT_EQ(tabs->ImageIndexOf(1), first) << "the earlier registration wins";
    EXPECT_EQ(laterSink->requests, 0);
    document = nullptr;
    laterSink->icons = {NewBitmap()};
    EXPECT_EQ(tabs->ImageIndexOf(1), first) << "the later document now answers, taking the freed slot";
    EXPECT_EQ(laterSink->requests, 1);
    later = nullptr;
    EXPECT_EQ(tabs->ImageIndexOf(1), sim::GradientTabSet::SourceImageIndex) << "an IDE tab again";
}

TEST_F(EditorTabSetTest, UnmodifiedDocumentsHaveNoOverlayAndModifiedOnesGetTheIdesAnswer) {
    int overlay = 5;
    tabs->OnGetOverlayImageIndex(tabs, 1, overlay);
    EXPECT_EQ(overlay, -1);
    EXPECT_TRUE(tabs->Requests().overlays.empty());
    const int repaints = tabs->UpdateCount();
    document->Set_Modified(-1);
    EXPECT_EQ(tabs->UpdateCount(), repaints + 1) << "the modified mark is repainted";
    overlay = 5;
    tabs->OnGetOverlayImageIndex(tabs, 1, overlay);
    EXPECT_EQ(overlay, 5) << "left to the IDE's handler";
    tabs->OnGetOverlayImageIndex(tabs, 0, overlay);
    EXPECT_EQ(tabs->Requests().overlays, (std::vector<int>{1, 0}));
    // A second, unmodified window of the same tab decides for it.
    auto second = Document();
    tabs->OnGetOverlayImageIndex(tabs, 1, overlay);
    EXPECT_EQ(overlay, -1);
}

TEST_F(EditorTabSetTest, SwitchingTabsShowsTheIdesPiecesOnlyForIdeTabsAndSwallowsPressesOnDocuments) {
    rtl::ComPtr<ShellPackage> shell(new ShellPackage);
    korvel::ShellPackage = rtl::PackageRef<IBdsShellPackage>(shell.Get());
    vcl::TWinControl* statusContainer = ide.Editors().StatusBar()->Parent();
    ASSERT_FALSE(statusContainer->Visible()) << "hidden while the frame is on top";
    const int changes = tabs->Requests().changes;

    tabs->SelectTab(1);
    EXPECT_EQ(shell->deactivations, 0);
    EXPECT_FALSE(statusContainer->Visible());
    EXPECT_EQ(tabs->Requests().changes, changes + 1) << "the IDE's handler runs for documents too";
    tabs->MouseDown(vcl::TMouseButton::mbRight, vcl::ssShift, 7, 9);
    EXPECT_TRUE(tabs->Requests().presses.empty()) << "swallowed while a document's tab is selected";

    tabs->SelectTab(0);
    EXPECT_EQ(shell->deactivations, 1);
    EXPECT_TRUE(statusContainer->Visible());
    EXPECT_TRUE(ide.Editors().MessageView()->ViewEditorItem()->Visible());
    EXPECT_EQ(tabs->Requests().changes, changes + 2);
    tabs->MouseDown(vcl::TMouseButton::mbRight, vcl::ssShift, 7, 9);
    ASSERT_EQ(tabs->Requests().presses.size(), 1u);
    EXPECT_EQ(tabs->Requests().presses[0].button, vcl::TMouseButton::mbRight);
    EXPECT_EQ(tabs->Requests().presses[0].shift, vcl::ssShift);
    EXPECT_EQ(tabs->Requests().presses[0].x, 7);
    EXPECT_EQ(tabs->Requests().presses[0].y, 9);
    tabs->SelectTab(0);
    EXPECT_EQ(shell->deactivations, 2) << "at every change to an IDE tab";
}

TEST_F(EditorTabSetTest, ASecondFrameOnTheSameTabSetForwardsToTheIdeOnceAndTeardownGivesItsHandlersBack) {
    Integer index = -1;
    service->DocumentFrameOnTop(&index);
    ASSERT_EQ(index, 1);
    EXPECT_EQ(tabs->ImageIndexOf(0), sim::GradientTabSet::SourceImageIndex);
    EXPECT_EQ(tabs->Requests().images, std::vector<int>{0}) << "the IDE's handler, once, not the service's again";
    const int changes = tabs->Requests().changes;
    tabs->SelectTab(0);
    EXPECT_EQ(tabs->Requests().changes, changes + 1);
    tabs->MouseDown(vcl::TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_EQ(tabs->Requests().presses.size(), 1u);

    document = nullptr;
    delete service;
    service = nullptr;
    tabs->SelectTab(1);
    EXPECT_EQ(tabs->ImageIndexOf(1), sim::GradientTabSet::SourceImageIndex) << "the IDE's own handlers again";
    EXPECT_EQ(tabs->Requests().changes, changes + 2);
}

}  // namespace
