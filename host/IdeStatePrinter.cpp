#include "host/IdeStatePrinter.h"

#include "platform/vcl/StdCtrls.h"

#include <algorithm>
#include <map>
#include <vector>

namespace host {
namespace {

String Indent(int depth) { return String(static_cast<size_t>(depth) * 2, u' '); }

// The words after an element's name: what differs from the plain state, in a fixed order.
class Traits {
public:
    Traits& Add(bool present, const String& word) {
        if (present) text_ += u" " + word;
        return *this;
    }
    const String& Text() const { return text_; }

private:
    String text_;
};

String MenuItemLine(const vcl::TMenuItem& item) {
    if (item.IsLine()) return u"---- " + item.Name();
    Traits traits;
    traits.Add(item.ShortCut() != 0, u"[" + vcl::ShortCutToText(item.ShortCut()) + u"]")
        .Add(item.ImageIndex() >= 0, u"image " + rtl::IntToStr(item.ImageIndex()))
        .Add(item.Checked(), u"checked")
        .Add(!item.Enabled(), u"disabled")
        .Add(!item.Visible(), u"hidden");
    return item.Name() + u" " + Quoted(item.Caption()) + traits.Text();
}

void PrintMenuItems(Transcript& transcript, const vcl::TMenuItem& parent, int depth) {
    for (int i = 0; i < parent.Count(); ++i) {
        const vcl::TMenuItem& item = *parent.Items(i);
        transcript.Line(Indent(depth) + MenuItemLine(item));
        PrintMenuItems(transcript, item, depth + 1);
    }
}

String ControlKind(const vcl::TControl& control) {
    if (const auto* button = dynamic_cast<const vcl::TToolButton*>(&control)) {
        switch (button->Style()) {
            case vcl::TToolButtonStyle::tbsButton: return u"button";
            case vcl::TToolButtonStyle::tbsSeparator: return u"separator";
            case vcl::TToolButtonStyle::tbsDivider: return u"divider";
        }
    }
    if (const auto* comboBox = dynamic_cast<const vcl::TComboBox*>(&control))
        return comboBox->Style() == vcl::TComboBoxStyle::csDropDown ? u"combo box" : u"list combo box";
    if (dynamic_cast<const vcl::TLabel*>(&control)) return u"label";
    return control.ClassName();
}

String ComboBoxItems(const vcl::TComboBox& comboBox) {
    String items;
    for (int i = 0; i < comboBox.ItemCount(); ++i) items += (i ? u", " : u"") + Quoted(comboBox.Items(i));
    return u"items [" + items + u"]";
}

String ControlLine(const vcl::TControl& control) {
    Traits traits;
    traits.Add(!control.Caption().empty(), Quoted(control.Caption()))
        .Add(!control.Hint().empty(), u"tip " + Quoted(control.Hint()))
        .Add(!control.Visible(), u"hidden")
        .Add(!control.Enabled(), u"disabled");
    if (const auto* button = dynamic_cast<const vcl::TToolButton*>(&control))
        traits.Add(button->Down(), u"down").Add(button->ImageIndex() >= 0, u"image " + rtl::IntToStr(button->ImageIndex()));
    if (const auto* comboBox = dynamic_cast<const vcl::TComboBox*>(&control))
        traits.Add(true, ComboBoxItems(*comboBox)).Add(comboBox->ItemIndex() >= 0, u"selected " + rtl::IntToStr(comboBox->ItemIndex()));
    const String name = control.Name().empty() ? String(u"(unnamed)") : control.Name();
    return name + u" " + ControlKind(control) + u", left " + rtl::IntToStr(control.Left()) + u" width " +
           rtl::IntToStr(control.Width()) + traits.Text();
}

}  // namespace

void PrintMenuTree(Transcript& transcript, const vcl::TMenuItem& item) {
    const bool isRoot = item.Parent() == nullptr;
    transcript.Line(isRoot ? String(u"main menu") : MenuItemLine(item));
    PrintMenuItems(transcript, item, 1);
}

void PrintToolBar(Transcript& transcript, const vcl::TToolBar& toolBar) {
    Traits traits;
    traits.Add(!toolBar.Visible(), u"hidden").Add(toolBar.Floating(), u"floating");
    transcript.Line(u"toolbar " + toolBar.Name() + u" " + Quoted(toolBar.Caption()) + u", at " +
                    rtl::IntToStr(toolBar.Left()) + u"," + rtl::IntToStr(toolBar.Top()) + u" size " +
                    rtl::IntToStr(toolBar.Width()) + u"x" + rtl::IntToStr(toolBar.Height()) + traits.Text());
    for (int i = 0; i < toolBar.ButtonCount(); ++i) transcript.Line(Indent(1) + ControlLine(*toolBar.Buttons(i)));
}

namespace {

using ControlsByWindow = std::map<HWND, const vcl::TWinControl*>;

void CollectControls(vcl::TWinControl& control, ControlsByWindow& found) {
    if (control.HandleAllocated()) found[control.Handle()] = &control;
    for (int i = 0; i < control.ControlCount(); ++i)
        if (auto* child = dynamic_cast<vcl::TWinControl*>(control.Controls(i))) CollectControls(*child, found);
}

String WindowText(HWND window, int(WINAPI* read)(HWND, LPWSTR, int)) {
    char16_t text[256] = {};
    read(window, rtl::W(text), 256);
    return String(text);
}

String WindowClass(HWND window, const ControlsByWindow& controls) {
    const auto control = controls.find(window);
    return control != controls.end() ? control->second->ClassName() : WindowText(window, GetClassNameW);
}

String WindowLine(HWND window, const ControlsByWindow& controls) {
    const String className = WindowClass(window, controls);
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT origin{rect.left, rect.top};
    MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), &origin, 1);
    return className + u" " + Quoted(WindowText(window, GetWindowTextW)) +
           (IsWindowVisible(window) ? u" visible " : u" hidden ") + rtl::IntToStr(origin.x) + u"," +
           rtl::IntToStr(origin.y) + u" " + rtl::IntToStr(rect.right - rect.left) + u"x" +
           rtl::IntToStr(rect.bottom - rect.top);
}

