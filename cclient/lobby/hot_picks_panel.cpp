#include "cclient/lobby/hot_picks_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "cclient/base/core_access.h"
#include "cclient/base/options.h"
#include "platform/system/registry.h"
#include "platform/text/text.h"

namespace {

constexpr int32_t kTileLeft = 244;
constexpr int32_t kTileTop = 413;
constexpr int32_t kTileStep = 99;
constexpr int32_t kLabelTop = 456;
constexpr int32_t kLabelBottom = 482;
constexpr int32_t kOneLineHeight = 17;
constexpr int32_t kOneLineDrop = 6;
constexpr platform::COLORREF kFrameColour = platform::RGB(255, 255, 0);
constexpr platform::COLORREF kLabelShadow = platform::RGB(32, 32, 32);
constexpr platform::COLORREF kLabelColour = platform::RGB(255, 255, 255);

std::string ValueName(int32_t slot) {
  char name[16];
  std::snprintf(name, sizeof name, "%s%d", Main_IsPlayMoneyEdition() ? "Hotpicp" : "Hotpick", slot);
  return name;
}

int32_t TileX(int32_t slot) { return kTileLeft + kTileStep * slot; }

void CopyArea(platform::HDC to, platform::HDC from, int32_t x, int32_t y, int32_t width,
              int32_t height) {
  if (to == nullptr || from == nullptr) return;
  platform::BitBlt(to, x, y, width, height, from, x, y, platform::SRCCOPY);
}

bool InRange(int32_t slot) { return slot >= 0 && slot < HotPicksPanel::kSlots; }

}  // namespace

HotPicksPanel::HotPicksPanel() {
  for (int32_t slot = 0; slot < kSlots; ++slot) {
    slots_[slot] = HotPickSlot{};
    slots_[slot].game_type = -1;
  }
}

void HotPicksPanel::EmptySlot(int32_t slot) {
  slots_[slot].table_id = 0;
  slots_[slot].open_table_id = 0;
}

void HotPicksPanel::Load(platform::HDC back_dc, platform::HDC window_dc,
                         const char* picture_file) {
  if (loaded_) return;
  (void)pictures_.Load(back_dc, picture_file);
  const std::string key_path = Registry_SiblingKeyPath("Hotpicks");
  platform::HKEY key = nullptr;
  const bool opened =
      platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_READ, nullptr,
                               &key, nullptr) == platform::ERROR_SUCCESS;
  for (int32_t slot = 0; slot < kSlots; ++slot) {
    HotPickSlot stored{};
    uint32_t type = 0;
    uint32_t size = sizeof stored;
    const bool good =
        opened &&
        platform::RegQueryValueEx(key, ValueName(slot).c_str(), nullptr, &type,
                                  reinterpret_cast<uint8_t*>(&stored),
                                  &size) == platform::ERROR_SUCCESS &&
        type == platform::REG_BINARY && size == sizeof stored && stored.spare == 0;
    if (!good) {
      EmptySlot(slot);
      needs_defaults_ = true;
      continue;
    }
    stored.label[sizeof stored.label - 1] = '\0';
    stored.host[sizeof stored.host - 1] = '\0';
    stored.open_table_id = 0;  // no table window is open at start
    slots_[slot] = stored;
  }
  if (opened) platform::RegCloseKey(key);
  // The ages are an order: whatever was stored, make them 0-3 again, keeping their order (ties
  // by tile).
  int32_t order[kSlots] = {0, 1, 2, 3};
  std::stable_sort(order, order + kSlots,
                   [this](int32_t a, int32_t b) { return slots_[a].age < slots_[b].age; });
  for (int32_t rank = 0; rank < kSlots; ++rank) slots_[order[rank]].age = static_cast<int8_t>(rank);
  for (int32_t slot = 0; slot < kSlots; ++slot) {
    if (slots_[slot].table_id != 0) DrawTile(back_dc, window_dc, slot, false);
  }
  loaded_ = true;
}

void HotPicksPanel::Save() {
  const std::string key_path = Registry_SiblingKeyPath("Hotpicks");
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_WRITE, nullptr,
                               &key, nullptr) != platform::ERROR_SUCCESS) {
    return;
  }
  for (int32_t slot = 0; slot < kSlots; ++slot) {
    const std::string name = ValueName(slot);
    if (slots_[slot].table_id != 0) {
      HotPickSlot stored = slots_[slot];
      stored.spare = 0;
      (void)platform::RegSetValueEx(key, name.c_str(), 0, platform::REG_BINARY,
                                    reinterpret_cast<const uint8_t*>(&stored), sizeof stored);
    } else {
      (void)platform::RegDeleteValue(key, name.c_str());
    }
  }
  platform::RegCloseKey(key);
}

