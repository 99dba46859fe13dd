// The one look of every control, dialog and menu: the system grey face, dark text, white fields,
// two-pixel raised and sunken edges, and a dotted focus mark. Everything is drawn with the drawing
// layer, so the SDL2 and headless backends show the same pixels.
//
// UI thread only.
#pragma once

#include <string_view>

#include "platform/draw/gdi.h"
#include "platform/text/text.h"

namespace platform::look {

COLORREF Face();         // control and dialog background
COLORREF Text();         // labels and field text
COLORREF GreyText();     // disabled labels
COLORREF Field();        // the inside of edits and lists
COLORREF Highlight();    // selected rows and menu items
COLORREF HighlightText();
COLORREF Light();        // the lit edge
COLORREF Shadow();       // the shaded edge
COLORREF DarkShadow();   // the outer shaded edge
COLORREF Track();        // the trough of a scroll bar

// Height of a menu band row and of a list row for the font, in pixels.
int RowHeight(HFONT font);

void Fill(HDC dc, const RECT& rect, COLORREF colour);
// A one-pixel ring: the top and left sides in one colour, the bottom and right in the other.
void Ring(HDC dc, const RECT& rect, COLORREF top_left, COLORREF bottom_right);
// Two-pixel edges; each returns the rectangle inside them.
RECT RaisedEdge(HDC dc, const RECT& rect);
RECT SunkenEdge(HDC dc, const RECT& rect);
// The edge of a push button held down: a dark ring and a shadow ring.
RECT PushedEdge(HDC dc, const RECT& rect);
// A dotted one-pixel ring in the text colour.
void FocusMark(HDC dc, const RECT& rect);

// Draws text in the font and colour (transparent background) with DrawText's format.
void Label(HDC dc, HFONT font, std::string_view text, RECT rect, uint32_t format, COLORREF colour);
// Size of the text on one line in the font.
SIZE Measure(HFONT font, std::string_view text);

// A filled disc inside the square that begins at (left, top).
void Disc(HDC dc, int left, int top, int diameter, COLORREF colour);
// A check mark centred in the rectangle.
void Tick(HDC dc, const RECT& rect, COLORREF colour);
enum class Direction { kUp, kDown, kRight };
// A small filled arrow head centred in the rectangle.
void Arrow(HDC dc, const RECT& rect, Direction direction, COLORREF colour);

// The font controls use until they are given one (WM_SETFONT): an 8-point sans serif. Shared,
// never deleted.
HFONT DefaultFont();

}  // namespace platform::look
