#include "tools/widget-gallery/blackjack_art.h"

#include <iterator>
#include <string>

#include "tools/widget-gallery/table_art.h"

namespace blackjack_art {

using platform::RGB;

platform::COLORREF ChipCellColour(int32_t chip, int32_t cell) {
  return RGB(static_cast<uint8_t>(40 + 40 * chip), static_cast<uint8_t>(60 + 60 * cell), 20);
}

platform::COLORREF SecondChipCellColour(int32_t chip, int32_t cell) {
  return RGB(static_cast<uint8_t>(40 + 40 * chip), static_cast<uint8_t>(60 + 60 * cell), 200);
}

platform::COLORREF LampColour(int32_t lamp) {
  static const platform::COLORREF kLamps[3] = {RGB(230, 40, 40), RGB(240, 170, 30), RGB(40, 200, 70)};
  return kLamps[lamp];
}

namespace {

bool WriteChipSheet(const std::string& path, platform::COLORREF (*colour)(int32_t, int32_t)) {
  ArtCanvas sheet(480, 29, kTrayKey);
  for (int32_t chip = 0; chip < 5; ++chip) {
    for (int32_t cell = 0; cell < 3; ++cell) sheet.Box((chip * 3 + cell) * 32 + 1, 1, 30, 27, colour(chip, cell));
  }
  return sheet.Write(path);
}

}  // namespace

bool WriteBlackJackArt(const std::string& folder) {
  ArtCanvas plate(60, 20, kLabelKey);
  plate.Box(0, 1, 15, 18, kLabelLeftCap);
  plate.Box(15, 1, 30, 18, kLabelMiddle);
  plate.Box(45, 1, 15, 18, kLabelRightCap);
  bool ok = plate.Write(folder + "5100.b");

  ArtCanvas bar(262, 36, kTrayKey);
  bar.Box(0, 4, 262, 30, kTrayBar);
  ok &= bar.Write(folder + "5200.b");
  ok &= WriteChipSheet(folder + "5201.b", ChipCellColour);
  ok &= WriteChipSheet(folder + "5202.b", SecondChipCellColour);

  ArtCanvas lights(36, 12, RGB(0, 0, 0));
  for (int32_t lamp = 0; lamp < 3; ++lamp) lights.Disc(lamp * 12, 0, 12, 12, LampColour(lamp));
  ok &= lights.Write(folder + "5600.b");

  ArtCanvas marker(16, 16, kMarkerKey);
  marker.Box(2, 2, 12, 12, kMarkerColour);
  ok &= marker.Write(folder + "5700.b");

  ArtCanvas shoe(100, 80, kShoeKey);
  shoe.Box(8, 30, 90, 48, RGB(96, 30, 34));
  shoe.Box(4, 10, 54, 20, RGB(250, 250, 246));
  ok &= shoe.Write(folder + "5502.b");
  return ok;
}

bool WriteCardStandIns(const std::string& folder) {
  static const char* const kRanks[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
  static const char* const kSuits[4] = {"c", "d", "h", "s"};
  ArtCanvas faces(56 * 13, 78 * 4, RGB(0, 255, 0));
  for (int32_t suit = 0; suit < 4; ++suit) {
    const platform::COLORREF ink = suit == 1 || suit == 2 ? RGB(190, 20, 30) : RGB(20, 20, 20);
    for (int32_t rank = 0; rank < 13; ++rank) {
      const int32_t x = rank * 56;
      const int32_t y = suit * 78;
      faces.Box(x + 1, y, 54, 78, RGB(120, 120, 120));
      faces.Box(x, y + 1, 56, 76, RGB(120, 120, 120));
      faces.Box(x + 1, y + 1, 54, 76, RGB(248, 248, 244));
      const std::string corner = std::string(kRanks[rank]) + kSuits[suit];
      faces.Text(x + 2, y + 2, 24, 14, corner.c_str(), ink, 12);
      faces.Text(x, y + 24, 56, 30, kRanks[rank], ink, 24);
    }
  }
  bool ok = faces.Write(folder + "cardssml.b");
  ArtCanvas back(56, 78, RGB(0, 255, 0));
  back.Box(1, 0, 54, 78, RGB(30, 40, 120));
  back.Box(0, 1, 56, 76, RGB(30, 40, 120));
  back.Box(4, 4, 48, 70, RGB(60, 80, 170));
  ok &= back.Write(folder + "cardbacs.b");
  return ok;
}

const char* const* BlackJackArtFiles(int32_t* count) {
  static const char* const kFiles[] = {"5100.b", "5200.b", "5201.b", "5202.b", "5600.b", "5700.b", "5502.b"};
  *count = static_cast<int32_t>(std::size(kFiles));
  return kFiles;
}

}  // namespace blackjack_art
