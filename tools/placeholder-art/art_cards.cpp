// Card faces and backs. A sheet is 13 columns (ace, two .. ten, jack, queen, king) by 4 rows
// (clubs, diamonds, hearts, spades) of equal cells with no gaps. Every cell has its corners cut
// in steps (two pixels on the outermost rows, one on the next) and painted pure green, which the
// 56 x 78 sheets use as their sprite key; no other pixel of a sheet is pure green.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/placeholder-art/art_families.h"

namespace art {

namespace {

constexpr const char* kFamily = "cards";
constexpr Rgb kCardWhite{250, 250, 246};
constexpr Rgb kCardEdge{150, 150, 146};

const char* const kRanks[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

enum class Layout { kPips, kLargeIndex };

struct FaceStyle {
  bool four_colour;
  Layout layout;
};

// Whether (x, y) of a width x height card lies on the card rather than in a cut corner. `bevel`
// is how many rows at each end are stepped in (2: the outermost row by 2 pixels, the next by 1).
bool OnCard(int32_t x, int32_t y, int32_t width, int32_t height, int32_t bevel) {
  const int32_t from_end = std::min(y, height - 1 - y);
  if (from_end >= bevel) return true;
  const int32_t inset = bevel - from_end;
  return x >= inset && x < width - inset;
}

// The card's body over the cell, its corners in `corner`, with a thin grey edge.
void PaintBlank(Canvas& canvas, const Box& cell, Rgb body, Rgb edge, Rgb corner, int32_t bevel) {
  const int32_t width = cell.Width();
  const int32_t height = cell.Height();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (!OnCard(x, y, width, height, bevel)) {
        canvas.Set(cell.left + x, cell.top + y, corner);
        continue;
      }
      const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1 ||
                          !OnCard(x - 1, y, width, height, bevel) || !OnCard(x + 1, y, width, height, bevel) ||
                          !OnCard(x, y - 1, width, height, bevel) || !OnCard(x, y + 1, width, height, bevel);
      canvas.Set(cell.left + x, cell.top + y, border ? edge : body);
    }
  }
}

// Where the pips of a number card go, in the pip area's own 0..1 coordinates.
struct Pip {
  double x, y;
};
std::vector<Pip> PipLayout(int rank_index) {
  const double l = 0.0, c = 0.5, r = 1.0;
  switch (rank_index + 1) {
    case 2: return {{c, 0}, {c, 1}};
    case 3: return {{c, 0}, {c, 0.5}, {c, 1}};
    case 4: return {{l, 0}, {r, 0}, {l, 1}, {r, 1}};
    case 5: return {{l, 0}, {r, 0}, {c, 0.5}, {l, 1}, {r, 1}};
    case 6: return {{l, 0}, {r, 0}, {l, 0.5}, {r, 0.5}, {l, 1}, {r, 1}};
    case 7: return {{l, 0}, {r, 0}, {c, 0.25}, {l, 0.5}, {r, 0.5}, {l, 1}, {r, 1}};
    case 8: return {{l, 0}, {r, 0}, {c, 0.25}, {l, 0.5}, {r, 0.5}, {c, 0.75}, {l, 1}, {r, 1}};
    case 9:
      return {{l, 0}, {r, 0}, {l, 1.0 / 3}, {r, 1.0 / 3}, {c, 0.5}, {l, 2.0 / 3}, {r, 2.0 / 3}, {l, 1}, {r, 1}};
    default:
      return {{l, 0}, {r, 0}, {c, 1.0 / 6}, {l, 1.0 / 3}, {r, 1.0 / 3}, {l, 2.0 / 3}, {r, 2.0 / 3}, {c, 5.0 / 6},
              {l, 1}, {r, 1}};
  }
}

// The picture panel of a jack, queen or king: a framed, tinted panel with the letter, the suit
// and a crown or cap over the letter.
void PaintCourt(Canvas& canvas, const Box& cell, int rank_index, int suit, Rgb ink, double left_margin) {
  const int32_t w = cell.Width();
  const int32_t h = cell.Height();
  const Box panel{cell.left + static_cast<int32_t>(std::lround(w * left_margin)), cell.top + static_cast<int32_t>(h * 0.16),
                  cell.right - static_cast<int32_t>(std::lround(w * left_margin)), cell.bottom - static_cast<int32_t>(h * 0.16)};
  canvas.Fill(panel, Mix(ink, kCardWhite, 0.86));
  canvas.Frame(panel, kGold);
  canvas.Frame(panel.Inset(1, 1), Mix(kGold, kCardWhite, 0.5));
  const int32_t letter_size = static_cast<int32_t>(h * 0.3);
  const double cx = (panel.left + panel.right) / 2.0;
  const int32_t crown_top = panel.top + std::max(3, panel.Height() / 9);
  const int32_t crown_height = std::max(4, panel.Height() / 7);
  const double crown_half = panel.Width() * 0.28;
  const Rgb crown = rank_index == 10 ? Rgb{150, 96, 40} : Rgb{206, 160, 40};
  if (rank_index == 12) {  // king: three-pointed crown
    canvas.Shape({panel.left, crown_top - 1, panel.right, crown_top + crown_height + 1},
                 [&](double x, double y) {
                   if (y > crown_top + crown_height || std::abs(x - cx) > crown_half) return false;
                   const double t = std::fmod((x - (cx - crown_half)) / (crown_half * 2 / 3), 1.0);
                   const double peak = crown_top + crown_height * 0.55 * std::abs(t - 0.5) * 2;
                   return y >= peak;
                 },
                 crown);
  } else if (rank_index == 11) {  // queen: a round tiara
    canvas.Ellipse(cx, crown_top + crown_height * 0.7, crown_half * 0.9, crown_height * 0.7, crown);
    canvas.Ellipse(cx, crown_top + crown_height * 0.7, crown_half * 0.35, crown_height * 0.35, Rgb{190, 40, 60});
  } else {  // jack: a flat cap
    canvas.RoundBox({static_cast<int32_t>(cx - crown_half), crown_top + crown_height / 3,
                     static_cast<int32_t>(cx + crown_half), crown_top + crown_height + 1},
                    2, crown);
  }
  const int32_t letter_top = crown_top + crown_height + 1;
  canvas.Text(kRanks[rank_index], {panel.left, letter_top, panel.right, letter_top + letter_size}, ink, letter_size);
  const double suit_size = std::min(panel.Width() * 0.45, (panel.bottom - letter_top - letter_size) * 0.8);
  DrawSuit(canvas, suit, cx, letter_top + letter_size + (panel.bottom - letter_top - letter_size) / 2.0 - 1, suit_size,
           ink);
}

void PaintFace(Canvas& canvas, const Box& cell, int rank_index, int suit, const FaceStyle& style) {
  PaintBlank(canvas, cell, kCardWhite, kCardEdge, kKeyGreen, 2);
  const int32_t w = cell.Width();
  const int32_t h = cell.Height();
  const Rgb ink = SuitColour(suit, style.four_colour);
  const bool large = style.layout == Layout::kLargeIndex;
  // The index: rank with the suit under it, top left, and again bottom right.
  const int32_t index_width = static_cast<int32_t>(w * (large ? 0.34 : 0.25));
  const int32_t rank_size = static_cast<int32_t>(h * (large ? 0.25 : 0.2));
  const double small_suit = h * (large ? 0.15 : 0.11);
  const std::string rank = kRanks[rank_index];
  const int32_t fitted = canvas.FitSize(rank, rank_size, index_width + 1);
  const Box top_index{cell.left + 2, cell.top + 2, cell.left + 2 + index_width, cell.top + 2 + rank_size};
  canvas.Text(rank, top_index, ink, fitted);
  DrawSuit(canvas, suit, cell.left + 2 + index_width / 2.0, top_index.bottom + small_suit / 2 + 1, small_suit, ink);
  const Box bottom_index{cell.right - 2 - index_width, cell.bottom - 3 - rank_size, cell.right - 2, cell.bottom - 3};
  if (large) {
    DrawSuit(canvas, suit, cell.right - 2 - index_width / 2.0, cell.bottom - 4 - small_suit / 2, small_suit, ink);
  } else {
    canvas.Text(rank, bottom_index, ink, fitted);
    DrawSuit(canvas, suit, cell.right - 2 - index_width / 2.0, bottom_index.top - small_suit / 2 - 1, small_suit, ink);
  }

  const double cx = cell.left + w / 2.0;
  if (rank_index >= 10) {
    PaintCourt(canvas, cell, rank_index, suit, ink, large ? 0.3 : 0.26);
    return;
  }
  if (rank_index == 0 || large) {
    const double centre_y = cell.top + h * (large ? 0.56 : 0.5);
    DrawSuit(canvas, suit, cx + (large ? w * 0.08 : 0), centre_y, h * (rank_index == 0 ? 0.42 : 0.36), ink);
    return;
  }
  const double pip = h * 0.125;
  const double area_left = cell.left + w * 0.37;
  const double area_right = cell.right - w * 0.37;
  const double area_top = cell.top + h * 0.21;
  const double area_bottom = cell.bottom - h * 0.21;
  for (const Pip& at : PipLayout(rank_index)) {
    DrawSuit(canvas, suit, area_left + (area_right - area_left) * at.x, area_top + (area_bottom - area_top) * at.y, pip,
             ink);
  }
}

// A card back: red with a cream margin, a lattice and a gold medallion in the middle.
void PaintBack(Canvas& canvas, const Box& cell, Rgb corner, int32_t bevel) {
  PaintBlank(canvas, cell, kCardWhite, kCardEdge, corner, bevel);
  const int32_t w = cell.Width();
  const int32_t h = cell.Height();
  const int32_t margin = std::max(3, std::min(w, h) / 14);
  const Box field = cell.Inset(margin, margin);
  const Rgb red{150, 26, 38};
  const Rgb lattice{196, 70, 72};
  canvas.Fill(field, red);
  const int32_t step = std::max(5, std::min(w, h) / 8);
  for (int32_t y = field.top; y < field.bottom; ++y) {
    for (int32_t x = field.left; x < field.right; ++x) {
      const int32_t a = (x - field.left + y - field.top) % step;
      const int32_t b = (x - field.left - (y - field.top) + 1000 * step) % step;
      if (a == 0 || b == 0) canvas.Set(x, y, lattice);
    }
  }
  canvas.Frame(field, Rgb{110, 16, 28});
  if (h < 40) return;  // too small for the medallion
  const double cx = cell.left + w / 2.0;
  const double cy = cell.top + h / 2.0;
  canvas.Ellipse(cx, cy, w * 0.26, h * 0.17, Rgb{110, 16, 28});
  canvas.EllipseRing(cx, cy, w * 0.26, h * 0.17, 1.5, kGold);
  canvas.Text("T", {cell.left, static_cast<int32_t>(cy - h * 0.16), cell.right, static_cast<int32_t>(cy + h * 0.16)},
              kGold, std::max(10, static_cast<int32_t>(h * 0.24)));
}

void WriteSheet(Output& out, const char* name, int32_t cell_width, int32_t cell_height, const FaceStyle& style) {
  Canvas sheet(cell_width * 13, cell_height * 4);
  for (int suit = 0; suit < 4; ++suit) {
    for (int rank = 0; rank < 13; ++rank) {
      const Box cell{rank * cell_width, suit * cell_height, (rank + 1) * cell_width, (suit + 1) * cell_height};
      PaintFace(sheet, cell, rank, suit, style);
    }
  }
  // Anti-aliased edges never reach pure green, but make sure: the corners alone carry the key.
  sheet.AvoidKey(kKeyGreen, [&](int32_t x, int32_t y) {
    return !OnCard(x % cell_width, y % cell_height, cell_width, cell_height, 2);
  });
  out.Bmp(name, sheet, kFamily);
}

void WriteBack(Output& out, const char* name, int32_t width, int32_t height, Rgb corner, int32_t bevel) {
  Canvas back(width, height);
  PaintBack(back, back.Whole(), corner, bevel);
  back.AvoidKey(kKeyGreen, [&](int32_t x, int32_t y) { return !OnCard(x, y, width, height, bevel); });
  out.Bmp(name, back, kFamily);
}

}  // namespace

