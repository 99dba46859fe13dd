// Comparing pictures in drawing tests. A mismatch writes both pictures as PNG files next to the
// test binary so that a person can look at them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"

// A picture of `width` x `height` whose pixels are given as colours, one string of letters per
// row; `palette` maps each letter to its colour.
platform::Surface PictureFromRows(const std::vector<std::string>& rows,
                                  const std::map<char, platform::COLORREF>& palette);

inline platform::COLORREF PixelOf(const platform::Surface& s, int32_t x, int32_t y) {
  const uint8_t* p = s.Row(y) + static_cast<size_t>(x) * 3;
  return platform::RGB(p[2], p[1], p[0]);
}

// Fails the test (without stopping it) when the pictures differ, naming the first differing
// pixel, and writes <name>_actual.png and <name>_expected.png.
::testing::AssertionResult SamePicture(const platform::Surface& actual, const platform::Surface& expected,
                                       const std::string& name);
