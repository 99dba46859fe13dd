// Keyboard navigation of modeless dialogs: the pre-translation step that gives keys their dialog
// meaning.
//
// IsDialogMessage takes every message meant for the dialog or one of its controls: Tab and
// Shift+Tab move the focus through the controls with WS_TABSTOP (selecting an edit's text), the
// arrow keys move within a group (from a control with WS_GROUP to the next one; a radio button
// reached this way is clicked), Enter clicks the focused push button or else the default one
// (DM_GETDEFID, IDOK unless the template says otherwise), and Esc sends IDCANCEL. A disabled
// default or Cancel button makes Enter or Esc do nothing. A control keeps the keys it asks for
// through WM_GETDLGCODE (an edit its arrows, a multi-line edit with ES_WANTRETURN its Enter).
// Every other message of the dialog is translated and dispatched by IsDialogMessage itself.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

namespace platform {

// True when the message belonged to the dialog (it has then been handled): the caller's loop must
// neither translate nor dispatch it.
bool IsDialogMessage(HWND dialog, MSG* msg);

// The next (or previous) shown, enabled control with WS_TABSTOP after `control` (nullptr: from the
// start), wrapping round; nullptr when there is none.
HWND GetNextDlgTabItem(HWND dialog, HWND control, bool previous);
// The next (or previous) shown, enabled control of the group that holds `control`, wrapping round
// within the group.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, bool previous);

}  // namespace platform
