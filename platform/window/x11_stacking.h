// Inside the window core: stacking of the SDL backend's native windows under X11.
#pragma once

struct SDL_Window;

namespace platform::internal {

// Puts a native window on top of its siblings without asking for the keyboard (SDL_RaiseWindow
// also asks the window manager to activate the window). Nothing under another video driver.
void RestackNativeOnTop(SDL_Window* window);

}  // namespace platform::internal
