// The global card sets drawn by the lobby-side games: the small cards (48 x 66) and the big cards
// (72 x 100). Each loads its face sheet and its back picture once into memory contexts and draws
// a card with the stepped corners of card_bevel.h (step 2).
//
// A card index 0-51 is a face, in column index mod 13 and row index / 13 of the sheet; any other
// index draws the back from the back picture's top-left corner.
//
// The main window loads both sets at start-up and again when the deck options change
// (Main_LoadCards); each load releases first. UI thread only.
#pragma once

#include <cstdint>

#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/bmp_reader.h"
#include "platform/draw/gdi.h"

class CardImages {
 public:
  static constexpr int32_t kCardWidth = 48;
  static constexpr int32_t kCardHeight = 66;

  CardImages() = default;
  ~CardImages() { Release(); }
  CardImages(const CardImages&) = delete;
  CardImages& operator=(const CardImages&) = delete;

  // Releases, then loads both files. A file that does not load leaves its context empty, and
  // copies from it draw nothing; the result is always none.
  const char* Load(const char* faces_file, const char* back_file);
  void Release();
  // Rows 0 and 65 are 44 pixels wide at x + 2, rows 1 and 64 46 wide at x + 1, the rest 48 wide.
  void DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const;

 private:
  BitmapFile faces_;
  BitmapFile back_;
};

class BigCardImages {
 public:
  static constexpr int32_t kCardWidth = 72;
  static constexpr int32_t kCardHeight = 100;
  // The raw pictures are always read from these files, whatever faces file is drawn.
  static constexpr const char* kRawFacesFile = "cardsbig.b";
  static constexpr const char* kRawBackFile = "cardbacb.b";

  BigCardImages() = default;
  ~BigCardImages() { Release(); }
  BigCardImages(const BigCardImages&) = delete;
  BigCardImages& operator=(const BigCardImages&) = delete;

  // Releases; reads the raw pixels of "cardsbig.b", then of "cardbacb.b", each of which must be a
  // 24-bit picture of the sheet's size (936 x 400) or one card's (72 x 100): otherwise the result
  // is "Unable to load raw big cards image" or "Unable to load raw big cards back image" and
  // nothing further is loaded. Then loads the faces and back files for drawing; none.
  const char* Load(const char* faces_file, const char* back_file);
  void Release();
  // Rows 0 and 99 are 68 wide at x + 2, rows 1 and 98 70 wide at x + 1, the rest 72 wide.
  void DrawCard(platform::HDC dc, int32_t x, int32_t y, int32_t card) const;

  const BmpImage& RawFaces() const { return raw_faces_; }
  const BmpImage& RawBack() const { return raw_back_; }

 private:
  BitmapFile faces_;
  BitmapFile back_;
  BmpImage raw_faces_;
  BmpImage raw_back_;
};

// The program's two sets, built empty before start-up and released at shut-down.
CardImages& GlobalCardImages();
BigCardImages& GlobalBigCardImages();
