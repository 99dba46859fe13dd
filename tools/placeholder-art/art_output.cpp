#include "tools/placeholder-art/art_output.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>

// The JPEG library's header needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "platform/draw/png_writer.h"

namespace art {

namespace {

void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// The 14-byte file header and the 40-byte information header of an uncompressed bottom-up BMP.
std::string BmpHeaders(int32_t width, int32_t height, int bits, uint32_t data_offset, uint32_t image_bytes) {
  std::string bytes = "BM";
  Put32(&bytes, data_offset + image_bytes);
  Put32(&bytes, 0);
  Put32(&bytes, data_offset);
  Put32(&bytes, 40);
  Put32(&bytes, static_cast<uint32_t>(width));
  Put32(&bytes, static_cast<uint32_t>(height));
  Put16(&bytes, 1);
  Put16(&bytes, static_cast<uint32_t>(bits));
  Put32(&bytes, 0);
  Put32(&bytes, image_bytes);
  Put32(&bytes, 2835);
  Put32(&bytes, 2835);
  Put32(&bytes, bits == 8 ? 256 : 0);
  Put32(&bytes, 0);
  return bytes;
}

std::string Bmp24Bytes(const platform::Surface& picture) {
  const uint32_t row_bytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
  std::string bytes = BmpHeaders(picture.width, picture.height, 24, 54, row_bytes * picture.height);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    bytes.append(reinterpret_cast<const char*>(picture.Row(y)), picture.Stride());
    bytes.append(row_bytes - picture.Stride(), '\0');
  }
  return bytes;
}

// Empty when the picture holds more than 256 colours.
std::string Bmp8Bytes(const platform::Surface& picture) {
  std::map<uint32_t, uint8_t> palette;
  std::vector<uint8_t> indices(static_cast<size_t>(picture.width) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const uint8_t* pixel = picture.Row(y) + static_cast<size_t>(x) * 3;
      const uint32_t colour = pixel[0] | (pixel[1] << 8) | (pixel[2] << 16);
      auto found = palette.find(colour);
      if (found == palette.end()) {
        if (palette.size() == 256) return {};
        found = palette.emplace(colour, static_cast<uint8_t>(palette.size())).first;
      }
      indices[static_cast<size_t>(y) * picture.width + x] = found->second;
    }
  }
  const uint32_t row_bytes = (static_cast<uint32_t>(picture.width) + 3) & ~3u;
  std::string bytes = BmpHeaders(picture.width, picture.height, 8, 54 + 1024, row_bytes * picture.height);
  std::string table(1024, '\0');
  for (const auto& [colour, index] : palette) {
    table[index * 4] = static_cast<char>(colour & 0xFF);
    table[index * 4 + 1] = static_cast<char>((colour >> 8) & 0xFF);
    table[index * 4 + 2] = static_cast<char>((colour >> 16) & 0xFF);
  }
  bytes += table;
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    bytes.append(reinterpret_cast<const char*>(indices.data() + static_cast<size_t>(y) * picture.width),
                 picture.width);
    bytes.append(row_bytes - picture.width, '\0');
  }
  return bytes;
}

// libjpeg's output into memory, so that the file is written like every other.
std::string JpegBytes(const platform::Surface& picture) {
  jpeg_compress_struct compressor{};
  jpeg_error_mgr errors{};
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&compressor, &buffer, &size);
  compressor.image_width = static_cast<JDIMENSION>(picture.width);
  compressor.image_height = static_cast<JDIMENSION>(picture.height);
  compressor.input_components = 3;
  compressor.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, 90, TRUE);
  jpeg_start_compress(&compressor, TRUE);
  std::vector<uint8_t> rgb(picture.Stride());
  while (compressor.next_scanline < compressor.image_height) {
    const uint8_t* row = picture.Row(static_cast<int32_t>(compressor.next_scanline));
    for (int32_t x = 0; x < picture.width; ++x) {
      rgb[x * 3] = row[x * 3 + 2];
      rgb[x * 3 + 1] = row[x * 3 + 1];
      rgb[x * 3 + 2] = row[x * 3];
    }
    JSAMPROW rows[1] = {rgb.data()};
    jpeg_write_scanlines(&compressor, rows, 1);
  }
  jpeg_finish_compress(&compressor);
  jpeg_destroy_compress(&compressor);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// An icon file with one opaque 32-bit picture and its (empty) mask.
