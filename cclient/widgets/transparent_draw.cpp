#include "cclient/widgets/transparent_draw.h"

namespace {

using platform::BitBlt;
using platform::HDC;

// The four work contexts of the mask method, each holding a bitmap of at least width x height:
// two colour ones (copy, work) and two monochrome ones (the masks).
struct MaskSurfaces {
  HDC copy;
  HDC work;
  HDC back_mask;
  HDC object_mask;
};

void RunMaskMethod(const MaskSurfaces& surfaces, HDC source, int32_t source_x, int32_t source_y, int32_t width,
                   int32_t height, HDC destination, int32_t x, int32_t y, platform::COLORREF key) {
  platform::SetMapMode(source, platform::GetMapMode(destination));
  BitBlt(surfaces.copy, 0, 0, width, height, source, source_x, source_y, platform::SRCCOPY);

  // A colour-to-monochrome copy turns the copy's background colour white and everything else black.
  const platform::COLORREF old_background = platform::SetBkColor(surfaces.copy, key);
  BitBlt(surfaces.object_mask, 0, 0, width, height, surfaces.copy, 0, 0, platform::SRCCOPY);
  platform::SetBkColor(surfaces.copy, old_background);
  BitBlt(surfaces.back_mask, 0, 0, width, height, surfaces.object_mask, 0, 0, platform::NOTSRCCOPY);

  // The destination survives where the key was and is black elsewhere; the source survives where
  // it was not the key and is black there; OR puts the two together.
  BitBlt(surfaces.work, 0, 0, width, height, destination, x, y, platform::SRCCOPY);
  BitBlt(surfaces.work, 0, 0, width, height, surfaces.object_mask, 0, 0, platform::SRCAND);
  BitBlt(surfaces.copy, 0, 0, width, height, surfaces.back_mask, 0, 0, platform::SRCAND);
  BitBlt(surfaces.work, 0, 0, width, height, surfaces.copy, 0, 0, platform::SRCPAINT);
  BitBlt(destination, x, y, width, height, surfaces.work, 0, 0, platform::SRCCOPY);
}

}  // namespace

void DrawTransparentBitmap(HDC source, int32_t source_x, int32_t source_y, int32_t width, int32_t height,
                           HDC destination, int32_t x, int32_t y, platform::COLORREF key) {
  const MaskSurfaces surfaces{platform::CreateCompatibleDC(destination), platform::CreateCompatibleDC(destination),
                              platform::CreateCompatibleDC(destination), platform::CreateCompatibleDC(destination)};
  platform::HBITMAP back_mask = platform::CreateBitmap(width, height, 1, 1, nullptr);
  platform::HBITMAP object_mask = platform::CreateBitmap(width, height, 1, 1, nullptr);
  platform::HBITMAP copy = platform::CreateCompatibleBitmap(destination, width, height);
  platform::HBITMAP work = platform::CreateCompatibleBitmap(destination, width, height);

  platform::HBITMAP old_back_mask = platform::SelectObject(surfaces.back_mask, back_mask);
  platform::HBITMAP old_object_mask = platform::SelectObject(surfaces.object_mask, object_mask);
  platform::HBITMAP old_copy = platform::SelectObject(surfaces.copy, copy);
  platform::HBITMAP old_work = platform::SelectObject(surfaces.work, work);

  RunMaskMethod(surfaces, source, source_x, source_y, width, height, destination, x, y, key);

  platform::SelectObject(surfaces.back_mask, old_back_mask);
  platform::SelectObject(surfaces.object_mask, old_object_mask);
  platform::SelectObject(surfaces.copy, old_copy);
  platform::SelectObject(surfaces.work, old_work);
  platform::DeleteObject(back_mask);
  platform::DeleteObject(object_mask);
  platform::DeleteObject(copy);
  platform::DeleteObject(work);
  platform::DeleteDC(surfaces.back_mask);
  platform::DeleteDC(surfaces.object_mask);
  platform::DeleteDC(surfaces.copy);
  platform::DeleteDC(surfaces.work);
}

TransparentDraw::TransparentDraw(Method method) : use_transparent_blt_(method == Method::kTransparentBlt) {}

TransparentDraw::~TransparentDraw() {
  platform::DeleteDC(copy_dc_);
  platform::DeleteDC(work_dc_);
  platform::DeleteDC(back_mask_dc_);
  platform::DeleteDC(object_mask_dc_);
  platform::DeleteObject(copy_bitmap_);
  platform::DeleteObject(back_mask_bitmap_);
  platform::DeleteObject(object_mask_bitmap_);
  platform::DeleteObject(work_bitmap_);
}

void TransparentDraw::Reserve(int32_t width, int32_t height) {
  if (width > reserved_width_) reserved_width_ = width;
  if (height > reserved_height_) reserved_height_ = height;
}

void TransparentDraw::Draw(HDC source, int32_t source_x, int32_t source_y, int32_t width, int32_t height,
                           HDC destination, int32_t x, int32_t y, platform::COLORREF key) {
  if (use_transparent_blt_) {
    platform::TransparentBlt(destination, x, y, width, height, source, source_x, source_y, width, height, key);
    return;
  }
  if (width > reserved_width_ || height > reserved_height_) return;
  if (!surfaces_made_) MakeSurfaces(destination);
  RunMaskMethod(MaskSurfaces{copy_dc_, work_dc_, back_mask_dc_, object_mask_dc_}, source, source_x, source_y,
                width, height, destination, x, y, key);
}

void TransparentDraw::MakeSurfaces(HDC destination) {
  copy_dc_ = platform::CreateCompatibleDC(destination);
  work_dc_ = platform::CreateCompatibleDC(destination);
  back_mask_dc_ = platform::CreateCompatibleDC(destination);
  object_mask_dc_ = platform::CreateCompatibleDC(destination);
  copy_bitmap_ = platform::CreateCompatibleBitmap(destination, reserved_width_, reserved_height_);
  back_mask_bitmap_ = platform::CreateBitmap(reserved_width_, reserved_height_, 1, 1, nullptr);
  object_mask_bitmap_ = platform::CreateBitmap(reserved_width_, reserved_height_, 1, 1, nullptr);
  work_bitmap_ = platform::CreateCompatibleBitmap(destination, reserved_width_, reserved_height_);
  platform::SelectObject(copy_dc_, copy_bitmap_);
  platform::SelectObject(back_mask_dc_, back_mask_bitmap_);
  platform::SelectObject(object_mask_dc_, object_mask_bitmap_);
  platform::SelectObject(work_dc_, work_bitmap_);
  surfaces_made_ = true;
}
