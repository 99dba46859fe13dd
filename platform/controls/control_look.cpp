#include "platform/controls/control_look.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace platform::look {

namespace {

// A context for measuring text; it lives as long as the program.
HDC MeasuringDC() {
  static const HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

}  // namespace

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
COLORREF Text() { return GetSysColor(COLOR_BTNTEXT); }
COLORREF GreyText() { return GetSysColor(COLOR_GRAYTEXT); }
COLORREF Field() { return GetSysColor(COLOR_WINDOW); }
COLORREF Highlight() { return GetSysColor(COLOR_HIGHLIGHT); }
COLORREF HighlightText() { return GetSysColor(COLOR_HIGHLIGHTTEXT); }
COLORREF Light() { return GetSysColor(COLOR_BTNHIGHLIGHT); }
COLORREF Shadow() { return GetSysColor(COLOR_BTNSHADOW); }
COLORREF DarkShadow() { return GetSysColor(COLOR_3DDKSHADOW); }
COLORREF Track() { return RGB(224, 224, 224); }

int RowHeight(HFONT font) { return Measure(font, "Xg").cy + 3; }

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Ring(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
  Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, top_left);
  Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
  Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

RECT RaisedEdge(HDC dc, const RECT& r) {
  Ring(dc, r, Light(), DarkShadow());
  const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  Ring(dc, inner, Face(), Shadow());
  return RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

RECT SunkenEdge(HDC dc, const RECT& r) {
  Ring(dc, r, Shadow(), Light());
  const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  Ring(dc, inner, DarkShadow(), Face());
  return RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

RECT PushedEdge(HDC dc, const RECT& r) {
  Ring(dc, r, DarkShadow(), DarkShadow());
  const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  Ring(dc, inner, Shadow(), Shadow());
  return RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

void FocusMark(HDC dc, const RECT& r) {
  if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
  const HBRUSH brush = CreateSolidBrush(Text());
  // Every other pixel along the ring, counted around it so the corners join up.
  for (int x = r.left; x < r.right; x += 2) {
    RECT top{x, r.top, x + 1, r.top + 1};
    RECT bottom{x, r.bottom - 1, x + 1, r.bottom};
    FillRect(dc, &top, brush);
    FillRect(dc, &bottom, brush);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    RECT left{r.left, y, r.left + 1, y + 1};
    RECT right{r.right - 1, y, r.right, y + 1};
    FillRect(dc, &left, brush);
    FillRect(dc, &right, brush);
  }
  DeleteObject(brush);
}

void Label(HDC dc, HFONT font, std::string_view text, RECT rect, uint32_t format, COLORREF colour) {
  if (text.empty()) return;
  const HFONT old_font = SelectObject(dc, font);
  const int32_t old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, colour);
  DrawText(dc, text.data(), static_cast<int32_t>(text.size()), &rect, format | DT_NOPREFIX);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
}

SIZE Measure(HFONT font, std::string_view text) {
  const HDC dc = MeasuringDC();
  const HFONT old_font = SelectObject(dc, font);
  SIZE size{0, 0};
  GetTextExtentPoint32(dc, text.data(), static_cast<int32_t>(text.size()), &size);
  SelectObject(dc, old_font);
  return size;
}

void Disc(HDC dc, int left, int top, int diameter, COLORREF colour) {
  const double radius = diameter / 2.0;
  for (int row = 0; row < diameter; ++row) {
    const double dy = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    const int from = static_cast<int>(std::lround(radius - half));
    const int to = static_cast<int>(std::lround(radius + half));
    if (to > from) Fill(dc, RECT{left + from, top + row, left + to, top + row + 1}, colour);
  }
}

void Tick(HDC dc, const RECT& rect, COLORREF colour) {
  // A seven-pixel-wide tick, three pixels thick: down two steps to the right, then up four.
  const int left = (rect.left + rect.right) / 2 - 3;
  const int top = (rect.top + rect.bottom) / 2 - 3;
  static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int column = 0; column < 7; ++column) {
    const int y = top + kRise[column];
    Fill(dc, RECT{left + column, y, left + column + 1, y + 3}, colour);
  }
}

void Arrow(HDC dc, const RECT& rect, Direction direction, COLORREF colour) {
  const int size = std::max(2, std::min(rect.right - rect.left, rect.bottom - rect.top) / 4);
  const int centre_x = (rect.left + rect.right) / 2;
  const int centre_y = (rect.top + rect.bottom) / 2;
  for (int step = 0; step < size; ++step) {
    switch (direction) {
      case Direction::kUp: {
        const int y = centre_y - size / 2 + step;
        Fill(dc, RECT{centre_x - step, y, centre_x + step + 1, y + 1}, colour);
        break;
      }
      case Direction::kDown: {
        const int y = centre_y - size / 2 + step;
        const int half = size - 1 - step;
        Fill(dc, RECT{centre_x - half, y, centre_x + half + 1, y + 1}, colour);
        break;
      }
      case Direction::kRight: {
        const int x = centre_x - size / 2 + step;
        const int half = size - 1 - step;
        Fill(dc, RECT{x, centre_y - half, x + 1, centre_y + half + 1}, colour);
        break;
      }
    }
  }
}

HFONT DefaultFont() {
  static const HFONT font =
      CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "MS Sans Serif");
  return font;
}

}  // namespace platform::look
