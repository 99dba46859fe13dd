#include "cclient/widgets/button_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cclient/base/debug_log.h"
#include "platform/draw/gdi.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::COLORREF;
using platform::RECT;

constexpr COLORREF kRed = 0x0000FF;     // normal
constexpr COLORREF kGreen = 0x00FF00;   // hover
constexpr COLORREF kBlue = 0xFF0000;    // down
constexpr COLORREF kYellow = 0x00FFFF;  // alternative down
constexpr COLORREF kBackBuffer = 0x404040;
constexpr COLORREF kBackground = 0x808000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

constexpr int32_t kWidth = 10;
constexpr int32_t kHeight = 8;

bool g_click_played = false;
void RecordClick() { g_click_played = true; }

class ButtonListTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    WriteSolidBmp("b2sit.b", kRed);
    WriteSolidBmp("o2sit.b", kGreen);
    WriteSolidBmp("d2sit.b", kBlue);
    WriteSolidBmp("s_tablda.b", kYellow);
    folder_.WriteFile("broken.b", "BM not a picture");
    g_click_played = false;
    ImageButton_SetClickSound(RecordClick);
  }
  void TearDown() override { ImageButton_SetClickSound(nullptr); }

  void WriteSolidBmp(const char* name, COLORREF colour) {
    BmpFixture bmp;
    bmp.width = kWidth;
    bmp.height = kHeight;
    bmp.bits = 24;
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
      bmp.rows.push_back(platform::GetBValue(colour));
      bmp.rows.push_back(platform::GetGValue(colour));
      bmp.rows.push_back(platform::GetRValue(colour));
    }
    folder_.WriteFile(name, bmp.Bytes());
  }

  // A full triple with an alternative down picture.
  void AddSitButton(ButtonList* list, int32_t id, int32_t x, int32_t y) {
    ASSERT_EQ(list->Add(id, x, y, kWidth, kHeight, "b2sit.b", "o2sit.b", "d2sit.b", "s_tablda.b"), nullptr);
  }
};

// Mouse events as the owner passes them.
struct Event {
  enum Kind { kDown, kUp, kMove, kDrag, kHide, kShow, kRelocate, kSetX } kind;  // the last two: button 7
  int32_t x = 0;
  int32_t y = 0;
};

TEST_F(ButtonListTest, mouse_sequences_report_the_clicked_id) {
  // Button 7 at (10, 10), button 9 at (30, 10), buttons 3 and 4 on the same place at (50, 10).
  struct Case {
    const char* name;
    std::vector<Event> events;
    int expected;  // the last mouse-up's result
    bool sound;
  } const cases[] = {
      {"click", {{Event::kDown, 12, 12}, {Event::kUp, 19, 17}}, 7, true},
      {"up_over_another_button", {{Event::kDown, 12, 12}, {Event::kUp, 32, 12}}, -1, false},
      {"up_beside_the_button", {{Event::kDown, 12, 12}, {Event::kUp, 20, 12}}, -1, false},
      {"up_without_down", {{Event::kUp, 12, 12}}, -1, false},
      {"drag_out_cancels", {{Event::kDown, 12, 12}, {Event::kDrag, 25, 12}, {Event::kUp, 12, 12}}, -1, false},
      {"drag_out_and_back_stays_cancelled",
       {{Event::kDown, 12, 12}, {Event::kDrag, 25, 12}, {Event::kDrag, 12, 12}, {Event::kUp, 12, 12}},
       -1,
       false},
      {"drag_inside_keeps_press", {{Event::kDown, 12, 12}, {Event::kDrag, 18, 16}, {Event::kUp, 18, 16}}, 7, true},
      {"move_without_button_drops_press", {{Event::kDown, 12, 12}, {Event::kMove, 12, 12}, {Event::kUp, 12, 12}},
       -1,
       false},
      {"down_elsewhere_drops_press", {{Event::kDown, 12, 12}, {Event::kDown, 0, 0}, {Event::kUp, 12, 12}}, -1, false},
      {"hidden_ignores_down", {{Event::kHide}, {Event::kDown, 12, 12}, {Event::kUp, 12, 12}}, -1, false},
      {"pressed_then_hidden", {{Event::kDown, 12, 12}, {Event::kHide}, {Event::kUp, 12, 12}}, -1, false},
      {"pressed_hidden_shown_again_was_cleared",
       {{Event::kDown, 12, 12}, {Event::kHide}, {Event::kUp, 12, 12}, {Event::kShow}, {Event::kUp, 12, 12}},
       -1,
       false},
      {"last_of_overlapping_buttons", {{Event::kDown, 52, 12}, {Event::kUp, 52, 12}}, 4, true},
  };
  for (const Case& c : cases) {
    ButtonList list;
    AddSitButton(&list, 7, 10, 10);
    AddSitButton(&list, 9, 30, 10);
    AddSitButton(&list, 3, 50, 10);
    AddSitButton(&list, 4, 50, 10);
    g_click_played = false;
    int result = -2;
    for (const Event& e : c.events) {
      switch (e.kind) {
        case Event::kDown: EXPECT_EQ(list.OnMouseDown(e.x, e.y), -1) << c.name; break;
        case Event::kUp: result = list.OnMouseUp(e.x, e.y); break;
        case Event::kMove: EXPECT_EQ(list.OnMouseMove(e.x, e.y, false), -1) << c.name; break;
        case Event::kDrag: EXPECT_EQ(list.OnMouseMove(e.x, e.y, true), -1) << c.name; break;
        case Event::kHide: list.HideButton(7); break;
        case Event::kShow: list.ShowButton(7); break;
        case Event::kRelocate: list.MoveButton(7, e.x, e.y); break;
        case Event::kSetX: list.SetButtonX(7, e.x); break;
      }
    }
    EXPECT_EQ(result, c.expected) << c.name;
    EXPECT_EQ(g_click_played, c.sound) << c.name;
  }
}

