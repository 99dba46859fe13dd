#include "platform/window/message_box.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/backend.h"
#include "platform/window/input.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform {

namespace {

constexpr const char* kClassName = "TvkMessageBox";

// Layout in pixels.
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMaxTextWidth = 420;
constexpr int kMinClientWidth = 180;

constexpr COLORREF kFaceColour = RGB(212, 208, 200);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kShadowColour = RGB(128, 128, 128);
constexpr COLORREF kLightColour = RGB(255, 255, 255);

struct Button {
  int id = 0;
  const char* label = "";
  RECT rect{0, 0, 0, 0};
};

struct BoxState {
  std::string text;
  std::string caption;
  UINT flags = 0;
  std::vector<Button> buttons;
  size_t focused = 0;   // index of the button that Enter chooses
  int pressed = -1;     // index of the button held down by the mouse
  RECT text_rect{0, 0, 0, 0};
  HFONT font = nullptr;       // text and button labels
  HFONT icon_font = nullptr;  // the sign on the icon
  bool done = false;
  int result = 0;
};

// The open boxes (their states live on the stack of MessageBox).
std::map<HWND, BoxState*> g_boxes;

BoxState* StateOf(HWND box) {
  const auto it = g_boxes.find(box);
  return it == g_boxes.end() ? nullptr : it->second;
}

std::vector<Button> ButtonsFor(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    default: return {{IDOK, "OK"}};
  }
}

// The button Esc and the close box choose; 0 when the box has none (Yes / No).
int CancelButton(const BoxState& state) {
  for (const Button& button : state.buttons) {
    if (button.id == IDCANCEL) return IDCANCEL;
  }
  return state.buttons.size() == 1 ? state.buttons.front().id : 0;
}

void Finish(HWND box, BoxState& state, int result) {
  if (state.done) return;
  state.done = true;
  state.result = result;
  // Wakes the box's loop, which may be waiting.
  PostMessage(box, WM_NULL, 0, 0);
}

