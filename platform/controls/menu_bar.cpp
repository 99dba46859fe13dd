#include "platform/controls/menu_bar.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/controls/menu.h"
#include "platform/controls/menu_object.h"

namespace platform::controls {

namespace {

constexpr const char* kTrackerClass = "TvkMenuTracker";
constexpr const char* kDropDownClass = "TvkMenuDropDown";

// Measures in pixels.
constexpr int kTitlePadding = 7;   // left and right of a bar title
constexpr int kBarLeft = 2;        // before the first title
constexpr int kItemHeight = 19;
constexpr int kSeparatorHeight = 8;
constexpr int kCheckColumn = 18;   // left of the item texts
constexpr int kArrowColumn = 18;   // right of the item texts
constexpr int kFrame = 3;          // raised edge and a pixel of face inside it

HFONT MenuFont() { return look::DefaultFont(); }

// One open drop-down menu.
struct Level {
  HMENU menu = nullptr;
  HWND window = nullptr;
  int selected = -1;
  RECT rect{0, 0, 0, 0};  // in the owner's client coordinates
};

// The menu being used, if any. There is one at a time: opening a menu closes any other.
struct Tracking {
  HWND owner = nullptr;    // the top-level window whose bar is in use
  HMENU bar = nullptr;
  HWND tracker = nullptr;  // hidden child holding the focus and the pointer
  HWND previous_focus = nullptr;
  int title = -1;          // highlighted title of the bar
  bool open = false;       // the title's drop-down menu is shown
  int pressed_title = -1;  // a title without drop-down held down by the pointer
  std::vector<Level> levels;
  bool ending = false;
};

Tracking g_tracking;
bool g_alt_alone = false;           // Alt went down and nothing else since
std::vector<HWND> g_bar_windows;    // windows whose band was drawn, for redrawing after changes

const std::vector<MenuItemRecord>& ItemsOf(HMENU menu) {
  static const std::vector<MenuItemRecord> none;
  const MenuObject* record = FindMenu(menu);
  return record != nullptr ? record->items : none;
}

// ---- Bar geometry ------------------------------------------------------------------------------

std::vector<RECT> TitleRects(HMENU bar, int band_height) {
  std::vector<RECT> rects;
  int x = kBarLeft;
  for (const MenuItemRecord& item : ItemsOf(bar)) {
    const int width = look::Measure(MenuFont(), item.text).cx + 2 * kTitlePadding;
    rects.push_back(RECT{x, 0, x + width, band_height});
    x += width;
  }
  return rects;
}

int TitleAt(HMENU bar, int x, int band_height) {
  const std::vector<RECT> rects = TitleRects(bar, band_height);
  for (size_t i = 0; i < rects.size(); ++i) {
    if (x >= rects[i].left && x < rects[i].right) return static_cast<int>(i);
  }
  return -1;
}

int BandHeight() { return GetSystemMetrics(SM_CYMENU); }

// ---- Drop-down geometry ------------------------------------------------------------------------

int ItemHeight(const MenuItemRecord& item) { return item.IsSeparator() ? kSeparatorHeight : kItemHeight; }

SIZE DropDownSize(HMENU menu) {
  int text_width = 0;
  int height = 0;
  for (const MenuItemRecord& item : ItemsOf(menu)) {
    if (!item.IsSeparator()) text_width = std::max(text_width, static_cast<int>(look::Measure(MenuFont(), item.text).cx));
    height += ItemHeight(item);
  }
  return SIZE{2 * kFrame + kCheckColumn + text_width + kArrowColumn, 2 * kFrame + height};
}

// Top of the item within the drop-down window.
int ItemTop(HMENU menu, int index) {
  int top = kFrame;
  const auto& items = ItemsOf(menu);
  for (int i = 0; i < index && i < static_cast<int>(items.size()); ++i) top += ItemHeight(items[static_cast<size_t>(i)]);
  return top;
}

// The item at y within the drop-down window, -1 on the frame or a separator.
int ItemAt(HMENU menu, int y) {
  int top = kFrame;
  const auto& items = ItemsOf(menu);
  for (size_t i = 0; i < items.size(); ++i) {
    const int bottom = top + ItemHeight(items[i]);
    if (y >= top && y < bottom) return items[i].IsSeparator() ? -1 : static_cast<int>(i);
    top = bottom;
  }
  return -1;
}

// The next item that is not a separator after `from` going by `step` (+1 or -1), wrapping.
int NextSelectable(HMENU menu, int from, int step) {
  const auto& items = ItemsOf(menu);
  const int count = static_cast<int>(items.size());
  for (int i = 1; i <= count; ++i) {
    const int index = ((from + step * i) % count + count) % count;
    if (!items[static_cast<size_t>(index)].IsSeparator()) return index;
  }
  return -1;
}

// ---- Drawing -----------------------------------------------------------------------------------

void PaintBand(HWND hwnd, HMENU menu, HDC dc, int width, int height) {
  if (std::find(g_bar_windows.begin(), g_bar_windows.end(), hwnd) == g_bar_windows.end()) {
    g_bar_windows.push_back(hwnd);
  }
  look::Fill(dc, RECT{0, 0, width, height}, look::Face());
  const std::vector<RECT> rects = TitleRects(menu, height);
  const auto& items = ItemsOf(menu);
  const bool tracking = g_tracking.owner == hwnd && g_tracking.bar == menu;
  for (size_t i = 0; i < rects.size(); ++i) {
    const bool highlighted = tracking && static_cast<int>(i) == g_tracking.title;
    if (highlighted) look::Fill(dc, rects[i], look::Highlight());
    const COLORREF colour = items[i].IsGreyed() ? look::GreyText()
                            : highlighted       ? look::HighlightText()
                                                : look::Text();
    look::Label(dc, MenuFont(), items[i].text, rects[i], DT_CENTER | DT_VCENTER | DT_SINGLELINE, colour);
  }
}

void PaintDropDown(HDC dc, const Level& level) {
  const RECT client{0, 0, level.rect.right - level.rect.left, level.rect.bottom - level.rect.top};
  look::Fill(dc, client, look::Face());
  look::RaisedEdge(dc, client);
  const auto& items = ItemsOf(level.menu);
  int top = kFrame;
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItemRecord& item = items[i];
    const int bottom = top + ItemHeight(item);
    const RECT row{kFrame, top, client.right - kFrame, bottom};
    if (item.IsSeparator()) {
      const int middle = (top + bottom) / 2;
      look::Fill(dc, RECT{row.left + 1, middle - 1, row.right - 1, middle}, look::Shadow());
      look::Fill(dc, RECT{row.left + 1, middle, row.right - 1, middle + 1}, look::Light());
      top = bottom;
      continue;
    }
    const bool selected = static_cast<int>(i) == level.selected;
    if (selected) look::Fill(dc, row, look::Highlight());
    const COLORREF colour = item.IsGreyed() ? (selected ? look::Face() : look::GreyText())
                            : selected      ? look::HighlightText()
                                            : look::Text();
    if ((item.state & MF_CHECKED) != 0) look::Tick(dc, RECT{row.left, top, row.left + kCheckColumn, bottom}, colour);
    look::Label(dc, MenuFont(), item.text, RECT{row.left + kCheckColumn, top, row.right - kArrowColumn, bottom},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE, colour);
    if (item.submenu != nullptr) {
      look::Arrow(dc, RECT{row.right - kArrowColumn, top, row.right, bottom}, look::Direction::kRight, colour);
    }
    top = bottom;
  }
}

void RedrawBand(HWND owner) {
  if (IsWindow(owner)) DrawMenuBar(owner);
}

// ---- Opening and closing -----------------------------------------------------------------------

void CloseLevelsFrom(size_t first) {
  while (g_tracking.levels.size() > first) {
    const HWND window = g_tracking.levels.back().window;
    g_tracking.levels.pop_back();
    if (IsWindow(window)) DestroyWindow(window);
  }
}

// Shows `menu` as a drop-down whose top-left corner wants to be at `at` (owner client coordinates);
// `beside` is the left edge to use instead when it does not fit on the right.
void OpenLevel(HMENU menu, POINT at, int beside_left, bool select_first) {
  RECT client;
  GetClientRect(g_tracking.owner, &client);
  const SIZE size = DropDownSize(menu);
  int x = at.x;
  if (x + size.cx > client.right) x = std::max(0, std::min(beside_left - size.cx, client.right - size.cx));
  const int y = std::max(0, std::min(at.y, static_cast<int>(client.bottom) - size.cy));
  Level level;
  level.menu = menu;
  level.rect = RECT{x, y, x + size.cx, y + size.cy};
  level.selected = select_first ? NextSelectable(menu, -1, 1) : -1;
  level.window = CreateWindowEx(0, kDropDownClass, "", WS_CHILD | WS_VISIBLE, x, y, size.cx, size.cy,
                                g_tracking.owner, nullptr, nullptr, nullptr);
  g_tracking.levels.push_back(level);
}

// Opens the drop-down menu of bar title `title` (a title without one is only highlighted).
void OpenTitle(int title, bool select_first) {
  CloseLevelsFrom(0);
  g_tracking.title = title;
  g_tracking.open = true;
  const auto& titles = ItemsOf(g_tracking.bar);
  if (title >= 0 && title < static_cast<int>(titles.size()) && titles[static_cast<size_t>(title)].submenu != nullptr) {
    const std::vector<RECT> rects = TitleRects(g_tracking.bar, BandHeight());
    const RECT& rect = rects[static_cast<size_t>(title)];
    OpenLevel(titles[static_cast<size_t>(title)].submenu, POINT{rect.left, 0}, rect.right, select_first);
  }
  RedrawBand(g_tracking.owner);
}

void OpenSubmenu(size_t level_index, bool select_first) {
  const Level& parent = g_tracking.levels[level_index];
  const MenuItemRecord& item = ItemsOf(parent.menu)[static_cast<size_t>(parent.selected)];
  CloseLevelsFrom(level_index + 1);
  const POINT at{parent.rect.right - kFrame, parent.rect.top + ItemTop(parent.menu, parent.selected) - kFrame};
  OpenLevel(item.submenu, at, parent.rect.left + kFrame, select_first);
}

// Leaves the menu; `command` (nonzero) is posted to the window afterwards.
void EndTracking(bool restore_focus, UINT command) {
  if (g_tracking.tracker == nullptr || g_tracking.ending) return;
  g_tracking.ending = true;
  CloseLevelsFrom(0);
  const HWND owner = g_tracking.owner;
  const HWND tracker = g_tracking.tracker;
  const HWND previous_focus = g_tracking.previous_focus;
  if (GetCapture() == tracker) ReleaseCapture();
  if (restore_focus && GetFocus() == tracker) {
    SetFocus(IsWindow(previous_focus) && IsChild(owner, previous_focus) ? previous_focus : owner);
  }
  g_tracking = Tracking{};
  g_tracking.ending = true;
  DestroyWindow(tracker);
  g_tracking.ending = false;
  RedrawBand(owner);
  if (command != 0 && IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(command), 0), 0);
}

