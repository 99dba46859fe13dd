// Small helpers that every game table shares for its screen bookkeeping: a font description, the
// pile offsets of chip stacks, two rectangle operations of the dirty-rectangle redraw, and the
// test that tells which of a seat's chip stacks must be repainted. They keep no state.
//
// Rectangles here are inclusive of right and bottom; one with left >= right or top >= bottom is
// empty. UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi_types.h"
#include "platform/text/text.h"

class ChipStack;

// Fills `font` with the height, the weight and the face ("Arial" when none is given); every other
// field is 0 but the pitch and family, 2 (variable pitch).
void MakeFont(platform::LOGFONT* font, int32_t height, int32_t weight, const char* face_name);

// The offsets of the k piles of a k-pile layout, in drawing order (1 <= k <= 11; any other k
// writes nothing). Piles stand 20 pixels apart in one centred row up to 5 piles; from 6 on, the
// first piles form a back row 18 (even k) or 20 (odd k) pixels lower on the screen's y axis.
void ChipLayout_Offsets(int32_t pile_count, int32_t* x_offsets, int32_t* y_offsets);
constexpr int32_t kChipLayoutMaxPiles = 11;

// For k = 1 .. count fills x_tables[k - 1] and y_tables[k - 1] (each k entries long) with the
// k-pile offsets.
void ChipLayout_FillTable(int32_t count, int32_t* const* x_tables, int32_t* const* y_tables);

// True when the rectangles share a pixel or only touch at an edge or a corner.
bool Rect_Overlaps(const platform::RECT& a, const platform::RECT& b);

// Grows `a` to cover `b`. An empty `a` becomes a copy of `b` (even an empty one); an empty `b`
// leaves `a` alone.
void Rect_Union(platform::RECT* a, const platform::RECT& b);

// Of the four consecutive chip stacks of one seat, the first whose rectangle at its current
// position overlaps `dirty`, or failing that, for which the seat rectangle overlaps `dirty`;
// stacks without chips are skipped. -1 when none qualifies.
int32_t ChipStacks_TouchesRect(const ChipStack* stacks, const platform::RECT& seat, const platform::RECT& dirty);
