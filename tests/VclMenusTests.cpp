#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/vcl/Menus.h"
#include "sim/SimulatedIde.h"

namespace {

using rtl::String;
using vcl::TMenuItem;

TMenuItem* NewItem(vcl::TComponent* owner, const String& name) {
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    return item;
}

class FreeWatcher : public vcl::TComponent {
public:
    FreeWatcher() : TComponent(nullptr) {}
    std::vector<vcl::TComponent*> told;

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override {
        if (operation == vcl::TOperation::opRemove) told.push_back(component);
    }
};

TEST(VclMenusTest, ItemsMoveWithinTheirParent) {
    vcl::TMainMenu menu(nullptr);
    TMenuItem* root = menu.Items();
    TMenuItem* a = NewItem(&menu, u"A");
    TMenuItem* b = NewItem(&menu, u"B");
    TMenuItem* c = NewItem(&menu, u"C");
    root->Add(a);
    root->Add(b);
    root->Insert(0, c);
    EXPECT_EQ(a->MenuIndex(), 1);
    EXPECT_EQ(root->MenuIndex(), -1);
    EXPECT_THROW(root->Add(a), vcl::EMenuError);

    EXPECT_THROW(root->Insert(4, NewItem(&menu, u"Loose")), rtl::EListError);

    b->SetMenuIndex(-3);
    EXPECT_EQ(root->Items(0), b);
    b->SetMenuIndex(100);
    EXPECT_EQ(root->Items(2), b);
    root->Remove(a);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_THROW(root->Remove(a), vcl::EMenuError);
}

TEST(VclMenusTest, DestroyingAnItemTakesItsChildrenAndTellsWhoeverAsked) {
    vcl::TMainMenu menu(nullptr);
    TMenuItem* parent = NewItem(&menu, u"Parent");
    TMenuItem* child = NewItem(&menu, u"Child");
    TMenuItem* grandChild = NewItem(&menu, u"GrandChild");
    menu.Items()->Add(NewItem(&menu, u"Sibling"));
    menu.Items()->Add(parent);
    parent->Add(child);
    parent->Add(NewItem(&menu, u"Child2"));
    child->Add(grandChild);
    vcl::ComponentPtr<TMenuItem> watchedGrandChild(grandChild);
    FreeWatcher watcher;
    parent->FreeNotification(&watcher);
    const int components = menu.ComponentCount();

    delete parent;
    EXPECT_FALSE(watchedGrandChild);
    EXPECT_EQ(menu.ComponentCount(), components - 4);
    EXPECT_EQ(menu.Items()->Count(), 1);
    EXPECT_EQ(watcher.told, (std::vector<vcl::TComponent*>{parent}));
    EXPECT_EQ(menu.FindComponent(u"Child"), nullptr);
}

TEST(VclMenusTest, ChildrenAreFoundByNameIgnoringAsciiCaseAndFollowRenames) {
    vcl::TMainMenu menu(nullptr);
    TMenuItem* root = menu.Items();
    TMenuItem* alpha = NewItem(&menu, u"Alpha");
    TMenuItem* unnamed = NewItem(&menu, u"");
    TMenuItem* gamma = NewItem(&menu, u"Gamma");
    for (TMenuItem* item : {alpha, unnamed, gamma, NewItem(&menu, u"")}) root->Add(item);
    EXPECT_EQ(root->FindChildByName(u"ALPHA"), alpha);
    EXPECT_EQ(root->FindChildByName(u""), unnamed);
    EXPECT_EQ(root->FindChildByName(u"Alph"), nullptr);

    int told = 0;
    alpha->AddNameChangeListener([&](TMenuItem* renamed) {
        EXPECT_EQ(renamed, alpha);
        ++told;
    });
    alpha->SetName(u"Delta");
    EXPECT_EQ(told, 1);
    EXPECT_EQ(root->FindChildByName(u"Alpha"), nullptr);
    EXPECT_EQ(root->FindChildByName(u"delta"), alpha);
    EXPECT_EQ(menu.FindComponent(u"DELTA"), alpha);
    EXPECT_EQ(menu.FindComponent(u"Alpha"), nullptr);

    // Refused: the owner has a Gamma already.
    EXPECT_THROW(alpha->SetName(u"gamma"), rtl::EComponentError);
    EXPECT_THROW(alpha->SetName(u"not valid"), rtl::EComponentError);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(root->FindChildByName(u"Delta"), alpha);

    // Names are unique per owner only: the first child of the name wins.
    auto twin = std::make_unique<TMenuItem>(nullptr);
    twin->SetName(u"GAMMA");
    root->Insert(0, twin.get());
    EXPECT_EQ(root->FindChildByName(u"gamma"), twin.get());
    root->Remove(twin.get());
    EXPECT_EQ(root->FindChildByName(u"gamma"), gamma);
}

TEST(VclMenusTest, ClickRunsOnClickOrElseTheActionAndNothingWhileDisabled) {
    vcl::TMainMenu menu(nullptr);
    TMenuItem* item = NewItem(&menu, u"Item");
    int clicks = 0;
    int executed = 0;
    {
        vcl::TAction action(nullptr);
        action.OnExecute = [&](vcl::TObject*) { ++executed; };
        item->SetAction(&action);
        item->Click();
        EXPECT_EQ(executed, 1);
        item->OnClick = [&](vcl::TObject* sender) {
            EXPECT_EQ(sender, item);
            ++clicks;
        };
        item->Click();
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(executed, 1);
        item->SetEnabled(false);
        item->Click();
        EXPECT_EQ(clicks, 1);
    }
    EXPECT_EQ(item->Action(), nullptr) << "the action is gone";
    item->SetEnabled(true);
    item->OnClick = nullptr;
    item->Click();

    // A handler may destroy the item it runs for.
    item->OnClick = [item, &clicks](vcl::TObject*) {
        delete item;
        ++clicks;
    };
    item->Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(menu.FindComponent(u"Item"), nullptr);
}

void Walk(TMenuItem* parent, int depth, int& items, int& unnamedSeparators, int& deepest, vcl::TMainMenu* menu) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        ++items;
        if (item->IsLine() && item->Name().empty()) ++unnamedSeparators;
        EXPECT_EQ(item->Owner(), menu);
        deepest = std::max(deepest, depth);
        Walk(item, depth + 1, items, unnamedSeparators, deepest, menu);
    }
}

