// Big 2, Chinese Poker and Pan: their bars, buttons, chips and small pictures.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kBig2Family = "big2";
constexpr const char* kChineseFamily = "chinese-poker";
constexpr const char* kPanFamily = "pan";
constexpr Rgb kFeltHaze{18, 80, 44};

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
  WriteBig2(out);
  WriteChinesePoker(out);
  WritePan(out);
}

}  // namespace art
