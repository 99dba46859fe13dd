// Hold'em and Omaha, Seven Card Stud and Guts: the action bars' buttons (three cells each:
// normal, hover, pressed, 29 high), the seat-option toggles, the pre-action option bar and its
// check-box sheets, the pop-up panels and the bet window.
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kHoldemFamily = "holdem";
constexpr const char* kStudFamily = "stud";
constexpr const char* kGutsFamily = "guts";
constexpr Rgb kBarGround{24, 34, 30};

// An action-bar button. Where the program writes an amount, the caption keeps out of its box:
// `caption_box` is the part of the cell the caption may use (an empty box: the whole cell).
struct BarButton {
  const char* name;
  const char* caption;
  int32_t cell_width;
  Box caption_box;
  Rgb face;
};

// The amount boxes cover the whole cell height, with the amount at the bottom: the verb then
// goes into the top line.
constexpr Box kWhole{};
constexpr Box TopLine(int32_t cell_width) { return {2, 1, cell_width - 2, 15}; }

// The buttons that stand at x 409 on a fixed-limit bar (bet, raise, complete) end before the chat
// box at x 538: their amount goes under the verb, as on the bar of the other tables.
const BarButton kHoldemBar[] = {
    {"4030.b", "Check", 142, kWhole, kFaceBlue},
    {"4031.b", "Check", 101, kWhole, kFaceBlue},
    {"4010.b", "Bet", 101, TopLine(101), kFaceGreen},
    {"4011.b", "Bet", 101, TopLine(101), kFaceGreen},
    {"4020.b", "Call", 142, {100, 0, 141, 29}, kFaceBlue},
    {"4021.b", "Call", 101, TopLine(101), kFaceBlue},
    {"4090.b", "Raise", 101, TopLine(101), kFaceGreen},
    {"4091.b", "Raise", 101, TopLine(101), kFaceGreen},
    {"4040.b", "Fold", 108, kWhole, kFaceRed},
    {"4041.b", "Fold", 79, kWhole, kFaceRed},
    {"4080.b", "Post Small Blind", 142, {3, 0, 77, 29}, kFaceAmber},
    {"4070.b", "Post Big Blind", 142, {3, 0, 77, 29}, kFaceAmber},
    {"4110.b", "Sit Out", 142, kWhole, kFaceSlate},
    {"4050.b", "I Am Back", 166, kWhole, kFaceGreen},
    {"4100.b", "Show Cards", 142, kWhole, kFaceBlue},
    {"4060.b", "Muck Cards", 142, kWhole, kFaceSlate},
    {"4120.b", "Post Now", 127, kWhole, kFaceAmber},
    {"4130.b", "Wait For Big Blind", 127, kWhole, kFaceSlate},
    {"4140.b", "Complete To", 101, TopLine(101), kFaceGreen},
    {"4150.b", "Post Dead", 161, {3, 0, 116, 29}, kFaceAmber},
    {"4180.b", "Post", 127, kWhole, kFaceAmber},
    {"4190.b", "Play Now", 318, {3, 0, 143, 29}, kFaceGreen},
    {"4160.b", "Raise...", 101, kWhole, kFaceGreen},
    {"4170.b", "Bet...", 101, kWhole, kFaceGreen},
};

const BarButton kStudBar[] = {
    {"8000.b", "Ante", 100, TopLine(100), kFaceAmber},
    {"8001.b", "Decline", 100, kWhole, kFaceSlate},
    {"8011.b", "Bet Double", 101, TopLine(101), kFaceGreen},
    {"8091.b", "Raise Double", 101, TopLine(101), kFaceGreen},
    {"8100.b", "Bring-In", 101, TopLine(101), kFaceAmber},
    {"8140.b", "Complete", 101, TopLine(101), kFaceGreen},
    {"8150.b", "Complete Double", 101, TopLine(101), kFaceGreen},
};

const BarButton kGutsBar[] = {
    {"9000.b", "In", 100, kWhole, kFaceGreen},
    {"9001.b", "Out", 100, kWhole, kFaceRed},
};

struct Toggle {
  const char* stem;  // files stem + "0.b", "1.b", "2.b" (off) and "4.b", "5.b", "6.b" (on)
  const char* caption;
  int32_t height;
};

const Toggle kHoldemToggles[] = {
    {"480", "Auto Post Blinds", 18},
    {"481", "Sit Out Next Hand", 16},
    {"482", "Auto Muck", 18},
    {"483", "Sit Out (Tournament)", 16},
};
const Toggle kStudToggles[] = {{"880", "Auto Post Ante", 18}};
const Toggle kGutsToggles[] = {{"990", "Auto Post Ante", 19}, {"982", "Sit Out Next Hand", 18}};

void WriteBar(Output& out, const BarButton* buttons, size_t count, const char* family) {
  for (size_t i = 0; i < count; ++i) {
    const BarButton& button = buttons[i];
    ButtonStyle style;
    style.face = button.face;
    style.ground = kConsole;
    WriteBarButton(out, button.name, button.cell_width, button.caption, button.caption_box, style, family);
  }
}

