// placeholder_art FOLDER: writes plain, legible placeholder pictures and sounds into a program
// folder, at the exact sizes and in the formats the client loads them, so that a fresh build
// runs without the site's own art:
//
//   tarvik.ico      the window and program icon (32 x 32)
//   roar.wav        the start-up sound
//   onept.b         the one-pixel bitmap the lobby's drawing contexts are made from
//   connect.a       the link-quality strip: four rows of 212 x 26, "Good" at the top
//   *.b             the lobby's buttons and list headings: each at its button's size, labelled,
//                   with a hover and a pressed look
//   000000000.txt   the built-in banner links (two empty links)
//
// Existing files are replaced. The exit status is 0 when every file was written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The JPEG library's header needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "platform/draw/gdi.h"
#include "platform/text/text.h"

namespace {

using platform::COLORREF;

constexpr COLORREF Rgb(int red, int green, int blue) {
  return static_cast<COLORREF>(red | (green << 8) | (blue << 16));
}

// One picture being drawn: a memory context over a bitmap of the picture's size.
class Canvas {
 public:
  Canvas(int32_t width, int32_t height) {
    dc_ = platform::CreateCompatibleDC(nullptr);
    bitmap_ = platform::CreateCompatibleBitmap(dc_, width, height);
    platform::SelectObject(dc_, bitmap_);
    platform::SetBkMode(dc_, platform::TRANSPARENT);
  }
  ~Canvas() {
    platform::DeleteDC(dc_);
    platform::DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Fill(const platform::RECT& rect, COLORREF colour) {
    const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
    platform::FillRect(dc_, &rect, brush);
    platform::DeleteObject(brush);
  }
  void Frame(const platform::RECT& rect, COLORREF colour) {
    const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
    platform::FrameRect(dc_, &rect, brush);
    platform::DeleteObject(brush);
  }
  // `text` centred in the rectangle, in a bold face that fits its height.
  void Label(const std::string& text, platform::RECT rect, COLORREF colour, int32_t font_height) {
    const platform::HFONT font = platform::CreateFont(font_height, 0, 0, 0, platform::FW_BOLD, 0, 0, 0,
                                                      platform::ANSI_CHARSET, 0, 0, 0,
                                                      platform::VARIABLE_PITCH, "Arial");
    const platform::HFONT old = platform::SelectObject(dc_, font);
    platform::SetTextColor(dc_, colour);
    platform::DrawText(dc_, text.c_str(), -1, &rect,
                       platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
    platform::SelectObject(dc_, old);
    platform::DeleteObject(font);
  }
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour) {
    const platform::HPEN pen = platform::CreatePen(platform::PS_SOLID, 1, colour);
    const platform::HPEN old = platform::SelectObject(dc_, pen);
    platform::MoveToEx(dc_, x1, y1, nullptr);
    platform::LineTo(dc_, x2, y2);
    platform::SelectObject(dc_, old);
    platform::DeleteObject(pen);
  }
  const platform::Surface& Picture() const { return *platform::GetDCSurface(dc_); }

 private:
  platform::HDC dc_ = nullptr;
  platform::HBITMAP bitmap_ = nullptr;
};

void Put16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "placeholder_art: cannot write %s\n", path.c_str());
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// A 24-bit BMP file: rows bottom-up, each padded to 4 bytes.
std::string BmpBytes(const platform::Surface& picture) {
  const uint32_t row_bytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
  const uint32_t image_bytes = row_bytes * static_cast<uint32_t>(picture.height);
  std::string bytes = "BM";
  Put32(&bytes, 54 + image_bytes);
  Put32(&bytes, 0);
  Put32(&bytes, 54);
  Put32(&bytes, 40);
  Put32(&bytes, static_cast<uint32_t>(picture.width));
  Put32(&bytes, static_cast<uint32_t>(picture.height));
  Put16(&bytes, 1);
  Put16(&bytes, 24);
  Put32(&bytes, 0);
  Put32(&bytes, image_bytes);
  Put32(&bytes, 2835);
  Put32(&bytes, 2835);
  Put32(&bytes, 0);
  Put32(&bytes, 0);
  for (int32_t y = picture.height - 1; y >= 0; --y) {
    const uint8_t* row = picture.Row(y);
    bytes.append(reinterpret_cast<const char*>(row), picture.Stride());
    bytes.append(row_bytes - picture.Stride(), '\0');
  }
  return bytes;
}

// A JPEG file of the picture (baseline, quality 92).
bool WriteJpeg(const std::string& path, const platform::Surface& picture) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "placeholder_art: cannot write %s\n", path.c_str());
    return false;
  }
  jpeg_compress_struct compressor{};
  jpeg_error_mgr errors{};
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  jpeg_stdio_dest(&compressor, file);
  compressor.image_width = static_cast<JDIMENSION>(picture.width);
  compressor.image_height = static_cast<JDIMENSION>(picture.height);
  compressor.input_components = 3;
  compressor.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, 92, TRUE);
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
  return std::fclose(file) == 0;
}

