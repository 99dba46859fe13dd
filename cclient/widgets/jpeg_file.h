// The JPEG file decoder (".a" pictures), shared by the client and the launcher, and the helpers
// for the pictures it produces. No window or drawing dependency.
#pragma once

#include <cstdint>

// Largest width and height the decoder accepts; a larger picture is refused as "Unable to
// allocate buffer" before anything is allocated for it.
constexpr int32_t kJpegMaxSide = 16384;

// Decodes a JPEG file into a heap block of width x height x 3 bytes: rows top-down, no padding,
// each pixel red, green, blue; *bits is always 24. Colour and grey-scale pictures are taken (a
// grey one comes out with three equal channels); CMYK and YCCK files are refused.
//
// Returns nullptr on success, else one of "Unable in open input file.", "Error decoding file",
// "Unable to allocate buffer" and "Warnings occured during decompression" (a picture that the
// library decodes only with warnings is refused whole). *buffer is nullptr after every failure;
// on success the caller owns it and releases it with FreeDecodedImage.
//
// The library's own messages are never shown or logged. No state is kept between calls.
[[nodiscard]] const char* DecodeJpegFile(const char* file_name, int32_t* width, int32_t* height, int32_t* bits,
                                         uint8_t** buffer);

// Frees a decoded picture and sets the pointer to nullptr; does nothing for a nullptr address or
// a nullptr buffer.
void FreeDecodedImage(uint8_t** buffer);

// Exchanges the first and third byte of each 3-byte pixel in place (red, green, blue becomes blue,
// green, red, as device-independent bitmaps want it). A count of 0 or less does nothing.
void SwapRedBlue(uint8_t* pixels, int32_t pixel_count);