// Starts using the bar of `owner` with `title` highlighted (and, when `open`, its menu shown).
void StartTracking(HWND owner, HMENU bar, int title, bool open, bool select_first) {
  EndTracking(true, 0);
  const HWND tracker = CreateWindowEx(0, kTrackerClass, "", WS_CHILD, 0, 0, 0, 0, owner, nullptr, nullptr, nullptr);
  if (tracker == nullptr) return;
  g_tracking.owner = owner;
  g_tracking.bar = bar;
  g_tracking.tracker = tracker;
  g_tracking.previous_focus = GetFocus();
  g_tracking.title = title;
  SetFocus(tracker);
  SetCapture(tracker);
  if (open) {
    OpenTitle(title, select_first);
  } else {
    RedrawBand(owner);
  }
}

void Choose(const MenuItemRecord& item) {
  if (item.IsSeparator() || item.IsGreyed()) return;
  EndTracking(true, item.id);
}

// ---- Input while the menu is in use ------------------------------------------------------------

int TitleCount() { return static_cast<int>(ItemsOf(g_tracking.bar).size()); }

void MoveTitle(int step) {
  const int count = TitleCount();
  if (count == 0) return;
  const int title = ((g_tracking.title + step) % count + count) % count;
  if (g_tracking.open) {
    OpenTitle(title, true);
  } else {
    g_tracking.title = title;
    RedrawBand(g_tracking.owner);
  }
}

