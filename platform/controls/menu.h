// Menus: a menu bar for a top-level window made from a table, with drop-down menus, check marks
// and greyed items.
//
// A table lists the items in order. An item with MF_POPUP opens a drop-down menu made of the items
// that follow it, up to and including the one marked MF_END; the bar itself ends at its own item
// marked MF_END. Separators (MF_SEPARATOR) draw a line; MF_CHECKED and MF_GRAYED give the starting
// state.
//
//   constexpr MenuItemTemplate kMainMenu[] = {
//       {"File", 0, MF_POPUP},
//           {"Log In...", 1003},
//           {nullptr, 0, MF_SEPARATOR},
//           {"Logout and Exit", 105, MF_END},
//       {"Options", 0, MF_POPUP | MF_END},
//           {"Enable Sounds", 32773, MF_CHECKED | MF_END},
//   };
//   SetMenu(main_window, LoadMenuIndirect(kMainMenu));
//
// Choosing an item (a click, or Enter after Alt, the arrows or Alt with the first letter of a menu)
// posts WM_COMMAND to the window with the item's id in the low word of wParam (high word 0,
// lParam 0). Greyed items and separators cannot be chosen. The window keeps using a menu after
// SetMenu; destroy it with DestroyMenu once no window shows it.
//
// UI thread only. Every call accepts an invalid or destroyed handle and then fails.
#pragma once

#include <cstddef>
#include <span>

#include "platform/controls/control_types.h"

namespace platform {

struct MenuItemTemplate {
  const char* text = nullptr;  // nullptr or "" for a separator
  UINT id = 0;
  UINT flags = 0;  // MF_POPUP, MF_END, MF_SEPARATOR, MF_CHECKED, MF_GRAYED, MF_DISABLED
};

// Builds the menu bar of the table; nullptr when the table is malformed (a menu without its MF_END,
// or items after the bar's last one).
HMENU LoadMenuIndirect(std::span<const MenuItemTemplate> items);
// Destroys the menu and its drop-down menus.
bool DestroyMenu(HMENU menu);

// `item` is a command id (MF_BYCOMMAND, searched in the drop-down menus as well) or a position in
// `menu` (MF_BYPOSITION). Each returns the item's previous state (MF_CHECKED / MF_UNCHECKED, or
// MF_ENABLED / MF_GRAYED / MF_DISABLED), kMenuItemNotFound when there is no such item.
UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
// MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_SEPARATOR and MF_POPUP bits of the item, or
// kMenuItemNotFound.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);

HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);  // -1 for a bad handle
UINT GetMenuItemID(HMENU menu, int position);  // kMenuItemNotFound for a drop-down menu or a bad position
// The item's text (without terminator) into `buffer`; returns its length, 0 when there is none.
int GetMenuString(HMENU menu, UINT item, char* buffer, int buffer_size, UINT flags);

}  // namespace platform
