// The windows service as a hostile package drives it: sinks and windows that throw from every
// call, lie in QueryInterface and pull the ground away from inside their callbacks, with
// extreme numbers and made-up handles. The system answers each call, never lets a throw out,
// and holds no reference once it has let go.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/rtl/Bstr.h"
#include "sim/SimulatedIde.h"
#include "tests/support/PackageWindow.h"
#include "tests/support/RoguePackageObject.h"
#include "windows/BdsDockableWindows.h"
#include "windows/BdsDocumentWindow.h"
#include "windows/BdsIdeUtils.h"
#include "windows/BdsWindowsService.h"

using testing_support::PackageWindow;
using testing_support::ExpectRefusedWhileMisbehaving;
using testing_support::RoguePackageObject;

namespace {

Integer DeletedBitmap() {
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    DeleteObject(bitmap);
    return static_cast<Integer>(reinterpret_cast<uintptr_t>(bitmap));
}

Integer LiveBitmap() {
    std::vector<uint32_t> pixels(16 * 16, 0x0000FF00u);
    return static_cast<Integer>(reinterpret_cast<uintptr_t>(CreateBitmap(16, 16, 1, 32, pixels.data())));
}

class WindowsMisuseTest : public testing::Test {
protected:
    ~WindowsMisuseTest() override { delete service; }

    sim::SimulatedIde ide;
    // Outlives the service, which must have let go of it by the end.
    RoguePackageObject rogue;
    korvel::TBdsWindowsService* service = new korvel::TBdsWindowsService;
};

TEST_F(WindowsMisuseTest, DockableWindowAnswersAHostilePackageAndLetsGoOfItAtTeardown) {
    EXPECT_EQ(service->CreateDockableWindow(nullptr, nullptr), E_POINTER);
    rtl::ComPtr<IBdsDockableWindow> window;
    ASSERT_EQ(service->CreateDockableWindow(nullptr, window.Put()), S_OK) << "a null name is an empty one";
    EXPECT_EQ(window->Get_Caption(nullptr), E_POINTER);
    EXPECT_EQ(window->Get_Visible(nullptr), E_POINTER);

    rogue.throwOnAddRef = true;
    EXPECT_TRUE(FAILED(window->RegisterEvents(&rogue))) << "a sink that cannot be held is refused";
    rogue.throwOnAddRef = false;
    ExpectRefusedWhileMisbehaving(rogue, [&] { return window->HostControl(rogue.Unknown()); });

    for (Integer handle : {INT_MIN, -1, INT_MAX, DeletedBitmap()}) EXPECT_EQ(window->SetIcon(handle), E_FAIL);

    // A made-up window handle, a sink that throws from everything, and releases the package's
    // last reference, re-registers itself and closes the window from inside OnActivate.
    rogue.handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0001u));
    EXPECT_EQ(window->HostControl(rogue.Unknown()), S_OK);
    EXPECT_EQ(window->RegisterEvents(&rogue), S_OK);
    rogue.throwInCallbacks = true;
    rogue.throwOnRelease = true;
    IBdsDockableWindow* raw = window.Detach();
    rogue.onCallback = [&] {
        raw->Release();
        EXPECT_EQ(raw->RegisterEvents(&rogue), S_OK);
        EXPECT_EQ(raw->Close(), S_OK);
    };
    EXPECT_EQ(raw->Activate(), S_OK);
    EXPECT_GE(rogue.calls, 1);
    EXPECT_EQ(rogue.references, 2) << "the sink and the hosted window, once each";

    // The IDE frees the form: OnClose throws, later calls fail harmlessly.
    auto* dockable = static_cast<korvel::TBdsDockableWindow*>(raw);
    sim::ToolWindowDesktop::Destroy(dockable->ToolWindow());
    WordBool visible = 7;
    EXPECT_EQ(raw->Get_Visible(&visible), E_FAIL);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(raw->SetIcon(LiveBitmap()), E_FAIL);
    EXPECT_EQ(raw->Activate(), E_FAIL);

    delete std::exchange(service, nullptr);
    EXPECT_EQ(rogue.references, 0) << "teardown lets go of the package's objects";
}