void RedrawLevel(const Level& level) { InvalidateRect(level.window, nullptr, false); }

void SelectInLevel(size_t level_index, int item) {
  Level& level = g_tracking.levels[level_index];
  if (level.selected == item) return;
  level.selected = item;
  CloseLevelsFrom(level_index + 1);
  RedrawLevel(g_tracking.levels[level_index]);
}

// The bar title under the pointer, when the pointer is on the band (owner client y < 0).
int TitleUnderPointer(int x, int y) {
  const int band = BandHeight();
  if (y >= 0 || y < -band) return -1;
  return TitleAt(g_tracking.bar, x, band);
}

// The deepest open level under the point, or -1.
int LevelAt(int x, int y) {
  for (int i = static_cast<int>(g_tracking.levels.size()) - 1; i >= 0; --i) {
    const RECT& rect = g_tracking.levels[static_cast<size_t>(i)].rect;
    if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) return i;
  }
  return -1;
}

// An item of an open level, by the level's index and the item's index in its menu.
struct LevelItem {
  size_t level = 0;
  int item = -1;
};

// The item under the point in the deepest open level there, if the point is on an item.
std::optional<LevelItem> LevelItemAt(int x, int y) {
  const int level_index = LevelAt(x, y);
  if (level_index < 0) return std::nullopt;
  const Level& level = g_tracking.levels[static_cast<size_t>(level_index)];
  const int item = ItemAt(level.menu, y - level.rect.top);
  if (item < 0) return std::nullopt;
  return LevelItem{static_cast<size_t>(level_index), item};
}

