// One of the lobby's two banners (left and right): a picture with a hover picture and a link,
// drawn into the lobby's back buffer.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

constexpr int32_t kLeftBanner = 0;
constexpr int32_t kRightBanner = 1;

class LobbyBanner {
 public:
  // Loads the banner's pictures and keeps its link; `side` is kLeftBanner or kRightBanner.
  void Setup(platform::HDC back_dc, platform::HDC background_dc, const char* normal_file,
             const char* hover_file, const char* link, int32_t side);
  void Draw(platform::HDC window_dc, platform::HDC back_dc);
  void MouseMove(int32_t x, int32_t y);
  bool NeedsRedraw() const;
  // Whether (x, y) lies on the banner.
  bool HitTest(int32_t x, int32_t y) const;
  // The banner's link; empty when none.
  const char* GetLink() const;
};
