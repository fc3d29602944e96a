// The library's message dialogs. The IDE shows them modally; the simulated IDE records them.
#pragma once

#include <functional>

#include "platform/vcl/Classes.h"

namespace vcl {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct DialogRequest {
    bool plainMessage;  // ShowMessage rather than MessageDlg
    String text;
    TMsgDlgType type;
    unsigned buttons;
    int helpContext;
};
using DialogHook = std::function<int(const DialogRequest& request)>;
DialogHook SetDialogHook(DialogHook hook);

void ShowMessage(const String& text);
int MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int helpContext);

}  // namespace vcl
