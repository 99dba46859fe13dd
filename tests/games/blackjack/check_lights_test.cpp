#include "cclient/games/blackjack/check_lights.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/games/blackjack/blackjack_art_test.h"

namespace {

using platform::RECT;

const platform::POINT kLampPlaces[3] = {{330, 91}, {342, 91}, {354, 91}};

class CheckLightsTest : public BlackJackArtTest {
 protected:
  void SetUp() override {
    BlackJackArtTest::SetUp();
    ASSERT_TRUE(lights_.Load("5600.b", kLampPlaces));
  }
  std::string Lamps() const {
    std::string lamps;
    for (int32_t i = 0; i < 3; ++i) lamps += lights_.IsLit(i) ? '1' : '0';
    return lamps;
  }

  CheckLights lights_;
};

// The table's timing: 0.4 s dark, the middle lamp blinking every 0.07 s for 1.0 s, then the
// answer for 1.0 s.
TEST_F(CheckLightsTest, the_lamps_follow_the_time_since_the_start) {
  const struct {
    bool blackjack;
    double seconds;
    const char* lamps;
    bool running;
  } rows[] = {
      {true, 0.2, "000", true},   {true, 0.43, "010", true},  {true, 0.50, "000", true},
      {true, 0.55, "010", true},  {false, 1.30, "010", true}, {false, 1.36, "000", true},
      {true, 1.45, "100", true},  {false, 1.45, "001", true}, {true, 2.35, "100", true},
      {false, 2.35, "001", true}, {true, 2.45, "000", false}, {false, 2.45, "000", false},
  };
  for (const auto& row : rows) {
    CheckLights lights;
    ASSERT_TRUE(lights.Load("5600.b", kLampPlaces));
    ASSERT_TRUE(lights.Start(row.blackjack, 0.4, 1.0, 1.0));
    // In frames of 0.01 s up to the row's time, as the table ticks.
    const int frames = static_cast<int>(row.seconds * 100 + 0.5);
    for (int i = 0; i < frames; ++i) lights.Update(0.01);
    std::string lamps;
    for (int32_t lamp = 0; lamp < 3; ++lamp) lamps += lights.IsLit(lamp) ? '1' : '0';
    EXPECT_EQ(lamps, row.lamps) << "blackjack " << row.blackjack << " at " << row.seconds << " s";
    EXPECT_EQ(lights.IsRunning(), row.running) << row.seconds;
  }
}

TEST_F(CheckLightsTest, a_start_while_running_is_refused) {
  ASSERT_TRUE(lights_.Start(true, 0.4, 1.0, 1.0));
  EXPECT_FALSE(lights_.Start(false, 0.0, 1.0, 1.0));
  lights_.Update(1.5);
  EXPECT_EQ(Lamps(), "100") << "the first start's answer stands";
  lights_.Update(1.0);
  ASSERT_FALSE(lights_.IsRunning());
  EXPECT_TRUE(lights_.Start(false, 0.0, 1.0, 1.0)) << "stopped lights start again";
}

TEST_F(CheckLightsTest, a_lit_lamp_is_its_cell_and_a_dark_lamp_the_background) {
  ASSERT_TRUE(lights_.Start(false, 0.0, 0.5, 0.5));
  lights_.Update(0.01);  // the middle lamp lights
  RECT rect;
  EXPECT_FALSE(lights_.Erase(back_.dc, background_.dc, &rect));
  ASSERT_TRUE(lights_.NeedsRedraw());
  lights_.Draw(back_.dc);
  EXPECT_EQ(back_.At(342 + 6, 91 + 6), blackjack_art::LampColour(1));
  ASSERT_TRUE(lights_.GetDirtyRect(&rect));
  EXPECT_EQ(rect.left, 342);
  EXPECT_EQ(rect.right, 353);

  lights_.Update(0.6);  // the answer: the right lamp lights, the middle one goes dark
  ASSERT_TRUE(lights_.Erase(back_.dc, background_.dc, &rect));
  EXPECT_EQ(rect.left, 342);
  EXPECT_EQ(back_.At(342 + 6, 91 + 6), kFelt);
  lights_.Draw(back_.dc);
  EXPECT_EQ(back_.At(354 + 6, 91 + 6), blackjack_art::LampColour(2));
  EXPECT_EQ(back_.At(330 + 6, 91 + 6), kTable) << "the left lamp was never lit";
  EXPECT_FALSE(lights_.NeedsRedraw());

  lights_.Invalidate({350, 80, 360, 95});
  EXPECT_TRUE(lights_.NeedsRedraw()) << "a lit lamp under a changed area is painted again";
}

}  // namespace