// The picture a button shows in each state, read back from the back buffer.
TEST_F(ButtonListTest, draws_the_picture_of_each_state) {
  struct Case {
    const char* name;
    const char* normal;
    const char* hover;
    const char* down;
    std::vector<Event> events;
    bool latch;
    int32_t down_image;  // -1: leave the choice alone
    COLORREF at_corner;  // pixel (x, y) of the button
    COLORREF inside;     // pixel (x + 5, y + 4)
    COLORREF past_edge;  // pixel (x + width, y + height): outside the button
  } const cases[] = {
      {"idle_normal", "b2sit.b", "o2sit.b", "d2sit.b", {}, false, -1, kRed, kRed, kBackBuffer},
      {"hover", "b2sit.b", "o2sit.b", "d2sit.b", {{Event::kMove, 12, 12}}, false, -1, kGreen, kGreen, kBackBuffer},
      {"pressed", "b2sit.b", "o2sit.b", "d2sit.b", {{Event::kDown, 12, 12}}, false, -1, kBlue, kBlue, kBackBuffer},
      {"latched_with_mouse_away", "b2sit.b", "o2sit.b", "d2sit.b", {{Event::kMove, 0, 0}}, true, -1, kBlue, kBlue,
       kBackBuffer},
      {"latched_alternative_down", "b2sit.b", "o2sit.b", "d2sit.b", {}, true, 1, kYellow, kYellow, kBackBuffer},
      {"alternative_then_down_again", "b2sit.b", "o2sit.b", "d2sit.b", {}, true, 0, kBlue, kBlue, kBackBuffer},
      {"no_normal_picture_idle", nullptr, "o2sit.b", "d2sit.b", {}, false, -1, kBackBuffer, kBackBuffer,
       kBackBuffer},
      {"no_normal_picture_hover", nullptr, "o2sit.b", "d2sit.b", {{Event::kMove, 12, 12}}, false, -1, kGreen, kGreen,
       kBackBuffer},
      {"pressed_without_down_picture", "b2sit.b", "o2sit.b", nullptr, {{Event::kDown, 12, 12}}, false, -1,
       kBackBuffer, kBackBuffer, kBackBuffer},
      // A down picture that does not load: the hover picture, 2 pixels right and down.
      {"down_picture_missing", "b2sit.b", "o2sit.b", "absent.b", {{Event::kDown, 12, 12}}, false, -1, kBackBuffer,
       kGreen, kGreen},
      {"hover_picture_broken", "b2sit.b", "broken.b", "d2sit.b", {{Event::kMove, 12, 12}}, false, -1, kRed, kRed,
       kBackBuffer},
      // Nothing loads: the default pen's black outline around the default brush's white.
      {"normal_picture_missing", "absent.b", nullptr, nullptr, {}, false, -1, kBlack, kWhite, kBackBuffer},
  };
  for (const Case& c : cases) {
    MemoryPicture back_buffer(80, 40);
    back_buffer.Fill(kBackBuffer);
    ButtonList list;
    ASSERT_EQ(list.Add(7, 10, 10, kWidth, kHeight, c.normal, c.hover, c.down, "s_tablda.b"), nullptr);
    for (const Event& e : c.events) {
      if (e.kind == Event::kMove) list.OnMouseMove(e.x, e.y, false);
      if (e.kind == Event::kDown) list.OnMouseDown(e.x, e.y);
    }
    if (c.latch) list.Latch(7);
    if (c.down_image == 0) {
      list.SetDownImage(7, 1);
      list.SetDownImage(7, 0);
    } else if (c.down_image == 1) {
      list.SetDownImage(7, 1);
    }
    DirtyRectList dirty(8);
    list.Draw(back_buffer.dc, nullptr, false, &dirty);
    EXPECT_EQ(back_buffer.At(10, 10), c.at_corner) << c.name;
    EXPECT_EQ(back_buffer.At(15, 14), c.inside) << c.name;
    EXPECT_EQ(back_buffer.At(10 + kWidth, 10 + kHeight), c.past_edge) << c.name;
    if (HasFailure()) (void)platform::SaveSurfacePng(back_buffer.picture(), std::string(c.name) + "_actual.png");
    // The rectangle is reported whether or not anything was painted.
    ASSERT_EQ(dirty.Count(), 1) << c.name;
    EXPECT_EQ(dirty[0].left, 10) << c.name;
    EXPECT_EQ(dirty[0].top, 10) << c.name;
    EXPECT_EQ(dirty[0].right, 19) << c.name;
    EXPECT_EQ(dirty[0].bottom, 17) << c.name;
  }
}

