// A holder of a modeless dialog's window handle, so that the dialog can be found, closed and given
// its keys from the message loop. The lobby's account dialogs and each table's dialogs have one.
//
// UI thread only.
#pragma once

#include "platform/window/window_types.h"

class DialogHolder {
 public:
  DialogHolder() = default;  // holds no dialog

  // Destroys the held dialog, when there is one, and forgets it.
  void Close();
  // Destroys the held dialog, when there is one; the handle is left as it is (exit).
  void Destroy();
  // Gives the held dialog its keyboard navigation: 0 when the dialog consumed the message, else 1.
  int PreTranslate(platform::MSG* message);

  platform::HWND dialog = nullptr;
};
