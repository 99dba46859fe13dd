// How the client draws a ".b" picture: the file is loaded as a bitmap of its own size and
// selected into a memory context of its own, from which owners copy it with BitBlt or
// TransparentDraw.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/draw/gdi.h"

// A loaded picture. Owned by whoever loaded it and released with ReleaseBitmapFile.
struct BitmapFile {
  platform::HDC dc = nullptr;
  platform::HBITMAP bitmap = nullptr;
};

// Loads the file (LoadImage, IMAGE_BITMAP, size 0 x 0, LR_LOADFROMFILE | LR_DEFAULTSIZE) and
// selects it into a new memory context made with no reference context. Returns false, leaving
// both handles null, when the file does not load; each owner decides whether that matters.
bool LoadBitmapFile(const char* file_name, BitmapFile* picture);

// The picture's width and height (0 x 0 when nothing is loaded).
platform::SIZE GetBitmapFileSize(const BitmapFile& picture);

// Deletes the context, then the bitmap, each only when present, and clears both handles.
void ReleaseBitmapFile(BitmapFile* picture);
