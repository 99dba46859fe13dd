// Inside the window core: X11 error handling for the SDL backend.
#pragma once

namespace platform::internal {

// SDL wakes a waiting event loop from another thread by sending an X event to one of its windows,
// over a display connection of its own. When the UI thread destroys that window at the same moment,
// the send fails with BadWindow, and Xlib's default handling of an error ends the process. Such a
// failed wake-up is harmless (the waiting loop looks at its queue again within its time limit), so
// this installs a process-wide handler that ignores exactly that error and passes every other one
// to the handler installed before. UI thread, after SDL's video start-up, under X11 only.
void IgnoreFailedWakeupSends();

}  // namespace platform::internal
