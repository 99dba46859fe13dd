#include "platform/controls/menu.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "platform/controls/common_controls.h"
#include "platform/controls/menu_bar.h"
#include "platform/controls/menu_object.h"

namespace platform {

namespace controls {

namespace {

// Every live menu, so that a stale handle is recognised and refused.
std::set<HMENU>& LiveMenus() {
  static std::set<HMENU> menus;
  return menus;
}

HMENU NewMenu() {
  auto* menu = new MenuObject;
  LiveMenus().insert(menu);
  return menu;
}

void FreeMenu(HMENU menu) {
  if (LiveMenus().erase(menu) == 0) return;
  for (MenuItemRecord& item : menu->items) FreeMenu(item.submenu);
  delete menu;
}

// Reads the items of one menu from `*position` up to its MF_END item. False when the table ends
// first.
bool ReadMenu(std::span<const MenuItemTemplate> items, size_t* position, HMENU menu) {
  while (*position < items.size()) {
    const MenuItemTemplate& source = items[(*position)++];
    MenuItemRecord item;
    item.text = source.text != nullptr ? source.text : "";
    item.id = source.id;
    item.state = source.flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR);
    if (item.text.empty() && (source.flags & MF_POPUP) == 0) item.state |= MF_SEPARATOR;
    if ((source.flags & MF_POPUP) != 0) {
      item.submenu = NewMenu();
      menu->items.push_back(std::move(item));
      if (!ReadMenu(items, position, menu->items.back().submenu)) return false;
    } else {
      menu->items.push_back(std::move(item));
    }
    if ((source.flags & MF_END) != 0) return true;
  }
  return false;
}

// Finds an item by position in `menu`, or by command id anywhere below it.
MenuItemRecord* FindItem(HMENU menu, UINT item, UINT flags) {
  MenuObject* record = FindMenu(menu);
  if (record == nullptr) return nullptr;
  if ((flags & MF_BYPOSITION) != 0) {
    return item < record->items.size() ? &record->items[item] : nullptr;
  }
  for (MenuItemRecord& candidate : record->items) {
    if (candidate.submenu != nullptr) {
      if (MenuItemRecord* found = FindItem(candidate.submenu, item, flags)) return found;
    } else if (!candidate.IsSeparator() && candidate.id == item) {
      return &candidate;
    }
  }
  return nullptr;
}

}  // namespace

MenuObject* FindMenu(HMENU menu) { return LiveMenus().count(menu) != 0 ? menu : nullptr; }

}  // namespace controls

using controls::FindItem;
using controls::FindMenu;
using controls::MenuItemRecord;

HMENU LoadMenuIndirect(std::span<const MenuItemTemplate> items) {
  InitCommonControls();
  const HMENU bar = controls::NewMenu();
  size_t position = 0;
  if (items.empty() || !controls::ReadMenu(items, &position, bar) || position != items.size()) {
    controls::FreeMenu(bar);
    return nullptr;
  }
  return bar;
}

bool DestroyMenu(HMENU menu) {
  if (FindMenu(menu) == nullptr) return false;
  controls::MenuDestroyed(menu);
  controls::FreeMenu(menu);
  return true;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItemRecord* record = FindItem(menu, item, flags);
  if (record == nullptr) return kMenuItemNotFound;
  const UINT previous = record->state & MF_CHECKED;
  record->state = (record->state & ~MF_CHECKED) | (flags & MF_CHECKED);
  if (previous != (record->state & MF_CHECKED)) controls::MenuChanged(menu);
  return previous;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItemRecord* record = FindItem(menu, item, flags);
  if (record == nullptr) return kMenuItemNotFound;
  constexpr UINT kGreyBits = MF_GRAYED | MF_DISABLED;
  const UINT previous = record->state & kGreyBits;
  record->state = (record->state & ~kGreyBits) | (flags & kGreyBits);
  if (previous != (record->state & kGreyBits)) controls::MenuChanged(menu);
  return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  const MenuItemRecord* record = FindItem(menu, item, flags);
  if (record == nullptr) return kMenuItemNotFound;
  return record->state | (record->submenu != nullptr ? MF_POPUP : 0);
}

HMENU GetSubMenu(HMENU menu, int position) {
  const MenuItemRecord* record = FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
  return (position >= 0 && record != nullptr) ? record->submenu : nullptr;
}

int GetMenuItemCount(HMENU menu) {
  const MenuObject* record = FindMenu(menu);
  return record != nullptr ? static_cast<int>(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  const MenuItemRecord* record = FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
  if (position < 0 || record == nullptr || record->submenu != nullptr) return kMenuItemNotFound;
  return record->id;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int buffer_size, UINT flags) {
  const MenuItemRecord* record = FindItem(menu, item, flags);
  if (record == nullptr || buffer == nullptr || buffer_size <= 0) return 0;
  const size_t length = std::min(record->text.size(), static_cast<size_t>(buffer_size - 1));
  std::memcpy(buffer, record->text.data(), length);
  buffer[length] = 0;
  return static_cast<int>(length);
}

}  // namespace platform
