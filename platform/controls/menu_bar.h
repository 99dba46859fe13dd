// The menu bar of top-level windows: drawing the band, opening drop-down menus and following the
// pointer and the keys while a menu is open.
//
// While a menu is open a hidden child of the window holds the keyboard focus and the pointer, so
// every key and click reaches the menu; the drop-down menus are shown as children of the window
// (inside its client area, just under the band). Closing the menu gives the focus back.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

namespace platform::controls {

// Registers the menu windows' classes and hands the band's drawing and input to the window core.
void InstallMenuBar();

// A menu's items changed: the bands showing it and the open drop-down menus are drawn again.
void MenuChanged(HMENU menu);
// The menu is about to be destroyed: a menu opened from it closes.
void MenuDestroyed(HMENU menu);

}  // namespace platform::controls
