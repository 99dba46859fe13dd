// The modal message box.
//
// Shows `text` with an icon and one or two buttons (MB_OK, MB_OKCANCEL, MB_YESNO; MB_DEFBUTTON2
// makes the second button the default; MB_ICONSTOP / QUESTION / EXCLAMATION / INFORMATION) and
// returns the id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO). Enter chooses the focused
// button (the default one at first), Esc chooses Cancel (OK in an OK box), Tab and the arrow keys
// move between the buttons.
//
// While the box is open its owner (when it has one) is disabled, and the box runs a message loop of
// its own in which every other window keeps getting its timers, posted messages and paints;
// messages for other windows are offered to the pre-translation hook first. A box may open while
// another is open. MB_TOPMOST and MB_SYSTEMMODAL keep the box above other windows. When the loop
// meets WM_QUIT the box closes, returns 0 and the quit is posted again for the outer loop.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

namespace platform {

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags);

}  // namespace platform