uint32_t HotPicksPanel::GetTableId(int32_t slot) const {
  if (!InRange(slot)) return 0;
  return slots_[slot].open_table_id != 0 ? slots_[slot].open_table_id : slots_[slot].table_id;
}
uint32_t HotPicksPanel::GetOpenTableId(int32_t slot) const {
  return InRange(slot) ? slots_[slot].open_table_id : 0;
}
int HotPicksPanel::IsRealMoney(int32_t slot) const {
  return InRange(slot) ? slots_[slot].real_money : 0;
}
uint16_t HotPicksPanel::GetServerPort(int32_t slot) const {
  return InRange(slot) ? static_cast<uint16_t>(slots_[slot].port) : 0;
}
const char* HotPicksPanel::GetServerHost(int32_t slot) const {
  return InRange(slot) ? slots_[slot].host : "";
}
uint8_t HotPicksPanel::GetServerId(int32_t slot) const {
  return InRange(slot) ? slots_[slot].server_id : 0;
}
int32_t HotPicksPanel::GetGameType(int32_t slot) const {
  return InRange(slot) ? slots_[slot].game_type : -1;
}

void HotPicksPanel::DrawTile(platform::HDC dc, platform::HDC copy_dc, int32_t slot, bool framed,
                             bool with_label) {
  if (dc == nullptr) return;
  const int32_t x = TileX(slot);
  const int32_t game = slots_[slot].game_type;
  if (pictures_.GetDC() != nullptr && game >= 0 &&
      (game + 1) * kTileSize <= pictures_.GetHeight()) {
    platform::BitBlt(dc, x, kTileTop, kTileSize, kTileSize, pictures_.GetDC(), 0, game * kTileSize,
                     platform::SRCCOPY);
  }
  if (framed) {
    const platform::HBRUSH brush = platform::CreateSolidBrush(kFrameColour);
    for (int32_t inset = 0; inset < 2; ++inset) {
      const platform::RECT frame = {x + inset, kTileTop + inset, x + kTileSize - inset,
                                    kTileTop + kTileSize - inset};
      platform::FrameRect(dc, &frame, brush);
    }
    platform::DeleteObject(brush);
  }
  CopyArea(copy_dc, dc, x, kTileTop, kTileSize, kTileSize);
  if (with_label) DrawLabel(dc, copy_dc, slot);
}

void HotPicksPanel::DrawLabel(platform::HDC dc, platform::HDC copy_dc, int32_t slot) {
  if (dc == nullptr) return;
  const char* label = slots_[slot].label;
  platform::RECT rect = {TileX(slot) + 1, kLabelTop, TileX(slot) + kTileSize, kLabelBottom};
  platform::RECT measured = rect;
  const uint32_t format = platform::DT_CENTER | platform::DT_WORDBREAK | platform::DT_NOPREFIX;
  const int32_t height = platform::DrawText(dc, label, -1, &measured, format | platform::DT_CALCRECT);
  if (height < kOneLineHeight) {
    rect.top += kOneLineDrop;
    rect.bottom += kOneLineDrop;
  }
  const int32_t old_mode = platform::SetBkMode(dc, platform::TRANSPARENT);
  const platform::COLORREF old_colour = platform::SetTextColor(dc, kLabelShadow);
  (void)platform::DrawText(dc, label, -1, &rect, format);
  platform::RECT raised = {rect.left - 1, rect.top - 1, rect.right - 1, rect.bottom - 1};
  platform::SetTextColor(dc, kLabelColour);
  (void)platform::DrawText(dc, label, -1, &raised, format);
  platform::SetTextColor(dc, old_colour);
  platform::SetBkMode(dc, old_mode);
  CopyArea(copy_dc, dc, TileX(slot), kLabelTop - 1, kTileSize + 1,
           kLabelBottom + kOneLineDrop - kLabelTop + 2);
}

void HotPicksPanel::RestoreTile(platform::HDC background_dc, platform::HDC dc,
                                platform::HDC copy_dc, int32_t slot) {
  for (platform::HDC to : {dc, copy_dc}) {
    CopyArea(to, background_dc, TileX(slot), kTileTop, kTileSize, kTileSize);
  }
}

