// What every card table shares: the 800 x 560 backgrounds (felt on a rail, a dark console below,
// and the resting looks of the frame buttons that have no picture of their own), the frame's
// buttons, chips, seat plates, the dealer button and the link-quality icons.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kWidgetFamily = "table-widgets";
constexpr const char* kBackgroundFamily = "table-backgrounds";
constexpr Rgb kFeltHaze{20, 78, 42};  // what keyed edges are blended against: the felt

// The frame buttons, at their places on the table window.
struct FrameButton {
  const char* normal;  // null: painted into every table background at (x, y)
  const char* hover;
  const char* down;
  const char* caption;
  int32_t x, y, width, height;
  Rgb face;
};

const FrameButton kFrameButtons[] = {
    {nullptr, "ostat.b", "dstat.b", "Statistics", 354, 9, 93, 16, kFaceSlate},
    {nullptr, "ocashier.b", "dcashier.b", "Cashier", 569, 9, 61, 16, kFaceAmber},
    {nullptr, "ogotolob.b", "dgotolob.b", "Lobby", 630, 9, 74, 16, kFaceBlue},
    {nullptr, "oleavetb.b", "dleavetb.b", "Leave Table", 704, 9, 76, 16, kFaceRed},
    {nullptr, "ohelp.b", "dhelp.b", "?", 87, 470, 24, 24, kFaceBlue},
    {nullptr, "omoremo.b", "dmoremo.b", "$", 114, 470, 24, 24, kFaceGreen},
    {nullptr, "ofloorpe.b", "dfloorpe.b", "Support", 8, 470, 76, 24, kFaceSlate},
    {"btjoinwa.b", "otjoinwa.b", "dtjoinwa.b", "Join List", 8, 444, 76, 24, Rgb{30, 108, 112}},
    {"btleavew.b", "otleavew.b", "dtleavew.b", "Leave List", 8, 444, 76, 24, Rgb{128, 86, 30}},
    {"bdealery.b", "odealery.b", "ddealery.b", "Dealer Chat: ON", 649, 523, 102, 17, kFaceGreen},
    {"bdealern.b", "odealern.b", "ddealern.b", "Dealer Chat: OFF", 649, 523, 102, 17, Rgb{96, 96, 100}},
    {"bplayery.b", "oplayery.b", "dplayery.b", "Player Chat: ON", 538, 523, 106, 17, kFaceGreen},
    {"bplayern.b", "oplayern.b", "dplayern.b", "Player Chat: OFF", 538, 523, 106, 17, Rgb{96, 96, 100}},
};

ButtonStyle FrameStyle(const FrameButton& button) {
  ButtonStyle style;
  style.face = button.face;
  style.ground = kConsole;
  style.font_size = button.height <= 17 ? 11 : (button.width <= 24 ? 16 : 12);
  style.radius = 3;
  return style;
}

// The chat box's scroll arrows: (down only) pictures and, in the background, their resting look.
void PaintScrollArrow(Canvas& canvas, int32_t x, int32_t y, bool up, bool pressed) {
  const Box box{x, y, x + 13, y + 13};
  canvas.Fill(box, pressed ? Rgb{40, 56, 52} : Rgb{64, 82, 78});
  canvas.Bevel(box, Rgb{120, 140, 134}, Rgb{16, 20, 20}, pressed);
  const int32_t offset = pressed ? 1 : 0;
  for (int32_t row = 0; row < 4; ++row) {
    const int32_t line_y = y + offset + (up ? 4 + row : 8 - row);
    canvas.Line(x + 6 - row + offset, line_y, x + 6 + row + offset, line_y, Rgb{230, 230, 220});
  }
}

// The table's resting looks and dark text areas, drawn over whatever the game painted.
void PaintTableFrame(Canvas& canvas) {
  for (const FrameButton& button : kFrameButtons) {
    if (button.normal != nullptr) continue;
    PaintButton(canvas, {button.x, button.y, button.x + button.width, button.y + button.height}, Look::kNormal,
                button.caption, FrameStyle(button));
  }
  // The chat box, the status line, the clock and the link line: dark enough for white text.
  canvas.RoundBox({536, 379, 784, 492}, 6, Rgb{10, 14, 14}, 0.82);
  canvas.Frame({537, 380, 783, 491}, Rgb{70, 90, 84});
  canvas.RoundBox({544, 496, 777, 517}, 4, Rgb{8, 10, 10}, 0.85);
  canvas.RoundBox({17, 497, 136, 518}, 4, Rgb{8, 10, 10}, 0.85);
  canvas.RoundBox({130, 521, 392, 540}, 4, Rgb{8, 10, 10}, 0.7);
  PaintScrollArrow(canvas, 769, 387, true, false);
  PaintScrollArrow(canvas, 769, 478, false, false);
}

