// The menu bar service as a hostile package drives it: null and huge names, extreme indexes
// and numbers, sinks that cannot be held or lie about their interfaces, and a sink that
// removes its own item from inside the click. Every call answers, the menu stays whole, and
// the system holds no reference once the item is gone.
#include <gtest/gtest.h>

#include <climits>

#include "menus/BdsMenuBarService.h"
#include "platform/rtl/Bstr.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/RoguePackageObject.h"

using rtl::String;
using testing_support::AnsweredItem;
using testing_support::ExpectRefusedWhileMisbehaving;
using testing_support::RoguePackageObject;

namespace {

class MenuMisuseTest : public testing_support::MenuFixture {
protected:
    // Outlives the loader, which must have let go of it by the end.
    RoguePackageObject rogue;
};

TEST_F(MenuMisuseTest, NamesIndexesAndNumbersOutOfRangeAnswerWithoutHarm) {
    EXPECT_EQ(service->GetMenuItem(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(service->GetFirstMenuItem(nullptr), E_POINTER);
    rtl::WideString huge(String(1 << 20, u'\\') + String(1 << 16, u'x'));
    AnsweredItem item;
    EXPECT_EQ(service->GetMenuItem(huge.Get(), item.Put()), S_OK);
    EXPECT_FALSE(item);
    EXPECT_EQ(service->RemoveMenuItem(huge.Get()), S_OK);

    rtl::WideString tools(u"ToolsMenu");
    rtl::WideString name(u"KorvelItem");
    rtl::WideString text(u"Korvel");
    for (Integer index : {-1, INT_MIN}) {
        EXPECT_EQ(service->InsertMenuItem(tools.Get(), index, name.Get(), text.Get(), 0, item.Put()), S_OK);
        EXPECT_FALSE(item);
    }
    EXPECT_EQ(service->AddMenuItem(nullptr, korvel::otamlBefore, name.Get(), text.Get(), 0, item.Put()), E_FAIL)
        << "the root item has no siblings";
    EXPECT_FALSE(item);
    const int toolsCount = ExistingItemAt(u"ToolsMenu")->Count();
    EXPECT_EQ(service->InsertMenuItem(tools.Get(), INT_MAX, name.Get(), text.Get(), INT_MIN, item.Put()), S_OK);
    ASSERT_TRUE(item);
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu")->Items(toolsCount), ItemAt(u"ToolsMenu\\KorvelItem")) << "appended last";
    EXPECT_FALSE(Dialogs().empty()) << "the made-up bitmap is reported, and the item made all the same";

    auto child = Get(u"ToolsMenu");
    for (Integer index : {-1, INT_MIN, INT_MAX, toolsCount + 1}) {
        AnsweredItem none;
        EXPECT_EQ(child->ChildMenuItem(index, none.Put()), S_OK);
        EXPECT_FALSE(none);
    }
    for (Integer shortcut : {-1, INT_MIN, INT_MAX, 0x10000}) EXPECT_EQ(item->Set_Shortcut(shortcut), E_INVALIDARG);
    Integer shortcut = -7;
    EXPECT_EQ(item->Get_Shortcut(&shortcut), S_OK);
    EXPECT_EQ(shortcut, 0);
    EXPECT_EQ(item->Set_Caption(nullptr), S_OK);
    EXPECT_EQ(CaptionOf(item.Get()), u"");
    EXPECT_EQ(item->Get_NextMenuItem(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Caption(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_ChildCount(nullptr), E_POINTER);
    AnsweredItem next;
    EXPECT_EQ(item->Get_NextMenuItem(next.Put()), S_OK);
    EXPECT_FALSE(next) << "the last item has no next";
    EXPECT_EQ(item->ChildMenuItem(0, nullptr), E_POINTER);
    item = nullptr;
    child = nullptr;
    ShutDown();
}

TEST_F(MenuMisuseTest, SinkThatRemovesItsOwnItemFromTheClickIsLetGoOfAndTheWrapperGoesHarmless) {
    rtl::ComPtr<IBdsMenuItem> item = Add(u"ToolsMenu", korvel::otamlChild, u"KorvelItem", u"Korvel");
    ASSERT_TRUE(item);

    ExpectRefusedWhileMisbehaving(rogue, [&] { return item->RegisterEvents(&rogue); });

    // The click removes the item, lets go of the package's only wrapper, tries to register
    // again on it, and throws; its sink also throws from its last release.
    ASSERT_EQ(item->RegisterEvents(&rogue), S_OK);
    rogue.throwInCallbacks = true;
    rogue.throwOnRelease = true;
    IBdsMenuItem* raw = item.Detach();
    raw->AddRef();  // kept to call the wrapper after the package let go
    rogue.onCallback = [&] {
        rtl::WideString path(u"ToolsMenu\\KorvelItem");
        EXPECT_EQ(service->RemoveMenuItem(path.Get()), S_OK);
        EXPECT_EQ(raw->RegisterEvents(&rogue), E_FAIL);
    };
    EXPECT_EQ(raw->InvokeAction(), S_OK);
    EXPECT_EQ(rogue.calls, 1);
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelItem"), nullptr);
    EXPECT_EQ(rogue.references, 0) << "the removed item's sink is let go of at once";
    EXPECT_EQ(raw->InvokeAction(), S_OK);
    EXPECT_EQ(rogue.calls, 1) << "a removed item's sink is never called again";
    WordBool flag = 7;
    EXPECT_EQ(raw->Get_Visible(&flag), E_FAIL);
    EXPECT_EQ(flag, 0);
    raw->Release();

    // A fresh item of the same name is a new wrapper, not the removed one.
    rtl::ComPtr<IBdsMenuItem> again = Add(u"ToolsMenu", korvel::otamlChild, u"KorvelItem", u"Korvel");
    ASSERT_TRUE(again);
    EXPECT_NE(again.Get(), raw);
    EXPECT_EQ(NameOf(again.Get()), u"KorvelItem");
    again = nullptr;
    ShutDown();
    EXPECT_EQ(rogue.references, 0);
}

}  // namespace
