#include <gtest/gtest.h>

#include <algorithm>

#include "menus/BdsMenuBarService.h"
#include "services/KorvelBdsServices.h"
#include "tests/support/MenuFixture.h"

using namespace testing_support;
using korvel::TBdsMenuBarService;
using rtl::String;
using rtl::WideString;

namespace {

class MenuBarServiceTest : public MenuFixture {};

// The method in slot `index` of a COM object's table, called as a foreign caller would.
template <class Signature>
Signature Slot(IUnknown* object, int index) {
    return reinterpret_cast<Signature>((*reinterpret_cast<void***>(object))[index]);
}

TEST_F(MenuBarServiceTest, HubHandsOutTheServiceWhichAnswersItsInterface) {
    ASSERT_TRUE(service);
    rtl::ComPtr<IBdsMenuBarService> again;
    EXPECT_EQ(Hub()->Get_BdsMenuBarService(again.Put()), S_OK);
    EXPECT_EQ(again.Get(), service.Get());
    rtl::ComPtr<IUnknown> asked;
    EXPECT_EQ(service->QueryInterface(IID_IBdsMenuBarService, asked.PutVoid()), S_OK);
    EXPECT_EQ(asked.Get(), static_cast<IUnknown*>(service.Get()));
    EXPECT_EQ(service->QueryInterface(IID_IBdsMenuItem, asked.PutVoid()), E_NOINTERFACE);
    EXPECT_EQ(Hub()->Get_BdsMenuBarService(nullptr), E_POINTER);
}

TEST_F(MenuBarServiceTest, VtableSlotsFollowTheContract) {
    using Remove = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR);
    using Get = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR, IBdsMenuItem**);
    using AddOrInsert = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, BSTR, Integer, BSTR, BSTR, Integer, IBdsMenuItem**);
    using First = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, IBdsMenuItem**);
    IUnknown* self = service.Get();

    AnsweredItem first;
    EXPECT_EQ(Slot<First>(self, 7)(self, first.Put()), S_OK);
    EXPECT_EQ(NameOf(first.Get()), u"FileMenu");

    AnsweredItem found;
    EXPECT_EQ(Slot<Get>(self, 4)(self, WideString(u"ViewsMenu\\ViewObjInspItem").Get(), found.Put()), S_OK);
    EXPECT_EQ(NameOf(found.Get()), u"ViewObjInspItem");

    AnsweredItem added;
    EXPECT_EQ(Slot<AddOrInsert>(self, 5)(self, WideString(u"ToolsMenu").Get(), 2, WideString(u"KorvelAdded").Get(),
                                         WideString(u"Added").Get(), 0, added.Put()),
              S_OK);
    EXPECT_EQ(ChildNames(u"ToolsMenu").back(), u"KorvelAdded");

    AnsweredItem inserted;
    EXPECT_EQ(Slot<AddOrInsert>(self, 6)(self, WideString(u"ToolsMenu").Get(), 0, WideString(u"KorvelInserted").Get(),
                                         WideString(u"Inserted").Get(), 0, inserted.Put()),
              S_OK);
    EXPECT_EQ(ChildNames(u"ToolsMenu").front(), u"KorvelInserted");

    EXPECT_EQ(Slot<Remove>(self, 3)(self, WideString(u"ToolsMenu\\KorvelAdded").Get()), S_OK);
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelAdded"), nullptr);
}

TEST(SplitFullNameTest, SplitsAtEveryBackslashAndNeverReturnsNothing) {
    using Names = std::vector<String>;
    EXPECT_EQ(TBdsMenuBarService::SplitFullName(u""), (Names{u""}));
    EXPECT_EQ(TBdsMenuBarService::SplitFullName(u"A\\B"), (Names{u"A", u"B"}));
    EXPECT_EQ(TBdsMenuBarService::SplitFullName(u"\\A"), (Names{u"", u"A"}));
    EXPECT_EQ(TBdsMenuBarService::SplitFullName(u"A\\"), (Names{u"A", u""}));
    EXPECT_EQ(TBdsMenuBarService::SplitFullName(u"A\\\\B"), (Names{u"A", u"", u"B"}));
}

