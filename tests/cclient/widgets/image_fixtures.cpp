#include "tests/cclient/widgets/image_fixtures.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

void PutLE32(std::string* out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<char>(value >> (8 * i));
}
void PutLE16(std::string* out, size_t at, uint16_t value) {
  (*out)[at] = static_cast<char>(value);
  (*out)[at + 1] = static_cast<char>(value >> 8);
}

struct FixtureErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void FixtureErrorExit(j_common_ptr common) {
  std::longjmp(reinterpret_cast<FixtureErrors*>(common->err)->jump, 1);
}

}  // namespace

std::string BmpFixture::Bytes() const {
  const size_t header = 54 + (with_palette ? 1024 : 0);
  const size_t row_length = static_cast<size_t>(width) * bits / 8;
  const size_t pad = (4 - row_length % 4) % 4;
  const size_t row_count = height < 0 ? static_cast<size_t>(-height) : static_cast<size_t>(height);
  std::string out(header, '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutLE32(&out, 10, static_cast<uint32_t>(data_offset >= 0 ? data_offset : static_cast<int32_t>(header)));
  PutLE32(&out, 14, 40);
  PutLE32(&out, 18, static_cast<uint32_t>(width));
  PutLE32(&out, 22, static_cast<uint32_t>(height));
  PutLE16(&out, 26, 1);
  PutLE16(&out, 28, static_cast<uint16_t>(bits));
  PutLE32(&out, 30, static_cast<uint32_t>(compression));
  if (with_palette) out.replace(54, 1024, reinterpret_cast<const char*>(palette.data()), palette.size());
  for (size_t row = 0; row < row_count && (row + 1) * row_length <= rows.size(); ++row) {
    out.append(reinterpret_cast<const char*>(rows.data()) + row * row_length, row_length);
    out.append(pad, static_cast<char>(pad_byte));
  }
  PutLE32(&out, 2, static_cast<uint32_t>(out.size()));
  return out;
}

std::vector<uint8_t> PatternRows(int32_t width, int32_t height, int32_t bits) {
  std::vector<uint8_t> rows(static_cast<size_t>(width) * height * bits / 8);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 + 1);
  return rows;
}

std::vector<uint8_t> PatternPalette() {
  std::vector<uint8_t> palette(1024);
  for (int i = 0; i < 256; ++i) {
    palette[i * 4 + 0] = static_cast<uint8_t>(i);
    palette[i * 4 + 1] = static_cast<uint8_t>(255 - i);
    palette[i * 4 + 2] = static_cast<uint8_t>(i ^ 0x5A);
    palette[i * 4 + 3] = 0;
  }
  return palette;
}

std::string EncodeJpeg(JpegKind kind, int32_t width, int32_t height, const std::vector<uint8_t>& pixels,
                       int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &memory, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  switch (kind) {
    case JpegKind::kColour:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_RGB;
      break;
    case JpegKind::kGrey:
      cinfo.input_components = 1;
      cinfo.in_color_space = JCS_GRAYSCALE;
      break;
    case JpegKind::kCmyk:
      cinfo.input_components = 4;
      cinfo.in_color_space = JCS_CMYK;
      break;
  }
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const size_t row_bytes = static_cast<size_t>(width) * cinfo.input_components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(pixels.data()) + cinfo.next_scanline * row_bytes;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(memory), size);
  std::free(memory);
  return out;
}

std::vector<uint8_t> ReferenceDecode(const std::string& jpeg, int32_t* width, int32_t* height) {
  jpeg_decompress_struct cinfo{};
  FixtureErrors errors{};
  cinfo.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = FixtureErrorExit;
  std::vector<uint8_t>* volatile result = new std::vector<uint8_t>();
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    delete result;
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  *width = static_cast<int32_t>(cinfo.output_width);
  *height = static_cast<int32_t>(cinfo.output_height);
  const size_t row_bytes = static_cast<size_t>(cinfo.output_width) * 3;
  result->resize(row_bytes * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = result->data() + cinfo.output_scanline * row_bytes;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::vector<uint8_t> out = std::move(*result);
  delete result;
  return out;
}