void WriteCardArt(Output& out) {
  // The faces the default options read first, then the four-colour ones.
  WriteSheet(out, "cardssml.b", 56, 78, {false, Layout::kPips});
  WriteSheet(out, "cardsn.b", 56, 78, {false, Layout::kLargeIndex});
  WriteBack(out, "cardbacs.b", 56, 78, kKeyGreen, 2);
  WriteSheet(out, "cardsbig.b", 72, 100, {false, Layout::kPips});
  WriteBack(out, "cardbacb.b", 72, 100, kKeyGreen, 2);
  WriteSheet(out, "cards.b", 48, 66, {false, Layout::kLargeIndex});
  WriteBack(out, "cardback.b", 48, 66, kKeyGreen, 2);
  WriteSheet(out, "cards4cs.b", 56, 78, {true, Layout::kPips});
  WriteSheet(out, "cardsn4c.b", 56, 78, {true, Layout::kLargeIndex});
  WriteSheet(out, "cards4cb.b", 72, 100, {true, Layout::kPips});
  WriteSheet(out, "cards4c.b", 48, 66, {true, Layout::kLargeIndex});
  // The poker painters' back (drawn with one-pixel corners, never keyed) and Big 2's back lying
  // on its side.
  // The poker tables' back is small: face-down hands rest beside the bet piles without covering
  // them or their labels, and cards that fly off the table's top edge leave no part on it.
  WriteBack(out, "4000.b", 16, 22, Rgb{18, 74, 40}, 1);
  WriteBack(out, "cardbarb.b", 100, 72, Rgb{18, 74, 40}, 2);
}

}  // namespace art
