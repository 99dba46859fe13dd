// Inside the window core: what a backend (SDL2 or headless) does for it.
//
// The window core keeps every window's state and picture itself; a backend shows top-level
// windows, turns the window system's events into calls of input.h, and waits when the loop is
// idle. All functions run on the UI thread except Wake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/surface.h"
#include "platform/window/window_picture.h"
#include "platform/window/window_table.h"

namespace platform::internal {

// What a message box shows, for the record the headless backend keeps.
struct MessageBoxDescription {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT flags = 0;
  std::vector<int> button_ids;  // left to right
  std::vector<std::string> button_texts;
  int default_button = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual bool IsHeadless() const = 0;

  // A top-level window was created (hidden) or is going away.
  virtual bool CreateNativeWindow(Window& window) = 0;
  virtual void DestroyNativeWindow(Window& window) = 0;
  // Title, position, size, visibility, minimised state or topmost flag changed.
  virtual void UpdateNativeWindow(Window& window) = 0;
  // The window became the foreground window: bring it up and give it the keyboard.
  virtual void RaiseNativeWindow(Window& window) = 0;
  // Whether Present wants pictures at all (the headless backend reads them on demand).
  virtual bool ShowsPictures() const = 0;
  // Shows the window's picture: the menu band (if any) above the client area, children composed.
  // Only the rows `changed` differ from what the last present showed; `whole` when the window
  // system lost what it showed (then `changed` covers every row).
  virtual void Present(Window& window, const Surface& picture, RowRange changed, bool whole) = 0;
  // Pointer shape: nullptr hides the pointer.
  virtual void ApplyCursor(HCURSOR cursor) = 0;
  virtual SIZE ScreenSize() = 0;

  // Moves pending window-system events into the queue. Never blocks.
  virtual void PumpEvents() = 0;
  // The loop has nothing to do: wait for an event, a post from another thread, or the next
  // timer (`next_timer_due_ms`, program clock). May return early.
  virtual void Idle(MessageQueue& queue, std::optional<uint32_t> next_timer_due_ms) = 0;
  // Any thread: another thread posted to `queue`; end its Idle.
  virtual void Wake(MessageQueue& queue) = 0;

  // A message box opened or closed (headless: scripted answers and the record of boxes).
  virtual void MessageBoxOpened(HWND box, const MessageBoxDescription& description) {}
  virtual void MessageBoxClosed(HWND box, int result) {}
};

// The backend chosen at first use: headless when TVK_HEADLESS=1 or when neither DISPLAY nor
// WAYLAND_DISPLAY is set (or SDL cannot open a display), SDL2 otherwise. A headless backend runs
// on the fake clock only when TVK_FAKE_CLOCK=1 (the tests' setting).
Backend& GetBackend();

}  // namespace platform::internal
