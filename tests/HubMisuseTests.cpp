// The hub as a hostile package uses it: extreme indexes and null pointers, callbacks that cannot
// be held or lie about their interfaces, and one package object handed to every service that
// is never let go of by the package's own wrappers. Shut-down leaves the system holding none
// of it, and the wrappers the package kept stay harmless afterwards.
#include <gtest/gtest.h>

#include <climits>

#include "platform/rtl/Bstr.h"
#include "tests/support/HubFixture.h"
#include "tests/support/RoguePackageObject.h"

using testing_support::ExpectRefusedWhileMisbehaving;
using testing_support::RoguePackageObject;

namespace {

class HubMisuseTest : public testing_support::HubFixture {
protected:
    // Outlives the loader, which must have let go of it by the end.
    RoguePackageObject rogue;
};

TEST_F(HubMisuseTest, ShutDownLetsGoOfEveryPackageObjectTheServicesHeld) {
    EnterWithOnePackage();
    IBdsServices* hub = Hub();
    PackageInfo info{};
    for (Integer index : {-1, INT_MIN, INT_MAX}) EXPECT_EQ(hub->GetPackageInfo(index, &info), E_INVALIDARG);
    EXPECT_EQ(hub->GetPackageInfo(0, nullptr), E_POINTER);
    EXPECT_EQ(hub->GetService(nullptr, nullptr), E_POINTER);
    IUnknown* none = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(hub->GetService(nullptr, &none), E_POINTER);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(hub->AddMessageHandler(nullptr), E_POINTER);
    ExpectRefusedWhileMisbehaving(rogue, [&] { return hub->AddMessageHandler(&rogue); });

    // One object, every role; the package keeps every wrapper past shut-down.
    ASSERT_EQ(hub->AddMessageHandler(&rogue), S_OK);
    rtl::ComPtr<IBdsWindowsService> windows;
    ASSERT_EQ(hub->Get_BdsWindowsService(windows.Put()), S_OK);
    rtl::ComPtr<IBdsDockableWindow> dockable;
    rtl::WideString toolName(u"RogueTool");
    ASSERT_EQ(windows->CreateDockableWindow(toolName.Get(), dockable.Put()), S_OK);
    EXPECT_EQ(dockable->RegisterEvents(&rogue), S_OK);
    EXPECT_EQ(dockable->HostControl(rogue.Unknown()), S_OK);
    rtl::ComPtr<IBdsMenuBarService> menus;
    ASSERT_EQ(hub->Get_BdsMenuBarService(menus.Put()), S_OK);
    rtl::ComPtr<IBdsMenuItem> item;
    rtl::WideString tools(u"ToolsMenu");
    rtl::WideString name(u"RogueItem");
    ASSERT_EQ(menus->AddMenuItem(tools.Get(), 2, name.Get(), name.Get(), 0, item.Put()), S_OK);
    EXPECT_EQ(item->RegisterEvents(&rogue), S_OK);
    rtl::ComPtr<IBdsMenuItem> toolsItem;
    ASSERT_EQ(menus->GetMenuItem(tools.Get(), toolsItem.Put()), S_OK);
    EXPECT_EQ(toolsItem->RegisterEvents(&rogue), S_OK) << "an IDE item reached by path";
    rtl::ComPtr<IBdsToolBarService> toolBars;
    ASSERT_EQ(hub->Get_BdsToolBarService(toolBars.Put()), S_OK);
    rtl::ComPtr<IBdsToolBar> toolBar;
    ASSERT_EQ(toolBars->AddToolBar(toolName.Get(), toolName.Get(), toolBar.Put()), S_OK);
    rtl::ComPtr<IBdsToolBarControl> button;
    ASSERT_EQ(toolBar->AddControl(1, button.Put()), S_OK);
    EXPECT_EQ(button->RegisterEvents(&rogue), S_OK);
    EXPECT_EQ(rogue.references, 6);

    rogue.throwOnRelease = true;
    ShutDown();
    EXPECT_EQ(rogue.references, 0) << "no package object outlives the run";

    // Calls on what the package kept answer harmlessly and reach no sink.
    const int calls = rogue.calls;
    EXPECT_EQ(item->InvokeAction(), S_OK);
    EXPECT_EQ(toolsItem->InvokeAction(), S_OK);
    EXPECT_EQ(rogue.calls, calls);
    dockable = nullptr;
    item = nullptr;
    toolsItem = nullptr;
    button = nullptr;
    toolBar = nullptr;
    EXPECT_EQ(rogue.references, 0);
}

}  // namespace
