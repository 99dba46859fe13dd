// One of the lobby's two banners (left and right) at the top of the lobby: a picture that changes
// on hover and a link the main window opens on a click, drawn into the lobby's back buffer.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "cclient/lobby/jpeg_image.h"
#include "platform/draw/gdi.h"

constexpr int32_t kLeftBanner = 0;
constexpr int32_t kRightBanner = 1;

class LobbyBanner {
 public:
  static constexpr uint32_t kLinkBytes = 128;

  LobbyBanner() = default;
  virtual ~LobbyBanner() = default;

  // Loads the banner's pictures and keeps its link; `side` is kLeftBanner or kRightBanner. A
  // normal file whose name starts with nine "0" marks an empty banner. A picture that does not
  // load is replaced by the other one.
  void Setup(platform::HDC dc, platform::HDC background_dc, const char* normal_file,
             const char* hover_file, const char* link, int32_t side);
  void Draw(platform::HDC window_dc, platform::HDC back_dc);
  void MouseMove(int32_t x, int32_t y);
  bool NeedsRedraw() const { return needs_drawing_; }
  // Whether (x, y) lies on the banner (right and bottom edges excluded).
  bool HitTest(int32_t x, int32_t y) const;
  // The banner's link; empty when none.
  const char* GetLink() const { return link_; }
  bool IsHovering() const { return hover_; }
  bool IsEmptyBanner() const { return empty_; }
  platform::RECT Rect() const { return rect_; }

 private:
  const JpegImage* Shown() const;

  char link_[kLinkBytes] = {};
  int32_t side_ = kLeftBanner;
  JpegImage pictures_[2];
  const JpegImage* normal_ = nullptr;
  const JpegImage* hover_picture_ = nullptr;
  platform::HDC background_dc_ = nullptr;
  platform::RECT rect_ = {0, 0, 0, 0};
  bool needs_drawing_ = true;
  bool hover_ = false;
  bool empty_ = false;
};
