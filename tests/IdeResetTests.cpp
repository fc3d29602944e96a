#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "sim/SimulatedIde.h"

namespace {

using rtl::String;

void DescribeItem(const vcl::TMenuItem& item, const String& indent, String& text) {
    text += indent + item.Name() + u"|" + item.Caption() + u"|" + rtl::IntToStr(item.ShortCut()) + u"|" +
            rtl::IntToStr(item.ImageIndex()) + (item.Enabled() ? u"|on" : u"|off") + (item.Visible() ? u"" : u"|hidden") +
            (item.Checked() ? u"|checked" : u"") + (item.Action() ? u"|action" : u"") + (item.OnClick ? u"" : u"|no click") +
            u"\n";
    for (int i = 0; i < item.Count(); ++i) DescribeItem(*item.Items(i), indent + u"  ", text);
}

// What a package or a user can tell about the IDE's menus, actions, toolbars and windows.
String Describe(sim::SimulatedIde& ide) {
    vcl::TMainMenu* menu = ide.Services().GetMainMenu();
    String text = u"menu components " + rtl::IntToStr(menu->ComponentCount()) + u", images " +
                  rtl::IntToStr(menu->Images()->Count()) + u"\n";
    DescribeItem(*menu->Items(), u"", text);
    vcl::TCustomActionList* actions = ide.Services().GetActionList();
    for (int i = 0; i < actions->ActionCount(); ++i) {
        auto* action = dynamic_cast<vcl::TCustomAction*>(actions->Actions(i));
        text += action->Name() + u"|" + action->Category + u"|" + action->Caption() + u"|" +
                rtl::IntToStr(action->ShortCut()) + (action->Enabled() ? u"|on" : u"|off") +
                (action->OnExecute ? u"|runs" : u"") + u"\n";
    }
    for (vcl::TToolBar* toolBar : ide.Services().ToolBars().ToolBars()) {
        text += toolBar->Name() + u":";
        for (int i = 0; i < toolBar->ButtonCount(); ++i) text += u" " + toolBar->Buttons(i)->Name();
        text += u"\n";
    }
    text += u"toolbar images " + rtl::IntToStr(ide.Services().ToolBars().Images().Count()) + u"\n";
    for (int i = 0; i < ide.Application().ComponentCount(); ++i)
        text += ide.Application().Components(i)->ClassName() + u" " + ide.Application().Components(i)->Name() + u"\n";
    text += u"modules " + rtl::IntToStr(ide.Editors().GetModuleCount()) + u", notes " +
            rtl::IntToStr(static_cast<int>(ide.Record().lines.size())) + (ide.Application().OnMessage ? u", hooked" : u"");
    return text;
}

vcl::TMenuItem* Item(sim::SimulatedIde& ide, const String& name) {
    return dynamic_cast<vcl::TMenuItem*>(ide.Services().GetMainMenu()->FindComponent(name));
}

TEST(IdeResetTest, PutsBackWhatASessionChangedAsANewIdeHasIt) {
    String fresh;
    { fresh = Describe(*std::make_unique<sim::SimulatedIde>()); }
    sim::SimulatedIde ide;
    vcl::TMainMenu* menu = ide.Services().GetMainMenu();

    // The menu: items renamed (two swapping names), changed, moved below a new item, destroyed.
    vcl::TMenuItem* tools = Item(ide, u"ToolsMenu");
    vcl::TMenuItem* options = Item(ide, u"ToolsOptionsItem");
    vcl::TMenuItem* help = Item(ide, u"HelpContentsItem");
    options->SetName(u"Swap");
    help->SetName(u"ToolsOptionsItem");
    options->SetName(u"HelpContentsItem");
    tools->SetCaption(u"&Changed");
    tools->SetEnabled(false);
    help->SetShortCut(vcl::TextToShortCut(u"Ctrl+Q"));
    help->SetChecked(true);
    help->OnClick = nullptr;
    auto* added = new vcl::TMenuItem(menu);
    added->SetName(u"PackageItem");
    tools->Insert(0, added);
    Item(ide, u"FileNewMenu")->Parent()->Remove(Item(ide, u"FileNewMenu"));
    added->Add(Item(ide, u"FileNewMenu"));
    delete Item(ide, u"HelpAboutItem");
    delete Item(ide, u"WindowMenu");
    vcl::TBitmap bitmap;
    HBITMAP handle = CreateBitmap(16, 16, 1, 32, nullptr);
    bitmap.SetHandle(handle);
    menu->Images()->AddMasked(bitmap, vcl::clFuchsia);
    DeleteObject(handle);
    Item(ide, u"ToolsMenu")->SetImageIndex(0);

    // The actions: one destroyed, one added, one changed and given a handler.
    vcl::TCustomActionList* actions = ide.Services().GetActionList();
    delete actions->FindComponent(u"FileSaveCommand");
    auto* action = dynamic_cast<vcl::TCustomAction*>(actions->FindComponent(u"EditCopyCommand"));
    action->SetCaption(u"Copy it");
    action->SetEnabled(false);
    action->OnExecute = [](vcl::TObject*) {};
    auto* packageAction = new vcl::TAction(actions);
    packageAction->SetName(u"PackageAction");
    packageAction->SetActionList(actions);

    // Toolbars, windows, modules, the message hook and what the user saw.
    ide.Services().NewToolbar(u"PackageBar", u"Package", u"", false);
    delete ide.Services().ToolBars().Find(u"StandardToolBar")->Buttons(0);
    new vcl::TForm(&ide.Application());
    ide.Editors().OpenFile(u"Unit1.pas");
    ide.Application().OnMessage = [](MSG&, bool&) {};
    ide.Record().Note(u"seen");
    ASSERT_NE(Describe(ide), fresh);

    ide.Reset();
    EXPECT_EQ(Describe(ide), fresh);
    // An item made anew runs its command as before.
    Item(ide, u"HelpAboutItem")->Click();
    EXPECT_EQ(ide.Record().lines, std::vector<String>{u"menu command: HelpAboutItem"});
}

}  // namespace