TEST_F(MenuBarServiceTest, PathsNameComponentsIgnoringAsciiCase) {
    auto root = Get(u"");
    ASSERT_TRUE(root);
    Integer count = 0;
    EXPECT_EQ(root->Get_ChildCount(&count), S_OK);
    EXPECT_EQ(count, 10);

    auto item = Get(u"ViewsMenu\\ViewObjInspItem");
    ASSERT_TRUE(item);
    EXPECT_EQ(CaptionOf(item.Get()), u"Object &Inspector");
    EXPECT_EQ(Get(u"\\ViewsMenu\\ViewObjInspItem").Get(), item.Get());
    EXPECT_EQ(Get(u"viewsmenu\\VIEWOBJINSPITEM").Get(), item.Get());

    // Captions are no names, and only a leading backslash is skipped: a doubled or trailing
    // one asks for an unnamed item.
    EXPECT_FALSE(Get(u"&View"));
    EXPECT_FALSE(Get(u"ViewsMenu\\\\ViewObjInspItem"));
    EXPECT_FALSE(Get(u"ViewsMenu\\ViewObjInspItem\\"));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuBarServiceTest, AnEmptyNameNeverJoinsTwoItems) {
    auto file = Get(u"FileMenu");  // walking it first wraps its unnamed separator
    AnsweredItem child;
    for (Integer i = 0; i < ExistingItemAt(u"FileMenu")->Count(); ++i)
        ASSERT_EQ(file->ChildMenuItem(i, child.Put()), S_OK);
    EXPECT_EQ(CaptionOf(Get(u"FileMenu\\").Get()), u"-");
    AnsweredItem rootParent;
    EXPECT_EQ(Get(u"")->Get_ParentMenuItem(rootParent.Put()), S_OK);
    EXPECT_FALSE(rootParent) << "the root's own wrapper, not the separator's";
}

TEST_F(MenuBarServiceTest, WrappersAreFoundByTheCurrentNameOfTheirItem) {
    auto options = Get(u"ToolsMenu\\ToolsOptionsItem");
    ExistingItemAt(u"ToolsMenu\\ToolsOptionsItem")->SetName(u"ToolsPreferencesItem");
    EXPECT_EQ(Get(u"ToolsMenu\\ToolsPreferencesItem").Get(), options.Get());
    EXPECT_EQ(NameOf(options.Get()), u"ToolsPreferencesItem");

    // Another item now carrying the old name gets a wrapper of its own.
    ExistingItemAt(u"ToolsMenu\\ToolsDebuggerOptionsItem")->SetName(u"ToolsOptionsItem");
    auto debugger = Get(u"ToolsMenu\\ToolsOptionsItem");
    EXPECT_NE(debugger.Get(), options.Get());
    EXPECT_EQ(CaptionOf(debugger.Get()), u"Debu&gger Options...");
}

TEST_F(MenuBarServiceTest, SameNamedItemsOfDifferentOwnersKeepTheirOwnWrappers) {
    // The library checks names per owner only, so the IDE can have two items of one name.
    auto renamed = std::make_unique<vcl::TMenuItem>(nullptr);
    auto twin = std::make_unique<vcl::TMenuItem>(nullptr);
    renamed->SetName(u"Single");
    twin->SetName(u"Twin");
    ExistingItemAt(u"HelpMenu")->Add(renamed.get());
    ExistingItemAt(u"ToolsMenu")->Add(twin.get());
    auto earlier = Get(u"HelpMenu\\Single");
    auto later = Get(u"ToolsMenu\\Twin");
    ASSERT_NE(earlier.Get(), later.Get());

    renamed->SetName(u"TWIN");
    EXPECT_EQ(Get(u"ToolsMenu\\Twin").Get(), later.Get());
    EXPECT_EQ(Get(u"HelpMenu\\Twin").Get(), earlier.Get());
    renamed.reset();
    EXPECT_EQ(Get(u"ToolsMenu\\Twin").Get(), later.Get());
}

