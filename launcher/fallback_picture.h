// The launcher's built-in background, shown when the settings file's picture cannot be decoded:
// 320 x 320 pixels, one bit each (set bits show white, clear bits black when copied with a black
// text colour and a white background colour).
#pragma once

#include "platform/draw/gdi.h"

constexpr int kFallbackPictureSide = 320;

// A new monochrome bitmap of the picture; the caller deletes it. Null when it cannot be made.
[[nodiscard]] platform::HBITMAP CreateFallbackPicture();
