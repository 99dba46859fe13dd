// Black Jack, Big 2, Chinese Poker and Pan: their bars, buttons, chips and small pictures.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kBlackJackFamily = "blackjack";
constexpr const char* kBig2Family = "big2";
constexpr const char* kChineseFamily = "chinese-poker";
constexpr const char* kPanFamily = "pan";
constexpr Rgb kFeltHaze{18, 80, 44};

double RoundBoxDistance(double x, double y, const Box& box, double radius) {
  const double qx = std::abs(x - (box.left + box.right) / 2.0) - (box.Width() / 2.0 - radius);
  const double qy = std::abs(y - (box.top + box.bottom) / 2.0) - (box.Height() / 2.0 - radius);
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double u = (x - cx) / rx;
  const double v = (y - cy) / ry;
  return u * u + v * v <= 1.0;
}

// Finishes a keyed picture: pixels outside `inside` become the key, no other pixel is the key.
void Key(Canvas& canvas, Rgb key, const std::function<bool(double, double)>& inside) {
  canvas.AvoidKey(key, [](int32_t, int32_t) { return false; });
  canvas.KeyOutside([&](int32_t x, int32_t y) { return inside(x + 0.5, y + 0.5); }, key);
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

  // The shoe: a dark box with the next card showing at its mouth.
  Canvas shoe(100, 80);
  shoe.Fill(shoe.Whole(), kFeltHaze);
  shoe.RoundBox({8, 30, 98, 78}, 6, Rgb{40, 20, 14});
  shoe.RoundBox({10, 32, 96, 76}, 5, Rgb{96, 30, 34});
  shoe.Shape({0, 0, 100, 80}, [](double x, double y) { return x >= 4 && x <= 60 && y >= 12 + (x - 4) * 0.35 && y <= 46; },
             Rgb{150, 26, 38});
  shoe.RoundBox({4, 10, 58, 30}, 3, Rgb{250, 250, 246});
  shoe.Frame({4, 10, 58, 30}, Rgb{150, 150, 146});
  shoe.Text("SHOE", {16, 48, 92, 72}, kGold, 14);
  Key(shoe, kKeyWhite, [](double x, double y) {
    return RoundBoxDistance(x, y, {8, 30, 98, 78}, 6) <= 0 || (x >= 4 && x <= 58 && y >= 10 && y <= 46);
  });
  out.Bmp("5502.b", shoe, kBlackJackFamily);

  // Check lights: red (blackjack), amber (peeking), green (no blackjack), each lit.
  Canvas lights(36, 12);
  lights.Fill(lights.Whole(), Rgb{12, 16, 14});
  const Rgb lamps[3] = {{230, 40, 40}, {240, 170, 30}, {40, 200, 70}};
  for (int i = 0; i < 3; ++i) {
    for (int32_t y = 0; y < 12; ++y) {
      for (int32_t x = 0; x < 12; ++x) {
        const double d = std::hypot(x + 0.5 - 6, y + 0.5 - 6);
        if (d <= 5) lights.Set(i * 12 + x, y, d <= 2.2 ? Shade(lamps[i], 0.5) : lamps[i]);
      }
    }
  }
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

// A dealer button of 17 x 17, keyed white.
void WriteSmallDealerButton(Output& out, const char* name, const char* family) {
  Canvas canvas(17, 17);
  canvas.Fill(canvas.Whole(), kFeltHaze);
  canvas.Ellipse(8.5, 8.5, 8, 8, Rgb{244, 242, 232});
  canvas.EllipseRing(8.5, 8.5, 8, 8, 1, Rgb{140, 140, 130});
  canvas.Text("D", {0, 0, 17, 17}, Rgb{30, 30, 30}, 12);
  Key(canvas, kKeyWhite, [](double x, double y) { return InEllipse(x, y, 8.5, 8.5, 8.2, 8.2); });
  out.Bmp(name, canvas, family);
}

struct Triple {
  const char* stem;
  int32_t width;
  int32_t height;
  const char* caption;
  Rgb face;
};

void WriteTriples(Output& out, const char* b, const char* o, const char* d, const Triple* triples, size_t count,
                  const char* family) {
  for (size_t i = 0; i < count; ++i) {
    ButtonStyle style;
    style.face = triples[i].face;
    WriteButtonTriple(out, b, o, d, triples[i].stem, triples[i].width, triples[i].height, triples[i].caption, style,
                      family);
  }
}

void WriteBig2(Output& out) {
  Canvas labels(64, 68);
  const char* texts[4] = {"Passed", "Auto Pass", "Timed Out", "Absent"};
  const Rgb faces[4] = {Rgb{50, 70, 96}, Rgb{60, 80, 76}, Rgb{140, 90, 30}, Rgb{110, 40, 40}};
  for (int i = 0; i < 4; ++i) {
    labels.Fill({0, i * 17, 64, i * 17 + 17}, Rgb{12, 16, 14});
    labels.RoundBox({0, i * 17, 64, i * 17 + 17}, 5, faces[i]);
    labels.Text(texts[i], {1, i * 17, 63, i * 17 + 17}, kWhiteText, labels.FitSize(texts[i], 12, 60));
  }
  out.Bmp("b2tarvik.b", labels, kBig2Family);

  // Play direction: clockwise above, anticlockwise below.
  Canvas arrows(33, 54);
  arrows.Fill(arrows.Whole(), Rgb{12, 30, 20});
  for (int half = 0; half < 2; ++half) {
    const double cy = half * 27 + 13.5;
    arrows.EllipseRing(16.5, cy, 10, 10, 3, kGold);
    arrows.Fill({half == 0 ? 4 : 17, static_cast<int32_t>(cy - 13), half == 0 ? 16 : 29, static_cast<int32_t>(cy)},
                Rgb{12, 30, 20});
    const double tip_x = half == 0 ? 16.5 : 16.5;
    arrows.Shape({0, static_cast<int32_t>(cy - 14), 33, static_cast<int32_t>(cy)}, [&](double x, double y) {
      const double dx = half == 0 ? x - tip_x : tip_x - x;
      return dx >= 0 && dx <= 8 && std::abs(y - (cy - 10)) <= (8 - dx) * 0.7;
    }, kGold);
  }
  out.Bmp("b2arrow.b", arrows, kBig2Family);
  WriteSmallDealerButton(out, "2dealerb.b", kBig2Family);

  const Triple triples[] = {
      {"2sit", 51, 24, "Sit", kFaceGreen},
      {"aanten", 141, 17, "Auto Post Ante: OFF", Rgb{96, 96, 100}},
      {"aantey", 141, 17, "Auto Post Ante: ON", kFaceGreen},
      {"arfdn", 141, 17, "Auto Ready: OFF", Rgb{96, 96, 100}},
      {"arfdy", 141, 17, "Auto Ready: ON", kFaceGreen},
      {"2sortsu", 60, 29, "Sort Suit", kFaceSlate},
      {"2sortva", 60, 29, "Sort Value", kFaceSlate},
      {"2submit", 80, 29, "Submit", kFaceGreen},
      {"2undoal", 80, 29, "Undo All", kFaceAmber},
      {"2pass", 80, 29, "Pass", kFaceRed},
      {"2readyf", 80, 29, "Ready", kFaceGreen},
      {"2pante", 80, 29, "Post Ante", kFaceAmber},
      {"2sitin", 80, 29, "Sit In", kFaceGreen},
      {"2sitout", 80, 29, "Sit Out", kFaceSlate},
  };
  WriteTriples(out, "b", "o", "d", triples, std::size(triples), kBig2Family);
}

void WriteChinesePoker(Output& out) {
  WriteSmallDealerButton(out, "1dealerb.b", kChineseFamily);
  const Triple triples[] = {
      {"sit", 51, 24, "Sit", kFaceGreen},           {"undoall", 60, 29, "Undo All", kFaceAmber},
      {"sortsui", 60, 29, "Sort Suit", kFaceSlate}, {"sortval", 60, 29, "Sort Value", kFaceSlate},
      {"submit", 60, 29, "Submit", kFaceGreen},     {"submitn", 60, 29, "Natural", kFacePurple},
      {"surrend", 69, 29, "Surrender", kFaceRed},   {"readyfd", 80, 29, "Ready", kFaceGreen},
      {"pante", 80, 29, "Post Ante", kFaceAmber},   {"sitin", 80, 29, "Sit In", kFaceGreen},
      {"sitout", 80, 29, "Sit Out", kFaceSlate},    {"undorow", 69, 23, "Undo Row", kFaceAmber},
  };
  WriteTriples(out, "b", "o", "d", triples, std::size(triples), kChineseFamily);
}

void WritePan(Output& out) {
  // Seat marks (a gold and a silver star) and the "Absent" picture at row 34.
  Canvas marks(77, 51);
  marks.Fill(marks.Whole(), Rgb{12, 30, 20});
  for (int row = 0; row < 2; ++row) {
    const double cy = row * 17 + 8.5;
    const Rgb colour = row == 0 ? kGold : Rgb{200, 206, 214};
    marks.Shape({0, row * 17, 77, row * 17 + 17}, [&](double x, double y) {
      const double angle = std::atan2(y - cy, x - 38.5);
      const double radius = std::hypot(x - 38.5, y - cy);
      const double edge = 7.5 * (0.55 + 0.45 * std::cos(5 * (angle + 3.14159265 / 2)));
      return radius <= edge;
    }, colour);
  }
  marks.RoundBox({0, 34, 77, 51}, 5, Rgb{110, 40, 40});
  marks.Text("Absent", {0, 34, 77, 51}, kWhiteText, 13);
  out.Bmp("3tarvik.b", marks, kPanFamily);

  const Triple plain[] = {
      {"sit", 51, 24, "Sit", kFaceGreen},          {"keephn", 80, 29, "Keep Hand", kFaceGreen},
      {"sluffh", 80, 29, "Sluff Hand", kFaceRed},  {"pickcr", 80, 29, "Pick Card", kFaceBlue},
      {"pickmu", 80, 29, "Take Muck", kFaceBlue},  {"revert", 80, 29, "Revert", kFaceAmber},
      {"discar", 80, 29, "Discard", kFaceRed},     {"finish", 80, 29, "Finish", kFaceGreen},
      {"sortva", 80, 29, "Sort Value", kFaceSlate}, {"sortsu", 80, 29, "Sort Suit", kFaceSlate},
      {"postop", 80, 29, "Post", kFaceAmber},      {"sitin", 80, 29, "Sit In", kFaceGreen},
      {"sitout", 80, 29, "Sit Out", kFaceSlate},   {"pass", 80, 29, "Pass", kFaceSlate},
      {"sendit", 80, 29, "Send It", kFaceGreen},
  };
  WriteTriples(out, "b3", "o3", "d3", plain, std::size(plain), kPanFamily);
  const Triple prefixed[] = {
      {"aptn", 116, 17, "Auto Post: OFF", Rgb{96, 96, 100}},
      {"apty", 116, 17, "Auto Post: ON", kFaceGreen},
      {"splity", 100, 35, "Split: Yes", kFaceGreen},
      {"splitn", 100, 35, "Split: No", kFaceRed},
  };
  WriteTriples(out, "3b", "3o", "3d", prefixed, std::size(prefixed), kPanFamily);
}

}  // namespace

void WriteOtherGameArt(Output& out) {
  WriteBlackJackChips(out);
  WriteBlackJackPictures(out);
  WriteBig2(out);
  WriteChinesePoker(out);
  WritePan(out);
}

}  // namespace art
