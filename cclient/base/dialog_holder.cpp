#include "cclient/base/dialog_holder.h"

#include "platform/controls/dialog_navigation.h"
#include "platform/window/window.h"

void DialogHolder::Close() {
  // Forgotten first: destroying the dialog may reach code that asks this holder again.
  const platform::HWND held = dialog;
  dialog = nullptr;
  if (held != nullptr && platform::IsWindow(held)) platform::DestroyWindow(held);
}

void DialogHolder::Destroy() {
  if (dialog != nullptr && platform::IsWindow(dialog)) platform::DestroyWindow(dialog);
}

int DialogHolder::PreTranslate(platform::MSG* message) {
  if (dialog == nullptr || !platform::IsWindow(dialog)) return 1;
  return platform::IsDialogMessage(dialog, message) ? 0 : 1;
}
