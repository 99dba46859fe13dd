// The lobby's four hot-pick tiles below the lobby list: the tables the user joined most recently
// (or, until there are such, tables the server suggests with the game list), kept between runs
// under the "Hotpicks" key beside the options key.
//
// Each operation draws into its first context and copies what changed into the second.
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/lobby/jpeg_image.h"
#include "platform/draw/gdi.h"

// One tile, stored in the registry exactly as it is kept here (180 bytes, little-endian).
struct HotPickSlot {
  uint32_t table_id;       // 0: empty tile
  int32_t game_type;       // the row of the picture strip
  uint32_t open_table_id;  // the table while it is open from the lobby; 0 not open
  char label[32];
  char host[128];
  uint32_t port;
  uint8_t server_id;  // the server-list index
  int8_t age;         // 3 newest ... 0 oldest
  uint8_t real_money;
  uint8_t spare;
};
static_assert(sizeof(HotPickSlot) == 180, "a stored tile is 180 bytes");

class HotPicksPanel {
 public:
  static constexpr int32_t kSlots = 4;
  static constexpr int32_t kTileSize = 96;

  HotPicksPanel();
  virtual ~HotPicksPanel() = default;

  // Once: loads the picture strip and the stored tiles, and draws the tiles that hold a table.
  void Load(platform::HDC back_dc, platform::HDC window_dc, const char* picture_file);
  bool IsLoaded() const { return loaded_; }
  bool NeedsDefaults() const { return needs_defaults_; }
  // The open table's id when the tile has one, else the table the tile holds (0 empty).
  uint32_t GetTableId(int32_t slot) const;
  uint32_t GetOpenTableId(int32_t slot) const;
  int IsRealMoney(int32_t slot) const;
  uint16_t GetServerPort(int32_t slot) const;
  const char* GetServerHost(int32_t slot) const;
  uint8_t GetServerId(int32_t slot) const;
  int32_t GetGameType(int32_t slot) const;
  const HotPickSlot& Slot(int32_t slot) const { return slots_[slot]; }

  // A table window opened: the tile holding the table, else the oldest tile without an open
  // table, shows the game framed in yellow; *slot is that tile or -1.
  void MarkTableOpen(platform::HDC back_dc, platform::HDC window_dc, int32_t* slot,
                     uint32_t table_id, int32_t game_type, int real_money);
  // A table window closed: its tile loses the frame; *slot is that tile or -1.
  void MarkTableClosed(platform::HDC back_dc, platform::HDC window_dc,
                       platform::HDC background_dc, int32_t* slot, uint32_t table_id);
  // The user joined the table open in a tile: the tile keeps it and becomes the newest. With
  // `redraw_only` only the label is drawn again.
  void RememberTable(platform::HDC back_dc, platform::HDC window_dc, uint32_t table_id,
                     const char* label, int redraw_only, int32_t game_type, uint8_t server_id,
                     const char* host, uint16_t port);
  // Joining the table failed: its tile is emptied and becomes the oldest; the tile or -1.
  int32_t ForgetTable(platform::HDC background_dc, platform::HDC back_dc, platform::HDC window_dc,
                      uint32_t table_id);
  // Fills empty tiles, from tile 3 down, with the game list's suggestions (four of each).
  void FillDefaults(platform::HDC back_dc, platform::HDC window_dc, const uint8_t server_ids[4],
                    const char* const hosts[4], const uint16_t ports[4],
                    const uint32_t table_ids[4], const char* const labels[4],
                    const int32_t game_types[4], const uint8_t real_money[4]);
  // Writes the tiles beside the options key; an empty tile's value is deleted.
  void Save();

 private:
  // The game's picture, the frame when `framed`, and the label unless `with_label` is false.
  void DrawTile(platform::HDC dc, platform::HDC copy_dc, int32_t slot, bool framed,
                bool with_label = true);
  void DrawLabel(platform::HDC dc, platform::HDC copy_dc, int32_t slot);
  void RestoreTile(platform::HDC background_dc, platform::HDC dc, platform::HDC copy_dc,
                   int32_t slot);
  void EmptySlot(int32_t slot);

  JpegImage pictures_;
  HotPickSlot slots_[kSlots];
  bool loaded_ = false;
  bool needs_defaults_ = false;
};
