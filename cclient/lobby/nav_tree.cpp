#include "cclient/lobby/nav_tree.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "cclient/base/core_access.h"
#include "cclient/base/options.h"
#include "platform/system/registry.h"
#include "platform/window/message_queue.h"

namespace {

// The rows before the copy of the groups for play money: level, picture stem (empty: separator),
// game kind, money kind, limit kind, tournament family, has children.
struct RowSpec {
  uint32_t level;
  const char* stem;
  int32_t game;
  uint32_t money, limit, family;
  uint8_t children;
};

constexpr RowSpec kRealRows[] = {
    {0, "mreal", 0, 2, 2, 2, 1},   {1, "mholdem", 0, 2, 2, 2, 1}, {2, "mlimit", 0, 0, 0, 2, 0},
    {2, "mnolmt", 0, 0, 1, 2, 0},  {2, "manncto", 8, 0, 2, 0, 0}, {2, "mregtou", 9, 0, 2, 0, 0},
    {2, "mruntou", 10, 0, 2, 0, 0}, {2, "mcompto", 11, 0, 2, 0, 0}, {2, "", 0, 2, 2, 2, 0},
    {1, "mmorepo", 0, 2, 2, 2, 1}, {2, "momaha", 1, 0, 2, 2, 0},  {2, "m7card", 2, 0, 2, 2, 0},
    {2, "mguts", 3, 0, 2, 2, 0},   {2, "mcpoker", 4, 0, 2, 2, 0}, {2, "mbig2", 5, 0, 2, 2, 0},
    {2, "", 0, 2, 2, 2, 0},        {1, "mpan", 0, 2, 2, 2, 1},    {2, "mring", 6, 0, 2, 2, 0},
    {2, "manncto", 8, 0, 2, 1, 0}, {2, "mregtou", 9, 0, 2, 1, 0}, {2, "mruntou", 10, 0, 2, 1, 0},
    {2, "mcompto", 11, 0, 2, 1, 0}, {2, "", 0, 2, 2, 2, 0},
};
constexpr int32_t kPlayMoneyRoot = 23;
constexpr RowSpec kPlayRoot = {0, "mdemo", 0, 2, 2, 2, 1};
constexpr RowSpec kCasinoRows[] = {
    {1, "mcasino", 0, 2, 2, 2, 1}, {2, "mblackj", 7, 1, 2, 2, 0}, {2, "", 0, 2, 2, 2, 0}};

constexpr int32_t kLevelX[3] = {7, 17, 28};
constexpr int32_t kLevelWidth[3] = {220, 210, 199};
constexpr int32_t kLevelHeight[3] = {29, 28, 20};
// What a separator and the rows that stand with it fill.
constexpr int32_t kFilledHeight = 289;

constexpr uint32_t kSwitchSubLobbyMessage = platform::WM_APP + 2;

NavEntry MakeEntry(const RowSpec& spec, bool play_money_copy) {
  NavEntry entry{};
  entry.level = spec.level;
  if (spec.stem[0] != '\0') {
    std::snprintf(entry.normal_file, sizeof entry.normal_file, "%sb.b", spec.stem);
    std::snprintf(entry.hover_file, sizeof entry.hover_file, "%so.b", spec.stem);
    std::snprintf(entry.down_file, sizeof entry.down_file, "%sd.b", spec.stem);
  } else {
    entry.separator = 1;
  }
  entry.game_kind = static_cast<NavGameKind>(spec.game);
  entry.money_kind = play_money_copy && spec.level == 2 && entry.separator == 0 ? 1 : spec.money;
  entry.limit_kind = spec.limit;
  entry.tourney_family = spec.family;
  entry.has_children = spec.children;
  return entry;
}

struct EntryTable {
  NavEntry rows[NavTree::kRows];
  EntryTable() {
    int32_t n = 0;
    for (const RowSpec& spec : kRealRows) rows[n++] = MakeEntry(spec, false);
    rows[n++] = MakeEntry(kPlayRoot, false);
    for (int32_t i = 1; i < kPlayMoneyRoot; ++i) rows[n++] = MakeEntry(kRealRows[i], true);
    for (const RowSpec& spec : kCasinoRows) rows[n++] = MakeEntry(spec, false);
  }
};

const EntryTable& Table() {
  static const EntryTable table;
  return table;
}

const char* ExpandValueName() { return Main_IsPlayMoneyEdition() ? "NavExpandp" : "NavExpand"; }
const char* LockDownValueName() { return Main_IsPlayMoneyEdition() ? "NavLockDownp" : "NavLockDown"; }

bool InTable(int32_t row) { return row >= 0 && row < NavTree::kRows; }

}  // namespace

