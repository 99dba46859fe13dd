// The lobby: its background, buttons, list headings, navigation tree, game tiles, link strip,
// corner animations, splash and small windows, and the program icon.
#include <cmath>
#include <string>

#include "tools/placeholder-art/art_buttons.h"
#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kFamily = "lobby";
constexpr const char* kButtonFamily = "lobby-buttons";
constexpr Rgb kLobbyDark{18, 24, 30};
constexpr Rgb kPanel{26, 40, 36};
constexpr Rgb kPanelEdge{88, 120, 96};

struct LobbyButton {
  const char* normal;  // null: no normal picture, the lobby background shows its resting look
  const char* hover;
  const char* down;
  const char* caption;
  int32_t width;
  int32_t height;
  Rgb face;
};

const LobbyButton kLobbyButtons[] = {
    {"mjoinb.b", "mjoino.b", "mjoind.b", "Join Table", 133, 22, kFaceGreen},
    {"bjoinwai.b", "ojoinwai.b", "djoinwai.b", "Join Waiting List", 133, 22, Rgb{30, 108, 112}},
    {"bleavewa.b", "oleavewa.b", "dleavewa.b", "Leave Waiting List", 133, 22, Rgb{128, 86, 30}},
    {nullptr, "omainlob.b", "dmainlob.b", "Main Lobby", 171, 28, kFaceSlate},
    {"mgotrnb.b", "mgotrno.b", "mgotrnd.b", "Go To Tournament", 133, 22, kFaceBlue},
    {"msignupb.b", "msignupo.b", "msignupd.b", "Sign Up", 133, 43, kFaceRed},
    {"hviewtb.b", "hviewto.b", "hviewtd.b", "View Table", 71, 24, kFaceSlate},
    {"hjoinsb.b", "hjoinso.b", "hjoinsd.b", "Join", 71, 24, kFaceGreen},
};
constexpr Rgb kMainLobbyFace = kFaceSlate;

struct Heading {
  const char* stem;
  const char* caption;
  int32_t width;
};

const Heading kHeadings[] = {
    {"s_tabl", "Table", 107},    {"s_stak", "Stakes", 60},   {"s_gtbl", "Table", 142},
    {"s_lmit", "Limit", 45},     {"s_plrs", "Plrs", 49},     {"s_wait", "Wait", 34},
    {"s_avpt", "Avg Pot", 55},   {"s_flop", "Flop", 39},     {"s_mnbt", "Min Bet", 69},
    {"s_type", "Type", 60},      {"s_dlpt", "Pot", 70},      {"s_avwn", "Avg Win", 55},
    {"s_dlkd", "Dealt", 70},     {"s_mxbt", "Max Bet", 69},  {"s_enrl", "Enr", 29},
    {"s_ttbl", "Tournament", 94}, {"s_ttyp", "Type", 45},    {"s_byin", "Buy-In", 67},
    {"s_tres", "Starts", 58},    {"s_stat", "Status", 43},   {"s_tid", "ID", 51},
};
constexpr int32_t kHeadingHeight = 24;

// A list heading: flat, with a sort arrow on the sorted pictures (down: largest first, up:
// smallest first).
void WriteHeading(Output& out, const Heading& heading) {
  const struct {
    const char* suffix;
    Look look;
    int arrow;  // 0 none, 1 down, -1 up
  } files[] = {{"b.b", Look::kNormal, 0}, {"o.b", Look::kHover, 0}, {"da.b", Look::kDown, 1}, {"dd.b", Look::kDown, -1}};
  for (const auto& file : files) {
    Canvas canvas(heading.width, kHeadingHeight);
    const Rgb face = file.look == Look::kHover ? Rgb{66, 92, 120} : (file.arrow != 0 ? Rgb{34, 74, 60} : Rgb{46, 64, 86});
    canvas.VerticalGradient(canvas.Whole(), Shade(face, 0.2), Shade(face, -0.25));
    canvas.Bevel(canvas.Whole(), Shade(face, 0.45), Shade(face, -0.6));
    Box text_box = canvas.Whole().Inset(2, 1);
    if (file.arrow != 0) {
      text_box.right -= 8;
      const int32_t x = heading.width - 7;
      const int32_t middle = kHeadingHeight / 2;
      for (int32_t row = 0; row < 4; ++row) {
        const int32_t y = file.arrow > 0 ? middle - 2 + row : middle + 1 - row;
        canvas.Line(x - (3 - row), y, x + (3 - row), y, kGold);
      }
    }
    canvas.ShadowText(heading.caption, text_box, kWhiteText, canvas.FitSize(heading.caption, 13, text_box.Width()));
    out.Bmp(std::string(heading.stem) + file.suffix, canvas, kButtonFamily);
  }
}

struct TreeRow {
  const char* stem;  // the file names are stem + "b.b", "o.b", "d.b"
  const char* caption;
  int level;  // 0 root, 1 group, 2 leaf
};

const TreeRow kTree[] = {
    {"mreal", "Real Money", 0},
    {"mdemo", "Play Money", 0},
    {"mholdem", "Hold'em", 1},
    {"mmorepo", "More Poker", 1},
    {"mpan", "Pan", 1},
    {"mcasino", "Casino", 1},
    {"mlimit", "Limit", 2},
    {"mnolmt", "No Limit", 2},
    {"manncto", "Announced Tournaments", 2},
    {"mregtou", "Regular Tournaments", 2},
    {"mruntou", "Running Tournaments", 2},
    {"mcompto", "Completed Tournaments", 2},
    {"momaha", "Omaha", 2},
    {"m7card", "7 Card Stud", 2},
    {"mguts", "Guts", 2},
    {"mcpoker", "Chinese Poker", 2},
    {"mbig2", "Big 2", 2},
    {"mring", "Ring Games", 2},
    {"mblackj", "Black Jack", 2},
};