TEST_F(MenuBarServiceTest, AddMenuItemGoesBeforeAfterOrUnderTheReference) {
    const auto tools = ChildNames(u"ToolsMenu");
    auto before = Add(u"ToolsMenu\\ToolsRepositoryItem", 0, u"KBefore", u"Before");
    auto after = Add(u"ToolsMenu\\ToolsRepositoryItem", 1, u"KAfter", u"After");
    auto child = Add(u"ToolsMenu\\ToolsRepositoryItem", 2, u"KChild", u"Child");
    auto anyOther = Add(u"ToolsMenu\\ToolsRepositoryItem", -7, u"KChild2", u"Child 2");
    auto last = Add(u"HelpMenu\\HelpAboutItem", 1, u"KLast", u"Last");
    auto top = Add(u"", 2, u"KorvelMenu", u"&Korvel");
    ASSERT_TRUE(before && after && child && anyOther && last && top);

    const auto names = ChildNames(u"ToolsMenu");
    const auto at = std::find(names.begin(), names.end(), u"ToolsRepositoryItem");
    ASSERT_NE(at, names.begin());
    EXPECT_EQ(*(at - 1), u"KBefore");
    EXPECT_EQ(*(at + 1), u"KAfter");
    EXPECT_EQ(ChildNames(u"ToolsMenu\\ToolsRepositoryItem"), (std::vector<String>{u"KChild", u"KChild2"}));
    EXPECT_EQ(ChildNames(u"HelpMenu").back(), u"KLast");
    EXPECT_EQ(ChildNames(u"").back(), u"KorvelMenu");
    EXPECT_EQ(ExistingItemAt(u"KorvelMenu")->Caption(), u"&Korvel");
    EXPECT_EQ(ExistingItemAt(u"KorvelMenu")->Owner(), Menu());

    // The package's items go with its last references.
    before = after = child = anyOther = last = top = nullptr;
    EXPECT_EQ(ChildNames(u"ToolsMenu"), tools);
    EXPECT_EQ(ItemAt(u"KorvelMenu"), nullptr);
}

TEST_F(MenuBarServiceTest, RequestsThatNameNoPlaceCreateNothingAndShowNothing) {
    const int components = Menu()->ComponentCount();
    AnsweredItem made;
    const auto add = [&](const String& reference, Integer location) {
        return service->AddMenuItem(WideString(reference).Get(), location, WideString(u"KorvelNew").Get(),
                                    WideString(u"New").Get(), 0, made.Put());
    };
    EXPECT_EQ(add(u"ToolsMenu\\NoSuchItem", 2), E_FAIL);
    EXPECT_FALSE(made);
    // The root has no siblings to stand among.
    EXPECT_EQ(add(u"", 0), E_FAIL);
    EXPECT_EQ(add(u"", 1), E_FAIL);
    EXPECT_FALSE(made);

    const auto insert = [&](const String& parent, Integer index) {
        return service->InsertMenuItem(WideString(parent).Get(), index, WideString(u"KorvelNew").Get(),
                                       WideString(u"New").Get(), 0, made.Put());
    };
    EXPECT_EQ(insert(u"NoSuchMenu", 0), S_OK);
    EXPECT_EQ(insert(u"ToolsMenu", -1), S_OK);
    EXPECT_FALSE(made);
    EXPECT_FALSE(Get(u"NoSuchMenu"));
    Remove(u"NoSuchMenu");

    EXPECT_EQ(Menu()->ComponentCount(), components);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuBarServiceTest, NullOutPointersAreRefused) {
    const WideString path(u"ToolsMenu");
    EXPECT_EQ(service->GetMenuItem(path.Get(), nullptr), E_POINTER);
    EXPECT_EQ(service->AddMenuItem(path.Get(), 2, path.Get(), path.Get(), 0, nullptr), E_POINTER);
    EXPECT_EQ(service->InsertMenuItem(path.Get(), 0, path.Get(), path.Get(), 0, nullptr), E_POINTER);
    EXPECT_EQ(service->GetFirstMenuItem(nullptr), E_POINTER);
    EXPECT_EQ(ChildNames(u"ToolsMenu").front(), u"ToolsOptionsItem");
}

