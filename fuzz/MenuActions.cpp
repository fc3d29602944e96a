// The menu bar service and the menu item wrappers.
#include "fuzz/ActionHelpers.h"
#include "fuzz/PackageObjects.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

const std::vector<String> FullNames{
    u"",
    u"ToolsMenu",
    u"HelpMenu",
    u"FileMenu\\FileNewMenu",
    u"ToolsMenu\\ToolsOptionsItem",
    u"ToolsMenu\\ToolsTranslationMenu\\ToolsTranslationManagerItem",
    u"ToolsMenu\\FzA",
    u"ToolsMenu\\FzA\\FzB",
    u"HelpMenu\\FzB",
    u"toolsmenu\\fza",
    u"FzA",
    u"\\ToolsMenu\\\\FzA\\",
    u"ToolsMenu\\SeparatorBefore_FzA",
};
const std::vector<String> NewNames{u"FzA", u"FzB", u"FzC", u"", u"Fz A", u"1Fz", u"Fz\u00C4", u"ToolsOptionsItem"};
const std::vector<String> Captions{u"&Korvel", u"-", u"", u"Caption with a tab\tCtrl+K", u"\u00C4rger"};

IBdsMenuBarService* MenuService(PackageSession& s) {
    return HeldService(s, s.menuServices, &IBdsServices::Get_BdsMenuBarService);
}

// A held menu item, or one the package finds or adds first, as it would before using one.
IBdsMenuItem* MenuItem(PackageSession& s) {
    if (s.menuItems.Empty()) {
        if (IBdsMenuBarService* menus = MenuService(s)) {
            const TextArgument place = s.Text(FullNames), name = s.Text(NewNames), caption = s.Text(Captions);
            IBdsMenuItem* item = nullptr;
            if (s.Input().Coin())
                menus->GetMenuItem(place, &item);
            else
                menus->AddMenuItem(place, static_cast<Integer>(s.Input().Choose(3)), name, caption, 0, &item);
            s.menuItems.Adopt(item);
        }
    }
    return s.menuItems.Pick(s.Input());
}

void MenuServiceCall(PackageSession& s) {
    IBdsMenuBarService* menus = MenuService(s);
    if (!menus) return;
    s.CountCall();
    const size_t choice = s.Input().Choose(5);
    switch (choice) {
        case 0: {
            // RemoveMenuItem takes over the package's reference to the item's wrapper, so the
            // package lets go of one of its own without releasing it.
            const TextArgument name = s.Text(FullNames);
            IBdsMenuItem* named = nullptr;
            menus->GetMenuItem(name, &named);
            if (named) named->Release();
            if (SUCCEEDED(menus->RemoveMenuItem(name)) && named) s.menuItems.Forget(named);
            break;
        }
        case 1: {
            const TextArgument name = s.Text(FullNames);
            ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { menus->GetMenuItem(name, out); });
            break;
        }
        case 2:
        case 3: {
            // AddMenuItem and InsertMenuItem take the same arguments: a place, a number, a name,
            // a caption and a bitmap.
            const auto add = choice == 2 ? &IBdsMenuBarService::AddMenuItem : &IBdsMenuBarService::InsertMenuItem;
            const TextArgument place = s.Text(FullNames);
            const Integer where = s.Input().Number();
            const TextArgument name = s.Text(NewNames), caption = s.Text(Captions);
            const Integer bitmap = s.Bitmap();
            ReadObject(s, s.menuItems,
                       [&](IBdsMenuItem** out) { (menus->*add)(place, where, name, caption, bitmap, out); });
            break;
        }
        default:
            ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { menus->GetFirstMenuItem(out); });
            break;
    }
}

void MenuItemProperties(PackageSession& s) {
    IBdsMenuItem* item = MenuItem(s);
    if (!item) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(17)) {
        case 0: ReadValue<WordBool>(s, [&](WordBool* out) { item->Get_BeginGroup(out); }); break;
        case 1: item->Set_BeginGroup(in.Flag()); break;
        case 2: ReadText(s, [&](BSTR* out) { item->Get_Caption(out); }); break;
        case 3: {
            const TextArgument caption = s.Text(Captions);
            item->Set_Caption(caption);
            break;
        }
        case 4: ReadValue<WordBool>(s, [&](WordBool* out) { item->Get_Checked(out); }); break;
        case 5: item->Set_Checked(in.Flag()); break;
        case 6: ReadValue<Integer>(s, [&](Integer* out) { item->Get_ChildCount(out); }); break;
        case 7: ReadValue<WordBool>(s, [&](WordBool* out) { item->Get_Enabled(out); }); break;
        case 8: item->Set_Enabled(in.Flag()); break;
        case 9: ReadText(s, [&](BSTR* out) { item->Get_Name(out); }); break;
        case 10: ReadValue<Integer>(s, [&](Integer* out) { item->Get_Shortcut(out); }); break;
        case 11: item->Set_Shortcut(in.Number()); break;
        case 12: ReadValue<WordBool>(s, [&](WordBool* out) { item->Get_Visible(out); }); break;
        case 13: item->Set_Visible(in.Flag()); break;
        case 14: ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { item->Get_NextMenuItem(out); }); break;
        case 15: ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { item->Get_ParentMenuItem(out); }); break;
        default: ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { item->Get_PrevMenuItem(out); }); break;
    }
}

void MenuItemActions(PackageSession& s) {
    IBdsMenuItem* item = MenuItem(s);
    if (!item) return;
    s.CountCall();
    switch (s.Input().Choose(3)) {
        case 0: {
            const rtl::ComPtr<CarelessSink> sink = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(item));
            item->RegisterEvents(s.Input().Choose(6) == 0 ? nullptr : sink.Get());
            break;
        }
        case 1: {
            const Integer index = s.Input().Number();
            ReadObject(s, s.menuItems, [&](IBdsMenuItem** out) { item->ChildMenuItem(index, out); });
            break;
        }
        default:
            item->InvokeAction();
            break;
    }
}

}  // namespace

ActionTable MenuActions() {
    return {{"menu service", MenuServiceCall},
            {"menu service", MenuServiceCall},
            {"menu item properties", MenuItemProperties},
            {"menu item actions", MenuItemActions}};
}

}  // namespace fuzz
