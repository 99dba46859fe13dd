// Inside the window core: the backend that shows windows through SDL2.
//
// One SDL window per top-level window, sized to its menu band plus client area, showing the
// window's picture by copying the rows that changed into the SDL window's own surface (no
// renderer: under a virtual screen a renderer means a software GL stack, its threads and tens of
// megabytes, for a picture that is already drawn).
// The window manager draws the frame and the caption. SDL must be used from the UI thread only;
// other threads reach it only through Wake, which pushes an SDL event.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>

#include "platform/window/backend.h"

namespace platform::internal {

class SdlBackend : public Backend {
 public:
  // nullptr when SDL cannot open the display.
  static std::unique_ptr<SdlBackend> Open();
  ~SdlBackend() override;

  bool IsHeadless() const override { return false; }
  bool CreateNativeWindow(Window& window) override;
  void DestroyNativeWindow(Window& window) override;
  void UpdateNativeWindow(Window& window) override;
  void RaiseNativeWindow(Window& window) override;
  bool ShowsPictures() const override { return true; }
  void Present(Window& window, const Surface& picture, RowRange changed, bool whole) override;
  void ApplyCursor(HCURSOR cursor) override;
  SIZE ScreenSize() override;
  void PumpEvents() override;
  void Idle(MessageQueue& queue, std::optional<uint32_t> next_timer_due_ms) override;
  void Wake(MessageQueue& queue) override;

 private:
  struct Native;

  SdlBackend() = default;
  Native* NativeOf(const Window& window) const;
  HWND WindowOfEvent(uint32_t sdl_window_id) const;
  void HandleWindowEvent(const SDL_WindowEvent& event);
  void HandleKey(const SDL_KeyboardEvent& event);
  void HandleText(const SDL_TextInputEvent& event);
  void SetIcon(Window& window, Native& native);
  // Moves SDL's queued events into the window core; first asks the window system for new ones
  // when `look`.
  void DrainEvents(bool look = true);
  void HandleButton(const SDL_MouseButtonEvent& event);
  void ResyncButtons();

  uint32_t wake_event_ = 0;
  SDL_Cursor* arrow_ = nullptr;
  std::map<uint32_t, HWND> windows_by_id_;
  // After a window closed, SDL may never see the release of a button held on it (the release goes
  // to a window that no longer exists); SDL then takes the button for held and drops its next
  // press. While `check_buttons_` is set, every pump compares SDL's idea of the buttons with the
  // device's; `dropped_press_` holds the buttons (SDL masks) whose next release comes without
  // its press.
  bool check_buttons_ = false;
  // When PumpEvents last asked the window system (SDL's clock).
  uint32_t last_look_ms_ = 0;
  uint32_t dropped_press_ = 0;
};

}  // namespace platform::internal
