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

bool EnvironmentIsOne(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

Backend* ChooseBackend() {
  // The fake clock is the tests' alone: a program run headless by a person keeps real time.
  const bool fake_clock = EnvironmentIsOne("TVK_FAKE_CLOCK");
  if (EnvironmentIsOne("TVK_HEADLESS")) return new HeadlessBackend(fake_clock);
  if (!EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY")) return new HeadlessBackend(fake_clock);
  if (auto sdl = SdlBackend::Open()) return sdl.release();
  std::fprintf(stderr, "Cannot open the display (%s); windows are not shown.\n", SDL_GetError());
  return new HeadlessBackend(fake_clock);
}

}  // namespace

Backend& GetBackend() {
  // Made on first use by the UI thread and kept for the life of the process.
  static Backend* backend = ChooseBackend();
  return *backend;
}

}  // namespace platform::internal
