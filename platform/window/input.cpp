#include "platform/window/input.h"

#include <array>
#include <cstdlib>

#include "platform/system/clock.h"
#include "platform/window/activation.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"

namespace platform {

using internal::FindWindowRecord;
using internal::TopLevelOf;
using internal::Window;

namespace {

constexpr uint32_t kDoubleClickMs = 500;

struct LastClick {
  HWND hwnd = nullptr;
  UINT message = 0;
  uint32_t time_ms = 0;
  POINT screen{0, 0};
};

// UI-thread state.
std::array<bool, VK_LAST + 1> g_key_down{};
POINT g_pointer{0, 0};
HWND g_capture = nullptr;
LastClick g_last_click;
// The held keys recorded with the input message last taken from the queue (0: none yet).
uint32_t g_message_keys = 0;

constexpr uint32_t kHeldRecorded = 0x80000000u;

// The bit that records a modifier key or mouse button in MSG::held_keys; 0 for other keys.
uint32_t HeldKeyBit(int virtual_key) {
  switch (virtual_key) {
    case VK_SHIFT: return 1u << 0;
    case VK_CONTROL: return 1u << 1;
    case VK_MENU: return 1u << 2;
    case VK_LBUTTON: return 1u << 3;
    case VK_RBUTTON: return 1u << 4;
    default: return 0;
  }
}

WPARAM MouseKeyFlags() {
  WPARAM flags = 0;
  if (g_key_down[VK_LBUTTON]) flags |= MK_LBUTTON;
  if (g_key_down[VK_RBUTTON]) flags |= MK_RBUTTON;
  if (g_key_down[VK_SHIFT]) flags |= MK_SHIFT;
  if (g_key_down[VK_CONTROL]) flags |= MK_CONTROL;
  return flags;
}

// Every window from `window` up to its top-level window is enabled.
bool IsEnabledChain(const std::shared_ptr<Window>& window) {
  for (auto current = window; current;) {
    if (!current->enabled || current->destroying) return false;
    if ((current->style & WS_CHILD) == 0 || current->parent == nullptr) return true;
    current = FindWindowRecord(current->parent);
  }
  return false;
}

// The deepest shown child under `point` (client coordinates of `window`), or `window` itself.
// `point` becomes the client coordinates of the window found.
std::shared_ptr<Window> HitTest(std::shared_ptr<Window> window, POINT* point) {
  for (;;) {
    std::shared_ptr<Window> hit;
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
      const auto child = FindWindowRecord(*it);
      if (!child || !child->visible || child->destroying) continue;
      if (point->x >= child->rect.left && point->x < child->rect.right && point->y >= child->rect.top &&
          point->y < child->rect.bottom) {
        hit = child;
        break;
      }
    }
    if (!hit) return window;
    point->x -= hit->rect.left;
    point->y -= hit->rect.top;
    window = hit;
  }
}

UINT DoubleClickOf(UINT message) {
  return message == WM_LBUTTONDOWN ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
}

// A second press of the same button on the same window, soon and near enough, is a double click
// for classes that ask for them. A double click is never the first click of the next one.
UINT ApplyDoubleClick(const Window& target, UINT message) {
  if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN) return message;
  const uint32_t now = GetTickCount();
  const int half_width = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
  const int half_height = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  const bool second = g_last_click.hwnd == target.handle && g_last_click.message == message &&
                      static_cast<uint32_t>(now - g_last_click.time_ms) <= kDoubleClickMs &&
                      std::abs(g_pointer.x - g_last_click.screen.x) <= half_width &&
                      std::abs(g_pointer.y - g_last_click.screen.y) <= half_height;
  if (second && (target.window_class->wc.style & CS_DBLCLKS) != 0) {
    g_last_click = LastClick{};
    return DoubleClickOf(message);
  }
  g_last_click = LastClick{target.handle, message, now, g_pointer};
  return message;
}

void UpdateButtonState(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: g_key_down[VK_LBUTTON] = true; break;
    case WM_LBUTTONUP: g_key_down[VK_LBUTTON] = false; break;
    case WM_RBUTTONDOWN: g_key_down[VK_RBUTTON] = true; break;
    case WM_RBUTTONUP: g_key_down[VK_RBUTTON] = false; break;
    default: break;
  }
}

std::shared_ptr<Window> KeyboardTarget() {
  const HWND focus = GetFocus();
  return FindWindowRecord(focus != nullptr ? focus : GetActiveWindow());
}

}  // namespace

int16_t GetKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key > VK_LAST) return 0;
  // The modifiers answer as they were when the message being handled was queued, so a key
  // combination handled late (after Shift was let go) still reads as the combination it was.
  const uint32_t bit = HeldKeyBit(virtual_key);
  if (bit != 0 && g_message_keys != 0) return (g_message_keys & bit) != 0 ? static_cast<int16_t>(0x8000) : 0;
  return g_key_down[virtual_key] ? static_cast<int16_t>(0x8000) : 0;
}

bool GetCursorPos(POINT* point) {
  if (point == nullptr) return false;
  *point = g_pointer;
  return true;
}

