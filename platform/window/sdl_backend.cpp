#include "platform/window/sdl_backend.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/system/clock.h"
#include "platform/window/activation.h"
#include "platform/window/input.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_picture.h"
#include "platform/window/x11_errors.h"
#include "platform/window/x11_stacking.h"

namespace platform::internal {

namespace {

// An idle loop looks again at least this often (the window system may not wake it for
// everything, such as a change of the fake clock).
constexpr uint32_t kLongestWaitMs = 100;
// Least time between two looks at the window system from PumpEvents.
constexpr uint32_t kLookIntervalMs = 15;

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return '1' + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return '0';
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
  }
}

// Keys whose character comes from the window system's text input (layout and Shift applied).
bool ProducesText(SDL_Keycode key) {
  return (key >= 32 && key < 127) || (key >= SDLK_KP_DIVIDE && key <= SDLK_KP_PERIOD);
}

// The code points of UTF-8 text that fit the program's 8-bit character set.
std::vector<int> Latin1Characters(const char* text) {
  std::vector<int> characters;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != 0) {
    int length = 1;
    uint32_t code = *p;
    if (code >= 0xF0) {
      length = 4;
      code &= 0x07;
    } else if (code >= 0xE0) {
      length = 3;
      code &= 0x0F;
    } else if (code >= 0xC0) {
      length = 2;
      code &= 0x1F;
    }
    int taken = 1;
    for (; taken < length && (p[taken] & 0xC0) == 0x80; ++taken) code = (code << 6) | (p[taken] & 0x3F);
    if (taken == length && code >= 1 && code <= 0xFF) characters.push_back(static_cast<int>(code));
    p += taken;
  }
  return characters;
}

}  // namespace

struct SdlBackend::Native {
  SDL_Window* window = nullptr;
  // The size of the SDL window surface pictures went to (a new surface after a resize starts
  // empty, so it takes the whole picture).
  int target_width = 0;
  int target_height = 0;
  // What the SDL window was last told, so that its own events do not echo back.
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool shown = false;
  bool minimized = false;
  bool topmost = false;
};

std::unique_ptr<SdlBackend> SdlBackend::Open() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Window pictures go to the window system's own surface, never through a renderer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  if (const char* driver = SDL_GetCurrentVideoDriver(); driver != nullptr && std::strcmp(driver, "x11") == 0) {
    IgnoreFailedWakeupSends();
  }
  std::unique_ptr<SdlBackend> backend(new SdlBackend());
  backend->wake_event_ = SDL_RegisterEvents(1);
  backend->arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  SDL_StartTextInput();
  return backend;
}

