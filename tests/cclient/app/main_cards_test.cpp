// The main window's card loader: which files each deck option picks, and which missing pictures
// stop start-up.
#include <gtest/gtest.h>

#include <string>

#include "cclient/base/debug_log.h"
#include "cclient/app/main_window.h"
#include "cclient/base/options.h"
#include "cclient/widgets/card_images.h"
#include "cclient/widgets/card_sheet.h"
#include "platform/draw/gdi.h"
#include "tests/cclient/widgets/image_fixtures.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"

namespace {

// A 24-bit picture of one colour.
std::string Plain(int32_t width, int32_t height, uint8_t red) {
  BmpFixture bmp;
  bmp.width = width;
  bmp.height = height;
  for (int32_t i = 0; i < width * height; ++i) {
    bmp.rows.push_back(10);
    bmp.rows.push_back(20);
    bmp.rows.push_back(red);
  }
  return bmp.Bytes();
}

class MainCardsTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    DebugLog_Init("tvk.log");
    g_UserOptions.four_colour_deck = 0;
    g_UserOptions.classic_deck = 0;
    // Every file a deck can name, each face file in a colour of its own.
    const struct {
      const char* name;
      int32_t cell_width;
      int32_t cell_height;
      uint8_t red;
    } files[] = {{"cards.b", 48, 66, 1},      {"cards4c.b", 48, 66, 2},   {"cardsbig.b", 72, 100, 3},
                 {"cards4cb.b", 72, 100, 4},  {"cardssml.b", 56, 78, 5},  {"cards4cs.b", 56, 78, 6},
                 {"cardsn.b", 56, 78, 7},     {"cardsn4c.b", 56, 78, 8}};
    for (const auto& f : files) folder_.WriteFile(f.name, Plain(f.cell_width * 13, f.cell_height * 4, f.red));
    folder_.WriteFile("cardback.b", Plain(48, 66, 100));
    folder_.WriteFile("cardbacb.b", Plain(72, 100, 101));
    folder_.WriteFile("cardbacs.b", Plain(56, 78, 102));
  }
  void TearDown() override {
    Main_ReleaseCards();
    g_UserOptions.four_colour_deck = 0;
    g_UserOptions.classic_deck = 0;
  }

  // The red of the face that a set draws for card 20.
  template <typename Set>
  static uint8_t FaceRed(const Set& set) {
    MemoryPicture canvas(80, 110);
    set.DrawCard(canvas.dc, 0, 0, 20);
    return platform::GetRValue(canvas.At(10, 10));
  }
};

TEST_F(MainCardsTest, deck_options_pick_the_face_files) {
  struct Case {
    const char* name;
    uint32_t four_colour;
    uint32_t classic;
    uint8_t small;
    uint8_t big;
    uint8_t first_sheet;
    uint8_t second_sheet;
  } const cases[] = {
      {"new faces", 0, 0, 1, 3, 5, 7},
      {"new faces, four colours", 1, 0, 2, 4, 6, 8},
      {"classic", 0, 1, 1, 3, 5, 5},
      {"classic, four colours", 1, 1, 2, 4, 6, 6},
  };
  for (const Case& c : cases) {
    g_UserOptions.four_colour_deck = c.four_colour;
    g_UserOptions.classic_deck = c.classic;
    EXPECT_EQ(Main_LoadCards(), 0) << c.name;
    EXPECT_EQ(FaceRed(GlobalCardImages()), c.small) << c.name;
    EXPECT_EQ(FaceRed(GlobalBigCardImages()), c.big) << c.name;
    EXPECT_EQ(FaceRed(GlobalCardSheet(0)), c.first_sheet) << c.name;
    EXPECT_EQ(FaceRed(GlobalCardSheet(1)), c.second_sheet) << c.name;
    EXPECT_NE(GlobalCardSheet(1).RawFaces(), nullptr) << c.name;
  }
}

TEST_F(MainCardsTest, only_the_big_cards_raw_pictures_stop_start_up) {
  folder_.WriteFile("cards.b", "");
  folder_.WriteFile("cardsn.b", "");
  EXPECT_EQ(Main_LoadCards(), 0);

  folder_.WriteFile("cardbacb.b", Plain(56, 78, 101));
  EXPECT_EQ(Main_LoadCards(), 1);
  const std::string log = folder_.ReadFile("tvk.log");
  EXPECT_NE(log.find("Unable to load big cards (Unable to load raw big cards back image).\r\n"), std::string::npos)
      << log;
}

}  // namespace
