#include "cclient/widgets/card_images.h"

#include "cclient/widgets/card_bevel.h"

namespace {

constexpr int32_t kBevelStep = 2;

// Reads a raw picture that must be 24-bit and exactly width x height; anything else is released
// and refused, so that no reader of the block can run past it.
bool LoadRawPicture(const char* file_name, int32_t width, int32_t height, BmpImage* image) {
  *image = BmpImage{};
  if (LoadBmp(file_name, &image->width, &image->height, &image->bits, &image->block) != LOADBMP_OK) return false;
  if (image->bits == 24 && image->width == width && image->height == height) return true;
  FreeBmp(&image->block);
  *image = BmpImage{};
  return false;
}

void DrawFromSet(platform::HDC dc, int32_t x, int32_t y, int32_t card, int32_t width, int32_t height,
                 const BitmapFile& faces, const BitmapFile& back) {
  if (IsCardFace(card)) {
    DrawSteppedCard(dc, x, y, width, height, faces.dc, (card % kCardSheetColumns) * width,
                    (card / kCardSheetColumns) * height, kBevelStep);
  } else {
    DrawSteppedCard(dc, x, y, width, height, back.dc, 0, 0, kBevelStep);
  }
}

}  // namespace

const char* CardImages::Load(const char* faces_file, const char* back_file) {
  Release();
  (void)LoadBitmapFile(faces_file, &faces_);
  (void)LoadBitmapFile(back_file, &back_);
  return nullptr;
}

void CardImages::Release() {
  ReleaseBitmapFile(&faces_);
  ReleaseBitmapFile(&back_);
}

void CardImages::DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const {
  DrawFromSet(dc, x, y, card, kCardWidth, kCardHeight, faces_, back_);
}

const char* BigCardImages::Load(const char* faces_file, const char* back_file) {
  Release();
  if (!LoadRawPicture(kRawFacesFile, kCardWidth * kCardSheetColumns, kCardHeight * kCardSheetRows, &raw_faces_)) {
    return "Unable to load raw big cards image";
  }
  if (!LoadRawPicture(kRawBackFile, kCardWidth, kCardHeight, &raw_back_)) {
    return "Unable to load raw big cards back image";
  }
  (void)LoadBitmapFile(faces_file, &faces_);
  (void)LoadBitmapFile(back_file, &back_);
  return nullptr;
}

void BigCardImages::Release() {
  ReleaseBitmapFile(&faces_);
  ReleaseBitmapFile(&back_);
  FreeBmp(&raw_faces_.block);
  FreeBmp(&raw_back_.block);
  raw_faces_ = BmpImage{};
  raw_back_ = BmpImage{};
}

void BigCardImages::DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const {
  DrawFromSet(dc, x, y, card, kCardWidth, kCardHeight, faces_, back_);
}

CardImages& GlobalCardImages() {
  static CardImages images;
  return images;
}

BigCardImages& GlobalBigCardImages() {
  static BigCardImages images;
  return images;
}