NavTree::NavTree() {
  std::memcpy(entries_, Table().rows, sizeof entries_);
  int32_t last_at_level[3] = {-1, -1, -1};
  for (int32_t row = 0; row < kRows; ++row) {
    const uint32_t level = entries_[row].level;
    parent_[row] = level == 0 ? -1 : last_at_level[level - 1];
    last_at_level[level] = row;
    heights_[row] = kLevelHeight[level];
  }
  // A separator fills the panel below an open group: its root, every group of that root and the
  // group's leaves stand with it.
  for (int32_t row = 0; row < kRows; ++row) {
    if (entries_[row].separator == 0 || entries_[row].level != 2) continue;
    const int32_t group = parent_[row];
    const int32_t root = group >= 0 ? parent_[group] : -1;
    int32_t used = root >= 0 ? heights_[root] : 0;
    for (int32_t other = 0; other < kRows; ++other) {
      if (entries_[other].level == 1 && parent_[other] == root) used += heights_[other];
      if (other != row && entries_[other].level == 2 && parent_[other] == group) {
        used += kLevelHeight[2];
      }
    }
    heights_[row] = used < kFilledHeight ? kFilledHeight - used : 0;
  }
}

void NavTree::Create(platform::HDC dc, platform::HWND main_window) {
  (void)dc;
  main_window_ = main_window;
  if (created_) return;
  created_ = true;
  if (Main_IsPlayMoneyEdition()) {
    NavEntry& root = entries_[0];
    root.normal_file[0] = '\0';
    root.hover_file[0] = '\0';
    std::snprintf(root.down_file, sizeof root.down_file, "mblank.b");
    root.has_children = 0;
    root.separator = 1;
  }
  for (int32_t row = 0; row < kRows; ++row) {
    const NavEntry& entry = entries_[row];
    auto name = [](const char* file) { return file[0] != '\0' ? file : nullptr; };
    (void)Add(row, kLevelX[entry.level], kPanelTop, kLevelWidth[entry.level], heights_[row],
              name(entry.normal_file), name(entry.hover_file), name(entry.down_file), nullptr);
  }
  if (LoadState()) {
    for (int32_t row = 0; row < kRows; ++row) {
      if (locked_[row] != 0) Latch(row);
    }
  } else {
    MakeDefaults();
  }
  Layout(true);
}

void NavTree::MakeDefaults() {
  std::memset(expanded_, 0, sizeof expanded_);
  std::memset(locked_, 0, sizeof locked_);
  for (int32_t row = 0; row < kRows; ++row) Unlatch(row);
  bool level_met[3] = {false, false, false};
  int32_t previous_level = 0;
  for (int32_t row = 0; row < kRows; ++row) {
    const NavEntry& entry = entries_[row];
    const int32_t level = static_cast<int32_t>(entry.level);
    if (level < previous_level) {
      for (int32_t deeper = level + 1; deeper < 3; ++deeper) level_met[deeper] = false;
    }
    previous_level = level;
    if (level_met[level]) continue;
    level_met[level] = true;
    Lock(row, true);
    if (entry.has_children != 0) expanded_[row] = 1;
  }
  if (Main_IsPlayMoneyEdition()) {
    Lock(kPlayMoneyRoot, true);
    expanded_[kPlayMoneyRoot] = 1;
  }
}