TEST(MainMenuLayoutTest, TheSimulatedIdesMenuLooksLikeAnIdes) {
    sim::SimulatedIde ide;
    vcl::TMainMenu* menu = ide.Services().GetMainMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(menu->Images(), nullptr);
    std::vector<String> top;
    for (int i = 0; i < menu->Items()->Count(); ++i) top.push_back(menu->Items()->Items(i)->Name());
    EXPECT_EQ(top, (std::vector<String>{u"FileMenu", u"EditMenu", u"SearchMenu", u"ViewsMenu", u"ProjectMenu",
                                        u"RunMenu", u"ComponentMenu", u"ToolsMenu", u"WindowMenu", u"HelpMenu"}));
    TMenuItem* inspector = menu->Items()->FindChildByName(u"ViewsMenu")->FindChildByName(u"ViewObjInspItem");
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->ShortCut(), VK_F1 + 10);

    int items = 0, unnamedSeparators = 0, deepest = 0;
    Walk(menu->Items(), 1, items, unnamedSeparators, deepest, menu);
    EXPECT_GE(items, 250);
    EXPECT_GE(unnamedSeparators, 3);
    EXPECT_GE(deepest, 3);

    inspector->Click();
    EXPECT_EQ(ide.Record().lines.back(), u"menu command: ViewObjInspItem");
}

}  // namespace
