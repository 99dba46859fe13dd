#include "cclient/widgets/jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr const char* kOpenFailed = "Unable in open input file.";
constexpr const char* kDecodeFailed = "Error decoding file";
constexpr const char* kNoBuffer = "Unable to allocate buffer";
constexpr const char* kWarnings = "Warnings occured during decompression";

// The library's error manager followed by the jump buffer that JpegErrorExit returns through.
struct JpegErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

// The library reports a fatal error here instead of ending the program. Never returns.
[[noreturn]] void JpegErrorExit(j_common_ptr common) {
  auto* errors = reinterpret_cast<JpegErrorManager*>(common->err);
  std::longjmp(errors->jump, 1);
}

// Warnings are counted by the library (num_warnings) and judged after the decode; their texts
// are not wanted anywhere.
void JpegIgnoreMessage(j_common_ptr) {}

// The decode proper. Kept free of objects with destructors: JpegErrorExit long-jumps across it.
// Everything that must survive the jump is reached through `state`, which lives in the caller.
struct DecodeState {
  jpeg_decompress_struct decompressor;
  JpegErrorManager errors;
  FILE* file = nullptr;
  uint8_t* buffer = nullptr;
};

const char* Decode(DecodeState* state, int32_t* width, int32_t* height, int32_t* bits) {
  jpeg_decompress_struct* cinfo = &state->decompressor;
  cinfo->err = jpeg_std_error(&state->errors.manager);
  state->errors.manager.error_exit = JpegErrorExit;
  state->errors.manager.output_message = JpegIgnoreMessage;

  if (setjmp(state->errors.jump) != 0) {
    jpeg_destroy_decompress(cinfo);
    std::fclose(state->file);
    state->file = nullptr;
    std::free(state->buffer);
    state->buffer = nullptr;
    return kDecodeFailed;
  }

  jpeg_create_decompress(cinfo);
  jpeg_stdio_src(cinfo, state->file);
  jpeg_read_header(cinfo, TRUE);

  // Colour and grey pictures are taken, both delivered as red, green, blue; the library spreads a
  // grey sample over the three. Four-component pictures (CMYK, YCCK) have no such conversion and
  // are refused, as the buffer is sized for three bytes per pixel.
  const bool grey = cinfo->num_components == 1 && cinfo->jpeg_color_space == JCS_GRAYSCALE;
  if (cinfo->num_components != 3 && !grey) ERREXIT(cinfo, JERR_BAD_J_COLORSPACE);
  cinfo->out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(cinfo);
  if (cinfo->output_width > static_cast<JDIMENSION>(kJpegMaxSide) ||
      cinfo->output_height > static_cast<JDIMENSION>(kJpegMaxSide)) {
    jpeg_destroy_decompress(cinfo);
    std::fclose(state->file);
    state->file = nullptr;
    return kNoBuffer;
  }

  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != 3) ERREXIT(cinfo, JERR_BAD_J_COLORSPACE);

  const size_t row_bytes = static_cast<size_t>(cinfo->output_width) * 3;
  state->buffer = static_cast<uint8_t*>(std::malloc(row_bytes * cinfo->output_height));
  if (state->buffer == nullptr) {
    jpeg_destroy_decompress(cinfo);
    std::fclose(state->file);
    state->file = nullptr;
    return kNoBuffer;
  }
  *width = static_cast<int32_t>(cinfo->output_width);
  *height = static_cast<int32_t>(cinfo->output_height);
  *bits = 24;

  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = state->buffer + static_cast<size_t>(cinfo->output_scanline) * row_bytes;
    jpeg_read_scanlines(cinfo, &row, 1);
  }

  jpeg_finish_decompress(cinfo);
  const long warnings = state->errors.manager.num_warnings;
  jpeg_destroy_decompress(cinfo);
  std::fclose(state->file);
  state->file = nullptr;

  if (warnings > 0) {
    std::free(state->buffer);
    state->buffer = nullptr;
    return kWarnings;
  }
  return nullptr;
}

}  // namespace

const char* DecodeJpegFile(const char* file_name, int32_t* width, int32_t* height, int32_t* bits,
                           uint8_t** buffer) {
  *buffer = nullptr;
  DecodeState state{};
  state.file = std::fopen(file_name, "rb");
  if (state.file == nullptr) return kOpenFailed;
  const char* result = Decode(&state, width, height, bits);
  if (result == nullptr) *buffer = state.buffer;
  return result;
}

void FreeDecodedImage(uint8_t** buffer) {
  if (buffer == nullptr || *buffer == nullptr) return;
  std::free(*buffer);
  *buffer = nullptr;
}

void SwapRedBlue(uint8_t* pixels, int32_t pixel_count) {
  for (int32_t i = 0; i < pixel_count; ++i) {
    uint8_t* pixel = pixels + static_cast<size_t>(i) * 3;
    const uint8_t red = pixel[0];
    pixel[0] = pixel[2];
    pixel[2] = red;
  }
}
