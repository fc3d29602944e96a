// How the windows subsystem reaches into the IDE beyond the Open Tools API: the current edit
// view and edit window, controls of the edit window's form picked by run-time class name, the
// Object Inspector's window, IDE modules by file name, and three pieces of the IDE's user
// interface that package documents hide while they are on top. Every lookup answers a miss
// with nil or does nothing; the IDE's objects stay the IDE's.
#pragma once

#include "platform/ide/ToolsAPI.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Controls.h"

namespace korvel {

using rtl::String;

// The top edit view, else the first view of the first module whose last file editor is a
// source editor with views.
rtl::ComPtr<ide::IOTAEditView> GetAnyOTAEditView();
vcl::TStatusBar* GetEditorStatusBar();
// Shows or hides the status bar's container, not the status bar itself.
void SetEditorStatusBarVisibility(bool visible);
// The first component of the edit window's form with that class name.
vcl::TComponent* GetEditorTabSet(const String& className);
vcl::TWinControl* GetObjectInspectorWindow();
// The parent of the top edit window's edit control.
vcl::TWinControl* GetDocumentParentCtrl();
// Module `index` if its file name is `fileName`, else the module of that name; nil for an
// index outside the module list.
rtl::ComPtr<ide::IOTAModule> FindOTAModule(const String& fileName, int index);
void NewEditWindowActionVisible(bool visible);
void MessageViewEditorMenuVisble(bool visible);

}  // namespace korvel
