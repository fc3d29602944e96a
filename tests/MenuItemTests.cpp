#include <gtest/gtest.h>

#include <algorithm>

#include "menus/BdsMenuBarService.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/MenuFixture.h"
#include "tests/support/OddSinks.h"

using namespace testing_support;
using rtl::String;
using rtl::WideString;

namespace {

class MenuItemTest : public MenuFixture {
protected:
    rtl::ComPtr<CountingSink> NewSink() { return rtl::ComPtr<CountingSink>(new CountingSink); }
    bool Flag(HRESULT (STDMETHODCALLTYPE IBdsMenuItem::*read)(WordBool*), IBdsMenuItem* item) {
        WordBool value = 7;
        EXPECT_EQ((Answered(item).*read)(&value), S_OK);
        EXPECT_TRUE(value == 0 || value == -1) << value;
        return value != 0;
    }
    String NameAt(rtl::ComPtr<IBdsMenuItem> item) { return item ? NameOf(item.Get()) : u"<nil>"; }
};

template <class Signature>
Signature Slot(IUnknown* object, int index) {
    return reinterpret_cast<Signature>((*reinterpret_cast<void***>(object))[index]);
}

TEST_F(MenuItemTest, VtableSlotsFollowTheContract) {
    using ReadFlag = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, WordBool*);
    using WriteFlag = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, WordBool);
    using ReadText = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR*);
    using WriteText = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR);
    using ReadInteger = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Integer*);
    using WriteInteger = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Integer);
    using Navigate = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, IBdsMenuItem**);
    using Register = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, IBdsToolBarControlEvents*);
    using Child = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Integer, IBdsMenuItem**);
    using Invoke = HRESULT(STDMETHODCALLTYPE*)(IUnknown*);

    auto menu = Add(u"", 2, u"KorvelMenu", u"&Korvel");
    auto a = Add(u"KorvelMenu", 2, u"KA", u"A");
    auto item = Add(u"KorvelMenu", 2, u"KB", u"B");
    auto c = Add(u"KorvelMenu", 2, u"KC", u"C");
    auto child = Add(u"KorvelMenu\\KB", 2, u"KB1", u"B1");
    auto child2 = Add(u"KorvelMenu\\KB", 2, u"KB2", u"B2");
    vcl::TMenuItem* b = ExistingItemAt(u"KorvelMenu\\KB");
    IUnknown* self = item.Get();
    WordBool flag = 0;
    Integer number = 0;
    WideString text;
    AnsweredItem found;

    EXPECT_EQ(Slot<ReadFlag>(self, 3)(self, &flag), S_OK);
    EXPECT_EQ(flag, 0) << "Get_BeginGroup";
    EXPECT_EQ(Slot<WriteFlag>(self, 4)(self, -1), S_OK);
    EXPECT_EQ(ExistingItemAt(u"KorvelMenu\\SeparatorBefore_KB")->MenuIndex(), b->MenuIndex() - 1) << "Set_BeginGroup";
    EXPECT_EQ(Slot<ReadText>(self, 5)(self, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"B") << "Get_Caption";
    EXPECT_EQ(Slot<WriteText>(self, 6)(self, WideString(u"Bee").Get()), S_OK);
    EXPECT_EQ(b->Caption(), u"Bee") << "Set_Caption";

    b->SetChecked(true);
    b->SetEnabled(false);
    EXPECT_EQ(Slot<ReadFlag>(self, 7)(self, &flag), S_OK);
    EXPECT_EQ(flag, -1) << "Get_Checked";
    EXPECT_EQ(Slot<ReadFlag>(self, 10)(self, &flag), S_OK);
    EXPECT_EQ(flag, 0) << "Get_Enabled";
    EXPECT_EQ(Slot<WriteFlag>(self, 8)(self, 0), S_OK);
    EXPECT_FALSE(b->Checked()) << "Set_Checked";
    EXPECT_EQ(Slot<WriteFlag>(self, 11)(self, -1), S_OK);
    EXPECT_TRUE(b->Enabled()) << "Set_Enabled";
    EXPECT_EQ(Slot<WriteFlag>(self, 19)(self, 0), S_OK);
    EXPECT_FALSE(b->Visible()) << "Set_Visible";
    EXPECT_EQ(Slot<ReadFlag>(self, 18)(self, &flag), S_OK);
    EXPECT_EQ(flag, 0) << "Get_Visible";

    EXPECT_EQ(Slot<ReadInteger>(self, 9)(self, &number), S_OK);
    EXPECT_EQ(number, 2) << "Get_ChildCount";
    EXPECT_EQ(Slot<WriteInteger>(self, 17)(self, 0x4042), S_OK);
    EXPECT_EQ(b->ShortCut(), 0x4042) << "Set_Shortcut";
    EXPECT_EQ(Slot<ReadInteger>(self, 16)(self, &number), S_OK);
    EXPECT_EQ(number, 0x4042) << "Get_Shortcut";
    EXPECT_EQ(Slot<ReadText>(self, 12)(self, text.Put()), S_OK);
    EXPECT_EQ(text.Text(), u"KB") << "Get_Name";

    EXPECT_EQ(Slot<Navigate>(self, 13)(self, found.Put()), S_OK);
    EXPECT_EQ(NameAt(found), u"KC") << "Get_NextMenuItem";
    EXPECT_EQ(Slot<Navigate>(self, 14)(self, found.Put()), S_OK);
    EXPECT_EQ(NameAt(found), u"KorvelMenu") << "Get_ParentMenuItem";
    EXPECT_EQ(Slot<Navigate>(self, 15)(self, found.Put()), S_OK);
    EXPECT_EQ(NameAt(found), u"SeparatorBefore_KB") << "Get_PrevMenuItem";
    EXPECT_EQ(Slot<Child>(self, 21)(self, 1, found.Put()), S_OK);
    EXPECT_EQ(NameAt(found), u"KB2") << "ChildMenuItem";

    auto sink = NewSink();
    EXPECT_EQ(Slot<Register>(self, 20)(self, sink.Get()), S_OK);
    EXPECT_EQ(Slot<Invoke>(self, 22)(self), S_OK);
    EXPECT_EQ(sink->executed, 1) << "RegisterEvents, InvokeAction";
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuItemTest, QueryInterfaceAnswersTheItemInterfaceOnly) {
    auto item = Get(u"ViewsMenu\\ViewObjInspItem");
    rtl::ComPtr<IUnknown> asked;
    EXPECT_EQ(item->QueryInterface(IID_IBdsMenuItem, asked.PutVoid()), S_OK);
    EXPECT_EQ(asked.Get(), static_cast<IUnknown*>(item.Get()));
    EXPECT_EQ(item->QueryInterface(IID_IUnknown, asked.PutVoid()), S_OK);
    EXPECT_EQ(item->QueryInterface(IID_IBdsMenuBarService, asked.PutVoid()), E_NOINTERFACE);
    EXPECT_FALSE(asked);
    EXPECT_EQ(item->QueryInterface(IID_IBdsMenuItem, nullptr), E_POINTER);
}

