// The lobby: its background, buttons, list headings, navigation tree, game tiles, link strip,
// corner animations, splash and small windows, and the program icon.
#include <algorithm>
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

// A small card for tiles and splash: white, rounded, its rank and suit.
void PaintMiniCard(Canvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height, const char* rank, int suit) {
  canvas.RoundBox({x + 1, y + 2, x + width + 1, y + height + 2}, 3, Rgb{0, 0, 0}, 0.35);
  canvas.RoundBox({x, y, x + width, y + height}, 3, Rgb{150, 150, 146});
  canvas.RoundBox({x + 1, y + 1, x + width - 1, y + height - 1}, 2.5, Rgb{250, 250, 246});
  const Rgb ink = SuitColour(suit, false);
  const int32_t size = std::max(9, height * 2 / 5);
  canvas.Text(rank, {x + 2, y + 1, x + width - 2, y + 1 + size}, ink, size, kLeft);
  DrawSuit(canvas, suit, x + width * 0.6, y + height * 0.64, height * 0.42, ink);
}

void PaintChipStack(Canvas& canvas, double cx, double bottom, int count, Rgb colour) {
  for (int i = 0; i < count; ++i) {
    const double top = bottom - 10 - i * 3;
    canvas.Ellipse(cx, top + 7, 9, 4, Shade(colour, -0.45));
    canvas.Ellipse(cx, top + 4, 9, 4, colour);
    canvas.EllipseRing(cx, top + 4, 6.5, 2.8, 1, Rgb{246, 246, 240});
  }
}

// The lobby background: title where the (empty) banners would be, panels under the places the
// lobby fills, and the main-lobby button's resting look.
void WriteLobbyBackground(Output& out) {
  Canvas canvas(800, 516);
  canvas.VerticalGradient(canvas.Whole(), Rgb{22, 70, 44}, Rgb{10, 36, 24});
  canvas.Grain(canvas.Whole(), 3, 5);
  // Title band.
  canvas.VerticalGradient({0, 0, 800, 94}, Rgb{16, 30, 24}, Rgb{24, 58, 38});
  canvas.Fill({0, 92, 800, 94}, kGold);
  for (int suit = 0; suit < 4; ++suit) {
    DrawSuit(canvas, suit, 60 + suit * 34, 46, 24, suit == kHearts || suit == kDiamonds ? Rgb{200, 50, 50} : Rgb{220, 220, 210});
    DrawSuit(canvas, 3 - suit, 638 + suit * 34, 46, 24,
             3 - suit == kHearts || 3 - suit == kDiamonds ? Rgb{200, 50, 50} : Rgb{220, 220, 210});
  }
  canvas.ShadowText("TARVIK POKER", {200, 10, 600, 60}, kGold, 40);
  canvas.Text("Card Room  -  Hold'em  Omaha  Stud  Guts  Big 2  Chinese Poker  Pan  Black Jack", {150, 58, 650, 82},
              Rgb{190, 210, 196}, 13, kCentre, false);
  // Scroll-banner strip.
  canvas.Fill({0, 94, 800, 110}, Rgb{8, 12, 10});
  // Navigation panel, list, information panel, buttons column.
  const Rgb panel{12, 22, 18};
  canvas.RoundBox({4, 111, 230, 407}, 6, panel, 0.85);
  canvas.Frame({6, 113, 228, 405}, kPanelEdge);
  canvas.RoundBox({239, 117, 637, 405}, 6, panel, 0.85);
  canvas.Fill({243, 121, 632, 145}, Rgb{30, 44, 58});
  canvas.Fill({243, 145, 632, 400}, Rgb{246, 246, 240});
  canvas.Frame({242, 144, 633, 401}, kPanelEdge);
  canvas.RoundBox({645, 114, 792, 404}, 6, panel, 0.85);
  canvas.Fill({650, 119, 787, 349}, Rgb{14, 26, 22});
  canvas.Frame({649, 118, 788, 350}, kPanelEdge);
  // Hot-pick tiles' frames, the counters, the link strip and the corner strip.
  for (int32_t i = 0; i < 4; ++i) {
    canvas.Fill({242 + 99 * i, 411, 342 + 99 * i, 511}, Rgb{8, 14, 12});
    canvas.Frame({242 + 99 * i, 411, 342 + 99 * i, 511}, kPanelEdge);
  }
  ButtonStyle main_lobby;
  main_lobby.face = kMainLobbyFace;
  main_lobby.ground = Rgb{10, 36, 24};
  PaintButton(canvas, {296, 463, 467, 491}, Look::kNormal, "Main Lobby", main_lobby);
  canvas.Fill({158, 439, 221, 475}, Rgb{32, 32, 32});
  canvas.Frame({157, 438, 222, 476}, kPanelEdge);
  canvas.Text("Players", {8, 439, 154, 457}, Rgb{200, 214, 204}, 12, kRight);
  canvas.Text("Tables", {8, 457, 154, 475}, Rgb{200, 214, 204}, 12, kRight);
  canvas.Fill({10, 481, 226, 511}, Rgb{8, 12, 10});
  canvas.Fill({647, 407, 795, 516}, Rgb{8, 12, 10});
  out.Jpeg("sublobby.a", canvas, kFamily);
}

