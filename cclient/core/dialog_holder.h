// A holder of a modeless dialog's window handle, so that the dialog can be found, closed and given
// its keys from the message loop.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

class DialogHolder {
 public:
  DialogHolder() = default;  // holds no dialog

  // Destroys the held dialog, when there is one.
  void Close();
  // Gives the held dialog its keyboard navigation: 0 when the dialog consumed the message, else 1.
  int PreTranslate(platform::MSG* message);

  platform::HWND dialog = nullptr;
};
