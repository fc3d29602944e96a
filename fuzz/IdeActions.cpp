// The IDE's side, interleaved with the package's calls: what the user and the IDE itself do.
#include <vector>

#include "fuzz/ActionHelpers.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "sim/EditorArea.h"
#include "sim/FileSystemFile.h"
#include "sim/FormDesigner.h"
#include "sim/SimulatedIde.h"

namespace fuzz {
namespace {

const std::vector<String> PaletteClasses{u"TButton", u"TLabel", u"TTimer", u"TOpenDialog", u"TEdit"};

void CollectMenuItems(vcl::TMenuItem* parent, std::vector<vcl::TMenuItem*>& items) {
    for (int i = 0; i < parent->Count(); ++i) {
        items.push_back(parent->Items(i));
        CollectMenuItems(parent->Items(i), items);
    }
}

// Any item of the main menu; the package's own items come last and are chosen as often as the
// IDE's, since they are where the system's wrappers are.
vcl::TMenuItem* ChooseMenuItem(PackageSession& s) {
    vcl::TMainMenu* menu = s.Ide().Services().GetMainMenu();
    if (!menu) return nullptr;
    std::vector<vcl::TMenuItem*> items;
    CollectMenuItems(menu->Items(), items);
    std::vector<vcl::TMenuItem*> packageItems;
    for (vcl::TMenuItem* item : items)
        if (item->Name().rfind(u"Fz", 0) == 0 || item->Name().empty()) packageItems.push_back(item);
    const auto& from = s.Input().Coin() && !packageItems.empty() ? packageItems : items;
    return from.empty() ? nullptr : from[s.Input().Choose(from.size())];
}

vcl::TToolBar* ChooseToolBar(PackageSession& s) {
    const std::vector<vcl::TToolBar*> bars = s.Ide().Services().ToolBars().ToolBars();
    return bars.empty() ? nullptr : bars[s.Input().Choose(bars.size())];
}

vcl::TControl* ChooseToolBarControl(PackageSession& s) {
    vcl::TToolBar* bar = ChooseToolBar(s);
    if (!bar || bar->ButtonCount() == 0) return nullptr;
    return bar->Buttons(static_cast<int>(s.Input().Choose(static_cast<size_t>(bar->ButtonCount()))));
}

void LoadToolbars(PackageSession& s) { s.Ide().LoadToolbars(); }

void ClickMenuItem(PackageSession& s) {
    if (vcl::TMenuItem* item = ChooseMenuItem(s)) item->Click();
}

void DestroyMenuItem(PackageSession& s) {
    if (vcl::TMenuItem* item = ChooseMenuItem(s)) delete item;
}

// Clicks a button, or types into or picks from a combo box.
void UseToolBarControl(PackageSession& s) {
    vcl::TControl* control = ChooseToolBarControl(s);
    if (!control) return;
    if (auto* button = dynamic_cast<vcl::TToolButton*>(control)) {
        button->Click();
    } else if (auto* combo = dynamic_cast<vcl::TComboBox*>(control)) {
        if (s.Input().Coin())
            combo->UserTypes(s.Input().Text({u"x", u"Debug"}));
        else if (combo->ItemCount() > 0)
            combo->UserPicks(static_cast<int>(s.Input().Choose(static_cast<size_t>(combo->ItemCount()))));
    }
}

void DestroyToolBarPart(PackageSession& s) {
    if (s.Input().Coin())
        delete ChooseToolBarControl(s);
    else
        delete ChooseToolBar(s);
}

void PressKey(PackageSession& s) {
    static const vcl::TShortCut common[] = {vcl::scCtrl | 'K', vcl::scCtrl | vcl::scShift | 'K', 'K', 0x70,
                                            vcl::scCtrl | 'S', 0};
    FuzzInput& in = s.Input();
    const vcl::TShortCut key = in.Coin() ? common[in.Choose(sizeof(common) / sizeof(common[0]))]
                                         : static_cast<vcl::TShortCut>(in.Number());
    s.Ide().PressKey(key);
}

void DispatchMessage(PackageSession& s) {
    static const UINT messages[] = {WM_KEYDOWN, WM_CHAR, WM_COMMAND, WM_MOUSEMOVE, 0, 0x7FFF};
    FuzzInput& in = s.Input();
    MSG msg{};
    msg.hwnd = in.Coin() ? s.Ide().MainWindow() : nullptr;
    msg.message = messages[in.Choose(sizeof(messages) / sizeof(messages[0]))];
    msg.wParam = static_cast<WPARAM>(in.Number());
    msg.lParam = static_cast<LPARAM>(in.Number());
    s.Ide().PostMessage(msg);
    s.Ide().ProcessMessages();
}

void DropComponent(PackageSession& s) {
    FuzzInput& in = s.Input();
    const String& className = PaletteClasses[in.Choose(PaletteClasses.size())];
    const POINT at{in.Number(), in.Number()};
    s.Designer().InsertComponent(className, at);
}

void OpenSourceFile(PackageSession& s) {
    const std::vector<String>& files = SourceFiles();
    s.Ide().Editors().OpenFile(files[s.Input().Choose(files.size())]);
}

void CloseSourceFile(PackageSession& s) {
    const std::vector<String>& files = SourceFiles();
    s.Ide().Editors().CloseFile(files[s.Input().Choose(files.size())]);
}

// One of the open modules, held for the action: a notifier may close it under the IDE's feet.
rtl::ComPtr<sim::Module> ChooseModule(PackageSession& s) {
    sim::EditorArea& area = s.Ide().Editors();
    const int count = area.GetModuleCount();
    if (count == 0) return nullptr;
    const auto module = area.GetModule(static_cast<int>(s.Input().Choose(static_cast<size_t>(count))));
    return rtl::ComPtr<sim::Module>(static_cast<sim::Module*>(module.Get()));
}

// Names the user gives a file when saving it under another name or renaming it.
const std::vector<String>& NewFileNames() {
    static const std::vector<String> names{u"Renamed.pas", u"Unit1.pas", u"Doc.kdoc", u"", u"..", u"\\x\\y.pas",
                                           u"\u00C4rger2.pas"};
    return names;
}

void EditModule(PackageSession& s) {
    if (const auto module = ChooseModule(s)) {
        module->Show();
        module->Source().Type(s.Input().Text({u"x", u"begin end;"}));
    }
}

void SaveModule(PackageSession& s) {
    if (const auto module = ChooseModule(s)) module->Save(s.Input().Coin(), s.Input().Coin());
}

void SaveModuleAs(PackageSession& s) {
    const std::vector<String>& names = NewFileNames();
    if (const auto module = ChooseModule(s)) module->SaveAs(names[s.Input().Choose(names.size())]);
}

void RenameModule(PackageSession& s) {
    const std::vector<String>& names = NewFileNames();
    if (const auto module = ChooseModule(s)) module->SetFileName(names[s.Input().Choose(names.size())]);
}

void CloseModule(PackageSession& s) {
    if (const auto module = ChooseModule(s)) module->CloseModule(s.Input().Coin());
}

// The IDE's own File menu: a new unit, save all, close all.
void WorkAllModules(PackageSession& s) {
    sim::EditorArea& area = s.Ide().Editors();
    switch (s.Input().Choose(3)) {
        case 0: area.NewModule(); break;
        case 1: area.SaveAll(); break;
        default: area.CloseAll(); break;
    }
}

// A key pressed in the editor, which the editor services' notifiers may take.
void SendEditorCommand(PackageSession& s) {
    FuzzInput& in = s.Input();
    const int command = in.Number(), param = in.Number();
    s.Ide().Editors().SendEditorCommand(command, param);
}

const String& ChooseFileName(PackageSession& s) {
    const std::vector<String>& files = SourceFiles();
    return files[s.Input().Choose(files.size())];
}

const String& ChooseFileSystemName(PackageSession& s) {
    const std::vector<String>& names = FileSystemNames();
    return names[s.Input().Choose(names.size())];
}

// The user opens a file of a package's file system.
void ReadFromFileSystem(PackageSession& s) {
    const String& fileSystem = ChooseFileSystemName(s);
    s.Ide().Editors().OpenFromFileSystem(fileSystem, ChooseFileName(s));
}

// The IDE looks at a file through a registered file system: whether it is there, read-only,
// how old, what it holds; or writes it as a save does.
void UseFileSystemFile(PackageSession& s) {
    const auto fileSystem = s.Ide().Editors().FindFileSystem(ChooseFileSystemName(s));
    if (!fileSystem) return;
    sim::FileSystemFile file(fileSystem, ChooseFileName(s));
    switch (s.Input().Choose(5)) {
        case 0: file.Exists(); break;
        case 1: file.IsReadonly(); break;
        case 2: file.Age(); break;
        case 3: file.Read(); break;
        default: file.Write(s.Input().Text({u"unit Unit1;", u""})); break;
    }
}

void CloseEditWindow(PackageSession& s) { s.Ide().Editors().CloseEditWindow(); }

void ResizeEditWindow(PackageSession& s) {
    vcl::TCustomForm* form = s.Ide().Editors().EditWindowForm();
    if (!form) return;
    FuzzInput& in = s.Input();
    form->SetBounds(0, 0, static_cast<int>(in.Choose(1200)), static_cast<int>(in.Choose(900)));
}

void CollectWindowedControls(vcl::TWinControl* parent, std::vector<vcl::TWinControl*>& controls) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (auto* child = dynamic_cast<vcl::TWinControl*>(parent->Controls(i))) {
            controls.push_back(child);
            CollectWindowedControls(child, controls);
        }
    }
}

