// The question a table asks before the local player leaves: an OK/Cancel question box on the
// table window (Cancel the default, topmost) with the game's caption and the text the game picks
// ("Do you wish to leave this table?" while not in a hand). While one question is open a second
// request answers "stay" at once.
//
// UI thread only: the box runs a nested message loop.
#pragma once

#include "platform/window/window_types.h"

// The plain text, for a player who is not in a hand.
constexpr const char* kLeaveQuestionPlain = "Do you wish to leave this table?";

class LeaveQuestion {
 public:
  // True when the player chose to stay (Cancel, or a question already open); false to leave.
  bool AskStays(platform::HWND owner, const char* text, const char* caption);
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};
