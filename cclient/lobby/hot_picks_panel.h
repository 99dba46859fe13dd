// The lobby's four hot-pick slots: tables the user joined, kept between runs.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class HotPicksPanel {
 public:
  // Loads the panel's picture and the stored slots.
  void Load(platform::HDC back_dc, platform::HDC window_dc, const char* picture_file);
  bool IsLoaded() const;
  // The table a slot holds (0 empty) and the one of a slot that is open (0 none).
  uint32_t GetTableId(int32_t slot) const;
  uint32_t GetOpenTableId(int32_t slot) const;
  int IsRealMoney(int32_t slot) const;
  uint16_t GetServerPort(int32_t slot) const;
  const char* GetServerHost(int32_t slot) const;
  uint8_t GetServerId(int32_t slot) const;
  int32_t GetGameType(int32_t slot) const;
  // Marks the slot that holds the table open or closed; *slot is -1 when none holds it.
  void MarkTableOpen(platform::HDC back_dc, platform::HDC window_dc, int32_t* slot,
                     uint32_t table_id, int32_t game_type, int real_money);
  void MarkTableClosed(platform::HDC back_dc, platform::HDC window_dc,
                       platform::HDC background_dc, int32_t* slot, uint32_t table_id);
  // Keeps a joined table in a slot.
  void RememberTable(platform::HDC back_dc, platform::HDC window_dc, uint32_t table_id,
                     const char* label, int redraw_only, int32_t game_type, uint8_t server_id,
                     const char* host, uint16_t port);
  // Blanks the slot of a table; the slot, or a value outside 0-3 when none held it.
  int32_t ForgetTable(platform::HDC background_dc, platform::HDC back_dc, platform::HDC window_dc,
                      uint32_t table_id);
  // Writes the slots to the "Hotpicks" key beside the options key.
  void Save();
};
