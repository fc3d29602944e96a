#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/rtl/Bstr.h"
#include "platform/rtl/ComObject.h"
#include "sim/SimulatedIde.h"
#include "tests/support/PackageWindow.h"
#include "tests/support/HubFixture.h"
#include "windows/BdsDockableWindows.h"
#include "windows/BdsIdeUtils.h"
#include "windows/BdsWindowsService.h"

using rtl::String;

using testing_support::PackageWindow;

namespace {

// Counts the window's events; OnClose may run a callback (the package letting go, say).
class WindowSink : public rtl::ComObject<IBdsWindowEvents> {
public:
    HRESULT STDMETHODCALLTYPE OnClose() override {
        ++closes;
        if (onClose) std::exchange(onClose, nullptr)();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnActivate() override {
        ++activations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RequestIcon(Integer*) override { return S_OK; }
    int closes = 0;
    int activations = 0;
    std::function<void()> onClose;
};

Integer AsInteger(HBITMAP handle) { return static_cast<Integer>(reinterpret_cast<uintptr_t>(handle)); }

// The hosted window fills the form's window: its size is the client rectangle of the form's
// real window, whatever the form itself reports.
void ExpectFillsTheForm(HWND hosted, korvel::TToolDockWindow& form) {
    RECT client{};
    GetClientRect(form.Handle(), &client);
    RECT rect{};
    GetWindowRect(hosted, &rect);
    EXPECT_EQ(rect.right - rect.left, client.right);
    EXPECT_EQ(rect.bottom - rect.top, client.bottom);
    EXPECT_EQ(form.ClientWidth(), client.right);
    EXPECT_EQ(form.ClientHeight(), client.bottom);
}

class DockableWindowTest : public testing::Test {
protected:
    DockableWindowTest() {
        rtl::WideString name(u"KorvelTool");
        EXPECT_EQ(service->CreateDockableWindow(name.Get(), window.Put()), S_OK);
        window->RegisterEvents(sink.Get());
    }
    ~DockableWindowTest() override {
        window = nullptr;
        delete service;
    }
    korvel::TToolDockWindow* Form() const {
        return static_cast<korvel::TBdsDockableWindow*>(window.Get())->ToolWindow();
    }
    bool Flag(HRESULT (STDMETHODCALLTYPE IBdsDockableWindow::*read)(WordBool*), HRESULT expected = S_OK) {
        WordBool flag = 7;
        EXPECT_EQ((window.Get()->*read)(&flag), expected);
        return flag != 0;
    }

    sim::SimulatedIde ide;
    korvel::TBdsWindowsService* service = new korvel::TBdsWindowsService;
    rtl::ComPtr<IBdsDockableWindow> window;
    rtl::ComPtr<WindowSink> sink{new WindowSink};
    rtl::ComPtr<PackageWindow> control{new PackageWindow};
};

TEST_F(DockableWindowTest, HostedWindowFollowsTheFormThroughDockingAndFloating) {
    korvel::TToolDockWindow* form = Form();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->DeskSection, u"KorvelTool");
    const std::vector<String> fields = ide.Desktop().RegisteredFields();
    EXPECT_NE(std::find(fields.begin(), fields.end(), u"KorvelTool"), fields.end());
    rtl::WideString caption(u"Korvel Tool");
    EXPECT_EQ(window->Set_Caption(caption.Get()), S_OK);
    EXPECT_EQ(form->Caption(), u"Korvel Tool");
    EXPECT_TRUE(Flag(&IBdsDockableWindow::Get_AutoHides));
    EXPECT_EQ(window->Set_AutoHides(0), S_OK);
    EXPECT_TRUE(Flag(&IBdsDockableWindow::Get_AutoHides));
    EXPECT_EQ(window->Set_IsFloating(-1), S_OK);
    EXPECT_TRUE(Flag(&IBdsDockableWindow::Get_IsFloating)) << "reads back the Dockable flag";

    EXPECT_EQ(window->HostControl(control->Unknown()), S_OK);
    EXPECT_EQ(GetAncestor(control->handle, GA_PARENT), form->Handle());
    ExpectFillsTheForm(control->handle, *form);

    for (bool dock : {true, false}) {
        const HWND before = form->Handle();
        if (dock)
            ide.Desktop().Dock(*form);
        else
            ide.Desktop().Float(*form);
        EXPECT_NE(form->Handle(), before) << "a new window for the new place";
        EXPECT_EQ(GetAncestor(control->handle, GA_PARENT), form->Handle()) << "re-hosted in the new window";
        ExpectFillsTheForm(control->handle, *form);
    }

    EXPECT_EQ(window->Set_Visible(-1), S_OK);
    EXPECT_TRUE(form->Visible());
    EXPECT_GE(sink->activations, 1);
    EXPECT_EQ(window->Set_Visible(0), S_OK);
    EXPECT_FALSE(Flag(&IBdsDockableWindow::Get_Visible));
    const int focusMessages = control->focusMessages;
    const int activations = sink->activations;
    form->MouseActivate(3, 4);
    EXPECT_TRUE(Flag(&IBdsDockableWindow::Get_IsActive));
    EXPECT_EQ(control->focusMessages, focusMessages + 1) << "activation sends the hosted window WM_SETFOCUS";
    EXPECT_EQ(sink->activations, activations + 2) << "the click and the activation";

    rtl::ComPtr<IUnknown> notAWindow(sink->Unknown());
    EXPECT_EQ(window->HostControl(notAWindow.Get()), E_FAIL);
    EXPECT_EQ(window->HostControl(nullptr), S_OK);
    EXPECT_EQ(GetAncestor(control->handle, GA_PARENT), form->Handle()) << "the previous window stays where it is";

    // The package's references are not the window's life.
    auto* raw = window.Get();
    window = nullptr;
    EXPECT_TRUE(service->BdsDockableWindows().Contains(static_cast<korvel::TBdsCustomDockableWindow*>(raw)));
}

TEST_F(DockableWindowTest, IconIsMadeFromTheBitmapAndABadHandleIsReported) {
    std::vector<uint32_t> pixels(16 * 16, 0x00FF00FFu);
    pixels[0] = 0x00FF0000u;
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, pixels.data());
    EXPECT_EQ(window->SetIcon(AsInteger(bitmap)), S_OK);
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof(info), &info), 0) << "the handle is consumed";
    ASSERT_TRUE(Form()->Icon());
    const vcl::TIcon::Picture picture = Form()->Icon()->Read();
    ASSERT_FALSE(picture.pixels.empty());
    EXPECT_FALSE(picture.transparent[0]);
    EXPECT_TRUE(picture.transparent.back()) << "magenta is transparent";

    EXPECT_EQ(window->SetIcon(12345), E_FAIL);
    ASSERT_FALSE(ide.Record().dialogs.empty());
    EXPECT_EQ(ide.Record().dialogs.back().text.rfind(u"TBdsDockableWindow.SetIcon 12345 ", 0), 0u);
}

