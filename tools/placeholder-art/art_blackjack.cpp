// Black Jack: its chips and marker, the chip tray, the hand label plate, the option bar, the shoe,
// the check lights, the turn marker, the blackjack banner, the bar buttons, and its own table
// background, whose felt, circles, shoe and tray stand where the table's layout puts them.
#include <algorithm>
#include <cmath>
#include <string>

#include "cclient/games/blackjack/blackjack_layout.h"
#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kBlackJackFamily = "blackjack";
constexpr const char* kBackgroundFamily = "table-backgrounds";
constexpr Rgb kFeltHaze{18, 80, 44};

// The shoe: a box whose open front shows the next card, 74 x 64, standing at the layout's shoe
// place; a card leaves it from its top-left corner.
constexpr int32_t kShoeWidth = 74;
constexpr int32_t kShoeHeight = 64;
static_assert(kShoeWidth == blackjack_layout::kShoeArea.right - blackjack_layout::kShoeArea.left + 1);
static_assert(kShoeHeight == blackjack_layout::kShoeArea.bottom - blackjack_layout::kShoeArea.top + 1);

bool InShoeBody(double x, double y) { return RoundBoxDistance(x, y, {8, 16, kShoeWidth, kShoeHeight}, 6) <= 0; }
bool InShoeMouth(double x, double y) { return x >= 1 && x <= 40 && y >= 4 + (x - 1) * 0.3 && y <= 34; }
bool InShoe(double x, double y) { return InShoeBody(x, y) || InShoeMouth(x, y); }

void PaintShoe(Canvas& canvas, int32_t x, int32_t y) {
  const Box body{x + 8, y + 16, x + kShoeWidth, y + kShoeHeight};
  canvas.RoundBox(body, 6, Rgb{40, 20, 14});
  canvas.RoundBox(body.Inset(2, 2), 5, Rgb{96, 30, 34});
  canvas.Shape({x, y, x + 42, y + 36}, [&](double px, double py) { return InShoeMouth(px - x, py - y); },
               Rgb{150, 26, 38});
  canvas.RoundBox({x + 3, y + 8, x + 36, y + 22}, 2, Rgb{244, 244, 238});
  canvas.Frame({x + 3, y + 8, x + 36, y + 22}, Rgb{150, 150, 146});
  canvas.Text("SHOE", {x + 20, y + 38, x + kShoeWidth - 4, y + kShoeHeight - 4}, kGold, 12);
}

constexpr Rgb kLampHousing{12, 16, 14};
constexpr Rgb kLamps[3] = {{230, 40, 40}, {240, 170, 30}, {40, 200, 70}};

// One lamp in a 12 x 12 cell at (x, y): lit bright with a hot centre, or dark.
void PaintLamp(Canvas& canvas, int32_t x, int32_t y, Rgb colour, bool lit) {
  for (int32_t dy = 0; dy < 12; ++dy) {
    for (int32_t dx = 0; dx < 12; ++dx) {
      const double d = std::hypot(dx + 0.5 - 6, dy + 0.5 - 6);
      if (d > 5) continue;
      const Rgb shown = lit ? (d <= 2.2 ? Shade(colour, 0.5) : colour) : Shade(colour, -0.7);
      canvas.Set(x + dx, y + dy, shown);
    }
  }
}

