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
  void Present(Window& window, const Surface& picture, bool whole) override;
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

  uint32_t wake_event_ = 0;
  SDL_Cursor* arrow_ = nullptr;
  std::map<uint32_t, HWND> windows_by_id_;
};

}  // namespace platform::internal
