// Inside the menu code: what a menu holds. UI thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/control_types.h"

namespace platform::controls {

struct MenuItemRecord {
  std::string text;
  UINT id = 0;
  UINT state = 0;           // MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_SEPARATOR
  HMENU submenu = nullptr;  // owned: the drop-down menu this item opens

  bool IsSeparator() const { return (state & MF_SEPARATOR) != 0; }
  bool IsGreyed() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
};

// The menu behind the handle when it is a live menu, else nullptr.
MenuObject* FindMenu(HMENU menu);

}  // namespace platform::controls

// What an HMENU points at.
struct platform::MenuObject {
  std::vector<platform::controls::MenuItemRecord> items;
};