std::vector<std::string> Describe(const DirtyRectList& dirty) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < dirty.Count(); ++i)
    out.push_back(std::to_string(dirty[i].left) + "," + std::to_string(dirty[i].top) + "," +
                  std::to_string(dirty[i].right) + "," + std::to_string(dirty[i].bottom));
  return out;
}

// With a background, only buttons that changed are erased and repainted, each reporting its
// rectangle once for the erase and once for the draw.
TEST_F(ButtonListTest, painting_with_a_background_reports_what_changed) {
  struct Case {
    const char* name;
    std::vector<Event> events;
    std::vector<std::string> expected;
    COLORREF first_button_after;
  } const cases[] = {
      {"nothing_changed", {}, {}, kRed},
      {"hover_first", {{Event::kMove, 12, 12}}, {"10,10,19,17", "10,10,19,17"}, kGreen},
      {"hover_moves_across",
       {{Event::kMove, 12, 12}, {Event::kMove, 32, 12}},
       {"10,10,19,17", "30,10,39,17", "10,10,19,17", "30,10,39,17"},
       kRed},
      {"press_and_release", {{Event::kDown, 12, 12}, {Event::kUp, 12, 12}}, {"10,10,19,17", "10,10,19,17"}, kGreen},
      {"hidden_is_erased_to_background", {{Event::kHide}}, {"10,10,19,17"}, kBackground},
      {"hidden_and_shown_before_paint", {{Event::kHide}, {Event::kShow}}, {"10,10,19,17", "10,10,19,17"}, kRed},
      // A moved button's old place shows the background again.
      {"moved_down", {{Event::kRelocate, 10, 25}}, {"10,10,19,17", "10,25,19,32"}, kBackground},
      {"moved_along", {{Event::kSetX, 50}}, {"10,10,19,17", "50,10,59,17"}, kBackground},
      {"moved_twice_before_paint",
       {{Event::kRelocate, 50, 25}, {Event::kRelocate, 60, 30}},
       {"10,10,19,17", "60,30,69,37"},
       kBackground},
  };
  for (const Case& c : cases) {
    MemoryPicture back_buffer(80, 40);
    back_buffer.Fill(kBackBuffer);
    MemoryPicture background(80, 40);
    background.Fill(kBackground);
    ButtonList list;
    AddSitButton(&list, 7, 10, 10);
    AddSitButton(&list, 9, 30, 10);
    // Buttons never painted have nothing to erase.
    DirtyRectList first(16);
    list.Draw(back_buffer.dc, background.dc, false, &first);
    EXPECT_EQ(Describe(first), (std::vector<std::string>{"10,10,19,17", "30,10,39,17"})) << c.name;
    EXPECT_FALSE(list.IsAnyDirty()) << c.name;
    for (const Event& e : c.events) {
      switch (e.kind) {
        case Event::kDown: list.OnMouseDown(e.x, e.y); break;
        case Event::kUp: list.OnMouseUp(e.x, e.y); break;
        case Event::kMove: list.OnMouseMove(e.x, e.y, false); break;
        case Event::kDrag: list.OnMouseMove(e.x, e.y, true); break;
        case Event::kHide: list.HideButton(7); break;
        case Event::kShow: list.ShowButton(7); break;
        case Event::kRelocate: list.MoveButton(7, e.x, e.y); break;
        case Event::kSetX: list.SetButtonX(7, e.x); break;
      }
    }
    DirtyRectList dirty(16);
    list.Draw(back_buffer.dc, background.dc, false, &dirty);
    EXPECT_EQ(Describe(dirty), c.expected) << c.name;
    EXPECT_FALSE(dirty.Overflowed()) << c.name;
    EXPECT_EQ(back_buffer.At(15, 14), c.first_button_after) << c.name;
    EXPECT_EQ(back_buffer.At(35, 14), c.name == std::string("hover_moves_across") ? kGreen : kRed) << c.name;
    EXPECT_FALSE(list.IsAnyDirty()) << c.name;
  }
}