TEST_F(MenuBarServiceTest, WithoutAMainMenuOrWithAnEmptyOneNothingIsMade) {
    vcl::TMainMenu* original = Menu();
    vcl::TMainMenu empty(nullptr);
    for (vcl::TMainMenu* menu : {static_cast<vcl::TMainMenu*>(nullptr), &empty}) {
        ide.Services().SetMainMenu(menu);
        rtl::ComPtr<IBdsMenuBarService> other(new TBdsMenuBarService);
        AnsweredItem made;
        const WideString name(u"KorvelMenu");
        EXPECT_EQ(other->AddMenuItem(WideString(u"").Get(), 2, name.Get(), name.Get(), 0, made.Put()), E_FAIL);
        EXPECT_EQ(other->InsertMenuItem(WideString(u"").Get(), 0, name.Get(), name.Get(), 0, made.Put()), S_OK);
        EXPECT_EQ(other->GetFirstMenuItem(made.Put()), S_OK);
        EXPECT_FALSE(made);
        EXPECT_EQ(other->RemoveMenuItem(name.Get()), S_OK);
        EXPECT_EQ(other->GetMenuItem(WideString(u"").Get(), made.Put()), S_OK);
        EXPECT_EQ(static_cast<bool>(made), menu != nullptr) << "the root of an empty menu is still there";
    }
    EXPECT_EQ(empty.Items()->Count(), 0);
    ide.Services().SetMainMenu(original);
}

TEST_F(MenuBarServiceTest, AnExistingNameAmongTheSiblingsIsReturnedNotMadeAgain) {
    auto first = Add(u"ToolsMenu", 2, u"KorvelItem", u"First");
    auto second = Add(u"ToolsMenu\\ToolsOptionsItem", 1, u"korvelitem", u"Second", MakeIconHandle());
    EXPECT_EQ(first.Get(), second.Get());
    const auto names = ChildNames(u"ToolsMenu");
    EXPECT_EQ(std::count(names.begin(), names.end(), u"KorvelItem"), 1);
    EXPECT_EQ(names.back(), u"KorvelItem") << "left where it was";
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\KorvelItem")->Caption(), u"First");
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\KorvelItem")->ImageIndex(), -1);
}

TEST_F(MenuBarServiceTest, NamesTheLibraryRefusesFailAndLeaveNoHalfMadeItem) {
    auto taken = Add(u"ToolsMenu", 2, u"KorvelItem", u"Tools");
    const int components = Menu()->ComponentCount();
    const auto help = ChildNames(u"HelpMenu");
    for (const String name : {u"KorvelItem", u"FileOpenItem", u"Not valid", u"1Korvel"}) {
        AnsweredItem made;
        EXPECT_EQ(service->AddMenuItem(WideString(u"HelpMenu").Get(), 2, WideString(name).Get(),
                                       WideString(u"Help").Get(), 0, made.Put()),
                  E_FAIL)
            << rtl::ToUtf8(name);
        EXPECT_EQ(service->InsertMenuItem(WideString(u"HelpMenu").Get(), 1, WideString(name).Get(),
                                          WideString(u"Help").Get(), 0, made.Put()),
                  E_FAIL);
        EXPECT_FALSE(made);
    }
    EXPECT_EQ(Menu()->ComponentCount(), components);
    EXPECT_EQ(ChildNames(u"HelpMenu"), help);
}

TEST_F(MenuBarServiceTest, InsertingUnderTheNameOfAnIdeItemNeverDestroysIt) {
    const auto fileItems = ChildNames(u"FileMenu");
    auto found = Add(u"FileMenu\\FileSaveItem", 1, u"", u"Ignored");
    ASSERT_TRUE(found);
    EXPECT_EQ(CaptionOf(found.Get()), u"-");
    found = nullptr;
    auto named = Insert(u"ToolsMenu", 0, u"ToolsOptionsItem", u"Ignored");
    EXPECT_EQ(CaptionOf(named.Get()), u"&Options...");
    named = nullptr;
    EXPECT_EQ(ChildNames(u"FileMenu"), fileItems);
    EXPECT_NE(ItemAt(u"FileMenu\\"), nullptr);
    EXPECT_NE(ItemAt(u"ToolsMenu\\ToolsOptionsItem"), nullptr);
}

