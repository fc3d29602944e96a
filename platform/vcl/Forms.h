// The application object: the message event that sees every message the IDE's loop is about
// to dispatch, and the entry to the IDE's help system.
#pragma once

#include <functional>

#include "platform/vcl/Classes.h"

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

// The IDE's one application object; nil outside an IDE.
TApplication* Application();
void SetApplication(TApplication* application);

}  // namespace vcl
