// What a user sees of the IDE's menus and toolbars, as transcript lines: one item or control
// per line, children indented under their parent.
#pragma once

#include "host/Transcript.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Controls.h"
#include "platform/ide/DockForm.h"
#include "sim/EditorArea.h"

namespace host {

// The item's line, then every item below it.
void PrintMenuTree(Transcript& transcript, const vcl::TMenuItem& item);
// The toolbar's line, then its controls in button order.
void PrintToolBar(Transcript& transcript, const vcl::TToolBar& toolBar);
// The windows inside the control's window, as a user would find them: class (the control's
// class for the IDE's own), caption, visibility, position in the parent and size; children
// indented under their parent, siblings by class and caption.
void PrintWindowTree(Transcript& transcript, vcl::TWinControl& top);
// The first windowed control of that class below `parent`, depth first; nil if none.
vcl::TWinControl* FindByClassName(vcl::TWinControl& parent, const String& className);
// One line per open module: file name, the file system it lives in, modified or saved.
void PrintModules(Transcript& transcript, sim::EditorArea& modules);
// One line per editor tab as the tab set paints it: caption, image index and overlay (asked of
// the tab set's handlers, as a repaint does), the selected tab marked.
void PrintTabs(Transcript& transcript, sim::GradientTabSet& tabs);
// A tool window's line: caption, desk section, floating or docked, visible or hidden, active,
// whether it has an icon; then the windows it hosts, as PrintWindowTree prints them.
void PrintToolWindow(Transcript& transcript, ide::TDockableForm& form);
// Whether the IDE's Object Inspector shows: its form and the inspector inside.
void PrintObjectInspector(Transcript& transcript, vcl::TCustomForm& form);
// Whether that tree holds a window of the class (as printed, without case) and, when given,
// of exactly that caption.
bool WindowTreeHas(vcl::TWinControl& top, const String& className, const String* caption);

}  // namespace host
