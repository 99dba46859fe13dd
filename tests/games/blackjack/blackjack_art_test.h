// What the Black Jack widget tests share: a program folder holding the stand-in pictures, and a
// table-sized picture to draw on over a plain background.
#pragma once

#include <gtest/gtest.h>

#include "platform/draw/gdi.h"
#include "tests/platform/draw/memory_picture.h"
#include "tests/support/temp_program_folder.h"
#include "tools/widget-gallery/blackjack_art.h"

class BlackJackArtTest : public ProgramFolderTest {
 protected:
  static constexpr platform::COLORREF kFelt = 0x306020;
  static constexpr platform::COLORREF kTable = 0x102030;  // what the back buffer held before

  void SetUp() override {
    ASSERT_TRUE(blackjack_art::WriteBlackJackArt(folder_.Path()));
    background_.Fill(kFelt);
    back_.Fill(kTable);
  }

  MemoryPicture background_{800, 560};
  MemoryPicture back_{800, 560};
};
