// Decoding of the picture files the program loads: BMP bitmaps (8-bit paletted and 24-bit) and
// ICO icons (the largest 24- or 32-bit picture in the file).
//
// Files come from outside: every size, count and offset is checked against the bytes actually
// present before use, with arithmetic that cannot overflow, and anything malformed is refused
// with a short reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/draw/surface.h"

namespace platform {

// Decodes a whole BMP file. Returns null on success, else why the file was refused; the picture
// is left empty then.
[[nodiscard]] const char* DecodeBmp(const uint8_t* bytes, size_t size, Surface* picture);

// Decodes a whole ICO file: the largest picture of 24 or 32 bits per pixel stored as a bitmap.
// `alpha` gets one opacity byte per pixel (0 transparent, 255 opaque), rows top-down. Returns null
// on success, else why the file was refused.
[[nodiscard]] const char* DecodeIco(const uint8_t* bytes, size_t size, Surface* picture, std::vector<uint8_t>* alpha);

}  // namespace platform
