#include "tests/platform/draw/picture_compare.h"

#include <cstdio>

platform::Surface PictureFromRows(const std::vector<std::string>& rows,
                                  const std::map<char, platform::COLORREF>& palette) {
  platform::Surface s(rows.empty() ? 0 : static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (int32_t y = 0; y < s.height; ++y) {
    for (int32_t x = 0; x < s.width; ++x) {
      const platform::COLORREF c = palette.at(rows[y][x]);
      uint8_t* p = s.Row(y) + static_cast<size_t>(x) * 3;
      p[0] = platform::GetBValue(c);
      p[1] = platform::GetGValue(c);
      p[2] = platform::GetRValue(c);
    }
  }
  return s;
}

::testing::AssertionResult SamePicture(const platform::Surface& actual, const platform::Surface& expected,
                                       const std::string& name) {
  std::string problem;
  if (actual.width != expected.width || actual.height != expected.height) {
    problem = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + " instead of " +
              std::to_string(expected.width) + "x" + std::to_string(expected.height);
  } else {
    for (int32_t y = 0; y < actual.height && problem.empty(); ++y) {
      for (int32_t x = 0; x < actual.width; ++x) {
        if (PixelOf(actual, x, y) == PixelOf(expected, x, y)) continue;
        char text[96];
        std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X instead of %06X", x, y, PixelOf(actual, x, y),
                      PixelOf(expected, x, y));
        problem = text;
        break;
      }
    }
  }
  if (problem.empty()) return ::testing::AssertionSuccess();
  (void)platform::SaveSurfacePng(actual, name + "_actual.png");
  (void)platform::SaveSurfacePng(expected, name + "_expected.png");
  return ::testing::AssertionFailure() << name << ": " << problem << " (see " << name << "_actual.png and "
                                       << name << "_expected.png)";
}
