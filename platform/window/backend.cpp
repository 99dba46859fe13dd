#include "platform/window/backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/window/headless_backend.h"
#include "platform/window/sdl_backend.h"

namespace platform::internal {

namespace {

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != 0;
}

Backend* ChooseBackend() {
  const char* headless = std::getenv("TVK_HEADLESS");
  if (headless != nullptr && std::strcmp(headless, "1") == 0) return new HeadlessBackend(true);
  if (!EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY")) return new HeadlessBackend(false);
  if (auto sdl = SdlBackend::Open()) return sdl.release();
  std::fprintf(stderr, "Cannot open the display (%s); windows are not shown.\n", SDL_GetError());
  return new HeadlessBackend(false);
}

}  // namespace

Backend& GetBackend() {
  // Made on first use by the UI thread and kept for the life of the process.
  static Backend* backend = ChooseBackend();
  return *backend;
}

}  // namespace platform::internal