void WriteToggles(Output& out, const Toggle* toggles, size_t count, const char* family) {
  for (size_t i = 0; i < count; ++i) {
    const std::string stem = toggles[i].stem;
    WriteToggleFiles(out, stem + "0.b", stem + "1.b", stem + "2.b", 130, toggles[i].height, toggles[i].caption, false,
                     family);
    WriteToggleFiles(out, stem + "4.b", stem + "5.b", stem + "6.b", 130, toggles[i].height, toggles[i].caption, true,
                     family);
  }
}

// The pre-action bar's background and its option sheets: an entry is a normal cell and a
// checked cell, each one option wide, holding only a check box (the program writes the labels).
void WriteOptionBar(Output& out) {
  for (const char* name : {"4300.b", "4301.b"}) {
    Canvas bar(390, 38);
    bar.Fill(bar.Whole(), kConsole);
    bar.RoundBox(bar.Whole(), 6, Shade(kBarGround, 0.25));
    bar.RoundBox(bar.Whole().Inset(1, 1), 5, kBarGround);
    out.Bmp(name, bar, kHoldemFamily);
  }
  const struct {
    const char* name;
    std::vector<int32_t> widths;
  } sheets[] = {{"4302.b", {114, 114, 137, 137, 114, 114, 114}}, {"4303.b", {84, 84, 96, 96, 96, 96, 84, 84}}};
  for (const auto& sheet : sheets) {
    int32_t total = 0;
    for (const int32_t width : sheet.widths) total += 2 * width;
    Canvas canvas(total, 14);
    canvas.Fill(canvas.Whole(), kBarGround);
    int32_t x = 0;
    for (const int32_t width : sheet.widths) {
      PaintCheckBox(canvas, x + 1, 1, 12, false, kBarGround);
      PaintCheckBox(canvas, x + width + 1, 1, 12, true, kBarGround);
      x += 2 * width;
    }
    out.Bmp(sheet.name, canvas, kHoldemFamily);
  }
}

void PaintPanel(Canvas& canvas, const std::string& line1, const std::string& line2) {
  canvas.Fill(canvas.Whole(), kConsole);
  canvas.RoundBox(canvas.Whole(), 8, kGold);
  canvas.RoundBox(canvas.Whole().Inset(2, 2), 6, Rgb{28, 44, 38});
  canvas.Text(line1, {6, 6, canvas.Width() - 6, 24}, kWhiteText, canvas.FitSize(line1, 13, canvas.Width() - 12));
  canvas.Text(line2, {6, 24, canvas.Width() - 6, 42}, Rgb{210, 220, 212}, canvas.FitSize(line2, 12, canvas.Width() - 12),
              kCentre, false);
}

struct PanelButton {
  const char* caption;
  int32_t x, y, width, height;
  Rgb face;
};

void WritePanel(Output& out, const char* name, const std::string& line1, const std::string& line2,
                const std::vector<PanelButton>& buttons) {
  Canvas canvas(188, 80);
  PaintPanel(canvas, line1, line2);
  for (const PanelButton& button : buttons) {
    ButtonStyle style;
    style.face = button.face;
    style.ground = Rgb{28, 44, 38};
    style.font_size = 11;
    PaintButton(canvas, {button.x, button.y, button.x + button.width, button.y + button.height}, Look::kNormal,
                button.caption, style);
  }
  out.Bmp(name, canvas, kHoldemFamily);
}

void WritePressed(Output& out, const char* name, const char* caption, int32_t width, Rgb face) {
  ButtonStyle style;
  style.face = face;
  style.ground = Rgb{28, 44, 38};
  style.font_size = 11;
  WriteButtonFiles(out, nullptr, nullptr, name, width, 24, caption, style, kHoldemFamily);
}

void WritePopUps(Output& out) {
  WritePanel(out, "4900.b", "Fold when you can check?", "Checking costs nothing.",
             {{"Fold", 29, 46, 56, 24, kFaceRed}, {"Check", 103, 46, 56, 24, kFaceBlue}});
  WritePressed(out, "4912.b", "Fold", 56, kFaceRed);
  WritePressed(out, "4922.b", "Check", 56, kFaceBlue);
  WritePanel(out, "4a00.b", "You are out of chips.", "Add money, post or sit out.",
             {{"Add", 11, 47, 44, 24, kFaceGreen}, {"Post SB", 72, 47, 44, 24, kFaceAmber},
              {"Sit Out", 133, 47, 44, 24, kFaceSlate}});
  WritePanel(out, "4a10.b", "You are out of chips.", "Add money or sit out.",
             {{"Add", 41, 47, 44, 24, kFaceGreen}, {"Sit Out", 103, 47, 44, 24, kFaceSlate}});
  WritePressed(out, "4a22.b", "Add", 44, kFaceGreen);
  WritePressed(out, "4a32.b", "Sit Out", 44, kFaceSlate);
  WritePressed(out, "4a42.b", "Post SB", 44, kFaceAmber);
}