// A row of the navigation tree: roots are broad bars, groups carry a folder mark, leaves a dot.
void PaintTreeRow(Canvas& canvas, int level, Look look, const std::string& caption) {
  const Rgb faces[] = {Rgb{28, 90, 56}, Rgb{36, 62, 84}, Rgb{30, 40, 46}};
  Rgb face = faces[level];
  if (look == Look::kHover) face = Shade(face, 0.2);
  if (look == Look::kDown) face = Mix(face, Rgb{150, 110, 30}, 0.45);
  canvas.VerticalGradient(canvas.Whole(), Shade(face, 0.15), Shade(face, -0.2));
  canvas.Bevel(canvas.Whole(), Shade(face, 0.4), Shade(face, -0.6), look == Look::kDown);
  const int32_t h = canvas.Height();
  int32_t text_left = 6;
  if (level == 1) {
    DrawSuit(canvas, look == Look::kDown ? kDiamonds : kSpades, 12, h / 2.0, 10,
             look == Look::kDown ? Rgb{240, 200, 90} : Rgb{210, 220, 226});
    text_left = 22;
  } else if (level == 2) {
    canvas.Ellipse(10, h / 2.0, 2.5, 2.5, look == Look::kDown ? kGold : Rgb{150, 170, 160});
    text_left = 18;
  }
  const Box text_box{text_left, 0, canvas.Width() - 3, h};
  const int32_t size = level == 0 ? 16 : (level == 1 ? 14 : 13);
  canvas.ShadowText(caption, text_box, look == Look::kHover ? Rgb{255, 244, 200} : kWhiteText,
                    canvas.FitSize(caption, size, text_box.Width()), kLeft);
}

void WriteTree(Output& out) {
  const int32_t widths[] = {220, 210, 199};
  const int32_t heights[] = {29, 28, 20};
  for (const TreeRow& row : kTree) {
    const struct {
      const char* suffix;
      Look look;
    } files[] = {{"b.b", Look::kNormal}, {"o.b", Look::kHover}, {"d.b", Look::kDown}};
    for (const auto& file : files) {
      Canvas canvas(widths[row.level], heights[row.level]);
      PaintTreeRow(canvas, row.level, file.look, row.caption);
      out.Bmp(std::string(row.stem) + file.suffix, canvas, "lobby-tree");
    }
  }
  // The play-money edition's separator: a plain bar.
  Canvas blank(220, 29);
  blank.VerticalGradient(blank.Whole(), Rgb{30, 40, 46}, Rgb{20, 28, 32});
  blank.Fill({8, 14, 212, 15}, Rgb{70, 90, 80});
  out.Bmp("mblank.b", blank, "lobby-tree");
}

void WriteButtons(Output& out) {
  for (const LobbyButton& button : kLobbyButtons) {
    ButtonStyle style;
    style.face = button.face;
    style.ground = kLobbyDark;
    WriteButtonFiles(out, button.normal, button.hover, button.down, button.width, button.height, button.caption, style,
                     kButtonFamily);
  }
  for (const Heading& heading : kHeadings) WriteHeading(out, heading);
  // The one-pixel picture the lobby's memory contexts are made from.
  Canvas one(1, 1);
  out.Bmp8("onept.b", one, kButtonFamily);
}

// Four rows of 212 x 26, from the best link at the top to none at the bottom.
void WriteLinkStrip(Output& out) {
  constexpr int32_t kWidth = 212;
  constexpr int32_t kRowHeight = 26;
  const struct {
    const char* caption;
    Rgb colour;
    int bars;
  } rows[] = {
      {"Connection: Good", Rgb{40, 170, 60}, 4},
      {"Connection: Fair", Rgb{200, 180, 40}, 3},
      {"Connection: Poor", Rgb{220, 120, 30}, 2},
      {"Connection: None", Rgb{190, 40, 40}, 0},
  };
  Canvas canvas(kWidth, kRowHeight * 4);
  for (int32_t row = 0; row < 4; ++row) {
    const int32_t top = row * kRowHeight;
    canvas.VerticalGradient({0, top, kWidth, top + kRowHeight}, Rgb{30, 40, 52}, Rgb{16, 22, 30});
    for (int bar = 0; bar < 4; ++bar) {
      const int32_t bar_height = 5 + bar * 5;
      canvas.Fill({8 + bar * 9, top + kRowHeight - 3 - bar_height, 15 + bar * 9, top + kRowHeight - 3},
                  bar < rows[row].bars ? rows[row].colour : Rgb{70, 76, 90});
    }
    canvas.Text(rows[row].caption, {50, top, kWidth - 4, top + kRowHeight}, Rgb{235, 235, 235}, 14);
  }
  out.Jpeg("connect.a", canvas, kFamily);
}

void WriteIcon(Output& out) {
  Canvas canvas(32, 32);
  canvas.Fill(canvas.Whole(), Rgb{16, 84, 44});
  canvas.Ellipse(16, 16, 15, 15, Rgb{22, 110, 58});
  canvas.EllipseRing(16, 16, 15, 15, 2, kGold);
  DrawSuit(canvas, kSpades, 16, 16, 18, Rgb{250, 250, 246});
  out.Icon("tarvik.ico", canvas);
}

}  // namespace

void WriteLobbyArt(Output& out) {
  WriteButtons(out);
  WriteTree(out);
  WriteLinkStrip(out);
  WriteIcon(out);
}

}  // namespace art