// A Black Jack chip in a 32 x 29 cell at `left`: a top face of 15 x 10 over a 5-pixel edge.
void PaintBigChip(Canvas& canvas, int32_t left, Rgb colour, Rgb stripe, const std::string& value, Look look) {
  const double cx = left + 16;
  const double top = look == Look::kDown ? 2 : 1;
  const Rgb face = look == Look::kHover ? Shade(colour, 0.15) : (look == Look::kDown ? Shade(colour, -0.15) : colour);
  const Rgb edge = Shade(face, -0.35);
  canvas.Ellipse(cx, top + 10 + 5, 15, 10, Shade(edge, -0.3));
  canvas.Fill({left + 1, static_cast<int32_t>(top + 10), left + 31, static_cast<int32_t>(top + 16)}, edge);
  for (int i = -2; i <= 2; ++i) {
    canvas.Fill({static_cast<int32_t>(cx + i * 6.3 - 1), static_cast<int32_t>(top + 11),
                 static_cast<int32_t>(cx + i * 6.3 + 2), static_cast<int32_t>(top + 17)},
                stripe);
  }
  canvas.Ellipse(cx, top + 10, 15, 10, face);
  canvas.EllipseRing(cx, top + 10, 13, 8.6, 2, stripe);
  canvas.Ellipse(cx, top + 10, 9.5, 6.2, Shade(face, 0.1));
  canvas.EllipseRing(cx, top + 10, 15, 10, 1, look == Look::kHover ? kGold : Shade(face, -0.5));
  if (!value.empty()) {
    const Rgb ink = (face.r + face.g + face.b) > 450 ? Rgb{30, 30, 30} : Rgb{246, 246, 240};
    canvas.Text(value, {left + 4, static_cast<int32_t>(top + 3), left + 28, static_cast<int32_t>(top + 17)}, ink,
                canvas.FitSize(value, 12, 20));
  }
}

bool InBigChip(double x, double y, int32_t cell_width) {
  const double cx = 16;
  const double local = std::fmod(x, cell_width);
  return InEllipse(local, y, cx, 11, 15.5, 10.5) || InEllipse(local, y, cx, 17, 15.5, 10.5) ||
         (std::abs(local - cx) <= 15.5 && y >= 11 && y <= 17);
}

struct BigChip {
  Rgb colour;
  Rgb stripe;
  const char* value;
};
const BigChip kBigChips[5] = {{{238, 236, 228}, {40, 80, 170}, "1"},
                              {{198, 32, 38}, {246, 246, 240}, "5"},
                              {{24, 128, 62}, {246, 246, 240}, "25"},
                              {{34, 34, 40}, {226, 190, 92}, "100"},
                              {{118, 52, 160}, {246, 246, 240}, "500"}};

void WriteBlackJackChips(Output& out) {
  Canvas chips(160, 29);
  chips.Fill(chips.Whole(), kFeltHaze);
  for (int i = 0; i < 5; ++i) PaintBigChip(chips, i * 32, kBigChips[i].colour, kBigChips[i].stripe, kBigChips[i].value, Look::kNormal);
  Key(chips, kKeyBlue, [](double x, double y) { return InBigChip(x, y, 32); });
  out.Bmp("5000.b", chips, kBlackJackFamily);

  Canvas marker(32, 29);
  marker.Fill(marker.Whole(), kFeltHaze);
  PaintBigChip(marker, 0, Rgb{196, 198, 204}, Rgb{90, 92, 100}, "", Look::kNormal);
  Key(marker, kKeyBlue, [](double x, double y) { return InBigChip(x, y, 32); });
  out.Bmp("5006.b", marker, kBlackJackFamily);

  // The tray's chips: each chip normal, hover, pressed; the second sheet carries a gold rim.
  for (const bool rimmed : {false, true}) {
    Canvas tray_chips(480, 29);
    tray_chips.Fill(tray_chips.Whole(), Rgb{60, 34, 20});
    const Look looks[3] = {Look::kNormal, Look::kHover, Look::kDown};
    for (int chip = 0; chip < 5; ++chip) {
      for (int look = 0; look < 3; ++look) {
        const int32_t left = (chip * 3 + look) * 32;
        PaintBigChip(tray_chips, left, kBigChips[chip].colour, rimmed ? kGold : kBigChips[chip].stripe,
                     kBigChips[chip].value, looks[look]);
      }
    }
    Key(tray_chips, kKeyBlue, [](double x, double y) { return InBigChip(x, y, 32); });
    out.Bmp(rimmed ? "5202.b" : "5201.b", tray_chips, kBlackJackFamily);
  }
}