TEST_F(ButtonListTest, a_full_rectangle_list_overflows_instead_of_dropping_silently) {
  MemoryPicture back_buffer(80, 40);
  back_buffer.Fill(kBackBuffer);
  ButtonList list;
  AddSitButton(&list, 7, 10, 10);
  AddSitButton(&list, 9, 30, 10);
  AddSitButton(&list, 11, 50, 10);
  DirtyRectList dirty(2);
  list.Draw(back_buffer.dc, nullptr, false, &dirty);
  EXPECT_EQ(Describe(dirty), (std::vector<std::string>{"10,10,19,17", "30,10,39,17"}));
  EXPECT_TRUE(dirty.Overflowed());
  EXPECT_EQ(back_buffer.At(55, 14), kRed);  // the third button is painted all the same
  dirty.Clear();
  EXPECT_EQ(dirty.Count(), 0);
  EXPECT_FALSE(dirty.Overflowed());
}

TEST_F(ButtonListTest, sixty_fifth_button_is_refused_with_one_log_line) {
  DebugLevel = 1;
  DebugLog_Init("tvk.log");
  ButtonList list;
  for (int32_t id = 0; id < ButtonList::kMaxButtons; ++id)
    ASSERT_EQ(list.Add(id, id, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  const char* result = list.Add(100, 0, 0, 5, 5, "b2sit.b", nullptr, nullptr, nullptr);
  DebugLevel = 0;
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "Maximum buttons for button list reached");
  EXPECT_EQ(folder_.ReadFile("tvk.log"), "Max buttons reached.\r\n");
  EXPECT_EQ(list.Count(), ButtonList::kMaxButtons);
  EXPECT_FALSE(list.GetButtonRect(100, nullptr));
  EXPECT_TRUE(list.GetButtonRect(63, nullptr));
}

TEST_F(ButtonListTest, button_rect_and_changes_that_need_a_repaint) {
  ButtonList list;
  ASSERT_EQ(list.Add(5, 324, 372, 51, 24, nullptr, nullptr, nullptr, nullptr), nullptr);
  RECT rect{};
  ASSERT_TRUE(list.GetButtonRect(5, &rect));
  EXPECT_EQ(rect.left, 324);
  EXPECT_EQ(rect.top, 372);
  EXPECT_EQ(rect.right, 374);
  EXPECT_EQ(rect.bottom, 395);
  EXPECT_FALSE(list.GetButtonRect(6, &rect));
  EXPECT_FALSE(list.IsButtonShown(6));

  struct Case {
    const char* name;
    void (*change)(ButtonList*);
    bool dirty;
  } const cases[] = {
      {"move_to_same_place", [](ButtonList* l) { l->MoveButton(5, 324, 372); }, false},
      {"move_down", [](ButtonList* l) { l->MoveButton(5, 324, 380); }, true},
      {"set_same_x", [](ButtonList* l) { l->SetButtonX(5, 324); }, false},
      {"set_new_x", [](ButtonList* l) { l->SetButtonX(5, 300); }, true},
      {"show_shown", [](ButtonList* l) { l->ShowButton(5); }, false},
      {"hide", [](ButtonList* l) { l->HideButton(5); }, true},
      {"latch", [](ButtonList* l) { l->Latch(5); }, true},
      {"unlatch_unlatched", [](ButtonList* l) { l->Unlatch(5); }, false},
      {"invalidate", [](ButtonList* l) { l->InvalidateButton(5); }, true},
      {"invalidate_hidden", [](ButtonList* l) { l->HideButton(5); l->Draw(nullptr, nullptr, true, nullptr);
                                               l->InvalidateButton(5); }, false},
      {"unknown_id", [](ButtonList* l) { l->MoveButton(99, 0, 0); l->Latch(99); l->HideButton(99); }, false},
      {"cancel_press_of_pressed", [](ButtonList* l) { l->OnMouseDown(330, 380); l->Draw(nullptr, nullptr, true,
                                                                                          nullptr);
                                                     l->CancelPress(); }, true},
      {"set_down_image_not_loaded", [](ButtonList* l) { l->SetDownImage(5, 1); }, false},
  };
  for (const Case& c : cases) {
    MemoryPicture back_buffer(400, 400);
    back_buffer.Fill(kBackBuffer);
    list.Clear();
    ASSERT_EQ(list.Add(5, 324, 372, 51, 24, nullptr, nullptr, nullptr, nullptr), nullptr);
    list.Draw(back_buffer.dc, nullptr, true, nullptr);
    ASSERT_FALSE(list.IsAnyDirty()) << c.name;
    c.change(&list);
    EXPECT_EQ(list.IsAnyDirty(), c.dirty) << c.name;
  }
}

}  // namespace