TEST_F(MenuBarServiceTest, InsertMenuItemIndexRules) {
    auto menu = Insert(u"", 1000, u"KorvelMenu", u"&Korvel");
    std::vector<rtl::ComPtr<IBdsMenuItem>> children;
    for (const String name : {u"C0", u"C1", u"C2", u"C3", u"C4"}) children.push_back(Insert(u"KorvelMenu", 5, name, name));
    children.push_back(Insert(u"KorvelMenu", 2, u"AfterC2", u"x"));
    children.push_back(Insert(u"KorvelMenu", 0, u"First", u"x"));
    children.push_back(Insert(u"KorvelMenu", 7, u"AtCount", u"x"));
    children.push_back(Insert(u"KorvelMenu", 100, u"Beyond", u"x"));
    EXPECT_FALSE(Insert(u"KorvelMenu", -1, u"Negative", u"x"));
    EXPECT_EQ(ChildNames(u"KorvelMenu"), (std::vector<String>{u"First", u"C0", u"C1", u"C2", u"AfterC2", u"C3", u"C4",
                                                              u"AtCount", u"Beyond"}));
    EXPECT_EQ(ChildNames(u"").back(), u"KorvelMenu");
}

TEST_F(MenuBarServiceTest, ABitmapBecomesTheItemsImageAndIsConsumed) {
    const int images = Menu()->Images()->Count();
    const Integer icon = MakeIconHandle();
    auto item = Add(u"ToolsMenu", 2, u"KorvelImage", u"Image", icon);
    ASSERT_TRUE(item);
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\KorvelImage")->ImageIndex(), images);
    EXPECT_EQ(Menu()->Images()->Count(), images + 1);
    EXPECT_FALSE(BitmapHandleAlive(icon));

    auto plain = Insert(u"ToolsMenu", 0, u"KorvelPlain", u"Plain", 0);
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\KorvelPlain")->ImageIndex(), -1);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MenuBarServiceTest, AnImageThatCannotBeAddedIsReportedAndTheItemStays) {
    auto broken = Add(u"ToolsMenu", 2, u"KorvelBroken", u"Broken", 12345);
    ASSERT_TRUE(broken);
    EXPECT_EQ(ExistingItemAt(u"ToolsMenu\\KorvelBroken")->ImageIndex(), -1);
    ASSERT_EQ(Dialogs(), (std::vector<String>{u"TBdsMenuBarService.SetImage 12345 Bitmap image is not valid"}));
    EXPECT_TRUE(ide.Record().dialogs[0].plainMessage);

    Menu()->SetImages(nullptr);
    const Integer icon = MakeIconHandle();
    auto listless = Add(u"ToolsMenu", 2, u"KorvelListless", u"No list", icon);
    ASSERT_TRUE(listless);
    EXPECT_EQ(Dialogs().back(), u"TBdsMenuBarService.SetImage " + rtl::IntToStr(icon) + u" No image list");
    EXPECT_TRUE(BitmapHandleAlive(icon));
    DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(static_cast<uint32_t>(icon))));
}

