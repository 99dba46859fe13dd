#include "cclient/widgets/card_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "cclient/widgets/black_jack_card.h"
#include "cclient/widgets/card_painter.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"
#include "tests/cclient/widgets/card_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/platform/draw/picture_compare.h"
#include "tests/support/temp_program_folder.h"

namespace {

using platform::COLORREF;
using platform::HDC;

constexpr COLORREF kFelt = platform::RGB(0, 90, 30);

// The inset of row `row` of a card `height` rows high with stepped corners of `step`.
int32_t Inset(int32_t row, int32_t height, int32_t step) {
  const int32_t from_edge = std::min(row, height - 1 - row);
  return from_edge < step ? step - from_edge : 0;
}

// All 52 faces, then the backs of cards -1 and 52, in a grid of 14 x 4 cells of w x h with a gap
// of 3 pixels: each drawn by `draw`, and what the cell layout and the bevels (of the faces and of
// the back) say must appear.
void CheckWholeDeck(const std::string& name, int32_t w, int32_t h, int32_t face_step, int32_t back_step,
                    const std::function<void(HDC, int32_t, int32_t, int32_t)>& draw) {
  const int32_t pitch_x = w + 3;
  const int32_t pitch_y = h + 3;
  MemoryPicture actual(14 * pitch_x, 4 * pitch_y);
  actual.Fill(kFelt);
  platform::Surface expected = actual.picture();
  const auto place = [&](int32_t index, int32_t* x, int32_t* y) {
    *x = index < 52 ? (index % 13) * pitch_x : 13 * pitch_x;
    *y = index < 52 ? (index / 13) * pitch_y : (index - 52) * pitch_y;
  };
  for (int32_t index = 0; index < 54; ++index) {
    const int32_t card = index < 52 ? index : (index == 52 ? -1 : 52);
    int32_t x = 0;
    int32_t y = 0;
    place(index, &x, &y);
    draw(actual.dc, x, y, card);
    const bool face = card >= 0 && card < 52;
    for (int32_t row = 0; row < h; ++row) {
      const int32_t inset = Inset(row, h, face ? face_step : back_step);
      for (int32_t column = inset; column < w - inset; ++column) {
        const COLORREF c = face ? FaceColour(card, column, row) : BackColour(column, row);
        uint8_t* p = expected.Row(y + row) + static_cast<size_t>(x + column) * 3;
        p[0] = platform::GetBValue(c);
        p[1] = platform::GetGValue(c);
        p[2] = platform::GetRValue(c);
      }
    }
  }
  EXPECT_TRUE(SamePicture(actual.picture(), expected, name));
}

class CardImagesTest : public ProgramFolderTest {
 protected:
  void WriteSet(const std::string& faces, const std::string& back, int32_t w, int32_t h) {
    folder_.WriteFile(faces, FaceSheetBmp(w, h).Bytes());
    folder_.WriteFile(back, BackBmp(w, h).Bytes());
  }
};

TEST_F(CardImagesTest, every_set_draws_each_face_from_its_cell_and_the_back_with_stepped_corners) {
  WriteSet("cards.b", "cardback.b", 48, 66);
  WriteSet("cardsbig.b", "cardbacb.b", 72, 100);
  WriteSet("cardssml.b", "cardbacs.b", 56, 78);
  WriteSet("bjfaces.b", "bjback.b", 20, 30);

  CardImages small;
  ASSERT_EQ(small.Load("cards.b", "cardback.b"), nullptr);
  CheckWholeDeck("card_images_small", 48, 66, 2, 2,
                 [&](HDC dc, int32_t x, int32_t y, int32_t card) { small.DrawCard(dc, x, y, card); });

  BigCardImages big;
  ASSERT_EQ(big.Load("cardsbig.b", "cardbacb.b"), nullptr);
  CheckWholeDeck("card_images_big", 72, 100, 2, 2,
                 [&](HDC dc, int32_t x, int32_t y, int32_t card) { big.DrawCard(dc, x, y, card); });

  CardSheet sheet;
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  CheckWholeDeck("card_sheet", 56, 78, 2, 2,
                 [&](HDC dc, int32_t x, int32_t y, int32_t card) { sheet.DrawCard(dc, x, y, card); });

  for (int32_t radius : {0, 1, 3}) {
    BlackJackCard set;
    ASSERT_TRUE(set.Load("bjfaces.b", "bjback.b", radius));
    EXPECT_EQ(set.GetCardSize().cx, 20);
    EXPECT_EQ(set.GetCardSize().cy, 30);
    CheckWholeDeck("black_jack_card_r" + std::to_string(radius), 20, 30, radius, radius,
                   [&](HDC dc, int32_t x, int32_t y, int32_t card) { set.DrawCard(dc, x, y, card); });
  }

  // With a sheet attached, the sheet draws.
  BlackJackCard attached;
  ASSERT_TRUE(attached.Load(nullptr, "bjback.b", 2));
  EXPECT_TRUE(attached.AttachSheet(&sheet));
  EXPECT_FALSE(attached.AttachSheet(nullptr));
  EXPECT_TRUE(attached.AttachSheet(&sheet));
  CheckWholeDeck("black_jack_card_on_sheet", 56, 78, 2, 2,
                 [&](HDC dc, int32_t x, int32_t y, int32_t card) { attached.DrawCard(dc, x, y, card); });
}

TEST_F(CardImagesTest, a_painter_draws_the_table_back_with_its_bevel_and_faces_from_the_sheet) {
  WriteSet("cardssml.b", "cardbacs.b", 56, 78);
  folder_.WriteFile("4000.b", BackBmp(56, 78).Bytes());
  CardSheet sheet;
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  CardPainter painter;
  ASSERT_TRUE(painter.Load(&sheet, "4000.b", 1));
  EXPECT_EQ(CardPainter::SharedBackSize().cx, 56);
  CheckWholeDeck("card_painter", 56, 78, 2, 1, [&](HDC dc, int32_t x, int32_t y, int32_t card) {
    (void)painter.Draw(dc, x, y, card, false, -1);
  });
  CardPainter missing;
  EXPECT_FALSE(missing.Load(&sheet, "none.b", 1));
}

TEST_F(CardImagesTest, card_top_draws_the_top_rows_with_the_insets_of_the_whole_card) {
  WriteSet("cardssml.b", "cardbacs.b", 56, 78);
  CardSheet sheet;
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  struct Case {
    int32_t height;
    int32_t rows_drawn;
  } const cases[] = {{-3, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {75, 75}, {76, 76}, {77, 77}, {78, 78}, {200, 78}};
  for (const Case& c : cases) {
    MemoryPicture canvas(60, 90);
    canvas.Fill(kFelt);
    sheet.DrawCardTop(canvas.dc, 2, 5, 14, c.height);
    for (int32_t row = 0; row < 80; ++row) {
      int32_t width = 0;
      int32_t first = -1;
      for (int32_t x = 0; x < 60; ++x) {
        if (canvas.At(x, 5 + row) == kFelt) continue;
        if (first < 0) first = x;
        ++width;
      }
      if (row >= c.rows_drawn) {
        EXPECT_EQ(width, 0) << "height " << c.height << " row " << row;
        continue;
      }
      const int32_t inset = Inset(row, 78, 2);
      EXPECT_EQ(width, 56 - 2 * inset) << "height " << c.height << " row " << row;
      EXPECT_EQ(first, 2 + inset) << "height " << c.height << " row " << row;
      EXPECT_EQ(canvas.At(first, 5 + row), FaceColour(14, inset, row));
    }
  }
}

TEST_F(CardImagesTest, painter_sizes_follow_the_clip_line_and_the_back) {
  WriteSet("cardssml.b", "cardbacs.b", 56, 78);
  folder_.WriteFile("4000.b", BackBmp(60, 80).Bytes());
  CardSheet sheet;
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  CardPainter painter;
  ASSERT_TRUE(painter.Load(&sheet, "4000.b", 1));
  struct Case {
    const char* name;
    int32_t y;
    int32_t card;
    bool sheet_back;
    int32_t bottom_y;
    int32_t width;
    int32_t height;
  } const cases[] = {
      {"table back", 10, -1, false, -1, 60, 80},
      {"table back ignores the clip", 10, 52, false, 5, 60, 80},
      {"sheet back whole", 10, -1, true, -1, 56, 78},
      {"face whole", 10, 7, false, -1, 56, 78},
      {"clip one row above", 10, 7, false, 9, 0, 0},
      {"clip on the top row", 10, 7, false, 10, 56, 1},
      {"clip inside", 10, 7, false, 39, 56, 30},
      {"clip below the card", 10, 7, false, 300, 56, 78},
  };
  for (const Case& c : cases) {
    MemoryPicture canvas(100, 100);
    const platform::SIZE drawn = painter.Draw(canvas.dc, 0, c.y, c.card, c.sheet_back, c.bottom_y);
    EXPECT_EQ(drawn.cx, c.width) << c.name;
    EXPECT_EQ(drawn.cy, c.height) << c.name;
    const platform::SIZE measured = UnpackDrawSize(CardPainter::GetDrawSize(c.y, c.card, c.sheet_back, c.bottom_y));
    EXPECT_EQ(measured.cx, c.width) << c.name;
    EXPECT_EQ(measured.cy, c.height) << c.name;
  }
}

TEST_F(CardImagesTest, big_cards_fail_on_their_raw_pictures_only) {
  struct Case {
    const char* name;
    std::string sheet;  // empty: no file
    std::string back;
    const char* error;
  } const cases[] = {
      {"both good", FaceSheetBmp(72, 100).Bytes(), BackBmp(72, 100).Bytes(), nullptr},
      {"no sheet", "", BackBmp(72, 100).Bytes(), "Unable to load raw big cards image"},
      {"sheet of the small size", FaceSheetBmp(56, 78).Bytes(), BackBmp(72, 100).Bytes(),
       "Unable to load raw big cards image"},
      {"sheet of 8 bits", EightBitBmp(936, 400).Bytes(), BackBmp(72, 100).Bytes(),
       "Unable to load raw big cards image"},
      {"no back", FaceSheetBmp(72, 100).Bytes(), "", "Unable to load raw big cards back image"},
      {"back of another size", FaceSheetBmp(72, 100).Bytes(), BackBmp(56, 78).Bytes(),
       "Unable to load raw big cards back image"},
  };
  for (const Case& c : cases) {
    TempProgramFolder folder;
    if (!c.sheet.empty()) folder.WriteFile("cardsbig.b", c.sheet);
    if (!c.back.empty()) folder.WriteFile("cardbacb.b", c.back);
    // The four-colour faces are drawn, but the raw pictures always come from "cardsbig.b".
    folder.WriteFile("cards4cb.b", FaceSheetBmp(72, 100).Bytes());
    BigCardImages big;
    const char* error = big.Load("cards4cb.b", "cardbacb.b");
    if (c.error == nullptr) {
      EXPECT_EQ(error, nullptr) << c.name;
      EXPECT_EQ(big.RawFaces().width, 936) << c.name;
      EXPECT_NE(big.RawBack().block, nullptr) << c.name;
    } else {
      ASSERT_NE(error, nullptr) << c.name;
      EXPECT_STREQ(error, c.error) << c.name;
      EXPECT_EQ(big.RawBack().block, nullptr) << c.name;
    }
  }
}

TEST_F(CardImagesTest, a_sheet_hands_out_each_cell_of_its_raw_faces_bottom_row_first) {
  WriteSet("cardssml.b", "cardbacs.b", 56, 78);
  CardSheet sheet;
  ASSERT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr);
  ASSERT_NE(sheet.RawFaces(), nullptr);
  for (int32_t card : {0, 12, 13, 38, 51}) {
    const uint8_t* cell = sheet.CellPixels(card);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell - sheet.RawFaces(), (3 - card / 13) * 78 * 2184 + (card % 13) * 168) << card;
    // The cell's first row is the card's bottom row; a row up is one stride on.
    const COLORREF bottom_right = FaceColour(card, 55, 77);
    EXPECT_EQ(cell[55 * 3], platform::GetBValue(bottom_right)) << card;
    EXPECT_EQ(cell[2184 * 77 + 2], platform::GetRValue(FaceColour(card, 0, 0))) << card;
  }
  EXPECT_EQ(sheet.CellPixels(-1), nullptr);
  EXPECT_EQ(sheet.CellPixels(52), nullptr);
}