void WriteFrameButtons(Output& out) {
  for (const FrameButton& button : kFrameButtons) {
    WriteButtonFiles(out, button.normal, button.hover, button.down, button.width, button.height, button.caption,
                     FrameStyle(button), kWidgetFamily);
  }
  Canvas up(13, 13);
  PaintScrollArrow(up, 0, 0, true, true);
  out.Bmp("dupscrol.b", up, kWidgetFamily);
  Canvas down(13, 13);
  PaintScrollArrow(down, 0, 0, false, true);
  out.Bmp("ddownscr.b", down, kWidgetFamily);
}

// A chip seen from a little above: its top face over `thickness` pixels of edge, with stripes
// round the edge and an inlay on top. Drawn soft-edged over whatever is there.
void PaintChip(Canvas& canvas, double cx, double top, double rx, double ry, double thickness, Rgb colour,
               Rgb stripe, const std::string& value) {
  const double face_y = top + ry;
  const Rgb edge = Shade(colour, -0.35);
  canvas.Ellipse(cx, face_y + thickness, rx, ry, Shade(edge, -0.3));
  canvas.Fill({static_cast<int32_t>(std::ceil(cx - rx)), static_cast<int32_t>(face_y),
               static_cast<int32_t>(std::floor(cx + rx)), static_cast<int32_t>(face_y + thickness + 1)},
              edge);
  // Stripes on the edge where the inlays show.
  for (int i = -2; i <= 2; ++i) {
    const double x = cx + i * rx * 0.42;
    canvas.Fill({static_cast<int32_t>(x - 1), static_cast<int32_t>(face_y + 1), static_cast<int32_t>(x + 1),
                 static_cast<int32_t>(face_y + thickness + ry * 0.5)},
                Shade(stripe, -0.1));
  }
  canvas.Ellipse(cx, face_y, rx, ry, colour);
  canvas.EllipseRing(cx, face_y, rx * 0.86, ry * 0.86, std::max(1.0, rx * 0.12), stripe);
  canvas.Ellipse(cx, face_y, rx * 0.56, ry * 0.56, Shade(colour, 0.12));
  canvas.EllipseRing(cx, face_y, rx, ry, 1.0, Shade(colour, -0.45));
  if (!value.empty()) {
    const Rgb ink = (colour.r + colour.g + colour.b) > 450 ? Rgb{30, 30, 30} : Rgb{246, 246, 240};
    const int32_t size = std::min(static_cast<int32_t>(ry * 1.3), canvas.FitSize(value, 12, static_cast<int32_t>(rx * 1.2)));
    canvas.Text(value, {static_cast<int32_t>(cx - rx), static_cast<int32_t>(face_y - ry), static_cast<int32_t>(cx + rx),
                        static_cast<int32_t>(face_y + ry)},
                ink, size);
  }
}

struct ChipKind {
  Rgb colour;
  Rgb stripe;
};

// The table chips by value: a marker, 25 cents, $1, $5, $10, $25, $100, $500, $1,000, $5,000,
// $25,000, $100,000, $500,000, $2,000,000 and $10,000,000.
const ChipKind kChips[15] = {
    {{196, 198, 204}, {90, 92, 100}},   {{120, 190, 226}, {246, 246, 240}}, {{238, 236, 228}, {40, 80, 170}},
    {{198, 32, 38}, {246, 246, 240}},   {{36, 72, 186}, {246, 246, 240}},   {{24, 128, 62}, {246, 246, 240}},
    {{34, 34, 40}, {226, 190, 92}},     {{118, 52, 160}, {246, 246, 240}},  {{232, 190, 40}, {60, 40, 20}},
    {{206, 110, 40}, {246, 246, 240}},  {{230, 120, 170}, {246, 246, 240}}, {{20, 150, 150}, {246, 246, 240}},
    {{120, 22, 42}, {226, 190, 92}},    {{172, 176, 186}, {40, 40, 48}},    {{204, 160, 58}, {120, 22, 42}},
};

// A strip of keyed cells: each cell painted over the felt haze, then keyed outside its shape with
// no blending against the key.
template <typename PaintCell, typename Inside>
void WriteKeyedStrip(Output& out, const char* name, int32_t cells, int32_t cell_width, int32_t cell_height, Rgb key,
                     PaintCell paint, Inside inside, const char* family) {
  Canvas canvas(cells * cell_width, cell_height);
  canvas.Fill(canvas.Whole(), kFeltHaze);
  for (int32_t cell = 0; cell < cells; ++cell) paint(canvas, cell, cell * cell_width);
  canvas.AvoidKey(key, [](int32_t, int32_t) { return false; });
  canvas.KeyOutside([&](int32_t x, int32_t y) { return inside(x % cell_width, y, x / cell_width); }, key);
  out.Bmp(name, canvas, family);
}

