#include "cclient/lobby/lobby_banner.h"

#include <cstring>

#include <cstdio>

namespace {
constexpr int32_t kLobbyWidth = 800;
}  // namespace

void LobbyBanner::Setup(platform::HDC dc, platform::HDC background_dc, const char* normal_file,
                        const char* hover_file, const char* link, int32_t side) {
  side_ = side;
  background_dc_ = background_dc;
  empty_ = normal_file != nullptr && std::strncmp(normal_file, "000000000", 9) == 0;
  const bool normal_loaded = normal_file != nullptr && pictures_[0].Load(dc, normal_file);
  const bool hover_loaded = hover_file != nullptr && pictures_[1].Load(dc, hover_file);
  normal_ = &pictures_[0];
  hover_picture_ = &pictures_[1];
  if (!normal_loaded && !empty_ && hover_loaded) normal_ = &pictures_[1];
  if (!hover_loaded && normal_loaded) hover_picture_ = &pictures_[0];
  if (!hover_loaded && !normal_loaded) hover_picture_ = normal_;
  std::snprintf(link_, sizeof link_, "%s", link != nullptr ? link : "");
  const JpegImage* shown = normal_->GetDC() != nullptr ? normal_ : hover_picture_;
  const int32_t width = shown->GetWidth();
  rect_.top = 0;
  rect_.bottom = shown->GetHeight();
  rect_.left = side == kRightBanner ? kLobbyWidth - width : 0;
  rect_.right = side == kRightBanner ? kLobbyWidth : width;
  hover_ = false;
  needs_drawing_ = true;
}

void LobbyBanner::MouseMove(int32_t x, int32_t y) {
  if (normal_ == hover_picture_) return;
  const bool inside = HitTest(x, y);
  if (inside != hover_) {
    hover_ = inside;
    needs_drawing_ = true;
  }
}

bool LobbyBanner::HitTest(int32_t x, int32_t y) const {
  return x >= rect_.left && x < rect_.right && y >= rect_.top && y < rect_.bottom;
}

const JpegImage* LobbyBanner::Shown() const { return hover_ ? hover_picture_ : normal_; }

void LobbyBanner::Draw(platform::HDC window_dc, platform::HDC back_dc) {
  needs_drawing_ = false;
  const JpegImage* shown = Shown();
  const int32_t width = rect_.right - rect_.left;
  const int32_t height = rect_.bottom - rect_.top;
  platform::HDC source = shown != nullptr ? shown->GetDC() : nullptr;
  int32_t source_x = 0;
  int32_t source_y = 0;
  if (source == nullptr) {
    if (!empty_) return;
    source = background_dc_;
    source_x = rect_.left;
    source_y = rect_.top;
  }
  if (source == nullptr || width <= 0 || height <= 0) return;
  for (platform::HDC to : {back_dc, window_dc}) {
    if (to != nullptr) {
      platform::BitBlt(to, rect_.left, rect_.top, width, height, source, source_x, source_y,
                       platform::SRCCOPY);
    }
  }
}
