#include "cclient/games/blackjack/capped_picture.h"

#include <algorithm>

bool LoadCappedPicture(const char* file, int32_t left_cap, int32_t right_cap, platform::COLORREF key,
                       CappedPicture* out) {
  ReleaseCappedPicture(out);
  if (!LoadBitmapFile(file, &out->picture)) return false;
  const platform::SIZE size = GetBitmapFileSize(out->picture);
  out->width = size.cx;
  out->height = size.cy;
  out->left_cap = std::clamp(left_cap, 0, out->width);
  out->right_cap = std::clamp(right_cap, 0, out->width - out->left_cap);
  out->key = key;
  return true;
}

void ReleaseCappedPicture(CappedPicture* picture) {
  ReleaseBitmapFile(&picture->picture);
  picture->width = picture->height = 0;
}

void DrawCappedPicture(const CappedPicture& picture, TransparentDraw* drawer, platform::HDC dc, int32_t x, int32_t y,
                       int32_t body_width) {
  if (!picture.Loaded() || drawer == nullptr) return;
  const int32_t middle_from = picture.left_cap;
  const int32_t middle_width = picture.width - picture.left_cap - picture.right_cap;
  if (picture.left_cap > 0) {
    drawer->Draw(picture.picture.dc, 0, 0, picture.left_cap, picture.height, dc, x, y, picture.key);
  }
  int32_t at = x + picture.left_cap;
  const int32_t body_end = at + std::max(body_width, 0);
  while (middle_width > 0 && at < body_end) {
    const int32_t piece = std::min(middle_width, body_end - at);
    drawer->Draw(picture.picture.dc, middle_from, 0, piece, picture.height, dc, at, y, picture.key);
    at += piece;
  }
  if (picture.right_cap > 0) {
    drawer->Draw(picture.picture.dc, picture.width - picture.right_cap, 0, picture.right_cap, picture.height, dc,
                 body_end, y, picture.key);
  }
}