TEST_F(CardImagesTest, a_sheet_of_the_wrong_size_or_depth_draws_but_gives_no_raw_pixels) {
  struct Case {
    const char* name;
    BmpFixture faces;
  } const cases[] = {
      {"cells of the big cards", FaceSheetBmp(72, 100)},
      {"eight bits", EightBitBmp(728, 312)},
  };
  for (const Case& c : cases) {
    TempProgramFolder folder;
    folder.WriteFile("cardssml.b", c.faces.Bytes());
    folder.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
    CardSheet sheet;
    EXPECT_EQ(sheet.Load("cardssml.b", "cardbacs.b"), nullptr) << c.name;
    EXPECT_EQ(sheet.RawFaces(), nullptr) << c.name;
    EXPECT_EQ(sheet.CellPixels(0), nullptr) << c.name;
    MemoryPicture canvas(60, 80);
    canvas.Fill(kFelt);
    sheet.DrawCard(canvas.dc, 0, 0, -1);
    EXPECT_EQ(canvas.At(10, 10), BackColour(10, 10)) << c.name;
  }
}

TEST_F(CardImagesTest, a_black_jack_back_gives_its_raw_pixels_only_at_24_bits_and_its_own_size) {
  folder_.WriteFile("cardbacs.b", BackBmp(56, 78).Bytes());
  folder_.WriteFile("grey.b", EightBitBmp(56, 78).Bytes());
  BlackJackCard good;
  ASSERT_TRUE(good.Load("", "cardbacs.b", 2));
  const uint8_t* pixels = good.GetBackPixels();
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(good.GetBackPixels(), pixels);
  EXPECT_EQ(pixels[2], platform::GetRValue(BackColour(0, 77)));

  BlackJackCard grey;
  ASSERT_TRUE(grey.Load(nullptr, "grey.b", 2));
  EXPECT_EQ(grey.GetCardSize().cx, 56);
  EXPECT_EQ(grey.GetBackPixels(), nullptr);

  BlackJackCard missing;
  ASSERT_TRUE(missing.Load(nullptr, "missing.b", 2));
  EXPECT_EQ(missing.GetCardSize().cx, 0);
  EXPECT_EQ(missing.GetCardSize().cy, 0);
  EXPECT_EQ(missing.GetBackPixels(), nullptr);
  MemoryPicture canvas(60, 80);
  canvas.Fill(kFelt);
  missing.DrawCard(canvas.dc, 0, 0, -1);
  EXPECT_EQ(canvas.At(10, 10), kFelt);
}

}  // namespace
