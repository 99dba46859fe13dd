// Writes a PNG that shows the drawing layer at work, for a person to look at: a table-like
// background, keyed sprites copied over it with TransparentBlt and with the four-step mask
// method, clip regions, lines, and text in both faces with several alignments.
//
// Usage: drawdemo OUTPUT.png
#include <cstdio>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/png_writer.h"
#include "platform/text/text.h"

using namespace platform;

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 560;
constexpr COLORREF kKey = RGB(255, 0, 255);

void Fill(HDC dc, RECT r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Felt: vertical bands of slowly changing green with a lighter oval table.
void PaintBackground(HDC dc) {
  for (int32_t x = 0; x < kWidth; x += 8) {
    const uint8_t g = static_cast<uint8_t>(70 + (x * 40) / kWidth);
    Fill(dc, {x, 0, x + 8, kHeight}, RGB(20, g, 45));
  }
  HRGN table = CreateEllipticRgn(60, 60, 740, 500);
  SelectClipRgn(dc, table);
  Fill(dc, {0, 0, kWidth, kHeight}, RGB(21, 110, 60));
  SelectClipRgn(dc, nullptr);
  DeleteObject(table);
  HPEN rim = CreatePen(PS_SOLID, 3, RGB(120, 80, 30));
  HPEN old = SelectObject(dc, rim);
  HBRUSH old_brush = SelectObject(dc, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Rectangle(dc, 20, 20, kWidth - 20, kHeight - 20);
  MoveToEx(dc, 40, kHeight - 40, nullptr);
  LineTo(dc, kWidth - 40, kHeight - 40);
  SelectObject(dc, old_brush);
  SelectObject(dc, old);
  DeleteObject(rim);
}

// A card: white face with a coloured centre and cut corners in the key colour.
HBITMAP MakeCard(COLORREF centre) {
  HBITMAP card = CreateCompatibleBitmap(nullptr, 56, 78);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, card);
  Fill(dc, {0, 0, 56, 78}, RGB(255, 255, 255));
  Fill(dc, {10, 14, 46, 64}, centre);
  const RECT frame{0, 0, 56, 78};
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
  for (int32_t t = 0; t < 2; ++t) {  // the stepped bevel: inset 2, then 1
    const int32_t inset = 2 - t;
    Fill(dc, {0, t, inset, t + 1}, kKey);
    Fill(dc, {56 - inset, t, 56, t + 1}, kKey);
    Fill(dc, {0, 77 - t, inset, 78 - t}, kKey);
    Fill(dc, {56 - inset, 77 - t, 56, 78 - t}, kKey);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return card;
}

// A chip seen from the side, as the table's chip pictures are: an elliptical top face with a
// striped rim and a darker edge below it, on a key background, so that chips copied a few pixels
// apart read as a stack.
constexpr int32_t kChipWidth = 30;
constexpr int32_t kChipHeight = 22;

HBITMAP MakeChip(COLORREF colour) {
  HBITMAP chip = CreateCompatibleBitmap(nullptr, kChipWidth, kChipHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, chip);
  const RECT all{0, 0, kChipWidth, kChipHeight};
  Fill(dc, all, kKey);
  const COLORREF edge = RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2);
  HRGN side = CreateEllipticRgn(0, 4, kChipWidth, kChipHeight);
  HRGN face = CreateEllipticRgn(0, 0, kChipWidth, kChipHeight - 4);
  HRGN centre = CreateEllipticRgn(6, 4, kChipWidth - 6, kChipHeight - 8);
  HRGN rim = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(rim, face, centre, RGN_DIFF);
  SelectClipRgn(dc, side);
  Fill(dc, all, edge);
  SelectClipRgn(dc, face);
  Fill(dc, all, colour);
  SelectClipRgn(dc, rim);
  for (int32_t x = 2; x < kChipWidth; x += 7) Fill(dc, {x, 0, x + 3, kChipHeight}, RGB(255, 255, 255));
  SelectClipRgn(dc, nullptr);
  for (HRGN region : {side, face, centre, rim}) DeleteObject(region);
  SelectObject(dc, old);
  DeleteDC(dc);
  return chip;
}

void MaskMethod(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height, HDC source) {
  HDC copy = CreateCompatibleDC(destination), work = CreateCompatibleDC(destination);
  HDC back = CreateCompatibleDC(destination), mask = CreateCompatibleDC(destination);
  HBITMAP copy_bitmap = CreateCompatibleBitmap(destination, width, height);
  HBITMAP work_bitmap = CreateCompatibleBitmap(destination, width, height);
  HBITMAP back_bitmap = CreateBitmap(width, height, 1, 1, nullptr);
  HBITMAP mask_bitmap = CreateBitmap(width, height, 1, 1, nullptr);
  HBITMAP old[4] = {SelectObject(copy, copy_bitmap), SelectObject(work, work_bitmap), SelectObject(back, back_bitmap),
                    SelectObject(mask, mask_bitmap)};
  BitBlt(copy, 0, 0, width, height, source, 0, 0, SRCCOPY);
  const COLORREF saved = SetBkColor(copy, kKey);
  BitBlt(mask, 0, 0, width, height, copy, 0, 0, SRCCOPY);
  SetBkColor(copy, saved);
  BitBlt(back, 0, 0, width, height, mask, 0, 0, NOTSRCCOPY);
  BitBlt(work, 0, 0, width, height, destination, x, y, SRCCOPY);
  BitBlt(work, 0, 0, width, height, mask, 0, 0, SRCAND);
  BitBlt(copy, 0, 0, width, height, back, 0, 0, SRCAND);
  BitBlt(work, 0, 0, width, height, copy, 0, 0, SRCPAINT);
  BitBlt(destination, x, y, width, height, work, 0, 0, SRCCOPY);
  SelectObject(copy, old[0]);
  SelectObject(work, old[1]);
  SelectObject(back, old[2]);
  SelectObject(mask, old[3]);
  for (HDC dc : {copy, work, back, mask}) DeleteDC(dc);
  for (HBITMAP b : {copy_bitmap, work_bitmap, back_bitmap, mask_bitmap}) DeleteObject(b);
}

void DrawSprites(HDC dc) {
  const COLORREF centres[] = {RGB(200, 30, 30), RGB(30, 30, 30), RGB(40, 90, 200), RGB(30, 150, 60)};
  HDC sprite = CreateCompatibleDC(dc);
  for (int32_t i = 0; i < 4; ++i) {
    HBITMAP card = MakeCard(centres[i]);
    HBITMAP old = SelectObject(sprite, card);
    TransparentBlt(dc, 250 + i * 64, 200, 56, 78, sprite, 0, 0, 56, 78, kKey);  // the board
    MaskMethod(dc, 250 + i * 64 + 20, 300, 56, 78, sprite);                        // fanned by the mask method
    SelectObject(sprite, old);
    DeleteObject(card);
  }
  const COLORREF chips[] = {RGB(220, 40, 40), RGB(40, 40, 220), RGB(20, 20, 20)};
  for (int32_t stack = 0; stack < 3; ++stack) {
    HBITMAP chip = MakeChip(chips[stack]);
    HBITMAP old = SelectObject(sprite, chip);
    for (int32_t j = 0; j < 5 + stack; ++j) {
      TransparentBlt(dc, 150 + stack * 40, 340 - j * 4, kChipWidth, kChipHeight, sprite, 0, 0, kChipWidth,
                     kChipHeight, kKey);
    }
    SelectObject(sprite, old);
    DeleteObject(chip);
  }
  // A chip half off the picture's edge, clipped.
  HBITMAP chip = MakeChip(RGB(230, 200, 40));
  HBITMAP old = SelectObject(sprite, chip);
  TransparentBlt(dc, -15, 100, kChipWidth, kChipHeight, sprite, 0, 0, kChipWidth, kChipHeight, kKey);
  SelectObject(sprite, old);
  DeleteObject(chip);
  DeleteDC(sprite);
}

void Text(HDC dc, const char* face, int32_t height, int32_t weight, COLORREF colour, RECT r, uint32_t format,
          const char* text) {
  HFONT font = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, VARIABLE_PITCH, face);
  HFONT old = SelectObject(dc, font);
  SetTextColor(dc, colour);
  DrawText(dc, text, -1, &r, format);
  SelectObject(dc, old);
  DeleteObject(font);
}