TEST_F(DockableWindowTest, FormDestroyedByTheIdeTellsThePackageOnceAndLaterCallsFail) {
    EXPECT_EQ(window->HostControl(control->Unknown()), S_OK);
    // The package lets go of its sink from inside OnClose.
    sink->onClose = [this] { window->RegisterEvents(nullptr); };
    sim::ToolWindowDesktop::Destroy(Form());
    EXPECT_EQ(sink->closes, 1);
    EXPECT_EQ(Form(), nullptr);
    EXPECT_TRUE(IsWindow(control->handle)) << "the package's window outlives the form";
    const std::vector<String> fields = ide.Desktop().RegisteredFields();
    EXPECT_EQ(std::find(fields.begin(), fields.end(), u"KorvelTool"), fields.end()) << "unregistered";

    BSTR caption = nullptr;
    EXPECT_EQ(window->Get_Caption(&caption), E_FAIL);
    EXPECT_EQ(caption, nullptr);
    EXPECT_EQ(window->Set_Caption(nullptr), E_FAIL);
    EXPECT_FALSE(Flag(&IBdsDockableWindow::Get_Visible, E_FAIL));
    EXPECT_EQ(window->Set_Visible(-1), E_FAIL);
    EXPECT_FALSE(Flag(&IBdsDockableWindow::Get_AutoHides, E_FAIL));
    EXPECT_EQ(window->Set_AutoHides(-1), S_OK);
    EXPECT_FALSE(Flag(&IBdsDockableWindow::Get_IsFloating, E_FAIL));
    EXPECT_EQ(window->Set_IsFloating(-1), E_FAIL);
    EXPECT_FALSE(Flag(&IBdsDockableWindow::Get_IsActive, E_FAIL));
    EXPECT_EQ(window->Close(), E_FAIL);
    EXPECT_EQ(window->Activate(), E_FAIL);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(window->SetIcon(AsInteger(bitmap)), E_FAIL);
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info))) << "still the package's";
    DeleteObject(bitmap);
    EXPECT_EQ(window->HostControl(control->Unknown()), E_FAIL);
}