void OnPointerMove(int x, int y) {
  const int title = TitleUnderPointer(x, y);
  if (title >= 0) {
    if (g_tracking.open && title != g_tracking.title) OpenTitle(title, false);
    return;
  }
  const std::optional<LevelItem> under = LevelItemAt(x, y);
  if (!under) return;
  SelectInLevel(under->level, under->item);
  const MenuItemRecord& record = ItemsOf(g_tracking.levels[under->level].menu)[static_cast<size_t>(under->item)];
  if (record.submenu != nullptr && g_tracking.levels.size() == under->level + 1) OpenSubmenu(under->level, false);
}

void OnPointerDown(int x, int y) {
  const int title = TitleUnderPointer(x, y);
  if (title >= 0) {
    if (title == g_tracking.title && g_tracking.open) {
      EndTracking(true, 0);
      return;
    }
    if (ItemsOf(g_tracking.bar)[static_cast<size_t>(title)].submenu == nullptr) g_tracking.pressed_title = title;
    OpenTitle(title, false);
    return;
  }
  if (LevelAt(x, y) < 0) EndTracking(true, 0);
}

void OnPointerUp(int x, int y) {
  const int title = TitleUnderPointer(x, y);
  if (title >= 0) {
    const int pressed = g_tracking.pressed_title;
    g_tracking.pressed_title = -1;
    if (title == pressed) Choose(ItemsOf(g_tracking.bar)[static_cast<size_t>(title)]);
    return;
  }
  const std::optional<LevelItem> under = LevelItemAt(x, y);
  if (!under) return;
  const MenuItemRecord& record = ItemsOf(g_tracking.levels[under->level].menu)[static_cast<size_t>(under->item)];
  if (record.submenu == nullptr) Choose(record);
}

