// Inside the window core: the steps its parts call in each other. UI thread only.
#pragma once

#include <memory>
#include <optional>

#include "platform/window/window_table.h"

namespace platform::internal {

// message_queue.cpp

// Calls the window's procedure, keeping the record alive for the length of the call.
LRESULT CallProcedure(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message for the window's thread; `front` puts it before everything already posted.
void QueueMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam, bool front);
void DropQueuedMessagesFor(HWND hwnd);
void KillTimersOf(HWND hwnd);
// Dispatches everything that is due now (timers due after the clock reading at the start are left
// for later); returns the exit code when WM_QUIT came.
std::optional<int> RunUntilIdle();
// One wait of an idle loop: shows the pictures, then lets the backend wait for something to do
// (it may return at once). For loops that must look at a flag of their own between waits.
void IdleStep();
// Earliest due time of the thread's timers.
std::optional<uint32_t> NextTimerDue(MessageQueue& queue);

// paint.cpp

// Sends the pending erase, then WM_PAINT, to a window with an invalid area.
void PaintWindowNow(const std::shared_ptr<Window>& window);
// WM_ERASEBKGND's default: fills the invalid area with the class's brush; false without a brush.
bool EraseWithClassBrush(Window& window, HDC dc);
// Marks the whole client area invalid.
void InvalidateAll(Window& window, bool erase);
// The window's drawing context (made on first use) and the one of its menu band.
HDC WindowDC(Window& window);
HDC MenuBandDC(Window& window);
// Releases the window's drawing contexts; called when it is destroyed.
void ReleaseWindowDCs(Window& window);
// Resizes the client picture (keeping what overlaps) and the band picture to the window's sizes.
void ResizePictures(Window& window, int32_t band_height);
// Presents every shown top-level window whose picture may have changed.
void PresentPictures(bool force);
// The top-level window's picture (band and client with children) is out of date.
void MarkPictureDirty(Window& window);

// activation.cpp

// The focus leaves `window` and its descendants (WM_KILLFOCUS to the window that had it).
void DropFocusFrom(const Window& window);
// `window` is being hidden, minimised or destroyed: when it is the active window, the activation
// moves to its owner or to the front-most other shown window.
void HandOffActivation(const Window& window);
// Activates a top-level window (no checks of visibility or enabled state).
void ActivateWindow(const std::shared_ptr<Window>& top_level);
// Forgets the active window, the focus and the pointer shape (test reset).
void ResetActivation();

// message_box.cpp

// The centre of the box's button `id` in the box's client coordinates; false when it has none.
bool MessageBoxButtonCentre(HWND box, int id, POINT* point);
// Ends the box's loop with `result`.
void EndMessageBox(HWND box, int result);

// window_class.cpp

std::shared_ptr<WindowClassRecord> FindClassRecord(const char* name);
void UnregisterAllClasses();

// window.cpp

// Frame measures of a top-level window with that style and menu.
RECT FrameOf(uint32_t style, uint32_t ex_style, bool has_menu);
int32_t MenuBandHeight(const Window& window);
// Client origin in screen coordinates.
POINT ClientOriginOnScreen(const Window& window);

}  // namespace platform::internal