// One tile per game type, stacked: the game's cards on a felt disc, its name on top; the middle
// band stays dark for the table label the lobby writes there.
void WriteHotPicks(Output& out) {
  struct Tile {
    const char* title;
    Rgb felt;
    const char* ranks[3];
    int suits[3];
  };
  const Tile tiles[8] = {
      {"PAN", Rgb{48, 108, 50}, {"K", "Q", "J"}, {kSpades, kSpades, kSpades}},
      {"HOLD'EM", Rgb{26, 112, 60}, {"A", "A", ""}, {kSpades, kHearts, 0}},
      {"GUTS", Rgb{40, 112, 48}, {"Q", "Q", ""}, {kClubs, kDiamonds, 0}},
      {"BIG 2", Rgb{30, 100, 70}, {"2", "2", ""}, {kSpades, kHearts, 0}},
      {"CHINESE", Rgb{20, 98, 86}, {"A", "K", "Q"}, {kHearts, kHearts, kHearts}},
      {"BLACK JACK", Rgb{18, 100, 54}, {"A", "K", ""}, {kSpades, kDiamonds, 0}},
      {"7 STUD", Rgb{22, 104, 74}, {"7", "7", "7"}, {kClubs, kHearts, kSpades}},
      {"OMAHA", Rgb{36, 96, 64}, {"A", "K", "Q"}, {kDiamonds, kClubs, kHearts}},
  };
  Canvas canvas(96, 96 * 8);
  for (int32_t g = 0; g < 8; ++g) {
    const Tile& tile = tiles[g];
    const int32_t top = g * 96;
    canvas.VerticalGradient({0, top, 96, top + 96}, Shade(tile.felt, 0.1), Shade(tile.felt, -0.45));
    canvas.Ellipse(48, top + 56, 44, 34, Shade(tile.felt, 0.12));
    canvas.EllipseRing(48, top + 56, 44, 34, 2, Rgb{90, 56, 32});
    canvas.Frame({0, top, 96, top + 96}, kGold);
    canvas.ShadowText(tile.title, {2, top + 3, 94, top + 20}, kGold, canvas.FitSize(tile.title, 14, 90));
    canvas.Fill({1, top + 43, 95, top + 70}, Rgb{10, 20, 16});
    int cards = tile.ranks[2][0] != '\0' ? 3 : 2;
    for (int i = 0; i < cards; ++i) {
      const int32_t x = 48 - cards * 11 + i * 22;
      PaintMiniCard(canvas, x, top + 22, 20, 20, tile.ranks[i], tile.suits[i]);
    }
    PaintChipStack(canvas, 22, top + 92, 3, Rgb{198, 32, 38});
    PaintChipStack(canvas, 74, top + 92, 2, Rgb{36, 72, 186});
  }
  out.Jpeg("hotpicks.a", canvas, kFamily);
}

void WriteSplash(Output& out) {
  Canvas canvas(320, 320);
  canvas.VerticalGradient(canvas.Whole(), Rgb{24, 84, 50}, Rgb{8, 28, 18});
  canvas.Ellipse(160, 120, 150, 100, Rgb{30, 104, 60}, 0.6);
  canvas.Frame(canvas.Whole(), kGold);
  canvas.Frame(canvas.Whole().Inset(3, 3), Rgb{90, 70, 30});
  PaintMiniCard(canvas, 104, 44, 40, 56, "A", kSpades);
  PaintMiniCard(canvas, 140, 38, 40, 56, "K", kHearts);
  PaintMiniCard(canvas, 176, 44, 40, 56, "Q", kDiamonds);
  PaintChipStack(canvas, 86, 110, 4, Rgb{198, 32, 38});
  PaintChipStack(canvas, 236, 110, 3, Rgb{34, 34, 40});
  canvas.ShadowText("TARVIK", {0, 116, 320, 160}, kGold, 42);
  canvas.ShadowText("POKER", {0, 158, 320, 188}, Rgb{236, 236, 226}, 26);
  // The status line and the button sit on a plain dark band.
  canvas.Fill({12, 222, 308, 312}, Rgb{10, 20, 14});
  canvas.Frame({12, 222, 308, 312}, Rgb{60, 90, 70});
  out.Jpeg("splash.a", canvas, kFamily);
}

