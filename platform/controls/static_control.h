// Statics (class "STATIC"): a text (broken at "\n" and between words, left, centred or right), a
// bitmap or an icon. Statics take no focus and send no notices.
#pragma once

namespace platform::controls {

void RegisterStaticClass();

}  // namespace platform::controls