// The library re-creates a control's window when a window property changes; the frames the
// system puts over the editor are among the edit window's controls.
void RecreateEditWindowHandle(PackageSession& s) {
    vcl::TCustomForm* form = s.Ide().Editors().EditWindowForm();
    if (!form) return;
    std::vector<vcl::TWinControl*> controls{form};
    CollectWindowedControls(form, controls);
    controls[s.Input().Choose(controls.size())]->RecreateWnd();
}

// A new IDE costs far more than the rest of an input, so most restarts keep the old one.
void Restart(PackageSession& s) { s.Restart(s.Input().Choose(16) == 0); }

}  // namespace

ActionTable IdeActions() {
    return {{"load toolbars", LoadToolbars},       {"load toolbars", LoadToolbars},
            {"click menu item", ClickMenuItem},    {"click menu item", ClickMenuItem},
            {"destroy menu item", DestroyMenuItem}, {"use toolbar control", UseToolBarControl},
            {"use toolbar control", UseToolBarControl},
            {"destroy toolbar part", DestroyToolBarPart},
            {"press key", PressKey},               {"dispatch message", DispatchMessage},
            {"drop component", DropComponent},     {"restart", Restart},
            {"open source file", OpenSourceFile},  {"open source file", OpenSourceFile},
            {"close source file", CloseSourceFile}, {"close edit window", CloseEditWindow},
            {"resize edit window", ResizeEditWindow},
            {"re-create edit window handle", RecreateEditWindowHandle},
            {"re-create edit window handle", RecreateEditWindowHandle},
            {"edit module", EditModule},           {"save module", SaveModule},
            {"save module as", SaveModuleAs},      {"rename module", RenameModule},
            {"close module", CloseModule},         {"work all modules", WorkAllModules},
            {"editor command", SendEditorCommand}, {"editor command", SendEditorCommand},
            {"read from file system", ReadFromFileSystem},
            {"use file system file", UseFileSystemFile},
            {"use file system file", UseFileSystemFile}};
}

}  // namespace fuzz
