#include "platform/sound/sound.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/temp_program_folder.h"

namespace {

using platform::mciSendString;

struct Notice {
  uintptr_t window;
  uint32_t flags;
  uint32_t device_id;
  bool operator==(const Notice& other) const {
    return window == other.window && flags == other.flags && device_id == other.device_id;
  }
};

std::mutex notice_mutex;
std::vector<Notice> notices;

std::vector<Notice> TakeNotices() {
  std::lock_guard<std::mutex> lock(notice_mutex);
  std::vector<Notice> taken;
  taken.swap(notices);
  return taken;
}

// Tests run under TVK_HEADLESS=1, so the silent backend records what the program asks.
class SoundTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    folder_.WriteFile("Lobby.MID", "MThd");
    folder_.WriteFile("table.mid", "MThd");
    folder_.WriteFile("Check.WAV", "RIFF");
    platform::SetMciNotifyCallback([](uintptr_t window, uint32_t flags, uint32_t device_id) {
      std::lock_guard<std::mutex> lock(notice_mutex);
      notices.push_back({window, flags, device_id});
    });
    platform::ClearRecordedSoundRequests();
    TakeNotices();
  }
  void TearDown() override {
    EXPECT_EQ(mciSendString("close all", nullptr, 0, 0), platform::MCIERR_NONE);
    platform::SetMciNotifyCallback(nullptr);
  }
};

TEST_F(SoundTest, headless_runs_use_the_recording_backend) {
  EXPECT_EQ(platform::SoundBackendName(), "recording");
}

TEST_F(SoundTest, wave_requests_are_recorded_and_found_ignoring_case) {
  EXPECT_TRUE(platform::PlaySound("check.wav", nullptr, platform::SND_ASYNC | platform::SND_FILENAME));
  EXPECT_FALSE(platform::PlaySound("missing.wav", nullptr, platform::SND_ASYNC | platform::SND_FILENAME));
  EXPECT_TRUE(platform::PlaySound(nullptr, nullptr, 0));
  EXPECT_EQ(platform::RecordedSoundRequests(),
            (std::vector<std::string>{"PlaySound check.wav", "PlaySound missing.wav", "PlaySound (stop)"}));
}

TEST_F(SoundTest, music_that_plays_to_its_end_notifies_its_window_and_a_stopped_one_does_not) {
  char answer[16] = "x";
  ASSERT_EQ(mciSendString("open lobby.mid type sequencer alias music0", answer, sizeof answer, 0),
            platform::MCIERR_NONE);
  EXPECT_STREQ(answer, "");
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 77), platform::MCIERR_NONE);
  ASSERT_TRUE(platform::FinishRecordedMusic());
  const std::vector<Notice> first = TakeNotices();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].window, 77u);
  EXPECT_EQ(first[0].flags, platform::MCI_NOTIFY_SUCCESSFUL);
  const uint32_t device = first[0].device_id;

  // Played again from the notice, it ends again; stopped, it neither ends nor notifies.
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 77), platform::MCIERR_NONE);
  ASSERT_TRUE(platform::FinishRecordedMusic());
  EXPECT_EQ(TakeNotices(), (std::vector<Notice>{{77, platform::MCI_NOTIFY_SUCCESSFUL, device}}));
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 77), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("stop music0", nullptr, 0, 0), platform::MCIERR_NONE);
  EXPECT_FALSE(platform::FinishRecordedMusic());
  EXPECT_TRUE(TakeNotices().empty());

  // Without "notify" the end goes unreported.
  ASSERT_EQ(mciSendString("play music0 from 0", nullptr, 0, 77), platform::MCIERR_NONE);
  ASSERT_TRUE(platform::FinishRecordedMusic());
  EXPECT_TRUE(TakeNotices().empty());

  ASSERT_EQ(mciSendString("close music0", nullptr, 0, 0), platform::MCIERR_NONE);
  EXPECT_EQ(platform::RecordedSoundRequests(),
            (std::vector<std::string>{"open lobby.mid type sequencer alias music0", "play music0 from 0 notify",
                                      "play music0 from 0 notify", "play music0 from 0 notify", "stop music0",
                                      "play music0 from 0", "close music0"}));
}

TEST_F(SoundTest, a_new_music_replaces_the_playing_one_and_only_it_is_reported) {
  ASSERT_EQ(mciSendString("open lobby.mid type sequencer alias music0", nullptr, 0, 0), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("OPEN TABLE.MID TYPE SEQUENCER ALIAS Music1", nullptr, 0, 0), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 1), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("play MUSIC1 from 0 notify", nullptr, 0, 2), platform::MCIERR_NONE);
  ASSERT_TRUE(platform::FinishRecordedMusic());
  const std::vector<Notice> taken = TakeNotices();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].window, 2u);
  EXPECT_FALSE(platform::FinishRecordedMusic());

  // Closing the playing music stops it without a notice.
  ASSERT_EQ(mciSendString("play music1 from 0 notify", nullptr, 0, 2), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("close music1", nullptr, 0, 0), platform::MCIERR_NONE);
  EXPECT_FALSE(platform::FinishRecordedMusic());
  EXPECT_TRUE(TakeNotices().empty());
}

TEST_F(SoundTest, bad_commands_give_their_errors_with_texts) {
  folder_.WriteFile("my music.mid", "MThd");
  ASSERT_EQ(mciSendString("open lobby.mid type sequencer alias music0", nullptr, 0, 0), platform::MCIERR_NONE);
  struct Case {
    const char* command;
    platform::MCIERROR expected;
  };
  const Case cases[] = {
      {"open \"my music.mid\" type sequencer alias music2", platform::MCIERR_NONE},
      {"open missing.mid type sequencer alias music1", platform::MCIERR_FILE_NOT_FOUND},
      {"open table.mid type sequencer alias MUSIC0", platform::MCIERR_DUPLICATE_ALIAS},
      {"open table.mid type waveaudio alias music3", platform::MCIERR_UNSUPPORTED_FUNCTION},
      {"open \"table.mid type sequencer", platform::MCIERR_MISSING_PARAMETER},
      {"open", platform::MCIERR_MISSING_PARAMETER},
      {"open table.mid alias", platform::MCIERR_MISSING_PARAMETER},
      {"play music9 from 0 notify", platform::MCIERR_INVALID_DEVICE_NAME},
      {"play music0 from x", platform::MCIERR_BAD_INTEGER},
      {"play music0 from 500", platform::MCIERR_UNSUPPORTED_FUNCTION},
      {"play music0 sideways", platform::MCIERR_UNRECOGNIZED_KEYWORD},
      {"stop music7", platform::MCIERR_INVALID_DEVICE_NAME},
      {"close music7", platform::MCIERR_INVALID_DEVICE_NAME},
      {"rewind music0", platform::MCIERR_UNRECOGNIZED_COMMAND},
      {"", platform::MCIERR_UNRECOGNIZED_COMMAND},
  };
  for (const Case& c : cases) {
    const platform::MCIERROR error = mciSendString(c.command, nullptr, 0, 0);
    EXPECT_EQ(error, c.expected) << c.command;
    char text[128] = "";
    EXPECT_TRUE(platform::mciGetErrorString(error, text, sizeof text)) << c.command;
    EXPECT_NE(text[0], '\0') << c.command;
  }
  char text[8] = "x";
  EXPECT_FALSE(platform::mciGetErrorString(12345, text, sizeof text));
  EXPECT_STREQ(text, "");
}

}  // namespace