TEST_F(MenuItemTest, FlagsAndShortcutsCrossAsTheContractSays) {
    auto item = Get(u"EditMenu\\EditCopyItem");
    vcl::TMenuItem* copy = ExistingItemAt(u"EditMenu\\EditCopyItem");
    EXPECT_EQ(item->Set_Checked(2), S_OK) << "any non-zero is true";
    EXPECT_TRUE(Flag(&IBdsMenuItem::Get_Checked, item.Get()));

    EXPECT_EQ(item->Set_Shortcut(0xFFFF), S_OK) << "the top of the range";
    EXPECT_EQ(copy->ShortCut(), 0xFFFF);
    EXPECT_EQ(item->Set_Shortcut(vcl::scAlt | vcl::scCtrl | 'C'), S_OK) << "Alt shortcuts lie above 0x7FFF";
    Integer shortCut = 0;
    EXPECT_EQ(item->Get_Shortcut(&shortCut), S_OK);
    EXPECT_EQ(shortCut, 0xC043) << "zero-extended";
    EXPECT_EQ(item->Set_Shortcut(65536), E_INVALIDARG);
    EXPECT_EQ(item->Set_Shortcut(-1), E_INVALIDARG);
    EXPECT_EQ(copy->ShortCut(), 0xC043);

    // The IDE says when a shortcut set later is an IDE command's already, once per change.
    const std::vector<String>& said = ide.Record().lines;
    EXPECT_EQ(item->Set_Shortcut(vcl::scCtrl | vcl::scShift | 'G'), S_OK);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(), u"warning: menu item EditCopyItem takes the shortcut Shift+Ctrl+G, which the IDE's "
                           u"command CodeInsertGuidCommand has already");
    const size_t warnings = said.size();
    EXPECT_EQ(item->Set_Shortcut(vcl::scCtrl | vcl::scShift | 'G'), S_OK);
    EXPECT_EQ(item->Set_Shortcut(vcl::scCtrl | vcl::scAlt | 'J'), S_OK);
    EXPECT_EQ(said.size(), warnings) << "the same shortcut again, and one no command has";

    EXPECT_EQ(item->Set_Caption(nullptr), S_OK);
    EXPECT_EQ(copy->Caption(), u"");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuItemTest, NullOutPointersAreRefused) {
    auto item = Get(u"ToolsMenu");
    EXPECT_EQ(item->Get_BeginGroup(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Caption(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Checked(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_ChildCount(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Enabled(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Name(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_NextMenuItem(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_ParentMenuItem(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_PrevMenuItem(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Shortcut(nullptr), E_POINTER);
    EXPECT_EQ(item->Get_Visible(nullptr), E_POINTER);
    EXPECT_EQ(item->ChildMenuItem(0, nullptr), E_POINTER);
}

TEST_F(MenuItemTest, NameIsCurrentWhileWarningsKeepTheNameItWasMadeWith) {
    IBdsMenuItem* item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item").Detach();
    ExistingItemAt(u"ToolsMenu\\KorvelItem")->SetName(u"KorvelRenamed");
    EXPECT_EQ(NameOf(item), u"KorvelRenamed");
    Remove(u"ToolsMenu\\KorvelRenamed");
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelRenamed"), nullptr);
    BSTR name = nullptr;
    EXPECT_EQ(item->Get_Name(&name), E_FAIL);
    EXPECT_EQ(Dialogs(), (std::vector<String>{u"GetName for KorvelItem"}));
    item->Release();
}

TEST_F(MenuItemTest, EveryCallOnADetachedWrapperAnswersHarmlessly) {
    IBdsMenuItem* item = Add(u"ToolsMenu", 2, u"KorvelGone", u"Gone").Detach();
    ASSERT_TRUE(item);
    Remove(u"ToolsMenu\\KorvelGone");
    ide.Record().Clear();
    auto sink = NewSink();
    WordBool flag = 7;
    Integer number = 7;
    BSTR text = nullptr;
    IBdsMenuItem* navigated = nullptr;
    struct Call {
        HRESULT result;
        const char16_t* warning;
    };
    const std::vector<Call> calls = {
        {item->ChildMenuItem(0, &navigated), u"ChildMenuItem for "},
        {item->Get_Caption(&text), u"GetCaption for "},
        {item->Get_Checked(&flag), u"GetChecked for "},
        {item->Get_ChildCount(&number), u"GetChildCount for "},
        {item->Get_Enabled(&flag), u"GetEnabled for "},
        {item->Get_Name(&text), u"GetName for "},
        {item->Get_ParentMenuItem(&navigated), u"GetParentItem for "},
        {item->Get_Shortcut(&number), u"GetShortcut for "},
        {item->Get_Visible(&flag), u"GetVisible for "},
        {item->Get_NextMenuItem(&navigated), u"NextMenuItem for "},
        {item->RegisterEvents(sink.Get()), u"RegisterEvents for "},
        {item->Set_Caption(WideString(u"x").Get()), u"SetCaption for "},
        {item->Set_Checked(-1), u"SetChecked for "},
        {item->Set_Enabled(-1), u"SetEnabled for "},
        {item->Set_Shortcut(1), u"SetShortcut for "},
        {item->Set_Visible(-1), u"SetVisible for "},
        {item->Get_BeginGroup(&flag), nullptr},
        {item->Set_BeginGroup(-1), nullptr},
        {item->Get_PrevMenuItem(&navigated), nullptr},
    };
    std::vector<String> warnings;
    for (const Call& call : calls) {
        EXPECT_EQ(call.result, E_FAIL);
        if (call.warning) warnings.push_back(String(call.warning) + u"KorvelGone");
    }
    EXPECT_EQ(item->InvokeAction(), S_OK);
    EXPECT_EQ(Dialogs(), warnings);
    for (const auto& dialog : ide.Record().dialogs) {
        EXPECT_EQ(dialog.type, vcl::TMsgDlgType::mtWarning);
        EXPECT_EQ(dialog.buttons, static_cast<unsigned>(vcl::mbOK));
        EXPECT_EQ(dialog.helpContext, 0);
    }
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(navigated, nullptr);
    EXPECT_EQ(sink->RefCount(), 1u) << "a detached wrapper keeps no sink";
    item->Release();
}

TEST_F(MenuItemTest, AnItemTheIdeDestroysLeavesItsWrapperDetached) {
    auto item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item");
    auto sink = NewSink();
    item->RegisterEvents(sink.Get());
    delete ItemAt(u"ToolsMenu\\KorvelItem");
    BSTR caption = nullptr;
    EXPECT_EQ(item->Get_Caption(&caption), E_FAIL);
    EXPECT_EQ(item->InvokeAction(), S_OK);
    EXPECT_EQ(Dialogs(), (std::vector<String>{u"GetCaption for KorvelItem"}));
    // A new item of that name gets a wrapper of its own.
    auto again = Add(u"ToolsMenu", 2, u"KorvelItem", u"Again");
    EXPECT_NE(again.Get(), item.Get());
    EXPECT_EQ(CaptionOf(again.Get()), u"Again");
    item = nullptr;
    EXPECT_EQ(sink->RefCount(), 1u);
    EXPECT_NE(ItemAt(u"ToolsMenu\\KorvelItem"), nullptr) << "the old wrapper had no item left to take";
}

TEST_F(MenuItemTest, ClickingRunsTheRegisteredSinkOnce) {
    auto item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item");
    vcl::TMenuItem* menuItem = ExistingItemAt(u"ToolsMenu\\KorvelItem");
    auto sink = NewSink();
    EXPECT_EQ(item->RegisterEvents(sink.Get()), S_OK);
    menuItem->Click();
    EXPECT_EQ(sink->executed, 1);

    auto replacement = NewSink();
    EXPECT_EQ(item->RegisterEvents(replacement.Get()), S_OK);
    EXPECT_EQ(sink->RefCount(), 1u) << "the previous sink is released";
    menuItem->Click();
    EXPECT_EQ(sink->executed, 1);
    EXPECT_EQ(replacement->executed, 1);

    EXPECT_EQ(item->RegisterEvents(nullptr), S_OK);
    EXPECT_FALSE(menuItem->OnClick);
    EXPECT_EQ(replacement->RefCount(), 1u);
}

TEST_F(MenuItemTest, ASinkThatIsNotOneIsRefused) {
    auto item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item");
    auto sink = NewSink();
    item->RegisterEvents(sink.Get());
    // A package passing some other interface where its sink should be.
    rtl::ComPtr<IBdsMenuItem> other = Get(u"ToolsMenu");
    EXPECT_EQ(item->RegisterEvents(reinterpret_cast<IBdsToolBarControlEvents*>(other.Get())), E_NOINTERFACE);
    ExistingItemAt(u"ToolsMenu\\KorvelItem")->Click();
    EXPECT_EQ(sink->executed, 1) << "the registered sink stays";
}

TEST_F(MenuItemTest, ReleasingAnIdeItemsWrapperUnhooksItsSinkAndLeavesTheItem) {
    auto item = Get(u"ToolsMenu\\ToolsOptionsItem");
    auto sink = NewSink();
    item->RegisterEvents(sink.Get());
    item = nullptr;
    vcl::TMenuItem* options = ItemAt(u"ToolsMenu\\ToolsOptionsItem");
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(options->OnClick);
    EXPECT_EQ(sink->RefCount(), 1u);
}

TEST_F(MenuItemTest, ASinkMayRemoveTheClickedItemFromItsOwnHandler) {
    IBdsMenuItem* item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item").Detach();
    ASSERT_TRUE(item);
    auto sink = NewSink();
    item->RegisterEvents(sink.Get());
    sink->onExecute = [&] {
        Remove(u"ToolsMenu\\KorvelItem");
        item->Release();
    };
    ExistingItemAt(u"ToolsMenu\\KorvelItem")->Click();
    EXPECT_EQ(sink->executed, 1);
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelItem"), nullptr);
    EXPECT_EQ(sink->RefCount(), 1u);
}

TEST_F(MenuItemTest, ASinkMayRebuildOrMoveItsItemFromItsOwnHandler) {
    auto sink = NewSink();
    AnsweredItem current = Add(u"ToolsMenu", 2, u"KorvelItem", u"Old");
    String parent = u"ToolsMenu";
    sink->onExecute = [&] {
        Remove(u"ToolsMenu\\KorvelItem");
        current.Detach();  // given back by the removal
        current = Add(parent, 2, u"KorvelItem", parent);
    };
    for (const String next : {u"ToolsMenu", u"HelpMenu"}) {
        current->RegisterEvents(sink.Get());
        parent = next;
        ExistingItemAt(u"ToolsMenu\\KorvelItem")->Click();
        ASSERT_NE(ItemAt(next + u"\\KorvelItem"), nullptr) << "the name is free again at once";
        EXPECT_EQ(ExistingItemAt(next + u"\\KorvelItem")->Caption(), next);
    }
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelItem"), nullptr);
}

TEST_F(MenuItemTest, SinksAreCheckedAndKeptAsThePackagePassedThem) {
    auto item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item");
    DoubleSink twice;
    EXPECT_EQ(item->RegisterEvents(&twice.second), S_OK);
    twice.throwOnQuery = true;
    EXPECT_EQ(item->RegisterEvents(&twice.first), E_FAIL);
    ExistingItemAt(u"ToolsMenu\\KorvelItem")->Click();
    EXPECT_EQ(twice.second.executed, 1);
    item = nullptr;
    EXPECT_EQ(twice.references, 0u);
}

TEST_F(MenuItemTest, InvokeActionRunsTheIdeCommand) {
    auto inspector = Get(u"ViewsMenu\\ViewObjInspItem");
    EXPECT_EQ(inspector->InvokeAction(), S_OK);
    ASSERT_FALSE(ide.Record().lines.empty());
    EXPECT_EQ(ide.Record().lines.back(), u"menu command: ViewObjInspItem");
    const size_t lines = ide.Record().lines.size();
    inspector->Set_Enabled(0);
    EXPECT_EQ(inspector->InvokeAction(), S_OK);
    EXPECT_EQ(ide.Record().lines.size(), lines) << "a disabled item does nothing";
}

TEST_F(MenuItemTest, BeginGroupIsASeparatorDirectlyBefore) {
    EXPECT_FALSE(Flag(&IBdsMenuItem::Get_BeginGroup, Get(u"FileMenu\\FileNewMenu").Get()));
    EXPECT_TRUE(Flag(&IBdsMenuItem::Get_BeginGroup, Get(u"FileMenu\\FileSaveItem").Get()));
    EXPECT_FALSE(Flag(&IBdsMenuItem::Get_BeginGroup, Get(u"").Get()));
    auto menu = Add(u"", 2, u"KorvelMenu", u"&Korvel");
    auto line = Add(u"KorvelMenu", 2, u"KorvelLine", u"-");
    auto second = Add(u"KorvelMenu", 2, u"KorvelSecond", u"Second");
    ASSERT_TRUE(second);
    EXPECT_TRUE(Flag(&IBdsMenuItem::Get_BeginGroup, second.Get())) << "after a separator that comes first";

    auto item = Add(u"ToolsMenu\\ToolsOptionsItem", 1, u"KorvelItem", u"Item");
    const size_t count = ChildNames(u"ToolsMenu").size();
    EXPECT_EQ(item->Set_BeginGroup(-1), S_OK);
    EXPECT_EQ(item->Set_BeginGroup(-1), S_OK);
    auto names = ChildNames(u"ToolsMenu");
    ASSERT_EQ(names.size(), count + 1);
    const auto at = std::find(names.begin(), names.end(), u"KorvelItem");
    EXPECT_EQ(*(at - 1), u"SeparatorBefore_KorvelItem");
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\SeparatorBefore_KorvelItem")->Caption(), u"-");
    EXPECT_TRUE(Flag(&IBdsMenuItem::Get_BeginGroup, item.Get()));

    // The separator's wrapper, reached by navigation, does not outlive it as a dangling one.
    AnsweredItem separator;
    EXPECT_EQ(item->Get_PrevMenuItem(separator.Put()), S_OK);
    EXPECT_EQ(item->Set_BeginGroup(0), S_OK);
    EXPECT_EQ(ChildNames(u"ToolsMenu").size(), count);
    EXPECT_FALSE(Flag(&IBdsMenuItem::Get_BeginGroup, item.Get()));
    BSTR caption = nullptr;
    EXPECT_EQ(separator->Get_Caption(&caption), E_FAIL);
    EXPECT_EQ(Dialogs(), (std::vector<String>{u"GetCaption for SeparatorBefore_KorvelItem"}));
    EXPECT_EQ(korvel::BdsServices->BdsMenuBarService()->MenuItems().GetMenuItem(u"SeparatorBefore_KorvelItem"),
              nullptr);

    // The separator stays while the item wants it, whoever wraps and lets go of it meanwhile.
    EXPECT_EQ(item->Set_BeginGroup(-1), S_OK);
    ASSERT_TRUE(Get(u"ToolsMenu\\SeparatorBefore_KorvelItem"));  // wrapped and let go of at once
    EXPECT_NE(ItemAt(u"ToolsMenu\\SeparatorBefore_KorvelItem"), nullptr);
    EXPECT_TRUE(Flag(&IBdsMenuItem::Get_BeginGroup, item.Get()));

    // Turning it off removes any separator there, whoever made it.
    auto save = Get(u"FileMenu\\FileSaveItem");
    EXPECT_EQ(save->Set_BeginGroup(0), S_OK);
    EXPECT_EQ(ItemAt(u"FileMenu\\N2"), nullptr);
}

TEST_F(MenuItemTest, BeginGroupReusesASiblingOfTheSeparatorsNameAndFailsOnAForeignOne) {
    auto item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item");
    auto stray = Insert(u"ToolsMenu", 0, u"SeparatorBefore_KorvelItem", u"-");
    const auto names = ChildNames(u"ToolsMenu");
    EXPECT_EQ(item->Set_BeginGroup(-1), S_OK);
    EXPECT_EQ(ChildNames(u"ToolsMenu"), names) << "reused where it is";
    EXPECT_FALSE(Flag(&IBdsMenuItem::Get_BeginGroup, item.Get()));

    // A component of the main menu elsewhere has the name: the library refuses it.
    auto other = Add(u"HelpMenu", 2, u"KorvelOther", u"Other");
    auto foreign = Add(u"FileMenu", 2, u"SeparatorBefore_KorvelOther", u"-");
    const int components = Menu()->ComponentCount();
    const auto help = ChildNames(u"HelpMenu");
    EXPECT_EQ(other->Set_BeginGroup(-1), E_FAIL);
    EXPECT_EQ(ChildNames(u"HelpMenu"), help);
    EXPECT_EQ(Menu()->ComponentCount(), components);
}

TEST_F(MenuItemTest, NavigationStopsAtTheEnds) {
    auto first = Get(u"FileMenu");
    AnsweredItem found;
    EXPECT_EQ(first->Get_PrevMenuItem(found.Put()), S_OK);
    EXPECT_FALSE(found);
    EXPECT_EQ(Get(u"HelpMenu")->Get_NextMenuItem(found.Put()), S_OK);
    EXPECT_FALSE(found);
    EXPECT_EQ(first->ChildMenuItem(-1, found.Put()), S_OK);
    EXPECT_FALSE(found);
    EXPECT_EQ(first->ChildMenuItem(1000, found.Put()), S_OK);
    EXPECT_FALSE(found);

    AnsweredItem root;
    EXPECT_EQ(first->Get_ParentMenuItem(root.Put()), S_OK);
    ASSERT_TRUE(root);
    Integer count = 0;
    root->Get_ChildCount(&count);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(root->Get_ParentMenuItem(found.Put()), S_OK);
    EXPECT_FALSE(found);
    EXPECT_EQ(first->Get_NextMenuItem(found.Put()), S_OK);
    EXPECT_EQ(NameAt(found), u"EditMenu");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuItemTest, WrappersReachedByNavigationStayWithTheirSinks) {
    auto sink = NewSink();
    {
        AnsweredItem search;
        Get(u"EditMenu")->Get_NextMenuItem(search.Put());
        AnsweredItem find;
        search->ChildMenuItem(0, find.Put());
        find->RegisterEvents(sink.Get());
    }
    ExistingItemAt(u"SearchMenu\\SearchFindItem")->Click();
    EXPECT_EQ(sink->executed, 1);
    Get(u"SearchMenu\\SearchFindItem")->RegisterEvents(nullptr);
    EXPECT_EQ(sink->RefCount(), 1u);
}

}  // namespace
