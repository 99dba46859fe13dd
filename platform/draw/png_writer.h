// Writes pictures as PNG files, for tests and screenshots.
#pragma once

#include <string>

#include "platform/draw/gdi_types.h"
#include "platform/draw/surface.h"

namespace platform {

// Writes the picture as an 8-bit RGB PNG. Returns false when the file cannot be written or the
// picture is empty.
[[nodiscard]] bool SaveSurfacePng(const Surface& picture, const std::string& path);

// The same for the picture a context draws on.
[[nodiscard]] bool SaveDCPng(HDC dc, const std::string& path);

}  // namespace platform
