#include "cclient/games/kit/game_frame.h"

#include "cclient/widgets/jpeg_file.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

// 0 decoded at the right size, 1 did not decode, 2 decoded at another size or depth.
int ReadPicture(const char* path, uint8_t** pixels) {
  int32_t width = 0, height = 0, bits = 0;
  *pixels = nullptr;
  if (path == nullptr || path[0] == '\0') return 1;
  if (DecodeJpegFile(path, &width, &height, &bits, pixels) != nullptr || *pixels == nullptr) {
    FreeDecodedImage(pixels);
    return 1;
  }
  if (width != GameFrame::kWidth || height != GameFrame::kHeight || bits != 24) {
    FreeDecodedImage(pixels);
    return 2;
  }
  return 0;
}

bool MakeSurface(BitmapFile* out, const uint8_t* pixels) {
  out->dc = platform::CreateCompatibleDC(nullptr);
  platform::BITMAPINFO info{};
  info.bmiHeader = {sizeof(platform::BITMAPINFOHEADER), GameFrame::kWidth, -GameFrame::kHeight, 1, 24,
                    platform::BI_RGB, 0, 0, 0, 0, 0};
  out->bitmap = platform::CreateCompatibleBitmap(out->dc, GameFrame::kWidth, GameFrame::kHeight);
  if (out->dc == nullptr || out->bitmap == nullptr) {
    ReleaseBitmapFile(out);
    return false;
  }
  platform::SelectObject(out->dc, out->bitmap);
  platform::SetDIBitsToDevice(out->dc, 0, 0, GameFrame::kWidth, GameFrame::kHeight, 0, 0, 0, GameFrame::kHeight,
                              pixels, &info, platform::DIB_RGB_COLORS);
  return true;
}

}  // namespace

GameFrame::~GameFrame() { Release(); }

const char* GameFrame::LoadBackground(const char* first, const char* builtin) {
  uint8_t* pixels = nullptr;
  int result = ReadPicture(first, &pixels);
  if (result != 0) result = ReadPicture(builtin, &pixels);
  if (result == 1) return "Unable to load background image";
  if (result == 2) return "Invalid background image size or depth";
  SwapRedBlue(pixels, kWidth * kHeight);
  BitmapFile back, background;
  const bool made = MakeSurface(&back, pixels) && MakeSurface(&background, pixels);
  FreeDecodedImage(&pixels);
  if (!made) {
    ReleaseBitmapFile(&back);
    ReleaseBitmapFile(&background);
    return "Unable to load background image";
  }
  ReleaseBitmapFile(&back_);
  ReleaseBitmapFile(&background_);
  back_ = back;
  background_ = background;
  platform::SetBkMode(back_.dc, platform::TRANSPARENT);
  redraw_all_ = true;
  return nullptr;
}

void GameFrame::AddDirty(const platform::RECT& rect) {
  dirty_.Add(rect);
  if (dirty_.Overflowed()) redraw_all_ = true;
}

void GameFrame::ReleaseWindowDC() {
  if (window_dc_ != nullptr && dc_window_ != nullptr && platform::IsWindow(dc_window_)) {
    platform::ReleaseDC(dc_window_, window_dc_);
  }
  window_dc_ = nullptr;
  dc_window_ = nullptr;
}

void GameFrame::Present(platform::HWND window) {
  if (!HasSurfaces() || window == nullptr || !platform::IsWindow(window)) {
    dirty_.Clear();
    return;
  }
  if (window_dc_ != nullptr && (dc_window_ != window || !platform::IsWindow(dc_window_))) ReleaseWindowDC();
  bool whole = redraw_all_ || dirty_.Overflowed();
  if (window_dc_ == nullptr) {
    window_dc_ = platform::GetDC(window);
    dc_window_ = window;
    whole = true;
  }
  if (window_dc_ == nullptr) return;
  if (whole) {
    platform::BitBlt(window_dc_, 0, 0, kWidth, kHeight, back_.dc, 0, 0, platform::SRCCOPY);
  } else {
    for (int32_t i = 0; i < dirty_.Count(); ++i) {
      const platform::RECT& r = dirty_[i];
      platform::BitBlt(window_dc_, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, back_.dc, r.left,
                       r.top, platform::SRCCOPY);
    }
    if (dirty_.Count() > largest_count_) largest_count_ = dirty_.Count();
  }
  dirty_.Clear();
  redraw_all_ = false;
}

void GameFrame::Release() {
  ReleaseWindowDC();
  ReleaseBitmapFile(&back_);
  ReleaseBitmapFile(&background_);
}