void OnEnter() {
  if (g_tracking.levels.empty()) {
    const auto& titles = ItemsOf(g_tracking.bar);
    if (g_tracking.title < 0 || g_tracking.title >= static_cast<int>(titles.size())) return;
    const MenuItemRecord& title = titles[static_cast<size_t>(g_tracking.title)];
    if (title.submenu != nullptr) {
      OpenTitle(g_tracking.title, true);
    } else {
      Choose(title);
    }
    return;
  }
  const size_t deepest = g_tracking.levels.size() - 1;
  const Level& level = g_tracking.levels[deepest];
  if (level.selected < 0) return;
  const MenuItemRecord& item = ItemsOf(level.menu)[static_cast<size_t>(level.selected)];
  if (item.submenu != nullptr) {
    OpenSubmenu(deepest, true);
  } else {
    Choose(item);
  }
}

void OnKey(int key) {
  switch (key) {
    case VK_MENU:
      EndTracking(true, 0);
      return;
    case VK_ESCAPE:
      if (g_tracking.levels.size() > 1) {
        CloseLevelsFrom(g_tracking.levels.size() - 1);
      } else if (g_tracking.open) {
        CloseLevelsFrom(0);
        g_tracking.open = false;
        RedrawBand(g_tracking.owner);
      } else {
        EndTracking(true, 0);
      }
      return;
    case VK_LEFT:
      if (g_tracking.levels.size() > 1) {
        CloseLevelsFrom(g_tracking.levels.size() - 1);
      } else {
        MoveTitle(-1);
      }
      return;
    case VK_RIGHT: {
      if (!g_tracking.levels.empty()) {
        const size_t deepest = g_tracking.levels.size() - 1;
        const Level& level = g_tracking.levels[deepest];
        if (level.selected >= 0 && ItemsOf(level.menu)[static_cast<size_t>(level.selected)].submenu != nullptr) {
          OpenSubmenu(deepest, true);
          return;
        }
      }
      MoveTitle(1);
      return;
    }
    case VK_UP:
    case VK_DOWN: {
      if (g_tracking.levels.empty()) {
        if (!g_tracking.open || key == VK_DOWN) OnEnter();
        return;
      }
      const size_t deepest = g_tracking.levels.size() - 1;
      const Level& level = g_tracking.levels[deepest];
      const int item = NextSelectable(level.menu, level.selected < 0 && key == VK_UP ? 0 : level.selected,
                                      key == VK_UP ? -1 : 1);
      if (item >= 0) SelectInLevel(deepest, item);
      return;
    }
    case VK_RETURN: OnEnter(); return;
    default: return;
  }
}

// A letter: on the bar, opens the menu whose title begins with it; in a menu, selects the next item
// that begins with it.
void OnLetter(char letter) {
  const int wanted = std::tolower(static_cast<unsigned char>(letter));
  const auto begins = [wanted](const MenuItemRecord& item) {
    return !item.IsSeparator() && !item.text.empty() &&
           std::tolower(static_cast<unsigned char>(item.text[0])) == wanted;
  };
  if (g_tracking.levels.empty()) {
    const auto& titles = ItemsOf(g_tracking.bar);
    for (size_t i = 0; i < titles.size(); ++i) {
      if (!begins(titles[i])) continue;
      g_tracking.title = static_cast<int>(i);
      OnEnter();
      return;
    }
    return;
  }
  const size_t deepest = g_tracking.levels.size() - 1;
  const Level& level = g_tracking.levels[deepest];
  const auto& items = ItemsOf(level.menu);
  const int count = static_cast<int>(items.size());
  for (int step = 1; step <= count; ++step) {
    const int index = (level.selected + step + count) % count;
    if (begins(items[static_cast<size_t>(index)])) {
      SelectInLevel(deepest, index);
      return;
    }
  }
}

