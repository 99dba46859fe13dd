#include "platform/window/x11_stacking.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace platform::internal {

void RestackNativeOnTop(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  XRaiseWindow(info.info.x11.display, info.info.x11.window);
  XFlush(info.info.x11.display);
}

}  // namespace platform::internal
