// The application object: the message event that sees every message the IDE's loop is about
// to dispatch, and the entry to the IDE's help system.
#pragma once

#include <functional>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Controls.h"

namespace vcl {

// Handled = true keeps the message from being dispatched.
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using THelpKeywordHandler = std::function<bool(const String& keyword)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner) : TComponent(owner) {}
    KORVEL_VCL_CLASS(TApplication)

    TMessageEvent OnMessage;

    // Shows the help topic for the keyword through the installed help system.
    bool HelpKeyword(const String& keyword);
    void SetHelpSystem(THelpKeywordHandler handler) { helpSystem_ = std::move(handler); }

private:
    THelpKeywordHandler helpSystem_;
};

// A window of its own on the desktop; hidden until shown.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner) : TWinControl(owner) { SetVisible(false); }
    KORVEL_VCL_CLASS(TCustomForm)
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    KORVEL_VCL_CLASS(TForm)
};

// A container of controls that is placed inside another control.
class TFrame : public TWinControl {
public:
    using TWinControl::TWinControl;
    KORVEL_VCL_CLASS(TFrame)
};

// The IDE's one application object; nil outside an IDE.
TApplication* Application();
void SetApplication(TApplication* application);

}  // namespace vcl