TEST_F(DockableWindowTest, PackageMayReplaceOrDropItsControlFromInsideGetHandle) {
    korvel::TToolDockWindow* form = Form();
    // The window holds the only reference on the first control; asked for its handle on
    // activation, the package hosts another control instead, which frees the first.
    auto* first = new PackageWindow;
    const rtl::ComPtr<PackageWindow> second{new PackageWindow};
    EXPECT_EQ(window->HostControl(first->Unknown()), S_OK);
    first->onHandle = [&] { EXPECT_EQ(window->HostControl(second->Unknown()), S_OK); };
    form->Activate();
    EXPECT_EQ(GetAncestor(second->handle, GA_PARENT), form->Handle());
    EXPECT_EQ(second->RefCount(), 2u) << "the test's and the window's";

    // Asked again while the IDE docks the form, the package drops its control.
    second->onHandle = [&] { EXPECT_EQ(window->HostControl(nullptr), S_OK); };
    ide.Desktop().Dock(*form);
    EXPECT_EQ(second->RefCount(), 1u) << "let go of";
    ide.Desktop().Float(*form);
    EXPECT_EQ(window->Set_Visible(-1), S_OK);
}

TEST_F(DockableWindowTest, TeardownFreesTheFormWithoutOnCloseAndLeavesHeldWindowsHarmless) {
    rtl::ComPtr<IBdsDockableWindow> second;
    rtl::WideString name(u"Second");
    ASSERT_EQ(service->CreateDockableWindow(name.Get(), second.Put()), S_OK);
    second = nullptr;  // only its own reference is left
    EXPECT_EQ(window->HostControl(control->Unknown()), S_OK);
    delete service;
    service = nullptr;
    EXPECT_EQ(sink->closes, 0) << "the package did not ask for a close";
    EXPECT_TRUE(ide::TDockableForm::Forms().empty());
    EXPECT_TRUE(IsWindow(control->handle)) << "the package's window is the package's";
    EXPECT_EQ(window->Activate(), E_FAIL);
    EXPECT_EQ(sink->RefCount(), 1u) << "the sink was let go";
    EXPECT_EQ(static_cast<korvel::TBdsDockableWindow*>(window.Get())->RefCount(), 1u)
        << "the window let go of itself: the package's release frees it";
}

using ObjectInspectorTest = testing_support::HubFixture;

TEST_F(ObjectInspectorTest, StandardWindowShowsTheInspectorThroughTheIdesMenuCommand) {
    EnterWithOnePackage();
    rtl::ComPtr<IBdsWindowsService> windows;
    ASSERT_EQ(Hub()->Get_BdsWindowsService(windows.Put()), S_OK);
    rtl::ComPtr<IBdsDockableWindow> other;
    rtl::WideString lower(u"objectinspector");
    EXPECT_EQ(windows->GetStandardWindow(lower.Get(), other.Put()), S_OK);
    EXPECT_FALSE(other);

    rtl::WideString name(u"ObjectInspector");
    rtl::ComPtr<IBdsDockableWindow> first;
    rtl::ComPtr<IBdsDockableWindow> second;
    ASSERT_EQ(windows->GetStandardWindow(name.Get(), first.Put()), S_OK);
    ASSERT_EQ(windows->GetStandardWindow(name.Get(), second.Put()), S_OK);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.Get(), second.Get());

    vcl::TWinControl* inspector = korvel::GetObjectInspectorWindow();
    ASSERT_TRUE(inspector);
    EXPECT_EQ(first->Close(), S_OK);
    WordBool visible = 7;
    EXPECT_EQ(first->Get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(first->Activate(), S_OK);
    EXPECT_TRUE(inspector->Visible());
    const auto& lines = ide.Record().lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"menu command: ViewObjInspItem"), lines.end());
    ShutDown();
}

}  // namespace
