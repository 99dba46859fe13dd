#include "cclient/widgets/sprite.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/cclient/widgets/widget_test_support.h"
#include "tests/platform/draw/memory_picture.h"

namespace {

using platform::RECT;

// The Hold'em travel times, and a ten-point path: point i rests at (100 + 50 i, 100) and passes
// (75 + 50 i, 80) on its way to point i - 1.
const double kTravelTimes[10] = {0.16, 0.3, 0.42, 0.52, 0.61, 0.7, 0.78, 0.85, 0.91, 0.96};

class SpriteTest : public TableArtTest {
 protected:
  void SetUp() override {
    TableArtTest::SetUp();
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = platform::DefWindowProc;
    window_class.lpszClassName = "SpriteTestWindow";
    (void)platform::RegisterClass(&window_class);
    window_ = platform::CreateWindow("SpriteTestWindow", "table", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                     nullptr);
    for (int i = 0; i < 10; ++i) {
      xs_[2 * i] = 100 + 50 * i;
      ys_[2 * i] = 100;
      xs_[2 * i + 1] = 75 + 50 * i;
      ys_[2 * i + 1] = 80;
    }
    sprite_.Load(nullptr);
    sprite_.SetPath(10, xs_, ys_, kTravelTimes);
    sprite_.SetAlwaysDraw(false);
  }
  void TearDown() override { platform::headless::Reset(); }
  int TakePosts() {
    int posts = 0;
    platform::MSG message;
    while (platform::PeekMessage(&message, window_, 8000, 8000, platform::PM_REMOVE)) ++posts;
    return posts;
  }
  // Runs the move in steps of `step` seconds, recording where the sprite stands after each.
  std::vector<platform::POINT> Run(float step, int ticks) {
    std::vector<platform::POINT> places;
    for (int i = 0; i < ticks; ++i) {
      sprite_.Update(step);
      places.push_back({sprite_.GetX(), sprite_.GetY()});
    }
    return places;
  }

  SpriteClass sprite_;
  platform::HWND window_ = nullptr;
  int32_t xs_[20];
  int32_t ys_[20];
};

TEST_F(SpriteTest, along_the_path_from_point_3_to_point_1_passes_point_2) {
  ASSERT_TRUE(sprite_.SetPathPoint(3));
  sprite_.Show();
  ASSERT_TRUE(sprite_.MoveAlongPath(1, true, window_, 8000, 0, 0));
  EXPECT_FALSE(sprite_.SetPosition(0, 0)) << "no placing while moving";
  // 2 points in 0.3 s: each point 0.15 s, half on its own leg.
  const std::vector<platform::POINT> places = Run(0.075f, 4);
  const platform::POINT expected[] = {{75 + 150, 80}, {200, 100}, {75 + 100, 80}, {150, 100}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(places[static_cast<size_t>(i)].x, expected[i].x, 1) << "tick " << i;
    EXPECT_NEAR(places[static_cast<size_t>(i)].y, expected[i].y, 1) << "tick " << i;
  }
  EXPECT_EQ(sprite_.GetX(), 150);
  EXPECT_EQ(TakePosts(), 0);
  sprite_.Update(0.075f);
  EXPECT_EQ(TakePosts(), 1) << "posted at the tick after the arrival";
  EXPECT_EQ(sprite_.GetPathPoint(), 1);
}

TEST_F(SpriteTest, along_the_path_wraps_through_0_and_9) {
  ASSERT_TRUE(sprite_.SetPathPoint(1));
  ASSERT_TRUE(sprite_.MoveAlongPath(3, true, window_, 8000, 0, 0));
  // 8 points in 0.85 s; after one point's time it stands on point 0, after two on point 9.
  const float per_point = 0.85f / 8;
  sprite_.Update(per_point);
  EXPECT_NEAR(sprite_.GetX(), 100, 1);
  sprite_.Update(per_point);
  EXPECT_NEAR(sprite_.GetX(), 100 + 450, 1);
  for (int i = 0; i < 5; ++i) sprite_.Update(per_point);
  EXPECT_NEAR(sprite_.GetX(), 300, 1) << "on point 4 one point's time before the end";
  sprite_.Update(0.2f);
  EXPECT_EQ(sprite_.GetX(), 250);
  EXPECT_EQ(TakePosts(), 0);
  sprite_.Update(0.01f);
  EXPECT_EQ(TakePosts(), 1);
}

TEST_F(SpriteTest, to_the_current_point_takes_no_time_and_posts_at_the_next_tick) {
  ASSERT_TRUE(sprite_.SetPathPoint(4));
  ASSERT_TRUE(sprite_.MoveAlongPath(4, true, window_, 8000, 0, 0));
  sprite_.Update(0.01f);
  EXPECT_EQ(TakePosts(), 1);
  EXPECT_FALSE(sprite_.IsMoving());
}

TEST_F(SpriteTest, without_a_path_point_a_path_move_jumps_and_posts_nothing) {
  EXPECT_FALSE(sprite_.MoveAlongPath(2, true, window_, 8000, 0, 0));
  EXPECT_EQ(sprite_.GetX(), 200);
  EXPECT_EQ(sprite_.GetPathPoint(), 2);
  sprite_.Update(0.1f);
  EXPECT_EQ(TakePosts(), 0);
  EXPECT_FALSE(sprite_.SetPathPoint(10));
  EXPECT_FALSE(sprite_.SetPathPoint(-1));
}

TEST_F(SpriteTest, move_to_shows_a_hidden_sprite_and_redraws_where_it_goes) {
  MemoryPicture background(400, 200);
  background.Fill(0x205020);
  MemoryPicture back_buffer(400, 200);
  back_buffer.Fill(0x205020);
  ASSERT_TRUE(sprite_.SetPosition(10, 10));
  EXPECT_FALSE(sprite_.IsShown());
  ASSERT_TRUE(sprite_.MoveTo(110, 60, 0.5, true, window_, 8000, 0, 0));
  EXPECT_TRUE(sprite_.IsShown());
  RECT rect;
  sprite_.Update(0.25f);
  EXPECT_EQ(sprite_.GetX(), 60);
  EXPECT_EQ(sprite_.GetY(), 35);
  ASSERT_TRUE(sprite_.Draw(back_buffer.dc));
  ASSERT_TRUE(sprite_.GetDirtyRect(&rect));
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(rect.right, 60 + 16);
  EXPECT_EQ(back_buffer.At(68, 43), platform::RGB(250, 250, 210)) << "the button's face";
  EXPECT_EQ(back_buffer.At(60, 35), 0x205020u) << "white is the key";
  sprite_.Update(0.25f);
  ASSERT_TRUE(sprite_.Erase(back_buffer.dc, background.dc, &rect));
  EXPECT_EQ(rect.left, 60);
  EXPECT_EQ(back_buffer.At(68, 43), 0x205020u);
  ASSERT_TRUE(sprite_.Draw(back_buffer.dc));
  SaveForPerson(back_buffer.dc, "dealer_button");
  EXPECT_FALSE(sprite_.Hide()) << "not while moving";
  sprite_.Update(0.01f);
  EXPECT_EQ(TakePosts(), 1);
  EXPECT_TRUE(sprite_.Hide());
  ASSERT_TRUE(sprite_.Erase(back_buffer.dc, background.dc, &rect));
  EXPECT_EQ(rect.left, 110);
}

}  // namespace
