// The program's own text clipboard: what edits cut or copy, and what they paste. It is shared by
// every window of the program and not by other programs.
//
// UI thread only.
#pragma once

#include <string>
#include <string_view>

namespace platform {

void SetClipboardText(std::string_view text);
const std::string& GetClipboardText();

}  // namespace platform