// A chip's outline: top ellipse, edge and bottom ellipse.
bool InChip(int32_t x, int32_t y, double cx, double top, double rx, double ry, double thickness) {
  const double px = x + 0.5;
  const double py = y + 0.5;
  const double face_y = top + ry;
  return InEllipse(px, py, cx, face_y, rx, ry) || InEllipse(px, py, cx, face_y + thickness, rx, ry) ||
         (std::abs(px - cx) <= rx && py >= face_y && py <= face_y + thickness);
}

void WriteChips(Output& out) {
  // 15 cells of 20 x 19; chips stack one pixel right and three up.
  WriteKeyedStrip(
      out, "4001.b", 15, 20, 19, kKeyGreen,
      [](Canvas& canvas, int32_t cell, int32_t left) {
        PaintChip(canvas, left + 10, 1, 9, 5.5, 4, kChips[cell].colour, kChips[cell].stripe, "");
        if (cell == 0) canvas.Ellipse(left + 10, 6.5, 2, 1.4, Rgb{70, 72, 80});
      },
      [](int32_t x, int32_t y, int32_t) { return InChip(x, y, 10, 1, 9, 5.5, 4); }, kWidgetFamily);
}

// A seat plate: a framed plate with a plain middle where the program writes names and actions.
// The program keys only the outermost column at each side (the plate's inset of one pixel) and
// copies the rest as it is, so the plate fills every other pixel of its cell: only the rounding
// of the inner body shows.
void PaintPlate(Canvas& canvas, int32_t left, Rgb rim, Rgb body, const std::string& caption) {
  const Box plate{left + 1, 0, left + 90, 35};
  canvas.Fill(plate, Shade(rim, -0.55));
  canvas.Fill(plate.Inset(1, 1), rim);
  canvas.RoundBox(plate.Inset(3, 3), 4, body);
  if (!caption.empty()) canvas.ShadowText(caption, plate, Rgb{236, 236, 226}, 14);
}

bool InPlate(int32_t x, int32_t /*y*/) { return x >= 1 && x <= 89; }

void WriteSeatPlates(Output& out) {
  // Cells: open, open under the pointer, then (lit, dark) for a plain player, one the user keeps
  // notes on, a blocked one, and one with both.
  const Rgb players[4] = {{52, 62, 78}, {46, 78, 56}, {92, 40, 40}, {88, 62, 24}};
  WriteKeyedStrip(
      out, "4002.b", 10, 91, 35, kKeyRed,
      [&](Canvas& canvas, int32_t cell, int32_t left) {
        if (cell < 2) {
          PaintPlate(canvas, left, cell == 1 ? kGold : Rgb{110, 120, 114}, cell == 1 ? Rgb{44, 84, 60} : Rgb{30, 46, 40},
                     "Sit Here");
          return;
        }
        const Rgb body = players[(cell - 2) / 2];
        const bool lit = cell % 2 == 0;
        PaintPlate(canvas, left, lit ? kGold : Shade(body, -0.4), lit ? body : Shade(body, -0.35), "");
      },
      [](int32_t x, int32_t y, int32_t) { return InPlate(x, y); }, kWidgetFamily);
}

void WriteDealerButton(Output& out) {
  Canvas canvas(20, 20);
  canvas.Fill(canvas.Whole(), kFeltHaze);
  canvas.Ellipse(10, 11, 9, 8.5, Rgb{120, 120, 112});
  canvas.Ellipse(10, 10, 9, 8.5, Rgb{244, 242, 232});
  canvas.EllipseRing(10, 10, 9, 8.5, 1, Rgb{150, 150, 140});
  canvas.Text("D", {0, 1, 20, 19}, Rgb{30, 30, 30}, 14);
  canvas.AvoidKey(kKeyWhite, [](int32_t, int32_t) { return false; });
  canvas.KeyOutside([](int32_t x, int32_t y) { return InEllipse(x + 0.5, y + 0.5, 10, 10.5, 9, 9); }, kKeyWhite);
  out.Bmp("4700.b", canvas, kWidgetFamily);
}

// Four cells of 32 x 17 stacked: no link, then one to three bars of a good link.
void WriteLinkIcons(Output& out) {
  Canvas canvas(32, 68);
  for (int32_t quality = 0; quality < 4; ++quality) {
    const int32_t top = quality * 17;
    canvas.Fill({0, top, 32, top + 17}, Rgb{12, 16, 16});
    const Rgb lit = quality == 0 ? Rgb{200, 50, 40} : (quality == 1 ? Rgb{220, 170, 40} : Rgb{60, 190, 80});
    for (int32_t bar = 0; bar < 3; ++bar) {
      const int32_t height = 5 + bar * 4;
      canvas.Fill({6 + bar * 8, top + 15 - height, 12 + bar * 8, top + 15},
                  bar < quality ? lit : Rgb{64, 70, 70});
    }
    if (quality == 0) {
      for (int32_t i = 0; i < 9; ++i) {
        canvas.Set(20 + i, top + 4 + i, lit);
        canvas.Set(21 + i, top + 4 + i, lit);
        canvas.Set(28 - i, top + 4 + i, lit);
        canvas.Set(29 - i, top + 4 + i, lit);
      }
    }
  }
  out.Bmp8("goodnone.b", canvas, kWidgetFamily);
}