std::string IcoBytes(const platform::Surface& picture) {
  const uint32_t side = static_cast<uint32_t>(picture.width);
  const uint32_t pixel_bytes = side * side * 4;
  const uint32_t mask_bytes = ((side + 31) / 32) * 4 * side;
  std::string bytes;
  Put16(&bytes, 0);
  Put16(&bytes, 1);
  Put16(&bytes, 1);
  bytes.push_back(static_cast<char>(side));
  bytes.push_back(static_cast<char>(side));
  bytes.push_back(0);
  bytes.push_back(0);
  Put16(&bytes, 1);
  Put16(&bytes, 32);
  Put32(&bytes, 40 + pixel_bytes + mask_bytes);
  Put32(&bytes, 6 + 16);
  Put32(&bytes, 40);
  Put32(&bytes, side);
  Put32(&bytes, side * 2);
  Put16(&bytes, 1);
  Put16(&bytes, 32);
  for (int i = 0; i < 6; ++i) Put32(&bytes, i == 1 ? pixel_bytes + mask_bytes : 0);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    const uint8_t* row = picture.Row(y);
    for (int32_t x = 0; x < picture.width; ++x) {
      bytes.append(reinterpret_cast<const char*>(row + x * 3), 3);
      bytes.push_back(static_cast<char>(0xFF));
    }
  }
  bytes.append(mask_bytes, '\0');
  return bytes;
}

}  // namespace

bool MakeFolders(const std::string& path) {
  for (size_t slash = 1; slash <= path.size(); ++slash) {
    if (slash == path.size() || path[slash] == '/') {
      const std::string part = path.substr(0, slash);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Output::Write(const std::string& name, const std::string& bytes) {
  const std::string path = folder_ + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file != nullptr) written = std::fclose(file) == 0 && written;
  if (!written) {
    std::fprintf(stderr, "placeholder_art: cannot write %s\n", path.c_str());
    ok_ = false;
    return false;
  }
  ++files_written_;
  return true;
}

void Output::Keep(const std::string& family, const std::string& name, const Canvas& picture) {
  if (keep_pictures_) families_[family].push_back({name, picture.Picture()});
}

void Output::Bmp(const std::string& name, const Canvas& picture, const std::string& family) {
  Write(name, Bmp24Bytes(picture.Picture()));
  Keep(family, name, picture);
}

void Output::Bmp8(const std::string& name, const Canvas& picture, const std::string& family) {
  const std::string bytes = Bmp8Bytes(picture.Picture());
  if (bytes.empty()) {
    std::fprintf(stderr, "placeholder_art: %s has more than 256 colours\n", name.c_str());
    ok_ = false;
    return;
  }
  Write(name, bytes);
  Keep(family, name, picture);
}

void Output::Jpeg(const std::string& name, const Canvas& picture, const std::string& family) {
  Write(name, JpegBytes(picture.Picture()));
  Keep(family, name, picture);
}

void Output::Icon(const std::string& name, const Canvas& picture) { Write(name, IcoBytes(picture.Picture())); }

void Output::Bytes(const std::string& name, const std::string& bytes) { Write(name, bytes); }

void Output::Text(const std::string& name, const std::string& text) {
  std::string lines;
  for (const char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  Write(name, lines);
}

void Output::TextIfMissing(const std::string& name, const std::string& text) {
  struct stat info {};
  if (::stat((folder_ + name).c_str(), &info) == 0) return;
  Text(name, text);
}

void Output::MakeFolder(const std::string& relative) {
  if (!MakeFolders(folder_ + relative)) {
    std::fprintf(stderr, "placeholder_art: cannot make %s%s\n", folder_.c_str(), relative.c_str());
    ok_ = false;
  }
}

bool Output::WriteContactSheets(const std::string& folder) const {
  constexpr int32_t kGap = 10;
  constexpr int32_t kCaption = 14;
  bool ok = true;
  for (const auto& [family, pictures] : families_) {
    int32_t sheet_width = 1280;
    for (const Kept& kept : pictures) sheet_width = std::max(sheet_width, kept.picture.width + 2 * kGap);
    // Lay the pictures out in rows, left to right.
    struct Place {
      int32_t x, y;
    };
    std::vector<Place> places;
    int32_t x = kGap, y = kGap, row_height = 0;
    for (const Kept& kept : pictures) {
      const int32_t cell_width = std::max(kept.picture.width, 60);
      if (x + cell_width + kGap > sheet_width) {
        x = kGap;
        y += row_height + kCaption + kGap;
        row_height = 0;
      }
      places.push_back({x, y});
      x += cell_width + kGap;
      row_height = std::max(row_height, kept.picture.height);
    }
    Canvas sheet(sheet_width, y + row_height + kCaption + kGap);
    sheet.Fill(sheet.Whole(), Rgb{78, 80, 86});
    for (size_t i = 0; i < pictures.size(); ++i) {
      const platform::Surface& picture = pictures[i].picture;
      for (int32_t row = 0; row < picture.height; ++row) {
        for (int32_t column = 0; column < picture.width; ++column) {
          const uint8_t* pixel = picture.Row(row) + static_cast<size_t>(column) * 3;
          sheet.Set(places[i].x + column, places[i].y + row, Rgb{pixel[2], pixel[1], pixel[0]});
        }
      }
      sheet.Text(pictures[i].name,
                 {places[i].x, places[i].y + picture.height + 1, places[i].x + std::max(picture.width, 60),
                  places[i].y + picture.height + kCaption},
                 Rgb{235, 235, 235}, 11, kLeft, false);
    }
    const std::string path = folder + family + ".png";
    if (!platform::SaveSurfacePng(sheet.Picture(), path)) {
      std::fprintf(stderr, "placeholder_art: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace art