// A stretchable pill: caps of `cap` pixels at both ends, a body the same in every column.
void WriteStretchPicture(Output& out, const char* name, int32_t width, int32_t height, int32_t cap, Rgb body, Rgb rim) {
  Canvas canvas(width, height);
  canvas.Fill(canvas.Whole(), kFeltHaze);
  const Box box = canvas.Whole();
  const double radius = std::min(cap, height / 2) - 0.5;
  canvas.RoundBox(box, radius, rim);
  canvas.RoundBox(box.Inset(2, 2), radius - 2, body);
  canvas.Fill({cap, 3, width - cap, 4}, Shade(body, 0.2));
  Key(canvas, kKeyBlue, [&](double x, double y) { return RoundBoxDistance(x, y, box, radius) <= 0; });
  out.Bmp(name, canvas, kBlackJackFamily);
}

void WriteBlackJackPictures(Output& out) {
  WriteStretchPicture(out, "5100.b", 60, 20, 15, Rgb{20, 30, 28}, kGold);
  WriteStretchPicture(out, "5200.b", 262, 36, 28, Rgb{74, 42, 24}, Rgb{140, 96, 56});

  Canvas bar(380, 22);
  bar.Fill(bar.Whole(), kConsole);
  bar.RoundBox(bar.Whole(), 5, Rgb{40, 56, 50});
  bar.RoundBox(bar.Whole().Inset(1, 1), 4, Rgb{24, 34, 30});
  out.Bmp("5400.b", bar, kBlackJackFamily);
  Canvas options(720, 14);
  options.Fill(options.Whole(), Rgb{24, 34, 30});
  for (int entry = 0; entry < 4; ++entry) {
    PaintCheckBox(options, entry * 180 + 1, 1, 12, false, Rgb{24, 34, 30});
    PaintCheckBox(options, entry * 180 + 91, 1, 12, true, Rgb{24, 34, 30});
  }
  out.Bmp("5401.b", options, kBlackJackFamily);

  Canvas shoe(kShoeWidth, kShoeHeight);
  shoe.Fill(shoe.Whole(), kFeltHaze);
  PaintShoe(shoe, 0, 0);
  Key(shoe, kKeyWhite, [](double x, double y) { return InShoe(x, y); });
  out.Bmp("5502.b", shoe, kBlackJackFamily);

  // Check lights: red (blackjack), amber (peeking), green (no blackjack), each lit.
  Canvas lights(36, 12);
  lights.Fill(lights.Whole(), kLampHousing);
  for (int i = 0; i < 3; ++i) PaintLamp(lights, i * 12, 0, kLamps[i], true);
  out.Bmp8("5600.b", lights, kBlackJackFamily);

  // The turn marker: a gold arrow pointing down.
  Canvas arrow(16, 16);
  arrow.Fill(arrow.Whole(), kFeltHaze);
  const auto in_arrow = [](double x, double y) {
    return (y >= 1 && y <= 8 && x >= 5 && x <= 11) || (y > 8 && y <= 15 && std::abs(x - 8) <= (15 - y));
  };
  arrow.Shape(arrow.Whole(), in_arrow, kGold);
  Key(arrow, kKeyRed, in_arrow);
  out.Bmp("5700.b", arrow, kBlackJackFamily);

  Canvas banner(100, 24);
  banner.Fill(banner.Whole(), kFeltHaze);
  banner.RoundBox(banner.Whole(), 6, kGold);
  banner.RoundBox(banner.Whole().Inset(2, 2), 4, Rgb{20, 20, 24});
  banner.Text("BLACKJACK", banner.Whole(), kGold, 15);
  Key(banner, kKeyWhite, [](double x, double y) { return RoundBoxDistance(x, y, {0, 0, 100, 24}, 6) <= 0; });
  out.Bmp("5800.b", banner, kBlackJackFamily);

  const struct {
    const char* name;
    const char* caption;
    Rgb face;
  } bar_buttons[] = {{"5900.b", "Deal", kFaceGreen},       {"5901.b", "Hit", kFaceGreen},
                     {"5902.b", "Stand", kFaceRed},        {"5903.b", "Double", kFaceAmber},
                     {"5904.b", "Split", kFaceBlue},       {"5905.b", "Rebet", kFaceGreen},
                     {"5906.b", "Even Money", kFaceAmber}, {"5907.b", "Insurance", kFaceBlue},
                     {"5908.b", "Pass", kFaceSlate}};
  for (const auto& button : bar_buttons) {
    ButtonStyle style;
    style.face = button.face;
    WriteBarButton(out, button.name, 92, button.caption, Box{}, style, kBlackJackFamily);
  }
}

}  // namespace

