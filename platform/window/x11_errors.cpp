#include "platform/window/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace platform::internal {

namespace {

XErrorHandler g_previous_handler = nullptr;

// Runs on whichever thread's Xlib call received the error.
int HandleError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return g_previous_handler != nullptr ? g_previous_handler(display, error) : 0;
}

}  // namespace

void IgnoreFailedWakeupSends() {
  const XErrorHandler previous = XSetErrorHandler(HandleError);
  if (previous != HandleError) g_previous_handler = previous;
}

}  // namespace platform::internal
