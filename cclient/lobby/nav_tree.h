// The lobby's navigation tree: the panel on the left whose leaves choose the sub-lobby shown
// (each game's ring games by money and limit kind, and the tournament lists).
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

class NavTree {
 public:
  // Builds the panel's rows and buttons and its stored selection.
  void Create(platform::HDC dc, int32_t flag);
  // The selected entry; -1 none.
  int32_t GetSelectedEntry() const;
  // The panel's buttons follow the mouse as a button list's do.
  int OnMouseDown(int32_t x, int32_t y);
  int OnMouseMove(int32_t x, int32_t y, bool left_button_held);
  // Ends a press; a leaf chosen under (x, y) posts the main window's sub-lobby switch with the
  // entry.
  void OnMouseUp(int32_t x, int32_t y);
  // Whether a button of the panel needs a repaint.
  bool IsAnyDirty() const;
  // Steps the slide animation; true when the panel must be redrawn.
  bool Animate(uint32_t now_ms);
  // Draws the panel into the back buffer and copies it to the window.
  void DrawPanel(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc);
};

// The program's navigation tree.
NavTree& GlobalNavTree();

// What an entry chooses: the sub-lobby (0-11), the money kind (0 real, 1 play, 2 any), the limit
// kind (0 limit, 1 no limit, 2 any) and the tournament family (0 Hold'em, 1 Pan, 2 not a
// tournament entry).
int32_t NavTree_GetGameKind(int32_t entry);
int32_t NavTree_GetMoneyKind(int32_t entry);
int32_t NavTree_GetLimitKind(int32_t entry);
int32_t NavTree_GetTourneyFamily(int32_t entry);