void PaintBlackJackTable(Canvas& canvas, const char* game_title, Rgb felt) {
  namespace layout = blackjack_layout;
  PaintRoom(canvas);
  // The rail: the felt's half-ellipse grown by 16 pixels, with the dealer's straight rail on top.
  const auto in_rail = [](double x, double y) {
    const double u = (x - layout::kFeltCentreX) / (layout::kFeltRadiusX + 16);
    const double v = (y - layout::kFeltCentreY) / (layout::kFeltRadiusY + 16);
    return y >= layout::kFeltTop - 14 && u * u + v * v <= 1.0;
  };
  canvas.Shape(canvas.Whole(), in_rail, Rgb{74, 40, 24});
  canvas.Shape(canvas.Whole(), [](double x, double y) { return layout::OnFelt(x, y - 2) && !layout::OnFelt(x, y); },
               Rgb{112, 66, 40});
  canvas.Shape(canvas.Whole(), [](double x, double y) { return layout::OnFelt(x, y); }, felt);
  // A lamp over the dealer: the cloth darkens towards the rail.
  for (int32_t y = layout::kFeltTop; y <= layout::kFeltBottom; ++y) {
    for (int32_t x = 0; x < canvas.Width(); ++x) {
      if (!layout::OnFelt(x + 0.5, y + 0.5)) continue;
      const double u = (x + 0.5 - 400) / 470;
      const double v = (y + 0.5 - 160) / 330;
      canvas.Set(x, y, Shade(canvas.Get(x, y), -0.4 * std::min(u * u + v * v, 1.0)));
    }
  }
  const Rgb line = Shade(felt, 0.3);
  // The insurance line: an arc through the seats' insurance places.
  canvas.Shape({120, 150, 680, 260}, [](double x, double y) {
    const double u = (x - 383) / 230;
    const double v = (y - 40) / 200;
    return std::abs(std::sqrt(u * u + v * v) - 1.0) <= 0.006;
  }, line);
  for (const layout::SeatAnchors& seat : layout::kSeatAnchors) {
    canvas.EllipseRing(seat.circle.x, seat.circle.y, seat.radius, seat.radius, 2, line);
    canvas.EllipseRing(seat.circle.x, seat.circle.y, seat.radius - 6, seat.radius - 6, 1, Shade(felt, 0.12));
  }
  canvas.Text("BLACKJACK PAYS 3 TO 2", {240, 36, 560, 54}, Shade(felt, 0.35), 15);
  canvas.Text("Dealer stands on all 17s    Insurance pays 2 to 1", {220, 56, 580, 70}, Shade(felt, 0.25), 11);
  canvas.Text(game_title, {250, 72, 360, 88}, Shade(felt, 0.18), 12, kLeft);
  // The discard tray, the shoe and the dark check lights.
  const platform::RECT& tray = layout::kDiscardArea;
  canvas.RoundBox({tray.left, tray.top, tray.right + 1, tray.bottom + 1}, 5, Rgb{46, 26, 18});
  canvas.RoundBox({tray.left + 3, tray.top + 3, tray.right - 2, tray.bottom - 2}, 3, Shade(felt, -0.3));
  PaintShoe(canvas, layout::kShoeArea.left, layout::kShoeArea.top);
  canvas.RoundBox({328, 89, 368, 105}, 3, kLampHousing);
  for (int i = 0; i < 3; ++i) PaintLamp(canvas, 330 + 12 * i, 91, kLamps[i], false);
  PaintConsoleAndFrame(canvas);
}

void WriteBlackJackArt(Output& out) {
  WriteBlackJackChips(out);
  WriteBlackJackPictures(out);
  Canvas table(800, 560);
  PaintBlackJackTable(table, "Black Jack", Rgb{18, 100, 54});
  out.Jpeg("bjtable.a", table, kBackgroundFamily);
}

}  // namespace art
