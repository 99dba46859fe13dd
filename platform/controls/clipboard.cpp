#include "platform/controls/clipboard.h"

namespace platform {

namespace {

std::string& Clipboard() {
  static std::string text;
  return text;
}

}  // namespace

void SetClipboardText(std::string_view text) { Clipboard().assign(text); }

const std::string& GetClipboardText() { return Clipboard(); }

}  // namespace platform
