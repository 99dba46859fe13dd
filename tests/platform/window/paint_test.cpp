#include "platform/window/paint.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/window/window_picture.h"
#include "tests/platform/window/recording_window.h"

namespace windowtest {
namespace {

using namespace platform;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

void Fill(HDC dc, RECT rect, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

enum class EraseAnswer { kDefault, kHandledNonzero, kHandledZero };

struct EraseCase {
  const char* name;
  bool class_brush;   // the class erases with red
  EraseAnswer erase;  // what the procedure does with WM_ERASEBKGND
  bool invalidate_with_erase;
  bool paint_calls_begin_paint;
  std::vector<std::string> expected_trace;
  COLORREF expected_in_invalid_area;  // what the erase left there (blue: nothing cleared)
};

void PrintTo(const EraseCase& c, std::ostream* os) { *os << c.name; }

class EraseTest : public WindowTest, public ::testing::WithParamInterface<EraseCase> {};

// The window was blue all over; (10, 10)-(50, 50) is invalidated; the paint draws a green square at
// (30, 30)-(40, 40), over whatever the erase did.
TEST_P(EraseTest, erase_comes_before_paint_and_only_the_default_clears) {
  const EraseCase& c = GetParam();
  const HBRUSH red = CreateSolidBrush(kRed);
  RegisterRecordingClass("Painted", 0, c.class_brush ? red : nullptr);
  const HWND hwnd = CreateTopLevel("w", 200, 150, "Painted");
  headless::RunUntilIdle();
  Fill(GetDC(hwnd), RECT{0, 0, 200, 150}, kBlue);
  Handle(hwnd, [&c](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_ERASEBKGND && c.erase == EraseAnswer::kHandledNonzero) return 1;
    if (message == WM_ERASEBKGND && c.erase == EraseAnswer::kHandledZero) return 0;
    if (message == WM_PAINT) {
      if (!c.paint_calls_begin_paint) return 0;
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(h, &paint);
      Fill(dc, RECT{30, 30, 40, 40}, kGreen);
      EndPaint(h, &paint);
      return 0;
    }
    return std::nullopt;
  });
  ClearLog();

  const RECT area{10, 10, 50, 50};
  InvalidateRect(hwnd, &area, c.invalidate_with_erase);
  headless::RunUntilIdle();

  EXPECT_EQ(Trace({WM_ERASEBKGND, WM_PAINT}), c.expected_trace);
  const COLORREF square = c.paint_calls_begin_paint ? kGreen : c.expected_in_invalid_area;
  EXPECT_TRUE(PictureHas(headless::GetWindowPicture(hwnd),
                         {{12, 12, c.expected_in_invalid_area}, {35, 35, square}, {60, 60, kBlue}, {5, 5, kBlue}},
                         std::string("erase_") + c.name));
  DeleteObject(red);
}

INSTANTIATE_TEST_SUITE_P(
    Erase, EraseTest,
    ::testing::Values(
        EraseCase{"default_erase_uses_the_class_brush_on_the_invalid_area", true, EraseAnswer::kDefault, true,
                  true, {"ERASE@w", "PAINT@w"}, kRed},
        EraseCase{"window_that_erases_itself_is_not_cleared", true, EraseAnswer::kHandledNonzero, true, true,
                  {"ERASE@w", "PAINT@w"}, kBlue},
        EraseCase{"window_that_ignores_erase_is_not_cleared", true, EraseAnswer::kHandledZero, true, true,
                  {"ERASE@w", "PAINT@w"}, kBlue},
        EraseCase{"class_without_brush_is_not_cleared", false, EraseAnswer::kDefault, true, true,
                  {"ERASE@w", "PAINT@w"}, kBlue},
        EraseCase{"invalidate_without_erase_only_paints", true, EraseAnswer::kDefault, false, true,
                  {"PAINT@w"}, kBlue},
        EraseCase{"paint_without_begin_paint_comes_once", true, EraseAnswer::kDefault, true, false,
                  {"ERASE@w", "PAINT@w"}, kRed}),
    [](const ::testing::TestParamInfo<EraseCase>& info) { return std::string(info.param.name); });

class PaintTest : public WindowTest {};

// A window takes its drawing context once and draws into it from a timer, outside any paint; its
// child draws into its own. The window's picture shows both, the child over the parent.
TEST_F(PaintTest, kept_context_drawing_shows_with_children_composed_over_the_parent) {
  const HWND parent = CreateTopLevel("parent", 200, 150);
  const HWND child = CreateChild(parent, 1, 50, 40, 60, 30);
  const HWND hidden = CreateChild(parent, 2, 0, 0, 20, 20);
  ShowWindow(hidden, SW_HIDE);
  headless::RunUntilIdle();
  const HDC kept = GetDC(parent);
  ReleaseDC(parent, kept);
  Fill(GetDC(child), RECT{0, 0, 60, 30}, kYellow);
  Fill(GetDC(hidden), RECT{0, 0, 20, 20}, kRed);
  SetTimer(parent, 1, 40);
  Handle(parent, [kept](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_TIMER) Fill(kept, RECT{0, 0, 200, 150}, kBlue);
    return std::nullopt;
  });

  headless::AdvanceClock(40);

