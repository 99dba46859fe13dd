// The lobby's navigation tree: the panel on the left whose leaves choose the sub-lobby shown
// (each game's ring games by money and limit kind, and the tournament lists).
//
// The panel at (7, 114), 220 x 290, holds 49 fixed rows: two roots (real money, play money), under
// each a few groups, and under each group the leaves. One leaf per group is locked down (its
// button drawn down); within one parent at most one group is expanded, and expanding or
// collapsing slides the rows below over 300 ms. The expanded and locked-down states are kept in
// the registry under the options key.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/button_list.h"
#include "platform/draw/gdi.h"
#include "platform/window/window_types.h"

// What a leaf chooses: the sub-lobby. Not the same numbers as the game types of the servers'
// lists.
enum NavGameKind : int32_t {
  NAV_KIND_HOLDEM = 0,
  NAV_KIND_OMAHA = 1,
  NAV_KIND_SEVEN_CARD_STUD = 2,
  NAV_KIND_GUTS = 3,
  NAV_KIND_CHINESE_POKER = 4,
  NAV_KIND_BIG_2 = 5,
  NAV_KIND_PAN = 6,
  NAV_KIND_BLACK_JACK = 7,
  NAV_KIND_ANNOUNCED_TOURNEYS = 8,
  NAV_KIND_REGULAR_TOURNEYS = 9,
  NAV_KIND_RUNNING_TOURNEYS = 10,
  NAV_KIND_COMPLETED_TOURNEYS = 11,
};

// One row of the tree.
struct NavEntry {
  uint32_t level;  // 0 root, 1 group, 2 leaf
  char normal_file[16];
  char hover_file[16];
  char down_file[16];
  NavGameKind game_kind;
  uint32_t money_kind;       // 0 real money, 1 play money, 2 not applicable
  uint32_t limit_kind;       // 0 limit, 1 no limit, 2 any
  uint32_t tourney_family;   // 0 Hold'em, 1 Pan, 2 not applicable
  uint8_t has_children;
  uint8_t separator;
};

class NavTree : public ButtonList {
 public:
  static constexpr int32_t kRows = 49;
  static constexpr int32_t kPanelLeft = 7;
  static constexpr int32_t kPanelTop = 114;
  static constexpr int32_t kPanelWidth = 220;
  static constexpr int32_t kPanelHeight = 290;
  static constexpr int32_t kPanelBottom = 403;  // the last row of pixels drawn
  static constexpr uint32_t kSlideMs = 300;

  NavTree();

  // Adds the rows' buttons, loads the stored state (or makes the defaults) and places the rows.
  // The tree reports a changed selection to `main_window` (WM_APP + 2 with the row).
  void Create(platform::HDC dc, platform::HWND main_window);
  // The locked leaf of the first group shown; -1 none.
  int32_t GetSelectedEntry() const;

  // Presses only within the panel.
  int OnMouseDown(int32_t x, int32_t y) override;
  // -1 when no row or a separator was clicked, -2 for a root or group (which expands or
  // collapses), else the leaf's row (which is locked down; a change is reported).
  int OnMouseUp(int32_t x, int32_t y) override;
  // Steps a running slide; true while sliding (the panel must be redrawn).
  bool Animate(uint32_t now_ms);
  bool IsSliding() const { return sliding_; }
  // Draws the panel into the back buffer and copies it to the window.
  void DrawPanel(platform::HDC window_dc, platform::HDC back_dc, platform::HDC background_dc);

  // Places every row; with `with_visibility` also shows the rows whose ancestors are expanded and
  // hides the others.
  void Layout(bool with_visibility);
  // Reads the stored state; false (nothing changed) when it is missing or not sound.
  bool LoadState();
  // Writes the expanded and locked-down states.
  void SaveState();

  bool IsExpanded(int32_t row) const { return expanded_[row] != 0; }
  bool IsLockedDown(int32_t row) const { return locked_[row] != 0; }
  int32_t RowHeight(int32_t row) const { return heights_[row]; }
  // Where the row is placed now (valid after Create).
  int32_t RowTop(int32_t row) const { return tops_[row]; }

 private:
  struct Placement {
    int32_t top[kRows];
    bool visible[kRows];
  };
  Placement Place(const uint8_t* expanded) const;
  void Lock(int32_t row, bool locked);
  void MakeDefaults();
  void Toggle(int32_t row);
  void StartSlide(int32_t expanding, int32_t collapsing);
  void FinishSlide();
  void ApplyPlacement(const Placement& placement, bool with_visibility);
  void Notify(int32_t row) const;
  // The first row of the run of leaves that holds `row` and the row after its end.
  void LeafRun(int32_t row, int32_t* first, int32_t* end) const;

  NavEntry entries_[kRows];
  int32_t parent_[kRows];  // the row's parent row, -1 for a root
  uint8_t expanded_[kRows] = {};
  uint8_t locked_[kRows] = {};
  int32_t heights_[kRows] = {};
  int32_t tops_[kRows] = {};
  platform::HWND main_window_ = nullptr;
  bool created_ = false;

  bool sliding_ = false;
  bool slide_clock_started_ = false;
  uint32_t slide_start_ms_ = 0;
  int32_t expanding_ = -1;
  int32_t collapsing_ = -1;
  Placement slide_from_{};
  Placement slide_to_{};
  int32_t pending_click_ = -1;
};

// The program's navigation tree.
NavTree& GlobalNavTree();

// A row's columns from the tree's table: the sub-lobby, the money kind (0 real, 1 play, 2 any),
// the limit kind (0 limit, 1 no limit, 2 any) and the tournament family (0 Hold'em, 1 Pan, 2 not
// a tournament entry). A row outside the table gives -1.
int32_t NavTree_GetGameKind(int32_t row);
int32_t NavTree_GetMoneyKind(int32_t row);
int32_t NavTree_GetLimitKind(int32_t row);
int32_t NavTree_GetTourneyFamily(int32_t row);
