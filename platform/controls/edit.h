// Edits (class "EDIT"): single-line (optionally masked for passwords) and multi-line text fields.
//
// The user types, deletes, moves the caret (arrows, Home, End, Page Up / Down, with Shift to
// select), selects with the mouse, and cuts, copies and pastes with the program's own clipboard
// (Ctrl+X / C / V, Ctrl+A selects everything). The limit (EM_LIMITTEXT; 32,767 characters for a
// single-line edit and none for a multi-line one until the program sets one) stops typing and
// pasting; text the program sets is never cut. Every change of the text, by the user or by the
// program (WM_SETTEXT, EM_REPLACESEL), sends EN_CHANGE; taking the focus sends EN_SETFOCUS.
// A read-only edit shows its text on the face colour and allows selecting and copying only.
// A multi-line edit breaks its lines at CR LF and between words, scrolls to keep the caret in view
// and, with WS_VSCROLL, has a scroll bar along its right edge.
#pragma once

namespace platform::controls {

void RegisterEditClass();

}  // namespace platform::controls
