#include "platform/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/platform/controls/controls_fixture.h"

namespace controlstest {
namespace {

constexpr int kBar = 7;

// A bar 16 x 200 pixels: its arrows are the top and bottom squares, its trough between them.
TEST_F(ControlsTest, scroll_bar_reports_line_page_and_thumb_actions) {
  struct Case {
    const char* name;
    int min;
    int max;
    int page;
    int position;
    std::function<void(HWND)> action;
    std::vector<Notice> notices;
  };
  const std::vector<Case> cases = {
      {"the top arrow is a line up", 0, 99, 10, 20, [](HWND bar) { Click(bar, 8, 4); },
       {Scroll(kBar, SB_LINEUP), Scroll(kBar, SB_ENDSCROLL)}},
      {"the bottom arrow is a line down", 0, 99, 10, 20, [](HWND bar) { Click(bar, 8, 195); },
       {Scroll(kBar, SB_LINEDOWN), Scroll(kBar, SB_ENDSCROLL)}},
      {"the trough above the thumb is a page up", 0, 99, 10, 60, [](HWND bar) { Click(bar, 8, 20); },
       {Scroll(kBar, SB_PAGEUP), Scroll(kBar, SB_ENDSCROLL)}},
      {"the trough below the thumb is a page down", 0, 99, 10, 20, [](HWND bar) { Click(bar, 8, 175); },
       {Scroll(kBar, SB_PAGEDOWN), Scroll(kBar, SB_ENDSCROLL)}},
      {"the thumb dragged past the end tracks to the last page's first position", 0, 99, 10, 0,
       [](HWND bar) { Drag(bar, 8, 20, 8, 400); },
       {Scroll(kBar, SB_THUMBTRACK, 90), Scroll(kBar, SB_THUMBPOSITION, 90), Scroll(kBar, SB_ENDSCROLL)}},
      {"the thumb dragged above the start tracks to the first position", 10, 50, 0, 50,
       [](HWND bar) { Drag(bar, 8, 176, 8, -300); },
       {Scroll(kBar, SB_THUMBTRACK, 10), Scroll(kBar, SB_THUMBPOSITION, 10), Scroll(kBar, SB_ENDSCROLL)}},
      {"a page that covers the range leaves nothing to scroll", 0, 5, 10, 0,
       [](HWND bar) {
         Click(bar, 8, 4);
         Click(bar, 8, 100);
         Click(bar, 8, 195);
       },
       {}},
      {"keys scroll the focused bar", 0, 99, 10, 20,
       [](HWND bar) {
         SetFocus(bar);
         Press(VK_DOWN);
         Press(VK_NEXT);
         Press(VK_END);
       },
       {Scroll(kBar, SB_LINEDOWN), Scroll(kBar, SB_ENDSCROLL), Scroll(kBar, SB_PAGEDOWN), Scroll(kBar, SB_ENDSCROLL),
        Scroll(kBar, SB_BOTTOM), Scroll(kBar, SB_ENDSCROLL)}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    SetUp();
    const HWND host = CreateHost(100, 240);
    const HWND bar = CreateControl(host, WC_SCROLLBAR, "", SBS_VERT | WS_TABSTOP, kBar, 10, 10, 16, 200);
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = test.min;
    info.nMax = test.max;
    info.nPage = static_cast<UINT>(test.page);
    info.nPos = test.position;
    SetScrollInfo(bar, SB_CTL, &info, true);
    headless::RunUntilIdle();
    ClearNotices();
    test.action(bar);
    EXPECT_EQ(Notices(), test.notices);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), test.position) << "only the program moves the position";
  }
}

TEST_F(ControlsTest, scroll_position_stays_within_the_range_less_the_page) {
  const HWND host = CreateHost(100, 240);
  const HWND bar = CreateControl(host, WC_SCROLLBAR, "", SBS_VERT, kBar, 10, 10, 16, 200);
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = 39;  // 40 rows
  info.nPage = 18;
  info.nPos = 30;
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, true), 22);
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, -5, true), 22);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
  SCROLLINFO read;
  read.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &read));
  EXPECT_EQ(read.nMax, 39);
  EXPECT_EQ(read.nPage, 18u);
  EXPECT_FALSE(GetScrollInfo(host, SB_CTL, &read)) << "only scroll bars have scroll information";
}

}  // namespace
}  // namespace controlstest