TEST_F(WindowsMisuseTest, DocumentWindowRefusesBadIndexesAndSurvivesItsEditWindowClosingUnderIt) {
    IBdsDocumentWindow* none = reinterpret_cast<IBdsDocumentWindow*>(1);
    rtl::WideString id(u"Doc.kdoc");
    for (Integer index : {-1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(service->CreateDocumentWindow(id.Get(), 0, index, &none), E_UNEXPECTED);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(service->DocumentFrameNormal(index), E_INVALIDARG);
    }
    EXPECT_EQ(service->DocumentFrameOnTop(nullptr), E_POINTER);

    ide.Editors().OpenFile(u"Doc.kdoc");
    Integer editor = -7;
    ASSERT_EQ(service->DocumentFrameOnTop(&editor), S_OK);
    ASSERT_EQ(editor, 0);
    rtl::ComPtr<IBdsDocumentWindow> window;
    for (Integer module : {-1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(service->CreateDocumentWindow(id.Get(), module, 0, window.Put()), S_OK);
        EXPECT_TRUE(window) << "a bad module index finds no module";
    }
    ASSERT_EQ(service->CreateDocumentWindow(id.Get(), 0, 0, window.Put()), S_OK);

    rogue.throwOnAddRef = true;
    EXPECT_TRUE(FAILED(window->RegisterEvents(&rogue))) << "a sink that cannot be held is refused";
    EXPECT_EQ(window->HostControl(rogue.Unknown()), E_FAIL);
    rogue.throwOnAddRef = false;
    rogue.query = RoguePackageObject::Query::NullWithSuccess;
    EXPECT_EQ(window->HostControl(rogue.Unknown()), E_FAIL);
    rogue.query = RoguePackageObject::Query::Honest;
    EXPECT_EQ(rogue.references, 0);

    // A package window whose handle is asked while the package lets go of the document.
    const rtl::ComPtr<PackageWindow> package{new PackageWindow};
    EXPECT_EQ(window->HostControl(package->Unknown()), S_OK);
    EXPECT_EQ(window->RegisterEvents(&rogue), S_OK);
    rogue.throwInCallbacks = true;
    rogue.throwOnRelease = true;

    // Asked for its tab's icon, the package writes a bitmap, closes the IDE's edit window and
    // throws: nothing was handed over, so the bitmap stays the package's; the tab goes without
    // an image and the document answers harmlessly afterwards.
    rogue.icon = LiveBitmap();
    rogue.onCallback = [&] { ide.Editors().CloseEditWindow(); };
    sim::GradientTabSet* tabs = ide.Editors().TabSet();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->ImageIndexOf(0), -1);
    EXPECT_EQ(ide.Editors().TabSet(), nullptr);
    const auto icon = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(static_cast<uint32_t>(rogue.icon)));
    EXPECT_TRUE(DeleteObject(icon)) << "a bitmap left by a call that threw is not deleted by the system";
    EXPECT_EQ(window->Activate(), E_FAIL);
    EXPECT_EQ(window->DoResize(), E_FAIL);
    EXPECT_EQ(window->Set_StayOnTop(-1), E_FAIL);
    EXPECT_EQ(window->Set_Modified(-1), S_OK);
    EXPECT_EQ(service->DocumentFrameNormal(0), E_INVALIDARG) << "the record went with its frame";

    window = nullptr;
    EXPECT_EQ(rogue.references, 0) << "the document's last release lets go of the sink";
}

TEST_F(WindowsMisuseTest, PackageClosesTheEditWindowWhenAskedForItsWindowHandle) {
    const rtl::ComPtr<PackageWindow> package{new PackageWindow};
    rogue.handle = package->handle;
    rtl::WideString id(u"Doc.kdoc");
    auto hostedDocument = [&] {
        ide.Editors().OpenFile(u"Doc.kdoc");
        Integer editor = -7;
        EXPECT_EQ(service->DocumentFrameOnTop(&editor), S_OK);
        EXPECT_EQ(editor, 0);
        rtl::ComPtr<IBdsDocumentWindow> window;
        EXPECT_EQ(service->CreateDocumentWindow(id.Get(), 0, 0, window.Put()), S_OK);
        EXPECT_EQ(window->HostControl(rogue.Unknown()), S_OK);
        return window;
    };

    // The frame brought on top again hides its documents; the package closes the edit window
    // and lets go of its only document from inside.
    IBdsDocumentWindow* raw = hostedDocument().Detach();
    EXPECT_EQ(service->DocumentFrameNormal(0), S_OK);
    rogue.onCallback = [&] {
        ide.Editors().CloseEditWindow();
        raw->Release();
    };
    Integer editor = -7;
    EXPECT_EQ(service->DocumentFrameOnTop(&editor), S_OK);
    EXPECT_EQ(editor, 0);
    EXPECT_EQ(ide.Editors().TabSet(), nullptr);
    EXPECT_EQ(rogue.references, 0);

    // Shown, the document asks for the handle and the package closes the edit window.
    rtl::ComPtr<IBdsDocumentWindow> window = hostedDocument();
    rogue.onCallback = [&] { ide.Editors().CloseEditWindow(); };
    EXPECT_EQ(window->Set_Visible(-1), S_OK);
    EXPECT_EQ(ide.Editors().TabSet(), nullptr);
    EXPECT_EQ(window->Set_Visible(-1), E_FAIL);
    EXPECT_EQ(window->DoResize(), E_FAIL);
    window = nullptr;
    EXPECT_EQ(rogue.references, 0);
}

