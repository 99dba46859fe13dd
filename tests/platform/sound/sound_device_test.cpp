// The SDL2_mixer backend, on SDL's dummy audio driver: real decoding and mixing in real time,
// with no sound card needed.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sound/sound.h"
#include "tests/support/temp_program_folder.h"

// The MIDI synthesiser's OpenMP runtime synchronises its helper threads in ways the thread checker
// cannot see; what it reports there is not this program's. (Unused in other builds.)
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libgomp.so.1\n"; }

namespace {

using platform::mciSendString;

struct Notice {
  uintptr_t window;
  uint32_t flags;
  uint32_t device_id;
};

std::mutex notice_mutex;
std::condition_variable notice_arrived;
std::vector<Notice> notices;

// A guard against a hang, not a measurement: the tune lasts a fraction of a second.
constexpr auto kLongestWait = std::chrono::seconds(60);

bool WaitForNotices(size_t count) {
  std::unique_lock<std::mutex> lock(notice_mutex);
  return notice_arrived.wait_for(lock, kLongestWait, [&] { return notices.size() >= count; });
}

// 8-bit mono 8 kHz silence, 50 ms.
std::string WaveFile() {
  const uint32_t samples = 400;
  std::string bytes = "RIFF";
  auto le32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i))); };
  auto le16 = [&](uint16_t v) { for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<char>(v >> (8 * i))); };
  le32(36 + samples);
  bytes += "WAVEfmt ";
  le32(16);
  le16(1);     // PCM
  le16(1);     // mono
  le32(8000);  // samples per second
  le32(8000);  // bytes per second
  le16(1);     // block size
  le16(8);     // bits per sample
  bytes += "data";
  le32(samples);
  bytes += std::string(samples, '\x80');
  return bytes;
}

// A standard MIDI file of one track: one short note, then the end of the track.
std::string MidiFile() {
  const std::string track = {0x00, '\x90', 0x3C, 0x40, 0x10, '\x80', 0x3C, 0x40, 0x00, '\xFF', 0x2F, 0x00};
  std::string bytes = "MThd";
  bytes += std::string("\0\0\0\x06\0\0\0\x01\0\x60", 10);  // header length 6, format 0, 1 track, 96 ticks
  bytes += "MTrk";
  bytes += std::string("\0\0\0", 3) + static_cast<char>(track.size());
  return bytes + track;
}

class SoundDeviceTest : public ProgramFolderTest {
 protected:
  static void SetUpTestSuite() {
    ::unsetenv("TVK_HEADLESS");
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  static void TearDownTestSuite() { platform::SoundShutdown(); }

  void SetUp() override {
    folder_.WriteFile("Roar.wav", WaveFile());
    folder_.WriteFile("Lobby.mid", MidiFile());
    folder_.WriteFile("table.mid", MidiFile());
    folder_.WriteFile("notes.txt", "not a sound");
    {
      std::lock_guard<std::mutex> lock(notice_mutex);
      notices.clear();
    }
    platform::SetMciNotifyCallback([](uintptr_t window, uint32_t flags, uint32_t device_id) {
      {
        std::lock_guard<std::mutex> lock(notice_mutex);
        notices.push_back({window, flags, device_id});
      }
      notice_arrived.notify_all();
    });
  }
  void TearDown() override {
    EXPECT_EQ(mciSendString("close all", nullptr, 0, 0), platform::MCIERR_NONE);
    platform::SetMciNotifyCallback(nullptr);
  }
};

TEST_F(SoundDeviceTest, waves_play_from_file_and_bad_files_are_refused) {
  ASSERT_EQ(platform::SoundBackendName(), "SDL2_mixer");
  const uint32_t flags = platform::SND_ASYNC | platform::SND_FILENAME;
  EXPECT_TRUE(platform::PlaySound("roar.wav", nullptr, flags));
  EXPECT_TRUE(platform::PlaySound("ROAR.WAV", nullptr, flags));  // cuts the first one off
  EXPECT_FALSE(platform::PlaySound("missing.wav", nullptr, flags));
  EXPECT_FALSE(platform::PlaySound("notes.txt", nullptr, flags));
  EXPECT_TRUE(platform::PlaySound(nullptr, nullptr, 0));
  EXPECT_EQ(mciSendString("open notes.txt type sequencer alias music5", nullptr, 0, 0),
            platform::MCIERR_CANNOT_LOAD_DRIVER);
}

TEST_F(SoundDeviceTest, music_played_to_its_end_notifies_and_a_stopped_one_does_not) {
  ASSERT_EQ(mciSendString("open lobby.mid type sequencer alias music0", nullptr, 0, 0), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("open table.mid type sequencer alias music1", nullptr, 0, 0), platform::MCIERR_NONE);

  // Stopped at once: the mixer reports the halt, and it must not reach the window.
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 10), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("stop music0", nullptr, 0, 0), platform::MCIERR_NONE);
  // Replaced at once by another: likewise.
  ASSERT_EQ(mciSendString("play music0 from 0 notify", nullptr, 0, 10), platform::MCIERR_NONE);
  ASSERT_EQ(mciSendString("play music1 from 0 notify", nullptr, 0, 11), platform::MCIERR_NONE);

  ASSERT_TRUE(WaitForNotices(1)) << "the music never ended";
  std::lock_guard<std::mutex> lock(notice_mutex);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].window, 11u);
  EXPECT_EQ(notices[0].flags, platform::MCI_NOTIFY_SUCCESSFUL);
}

}  // namespace