void PrintWindows(Transcript& transcript, HWND window, const ControlsByWindow& controls, int depth) {
    transcript.Line(Indent(depth) + WindowLine(window, controls));
    std::vector<std::pair<String, HWND>> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.emplace_back(WindowLine(child, controls), child);
    std::sort(children.begin(), children.end());
    for (const auto& child : children) PrintWindows(transcript, child.second, controls, depth + 1);
}

bool HasWindow(HWND window, const ControlsByWindow& controls, const String& className, const String* caption) {
    if (rtl::SameText(WindowClass(window, controls), className) &&
        (!caption || WindowText(window, GetWindowTextW) == *caption))
        return true;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HasWindow(child, controls, className, caption)) return true;
    return false;
}

}  // namespace

bool WindowTreeHas(vcl::TWinControl& top, const String& className, const String* caption) {
    ControlsByWindow controls;
    CollectControls(top, controls);
    return HasWindow(top.Handle(), controls, className, caption);
}

void PrintWindowTree(Transcript& transcript, vcl::TWinControl& top) {
    ControlsByWindow controls;
    CollectControls(top, controls);
    PrintWindows(transcript, top.Handle(), controls, 0);
}

void PrintModules(Transcript& transcript, sim::EditorArea& modules) {
    for (int index = 0; index < modules.GetModuleCount(); ++index) {
        const auto module = modules.GetModule(index);
        const String fileSystem = module->GetFileSystem();
        const auto source = module->GetModuleFileEditor(0);
        transcript.Line(u"module " + Quoted(module->GetFileName()) + u" [" +
                        (fileSystem.empty() ? String(u"disk") : u"file system " + fileSystem) + u"] " +
                        (source && source->GetModified() ? u"modified" : u"unchanged"));
    }
}

void PrintTabs(Transcript& transcript, sim::GradientTabSet& tabs) {
    for (int tab = 0; tab < tabs.Items().Count(); ++tab) {
        const int image = tabs.ImageIndexOf(tab);
        const int overlay = tabs.OverlayIndexOf(tab);
        transcript.Line(String(tab == tabs.TabIndex() ? u"* " : u"  ") + u"tab " + Quoted(tabs.Items().Strings(tab)) +
                        u" image " + rtl::IntToStr(image) + u" overlay " + rtl::IntToStr(overlay));
    }
}

void PrintToolWindow(Transcript& transcript, ide::TDockableForm& form) {
    transcript.Line(u"tool window " + Quoted(form.Caption()) + u" [" + form.DeskSection + u"] " +
                    (form.Floating() ? u"floating" : u"docked") + (form.Visible() ? u", visible" : u", hidden") +
                    (form.Active() ? u", active" : u"") + (form.Icon() ? u", with icon" : u""));
    if (!form.HandleAllocated()) return;
    ControlsByWindow controls;
    CollectControls(form, controls);
    for (HWND child = GetWindow(form.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        PrintWindows(transcript, child, controls, 1);
}

void PrintObjectInspector(Transcript& transcript, vcl::TCustomForm& form) {
    const vcl::TWinControl* inspector = FindByClassName(form, u"TPropertyInspector");
    const bool visible = form.Visible() && inspector && inspector->Visible();
    transcript.Line(u"object inspector " + Quoted(form.Caption()) + (visible ? u" visible" : u" hidden"));
}

vcl::TWinControl* FindByClassName(vcl::TWinControl& parent, const String& className) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        auto* control = dynamic_cast<vcl::TWinControl*>(parent.Controls(i));
        if (!control) continue;
        if (control->ClassName() == className) return control;
        if (vcl::TWinControl* found = FindByClassName(*control, className)) return found;
    }
    return nullptr;
}

}  // namespace host