void NavTree::Lock(int32_t row, bool locked) {
  locked_[row] = locked ? 1 : 0;
  if (locked) {
    Latch(row);
  } else {
    Unlatch(row);
  }
}

bool NavTree::LoadState() {
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, Registry_GetOptionsKey(), 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_READ, nullptr,
                               &key, nullptr) != platform::ERROR_SUCCESS) {
    return false;
  }
  uint8_t expanded[kRows];
  uint8_t locked[kRows];
  bool good = true;
  for (auto [name, buffer] : {std::pair{ExpandValueName(), expanded},
                              std::pair{LockDownValueName(), locked}}) {
    uint32_t type = 0;
    uint32_t size = kRows;
    if (platform::RegQueryValueEx(key, name, nullptr, &type, buffer, &size) !=
            platform::ERROR_SUCCESS ||
        type != platform::REG_BINARY || size != kRows) {
      good = false;
    }
  }
  platform::RegCloseKey(key);
  if (!good) return false;
  for (int32_t row = 0; row < kRows; ++row) {
    if (expanded[row] != 0 && entries_[row].has_children == 0) return false;
  }
  // Every group's run of leaves needs exactly one locked leaf, or nothing would be selected.
  for (int32_t row = 0; row < kRows; ++row) {
    if (entries_[row].level != 1 || entries_[row].has_children == 0) continue;
    int32_t locked_leaves = 0;
    for (int32_t leaf = row + 1; leaf < kRows && entries_[leaf].has_children == 0; ++leaf) {
      if (entries_[leaf].separator == 0 && locked[leaf] != 0) ++locked_leaves;
    }
    if (locked_leaves != 1) return false;
  }
  std::memcpy(expanded_, expanded, sizeof expanded_);
  std::memcpy(locked_, locked, sizeof locked_);
  return true;
}

void NavTree::SaveState() {
  if (!created_) return;
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, Registry_GetOptionsKey(), 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_WRITE, nullptr,
                               &key, nullptr) != platform::ERROR_SUCCESS) {
    return;
  }
  (void)platform::RegSetValueEx(key, ExpandValueName(), 0, platform::REG_BINARY, expanded_, kRows);
  (void)platform::RegSetValueEx(key, LockDownValueName(), 0, platform::REG_BINARY, locked_, kRows);
  platform::RegCloseKey(key);
}

NavTree::Placement NavTree::Place(const uint8_t* expanded) const {
  Placement out{};
  int32_t cursor[3] = {kPanelTop, kPanelTop, kPanelTop};
  for (int32_t row = 0; row < kRows; ++row) {
    const int32_t level = static_cast<int32_t>(entries_[row].level);
    bool visible = true;
    for (int32_t up = parent_[row]; up >= 0; up = parent_[up]) {
      if (expanded[up] == 0) visible = false;
    }
    out.top[row] = cursor[level];
    out.visible[row] = visible;
    if (visible) {
      for (int32_t up = 0; up < level; ++up) cursor[up] += heights_[row];
    }
    cursor[level] += heights_[row];
    if (row + 1 < kRows && static_cast<int32_t>(entries_[row + 1].level) == level + 1) {
      cursor[level + 1] = cursor[level];
    }
  }
  return out;
}

void NavTree::ApplyPlacement(const Placement& placement, bool with_visibility) {
  for (int32_t row = 0; row < kRows; ++row) {
    tops_[row] = placement.top[row];
    MoveButton(row, kLevelX[entries_[row].level], tops_[row]);
    if (!with_visibility) continue;
    // A row at the panel's bottom edge or below it is not shown.
    const bool shown = placement.visible[row] && tops_[row] < kPanelBottom;
    if (shown != IsButtonShown(row)) {
      if (shown) {
        ShowButton(row);
      } else {
        HideButton(row);
      }
    }
  }
}