LRESULT TrackerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_tracking.tracker != hwnd) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE: OnPointerMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: OnPointerDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: OnPointerUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKey(static_cast<int>(wParam)); return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (std::isalnum(static_cast<unsigned char>(wParam))) OnLetter(static_cast<char>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: return 0;
    case WM_KILLFOCUS: EndTracking(false, 0); return 0;
    case WM_CAPTURECHANGED: EndTracking(true, 0); return 0;
    case WM_DESTROY:
      // Destroyed with its window: nothing is left open.
      if (!g_tracking.ending) g_tracking = Tracking{};
      return 0;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

LRESULT DropDownProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd, &paint);
      for (const Level& level : g_tracking.levels) {
        if (level.window == hwnd && dc != nullptr) PaintDropDown(dc, level);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

// ---- The window core's hooks -------------------------------------------------------------------

void OnBandMouse(HWND hwnd, HMENU menu, UINT message, int x, int y) {
  if (message != WM_NCLBUTTONDOWN || FindMenu(menu) == nullptr) return;
  const int title = TitleAt(menu, x, BandHeight());
  if (title < 0) return;
  StartTracking(hwnd, menu, title, true, false);
  if (g_tracking.tracker != nullptr && ItemsOf(menu)[static_cast<size_t>(title)].submenu == nullptr) {
    g_tracking.pressed_title = title;
  }
}

bool OnBandKey(HWND hwnd, HMENU menu, UINT message, WPARAM wParam, LPARAM lParam) {
  if (FindMenu(menu) == nullptr) return false;
  switch (message) {
    case WM_SYSKEYDOWN:
      g_alt_alone = wParam == static_cast<WPARAM>(VK_MENU);
      return g_alt_alone;
    case WM_SYSKEYUP:
      if (wParam != static_cast<WPARAM>(VK_MENU) || !g_alt_alone) return false;
      g_alt_alone = false;
      if (!ItemsOf(menu).empty()) StartTracking(hwnd, menu, 0, false, false);
      return true;
    case WM_SYSCHAR: {
      g_alt_alone = false;
      if (!std::isalnum(static_cast<unsigned char>(wParam))) return false;
      const int wanted = std::tolower(static_cast<unsigned char>(wParam));
      const auto& titles = ItemsOf(menu);
      for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i].text.empty() || std::tolower(static_cast<unsigned char>(titles[i].text[0])) != wanted) continue;
        StartTracking(hwnd, menu, static_cast<int>(i), false, false);
        if (g_tracking.tracker != nullptr) OnEnter();
        return true;
      }
      return false;
    }
    default: return false;
  }
}

}  // namespace

void InstallMenuBar() {
  RegisterControlClass(kTrackerClass, TrackerProcedure, 0);
  RegisterControlClass(kDropDownClass, DropDownProcedure, 0);
  MenuBarHooks hooks;
  hooks.paint = PaintBand;
  hooks.mouse = OnBandMouse;
  hooks.key = OnBandKey;
  SetMenuBarHooks(hooks);
}

void MenuChanged(HMENU menu) {
  std::erase_if(g_bar_windows, [](HWND hwnd) { return !IsWindow(hwnd); });
  for (HWND hwnd : g_bar_windows) {
    if (GetMenu(hwnd) == menu) RedrawBand(hwnd);
  }
  for (const Level& level : g_tracking.levels) RedrawLevel(level);
}

void MenuDestroyed(HMENU menu) {
  if (g_tracking.tracker != nullptr && g_tracking.bar == menu) EndTracking(true, 0);
}

}  // namespace platform::controls
