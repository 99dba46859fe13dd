#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"

using namespace platform;

namespace {

const std::map<char, COLORREF> kPalette = {
    {'.', RGB(255, 255, 255)}, {'k', RGB(0, 0, 0)}, {'g', RGB(0, 128, 0)}, {'r', RGB(200, 0, 0)}};

TEST(Brushes, stock_brushes_have_their_fixed_colours_and_null_paints_nothing) {
  struct Case {
    int32_t index;
    COLORREF expected;
  } const cases[] = {
      {WHITE_BRUSH, RGB(255, 255, 255)}, {LTGRAY_BRUSH, RGB(192, 192, 192)}, {GRAY_BRUSH, RGB(128, 128, 128)},
      {DKGRAY_BRUSH, RGB(64, 64, 64)},   {BLACK_BRUSH, RGB(0, 0, 0)},        {NULL_BRUSH, RGB(1, 2, 3)},
  };
  for (const Case& c : cases) {
    MemoryPicture picture(2, 2);
    const RECT all{0, 0, 2, 2};
    HBRUSH background = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(FillRect(picture.dc, &all, background));
    DeleteObject(background);
    ASSERT_TRUE(FillRect(picture.dc, &all, static_cast<HBRUSH>(GetStockObject(c.index))));
    EXPECT_EQ(GetPixel(picture.dc, 1, 1), c.expected) << "stock object " << c.index;
    EXPECT_TRUE(DeleteObject(GetStockObject(c.index)));  // ignored: stock objects stay
  }
  // A window class's COLOR_WINDOW + 1 background is the white system brush.
  MemoryPicture picture(1, 1);
  const RECT all{0, 0, 1, 1};
  ASSERT_TRUE(FillRect(picture.dc, &all, GetSysColorBrush(COLOR_WINDOW)));
  EXPECT_EQ(GetPixel(picture.dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

TEST(Brushes, an_object_deleted_while_selected_stays_usable_until_it_is_deselected) {
  MemoryPicture picture(3, 3);
  HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
  HBRUSH old = SelectObject(picture.dc, green);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(green));
  SelectObject(picture.dc, static_cast<HPEN>(GetStockObject(NULL_PEN)));
  ASSERT_TRUE(Rectangle(picture.dc, 0, 0, 3, 3));
  EXPECT_EQ(GetPixel(picture.dc, 1, 1), RGB(0, 128, 0));
  EXPECT_EQ(SelectObject(picture.dc, old), green);  // the last use; freed here
}

TEST(Shapes, outlines_fills_and_lines_land_on_the_expected_pixels) {
  struct Case {
    const char* name;
    int32_t width, height;
    std::function<void(HDC)> draw;
    std::vector<std::string> expected;
  } const cases[] = {
      {"rectangle_pen_and_brush", 7, 6,
       [](HDC dc) {
         HBRUSH brush = CreateSolidBrush(RGB(0, 128, 0));
         SelectObject(dc, brush);
         Rectangle(dc, 1, 1, 6, 5);
         SelectObject(dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
         DeleteObject(brush);
       },
       {".......", ".kkkkk.", ".kgggk.", ".kgggk.", ".kkkkk.", "......."}},
      {"rectangle_inverted_corners", 7, 6,
       [](HDC dc) {
         SelectObject(dc, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
         Rectangle(dc, 6, 5, 1, 1);
       },
       {".......", ".kkkkk.", ".k...k.", ".k...k.", ".kkkkk.", "......."}},
      {"frame_rect", 7, 6,
       [](HDC dc) {
         const RECT r{1, 1, 6, 5};
         HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
         FrameRect(dc, &r, red);
         DeleteObject(red);
       },
       {".......", ".rrrrr.", ".r...r.", ".r...r.", ".rrrrr.", "......."}},
      {"thin_lines_leave_out_their_last_pixel", 6, 5,
       [](HDC dc) {
         MoveToEx(dc, 1, 0, nullptr);
         LineTo(dc, 5, 0);
         MoveToEx(dc, 0, 1, nullptr);
         LineTo(dc, 4, 5);
         POINT old;
         MoveToEx(dc, 5, 4, &old);
         EXPECT_EQ(old.x, 4);
         EXPECT_EQ(old.y, 5);
         LineTo(dc, 5, 1);
       },
       {".kkkk.", "k.....", ".k...k", "..k..k", "...k.k"}},
      {"three_pixel_pen_paints_its_ends", 9, 7,
       [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
         HPEN old = SelectObject(dc, pen);
         MoveToEx(dc, 2, 3, nullptr);
         LineTo(dc, 6, 3);
         SelectObject(dc, old);
         DeleteObject(pen);
       },
       {".........", ".........", ".rrrrrrr.", ".rrrrrrr.", ".rrrrrrr.", ".........", "........."}},
      {"three_pixel_rectangle_outline", 9, 9,
       [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
         SelectObject(dc, pen);
         SelectObject(dc, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
         Rectangle(dc, 1, 1, 8, 8);
         SelectObject(dc, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
         DeleteObject(pen);
       },
       {"kkkkkkkkk", "kkkkkkkkk", "kkkkkkkkk", "kkk...kkk", "kkk...kkk", "kkk...kkk", "kkkkkkkkk", "kkkkkkkkk",
        "kkkkkkkkk"}},
      {"null_pen_draws_no_line", 4, 2,
       [](HDC dc) {
         SelectObject(dc, static_cast<HPEN>(GetStockObject(NULL_PEN)));
         MoveToEx(dc, 0, 0, nullptr);
         LineTo(dc, 4, 0);
       },
       {"....", "...."}},
      {"wild_coordinates_are_clipped", 4, 2,
       [](HDC dc) {
         MoveToEx(dc, -2000000000, 1, nullptr);
         LineTo(dc, 2000000000, 1);
         const RECT huge{-2000000000, -2000000000, 2000000000, 1};
         FillRect(dc, &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
       },
       {"kkkk", "kkkk"}},
      {"wide_pen_at_the_ends_of_the_range", 4, 3,
       [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
         HPEN old = SelectObject(dc, pen);
         SelectObject(dc, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
         MoveToEx(dc, INT32_MAX, 0, nullptr);
         LineTo(dc, INT32_MAX, 5);
         MoveToEx(dc, 5, INT32_MIN, nullptr);
         LineTo(dc, 6, INT32_MIN);
         Rectangle(dc, INT32_MAX - 3, INT32_MIN, INT32_MAX, INT32_MIN + 3);
         MoveToEx(dc, -2000000000, 2, nullptr);
         LineTo(dc, 2000000000, 2);
         SelectObject(dc, old);
         DeleteObject(pen);
       },
       {"....", "rrrr", "rrrr"}},
      {"widest_pen_is_cut_to_the_largest_width", 4, 3,
       [](HDC dc) {
         HPEN pen = CreatePen(PS_SOLID, INT32_MAX, RGB(0, 128, 0));
         HPEN old = SelectObject(dc, pen);
         MoveToEx(dc, 0, 0, nullptr);
         LineTo(dc, 1, 0);
         SelectObject(dc, old);
         DeleteObject(pen);
       },
       {"gggg", "gggg", "gggg"}},
  };
  for (const Case& c : cases) {
    MemoryPicture picture(c.width, c.height);
    const RECT all{0, 0, c.width, c.height};
    FillRect(picture.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    c.draw(picture.dc);
    EXPECT_TRUE(SamePicture(picture.picture(), PictureFromRows(c.expected, kPalette), c.name));
  }
}

}  // namespace