void PaintArrowButton(Canvas& canvas, const Box& box, bool up, bool pressed) {
  ButtonStyle style;
  style.face = kFaceSlate;
  style.ground = Rgb{28, 44, 38};
  PaintButton(canvas, box, pressed ? Look::kDown : Look::kNormal, "", style);
  const double cx = box.left + box.Width() / 2.0 + (pressed ? 1 : 0);
  const double cy = box.top + box.Height() / 2.0 + (pressed ? 1 : 0);
  canvas.Shape(box, [&](double x, double y) {
    const double dy = up ? cy + 4 - y : y - (cy - 4);
    return dy >= 0 && dy <= 8 && std::abs(x - cx) <= dy * 0.75;
  }, kWhiteText);
}

// The bet window: slider track, the three amount boxes, the arrows' resting looks; its thumb,
// pressed arrows and the Bet / Raise / Close sheet.
void WriteBetWindow(Output& out) {
  Canvas panel(198, 92);
  panel.Fill(panel.Whole(), kConsole);
  panel.RoundBox(panel.Whole(), 8, kGold);
  panel.RoundBox(panel.Whole().Inset(2, 2), 6, Rgb{28, 44, 38});
  for (const Box& box : {Box{8, 11, 74, 25}, Box{124, 11, 190, 25}, Box{75, 11, 123, 25}}) {
    panel.Fill(box, Rgb{10, 16, 14});
    panel.Bevel(box, Rgb{90, 110, 100}, Rgb{4, 6, 6}, true);
  }
  panel.Fill({29, 32, 169, 50}, Rgb{18, 28, 24});
  panel.Fill({33, 40, 165, 43}, Rgb{120, 100, 50});
  panel.Fill({33, 40, 165, 41}, Rgb{60, 50, 24});
  PaintArrowButton(panel, {4, 28, 24, 50}, false, false);
  PaintArrowButton(panel, {172, 28, 192, 50}, true, false);
  out.Bmp("4b00.b", panel, kHoldemFamily);

  Canvas thumb(12, 18);
  thumb.Fill(thumb.Whole(), Rgb{18, 28, 24});
  thumb.RoundBox(thumb.Whole(), 3, kGold);
  thumb.Fill({3, 4, 9, 5}, Rgb{120, 90, 30});
  thumb.Fill({3, 8, 9, 9}, Rgb{120, 90, 30});
  thumb.Fill({3, 12, 9, 13}, Rgb{120, 90, 30});
  out.Bmp("4b10.b", thumb, kHoldemFamily);
  Canvas down(20, 22);
  PaintArrowButton(down, down.Whole(), false, true);
  out.Bmp("4b21.b", down, kHoldemFamily);
  Canvas up(20, 22);
  PaintArrowButton(up, up.Whole(), true, true);
  out.Bmp("4b31.b", up, kHoldemFamily);

  // Bet and Raise keep their lower half plain for the amount.
  Canvas sheet(402, 31);
  const struct {
    const char* caption;
    Rgb face;
    bool amount;
  } buttons[] = {{"Bet", kFaceGreen, true}, {"Raise", kFaceGreen, true}, {"Close", kFaceSlate, false}};
  for (int i = 0; i < 3; ++i) {
    for (int pressed = 0; pressed < 2; ++pressed) {
      const Box cell{(2 * i + pressed) * 67, 0, (2 * i + pressed + 1) * 67, 31};
      ButtonStyle style;
      style.face = buttons[i].face;
      style.ground = Rgb{28, 44, 38};
      PaintButton(sheet, cell, pressed != 0 ? Look::kDown : Look::kNormal, buttons[i].amount ? "" : buttons[i].caption,
                  style);
      if (buttons[i].amount) {
        sheet.ShadowText(buttons[i].caption, Box{cell.left + 2, 1, cell.right - 2, 14}.Moved(pressed, pressed), kWhiteText,
                         12);
      }
    }
  }
  out.Bmp("4b01.b", sheet, kHoldemFamily);
}

}  // namespace

void WritePokerArt(Output& out) {
  WriteBar(out, kHoldemBar, std::size(kHoldemBar), kHoldemFamily);
  WriteToggles(out, kHoldemToggles, std::size(kHoldemToggles), kHoldemFamily);
  WriteOptionBar(out);
  WritePopUps(out);
  WriteBetWindow(out);
  WriteBar(out, kStudBar, std::size(kStudBar), kStudFamily);
  WriteToggles(out, kStudToggles, std::size(kStudToggles), kStudFamily);
  WriteBar(out, kGutsBar, std::size(kGutsBar), kGutsFamily);
  WriteToggles(out, kGutsToggles, std::size(kGutsToggles), kGutsFamily);
}

}  // namespace art