TEST_F(WindowsMisuseTest, TeardownDetachesEveryDocumentAlsoWithoutAModuleOrFreedMeanwhile) {
    ide.Editors().OpenFile(u"Doc.kdoc");
    Integer editor = -7;
    ASSERT_EQ(service->DocumentFrameOnTop(&editor), S_OK);
    rtl::WideString id(u"Doc.kdoc");
    IBdsDocumentWindow* first = nullptr;
    IBdsDocumentWindow* second = nullptr;
    IBdsDocumentWindow* moduleless = nullptr;
    ASSERT_EQ(service->CreateDocumentWindow(id.Get(), 0, 0, &first), S_OK);
    ASSERT_EQ(service->CreateDocumentWindow(id.Get(), 0, 0, &second), S_OK);
    ASSERT_EQ(service->CreateDocumentWindow(id.Get(), INT_MAX, 0, &moduleless), S_OK);
    EXPECT_EQ(first->RegisterEvents(&rogue), S_OK);
    EXPECT_EQ(moduleless->RegisterEvents(&rogue), S_OK);
    EXPECT_EQ(moduleless->HostControl(rogue.Unknown()), S_OK);
    // Let go of by the first document's sink, the second document is freed during teardown.
    rogue.onRelease = [&] { second->Release(); };
    delete std::exchange(service, nullptr);
    EXPECT_EQ(rogue.references, 0) << "also the document without a module let go of the package";
    EXPECT_EQ(first->Set_Modified(-1), S_OK);
    EXPECT_EQ(moduleless->DoResize(), E_FAIL);
    first->Release();
    moduleless->Release();
}

TEST_F(WindowsMisuseTest, DocumentLetsGoOfItsSinkBeforeItsControl) {
    ide.Editors().OpenFile(u"Doc.kdoc");
    Integer editor = -7;
    ASSERT_EQ(service->DocumentFrameOnTop(&editor), S_OK);
    rtl::WideString id(u"Doc.kdoc");
    rtl::ComPtr<IBdsDocumentWindow> window;
    ASSERT_EQ(service->CreateDocumentWindow(id.Get(), 0, 0, window.Put()), S_OK);
    RoguePackageObject control;
    EXPECT_EQ(window->RegisterEvents(&rogue), S_OK);
    EXPECT_EQ(window->HostControl(control.Unknown()), S_OK);
    std::vector<std::string> released;
    rogue.onRelease = [&] { released.push_back("sink"); };
    control.onRelease = [&] { released.push_back("control"); };
    window = nullptr;
    EXPECT_EQ(released, (std::vector<std::string>{"sink", "control"}));
    EXPECT_EQ(control.references, 0);
}

TEST_F(WindowsMisuseTest, ObjectInspectorWindowAnswersFalseOnceTheIdeHasNone) {
    rtl::ComPtr<IBdsDockableWindow> inspector;
    rtl::WideString name(u"ObjectInspector");
    ASSERT_EQ(service->GetStandardWindow(name.Get(), inspector.Put()), S_OK);
    ASSERT_TRUE(inspector);
    EXPECT_EQ(service->GetStandardWindow(nullptr, inspector.Put()), S_OK);
    EXPECT_FALSE(inspector) << "a null name names no standard window";
    ASSERT_EQ(service->GetStandardWindow(name.Get(), inspector.Put()), S_OK);

    delete ide.ObjectInspectorForm();
    EXPECT_EQ(korvel::GetObjectInspectorWindow(), nullptr);
    WordBool visible = 7;
    EXPECT_EQ(inspector->Get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(inspector->Set_Visible(-1), S_OK);
    EXPECT_EQ(inspector->Close(), S_OK);
    EXPECT_EQ(inspector->SetIcon(INT_MIN), S_OK);
    EXPECT_EQ(inspector->RegisterEvents(&rogue), S_OK);
    inspector = nullptr;
    delete std::exchange(service, nullptr);
    EXPECT_EQ(rogue.references, 0);
}

}  // namespace
