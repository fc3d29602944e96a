// The toolbar service, its toolbars and the controls on them.
#include "fuzz/ActionHelpers.h"
#include "fuzz/PackageObjects.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

const std::vector<String> ToolBarNames{u"StandardToolBar", u"ViewToolBar", u"FzBar", u"FzBar2", u"fzbar", u"",
                                       u"1Bar", u"Fz Bar"};
const std::vector<String> Captions{u"Korvel", u"", u"&Run", u"\u00C4rger", u"-"};
const std::vector<String> ComboItems{u"Debug", u"Release", u"", u"\u4E2D\u6587"};

// Where the system expects one of its toolbars or controls: one of them, nothing, or an
// object of another kind.
template <class Interface, class Held>
Interface* ObjectArgument(PackageSession& s, Held& held, IUnknown* stranger) {
    switch (s.Input().Choose(8)) {
        case 0: return nullptr;
        case 1: return reinterpret_cast<Interface*>(stranger);
        case 2: return reinterpret_cast<Interface*>(s.menuItems.Pick(s.Input()));
        default: return reinterpret_cast<Interface*>(held.Pick(s.Input()));
    }
}

IBdsToolBarService* ToolBarService(PackageSession& s) {
    return HeldService(s, s.toolBarServices, &IBdsServices::Get_BdsToolBarService);
}

// Kinds of control a package asks for: mostly the four that exist, sometimes none of them.
Integer ControlType(FuzzInput& in) { return in.Choose(8) == 0 ? in.Number() : static_cast<Integer>(1 + in.Choose(4)); }

Integer Extent(FuzzInput& in) { return in.Number(); }

// A held toolbar, or one the package adds first, as it would before using one.
IBdsToolBar* ToolBar(PackageSession& s) {
    if (s.toolBars.Empty()) {
        if (IBdsToolBarService* service = ToolBarService(s)) {
            const TextArgument name = s.Text(ToolBarNames), title = s.Text(Captions);
            IBdsToolBar* bar = nullptr;
            service->AddToolBar(name, title, &bar);
            s.toolBars.Adopt(bar);
        }
    }
    return s.toolBars.Pick(s.Input());
}

// A held control, or one the package adds to a toolbar first.
IBdsToolBarControl* Control(PackageSession& s) {
    if (s.controls.Empty()) {
        if (IBdsToolBar* bar = ToolBar(s)) {
            IBdsToolBarControl* control = nullptr;
            bar->AddControl(ControlType(s.Input()), &control);
            s.controls.Adopt(control);
        }
    }
    return s.controls.Pick(s.Input());
}

void ToolBarServiceCall(PackageSession& s) {
    IBdsToolBarService* service = ToolBarService(s);
    if (!service) return;
    s.CountCall();
    switch (s.Input().Choose(4)) {
        case 0: {
            const TextArgument name = s.Text(ToolBarNames);
            ReadObject(s, s.toolBars, [&](IBdsToolBar** out) { service->FindToolBar(name, out); });
            break;
        }
        case 1: {
            const TextArgument name = s.Text(ToolBarNames), title = s.Text(Captions);
            ReadObject(s, s.toolBars, [&](IBdsToolBar** out) { service->AddToolBar(name, title, out); });
            break;
        }
        case 2: {
            const rtl::ComPtr<CarelessSink> stranger = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(service));
            service->RemoveToolBar(ObjectArgument<IBdsToolBar>(s, s.toolBars, stranger->Unknown()));
            break;
        }
        default:
            service->Clear();
            break;
    }
}

void ToolBarProperties(PackageSession& s) {
    IBdsToolBar* bar = ToolBar(s);
    if (!bar) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(15)) {
        case 0: ReadText(s, [&](BSTR* out) { bar->Get_name(out); }); break;
        case 1: {
            const TextArgument name = s.Text(ToolBarNames);
            bar->Set_name(name);
            break;
        }
        case 2: ReadText(s, [&](BSTR* out) { bar->Get_Caption(out); }); break;
        case 3: {
            const TextArgument caption = s.Text(Captions);
            bar->Set_Caption(caption);
            break;
        }
        case 4: ReadValue<WordBool>(s, [&](WordBool* out) { bar->Get_Visible(out); }); break;
        case 5: bar->Set_Visible(in.Flag()); break;
        case 6: ReadValue<Integer>(s, [&](Integer* out) { bar->Get_Left(out); }); break;
        case 7: bar->Set_Left(Extent(in)); break;
        case 8: ReadValue<Integer>(s, [&](Integer* out) { bar->Get_Top(out); }); break;
        case 9: bar->Set_Top(Extent(in)); break;
        case 10: ReadValue<Integer>(s, [&](Integer* out) { bar->Get_Width(out); }); break;
        case 11: ReadValue<Integer>(s, [&](Integer* out) { bar->Get_Height(out); }); break;
        case 12: ReadValue<WordBool>(s, [&](WordBool* out) { bar->Get_Floating(out); }); break;
        case 13: bar->Set_Floating(in.Flag()); break;
        default: ReadValue<Integer>(s, [&](Integer* out) { bar->Get_ControlCount(out); }); break;
    }
}

