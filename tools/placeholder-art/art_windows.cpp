// The tournament window and the two bonus windows ("Pending Bonuses", "Bonus History").
#include <cmath>
#include <string>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kTournamentFamily = "tournament";
constexpr const char* kBonusFamily = "bonus";
constexpr Rgb kWindowGround{14, 34, 24};

void PaintWindowGround(Canvas& canvas, const std::string& title) {
  canvas.VerticalGradient(canvas.Whole(), Rgb{22, 62, 40}, Rgb{8, 24, 16});
  canvas.Grain(canvas.Whole(), 3, 17);
  canvas.VerticalGradient({0, 0, canvas.Width(), 44}, Rgb{16, 26, 22}, Rgb{26, 50, 36});
  canvas.Fill({0, 44, canvas.Width(), 46}, kGold);
  canvas.ShadowText(title, {16, 4, canvas.Width() - 60, 42}, kGold, 26, kLeft);
  canvas.Frame(canvas.Whole(), kGold);
}

void PaintPanelBox(Canvas& canvas, const Box& box) {
  canvas.RoundBox(box, 6, Rgb{6, 12, 10}, 0.8);
  canvas.Frame(box.Inset(1, 1), Rgb{70, 100, 84});
}

// A light panel: the tournament window writes its texts in black.
void PaintLightBox(Canvas& canvas, const Box& box) {
  canvas.RoundBox(box, 6, Rgb{236, 230, 212});
  canvas.Frame(box.Inset(1, 1), Rgb{176, 150, 96});
}

void WriteTournament(Output& out) {
  Canvas window(800, 560);
  PaintWindowGround(window, "Tournament");
  PaintPanelBox(window, {8, 52, 266, 92});     // the tournament's name, in white
  PaintLightBox(window, {8, 93, 266, 468});    // status and details
  PaintLightBox(window, {270, 50, 792, 160});  // prizes and numbers
  PaintLightBox(window, {270, 166, 530, 470}); // information panel and table lists
  PaintLightBox(window, {536, 166, 792, 196}); // above the player list
  out.Jpeg("tourney.a", window, kTournamentFamily);

  Canvas panel(256, 298);
  panel.VerticalGradient(panel.Whole(), Rgb{240, 234, 216}, Rgb{226, 218, 196});
  panel.Frame(panel.Whole(), Rgb{176, 150, 96});
  // A cup: bowl, stem and foot.
  panel.Ellipse(128, 70, 44, 36, Rgb{206, 160, 58});
  panel.Fill({84, 34, 172, 70}, Rgb{206, 160, 58});
  panel.Ellipse(128, 34, 44, 8, Rgb{236, 200, 110});
  panel.Fill({120, 100, 136, 130}, Rgb{186, 140, 48});
  panel.RoundBox({96, 128, 160, 142}, 3, Rgb{186, 140, 48});
  out.Jpeg("tourneya.a", panel, kTournamentFamily);

  const struct {
    const char* stem;
    const char* caption;
    Rgb face;
  } buttons[] = {{"login", "Sign In", kFaceGreen},       {"join", "Register", kFaceGreen},
                 {"unjoin", "Unregister", kFaceRed},     {"take", "Go To My Table", kFaceBlue},
                 {"goto", "Go To Table", kFaceBlue},     {"close", "Close", kFaceSlate}};
  for (const auto& button : buttons) {
    ButtonStyle style;
    style.face = button.face;
    style.ground = Rgb{10, 26, 18};
    WriteButtonTriple(out, "tb", "to", "td", button.stem, 170, 34, button.caption, style, kTournamentFamily);
  }
}

ButtonStyle BonusStyle(Rgb face) {
  ButtonStyle style;
  style.face = face;
  style.ground = kWindowGround;
  return style;
}

// The close button of a bonus window: an X.
void PaintClose(Canvas& canvas, const Box& box, Look look) {
  ButtonStyle style = BonusStyle(kFaceRed);
  style.radius = 3;
  PaintButton(canvas, box, look, "", style);
  const int32_t offset = look == Look::kDown ? 1 : 0;
  for (int32_t i = 0; i < 9; ++i) {
    for (int32_t t = 0; t < 2; ++t) {
      canvas.Set(box.left + 7 + i + offset, box.top + 6 + i + t + offset, kWhiteText);
      canvas.Set(box.left + 15 - i + offset, box.top + 6 + i + t + offset, kWhiteText);
    }
  }
}

void WriteBonusWindowBackground(Output& out, const char* name, const char* title) {
  Canvas window(620, 500);
  PaintWindowGround(window, title);
  PaintClose(window, {583, 12, 606, 33}, Look::kNormal);
  PaintPanelBox(window, {14, 56, 606, 452});
  out.Jpeg(name, window, kBonusFamily);
}

