// Drop-down lists (class "COMBOBOX" with CBS_DROPDOWNLIST): a field showing the chosen row and a
// button that opens the list of rows below it (above it when there is no room below).
//
// Closed, the arrow keys, Page Up / Down, Home, End and the first letter of a row change the choice
// at once; F4 or Alt+Down opens the list. Open, the keys and the pointer move a highlight, Enter or a
// click chooses it, Esc, a click elsewhere or the loss of the focus close the list unchanged. A
// changed choice sends CBN_SELCHANGE (CB_SETCURSEL by the program sends nothing); opening and
// closing send CBN_DROPDOWN and CBN_CLOSEUP, taking the focus CBN_SETFOCUS. The open list is a
// window of the parent, so it shows inside the parent's client area only; the template height of
// the control (field and list together) sets how many rows it shows at once.
#pragma once

namespace platform::controls {

void RegisterComboBoxClasses();

}  // namespace platform::controls
