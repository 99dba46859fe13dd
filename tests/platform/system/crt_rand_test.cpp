#include "platform/system/crt_rand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<int> Draws(int count) {
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(platform::rand());
  return draws;
}

// The sequences of the classic generator, as the C standard's sample implementation gives them.
TEST(CrtRand, seeds_give_the_classic_sequences) {
  struct Case {
    uint32_t seed;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {1, {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}},
      {42, {19081, 17033, 15269, 25461, 13856}},
  };
  for (const Case& c : cases) {
    platform::srand(c.seed);
    EXPECT_EQ(Draws(static_cast<int>(c.expected.size())), c.expected) << "seed " << c.seed;
  }
}

TEST(CrtRand, draws_stay_in_fifteen_bits_and_reach_both_ends) {
  platform::srand(12345);
  int lowest = platform::kRandMax;
  int highest = 0;
  for (int i = 0; i < 1 << 20; ++i) {
    const int draw = platform::rand();
    ASSERT_GE(draw, 0);
    ASSERT_LE(draw, platform::kRandMax);
    lowest = std::min(lowest, draw);
    highest = std::max(highest, draw);
  }
  EXPECT_EQ(lowest, 0);
  EXPECT_EQ(highest, 32767);
}

}  // namespace