void PaintRowFrame(Canvas& canvas, bool earning) {
  canvas.Fill(canvas.Whole(), kWindowGround);
  canvas.RoundBox(canvas.Whole(), 8, earning ? kGold : Rgb{80, 110, 94});
  // Light panels: the windows write their rows in dark blue.
  canvas.RoundBox(canvas.Whole().Inset(2, 2), 6, earning ? Rgb{248, 238, 200} : Rgb{226, 234, 222});
  ButtonStyle style = BonusStyle(kFaceBlue);
  PaintButton(canvas, {283, 0, 444, 31}, Look::kNormal, "Details", style);
}

void WriteBonusPictures(Output& out) {
  WriteBonusWindowBackground(out, "pbback.a", "Pending Bonuses");
  WriteBonusWindowBackground(out, "pbbackhy.a", "Bonus History");

  for (const bool earning : {false, true}) {
    Canvas row(459, 96);
    PaintRowFrame(row, earning);
    out.Bmp(earning ? "pbinfo2.b" : "pbinfo.b", row, kBonusFamily);
  }
  Canvas progress(196, 13);
  for (int32_t y = 0; y < 13; ++y) progress.Fill({0, y, 196, y + 1}, Mix(Rgb{120, 220, 120}, Rgb{20, 110, 40}, y / 12.0));
  out.Bmp8("pbprog.b", progress, kBonusFamily);
  const struct {
    const char* name;
    const char* caption;
    Rgb colour;
  } strips[] = {{"pbexp.b", "EXPIRED", Rgb{150, 40, 40}}, {"pbcom.b", "COMPLETED", Rgb{30, 120, 60}}};
  for (const auto& strip : strips) {
    Canvas canvas(196, 13);
    canvas.VerticalGradient(canvas.Whole(), Shade(strip.colour, 0.2), Shade(strip.colour, -0.2));
    canvas.Text(strip.caption, canvas.Whole(), kWhiteText, 12);
    out.Bmp(strip.name, canvas, kBonusFamily);
  }

  // Twenty bonus pictures: a wrapped gift in its own colours, numbered.
  for (int index = 0; index < 20; ++index) {
    Canvas gift(103, 114);
    const double hue = index * 0.31;
    const Rgb paper{static_cast<int>(120 + 100 * std::sin(hue)), static_cast<int>(120 + 90 * std::sin(hue + 2.1)),
                    static_cast<int>(120 + 100 * std::sin(hue + 4.2))};
    gift.VerticalGradient(gift.Whole(), Rgb{24, 52, 38}, Rgb{10, 24, 18});
    gift.RoundBox({18, 34, 86, 92}, 4, paper);
    gift.RoundBox({14, 26, 90, 42}, 3, Shade(paper, 0.15));
    gift.Fill({47, 26, 57, 92}, kGold);
    gift.Fill({18, 56, 86, 64}, kGold);
    gift.Ellipse(42, 20, 10, 7, kGold);
    gift.Ellipse(62, 20, 10, 7, kGold);
    gift.Ellipse(52, 22, 4, 4, Shade(kGold, -0.2));
    const std::string caption = "Bonus " + std::to_string(index + 1);
    gift.ShadowText(caption, {0, 94, 103, 112}, kWhiteText, 13);
    char name[32];
    std::snprintf(name, sizeof name, "pbh%03d.b", index);
    out.Bmp(name, gift, kBonusFamily);
  }

  for (const auto& [hover, down] : {std::pair{"pbclosho.b", "pbcloshd.b"}, std::pair{"pbcloseo.b", "pbclosed.b"}}) {
    Canvas hovered(23, 21);
    PaintClose(hovered, hovered.Whole(), Look::kHover);
    out.Bmp(hover, hovered, kBonusFamily);
    Canvas pressed(23, 21);
    PaintClose(pressed, pressed.Whole(), Look::kDown);
    out.Bmp(down, pressed, kBonusFamily);
  }
  WriteButtonFiles(out, "pboldb.b", "pboldo.b", "pboldd.b", 164, 33, "Bonus History", BonusStyle(kFaceBlue), kBonusFamily);
  WriteButtonFiles(out, "pbupb.b", "pbupo.b", "pbupd.b", 46, 26, "Up", BonusStyle(kFaceSlate), kBonusFamily);
  WriteButtonFiles(out, "pbdob.b", "pbdoo.b", "pbdod.b", 46, 26, "Down", BonusStyle(kFaceSlate), kBonusFamily);
  WriteButtonFiles(out, nullptr, "pbmoreo.b", "pbmored.b", 161, 31, "Details", BonusStyle(kFaceBlue), kBonusFamily);
}

}  // namespace

void WriteWindowArt(Output& out) {
  WriteTournament(out);
  WriteBonusPictures(out);
}

}  // namespace art
