#include "platform/window/window.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/window/activation.h"
#include "platform/window/backend.h"
#include "platform/window/input.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window_internal.h"

namespace platform {

using internal::CallProcedure;
using internal::FindWindowRecord;
using internal::TopLevelOf;
using internal::Window;
using internal::WindowTable;

namespace {

// Frame measures of top-level windows, in pixels.
constexpr int kCaptionHeight = 19;
constexpr int kDialogFrame = 3;
constexpr int kBorder = 1;
constexpr int kMenuHeight = 19;
constexpr int kDoubleClickArea = 4;

// Where windows created with CW_USEDEFAULT go.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
int g_default_position_step = 0;

MenuBarHooks g_menu_hooks;

bool IsChildStyle(uint32_t style) { return (style & WS_CHILD) != 0; }
bool IsTopLevel(const Window& window) { return !IsChildStyle(window.style); }

bool OnOwnThread(const Window& window) { return window.queue->thread == std::this_thread::get_id(); }

std::shared_ptr<Window> FindOwnWindow(HWND hwnd) {
  auto window = FindWindowRecord(hwnd);
  if (!window || !OnOwnThread(*window)) return nullptr;
  return window;
}

std::shared_ptr<Window> FindLiveWindow(HWND hwnd) {
  auto window = FindOwnWindow(hwnd);
  if (!window || window->destroying) return nullptr;
  return window;
}

void SendSizeAndMove(const std::shared_ptr<Window>& window) {
  CallProcedure(window, WM_SIZE, window->minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                MAKELPARAM(window->client_width, window->client_height));
  if (!IsWindow(window->handle)) return;
  POINT origin{window->rect.left, window->rect.top};
  if (IsTopLevel(*window)) origin = internal::ClientOriginOnScreen(*window);
  CallProcedure(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

// Shows a change of a child window in its top-level window's picture.
void MarkParentPicture(Window& window) {
  if (IsTopLevel(window)) {
    internal::GetBackend().UpdateNativeWindow(window);
    return;
  }
  if (const auto parent = FindWindowRecord(window.parent)) internal::MarkPictureDirty(*parent);
}

// Sets the outer rectangle and follows up with the pictures, the messages and the backend.
void ApplyRect(const std::shared_ptr<Window>& window, const RECT& rect) {
  const bool moved = rect.left != window->rect.left || rect.top != window->rect.top;
  window->rect = rect;
  const RECT frame = internal::FrameOf(window->style, window->ex_style, window->menu != nullptr && IsTopLevel(*window));
  const int32_t client_width = std::max(0, (rect.right - rect.left) - frame.left - frame.right);
  const int32_t client_height = std::max(0, (rect.bottom - rect.top) - frame.top - frame.bottom);
  const bool resized = client_width != window->client_width || client_height != window->client_height;
  window->client_width = client_width;
  window->client_height = client_height;
  if (resized) {
    internal::ResizePictures(*window, internal::MenuBandHeight(*window));
    if (window->menu != nullptr) window->band_paint_pending = true;
    internal::InvalidateAll(*window, true);
  }
  MarkParentPicture(*window);
  if (!window->created) return;
  if (resized) {
    CallProcedure(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client_width, client_height));
    if (!IsWindow(window->handle)) return;
  }
  if (moved) {
    POINT origin{rect.left, rect.top};
    if (IsTopLevel(*window)) origin = internal::ClientOriginOnScreen(*window);
    CallProcedure(window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  }
}

// WM_DESTROY to the window, then to its children, parents first.
void SendDestroyMessages(const std::shared_ptr<Window>& window) {
  CallProcedure(window, WM_DESTROY, 0, 0);
  const std::vector<HWND> children = window->children;
  for (HWND child_handle : children) {
    const auto child = FindWindowRecord(child_handle);
    if (!child || child->destroying) continue;
    child->destroying = true;
    internal::DropFocusFrom(*child);
    SendDestroyMessages(child);
  }
}

void ReleaseWindow(const std::shared_ptr<Window>& window) {
  const HWND hwnd = window->handle;
  internal::KillTimersOf(hwnd);
  internal::DropQueuedMessagesFor(hwnd);
  internal::ForgetInputWindow(hwnd);
  internal::ReleaseWindowDCs(*window);
  if (IsTopLevel(*window)) {
    internal::GetBackend().DestroyNativeWindow(*window);
  } else if (const auto parent = FindWindowRecord(window->parent)) {
    std::erase(parent->children, hwnd);
    internal::MarkPictureDirty(*parent);
  }
  WindowTable::Get().Remove(hwnd);
}

// WM_NCDESTROY to the children (deepest first), then to the window; then the handles go.
void FinishDestroy(const std::shared_ptr<Window>& window) {
  const std::vector<HWND> children = window->children;
  for (HWND child_handle : children) {
    if (const auto child = FindWindowRecord(child_handle)) FinishDestroy(child);
  }
  CallProcedure(window, WM_NCDESTROY, 0, 0);
  ReleaseWindow(window);
}

void SetVisible(const std::shared_ptr<Window>& window, bool visible) {
  if (window->visible == visible) return;
  window->visible = visible;
  CallProcedure(window, WM_SHOWWINDOW, visible ? 1 : 0, 0);
  MarkParentPicture(*window);
  internal::MarkPictureDirty(*window);
}

void SetMinimized(const std::shared_ptr<Window>& window, bool minimized) {
  if (window->minimized == minimized) return;
  window->minimized = minimized;
  internal::GetBackend().UpdateNativeWindow(*window);
  CallProcedure(window, WM_SIZE, minimized ? SIZE_MINIMIZED : SIZE_RESTORED,
                MAKELPARAM(window->client_width, window->client_height));
}

LRESULT DefaultGetText(const Window& window, WPARAM buffer_size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || buffer_size == 0) return 0;
  const size_t length = std::min(window.title.size(), static_cast<size_t>(buffer_size - 1));
  std::memcpy(out, window.title.data(), length);
  out[length] = 0;
  return static_cast<LRESULT>(length);
}

LRESULT DefaultSysKey(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsTopLevel(*window)) return SendMessage(window->parent, message, wParam, lParam);
  if (message == WM_SYSKEYDOWN && wParam == static_cast<WPARAM>(VK_F4)) {
    return SendMessage(window->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  if (window->menu != nullptr && g_menu_hooks.key != nullptr) {
    g_menu_hooks.key(window->handle, window->menu, message, wParam, lParam);
  }
  return 0;
}

LRESULT DefaultWheel(const std::shared_ptr<Window>& window, WPARAM wParam, LPARAM lParam) {
  if (IsTopLevel(*window)) return 0;
  // The parent gets the turn in its own client coordinates.
  const int x = GET_X_LPARAM(lParam) + window->rect.left;
  const int y = GET_Y_LPARAM(lParam) + window->rect.top;
  return SendMessage(window->parent, WM_MOUSEWHEEL, wParam, MAKELPARAM(x, y));
}

}  // namespace

namespace internal {

RECT FrameOf(uint32_t style, uint32_t ex_style, bool has_menu) {
  RECT frame{0, 0, 0, 0};
  if (IsChildStyle(style)) return frame;
  int edge = 0;
  int caption = 0;
  const bool captioned = (style & WS_CAPTION) == WS_CAPTION || (style & WS_POPUP) == 0;
  if (captioned) {
    edge = kDialogFrame;
    caption = kCaptionHeight;
  } else if ((style & (WS_THICKFRAME | WS_DLGFRAME)) != 0) {
    edge = kDialogFrame;
  } else if ((style & WS_BORDER) != 0) {
    edge = kBorder;
  }
  frame = RECT{edge, edge + caption + (has_menu ? kMenuHeight : 0), edge, edge};
  return frame;
}

int32_t MenuBandHeight(const Window& window) {
  return (window.menu != nullptr && IsTopLevel(window)) ? kMenuHeight : 0;
}

POINT ClientOriginOnScreen(const Window& window) {
  if (IsTopLevel(window)) {
    const RECT frame = FrameOf(window.style, window.ex_style, window.menu != nullptr);
    return POINT{window.rect.left + frame.left, window.rect.top + frame.top};
  }
  POINT origin{window.rect.left, window.rect.top};
  if (const auto parent = FindWindowRecord(window.parent)) {
    const POINT parent_origin = ClientOriginOnScreen(*parent);
    origin.x += parent_origin.x;
    origin.y += parent_origin.y;
  }
  return origin;
}

}  // namespace internal

HWND CreateWindowEx(uint32_t ex_style, const char* class_name, const char* title, uint32_t style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* create_param) {
  const auto window_class = internal::FindClassRecord(class_name);
  if (!window_class) return nullptr;
  auto window = std::make_shared<Window>();
  window->window_class = window_class;
  window->proc = window_class->wc.lpfnWndProc;
  window->style = style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
  window->ex_style = ex_style;
  window->instance = instance;
  window->queue = &WindowTable::Get().CurrentQueue();
  window->extra.assign(static_cast<size_t>(window_class->wc.cbWndExtra), 0);
  window->title = title != nullptr ? title : "";
  window->enabled = (style & WS_DISABLED) == 0;

  std::shared_ptr<Window> parent_window;
  if (IsChildStyle(style)) {
    parent_window = FindLiveWindow(parent);
    if (!parent_window) return nullptr;
    window->parent = parent;
    window->control_id = reinterpret_cast<intptr_t>(menu);
  } else {
    if (parent != nullptr) {
      const auto owner = TopLevelOf(FindLiveWindow(parent));
      if (!owner) return nullptr;
      window->owner = owner->handle;
    }
    window->menu = menu;
  }

  if (width == CW_USEDEFAULT) width = kDefaultWidth;
  if (height == CW_USEDEFAULT) height = kDefaultHeight;
  if (x == CW_USEDEFAULT || y == CW_USEDEFAULT) {
    x = 40 + 24 * g_default_position_step;
    y = 40 + 24 * g_default_position_step;
    g_default_position_step = (g_default_position_step + 1) % 8;
  }
  window->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  const RECT frame = internal::FrameOf(window->style, ex_style, window->menu != nullptr);
  window->client_width = std::max(0, std::max(0, width) - frame.left - frame.right);
  window->client_height = std::max(0, std::max(0, height) - frame.top - frame.bottom);
  internal::ResizePictures(*window, internal::MenuBandHeight(*window));

  const HWND hwnd = WindowTable::Get().Add(window);
  if (parent_window) {
    parent_window->children.push_back(hwnd);
  } else {
    WindowTable::Get().BringToFront(hwnd, (ex_style & WS_EX_TOPMOST) != 0);
    if (!internal::GetBackend().CreateNativeWindow(*window)) {
      WindowTable::Get().Remove(hwnd);
      return nullptr;
    }
  }

  CREATESTRUCT create{create_param, instance, menu, parent, height, width, y, x, style, title, class_name, ex_style};
  if (CallProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  window->created = true;
  SendSizeAndMove(window);
  if (!IsWindow(hwnd)) return nullptr;
  internal::InvalidateAll(*window, true);
  if (window->menu != nullptr) window->band_paint_pending = true;
  if ((style & WS_VISIBLE) != 0) {
    if (parent_window) {
      SetVisible(window, true);
    } else {
      ShowWindow(hwnd, (style & WS_MINIMIZE) != 0 ? SW_SHOWMINIMIZED : SW_SHOW);
    }
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
  const auto window = FindLiveWindow(hwnd);
  if (!window) return false;
  window->destroying = true;

  for (const auto& other : WindowTable::Get().All()) {
    if (other->owner == hwnd) DestroyWindow(other->handle);
  }
  internal::DropFocusFrom(*window);
  if (IsTopLevel(*window)) internal::HandOffActivation(*window);
  if (GetCapture() == hwnd || IsChild(hwnd, GetCapture())) ReleaseCapture();
  if (window->visible) {
    window->visible = false;
    MarkParentPicture(*window);
  }
  SendDestroyMessages(window);
  FinishDestroy(window);
  return true;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (proc == nullptr) return 0;
  const auto keep_alive = FindWindowRecord(hwnd);
  return proc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto window = FindOwnWindow(hwnd);
  if (!window) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return internal::EraseWithClassBrush(*window, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_NCPAINT:
      if (window->menu != nullptr && g_menu_hooks.paint != nullptr) {
        g_menu_hooks.paint(hwnd, window->menu, internal::MenuBandDC(*window), window->client_width,
                           internal::MenuBandHeight(*window));
      }
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
      if (window->menu != nullptr && g_menu_hooks.mouse != nullptr) {
        g_menu_hooks.mouse(hwnd, window->menu, message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      }
      return 0;
    case WM_SETCURSOR:
      if (window->window_class->wc.hCursor != nullptr) {
        SetCursor(window->window_class->wc.hCursor);
        return 1;
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) SetFocus(hwnd);
      return 0;
    case WM_SETTEXT:
      window->title = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      if (IsTopLevel(*window)) internal::GetBackend().UpdateNativeWindow(*window);
      return 1;
    case WM_GETTEXT:
      return DefaultGetText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(window->title.size());
    case WM_MOUSEWHEEL:
      return DefaultWheel(window, wParam, lParam);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return DefaultSysKey(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: return SendMessage(hwnd, WM_CLOSE, 0, 0);
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
        default: return 0;
      }
    default:
      return 0;
  }
}

bool IsWindow(HWND hwnd) { return FindWindowRecord(hwnd) != nullptr; }

bool IsWindowVisible(HWND hwnd) {
  for (auto window = FindWindowRecord(hwnd); window;) {
    if (!window->visible) return false;
    if (IsTopLevel(*window)) return true;
    window = FindWindowRecord(window->parent);
  }
  return false;
}

bool IsWindowEnabled(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  return window && window->enabled;
}

bool IsIconic(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  return window && window->minimized;
}

bool IsChild(HWND parent, HWND hwnd) {
  if (parent == nullptr) return false;
  auto window = FindWindowRecord(hwnd);
  while (window && !IsTopLevel(*window)) {
    if (window->parent == parent) return true;
    window = FindWindowRecord(window->parent);
  }
  return false;
}

bool ShowWindow(HWND hwnd, int command) {
  const auto window = FindLiveWindow(hwnd);
  if (!window) return false;
  const bool was_visible = window->visible;
  const bool top_level = IsTopLevel(*window);
  bool activate = false;
  switch (command) {
    case SW_HIDE:
      if (!was_visible) return false;
      internal::DropFocusFrom(*window);
      if (top_level) internal::HandOffActivation(*window);
      SetVisible(window, false);
      return was_visible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!top_level) return was_visible;
      SetVisible(window, true);
      internal::DropFocusFrom(*window);
      SetMinimized(window, true);
      internal::HandOffActivation(*window);
      return was_visible;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      if (top_level) SetMinimized(window, false);
      activate = top_level;
      break;
    case SW_SHOWNOACTIVATE:
      if (top_level) SetMinimized(window, false);
      break;
    case SW_SHOWNA:
      break;
    default:  // SW_SHOW, SW_SHOWMAXIMIZED
      activate = top_level && !window->minimized;
      break;
  }
  if (!IsWindow(hwnd)) return was_visible;
  SetVisible(window, true);
  if (activate && IsWindow(hwnd) && window->enabled) internal::ActivateWindow(window);
  return was_visible;
}

bool OpenIcon(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  ShowWindow(hwnd, SW_RESTORE);
  return true;
}

bool EnableWindow(HWND hwnd, bool enable) {
  const auto window = FindLiveWindow(hwnd);
  if (!window) return false;
  const bool was_disabled = !window->enabled;
  if (window->enabled == enable) return was_disabled;
  window->enabled = enable;
  if (!enable) {
    internal::DropFocusFrom(*window);
    if (GetCapture() == hwnd || IsChild(hwnd, GetCapture())) ReleaseCapture();
  }
  CallProcedure(window, WM_ENABLE, enable ? 1 : 0, 0);
  if (IsTopLevel(*window) && IsWindow(hwnd)) internal::GetBackend().UpdateNativeWindow(*window);
  return was_disabled;
}

bool SetWindowText(HWND hwnd, const char* text) {
  if (!FindLiveWindow(hwnd)) return false;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : "")) != 0;
}

int GetWindowText(HWND hwnd, char* buffer, int buffer_size) {
  if (buffer == nullptr || buffer_size <= 0) return 0;
  buffer[0] = 0;
  if (!FindOwnWindow(hwnd)) return 0;
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(buffer_size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
  if (!FindOwnWindow(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

bool GetClientRect(HWND hwnd, RECT* rect) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || rect == nullptr) return false;
  *rect = RECT{0, 0, window->client_width, window->client_height};
  return true;
}

bool GetWindowRect(HWND hwnd, RECT* rect) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || rect == nullptr) return false;
  if (IsTopLevel(*window)) {
    *rect = window->rect;
    return true;
  }
  const POINT origin = internal::ClientOriginOnScreen(*window);
  *rect = RECT{origin.x, origin.y, origin.x + window->rect.right - window->rect.left,
               origin.y + window->rect.bottom - window->rect.top};
  return true;
}

bool SetWindowPos(HWND hwnd, HWND insert_after, int x, int y, int width, int height, uint32_t flags) {
  const auto window = FindLiveWindow(hwnd);
  if (!window) return false;
  if ((flags & SWP_NOZORDER) == 0) {
    if (IsTopLevel(*window)) {
      if (insert_after == HWND_TOPMOST) window->ex_style |= WS_EX_TOPMOST;
      if (insert_after == HWND_NOTOPMOST) window->ex_style &= ~WS_EX_TOPMOST;
      WindowTable::Get().BringToFront(hwnd, (window->ex_style & WS_EX_TOPMOST) != 0);
      internal::GetBackend().UpdateNativeWindow(*window);
    } else if (insert_after == HWND_TOP) {
      if (const auto parent = FindWindowRecord(window->parent)) {
        std::erase(parent->children, hwnd);
        parent->children.push_back(hwnd);
        internal::MarkPictureDirty(*parent);
      }
    }
  }
  RECT rect = window->rect;
  if ((flags & SWP_NOMOVE) == 0) {
    rect.right += x - rect.left;
    rect.bottom += y - rect.top;
    rect.left = x;
    rect.top = y;
  }
  if ((flags & SWP_NOSIZE) == 0) {
    rect.right = rect.left + std::max(0, width);
    rect.bottom = rect.top + std::max(0, height);
  }
  ApplyRect(window, rect);
  if (!IsWindow(hwnd)) return true;
  if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
  if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(hwnd, SW_HIDE);
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool BringWindowToTop(HWND hwnd) {
  const auto window = FindLiveWindow(hwnd);
  if (!window) return false;
  if (IsTopLevel(*window)) return SetForegroundWindow(hwnd);
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool ClientToScreen(HWND hwnd, POINT* point) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || point == nullptr) return false;
  const POINT origin = internal::ClientOriginOnScreen(*window);
  point->x += origin.x;
  point->y += origin.y;
  return true;
}

bool ScreenToClient(HWND hwnd, POINT* point) {
  const auto window = FindWindowRecord(hwnd);
  if (!window || point == nullptr) return false;
  const POINT origin = internal::ClientOriginOnScreen(*window);
  point->x -= origin.x;
  point->y -= origin.y;
  return true;
}

HWND GetParent(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  if (!window) return nullptr;
  if (!IsTopLevel(*window)) return window->parent;
  return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

// Children are listed in creation order (GW_CHILD gives the first one, GW_HWNDNEXT the next), which
// is also the tab order of dialogs; later children are drawn over earlier ones. Top-level windows
// are listed front first.
HWND GetWindow(HWND hwnd, UINT relation) {
  const auto window = FindWindowRecord(hwnd);
  if (!window) return nullptr;
  if (relation == GW_OWNER) return window->owner;
  if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  std::vector<HWND> siblings;
  if (IsTopLevel(*window)) {
    siblings = WindowTable::Get().ZOrder();
  } else if (const auto parent = FindWindowRecord(window->parent)) {
    siblings = parent->children;
  }
  if (siblings.empty()) return nullptr;
  const auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == siblings.end() || it == siblings.begin()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetDlgItem(HWND parent, int control_id) {
  const auto window = FindWindowRecord(parent);
  if (!window) return nullptr;
  for (HWND child_handle : window->children) {
    const auto child = FindWindowRecord(child_handle);
    if (child && child->control_id == control_id) return child_handle;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  return window && !IsTopLevel(*window) ? static_cast<int>(window->control_id) : 0;
}

HWND FindWindow(const char* class_name, const char* title) {
  for (HWND hwnd : WindowTable::Get().ZOrder()) {
    const auto window = FindWindowRecord(hwnd);
    if (!window || window->destroying) continue;
    if (class_name != nullptr && strcasecmp(window->window_class->name.c_str(), class_name) != 0) continue;
    if (title != nullptr && window->title != title) continue;
    return hwnd;
  }
  return nullptr;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  const auto window = FindWindowRecord(hwnd);
  if (!window) return 0;
  if (index >= 0) {
    if (static_cast<size_t>(index) + sizeof(LONG_PTR) > window->extra.size()) return 0;
    LONG_PTR value;
    std::memcpy(&value, window->extra.data() + index, sizeof(value));
    return value;
  }
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(IsTopLevel(*window) ? window->owner : window->parent);
    case GWLP_ID: return window->control_id;
    case GWL_STYLE:
      return static_cast<LONG_PTR>(window->style | (window->visible ? WS_VISIBLE : 0) |
                                   (window->enabled ? 0 : WS_DISABLED) | (window->minimized ? WS_MINIMIZE : 0));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(window->ex_style);
    case GWLP_USERDATA: return window->user_data;
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  const auto window = FindOwnWindow(hwnd);
  if (!window) return 0;
  const LONG_PTR old_value = GetWindowLongPtr(hwnd, index);
  if (index >= 0) {
    if (static_cast<size_t>(index) + sizeof(LONG_PTR) > window->extra.size()) return 0;
    std::memcpy(window->extra.data() + index, &value, sizeof(value));
    return old_value;
  }
  switch (index) {
    case GWLP_WNDPROC: window->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_ID: window->control_id = value; break;
    case GWL_STYLE: {
      // Visibility, the enabled state and minimising go through their own calls.
      constexpr uint32_t kStateBits = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_CHILD | WS_POPUP;
      window->style = (window->style & kStateBits) | (static_cast<uint32_t>(value) & ~kStateBits);
      break;
    }
    case GWL_EXSTYLE:
      window->ex_style = static_cast<uint32_t>(value);
      if (IsTopLevel(*window)) internal::GetBackend().UpdateNativeWindow(*window);
      break;
    case GWLP_USERDATA: window->user_data = value; break;
    default: return 0;
  }
  return old_value;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return internal::GetBackend().ScreenSize().cx;
    case SM_CYSCREEN: return internal::GetBackend().ScreenSize().cy;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CYMENU: return kMenuHeight;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return kDoubleClickArea;
    default: return 0;
  }
}

bool AdjustWindowRectEx(RECT* rect, uint32_t style, bool has_menu, uint32_t ex_style) {
  if (rect == nullptr) return false;
  const RECT frame = internal::FrameOf(style, ex_style, has_menu);
  rect->left -= frame.left;
  rect->top -= frame.top;
  rect->right += frame.right;
  rect->bottom += frame.bottom;
  return true;
}

bool AdjustWindowRect(RECT* rect, uint32_t style, bool has_menu) {
  return AdjustWindowRectEx(rect, style, has_menu, 0);
}

bool SetMenu(HWND hwnd, HMENU menu) {
  const auto window = FindLiveWindow(hwnd);
  if (!window || !IsTopLevel(*window)) return false;
  window->menu = menu;
  ApplyRect(window, window->rect);
  window->band_paint_pending = menu != nullptr;
  internal::MarkPictureDirty(*window);
  return true;
}

HMENU GetMenu(HWND hwnd) {
  const auto window = FindWindowRecord(hwnd);
  return window && IsTopLevel(*window) ? window->menu : nullptr;
}

bool DrawMenuBar(HWND hwnd) {
  const auto window = FindLiveWindow(hwnd);
  if (!window || window->menu == nullptr) return false;
  window->band_paint_pending = true;
  return true;
}

void SetMenuBarHooks(const MenuBarHooks& hooks) { g_menu_hooks = hooks; }

}  // namespace platform
