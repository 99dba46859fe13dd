#include "cclient/core/dialog_holder.h"

#include "platform/controls/dialog_navigation.h"
#include "platform/window/window.h"

void DialogHolder::Close() {
  if (dialog != nullptr && platform::IsWindow(dialog)) platform::DestroyWindow(dialog);
  dialog = nullptr;
}

int DialogHolder::PreTranslate(platform::MSG* message) {
  if (dialog == nullptr || !platform::IsWindow(dialog)) return 1;
  return platform::IsDialogMessage(dialog, message) ? 0 : 1;
}