int HitButton(const BoxState& state, int x, int y) {
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    const RECT& r = state.buttons[i].rect;
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

// ---- Drawing ---------------------------------------------------------------------------------

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
  FillColour(dc, RECT{r.left, r.top, r.right, r.top + 1}, top_left);
  FillColour(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, top_left);
  FillColour(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  FillColour(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

// A filled disc of the icon's size, one row of pixels at a time.
void Disc(HDC dc, int left, int top, COLORREF colour) {
  const double radius = kIconSize / 2.0;
  for (int row = 0; row < kIconSize; ++row) {
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    const int from = static_cast<int>(std::lround(radius - half));
    const int to = static_cast<int>(std::lround(radius + half));
    if (to > from) FillColour(dc, RECT{left + from, top + row, left + to, top + row + 1}, colour);
  }
}

// A filled triangle pointing up, one row of pixels at a time.
void Triangle(HDC dc, int left, int top, COLORREF colour) {
  for (int row = 2; row < kIconSize; ++row) {
    const int half = (row * kIconSize / 2) / kIconSize + row / 4;
    const int centre = kIconSize / 2;
    FillColour(dc, RECT{left + centre - half, top + row, left + centre + half, top + row + 1}, colour);
  }
}

void DrawTextIn(HDC dc, HFONT font, const std::string& text, RECT rect, uint32_t format, COLORREF colour) {
  const HFONT old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawText(dc, text.c_str(), -1, &rect, format);
  SelectObject(dc, old_font);
}

// The size of the text laid out with line breaks at most `max_width` wide.
SIZE MeasureText(HFONT font, const std::string& text, int max_width) {
  const HDC dc = CreateCompatibleDC(nullptr);
  const HFONT old_font = SelectObject(dc, font);
  RECT rect{0, 0, max_width, 0};
  DrawText(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old_font);
  DeleteDC(dc);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void DrawIcon(HDC dc, HFONT font, UINT flags, int left, int top) {
  const RECT cell{left, top, left + kIconSize, top + kIconSize};
  constexpr uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP:
      Disc(dc, left, top, RGB(200, 30, 30));
      DrawTextIn(dc, font, "X", cell, kCentred, RGB(255, 255, 255));
      break;
    case MB_ICONQUESTION:
      Disc(dc, left, top, RGB(30, 80, 200));
      DrawTextIn(dc, font, "?", cell, kCentred, RGB(255, 255, 255));
      break;
    case MB_ICONEXCLAMATION:
      Triangle(dc, left, top, RGB(240, 200, 30));
      DrawTextIn(dc, font, "!", RECT{cell.left, cell.top + 6, cell.right, cell.bottom}, kCentred, RGB(0, 0, 0));
      break;
    default:
      Disc(dc, left, top, RGB(30, 80, 200));
      DrawTextIn(dc, font, "i", cell, kCentred, RGB(255, 255, 255));
      break;
  }
}

void DrawButton(HDC dc, HFONT font, const Button& button, bool is_default, bool focused, bool pressed) {
  RECT r = button.rect;
  FillColour(dc, r, kFaceColour);
  if (is_default) {
    Frame(dc, r, kTextColour, kTextColour);
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (pressed) {
    Frame(dc, r, kShadowColour, kShadowColour);
  } else {
    Frame(dc, r, kLightColour, kTextColour);
    Frame(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kFaceColour, kShadowColour);
  }
  RECT label = button.rect;
  if (pressed) {
    label.left += 1;
    label.top += 1;
  }
  DrawTextIn(dc, font, button.label, label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, kTextColour);
  if (focused) {
    const RECT mark{button.rect.left + 4, button.rect.top + 4, button.rect.right - 4, button.rect.bottom - 4};
    Frame(dc, mark, kShadowColour, kShadowColour);
  }
}

void Paint(HWND box, BoxState& state) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(box, &paint);
  RECT client;
  GetClientRect(box, &client);
  FillColour(dc, client, kFaceColour);
  if ((state.flags & MB_ICONMASK) != 0) DrawIcon(dc, state.icon_font, state.flags, kMargin, kMargin);
  DrawTextIn(dc, state.font, state.text, state.text_rect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX, kTextColour);
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    DrawButton(dc, state.font, state.buttons[i], i == state.focused, i == state.focused,
               static_cast<int>(i) == state.pressed);
  }
  EndPaint(box, &paint);
}

// ---- Input -----------------------------------------------------------------------------------

void OnKeyDown(HWND box, BoxState& state, WPARAM key) {
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
      Finish(box, state, state.buttons[state.focused].id);
      break;
    case VK_ESCAPE:
      if (const int cancel = CancelButton(state)) Finish(box, state, cancel);
      break;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
      state.focused = (state.focused + 1) % state.buttons.size();
      InvalidateRect(box, nullptr, false);
      break;
    case VK_LEFT:
    case VK_UP:
      state.focused = (state.focused + state.buttons.size() - 1) % state.buttons.size();
      InvalidateRect(box, nullptr, false);
      break;
    default:
      break;
  }
}

LRESULT BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  BoxState* state = StateOf(box);
  if (state == nullptr) return DefWindowProc(box, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      Paint(box, *state);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills everything
    case WM_LBUTTONDOWN:
      state->pressed = HitButton(*state, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (state->pressed >= 0) {
        state->focused = static_cast<size_t>(state->pressed);
        SetCapture(box);
        InvalidateRect(box, nullptr, false);
      }
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = state->pressed;
      state->pressed = -1;
      if (GetCapture() == box) ReleaseCapture();
      InvalidateRect(box, nullptr, false);
      if (pressed >= 0 && HitButton(*state, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == pressed) {
        Finish(box, *state, state->buttons[static_cast<size_t>(pressed)].id);
      }
      return 0;
    }
    case WM_KEYDOWN:
      OnKeyDown(box, *state, wParam);
      return 0;
    case WM_CLOSE:
      if (const int cancel = CancelButton(*state)) Finish(box, *state, cancel);
      return 0;
    default:
      return DefWindowProc(box, message, wParam, lParam);
  }
}

void RegisterBoxClass() {
  if (internal::FindClassRecord(kClassName)) return;
  WNDCLASS window_class;
  window_class.lpfnWndProc = BoxProcedure;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = kClassName;
  RegisterClass(&window_class);
}

// Sizes the box for its text and buttons; returns the client size.
SIZE Layout(BoxState& state) {
  const SIZE text = MeasureText(state.font, state.text, kMaxTextWidth);
  const bool has_icon = (state.flags & MB_ICONMASK) != 0;
  const int text_left = kMargin + (has_icon ? kIconSize + kIconGap : 0);
  const int content_height = std::max(text.cy, has_icon ? kIconSize : 0);
  const int buttons_width =
      static_cast<int>(state.buttons.size()) * kButtonWidth + (static_cast<int>(state.buttons.size()) - 1) * kButtonGap;
  const int width = std::max({text_left + text.cx + kMargin, buttons_width + 2 * kMargin, kMinClientWidth});
  const int height = kMargin + content_height + kMargin + kButtonHeight + kMargin;
  // Text beside an icon is centred on the icon's height when it is shorter.
  const int text_top = kMargin + (content_height - text.cy) / 2;
  state.text_rect = RECT{text_left, text_top, text_left + text.cx, text_top + text.cy};
  int x = (width - buttons_width) / 2;
  const int y = height - kMargin - kButtonHeight;
  for (Button& button : state.buttons) {
    button.rect = RECT{x, y, x + kButtonWidth, y + kButtonHeight};
    x += kButtonWidth + kButtonGap;
  }
  return SIZE{width, height};
}

RECT CentredOuterRect(HWND owner, SIZE client, uint32_t style) {
  RECT outer{0, 0, client.cx, client.cy};
  AdjustWindowRect(&outer, style, false);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &area);
  const int left = area.left + ((area.right - area.left) - width) / 2;
  const int top = area.top + ((area.bottom - area.top) - height) / 2;
  return RECT{left, top, left + width, top + height};
}