  EXPECT_TRUE(PictureHas(headless::GetWindowPicture(parent),
                         {{5, 5, kBlue}, {50, 40, kYellow}, {109, 69, kYellow}, {110, 70, kBlue}, {49, 40, kBlue}},
                         "kept_context"));
}

bool SamePicture(const Surface& a, const Surface& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// What each loop pass hands to a backend with a screen: a window is presented when rows of its
// picture, or of a shown child's, were drawn with new pixels or its children moved; only those
// rows; and an untouched window (or one drawn over with the same pixels, or under a hidden child)
// is not presented again. The screen copy always ends up equal to the composed picture.
TEST_F(PaintTest, only_windows_with_new_pixels_are_presented_and_only_their_drawn_rows) {
  headless::RecordPresents(true);
  const HWND drawn = CreateTopLevel("drawn", 200, 150);
  const HWND child = CreateChild(drawn, 1, 50, 40, 60, 30);
  const HWND hidden = CreateChild(drawn, 2, 0, 100, 20, 20);
  ShowWindow(hidden, SW_HIDE);
  const HWND still = CreateTopLevel("still", 100, 80);
  headless::AdvanceClock(20);
  const auto presents_of = [](HWND hwnd) {
    std::vector<headless::PresentRecord> of;
    for (const auto& record : headless::Presents()) {
      if (record.hwnd == hwnd) of.push_back(record);
    }
    return of;
  };
  // First shown: each window goes to the screen whole.
  ASSERT_FALSE(presents_of(drawn).empty());
  ASSERT_FALSE(presents_of(still).empty());
  EXPECT_TRUE(SamePicture(headless::PresentedPicture(drawn), headless::GetWindowPictureWithMenu(drawn)));
  EXPECT_TRUE(SamePicture(headless::PresentedPicture(still), headless::GetWindowPictureWithMenu(still)));

  // Idle: nothing is presented.
  headless::ClearPresents();
  headless::AdvanceClock(100);
  EXPECT_TRUE(headless::Presents().empty());

  // Drawing outside any paint, through kept contexts: the child's rows 5-9 are picture rows 45-49.
  const HDC child_dc = GetDC(child);
  Fill(child_dc, RECT{0, 5, 60, 10}, kYellow);
  headless::AdvanceClock(20);
  ASSERT_EQ(presents_of(drawn).size(), 1u);
  EXPECT_EQ(presents_of(drawn)[0].first_row, 45);
  EXPECT_EQ(presents_of(drawn)[0].end_row, 50);
  EXPECT_TRUE(presents_of(still).empty());
  EXPECT_TRUE(SamePicture(headless::PresentedPicture(drawn), headless::GetWindowPictureWithMenu(drawn)));

  struct Case {
    const char* name;
    std::function<void()> act;
    bool presented;
  } const cases[] = {
      {"same_pixels_again", [&] { Fill(child_dc, RECT{0, 5, 60, 10}, kYellow); }, false},
      {"hidden_child", [&] { Fill(GetDC(hidden), RECT{0, 0, 20, 20}, kRed); }, false},
      {"reading_pixels", [&] { (void)GetPixel(GetDC(drawn), 5, 5); }, false},
      {"parent_under_the_child", [&] { Fill(GetDC(drawn), RECT{0, 0, 200, 150}, kBlue); }, true},
      {"paint_of_the_other_window", [&] {
         Fill(GetDC(still), RECT{0, 0, 100, 80}, kGreen);
         InvalidateRect(still, nullptr, true);
       }, true},
      {"child_moved", [&] { SetWindowPos(child, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }, true},
      {"hidden_child_shown", [&] { ShowWindow(hidden, SW_SHOW); }, true},
  };
  for (const Case& c : cases) {
    headless::ClearPresents();
    c.act();
    headless::AdvanceClock(20);
    EXPECT_EQ(!headless::Presents().empty(), c.presented) << c.name;
    for (const HWND hwnd : {drawn, still}) {
      EXPECT_TRUE(SamePicture(headless::PresentedPicture(hwnd), headless::GetWindowPictureWithMenu(hwnd)))
          << c.name;
    }
  }
}

}  // namespace
}  // namespace windowtest

namespace {

// Which rows of a window's picture go to the screen again: only the band from the first to the
// last row that changed, nothing when nothing did.
TEST(ChangedRowsTest, finds_the_band_of_rows_that_differ) {
  using platform::internal::ChangedRows;
  using platform::internal::RowRange;
  struct Case {
    const char* name;
    std::vector<int32_t> changed_rows;  // rows of the 10 x 8 picture given another pixel
    std::optional<std::pair<int32_t, int32_t>> expected;
  } const cases[] = {
      {"nothing", {}, std::nullopt},
      {"first_row", {0}, std::make_pair(0, 1)},
      {"last_row", {7}, std::make_pair(7, 8)},
      {"two_apart", {2, 5}, std::make_pair(2, 6)},
      {"every_row", {0, 1, 2, 3, 4, 5, 6, 7}, std::make_pair(0, 8)},
  };
  for (const Case& c : cases) {
    platform::Surface before(10, 8);
    platform::Surface after(10, 8);
    for (int32_t row : c.changed_rows) after.Row(row)[9 * 3 + 1] = 0x80;  // the last pixel's green
    const std::optional<RowRange> rows = ChangedRows(before, after);
    ASSERT_EQ(rows.has_value(), c.expected.has_value()) << c.name;
    if (!rows) continue;
    EXPECT_EQ(rows->first, c.expected->first) << c.name;
    EXPECT_EQ(rows->end, c.expected->second) << c.name;
  }
  // A picture of another size is new everywhere.
  const std::optional<RowRange> resized = ChangedRows(platform::Surface(10, 8), platform::Surface(10, 9));
  ASSERT_TRUE(resized.has_value());
  EXPECT_EQ(resized->first, 0);
  EXPECT_EQ(resized->end, 9);
}

}  // namespace