void HotPicksPanel::MarkTableOpen(platform::HDC back_dc, platform::HDC window_dc, int32_t* slot,
                                  uint32_t table_id, int32_t game_type, int real_money) {
  int32_t chosen = -1;
  for (int32_t i = 0; i < kSlots && chosen < 0; ++i) {
    if (slots_[i].table_id == table_id && table_id != 0) chosen = i;
  }
  for (int8_t age = 0; age < kSlots && chosen < 0; ++age) {
    for (int32_t i = 0; i < kSlots && chosen < 0; ++i) {
      if (slots_[i].age == age && slots_[i].open_table_id == 0) chosen = i;
    }
  }
  *slot = chosen;
  if (chosen < 0) return;
  HotPickSlot& tile = slots_[chosen];
  tile.open_table_id = table_id;
  tile.real_money = real_money != 0 ? 1 : 0;
  const int32_t shown_game = tile.game_type;
  tile.game_type = game_type;
  // A tile taken over from another table keeps no trace of that table's label; the joined
  // table's own label comes with `RememberTable`.
  DrawTile(back_dc, window_dc, chosen, true, tile.table_id == table_id);
  if (tile.table_id != table_id) tile.game_type = shown_game;
}

void HotPicksPanel::MarkTableClosed(platform::HDC back_dc, platform::HDC window_dc,
                                    platform::HDC background_dc, int32_t* slot,
                                    uint32_t table_id) {
  int32_t found = -1;
  for (int32_t i = 0; i < kSlots && found < 0; ++i) {
    if (slots_[i].open_table_id == table_id && table_id != 0) found = i;
  }
  *slot = found;
  if (found < 0) return;
  slots_[found].open_table_id = 0;
  RestoreTile(background_dc, back_dc, window_dc, found);
  if (slots_[found].table_id != 0) DrawTile(back_dc, window_dc, found, false);
}

void HotPicksPanel::RememberTable(platform::HDC back_dc, platform::HDC window_dc,
                                  uint32_t table_id, const char* label, int redraw_only,
                                  int32_t game_type, uint8_t server_id, const char* host,
                                  uint16_t port) {
  int32_t found = -1;
  for (int32_t i = 0; i < kSlots && found < 0; ++i) {
    if (slots_[i].open_table_id == table_id && table_id != 0) found = i;
  }
  if (found < 0) return;
  HotPickSlot& tile = slots_[found];
  if (redraw_only == 0) {
    tile.table_id = table_id;
    tile.game_type = game_type;
    std::snprintf(tile.label, sizeof tile.label, "%s", label != nullptr ? label : "");
    tile.server_id = server_id;
    std::snprintf(tile.host, sizeof tile.host, "%s", host != nullptr ? host : "");
    tile.port = port;
    for (HotPickSlot& other : slots_) {
      if (other.age > tile.age) --other.age;
    }
    tile.age = kSlots - 1;
  }
  // The label goes onto a fresh picture: drawn over an earlier label (another table's, or its
  // own drawn again) the two would run into each other.
  DrawTile(back_dc, window_dc, found, true);
}

int32_t HotPicksPanel::ForgetTable(platform::HDC background_dc, platform::HDC back_dc,
                                   platform::HDC window_dc, uint32_t table_id) {
  int32_t found = -1;
  for (int32_t i = 0; i < kSlots && found < 0; ++i) {
    if (slots_[i].table_id == table_id && table_id != 0) found = i;
  }
  if (found < 0) return -1;
  RestoreTile(background_dc, back_dc, window_dc, found);
  HotPickSlot& tile = slots_[found];
  for (HotPickSlot& other : slots_) {
    if (other.age < tile.age) ++other.age;
  }
  tile.age = 0;
  tile.table_id = 0;
  return found;
}

void HotPicksPanel::FillDefaults(platform::HDC back_dc, platform::HDC window_dc,
                                 const uint8_t server_ids[4], const char* const hosts[4],
                                 const uint16_t ports[4], const uint32_t table_ids[4],
                                 const char* const labels[4], const int32_t game_types[4],
                                 const uint8_t real_money[4]) {
  for (int32_t pick = kSlots - 1; pick >= 0; --pick) {
    const uint32_t table_id = table_ids[pick];
    if (table_id == 0) continue;
    bool held = false;
    for (const HotPickSlot& tile : slots_) held = held || tile.table_id == table_id;
    if (held) continue;
    int32_t empty = -1;
    for (int32_t i = kSlots - 1; i >= 0 && empty < 0; --i) {
      if (slots_[i].table_id == 0) empty = i;
    }
    if (empty < 0) break;
    HotPickSlot& tile = slots_[empty];
    tile.server_id = server_ids[pick];
    std::snprintf(tile.host, sizeof tile.host, "%s", hosts[pick] != nullptr ? hosts[pick] : "");
    tile.port = ports[pick];
    tile.table_id = table_id;
    tile.game_type = game_types[pick];
    tile.real_money = real_money[pick] != 0 ? 1 : 0;
    if (labels[pick] != nullptr && labels[pick][0] == '$') {
      std::snprintf(tile.label, sizeof tile.label, "%s", labels[pick]);
    }
    DrawTile(back_dc, window_dc, empty, false);
  }
  needs_defaults_ = false;
}