// An icon file with one 32-bit picture (opaque) and its mask.
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
  Put32(&bytes, 0);
  Put32(&bytes, pixel_bytes + mask_bytes);
  Put32(&bytes, 0);
  Put32(&bytes, 0);
  Put32(&bytes, 0);
  Put32(&bytes, 0);
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

// 16-bit mono PCM: a low rumble that swells and dies away.
std::string RoarWave() {
  constexpr uint32_t kRate = 22050;
  constexpr uint32_t kSamples = kRate * 7 / 10;
  std::string samples;
  uint32_t noise = 12345;
  for (uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double envelope = std::sin(3.14159265 * t / 0.7);
    noise = noise * 1103515245u + 12345u;
    const double grit = (static_cast<double>((noise >> 16) & 0x7FFF) / 16384.0 - 1.0) * 0.25;
    const double wave = 0.5 * std::sin(2 * 3.14159265 * 70 * t) + 0.3 * std::sin(2 * 3.14159265 * 105 * t);
    const auto value = static_cast<int16_t>(std::lround((wave + grit) * envelope * 20000.0));
    Put16(&samples, static_cast<uint16_t>(value));
  }
  std::string bytes = "RIFF";
  Put32(&bytes, 36 + static_cast<uint32_t>(samples.size()));
  bytes += "WAVEfmt ";
  Put32(&bytes, 16);
  Put16(&bytes, 1);
  Put16(&bytes, 1);
  Put32(&bytes, kRate);
  Put32(&bytes, kRate * 2);
  Put16(&bytes, 2);
  Put16(&bytes, 16);
  bytes += "data";
  Put32(&bytes, static_cast<uint32_t>(samples.size()));
  return bytes + samples;
}

// How a button looks in one of its states.
enum class Look { kNormal, kHover, kDown, kDownOther };

// A button picture: a coloured face with a bevel and its label; hovered lighter, pressed darker
// with the bevel turned around. `marker` draws a small sort arrow (up for kDown, down for
// kDownOther) for the list headings.
platform::Surface ButtonPicture(int32_t width, int32_t height, const std::string& label, Look look,
                                COLORREF face, bool marker) {
  Canvas canvas(width, height);
  const int red = face & 0xFF;
  const int green = (face >> 8) & 0xFF;
  const int blue = (face >> 16) & 0xFF;
  auto scaled = [&](double factor) {
    auto channel = [factor](int value) {
      const double scaled_value = factor >= 1.0 ? value + (255 - value) * (factor - 1.0) : value * factor;
      return static_cast<int>(scaled_value);
    };
    return Rgb(channel(red), channel(green), channel(blue));
  };
  const bool down = look == Look::kDown || look == Look::kDownOther;
  const COLORREF fill = look == Look::kHover ? scaled(1.35) : (down ? scaled(0.7) : face);
  canvas.Fill({0, 0, width, height}, fill);
  const COLORREF light = scaled(1.6);
  const COLORREF dark = scaled(0.4);
  canvas.Line(0, 0, width - 1, 0, down ? dark : light);
  canvas.Line(0, 0, 0, height - 1, down ? dark : light);
  canvas.Line(width - 1, 0, width - 1, height, down ? light : dark);
  canvas.Line(0, height - 1, width, height - 1, down ? light : dark);
  const int32_t font_height = height >= 28 ? 16 : (height >= 22 ? 13 : 11);
  platform::RECT text_rect{2, 1, width - 2, height - 1};
  if (marker && down) text_rect.right -= 8;
  canvas.Label(label, text_rect, Rgb(255, 255, 255), font_height);
  if (marker && down) {
    const int32_t x = width - 8;
    const int32_t middle = height / 2;
    for (int32_t row = 0; row < 4; ++row) {
      const int32_t y = look == Look::kDown ? middle - 2 + row : middle + 1 - row;
      canvas.Line(x - row, y, x + row + 1, y, Rgb(255, 255, 255));
    }
  }
  return canvas.Picture();
}

struct ButtonArt {
  const char* normal;  // nullptr: the button has no normal picture
  const char* hover;
  const char* down;
  const char* label;
  int32_t width;
  int32_t height;
  COLORREF face;
};

const ButtonArt kLobbyButtons[] = {
    {"mgotrnb.b", "mgotrno.b", "mgotrnd.b", "Go to Tournament", 133, 22, Rgb(40, 90, 160)},
    {"msignupb.b", "msignupo.b", "msignupd.b", "Sign Up", 133, 43, Rgb(160, 60, 30)},
    {"mjoinb.b", "mjoino.b", "mjoind.b", "Join Table", 133, 22, Rgb(30, 120, 60)},
    {"bjoinwai.b", "ojoinwai.b", "djoinwai.b", "Join Waiting List", 133, 22, Rgb(30, 110, 110)},
    {"bleavewa.b", "oleavewa.b", "dleavewa.b", "Leave Waiting List", 133, 22, Rgb(110, 80, 30)},
    {nullptr, "omainlob.b", "dmainlob.b", "Main Lobby", 171, 28, Rgb(70, 70, 110)},
    {"hviewtb.b", "hviewto.b", "hviewtd.b", "View", 71, 24, Rgb(60, 60, 60)},
    {"hjoinsb.b", "hjoinso.b", "hjoinsd.b", "Join", 71, 24, Rgb(30, 120, 60)},
};