TEST_F(MenuBarServiceTest, RemovingAPackageItemTakesItAndItsChildrenAwayAtOnce) {
    const int components = Menu()->ComponentCount();
    IBdsMenuItem* menu = Add(u"", 2, u"KorvelMenu", u"&Korvel").Detach();
    ASSERT_TRUE(menu);
    auto child = Add(u"KorvelMenu", 2, u"KorvelChild", u"Child");
    Remove(u"KorvelMenu");
    EXPECT_EQ(ItemAt(u"KorvelMenu"), nullptr);
    EXPECT_EQ(Menu()->ComponentCount(), components);

    // The package gave its reference up; a call through it anyway meets a detached wrapper.
    WordBool checked = 7;
    EXPECT_EQ(menu->Get_Checked(&checked), E_FAIL);
    EXPECT_EQ(checked, 0);
    BSTR caption = nullptr;
    EXPECT_EQ(child->Get_Caption(&caption), E_FAIL);
    EXPECT_EQ(caption, nullptr);
    EXPECT_EQ(Dialogs(), (std::vector<String>{u"GetChecked for KorvelMenu", u"GetCaption for KorvelChild"}));
    // And one that releases it anyway frees it.
    menu->Release();
}

TEST_F(MenuBarServiceTest, RemovingDetachesAtOnceWhateverReferencesRemain) {
    auto sink = rtl::ComPtr<CountingSink>(new CountingSink);
    IBdsMenuItem* item = Add(u"ToolsMenu", 2, u"KorvelItem", u"Item").Detach();
    ASSERT_TRUE(item);
    ASSERT_EQ(item->RegisterEvents(sink.Get()), S_OK);
    AnsweredItem parent;
    AnsweredItem navigated;  // handed out by navigation: the service holds it too
    ASSERT_EQ(item->Get_ParentMenuItem(parent.Put()), S_OK);
    ASSERT_EQ(parent->ChildMenuItem(ExistingItemAt(u"ToolsMenu")->Count() - 1, navigated.Put()), S_OK);
    ASSERT_EQ(navigated.Get(), item);
    Remove(u"ToolsMenu\\KorvelItem");
    EXPECT_EQ(ItemAt(u"ToolsMenu\\KorvelItem"), nullptr);
    EXPECT_EQ(sink->RefCount(), 1u) << "the sink is let go at once";
    EXPECT_EQ(NameOf(item), u"");
    item->Release();  // released again against the contract: the wrapper is still there to take it
}

TEST_F(MenuBarServiceTest, GivenBackReferencesEndAtShutDown) {
    std::vector<rtl::ComPtr<IUnknown>> watchers;
    for (int cycle = 0; cycle < 3; ++cycle) {
        watchers.emplace_back(Add(u"ToolsMenu", 2, u"KorvelItem", u"Item").Detach());
        ASSERT_TRUE(watchers.back());
        Remove(u"ToolsMenu\\KorvelItem");
    }
    ShutDown();
    for (const auto& watcher : watchers) EXPECT_EQ((watcher->AddRef(), watcher->Release()), 1u);
}

// The service outlives the run; a package still holding an item after shut-down may navigate
// and register sinks, and what it reaches lives only as long as it holds it.
TEST_F(MenuBarServiceTest, AfterShutDownNavigationKeepsNothingForLife) {
    auto tools = Get(u"ToolsMenu");
    ShutDown();
    AnsweredItem child;
    ASSERT_EQ(tools->ChildMenuItem(0, child.Put()), S_OK);
    ASSERT_TRUE(child);
    auto sink = rtl::ComPtr<CountingSink>(new CountingSink);
    ASSERT_EQ(child->RegisterEvents(sink.Get()), S_OK);
    EXPECT_EQ((child->AddRef(), child->Release()), 1u) << "only the package's own reference";
    child = nullptr;
    EXPECT_EQ(sink->RefCount(), 1u) << "the sink goes with the wrapper";
}

TEST_F(MenuBarServiceTest, RemovingIdeItemsLeavesThemInTheMenu) {
    const auto names = ChildNames(u"ToolsMenu");
    Remove(u"ToolsMenu\\ToolsOptionsItem");  // nobody wrapped it
    IBdsMenuItem* wrapped = Get(u"ToolsMenu\\ToolsRepositoryItem").Detach();
    ASSERT_TRUE(wrapped);
    Remove(u"ToolsMenu\\ToolsRepositoryItem");
    EXPECT_EQ(ChildNames(u"ToolsMenu"), names);
    wrapped->Release();
    EXPECT_EQ(ChildNames(u"ToolsMenu"), names);
}

}  // namespace
