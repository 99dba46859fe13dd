// The sound bank against the recording sound backend (tests run with TVK_HEADLESS=1): slots and
// their references, and music that loops through its owner window's completion notices.
#include "cclient/base/sound_bank.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sound/sound.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "tests/support/temp_program_folder.h"

namespace {

SoundBank* g_notified_bank = nullptr;

// Stands in for the main window: hands the music notices to the bank as the main window does.
platform::LRESULT OwnerProcedure(platform::HWND hwnd, platform::UINT message,
                                 platform::WPARAM wParam, platform::LPARAM lParam) {
  if (message == platform::MM_MCINOTIFY && g_notified_bank != nullptr) {
    g_notified_bank->OnMusicNotify(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
    return 0;
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class SoundBankTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = OwnerProcedure;
    window_class.lpszClassName = "SoundBankOwner";
    ASSERT_NE(platform::RegisterClass(&window_class), 0);
    owner_ = platform::CreateWindow("SoundBankOwner", "", 0, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    folder_.WriteFile("check.wav", "RIFF");
    folder_.WriteFile("lobby.mid", "MThd");
    ASSERT_EQ(bank_.Init(nullptr, owner_), nullptr);
    g_notified_bank = &bank_;
    platform::ClearRecordedSoundRequests();
  }
  void TearDown() override {
    bank_.Shutdown();
    g_notified_bank = nullptr;
    platform::SetMciNotifyCallback(nullptr);
    platform::headless::Reset();
  }

  static std::vector<std::string> Requests() { return platform::RecordedSoundRequests(); }

  platform::HWND owner_ = nullptr;
  SoundBank bank_;
};

TEST_F(SoundBankTest, names_in_any_case_share_one_slot_until_the_last_release) {
  const int32_t slot = bank_.Load("check.wav");
  ASSERT_GE(slot, 0);
  EXPECT_EQ(bank_.Load("Check.WAV"), slot);
  EXPECT_EQ(bank_.WaveReferences(slot), 2);

  EXPECT_EQ(bank_.Release(slot), 0);
  EXPECT_EQ(bank_.Play(slot), 0);
  EXPECT_EQ(bank_.Release(slot), 0);
  EXPECT_EQ(bank_.Play(slot), kSoundNotLoaded);
  EXPECT_EQ(Requests(), (std::vector<std::string>{"PlaySound check.wav"}));
}

TEST_F(SoundBankTest, loads_and_plays_that_cannot_be_served_are_refused) {
  // A name of 40 characters does not fit a slot's buffer, even when the file exists.
  const std::string long_name = std::string(36, 'x') + ".wav";
  folder_.WriteFile(long_name, "RIFF");
  struct Case {
    const char* name;
    int32_t result;
    int32_t expected;
  } const cases[] = {
      {"missing_file", bank_.Load("nothing.wav"), kSoundBadSlot},
      {"name_longer_than_a_slot", bank_.Load(long_name.c_str()), kSoundBadSlot},
      {"music_name_longer_than_a_slot",
       bank_.LoadMusic((std::string(38, 'm') + ".mid").c_str()), kSoundBadSlot},
      {"play_slot_out_of_range", bank_.Play(200), kSoundBadSlot},
      {"play_negative_slot", bank_.Play(-1), kSoundBadSlot},
      {"play_empty_slot", bank_.Play(5), kSoundNotLoaded},
      {"release_empty_slot", bank_.Release(5), kSoundNotLoaded},
      {"music_slot_out_of_range", bank_.PlayLoopMusic(16), kSoundBadSlot},
      {"music_empty_slot", bank_.PlayLoopMusic(3), kSoundNotLoaded},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
  // The refused loads took no slot: the first real load gets slot 0.
  EXPECT_EQ(bank_.Load("check.wav"), 0);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(SoundBankTest, the_129th_distinct_wave_finds_no_slot) {
  for (int i = 0; i < kWaveSlots; ++i) {
    const std::string name = "w" + std::to_string(i) + ".wav";
    folder_.WriteFile(name, "RIFF");
    ASSERT_EQ(bank_.Load(name.c_str()), i);
  }
  folder_.WriteFile("last.wav", "RIFF");
  EXPECT_EQ(bank_.Load("last.wav"), kSoundBadSlot);
  // A freed slot is taken again by the next new name.
  ASSERT_EQ(bank_.Release(7), 0);
  EXPECT_EQ(bank_.Load("last.wav"), 7);
}

TEST_F(SoundBankTest, looping_music_restarts_after_its_completion_notice_and_not_after_a_stop) {
  const int32_t slot = bank_.LoadMusic("lobby.mid");
  ASSERT_EQ(slot, 0);
  ASSERT_EQ(bank_.PlayLoopMusic(slot), 0);

  // Played to its end: the notice reaches the owner window, which starts the music again.
  ASSERT_TRUE(platform::FinishRecordedMusic());
  platform::headless::RunUntilIdle();
  EXPECT_EQ(bank_.PlayingMusic(), slot);

  // Ended again, but stopped before the notice is handled: it stays stopped.
  ASSERT_TRUE(platform::FinishRecordedMusic());
  ASSERT_EQ(bank_.StopMusic(slot), 0);
  platform::headless::RunUntilIdle();
  EXPECT_EQ(bank_.PlayingMusic(), -1);
  EXPECT_FALSE(platform::FinishRecordedMusic());

  EXPECT_EQ(bank_.LoadMusic("LOBBY.MID"), slot);
  EXPECT_EQ(bank_.FreeMusic(slot), 0);
  EXPECT_EQ(bank_.FreeMusic(slot), 0);
  EXPECT_EQ(Requests(), (std::vector<std::string>{
                            "open lobby.mid type sequencer alias music0",
                            "play music0 from 0 notify",
                            "play music0 from 0 notify",
                            "stop music0",
                            "close music0",
                        }));
}

TEST_F(SoundBankTest, release_all_closes_the_music_and_empties_every_slot) {
  const int32_t wave = bank_.Load("check.wav");
  const int32_t music = bank_.LoadMusic("lobby.mid");
  ASSERT_EQ(bank_.LoadMusic("lobby.mid"), music);
  ASSERT_EQ(bank_.PlayLoopMusic(music), 0);
  bank_.ReleaseAll();
  EXPECT_FALSE(bank_.IsInitialised());
  EXPECT_EQ(bank_.PlayingMusic(), -1);
  EXPECT_EQ(bank_.Play(wave), kSoundNotLoaded);
  EXPECT_EQ(bank_.MusicReferences(music), 0);
  EXPECT_EQ(Requests().back(), "close music0");
  // The music does not come back on a late notice.
  platform::headless::RunUntilIdle();
  EXPECT_FALSE(platform::FinishRecordedMusic());
}

}  // namespace
