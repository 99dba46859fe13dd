// Test fixture for the controls: a clean window core with the control classes registered, a
// dialog procedure and a host window that record what their controls tell them, and key and
// mouse helpers that run the loop after each step (offering every message to the open dialog's
// keyboard navigation, as the program's loop does).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/common_controls.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/dialog.h"
#include "platform/controls/dialog_navigation.h"
#include "platform/window/activation.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace controlstest {

using namespace platform;

// A notice a control sent to its parent: WM_COMMAND (id, code), WM_NOTIFY (id, code, row in
// `value`, column in `column`) or WM_VSCROLL (id of the bar, code, position in `value`).
struct Notice {
  UINT message = 0;
  int id = 0;
  int code = 0;
  int value = 0;
  int column = 0;
  bool operator==(const Notice& other) const = default;
};
std::ostream& operator<<(std::ostream& out, const Notice& notice);

inline Notice Command(int id, int code) { return Notice{WM_COMMAND, id, code, 0, 0}; }
inline Notice Notify(int id, UINT code, int row, int column = 0) {
  return Notice{WM_NOTIFY, id, static_cast<int>(code), row, column};
}
inline Notice Scroll(int id, int code, int position = 0) { return Notice{WM_VSCROLL, id, code, position, 0}; }

class ControlsTest : public ::testing::Test {
 public:
  // Called for every message the recording procedure or host gets before it records it; return
  // true to answer the message (LVN_GETDISPINFO, a dialog closing itself).
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;
  static void SetHandler(Handler handler);

  // The dialog whose messages go through IsDialogMessage.
  static HWND dialog_;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the dialog with the recording procedure; its messages go through IsDialogMessage.
  HWND OpenDialog(const DialogTemplate& dialog);
  // A shown top-level window that records its children's notices.
  HWND CreateHost(int client_width, int client_height);
  HWND CreateControl(HWND parent, const char* class_name, const char* text, uint32_t style, int id, int x, int y,
                     int width, int height);

  // Input, each followed by running the loop until idle.
  static void Press(int virtual_key);
  static void PressWith(int modifier, int virtual_key);
  static void Type(const char* text);
  static void Click(HWND hwnd, int x, int y);
  static void DoubleClick(HWND hwnd, int x, int y);
  static void Drag(HWND hwnd, int from_x, int from_y, int to_x, int to_y);

  static std::string TextOf(HWND hwnd);

  // The notices recorded so far, leaving out focus notices unless asked for.
  static std::vector<Notice> Notices(bool with_focus_notices = false);
  static void ClearNotices();
};

}  // namespace controlstest
