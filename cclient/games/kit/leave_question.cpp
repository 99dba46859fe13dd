#include "cclient/games/kit/leave_question.h"

#include "platform/window/message_box.h"

bool LeaveQuestion::AskStays(platform::HWND owner, const char* text, const char* caption) {
  if (open_) return true;
  open_ = true;
  const int answer = platform::MessageBox(
      owner, text, caption,
      platform::MB_OKCANCEL | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2 | platform::MB_TOPMOST);
  open_ = false;
  return answer == platform::IDCANCEL;
}