void WriteStatsBackground(Output& out) {
  Canvas canvas(300, 232);
  canvas.VerticalGradient(canvas.Whole(), Rgb{20, 48, 34}, Rgb{10, 24, 18});
  DrawSuit(canvas, kSpades, 240, 170, 90, Rgb{26, 58, 42});
  canvas.Frame(canvas.Whole(), kPanelEdge);
  canvas.Fill({0, 0, 300, 3}, kGold);
  out.Jpeg("statswin.a", canvas, kFamily);
}

void WriteBirthday(Output& out) {
  Canvas canvas(320, 240);
  canvas.VerticalGradient(canvas.Whole(), Rgb{250, 244, 226}, Rgb{240, 228, 200});
  const Rgb balloons[3] = {{210, 50, 60}, {50, 110, 200}, {230, 180, 40}};
  for (int i = 0; i < 3; ++i) {
    const double x = 16 + i * 18;
    canvas.Line(static_cast<int32_t>(x), 44, static_cast<int32_t>(x + 6), 78, Rgb{120, 110, 100});
    canvas.Ellipse(x, 30 + (i % 2) * 6, 9, 12, balloons[i]);
    canvas.Line(static_cast<int32_t>(304 - i * 18), 44, static_cast<int32_t>(298 - i * 18), 78, Rgb{120, 110, 100});
    canvas.Ellipse(304 - i * 18, 30 + (i % 2) * 6, 9, 12, balloons[2 - i]);
  }
  canvas.ShadowText("Happy Birthday!", {64, 10, 256, 56}, Rgb{200, 40, 60}, 24);
  canvas.Text("from all of us at the card room", {80, 52, 240, 72}, Rgb{90, 80, 70}, 12, kCentre, false);
  canvas.Fill({20, 78, 300, 80}, Rgb{200, 170, 90});
  out.Jpeg("birthday.a", canvas, kFamily);
}

// Seven frames of 144 x 106 stacked: a gleam runs across the caption; the hover strips are
// brighter with a gold rim.
void WriteCornerStrip(Output& out, const char* name, const char* caption, const char* line2, Rgb face, bool hover) {
  Canvas canvas(144, 742);
  for (int32_t frame = 0; frame < 7; ++frame) {
    const int32_t top = frame * 106;
    const Box box{0, top, 144, top + 106};
    const Rgb base = hover ? Shade(face, 0.18) : face;
    canvas.VerticalGradient(box, Shade(base, 0.25), Shade(base, -0.35));
    const int32_t gleam = -40 + frame * 36;
    for (int32_t y = top; y < top + 106; ++y) {
      for (int32_t x = 0; x < 144; ++x) {
        const int32_t d = x + (y - top) / 2 - gleam;
        if (d >= 0 && d < 18) canvas.Blend(x, y, Rgb{255, 255, 255}, 0.18 * (1 - std::abs(d - 9) / 9.0));
      }
    }
    canvas.Frame(box, hover ? kGold : Shade(face, -0.5));
    canvas.Frame(box.Inset(1, 1), hover ? Rgb{255, 230, 150} : Shade(face, 0.2));
    canvas.ShadowText(caption, {4, top + 26, 140, top + 62}, hover ? Rgb{255, 246, 210} : kWhiteText, 26);
    canvas.Text(line2, {4, top + 64, 140, top + 84}, Rgb{230, 230, 220}, 12, kCentre, false);
  }
  out.Jpeg(name, canvas, kFamily);
}

}  // namespace

void WriteLobbyArt(Output& out) {
  WriteLobbyBackground(out);
  WriteHotPicks(out);
  WriteSplash(out);
  WriteStatsBackground(out);
  WriteBirthday(out);
  WriteCornerStrip(out, "msignin.a", "SIGN IN", "to play for real", kFaceGreen, false);
  WriteCornerStrip(out, "msignino.a", "SIGN IN", "to play for real", kFaceGreen, true);
  WriteCornerStrip(out, "mcashier.a", "CASHIER", "deposit and withdraw", kFaceAmber, false);
  WriteCornerStrip(out, "mcasho.a", "CASHIER", "deposit and withdraw", kFaceAmber, true);
  WriteCornerStrip(out, "mhelp.a", "HELP", "how to play", kFaceBlue, false);
  WriteCornerStrip(out, "mhelpo.a", "HELP", "how to play", kFaceBlue, true);
  WriteButtons(out);
  WriteTree(out);
  WriteLinkStrip(out);
  WriteIcon(out);
}

}  // namespace art