struct HeadingArt {
  const char* stem;
  const char* label;
  int32_t width;
};

const HeadingArt kHeadings[] = {
    {"s_tabl", "Table", 107},    {"s_gtbl", "Table", 142},   {"s_stak", "Stakes", 60},
    {"s_lmit", "Limit", 45},     {"s_plrs", "Plrs", 49},     {"s_wait", "Wait", 34},
    {"s_avpt", "Avg Pot", 55},   {"s_flop", "Flop", 39},     {"s_mnbt", "Min Bet", 69},
    {"s_type", "Type", 60},      {"s_dlpt", "Pot", 70},      {"s_avwn", "Avg Win", 55},
    {"s_dlkd", "Dealt", 70},     {"s_mxbt", "Max Bet", 69},  {"s_enrl", "Enr", 29},
    {"s_ttbl", "Tournament", 94}, {"s_ttyp", "Type", 45},    {"s_byin", "Buy-In", 67},
    {"s_tres", "Start", 58},     {"s_stat", "Status", 43},   {"s_tid", "ID", 51},
};
constexpr int32_t kHeadingHeight = 24;

bool WriteButtons(const std::string& folder) {
  bool ok = true;
  for (const ButtonArt& art : kLobbyButtons) {
    const struct {
      const char* name;
      Look look;
    } files[] = {{art.normal, Look::kNormal}, {art.hover, Look::kHover}, {art.down, Look::kDown}};
    for (const auto& file : files) {
      if (file.name == nullptr) continue;
      ok &= WriteFile(folder + file.name,
                      BmpBytes(ButtonPicture(art.width, art.height, art.label, file.look, art.face, false)));
    }
  }
  for (const HeadingArt& heading : kHeadings) {
    const struct {
      const char* suffix;
      Look look;
    } files[] = {{"b.b", Look::kNormal}, {"o.b", Look::kHover}, {"da.b", Look::kDown}, {"dd.b", Look::kDownOther}};
    for (const auto& file : files) {
      ok &= WriteFile(folder + heading.stem + file.suffix,
                      BmpBytes(ButtonPicture(heading.width, kHeadingHeight, heading.label, file.look,
                                             Rgb(50, 70, 100), true)));
    }
  }
  return ok;
}

// Four rows of 212 x 26, from the best link at the top to none at the bottom.
bool WriteLinkQualityStrip(const std::string& folder) {
  constexpr int32_t kWidth = 212;
  constexpr int32_t kRowHeight = 26;
  const struct {
    const char* label;
    COLORREF colour;
    int bars;
  } rows[] = {
      {"Connection: Good", Rgb(40, 170, 60), 4},
      {"Connection: Fair", Rgb(200, 180, 40), 3},
      {"Connection: Poor", Rgb(220, 120, 30), 2},
      {"Connection: None", Rgb(190, 40, 40), 0},
  };
  Canvas canvas(kWidth, kRowHeight * 4);
  for (int32_t row = 0; row < 4; ++row) {
    const int32_t top = row * kRowHeight;
    canvas.Fill({0, top, kWidth, top + kRowHeight}, Rgb(24, 32, 48));
    for (int bar = 0; bar < 4; ++bar) {
      const int32_t bar_height = 5 + bar * 5;
      const platform::RECT rect{8 + bar * 9, top + kRowHeight - 3 - bar_height, 15 + bar * 9,
                                top + kRowHeight - 3};
      canvas.Fill(rect, bar < rows[row].bars ? rows[row].colour : Rgb(70, 76, 90));
    }
    canvas.Label(rows[row].label, {50, top, kWidth - 4, top + kRowHeight}, Rgb(235, 235, 235), 14);
  }
  return WriteJpeg(folder + "connect.a", canvas.Picture());
}

bool WriteIcon(const std::string& folder) {
  Canvas canvas(32, 32);
  canvas.Fill({0, 0, 32, 32}, Rgb(20, 100, 50));
  canvas.Frame({0, 0, 32, 32}, Rgb(230, 200, 60));
  canvas.Label("T", {0, 0, 32, 32}, Rgb(255, 255, 255), 26);
  return WriteFile(folder + "tarvik.ico", IcoBytes(canvas.Picture()));
}

bool WriteOnePixel(const std::string& folder) {
  Canvas canvas(1, 1);
  return WriteFile(folder + "onept.b", BmpBytes(canvas.Picture()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: placeholder_art FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder.push_back('/');
  bool ok = WriteIcon(folder);
  ok &= WriteFile(folder + "roar.wav", RoarWave());
  ok &= WriteOnePixel(folder);
  ok &= WriteLinkQualityStrip(folder);
  ok &= WriteButtons(folder);
  ok &= WriteFile(folder + "000000000.txt", "\r\n\r\n");
  return ok ? 0 : 1;
}
