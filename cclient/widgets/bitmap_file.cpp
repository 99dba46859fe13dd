#include "cclient/widgets/bitmap_file.h"

bool LoadBitmapFile(const char* file_name, BitmapFile* picture) {
  picture->dc = nullptr;
  picture->bitmap = static_cast<platform::HBITMAP>(platform::LoadImage(
      file_name, platform::IMAGE_BITMAP, 0, 0, platform::LR_LOADFROMFILE | platform::LR_DEFAULTSIZE));
  if (picture->bitmap == nullptr) return false;
  picture->dc = platform::CreateCompatibleDC(nullptr);
  if (picture->dc == nullptr) {
    ReleaseBitmapFile(picture);
    return false;
  }
  platform::SelectObject(picture->dc, picture->bitmap);
  return true;
}

platform::SIZE GetBitmapFileSize(const BitmapFile& picture) {
  platform::BITMAP record{};
  if (picture.bitmap == nullptr || platform::GetObject(picture.bitmap, sizeof record, &record) == 0) return {0, 0};
  return {record.bmWidth, record.bmHeight};
}

void ReleaseBitmapFile(BitmapFile* picture) {
  if (picture->dc != nullptr) platform::DeleteDC(picture->dc);
  picture->dc = nullptr;
  if (picture->bitmap != nullptr) platform::DeleteObject(picture->bitmap);
  picture->bitmap = nullptr;
}