void ToolBarControls(PackageSession& s) {
    IBdsToolBar* bar = ToolBar(s);
    if (!bar) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(4)) {
        case 0: bar->AddSeparator(); break;
        case 1: {
            const Integer type = ControlType(in);
            ReadObject(s, s.controls, [&](IBdsToolBarControl** out) { bar->AddControl(type, out); });
            break;
        }
        case 2: {
            const rtl::ComPtr<CarelessSink> stranger = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(bar));
            bar->RemoveControl(ObjectArgument<IBdsToolBarControl>(s, s.controls, stranger->Unknown()));
            break;
        }
        default: bar->Clear(); break;
    }
}

void ControlCall(PackageSession& s) {
    IBdsToolBarControl* control = Control(s);
    if (!control) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(13)) {
        case 0: ReadText(s, [&](BSTR* out) { control->Get_Caption(out); }); break;
        case 1: {
            const TextArgument caption = s.Text(Captions);
            control->Set_Caption(caption);
            break;
        }
        case 2: ReadValue<WordBool>(s, [&](WordBool* out) { control->Get_Enabled(out); }); break;
        case 3: control->Set_Enabled(in.Flag()); break;
        case 4: ReadValue<WordBool>(s, [&](WordBool* out) { control->Get_Visible(out); }); break;
        case 5: control->Set_Visible(in.Flag()); break;
        case 6: ReadText(s, [&](BSTR* out) { control->Get_name(out); }); break;
        case 7: {
            const TextArgument name = s.Text(Captions);
            control->Set_name(name);
            break;
        }
        case 8: ReadText(s, [&](BSTR* out) { control->Get_ToolTip(out); }); break;
        case 9: {
            const TextArgument tip = s.Text(Captions);
            control->Set_ToolTip(tip);
            break;
        }
        case 10: ReadValue<Integer>(s, [&](Integer* out) { control->Get_ShortCut(out); }); break;
        case 11: control->Set_ShortCut(in.Number()); break;
        default: {
            const rtl::ComPtr<CarelessSink> sink = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(control));
            control->RegisterEvents(in.Choose(6) == 0 ? nullptr : sink.Get());
            break;
        }
    }
}

// The button's own interface, reached by QueryInterface as a package reaches it.
void ButtonCall(PackageSession& s) {
    IBdsToolBarControl* control = Control(s);
    if (!control) return;
    s.CountCall();
    rtl::ComPtr<IBdsToolBarButton> button;
    if (FAILED(control->QueryInterface(IID_IBdsToolBarButton, button.PutVoid())) || !button) return;
    switch (s.Input().Choose(3)) {
        case 0: ReadValue<WordBool>(s, [&](WordBool* out) { button->Get_Down(out); }); break;
        case 1: button->Set_Down(s.Input().Flag()); break;
        default: button->SetImage(s.Bitmap()); break;
    }
}

void ComboBoxCall(PackageSession& s) {
    IBdsToolBarControl* control = Control(s);
    if (!control) return;
    s.CountCall();
    rtl::ComPtr<IBdsToolBarComboBox> combo;
    if (FAILED(control->QueryInterface(IID_IBdsToolBarComboBox, combo.PutVoid())) || !combo) return;
    FuzzInput& in = s.Input();
    switch (in.Choose(14)) {
        case 0: ReadValue<WordBool>(s, [&](WordBool* out) { combo->Get_CaptionVisible(out); }); break;
        case 1: combo->Set_CaptionVisible(in.Flag()); break;
        case 2: ReadText(s, [&](BSTR* out) { combo->Get_Text(out); }); break;
        case 3: {
            const TextArgument text = s.Text(ComboItems);
            combo->Set_Text(text);
            break;
        }
        case 4: ReadValue<Integer>(s, [&](Integer* out) { combo->Get_Width(out); }); break;
        case 5: combo->Set_Width(Extent(in)); break;
        case 6: ReadValue<Integer>(s, [&](Integer* out) { combo->Get_ItemCount(out); }); break;
        case 7: ReadValue<Integer>(s, [&](Integer* out) { combo->Get_SelectedItem(out); }); break;
        case 8: combo->Set_SelectedItem(in.Number()); break;
        case 9: {
            const Integer index = in.Number();
            ReadText(s, [&](BSTR* out) { combo->GetItem(index, out); });
            break;
        }
        case 10: {
            const Integer index = in.Number();
            const TextArgument item = s.Text(ComboItems);
            combo->SetItem(index, item);
            break;
        }
        case 11: {
            const TextArgument item = s.Text(ComboItems);
            ReadValue<Integer>(s, [&](Integer* out) { combo->AddItem(item, out); });
            break;
        }
        case 12: combo->RemoveItem(in.Number()); break;
        default: combo->ClearItems(); break;
    }
}

}  // namespace

ActionTable ToolBarActions() {
    return {{"toolbar service", ToolBarServiceCall},
            {"toolbar properties", ToolBarProperties},
            {"toolbar controls", ToolBarControls},
            {"toolbar controls", ToolBarControls},
            {"toolbar control", ControlCall},
            {"toolbar control", ControlCall},
            {"toolbar button", ButtonCall},
            {"toolbar combo box", ComboBoxCall}};
}

}  // namespace fuzz
