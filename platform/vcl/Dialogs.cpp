#include "platform/vcl/Dialogs.h"

#include <utility>

#include "platform/win32/Observed.h"

namespace vcl {
namespace {

DialogHook& dialogHook() {
    static DialogHook hook;
    return hook;
}

int Show(const DialogRequest& request) {
    if (dialogHook()) return dialogHook()(request);
    // Without a recorder the platform's message box is the closest thing to a dialog.
    const UINT icon = request.type == TMsgDlgType::mtWarning ? MB_ICONWARNING
                      : request.type == TMsgDlgType::mtError ? MB_ICONERROR
                                                             : 0;
    win32::ShowMessageBox(GetForegroundWindow(), request.text, u"", MB_OK | icon);
    return mrOk;
}

}  // namespace

DialogHook SetDialogHook(DialogHook hook) { return std::exchange(dialogHook(), std::move(hook)); }

void ShowMessage(const String& text) { Show({true, text, TMsgDlgType::mtCustom, mbOK, 0}); }

int MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int helpContext) {
    return Show({false, text, type, buttons, helpContext});
}

}  // namespace vcl