void NavTree::Layout(bool with_visibility) { ApplyPlacement(Place(expanded_), with_visibility); }

void NavTree::Notify(int32_t row) const {
  if (main_window_ != nullptr) {
    (void)platform::PostMessage(main_window_, kSwitchSubLobbyMessage,
                                static_cast<platform::WPARAM>(row), 0);
  }
}

void NavTree::LeafRun(int32_t row, int32_t* first, int32_t* end) const {
  int32_t start = row;
  while (start > 0 && entries_[start - 1].has_children == 0) --start;
  int32_t stop = row + 1;
  while (stop < kRows && entries_[stop].has_children == 0) ++stop;
  *first = start;
  *end = stop;
}

int NavTree::OnMouseDown(int32_t x, int32_t y) {
  if (y > kPanelBottom) {
    CancelPress();
    return -1;
  }
  return ButtonList::OnMouseDown(x, y);
}

int NavTree::OnMouseUp(int32_t x, int32_t y) {
  const int row = ButtonList::OnMouseUp(x, y);
  if (!InTable(row) || entries_[row].separator != 0) return -1;
  if (entries_[row].has_children == 0) {
    if (locked_[row] != 0) return row;
    int32_t first = 0;
    int32_t end = 0;
    LeafRun(row, &first, &end);
    for (int32_t other = first; other < end; ++other) {
      if (other != row && locked_[other] != 0) Lock(other, false);
    }
    Lock(row, true);
    if (!sliding_) Notify(row);
    return row;
  }
  if (sliding_) {
    pending_click_ = row;
    return -2;
  }
  Toggle(row);
  return -2;
}

void NavTree::Toggle(int32_t row) {
  if (expanded_[row] != 0) {
    StartSlide(-1, row);
    return;
  }
  int32_t sibling = -1;
  for (int32_t other = 0; other < kRows; ++other) {
    if (other != row && expanded_[other] != 0 && entries_[other].level == entries_[row].level &&
        parent_[other] == parent_[row]) {
      sibling = other;
    }
  }
  StartSlide(row, sibling);
}

void NavTree::StartSlide(int32_t expanding, int32_t collapsing) {
  expanding_ = expanding;
  collapsing_ = collapsing;
  if (expanding >= 0) Lock(expanding, true);
  if (collapsing >= 0) Lock(collapsing, false);
  slide_from_ = Place(expanded_);
  uint8_t after[kRows];
  std::memcpy(after, expanded_, sizeof after);
  if (expanding >= 0) after[expanding] = 1;
  if (collapsing >= 0) after[collapsing] = 0;
  slide_to_ = Place(after);
  // Rows that appear or go away stay shown until the slide ends; the panel's edges cut them.
  for (int32_t row = 0; row < kRows; ++row) {
    const bool shown = (slide_from_.visible[row] || slide_to_.visible[row]) &&
                       std::min(slide_from_.top[row], slide_to_.top[row]) < kPanelBottom;
    if (shown) ShowButton(row);
  }
  sliding_ = true;
  slide_clock_started_ = false;
}

bool NavTree::Animate(uint32_t now_ms) {
  if (!sliding_) return false;
  if (!slide_clock_started_) {
    slide_clock_started_ = true;
    slide_start_ms_ = now_ms;
  }
  const uint32_t elapsed = now_ms - slide_start_ms_;
  if (elapsed > kSlideMs) {
    FinishSlide();
    return true;
  }
  Placement now{};
  for (int32_t row = 0; row < kRows; ++row) {
    const int32_t from = slide_from_.top[row];
    const int32_t to = slide_to_.top[row];
    now.top[row] = from + (to - from) * static_cast<int32_t>(elapsed) / static_cast<int32_t>(kSlideMs);
    now.visible[row] = slide_from_.visible[row] || slide_to_.visible[row];
  }
  ApplyPlacement(now, false);
  return true;
}