void DrawTexts(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  const COLORREF light = RGB(0xEE, 0xEE, 0xEE);
  Text(dc, "Arial", 18, FW_BOLD, light, {0, 70, kWidth, 100}, DT_CENTER | DT_SINGLELINE,
       "Texas Hold'em Poker Table - Arial 18 bold");
  Text(dc, "Arial", 15, FW_BOLD, RGB(255, 255, 128), {340, 46, 458, 60}, 297, "All-Ins Remaining:3");
  Text(dc, "MS Sans Serif", 13, FW_NORMAL, light, {40, 110, 240, 200}, DT_WORDBREAK,
       "MS Sans Serif 13: chat lines wrap at blanks when a word would pass the right edge.\nA new line here.");
  Text(dc, "Arial", 14, FW_NORMAL, RGB(128, 255, 255), {560, 110, 760, 130}, DT_RIGHT | DT_SINGLELINE,
       "Dealer: right aligned");
  Text(dc, "MS Sans Serif", -11, FW_NORMAL, light, {460, 130, 760, 150}, DT_RIGHT | DT_SINGLELINE,
       "MS Sans Serif 8pt: 0123456789 $1,250.00");
  // An opaque label with its own background colour.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(96, 96, 96));
  Text(dc, "Arial", 16, FW_BOLD, RGB(255, 255, 255), {250, 400, 550, 430}, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
       " Winner: $125.50 ");
  SetBkMode(dc, TRANSPARENT);
  // A name inside an ellipse clip, as a seat's iris transition shows it.
  Fill(dc, {560, 380, 651, 415}, RGB(40, 40, 40));
  HRGN iris = CreateEllipticRgn(575, 383, 640, 412);
  SelectClipRgn(dc, iris);
  Fill(dc, {560, 380, 651, 415}, RGB(60, 60, 120));
  Text(dc, "Arial", 13, FW_NORMAL, light, {560, 383, 651, 412}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, "Player One");
  SelectClipRgn(dc, nullptr);
  DeleteObject(iris);
  Text(dc, "Arial", 18, FW_BOLD, RGB(0x0E, 0x0E, 0x0E), {40, 470, 400, 500}, DT_LEFT | DT_BOTTOM | DT_SINGLELINE,
       "Dark text: Arial bottom-aligned, \x80 \xE9\xE8 \x93quotes\x94");
  Text(dc, "MS Sans Serif", 16, FW_BOLD, RGB(255, 255, 255), {420, 470, 760, 500},
       DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, "MS Sans Serif 16 bold, right");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: drawdemo OUTPUT.png\n");
    return 2;
  }
  Surface picture(kWidth, kHeight);
  HDC dc = CreateSurfaceDC(&picture);
  PaintBackground(dc);
  DrawSprites(dc);
  DrawTexts(dc);
  DeleteDC(dc);
  if (!SaveSurfacePng(picture, argv[1])) {
    std::fprintf(stderr, "drawdemo: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
