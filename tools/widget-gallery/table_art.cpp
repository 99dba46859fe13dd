#include "tools/widget-gallery/table_art.h"

#include <cstdio>
#include <cstring>

#include "platform/text/text.h"

using platform::COLORREF;
using platform::RGB;

ArtCanvas::ArtCanvas(int32_t width, int32_t height, COLORREF fill) {
  dc_ = platform::CreateCompatibleDC(nullptr);
  bitmap_ = platform::CreateCompatibleBitmap(dc_, width, height);
  platform::SelectObject(dc_, bitmap_);
  Box(0, 0, width, height, fill);
}

ArtCanvas::~ArtCanvas() {
  platform::DeleteDC(dc_);
  platform::DeleteObject(bitmap_);
}

void ArtCanvas::Box(int32_t left, int32_t top, int32_t width, int32_t height, COLORREF colour) {
  const platform::HBRUSH brush = platform::CreateSolidBrush(colour);
  const platform::RECT r{left, top, left + width, top + height};
  platform::FillRect(dc_, &r, brush);
  platform::DeleteObject(brush);
}

void ArtCanvas::Disc(int32_t left, int32_t top, int32_t width, int32_t height, COLORREF colour) {
  const platform::HRGN region = platform::CreateEllipticRgn(left, top, left + width, top + height);
  platform::SelectClipRgn(dc_, region);
  Box(left, top, width, height, colour);
  platform::SelectClipRgn(dc_, nullptr);
  platform::DeleteObject(region);
}

void ArtCanvas::Text(int32_t left, int32_t top, int32_t width, int32_t height, const char* text, COLORREF colour,
                     int32_t font_height) {
  const platform::HFONT font = platform::CreateFont(font_height, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 2, "Arial");
  const platform::HFONT old = platform::SelectObject(dc_, font);
  platform::SetBkMode(dc_, platform::TRANSPARENT);
  platform::SetTextColor(dc_, colour);
  platform::RECT r{left, top, left + width, top + height};
  platform::DrawText(dc_, text, static_cast<int32_t>(std::strlen(text)), &r,
                     platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE);
  platform::SelectObject(dc_, old);
  platform::DeleteObject(font);
}

std::string ArtCanvas::Bmp() const {
  const platform::Surface& s = *platform::GetDCSurface(dc_);
  const int32_t stride = (s.width * 3 + 3) & ~3;
  const uint32_t image = static_cast<uint32_t>(stride * s.height);
  std::string out(54 + image, '\0');
  auto le32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  le32(2, 54 + image);
  le32(10, 54);
  le32(14, 40);
  le32(18, static_cast<uint32_t>(s.width));
  le32(22, static_cast<uint32_t>(s.height));
  out[26] = 1;
  out[28] = 24;
  le32(34, image);
  for (int32_t y = 0; y < s.height; ++y) {
    std::memcpy(&out[54 + static_cast<size_t>(stride) * (s.height - 1 - y)], s.Row(y), s.Stride());
  }
  return out;
}