void NavTree::FinishSlide() {
  sliding_ = false;
  if (collapsing_ >= 0) expanded_[collapsing_] = 0;
  if (expanding_ >= 0) expanded_[expanding_] = 1;
  expanding_ = -1;
  collapsing_ = -1;
  Layout(true);
  const int32_t pending = pending_click_;
  pending_click_ = -1;
  if (InTable(pending) && IsButtonShown(pending)) {
    platform::RECT rect{};
    if (GetButtonRect(pending, &rect)) {
      (void)OnMouseDown(rect.left, rect.top);
      (void)OnMouseUp(rect.left, rect.top);
    }
  }
  Notify(GetSelectedEntry());
}

int32_t NavTree::GetSelectedEntry() const {
  const int32_t start = Main_IsPlayMoneyEdition() ? kPlayMoneyRoot : 0;
  for (int32_t row = start; row < kRows; ++row) {
    if (entries_[row].level != 2 || entries_[row].separator != 0) continue;
    bool open = true;
    for (int32_t up = parent_[row]; up >= 0; up = parent_[up]) {
      if (expanded_[up] == 0) open = false;
    }
    if (!open) continue;
    for (int32_t leaf = row; leaf < kRows && entries_[leaf].has_children == 0; ++leaf) {
      if (locked_[leaf] != 0 && entries_[leaf].separator == 0) return leaf;
    }
    return -1;
  }
  return -1;
}

void NavTree::DrawPanel(platform::HDC window_dc, platform::HDC back_dc,
                        platform::HDC background_dc) {
  if (back_dc == nullptr) return;
  const int32_t right = kPanelLeft + kPanelWidth;
  const int32_t bottom = kPanelTop + kPanelHeight;
  if (background_dc != nullptr) {
    platform::BitBlt(back_dc, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, background_dc,
                     kPanelLeft, kPanelTop, platform::SRCCOPY);
  }
  // While a slide runs, the leaves of a sliding group are cut at the row that follows the group,
  // so that the rows below cover them as they move.
  for (int32_t row = 0; row < Count() && row < kRows; ++row) {
    ImageButton* button = Slot(row);
    if (button == nullptr || !button->IsShown()) continue;
    int32_t clip_bottom = bottom;
    if (sliding_ && entries_[row].level == 2) {
      const int32_t group = parent_[row];
      if (group == expanding_ || group == collapsing_) {
        for (int32_t next = row + 1; next < kRows; ++next) {
          if (entries_[next].level < 2 && IsButtonShown(next)) {
            clip_bottom = std::min(clip_bottom, tops_[next]);
            break;
          }
        }
      }
    }
    platform::SelectClipRgn(back_dc, nullptr);
    platform::IntersectClipRect(back_dc, kPanelLeft, kPanelTop, right, clip_bottom);
    button->MarkDirty();
    platform::RECT drawn{};
    button->Draw(back_dc, &drawn);
  }
  platform::SelectClipRgn(back_dc, nullptr);
  if (window_dc != nullptr) {
    platform::BitBlt(window_dc, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, back_dc,
                     kPanelLeft, kPanelTop, platform::SRCCOPY);
  }
}

NavTree& GlobalNavTree() {
  static NavTree tree;
  return tree;
}

int32_t NavTree_GetGameKind(int32_t row) { return InTable(row) ? Table().rows[row].game_kind : -1; }
int32_t NavTree_GetMoneyKind(int32_t row) {
  return InTable(row) ? static_cast<int32_t>(Table().rows[row].money_kind) : -1;
}
int32_t NavTree_GetLimitKind(int32_t row) {
  return InTable(row) ? static_cast<int32_t>(Table().rows[row].limit_kind) : -1;
}
int32_t NavTree_GetTourneyFamily(int32_t row) {
  return InTable(row) ? static_cast<int32_t>(Table().rows[row].tourney_family) : -1;
}