void WriteRefillButton(Output& out) {
  Canvas canvas(48, 48);
  ButtonStyle style;
  style.face = kFaceGreen;
  style.ground = Rgb{212, 208, 200};
  PaintButton(canvas, canvas.Whole(), Look::kNormal, "", style);
  PaintChip(canvas, 24, 5, 11, 6, 4, kChips[3].colour, kChips[3].stripe, "");
  canvas.ShadowText("Refill", {0, 22, 48, 35}, kWhiteText, 12);
  canvas.ShadowText("Play $", {0, 33, 48, 46}, kWhiteText, 11);
  out.Bmp("refillu.b", canvas, kWidgetFamily);
}

struct Table {
  const char* name;
  const char* title;
  Rgb felt;
};

const Table kTables[] = {
    {"10table.a", "Hold'em & Omaha", Rgb{26, 112, 60}},
    {"8table.a", "Seven Card Stud", Rgb{22, 104, 74}},
    {"gutstabl.a", "Guts", Rgb{40, 112, 48}},
    {"cpokertb.a", "Chinese Poker", Rgb{20, 98, 86}},
    {"b2table.a", "Big 2", Rgb{30, 100, 70}},
    {"pantable.a", "Pan", Rgb{48, 108, 50}},
};

}  // namespace

void PaintRoom(Canvas& canvas) {
  // Dark wood, lit from above.
  canvas.VerticalGradient(canvas.Whole(), Rgb{58, 38, 26}, Rgb{20, 13, 10});
  for (int32_t y = 0; y < canvas.Height(); y += 7) canvas.Fill({0, y, canvas.Width(), y + 1}, Rgb{34, 22, 16});
  canvas.Grain(canvas.Whole(), 4, 99);
}

void PaintConsoleAndFrame(Canvas& canvas) {
  canvas.VerticalGradient({0, 436, 800, 560}, Rgb{30, 34, 34}, Rgb{12, 14, 14});
  canvas.Fill({0, 436, 800, 437}, Rgb{90, 96, 92});
  canvas.VerticalGradient({340, 0, 800, 34}, Rgb{24, 28, 30}, Rgb{10, 12, 12});
  canvas.Fill({340, 33, 800, 34}, Rgb{80, 86, 84});
  PaintTableFrame(canvas);
}

void PaintTableBackground(Canvas& canvas, const char* game_title, Rgb felt) {
  PaintRoom(canvas);
  // The table: a padded rail round the felt, with a betting line.
  const double cx = 400, cy = 222;
  canvas.Ellipse(cx, cy + 6, 384, 200, Rgb{10, 8, 6}, 0.6);
  canvas.Ellipse(cx, cy, 380, 196, Rgb{74, 40, 24});
  canvas.EllipseRing(cx, cy, 372, 188, 3, Rgb{112, 66, 40});
  canvas.Ellipse(cx, cy, 344, 162, Shade(felt, -0.35));
  canvas.Ellipse(cx, cy, 340, 158, felt);
  // A lamp over the middle: the cloth darkens towards the rail.
  for (int32_t y = 64; y < 381; ++y) {
    for (int32_t x = 60; x < 741; ++x) {
      const double u = (x + 0.5 - cx) / 340;
      const double v = (y + 0.5 - cy) / 158;
      const double reach = u * u + v * v;
      if (reach < 1.0) canvas.Set(x, y, Shade(canvas.Get(x, y), -0.42 * reach));
    }
  }
  canvas.EllipseRing(cx, cy, 292, 122, 1.5, Shade(felt, 0.22));
  // The game's name on the cloth.
  canvas.Text(game_title, {160, 178, 640, 222}, Shade(felt, 0.22), 34);
  canvas.Text("TARVIK POKER", {160, 222, 640, 246}, Shade(felt, 0.14), 16);
  PaintConsoleAndFrame(canvas);
}

void WriteTableWidgetArt(Output& out) {
  WriteChips(out);
  WriteSeatPlates(out);
  WriteDealerButton(out);
  WriteFrameButtons(out);
  WriteLinkIcons(out);
  WriteRefillButton(out);
}

void WriteTableBackgrounds(Output& out) {
  for (const Table& table : kTables) {
    Canvas canvas(800, 560);
    PaintTableBackground(canvas, table.title, table.felt);
    out.Jpeg(table.name, canvas, kBackgroundFamily);
  }
}

}  // namespace art