HWND SetCapture(HWND hwnd) {
  const HWND old_capture = GetCapture();
  if (!IsWindow(hwnd)) return old_capture;
  g_capture = hwnd;
  if (old_capture != nullptr && old_capture != hwnd) {
    SendMessage(old_capture, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  }
  return old_capture;
}

bool ReleaseCapture() {
  const HWND old_capture = GetCapture();
  g_capture = nullptr;
  if (old_capture != nullptr) SendMessage(old_capture, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() { return IsWindow(g_capture) ? g_capture : nullptr; }

namespace internal {

void DeliverMouse(HWND top_level, UINT message, POINT point) {
  // The button's state follows the device even when the window the event names has gone (the
  // release of the click that closed a dialog): a release missed here would leave the button held.
  UpdateButtonState(message);
  const auto top = FindWindowRecord(top_level);
  if (!top || top->destroying) return;
  const int32_t band = MenuBandHeight(*top);
  const POINT origin = ClientOriginOnScreen(*top);
  g_pointer = POINT{origin.x + point.x, origin.y + point.y - band};

  std::shared_ptr<Window> target;
  POINT client{point.x, point.y - band};
  if (const auto capture = FindWindowRecord(GetCapture())) {
    target = capture;
    const POINT capture_origin = ClientOriginOnScreen(*capture);
    client = POINT{g_pointer.x - capture_origin.x, g_pointer.y - capture_origin.y};
  } else if (point.y < band) {
    if (!top->enabled) return;
    const UINT band_message = message == WM_MOUSEMOVE      ? WM_NCMOUSEMOVE
                              : message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN
                              : message == WM_LBUTTONUP   ? WM_NCLBUTTONUP
                                                          : 0;
    if (band_message != 0) QueueMessage(*top, band_message, HTMENU, MAKELPARAM(point.x, point.y), false);
    return;
  } else {
    target = HitTest(top, &client);
  }

  const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN;
  if (!IsEnabledChain(target)) {
    // A click on a window that waits for its message box brings the box forward.
    if (press) SetForegroundWindow(top->handle);
    return;
  }
  if (press && GetActiveWindow() != TopLevelOf(target)->handle) SetForegroundWindow(target->handle);
  if (!IsWindow(target->handle)) return;

  const UINT final_message = ApplyDoubleClick(*target, message);
  if (message == WM_MOUSEMOVE) {
    SendMessage(target->handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(target->handle),
                MAKELPARAM(static_cast<int>(HTCLIENT), static_cast<int>(WM_MOUSEMOVE)));
    if (!IsWindow(target->handle)) return;
  }
  QueueMessage(*target, final_message, MouseKeyFlags(), MAKELPARAM(client.x, client.y), false);
}

void DeliverWheel(HWND top_level, int delta, POINT point) {
  if (const auto top = FindWindowRecord(top_level)) {
    const POINT origin = ClientOriginOnScreen(*top);
    g_pointer = POINT{origin.x + point.x, origin.y + point.y - MenuBandHeight(*top)};
  }
  auto target = KeyboardTarget();
  if (!target) target = FindWindowRecord(top_level);
  if (!target || !IsEnabledChain(target)) return;
  const POINT origin = ClientOriginOnScreen(*target);
  const WPARAM flags = MouseKeyFlags();
  QueueMessage(*target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(flags), delta),
               MAKELPARAM(g_pointer.x - origin.x, g_pointer.y - origin.y), false);
}

void DeliverKey(UINT message, int virtual_key, int character) {
  const bool down = message == WM_KEYDOWN;
  const bool was_down = virtual_key > 0 && virtual_key <= VK_LAST && g_key_down[virtual_key];
  if (virtual_key > 0 && virtual_key <= VK_LAST) g_key_down[virtual_key] = down;
  const auto target = KeyboardTarget();
  if (!target || !IsEnabledChain(target)) return;
  const bool alt = g_key_down[VK_MENU] || virtual_key == VK_MENU;
  LPARAM lParam = 1 | (static_cast<LPARAM>(character & 0xFF) << 16);
  if (alt) lParam |= static_cast<LPARAM>(1) << 29;
  if (was_down || !down) lParam |= static_cast<LPARAM>(1) << 30;
  if (!down) lParam |= static_cast<LPARAM>(1) << 31;
  const UINT final_message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : message;
  QueueMessage(*target, final_message, static_cast<WPARAM>(virtual_key), lParam, false);
}

uint32_t HeldKeysNow() {
  uint32_t keys = kHeldRecorded;
  for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON, VK_RBUTTON}) {
    if (g_key_down[key]) keys |= HeldKeyBit(key);
  }
  return keys;
}

void SetMessageTimeKeys(uint32_t held_keys) {
  if (held_keys != 0) g_message_keys = held_keys;
}

bool IsKeyDownNow(int virtual_key) {
  return virtual_key >= 0 && virtual_key <= VK_LAST && g_key_down[virtual_key];
}

void DeliverClose(HWND top_level) {
  const auto top = FindWindowRecord(top_level);
  if (!top || top->destroying || !top->enabled) return;
  QueueMessage(*top, WM_CLOSE, 0, 0, false);
}

int CharacterForKey(int virtual_key, bool shift, bool control) {
  if (virtual_key >= 'A' && virtual_key <= 'Z') {
    if (control) return virtual_key - 'A' + 1;
    return shift ? virtual_key : virtual_key - 'A' + 'a';
  }
  if (virtual_key >= '0' && virtual_key <= '9') {
    if (control) return 0;
    static constexpr char kShifted[] = ")!@#$%^&*(";
    return shift ? kShifted[virtual_key - '0'] : virtual_key;
  }
  switch (virtual_key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    case VK_TAB: return control ? 0 : 9;
    case VK_BACK: return 8;
    default: return 0;
  }
}

void ResetInputState() {
  g_key_down.fill(false);
  g_pointer = POINT{0, 0};
  g_capture = nullptr;
  g_last_click = LastClick{};
}

void ForgetInputWindow(HWND hwnd) {
  if (g_capture == hwnd) g_capture = nullptr;
  if (g_last_click.hwnd == hwnd) g_last_click = LastClick{};
}

}  // namespace internal

}  // namespace platform
