// imgtool: looks at the program's pictures with the program's own readers.
//
//   imgtool info FILE          prints "WIDTH HEIGHT BITS", or what the reader refused the file with
//   imgtool png FILE OUT.png   writes the picture as a PNG file
//
// ".a" files are read as JPEG pictures and ".b" files as BMP files; any other name is judged by
// its first two bytes (FF D8 starts a JPEG picture). The exit status is 0 only for a readable
// picture.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cclient/widgets/bmp_reader.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/draw/png_writer.h"

namespace {

// A picture as the PNG writer takes it: rows top-down, red, green, blue.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
  std::vector<uint8_t> rgb;
};

bool EndsWith(const std::string& name, const char* suffix) {
  const size_t length = std::strlen(suffix);
  if (name.size() < length) return false;
  for (size_t i = 0; i < length; ++i)
    if (std::tolower(static_cast<unsigned char>(name[name.size() - length + i])) != suffix[i]) return false;
  return true;
}

bool LooksLikeJpeg(const std::string& name) {
  if (EndsWith(name, ".a")) return true;
  if (EndsWith(name, ".b")) return false;
  FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return false;
  uint8_t magic[2] = {0, 0};
  const size_t got = std::fread(magic, 1, 2, file);
  std::fclose(file);
  return got == 2 && magic[0] == 0xFF && magic[1] == 0xD8;
}

// Reads a JPEG picture; on failure returns the decoder's text.
std::string ReadJpeg(const std::string& name, Picture* picture) {
  uint8_t* buffer = nullptr;
  const char* error = DecodeJpegFile(name.c_str(), &picture->width, &picture->height, &picture->bits, &buffer);
  if (error != nullptr) return std::string("jpeg: ") + error;
  picture->rgb.assign(buffer, buffer + static_cast<size_t>(picture->width) * picture->height * 3);
  FreeDecodedImage(&buffer);
  return {};
}

// Reads a BMP file; on failure returns LoadBmp's code, and for a file whose pixels could not be
// read also the pixel reader's own code.
std::string ReadBmp(const std::string& name, Picture* picture) {
  uint8_t* pixels = nullptr;
  const int result = LoadBmp(name.c_str(), &picture->width, &picture->height, &picture->bits, &pixels);
  if (result != LOADBMP_OK) {
    std::string text = "bmp: LoadBmp " + std::to_string(result);
    if (result == LOADBMP_NO_PIXELS) {
      // The same call LoadBmp made. LoadBmp has checked the sizes of an 8- or 24-bit file, so its
      // block can be made again; other depths are refused before any pixel is read.
      const bool readable_depth = picture->bits == 8 || picture->bits == 24;
      std::vector<uint8_t> block(readable_depth ? static_cast<size_t>(picture->width) * picture->height *
                                                      (picture->bits / 8)
                                                : 1);
      const int detail = ReadBmpPixels(name.c_str(), block.data(), nullptr, picture->width, picture->height,
                                       picture->bits);
      text += ", ReadBmpPixels " + std::to_string(detail);
    }
    return text;
  }

  uint8_t palette[768] = {};
  if (picture->bits == 8 &&
      ReadBmpPixels(name.c_str(), nullptr, palette, picture->width, picture->height, 8) != BMP_OK) {
    FreeBmp(&pixels);
    return "bmp: palette unreadable";
  }
  const size_t width = static_cast<size_t>(picture->width);
  const size_t height = static_cast<size_t>(picture->height);
  picture->rgb.resize(width * height * 3);
  for (size_t y = 0; y < height; ++y) {
    // The reader keeps the file's bottom-up row order.
    const uint8_t* source = pixels + (height - 1 - y) * width * (picture->bits / 8);
    uint8_t* target = picture->rgb.data() + y * width * 3;
    for (size_t x = 0; x < width; ++x) {
      if (picture->bits == 24) {
        target[x * 3 + 0] = source[x * 3 + 2];
        target[x * 3 + 1] = source[x * 3 + 1];
        target[x * 3 + 2] = source[x * 3 + 0];
      } else {
        // The palette comes at 6 bits per channel.
        for (int c = 0; c < 3; ++c) target[x * 3 + c] = static_cast<uint8_t>(palette[source[x] * 3 + c] * 255 / 63);
      }
    }
  }
  FreeBmp(&pixels);
  return {};
}

std::string ReadPicture(const std::string& name, Picture* picture) {
  return LooksLikeJpeg(name) ? ReadJpeg(name, picture) : ReadBmp(name, picture);
}

bool WritePng(const std::string& name, const Picture& picture) {
  platform::Surface surface(picture.width, picture.height);
  for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
    surface.pixels[i + 0] = picture.rgb[i + 2];
    surface.pixels[i + 1] = picture.rgb[i + 1];
    surface.pixels[i + 2] = picture.rgb[i + 0];
  }
  return platform::SaveSurfacePng(surface, name);
}

int Usage() {
  std::fprintf(stderr, "usage: imgtool info FILE\n       imgtool png FILE OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::string file = argv[2];
  if (command == "info" && argc == 3) {
    Picture picture;
    const std::string error = ReadPicture(file, &picture);
    if (!error.empty()) {
      std::printf("%s\n", error.c_str());
      return 1;
    }
    std::printf("%d %d %d\n", picture.width, picture.height, picture.bits);
    return 0;
  }
  if (command == "png" && argc == 4) {
    Picture picture;
    const std::string error = ReadPicture(file, &picture);
    if (!error.empty()) {
      std::printf("%s\n", error.c_str());
      return 1;
    }
    if (!WritePng(argv[3], picture)) {
      std::fprintf(stderr, "imgtool: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  return Usage();
}
