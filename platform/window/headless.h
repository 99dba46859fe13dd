// The headless backend's test interface.
//
// With TVK_HEADLESS=1 windows exist only in memory: nothing is shown. With TVK_FAKE_CLOCK=1 as
// well (every test) the program clock is the fake clock (see platform/system/clock.h) and moves
// only when a test advances it, when the UI thread sleeps, or when a waiting message loop has
// nothing to do before its next timer (the loop then jumps the clock to that timer). A test drives the windows through the
// functions below and reads back what they show.
//
// UI thread only (the thread that runs the test and owns the windows).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/surface.h"
#include "platform/window/window_types.h"

namespace platform::headless {

// Whether the headless backend is the one in use.
bool IsHeadless();

// Dispatches every message that is due now (posted messages, input, paints, timers due at the
// current clock reading). Returns the exit code when the loop met WM_QUIT.
std::optional<int> RunUntilIdle();
// Moves the fake clock forward by `ms` as if that much time passed with an idle loop: every timer
// expiry on the way is delivered at its own time (a 40 ms timer gets five messages in 200 ms),
// running the loop until idle at each. Returns the exit code when the loop met WM_QUIT (the clock
// stops there).
std::optional<int> AdvanceClock(uint32_t ms);

// Input at client coordinates of `hwnd`, delivered the way the window system's input is: to the
// window under the point (a child of `hwnd` when one is there) or to the capture window. Queued;
// run the loop to deliver it. Messages: WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
// WM_RBUTTONDOWN, WM_RBUTTONUP (a second quick press becomes a double click for classes that ask).
void InjectMouse(HWND hwnd, UINT message, int x, int y);
void InjectClick(HWND hwnd, int x, int y);  // left down and up
// A wheel turn of `delta` (120 per notch, positive away from the user) with the pointer at (x, y).
void InjectWheel(HWND hwnd, int x, int y, int delta);
// WM_KEYDOWN or WM_KEYUP of a virtual key for the focus window; the character it produces follows
// from the modifier keys held (press VK_SHIFT or VK_CONTROL first).
void InjectKey(UINT message, int virtual_key);
void InjectKeyPress(int virtual_key);  // down and up
// Types each character of `text` as one key press (letters and digits with their keys).
void TypeText(const char* text);
// The user clicked the window's close box.
void InjectClose(HWND hwnd);

struct WindowInfo {
  HWND hwnd = nullptr;
  std::string class_name;
  std::string title;
  HWND parent = nullptr;  // child windows
  HWND owner = nullptr;   // owned top-level windows
  bool visible = false;   // shown, with all its ancestors
  bool enabled = false;
  bool minimized = false;
  RECT rect{0, 0, 0, 0};  // outer rectangle in screen coordinates
};
// Every window: top-level windows front first, each followed by its children in creation order.
std::vector<WindowInfo> ListWindows();

// What the window shows: its client picture with its children composed over it (without the menu
// band). Empty for an invalid handle.
Surface GetWindowPicture(HWND hwnd);
// The same with the menu band above the client area.
Surface GetWindowPictureWithMenu(HWND hwnd);
// Writes GetWindowPictureWithMenu as a PNG file.
[[nodiscard]] bool SaveWindowPicture(HWND hwnd, const std::string& path);

// Presents. The headless backend shows nothing, and by default the loop does not compose pictures
// for it. With RecordPresents(true) it takes presents as a backend with a screen does (the loop
// hands over each shown top-level window's picture when rows of it changed, at most every 15 ms of
// the clock) and keeps what it was given: a record per present and a screen copy per window.
struct PresentRecord {
  HWND hwnd = nullptr;
  int32_t first_row = 0;  // the rows [first_row, end_row) of the picture with its menu band
  int32_t end_row = 0;
  bool whole = false;
};
void RecordPresents(bool on);
// Every present since RecordPresents(true) or ClearPresents, oldest first.
const std::vector<PresentRecord>& Presents();
void ClearPresents();
// What the screen shows of a top-level window after the presents so far (with its menu band);
// empty before its first present.
Surface PresentedPicture(HWND hwnd);

// Message boxes. Each box that opens takes the next scripted answer; `while_open`, when given, runs
// once inside the box's own loop (with the box open and its owner disabled) before the answer's
// button is clicked. A box without a scripted answer is answered with its default button.
void AnswerMessageBox(int button, std::function<void()> while_open = nullptr);

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT flags = 0;
  std::vector<std::string> buttons;  // left to right: "OK", "Cancel", "Yes", "No"
  int result = 0;                    // 0 while the box is open
};
// Every box shown since the last Reset, in the order they opened.
const std::vector<MessageBoxRecord>& MessageBoxes();

// Destroys every window, forgets classes, timers, queued messages, input state, hooks, scripted
// answers, recorded boxes and presents (and stops recording presents). The clock is left as it is.
void Reset();

}  // namespace platform::headless
