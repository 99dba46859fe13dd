// Buttons (class "BUTTON"): push buttons with a text or a picture, check boxes, radio buttons and
// group boxes.
//
// A click (mouse pressed and released over the button, Space on the focused button, BM_CLICK, or
// Enter through a dialog) sends BN_CLICKED; taking the focus sends BN_SETFOCUS. An automatic check
// box flips its check before BN_CLICKED; radio buttons and plain check boxes leave their check to
// the program. Group boxes take no input; create one before the controls it surrounds, so that
// they are drawn over it.
#pragma once

#include "platform/window/window_types.h"

namespace platform::controls {

void RegisterButtonClass();

}  // namespace platform::controls
