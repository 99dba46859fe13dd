#include "platform/text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"

namespace platform {
// For comparing and printing rectangles in expectations.
static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
[[maybe_unused]] static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
}  // namespace platform

using namespace platform;

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);

// A white picture with a selected font, as the program draws labels.
class TextPicture {
 public:
  TextPicture(int32_t width, int32_t height, const char* face, int32_t font_height, int32_t weight = FW_NORMAL)
      : surface_(width, height), dc_(CreateSurfaceDC(&surface_)) {
    font_ = CreateFont(font_height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, face);
    old_font_ = SelectObject(dc_, font_);
    Clear();
    SetBkMode(dc_, TRANSPARENT);
  }
  ~TextPicture() {
    SelectObject(dc_, old_font_);
    DeleteObject(font_);
    DeleteDC(dc_);
  }
  void Clear() {
    const RECT all{0, 0, surface_.width, surface_.height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // The smallest rectangle holding every pixel that is not paper; empty when there is none.
  RECT Ink() const {
    RECT box{surface_.width, surface_.height, 0, 0};
    for (int32_t y = 0; y < surface_.height; ++y) {
      for (int32_t x = 0; x < surface_.width; ++x) {
        const uint8_t* p = surface_.Row(y) + x * 3;  // read past any clip area
        if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
      }
    }
    return box;
  }
  SIZE Extent(const std::string& text) const {
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32(dc_, text.data(), static_cast<int32_t>(text.size()), &size));
    return size;
  }
  HDC dc() const { return dc_; }
  const Surface& surface() const { return surface_; }

 private:
  Surface surface_;
  HDC dc_;
  HFONT font_ = nullptr;
  HFONT old_font_ = nullptr;
};

TEST(Fonts, program_face_names_resolve_to_the_installed_families) {
  struct Case {
    const char* face;
    int32_t weight;
    const char* family;
  } const cases[] = {
      {"Arial", FW_NORMAL, "Liberation Sans"}, {"arial", FW_BOLD, "Liberation Sans"},
      {"MS Sans Serif", FW_NORMAL, "DejaVu Sans"}, {"MS Sans Serif", FW_BOLD, "DejaVu Sans"},
      {"", FW_NORMAL, "Liberation Sans"},
  };
  for (const Case& c : cases) {
    HFONT font = CreateFont(18, 0, 0, 0, c.weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, c.face);
    EXPECT_EQ(GetResolvedFontFamily(font), c.family) << '"' << c.face << "\" " << c.weight;
    LOGFONT back{};
    ASSERT_EQ(GetObject(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_STREQ(back.lfFaceName, c.face);
    EXPECT_EQ(back.lfWeight, c.weight);
    DeleteObject(font);
  }
}

TEST(Fonts, positive_height_is_the_cell_and_negative_height_the_em) {
  for (const char* face : {"Arial", "MS Sans Serif"}) {
    TextPicture cell(10, 10, face, 18);
    TEXTMETRIC m{};
    ASSERT_TRUE(GetTextMetrics(cell.dc(), &m));
    EXPECT_EQ(m.tmHeight, 18) << face;
    EXPECT_EQ(m.tmAscent + m.tmDescent, 18) << face;
    EXPECT_GT(m.tmInternalLeading, 0) << face;
    TextPicture em(10, 10, face, -16);
    ASSERT_TRUE(GetTextMetrics(em.dc(), &m));
    EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 16) << face;
    EXPECT_EQ(em.Extent("x").cy, m.tmHeight) << face;
  }
}

TEST(TextExtent, grows_with_the_string_and_adds_up_character_by_character) {
  TextPicture picture(10, 10, "Arial", 16);
  EXPECT_EQ(picture.Extent("").cx, 0);
  const std::string text = "Player One wins $12.50";
  int32_t previous = 0;
  for (size_t n = 1; n <= text.size(); ++n) {
    const int32_t width = picture.Extent(text.substr(0, n)).cx;
    EXPECT_GT(width, previous) << text.substr(0, n);
    EXPECT_EQ(width, previous + picture.Extent(text.substr(n - 1, 1)).cx) << text.substr(0, n);
    previous = width;
  }
  SIZE size{};
  EXPECT_FALSE(GetTextExtentPoint32(picture.dc(), "x", -1, &size));
}

TEST(DrawText, alignment_moves_the_ink_by_the_room_left_in_the_rectangle) {
  TextPicture picture(120, 40, "Arial", 18, FW_BOLD);
  const RECT box{10, 5, 110, 35};  // 100 x 30
  const SIZE extent = picture.Extent("Hi 42");
  RECT r = box;
  ASSERT_EQ(DrawText(picture.dc(), "Hi 42", -1, &r, DT_SINGLELINE), extent.cy);
  const RECT reference = picture.Ink();
  ASSERT_LT(reference.left, reference.right);
  const int32_t room_x = 100 - extent.cx;
  const int32_t room_y = 30 - extent.cy;
  struct Case {
    const char* name;
    uint32_t format;
    int32_t dx, dy;
    int32_t result;
  } const cases[] = {
      {"centre", DT_CENTER | DT_SINGLELINE, room_x / 2, 0, extent.cy},
      {"right", DT_RIGHT | DT_SINGLELINE, room_x, 0, extent.cy},
      {"vertical_centre", DT_VCENTER | DT_SINGLELINE, 0, room_y / 2, room_y / 2 + extent.cy},
      {"bottom", DT_BOTTOM | DT_SINGLELINE, 0, room_y, 30},
      {"right_bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, room_x, room_y, 30},
      {"centre_wins_over_bottom", DT_VCENTER | DT_BOTTOM | DT_SINGLELINE, 0, room_y / 2, room_y / 2 + extent.cy},
      {"bottom_needs_single_line", DT_BOTTOM, 0, 0, extent.cy},
  };
  for (const Case& c : cases) {
    picture.Clear();
    RECT rect = box;
    EXPECT_EQ(DrawText(picture.dc(), "Hi 42", 5, &rect, c.format), c.result) << c.name;
    EXPECT_EQ(picture.Ink(), (RECT{reference.left + c.dx, reference.top + c.dy, reference.right + c.dx,
                                   reference.bottom + c.dy}))
        << c.name;
  }
}

TEST(DrawText, calc_rect_measures_lines_without_drawing) {
  TextPicture picture(200, 100, "MS Sans Serif", 13);
  const int32_t line = picture.Extent("x").cy;
  const int32_t aaa = picture.Extent("aaa").cx;
  const int32_t bbbb = picture.Extent("bbbb").cx;
  const int32_t both = picture.Extent("aaa bbbb").cx;
  const int32_t narrow = both - 1;  // wider than either word, too narrow for both
  struct Case {
    const char* name;
    const char* text;
    int32_t width;
    uint32_t format;
    int32_t right, bottom;
  } const cases[] = {
      {"single_line", "aaa bbbb", narrow, DT_SINGLELINE, both, line},
      {"fits_on_one_line", "aaa bbbb", both, DT_WORDBREAK, both, line},
      {"breaks_at_the_blank", "aaa bbbb", narrow, DT_WORDBREAK, std::max(aaa, bbbb), 2 * line},
      {"long_word_stays_whole", "aaa bbbb", 2, DT_WORDBREAK, std::max(aaa, bbbb), 2 * line},
      {"newline_breaks", "aaa\nbbbb", 200, 0, std::max(aaa, bbbb), 2 * line},
      {"crlf_is_one_break", "aaa\r\nbbbb", 200, 0, std::max(aaa, bbbb), 2 * line},
      {"single_line_ignores_newline", "aaa\nbbbb", 200, DT_SINGLELINE | DT_CENTER,
       picture.Extent("aaa\nbbbb").cx, line},
  };
  for (const Case& c : cases) {
    RECT rect{5, 7, 5 + c.width, 8};
    EXPECT_EQ(DrawText(picture.dc(), c.text, -1, &rect, c.format | DT_CALCRECT), c.bottom) << c.name;
    EXPECT_EQ(rect, (RECT{5, 7, 5 + c.right, 7 + c.bottom})) << c.name;
  }
  EXPECT_EQ(picture.Ink().right, 0) << "calc-rect drew something";

  // Drawn for real, a broken line puts its second word one line lower at the left edge.
  RECT rect{0, 0, narrow, 100};
  EXPECT_EQ(DrawText(picture.dc(), "aaa bbbb", -1, &rect, DT_WORDBREAK), 2 * line);
  EXPECT_LT(picture.Ink().bottom - picture.Ink().top, 2 * line);
  EXPECT_GT(picture.Ink().bottom, line);
  EXPECT_LE(picture.Ink().right, std::max(aaa, bbbb) + 1);
}

TEST(DrawText, clips_to_its_rectangle_unless_told_not_to_and_always_to_the_clip_area) {
  TextPicture picture(120, 30, "Arial", 18);
  const RECT box{20, 5, 40, 25};
  RECT rect = box;
  DrawText(picture.dc(), "Wide Wide Wide", -1, &rect, DT_SINGLELINE);
  RECT ink = picture.Ink();
  EXPECT_GE(ink.left, box.left);
  EXPECT_LE(ink.right, box.right);

  picture.Clear();
  DrawText(picture.dc(), "Wide Wide Wide", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(picture.Ink().right, box.right + 40);

  picture.Clear();
  IntersectClipRect(picture.dc(), 0, 0, 30, 30);
  DrawText(picture.dc(), "Wide Wide Wide", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
  ink = picture.Ink();
  EXPECT_LE(ink.right, 30);
  EXPECT_GT(ink.right, box.left);
  SelectClipRgn(picture.dc(), nullptr);
}

TEST(DrawText, rectangles_at_the_ends_of_the_range_are_laid_out_without_overflow) {
  TextPicture picture(60, 20, "Arial", 16);
  const int32_t width = picture.Extent("abc def").cx;
  const int32_t line = picture.Extent("x").cy;
  struct Case {
    const char* name;
    RECT rect;
    uint32_t format;
  } const cases[] = {
      {"whole_range_wrapped", {INT32_MIN, 0, INT32_MAX, 20}, DT_WORDBREAK},
      {"high_end_centred", {INT32_MAX - 10, INT32_MIN, INT32_MAX, INT32_MAX}, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {"right_edge_at_the_low_end", {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
      {"left_edge_at_the_high_end", {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, DT_NOCLIP | DT_WORDBREAK},
  };
  for (const Case& c : cases) {
    RECT rect = c.rect;
    EXPECT_GE(DrawText(picture.dc(), "abc def", -1, &rect, c.format), 0) << c.name;
  }
  EXPECT_EQ(picture.Ink().right, 0) << "text far outside the picture left ink";
  // Measuring at the high end stops at the largest coordinate.
  RECT rect{INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX};
  EXPECT_EQ(DrawText(picture.dc(), "abc def", -1, &rect, DT_SINGLELINE | DT_CALCRECT), line);
  EXPECT_EQ(rect, (RECT{INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX}));
  rect = {-width, 0, 0, 0};
  EXPECT_EQ(DrawText(picture.dc(), "abc def", -1, &rect, DT_SINGLELINE | DT_CALCRECT), line);
  EXPECT_EQ(rect, (RECT{-width, 0, 0, line}));
}

// Every pixel the text changed must lie between the paper and the text colour: drawn in the text
// colour, blended only at glyph edges, never any third colour (such as a key colour).
TEST(DrawText, ink_is_the_text_colour_blended_with_the_picture_and_opaque_mode_fills_the_line) {
  TextPicture picture(140, 30, "Arial", 18, FW_BOLD);
  SetTextColor(picture.dc(), RGB(255, 0, 0));
  RECT rect{0, 0, 140, 30};
  DrawText(picture.dc(), "Mixed 123", -1, &rect, DT_SINGLELINE);
  int32_t full = 0;
  int32_t partial = 0;
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 140; ++x) {
      const COLORREF c = GetPixel(picture.dc(), x, y);
      if (c == kPaper) continue;
      ASSERT_EQ(GetRValue(c), 255) << x << "," << y;
      ASSERT_EQ(GetGValue(c), GetBValue(c)) << x << "," << y;
      (c == RGB(255, 0, 0) ? full : partial) += 1;
    }
  }
  EXPECT_GT(full, 0);
  EXPECT_GT(partial, 0);

  picture.Clear();
  SetBkMode(picture.dc(), OPAQUE);
  SetBkColor(picture.dc(), RGB(0, 0, 255));
  SetTextColor(picture.dc(), RGB(0, 0, 255));
  const SIZE extent = picture.Extent("Mixed 123");
  rect = {10, 2, 140, 30};
  DrawText(picture.dc(), "Mixed 123", -1, &rect, DT_SINGLELINE);
  EXPECT_EQ(picture.Ink(), (RECT{10, 2, 10 + extent.cx, 2 + extent.cy}));
  EXPECT_EQ(GetPixel(picture.dc(), 10, 2), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(picture.dc(), 9 + extent.cx, 1 + extent.cy), RGB(0, 0, 255));
}

TEST(DrawText, a_context_without_a_font_draws_with_the_default_font) {
  Surface surface(60, 20);
  HDC dc = CreateSurfaceDC(&surface);
  TEXTMETRIC m{};
  ASSERT_TRUE(GetTextMetrics(dc, &m));
  EXPECT_EQ(m.tmHeight, 16);
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, "Arial");
  HFONT default_font = SelectObject(dc, font);
  ASSERT_NE(default_font, nullptr);
  EXPECT_EQ(SelectObject(dc, default_font), font);
  ASSERT_TRUE(GetTextMetrics(dc, &m));
  EXPECT_EQ(m.tmHeight, 16);
  DeleteObject(font);
  DeleteDC(dc);
}

}  // namespace