SdlBackend::~SdlBackend() {
  if (arrow_ != nullptr) SDL_FreeCursor(arrow_);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlBackend::Native* SdlBackend::NativeOf(const Window& window) const { return static_cast<Native*>(window.native); }

HWND SdlBackend::WindowOfEvent(uint32_t sdl_window_id) const {
  const auto it = windows_by_id_.find(sdl_window_id);
  return it == windows_by_id_.end() ? nullptr : it->second;
}

bool SdlBackend::CreateNativeWindow(Window& window) {
  auto native = std::make_unique<Native>();
  const int band = MenuBandHeight(window);
  const POINT origin = ClientOriginOnScreen(window);
  native->title = window.title;
  native->x = origin.x;
  native->y = origin.y - band;
  native->width = std::max(1, window.client_width);
  native->height = std::max(1, window.client_height + band);
  native->topmost = (window.ex_style & WS_EX_TOPMOST) != 0;
  uint32_t flags = SDL_WINDOW_HIDDEN;
  const bool captioned = (window.style & WS_CAPTION) == WS_CAPTION || (window.style & WS_POPUP) == 0;
  if (!captioned) flags |= SDL_WINDOW_BORDERLESS;
  if (native->topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  native->window =
      SDL_CreateWindow(native->title.c_str(), native->x, native->y, native->width, native->height, flags);
  if (native->window == nullptr) return false;
  if (window.owner != nullptr) {
    if (const auto owner = FindWindowRecord(window.owner)) {
      if (const Native* owner_native = NativeOf(*owner)) SDL_SetWindowModalFor(native->window, owner_native->window);
    }
  }
  SetIcon(window, *native);
  windows_by_id_[SDL_GetWindowID(native->window)] = window.handle;
  window.native = native.release();
  return true;
}

void SdlBackend::SetIcon(Window& window, Native& native) {
  const HICON icon = window.window_class->wc.hIcon;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
  if (icon == nullptr || !GetIconPixels(icon, &width, &height, &rgba) || width <= 0 || height <= 0) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), width, height, 32, width * 4,
                                                            SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(native.window, surface);
  SDL_FreeSurface(surface);
}

void SdlBackend::DestroyNativeWindow(Window& window) {
  Native* native = NativeOf(window);
  if (native == nullptr) return;
  windows_by_id_.erase(SDL_GetWindowID(native->window));
  SDL_DestroyWindow(native->window);
  check_buttons_ = true;
  delete native;
  window.native = nullptr;
}

void SdlBackend::UpdateNativeWindow(Window& window) {
  Native* native = NativeOf(window);
  if (native == nullptr) return;
  if (native->title != window.title) {
    native->title = window.title;
    SDL_SetWindowTitle(native->window, native->title.c_str());
  }
  const int band = MenuBandHeight(window);
  const POINT origin = ClientOriginOnScreen(window);
  if (native->x != origin.x || native->y != origin.y - band) {
    native->x = origin.x;
    native->y = origin.y - band;
    SDL_SetWindowPosition(native->window, native->x, native->y);
  }
  const int width = std::max(1, window.client_width);
  const int height = std::max(1, window.client_height + band);
  if (native->width != width || native->height != height) {
    native->width = width;
    native->height = height;
    SDL_SetWindowSize(native->window, width, height);
  }
  const bool topmost = (window.ex_style & WS_EX_TOPMOST) != 0;
  if (native->topmost != topmost) {
    native->topmost = topmost;
    SDL_SetWindowAlwaysOnTop(native->window, topmost ? SDL_TRUE : SDL_FALSE);
  }
  const bool shown = window.visible && !window.destroying;
  if (native->shown != shown) {
    native->shown = shown;
    if (shown) {
      SDL_ShowWindow(native->window);
    } else {
      SDL_HideWindow(native->window);
    }
  }
  if (native->minimized != window.minimized) {
    native->minimized = window.minimized;
    if (window.minimized) {
      SDL_MinimizeWindow(native->window);
    } else {
      SDL_RestoreWindow(native->window);
    }
  }
}

void SdlBackend::RaiseNativeWindow(Window& window) {
  Native* native = NativeOf(window);
  if (native == nullptr || !native->shown) return;
  SDL_RaiseWindow(native->window);
  // The windows in front of it (the ones it owns, topmost ones) go back in front of it, the
  // front-most last: without a window manager nothing else keeps a dialog above its owner.
  std::vector<SDL_Window*> in_front;
  for (HWND hwnd : WindowTable::Get().ZOrder()) {
    if (hwnd == window.handle) break;
    const auto other = FindWindowRecord(hwnd);
    const Native* other_native = other ? NativeOf(*other) : nullptr;
    if (other_native != nullptr && other_native->shown) in_front.push_back(other_native->window);
  }
  for (auto it = in_front.rbegin(); it != in_front.rend(); ++it) RestackNativeOnTop(*it);
}

void SdlBackend::Present(Window& window, const Surface& picture, RowRange changed, bool whole) {
  Native* native = NativeOf(window);
  if (native == nullptr || !native->shown || picture.width <= 0 || picture.height <= 0) return;
  SDL_Surface* target = SDL_GetWindowSurface(native->window);
  if (target == nullptr) return;
  if (target->w != native->target_width || target->h != native->target_height) {
    native->target_width = target->w;
    native->target_height = target->h;
    whole = true;
  }
  RowRange rows = whole ? RowRange{0, picture.height} : changed;
  // Until the window system has resized the window, only what both sizes share is shown.
  const int width = std::min(picture.width, target->w);
  const int first = std::max(rows.first, 0);
  const int end = std::min({rows.end, picture.height, target->h});
  if (first >= end || width <= 0) return;
  const bool locked = SDL_MUSTLOCK(target) && SDL_LockSurface(target) == 0;
  SDL_ConvertPixels(width, end - first, SDL_PIXELFORMAT_BGR24, picture.Row(first),
                    static_cast<int>(picture.Stride()), target->format->format,
                    static_cast<uint8_t*>(target->pixels) + static_cast<size_t>(first) * target->pitch,
                    target->pitch);
  if (locked) SDL_UnlockSurface(target);
  const SDL_Rect area{0, first, width, end - first};
  SDL_UpdateWindowSurfaceRects(native->window, &area, 1);
}

void SdlBackend::ApplyCursor(HCURSOR cursor) {
  if (cursor == nullptr) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  if (arrow_ != nullptr) SDL_SetCursor(arrow_);
  SDL_ShowCursor(SDL_ENABLE);
}

SIZE SdlBackend::ScreenSize() {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return SIZE{1024, 768};
  return SIZE{mode.w, mode.h};
}

void SdlBackend::HandleWindowEvent(const SDL_WindowEvent& event) {
  const HWND hwnd = WindowOfEvent(event.windowID);
  const auto window = FindWindowRecord(hwnd);
  if (!window) return;
  Native* native = NativeOf(*window);
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      DeliverClose(hwnd);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (GetActiveWindow() != hwnd) SetForegroundWindow(hwnd);
      break;
    case SDL_WINDOWEVENT_MOVED: {
      native->x = event.data1;
      native->y = event.data2;
      const RECT frame = FrameOf(window->style, window->ex_style, window->menu != nullptr);
      const int band = MenuBandHeight(*window);
      SetWindowPos(hwnd, nullptr, event.data1 - frame.left, event.data2 + band - frame.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      native->minimized = true;
      if (!window->minimized) ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      native->minimized = false;
      if (window->minimized) ShowWindow(hwnd, SW_RESTORE);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      PresentPictures(true);
      break;
    default:
      break;
  }
}

void SdlBackend::HandleKey(const SDL_KeyboardEvent& event) {
  const int virtual_key = VirtualKeyOf(event.keysym.sym);
  if (event.type == SDL_KEYUP) {
    DeliverKey(WM_KEYUP, virtual_key, 0);
    return;
  }
  const Uint16 mod = event.keysym.mod;
  const bool shift = (mod & KMOD_SHIFT) != 0;
  // Right Alt and the mode switch are AltGr on most non-US layouts: their key presses type the
  // layout's third-level characters ("@", "{", ...), so what they produce is the text SDL made.
  const bool alt_graph = (mod & (KMOD_RALT | KMOD_MODE)) != 0;
  const bool control = (mod & KMOD_CTRL) != 0 && !alt_graph;
  const bool alt = (mod & KMOD_LALT) != 0 && !alt_graph;
  // The text SDL made of this key press, if any, follows it in SDL's queue. It is taken off the
  // queue here in every case, so that a key that is not meant to type (Alt+Q) does not type
  // through HandleText afterwards.
  SDL_Event text;
  const bool has_text = ProducesText(event.keysym.sym) &&
                        SDL_PeepEvents(&text, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1;
  int character = 0;
  std::vector<int> extra_characters;
  if (alt) {
    // Alt with a key is a system key: it types nothing.
  } else if (control) {
    character = CharacterForKey(virtual_key, shift, true);
  } else if (has_text) {
    const std::vector<int> characters = Latin1Characters(text.text.text);
    if (!characters.empty()) character = characters.front();
    extra_characters.assign(characters.begin() + (characters.empty() ? 0 : 1), characters.end());
  } else if (!alt_graph) {
    character = CharacterForKey(virtual_key, shift, false);
  }
  DeliverKey(WM_KEYDOWN, virtual_key, character);
  for (int extra : extra_characters) {
    DeliverKey(WM_KEYDOWN, 0, extra);
    DeliverKey(WM_KEYUP, 0, 0);
  }
}

void SdlBackend::HandleText(const SDL_TextInputEvent& event) {
  // Text that came without a key of its own (composed characters).
  for (int character : Latin1Characters(event.text)) {
    DeliverKey(WM_KEYDOWN, 0, character);
    DeliverKey(WM_KEYUP, 0, 0);
  }
}

void SdlBackend::PumpEvents() {
  // A message loop pumps before every message it takes, and each look at the window system costs
  // several calls to the X server: look at most every kLookIntervalMs from here or from Idle's
  // wait (an idle tick pumps before its timer message and again after it, right after a wait and
  // before the next). What an earlier look, or the wait, queued in SDL is taken every time.
  const uint32_t now = SDL_GetTicks();
  const bool look = now - last_look_ms_ >= kLookIntervalMs;
  if (look) last_look_ms_ = now;
  DrainEvents(look);
  if (check_buttons_) ResyncButtons();
}

void SdlBackend::HandleButton(const SDL_MouseButtonEvent& event) {
  const bool down = event.type == SDL_MOUSEBUTTONDOWN;
  UINT press = 0;
  int virtual_key = 0;
  if (event.button == SDL_BUTTON_LEFT) {
    press = WM_LBUTTONDOWN;
    virtual_key = VK_LBUTTON;
  } else if (event.button == SDL_BUTTON_RIGHT) {
    press = WM_RBUTTONDOWN;
    virtual_key = VK_RBUTTON;
  } else {
    return;
  }
  const UINT release = press == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
  const uint32_t mask = SDL_BUTTON(event.button);
  const HWND hwnd = WindowOfEvent(event.windowID);
  const POINT point{event.x, event.y};
  if (down) {
    dropped_press_ &= ~mask;
    DeliverMouse(hwnd, press, point);
    return;
  }
  if ((dropped_press_ & mask) != 0) {
    dropped_press_ &= ~mask;
    // The press SDL dropped happened here, on the same spot: the user clicked.
    if (!IsKeyDownNow(virtual_key)) DeliverMouse(hwnd, press, point);
  }
  DeliverMouse(hwnd, release, point);
}

void SdlBackend::ResyncButtons() {
  constexpr uint32_t kButtons = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
  if ((SDL_GetMouseState(nullptr, nullptr) & kButtons) == 0) {
    check_buttons_ = false;
    return;
  }
  int screen_x = 0;
  int screen_y = 0;
  const uint32_t really_held = SDL_GetGlobalMouseState(&screen_x, &screen_y) & kButtons;
  if ((SDL_GetMouseState(nullptr, nullptr) & kButtons & ~really_held) == 0) return;  // still held
  // A release may be on its way: take what the window system has sent up to the query first.
  DrainEvents();
  int x = 0;
  int y = 0;
  const uint32_t lost = SDL_GetMouseState(&x, &y) & kButtons & ~really_held;
  if (lost == 0) return;
  check_buttons_ = false;
  dropped_press_ |= lost;
  SDL_Window* focus = SDL_GetMouseFocus();
  const HWND hwnd = focus != nullptr ? WindowOfEvent(SDL_GetWindowID(focus)) : nullptr;
  // The window core gets the release it missed, where the pointer is now.
  if ((lost & SDL_BUTTON_LMASK) != 0 && IsKeyDownNow(VK_LBUTTON)) DeliverMouse(hwnd, WM_LBUTTONUP, POINT{x, y});
  if ((lost & SDL_BUTTON_RMASK) != 0 && IsKeyDownNow(VK_RBUTTON)) DeliverMouse(hwnd, WM_RBUTTONUP, POINT{x, y});
}

void SdlBackend::DrainEvents(bool look) {
  // One look at the window system per call; SDL_PollEvent would look again for every event.
  if (look) SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    switch (event.type) {
      case SDL_MOUSEMOTION:
        DeliverMouse(WindowOfEvent(event.motion.windowID), WM_MOUSEMOVE, POINT{event.motion.x, event.motion.y});
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        HandleButton(event.button);
        break;
      case SDL_MOUSEWHEEL: {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        if (notches == 0) break;
        int x = 0;
        int y = 0;
        SDL_GetMouseState(&x, &y);
        DeliverWheel(WindowOfEvent(event.wheel.windowID), notches * WHEEL_DELTA, POINT{x, y});
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        HandleKey(event.key);
        break;
      case SDL_TEXTINPUT:
        HandleText(event.text);
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
      default:
        break;  // the wake event, SDL_QUIT (each window closes by its own close box) and the rest
    }
  }
}

void SdlBackend::Idle(MessageQueue& queue, std::optional<uint32_t> next_timer_due_ms) {
  uint32_t wait_ms = kLongestWaitMs;
  if (next_timer_due_ms) {
    const int32_t until_due = static_cast<int32_t>(*next_timer_due_ms - GetTickCount());
    wait_ms = until_due <= 0 ? 0 : std::min<uint32_t>(static_cast<uint32_t>(until_due), kLongestWaitMs);
  }
  if (wait_ms > 0) {
    // The wait looks at the window system when it starts and takes what arrives while it waits,
    // so it counts as a look: the pump of the message that follows need not ask again.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(wait_ms));
    last_look_ms_ = SDL_GetTicks();
  }
}

void SdlBackend::Wake(MessageQueue& queue) {
  SDL_Event event{};
  event.type = wake_event_;
  SDL_PushEvent(&event);
}

}  // namespace platform::internal