// The loop of the box: messages for the box go straight to it; the others are offered to the
// pre-translation hook first, as in the program's own loop. The box may be answered inside a
// handler that runs a loop of its own, so the flag is looked at between waits, not only after a
// message. Returns false when WM_QUIT came.
bool RunBoxLoop(HWND box, BoxState& state, int* quit_code) {
  MSG msg;
  while (!state.done && IsWindow(box)) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      internal::IdleStep();
      continue;
    }
    if (msg.message == WM_QUIT) {
      *quit_code = static_cast<int>(msg.wParam);
      return false;
    }
    if (msg.hwnd != box && CallPreTranslateHook(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    internal::PresentPictures(false);
  }
  return true;
}

}  // namespace

namespace internal {

bool MessageBoxButtonCentre(HWND box, int id, POINT* point) {
  const BoxState* state = StateOf(box);
  if (state == nullptr) return false;
  for (const Button& button : state->buttons) {
    if (button.id != id) continue;
    *point = POINT{(button.rect.left + button.rect.right) / 2, (button.rect.top + button.rect.bottom) / 2};
    return true;
  }
  return false;
}

void EndMessageBox(HWND box, int result) {
  if (BoxState* state = StateOf(box)) Finish(box, *state, result);
}

}  // namespace internal

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
  RegisterBoxClass();
  // A child window's box belongs to its top-level window.
  const auto owner_record = internal::TopLevelOf(internal::FindWindowRecord(owner));
  owner = owner_record ? owner_record->handle : nullptr;

  BoxState state;
  state.text = text != nullptr ? text : "";
  state.caption = caption != nullptr ? caption : "Error";
  state.flags = flags;
  state.buttons = ButtonsFor(flags);
  if ((flags & MB_DEFMASK) == MB_DEFBUTTON2 && state.buttons.size() > 1) state.focused = 1;
  const int default_button = state.buttons[state.focused].id;
  state.font = CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "MS Sans Serif");
  state.icon_font = CreateFont(26, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");

  const uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const uint32_t ex_style = (flags & (MB_TOPMOST | MB_SYSTEMMODAL)) != 0 ? WS_EX_TOPMOST : 0;
  const SIZE client = Layout(state);
  const RECT outer = CentredOuterRect(owner, client, style);
  const HWND box = CreateWindowEx(ex_style, kClassName, state.caption.c_str(), style, outer.left, outer.top,
                                  outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, nullptr,
                                  nullptr);
  if (box == nullptr) {
    DeleteObject(state.font);
    DeleteObject(state.icon_font);
    return 0;
  }
  g_boxes[box] = &state;

  // Only an owner that was enabled is enabled again: with two boxes on one owner, the owner stays
  // disabled until the first box closes.
  const bool disabled_owner = owner != nullptr && IsWindowEnabled(owner);
  if (disabled_owner) EnableWindow(owner, false);
  ShowWindow(box, SW_SHOW);
  SetForegroundWindow(box);

  internal::MessageBoxDescription description;
  description.owner = owner;
  description.text = state.text;
  description.caption = state.caption;
  description.flags = flags;
  for (const Button& button : state.buttons) {
    description.button_ids.push_back(button.id);
    description.button_texts.push_back(button.label);
  }
  description.default_button = default_button;
  internal::GetBackend().MessageBoxOpened(box, description);

  int quit_code = 0;
  const bool quit = !RunBoxLoop(box, state, &quit_code);
  const int result = quit ? 0 : state.result;

  // The owner is enabled before the box goes, so that the activation returns to it.
  if (disabled_owner && IsWindow(owner)) EnableWindow(owner, true);
  g_boxes.erase(box);
  DestroyWindow(box);
  internal::GetBackend().MessageBoxClosed(box, result);
  DeleteObject(state.font);
  DeleteObject(state.icon_font);
  if (quit) PostQuitMessage(quit_code);
  return result;
}

}  // namespace platform