bool ArtCanvas::Write(const std::string& path) const {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const std::string bytes = Bmp();
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

COLORREF ChipColour(int32_t cell) {
  static const COLORREF kColours[15] = {
      RGB(250, 250, 250), RGB(200, 40, 40),  RGB(40, 40, 200),  RGB(230, 140, 20), RGB(30, 30, 30),
      RGB(120, 20, 160),  RGB(20, 160, 160), RGB(200, 200, 40), RGB(160, 90, 40),  RGB(240, 120, 180),
      RGB(90, 90, 90),    RGB(40, 120, 40),  RGB(180, 180, 250), RGB(250, 200, 150), RGB(100, 60, 200)};
  return cell >= 0 && cell < 15 ? kColours[cell] : 0;
}

COLORREF SeatCellColour(int32_t cell) {
  static const COLORREF kColours[10] = {RGB(60, 60, 70),  RGB(90, 90, 110), RGB(30, 70, 140), RGB(15, 35, 70),
                                        RGB(30, 130, 60), RGB(15, 65, 30),  RGB(140, 40, 40), RGB(70, 20, 20),
                                        RGB(130, 90, 20), RGB(65, 45, 10)};
  return cell >= 0 && cell < 10 ? kColours[cell] : 0;
}

namespace {

// A button sheet: `cells` cells of width x height side by side, each a frame of its colour.
bool WriteSheet(const std::string& path, int32_t cells, int32_t width, int32_t height, const COLORREF* colours,
                const char* caption) {
  ArtCanvas c(cells * width, height, 0);
  for (int32_t i = 0; i < cells; ++i) {
    c.Box(i * width, 0, width, height, RGB(20, 20, 20));
    c.Box(i * width + 1, 1, width - 2, height - 2, colours[i]);
    if (caption != nullptr) c.Text(i * width, 0, width, height / 2, caption, RGB(255, 255, 255), 11);
  }
  return c.Write(path);
}

bool WriteChips(const std::string& folder) {
  ArtCanvas strip(300, 19, kChipKey);
  for (int32_t i = 0; i < 15; ++i) {
    strip.Disc(20 * i, 0, 20, 19, RGB(20, 20, 20));
    strip.Disc(20 * i + 1, 1, 18, 17, ChipColour(i));
    strip.Disc(20 * i + 6, 6, 8, 7, RGB(240, 240, 240));
  }
  return strip.Write(folder + "4001.b");
}

bool WriteSeats(const std::string& folder) {
  ArtCanvas plates(10 * 91, 35, kSeatKey);
  for (int32_t i = 0; i < 10; ++i) {
    plates.Box(91 * i + 2, 0, 87, 35, SeatCellColour(i));
    plates.Box(91 * i, 2, 91, 31, SeatCellColour(i));
  }
  plates.Text(0, 0, 91, 35, "Sit Here", RGB(220, 220, 220));
  plates.Text(91, 0, 91, 35, "Sit Here", RGB(255, 255, 255));
  return plates.Write(folder + "4002.b");
}

bool WriteDealerButton(const std::string& folder) {
  ArtCanvas button(17, 17, RGB(255, 255, 255));
  button.Disc(0, 0, 17, 17, RGB(10, 10, 10));
  button.Disc(1, 1, 15, 15, RGB(250, 250, 210));
  button.Text(0, 0, 17, 17, "D", RGB(10, 10, 10), 11);
  return button.Write(folder + "4700.b");
}

bool WriteBars(const std::string& folder) {
  // Action bar buttons: three cells each (normal, hover, pressed), 29 rows high.
  const COLORREF bar[3] = {RGB(40, 90, 40), RGB(60, 140, 60), RGB(20, 50, 20)};
  const struct {
    const char* name;
    int32_t width;
    const char* caption;
  } buttons[] = {{"4040.b", 78, "Fold"}, {"4031.b", 100, "Check"}, {"4011.b", 108, nullptr}, {"4021.b", 141, nullptr},
                 {"4091.b", 108, nullptr}};
  bool ok = true;
  for (const auto& b : buttons) ok &= WriteSheet(folder + b.name, 3, b.width, 29, bar, b.caption);
  // Option bar: background 480 x 38 and a sheet of 8 entries of 120 x 19, each normal and selected.
  ArtCanvas back(480, 38, RGB(30, 50, 30));
  ok &= back.Write(folder + "4301.b");
  ArtCanvas options(16 * 120, 19, 0);
  for (int32_t i = 0; i < 8; ++i) {
    const int32_t x = 2 * 120 * i;
    options.Box(x, 0, 120, 19, RGB(50, 60, 50));
    options.Box(x + 3, 4, 11, 11, RGB(230, 230, 230));
    options.Box(x + 120, 0, 120, 19, RGB(70, 100, 70));
    options.Box(x + 120 + 3, 4, 11, 11, RGB(230, 230, 230));
    options.Box(x + 120 + 5, 6, 7, 7, RGB(20, 20, 20));
  }
  ok &= options.Write(folder + "4303.b");
  return ok;
}

bool WriteBetWindow(const std::string& folder) {
  bool ok = true;
  ArtCanvas back(198, 92, RGB(40, 40, 60));
  back.Box(29, 38, 141, 6, RGB(20, 20, 30));
  back.Box(4, 28, 22, 22, RGB(120, 120, 160));
  back.Text(4, 28, 22, 22, "<", RGB(255, 255, 255));
  back.Box(172, 28, 22, 22, RGB(120, 120, 160));
  back.Text(172, 28, 22, 22, ">", RGB(255, 255, 255));
  ok &= back.Write(folder + "4b00.b");
  ArtCanvas thumb(11, 19, RGB(200, 200, 210));
  ok &= thumb.Write(folder + "4b10.b");
  ArtCanvas down(22, 22, RGB(120, 120, 160));
  down.Text(0, 0, 22, 22, "<", RGB(255, 255, 255));
  ok &= down.Write(folder + "4b20.b");
  ArtCanvas down_pressed(22, 22, RGB(80, 80, 120));
  down_pressed.Text(0, 0, 22, 22, "<", RGB(255, 255, 255));
  ok &= down_pressed.Write(folder + "4b21.b");
  ArtCanvas up(22, 22, RGB(120, 120, 160));
  up.Text(0, 0, 22, 22, ">", RGB(255, 255, 255));
  ok &= up.Write(folder + "4b30.b");
  ArtCanvas up_pressed(22, 22, RGB(80, 80, 120));
  up_pressed.Text(0, 0, 22, 22, ">", RGB(255, 255, 255));
  ok &= up_pressed.Write(folder + "4b31.b");
  // Three buttons, two cells each (normal, pressed), 67 x 31.
  const COLORREF cells[6] = {RGB(40, 90, 40),  RGB(20, 50, 20),  RGB(40, 60, 110),
                             RGB(20, 30, 60),  RGB(110, 40, 40), RGB(60, 20, 20)};
  ok &= WriteSheet(folder + "4b01.b", 6, 67, 31, cells, nullptr);
  return ok;
}

bool WritePopUp(const std::string& folder) {
  bool ok = true;
  ArtCanvas back(200, 82, RGB(50, 40, 70));
  back.Text(0, 6, 200, 20, "Fold out of turn?", RGB(255, 255, 255));
  ok &= back.Write(folder + "4900.b");
  const struct {
    const char* name;
    COLORREF colour;
    const char* caption;
  } pictures[] = {{"4912.b", RGB(40, 90, 40), "Yes"}, {"4922.b", RGB(110, 40, 40), "No"}};
  for (const auto& p : pictures) {
    ArtCanvas c(68, 26, p.colour);
    c.Text(0, 0, 68, 26, p.caption, RGB(255, 255, 255));
    ok &= c.Write(folder + p.name);
  }
  return ok;
}

bool WriteSlides(const std::string& folder) {
  bool ok = true;
  const struct {
    const char* name;
    COLORREF colour;
  } pictures[] = {{"bsitin.b", RGB(40, 90, 40)}, {"ositin.b", RGB(60, 140, 60)}, {"dsitin.b", RGB(20, 50, 20)},
                  {"bundorow.b", RGB(40, 40, 110)}, {"oundorow.b", RGB(60, 60, 160)}, {"dundorow.b", RGB(20, 20, 60)}};
  for (const auto& p : pictures) {
    const bool undo = std::strstr(p.name, "undo") != nullptr;
    ArtCanvas c(undo ? 69 : 80, undo ? 23 : 29, p.colour);
    c.Text(0, 0, undo ? 69 : 80, undo ? 23 : 29, undo ? "Undo" : "Sit In", RGB(255, 255, 255));
    ok &= c.Write(folder + p.name);
  }
  return ok;
}

}  // namespace

bool WriteTableArt(const std::string& folder) {
  bool ok = WriteChips(folder);
  ok &= WriteSeats(folder);
  ok &= WriteDealerButton(folder);
  ok &= WriteBars(folder);
  ok &= WriteBetWindow(folder);
  ok &= WritePopUp(folder);
  ok &= WriteSlides(folder);
  return ok;
}

const char* const* TableArtFiles(int32_t* count) {
  static const char* const kFiles[] = {"4001.b",  "4002.b",  "4700.b",  "4040.b",  "4031.b",     "4011.b",
                                       "4021.b",  "4091.b",  "4301.b",  "4303.b",  "4b00.b",     "4b10.b",
                                       "4b20.b",  "4b21.b",  "4b30.b",  "4b31.b",  "4b01.b",     "4900.b",
                                       "4912.b",  "4922.b",  "bsitin.b", "ositin.b", "dsitin.b", "bundorow.b",
                                       "oundorow.b", "dundorow.b"};
  *count = static_cast<int32_t>(sizeof kFiles / sizeof kFiles[0]);
  return kFiles;
}
