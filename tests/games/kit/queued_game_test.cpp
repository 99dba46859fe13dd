// The queued packet loop every queued game inherits, driven by a small fake game whose records
// carry the outcomes the loop is to see: the four outcomes, the run on arrival, game start, the
// watchdog, resumes that find nothing waiting, the error state, and the policies a game sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cclient/games/kit/packet_reader.h"
#include "cclient/games/kit/packet_writer.h"
#include "cclient/games/kit/queued_game.h"
#include "platform/window/headless.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

// A record whose handling returns its script's outcomes in turn (kNext once the script ends).
struct ScriptedRecord : GameRecord {
  std::vector<LoopOutcome> script;
  size_t next = 0;
};

class FakeGame;
FakeGame* g_game = nullptr;

class FakeGame final : public QueuedGame {
 public:
  explicit FakeGame(const QueuedGamePolicy& policy = QueuedGamePolicy{}) : QueuedGame(policy) {
    log_.SetEcho([](void* lines, const char* line) { static_cast<std::vector<std::string>*>(lines)->push_back(line); },
                 &lines);
  }

  // ---- The interface a table drives (only what the loop needs) ----
  bool ReloadBackground() override { return true; }
  void RedrawAll() override {}
  const char* Create(platform::HINSTANCE) override { return nullptr; }
  platform::HDC GetBackBufferDC() const override { return nullptr; }
  platform::HDC GetBackgroundDC() const override { return nullptr; }
  void Tick(platform::HWND window, float seconds) override { RunFrame(window, seconds); }
  int OnMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) override {
    if (OnLoopMessage(message, wparam, lparam)) return 1;
    if (message == TABLEMSG_CARD_ANIMATION_DONE) {
      ResumeAfter(static_cast<uint32_t>(lparam), "card done leads to packetLoop", "card done waits");
      return 1;
    }
    return 0;
  }

  // Each packet's records take the outcomes queued for its type; an empty payload does not parse.
  std::vector<LoopOutcome> scripts[4];
  std::vector<uint32_t> visits;
  std::vector<std::string> lines;
  bool at_rest = true;
  int forced_ends = 0;
  int game_starts = 0;
  int resets = 0;
  uint32_t error_after_type = 0;  // handling this type puts the game in the error state

  void SetState(int32_t state) { game_state_ = state; }
  using QueuedGame::CountDownLoopTimers;
  using QueuedGame::ResumeAfter;
  using QueuedGame::SetWindow;
  using QueuedGame::StartDelay;
  using QueuedGame::Watchdog;
  int Lines(const std::string& text) const { return static_cast<int>(std::count(lines.begin(), lines.end(), text)); }

 protected:
  std::unique_ptr<GameRecord> ParsePacket(uint32_t type, const uint8_t*, uint32_t length) override {
    if (length == 0 || type >= 4) return nullptr;
    auto record = std::make_unique<ScriptedRecord>();
    record->script = scripts[type];
    return record;
  }
  LoopOutcome ProcessHead(uint32_t type, GameRecord* record) override {
    visits.push_back(type);
    if (type == error_after_type && error_after_type != 0) game_state_ = GAMESTATE_ERROR;
    auto* scripted = static_cast<ScriptedRecord*>(record);
    return scripted->next < scripted->script.size() ? scripted->script[scripted->next++] : LoopOutcome::kNext;
  }
  bool AnimationsAtRest() const override { return at_rest; }
  void ForceEndAnimations() override { ++forced_ends; }
  void OnGameStart() override { ++game_starts; }
  void OnResetToCreated() override { ++resets; }
};

platform::LRESULT ToGame(platform::HWND hwnd, platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  if (g_game != nullptr && message >= TABLEMSG_GAME_START && message <= TABLEMSG_CHIP_ANIMATION_DONE) {
    return g_game->OnMessage(message, wparam, lparam);
  }
  return platform::DefWindowProc(hwnd, message, wparam, lparam);
}

class QueuedGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::WNDCLASS window_class;
    window_class.lpfnWndProc = ToGame;
    window_class.lpszClassName = "QueuedGameTest";
    (void)platform::RegisterClass(&window_class);
    window_ = platform::CreateWindow("QueuedGameTest", "Table", platform::WS_CAPTION, 0, 0, 800, 560, nullptr, nullptr,
                                     nullptr, nullptr);
    Make(QueuedGamePolicy{});
  }
  void TearDown() override {
    g_game = nullptr;
    game_.reset();
    platform::headless::Reset();
  }
  void Make(const QueuedGamePolicy& policy) {
    game_ = std::make_unique<FakeGame>(policy);
    game_->SetWindow(window_);
    g_game = game_.get();
  }
  int Feed(uint32_t type) {
    const uint8_t payload[1] = {1};
    return game_->HandlePacket(type, payload, sizeof payload);
  }
  void Pump() {
    platform::MSG msg;
    while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) platform::DispatchMessage(&msg);
  }
  void Start() {
    (void)platform::PostMessage(window_, TABLEMSG_GAME_START, 0, 0);
    Pump();
  }
  // One frame of the loop's clocks: the timers count down and the watchdog runs, then the posts.
  // A sixteenth of a second counts down exactly: a 0.2 s timer posts in its fourth frame.
  void Frame(double seconds = 0.0625) {
    game_->CountDownLoopTimers(seconds);
    game_->Watchdog(seconds);
    Pump();
  }

  platform::HWND window_ = nullptr;
  std::unique_ptr<FakeGame> game_;
};

using V = std::vector<uint32_t>;
using O = LoopOutcome;

TEST_F(QueuedGameTest, each_outcome_moves_the_ring_as_it_says) {
  struct Case {
    const char* name;
    std::vector<LoopOutcome> first;  // the first record's script; the second record's is empty
    V visits_at_start;               // the handlings when the game starts
    int32_t left_at_start;
    bool waiting_at_start;
    V visits_after_frame;  // after one frame and its posts
  };
  const Case cases[] = {
      {"next pops and goes on at once", {O::kNext}, V{1, 2}, 0, false, V{1, 2}},
      {"yield pops and goes on at the next frame", {O::kYield}, V{1}, 1, true, V{1, 2}},
      {"again handles the same record at once", {O::kAgain, O::kNext}, V{1, 1, 2}, 0, false, V{1, 1, 2}},
      {"wait keeps the record until its resume", {O::kWait}, V{1}, 2, true, V{1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Make(QueuedGamePolicy{});
    game_->scripts[1] = c.first;
    ASSERT_EQ(Feed(1), 0);
    ASSERT_EQ(Feed(2), 0);
    EXPECT_TRUE(game_->visits.empty()) << "nothing runs before the game starts";
    Start();
    EXPECT_EQ(game_->visits, c.visits_at_start);
    EXPECT_EQ(game_->Ring().Count(), c.left_at_start);
    EXPECT_EQ(game_->LoopWaiting(), c.waiting_at_start);
    game_->at_rest = false;  // keep the watchdog out of this
    Frame();
    EXPECT_EQ(game_->visits, c.visits_after_frame);
  }
  // The waiting record goes on when its animation's end message comes.
  (void)platform::PostMessage(window_, TABLEMSG_CARD_ANIMATION_DONE, 0, 0);
  Pump();
  EXPECT_EQ(game_->visits, (V{1, 1, 2}));
  game_->at_rest = true;
  EXPECT_TRUE(game_->IsIdle());
}

TEST_F(QueuedGameTest, a_packet_runs_the_loop_on_arrival_only_when_started_alone_and_no_loop_timer_runs) {
  game_->scripts[1] = {O::kYield};
  ASSERT_EQ(Feed(3), 0);
  EXPECT_TRUE(game_->visits.empty());
  Start();
  EXPECT_EQ(game_->visits, V{3});
  ASSERT_EQ(Feed(3), 0);
  EXPECT_EQ(game_->visits, (V{3, 3})) << "started, alone, timers free: at once";

  ASSERT_EQ(Feed(1), 0);  // yields: the instant timer runs
  ASSERT_TRUE(game_->InstantTimer().IsRunning());
  ASSERT_EQ(Feed(2), 0);
  EXPECT_EQ(game_->visits, (V{3, 3, 1})) << "the instant timer holds the next packet";
  Frame();
  EXPECT_EQ(game_->visits, (V{3, 3, 1, 2}));

  game_->scripts[1] = {O::kWait};
  ASSERT_EQ(Feed(1), 0);
  ASSERT_EQ(Feed(2), 0);
  EXPECT_EQ(game_->visits, (V{3, 3, 1, 2, 1})) << "a second packet waits behind a waiting one";
}

TEST_F(QueuedGameTest, game_start_runs_once_and_a_packet_that_does_not_parse_is_refused_unqueued) {
  Start();
  Start();
  EXPECT_EQ(game_->game_starts, 1);
  EXPECT_EQ(game_->HandlePacket(1, nullptr, 0), 1);
  EXPECT_EQ(game_->HandlePacket(9, reinterpret_cast<const uint8_t*>("x"), 1), 1);
  EXPECT_EQ(game_->Ring().Count(), 0);
  EXPECT_TRUE(game_->visits.empty());
}

TEST_F(QueuedGameTest, the_watchdog_moves_a_waiting_loop_on_after_0_2_seconds_at_rest) {
  game_->scripts[1] = {O::kWait};
  Start();
  ASSERT_EQ(Feed(1), 0);
  ASSERT_TRUE(game_->LoopWaiting());

  game_->at_rest = false;  // an animation runs: the watchdog stays away
  for (int i = 0; i < 20; ++i) Frame();
  EXPECT_TRUE(game_->LeavePacketTimer().IsFree());
  EXPECT_EQ(game_->visits, V{1});

  game_->at_rest = true;
  Frame();  // starts the 0.2 s
  EXPECT_EQ(game_->Lines("need to start leaveTabletimer"), 1);
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_EQ(game_->visits, V{1}) << "0.1875 s at rest is not enough";
  Frame();
  EXPECT_EQ(game_->forced_ends, 1);
  EXPECT_EQ(game_->visits, (V{1, 1}));
  EXPECT_TRUE(game_->IsIdle());
}

TEST_F(QueuedGameTest, a_resume_that_finds_the_loop_not_waiting_does_nothing) {
  game_->scripts[1] = {O::kWait};
  Start();
  ASSERT_EQ(Feed(1), 0);
  // The watchdog moved the loop on before the animation's own end message came.
  game_->at_rest = true;
  for (int i = 0; i < 10; ++i) Frame();
  ASSERT_EQ(game_->visits, (V{1, 1}));
  ASSERT_FALSE(game_->LoopWaiting());

  game_->scripts[2] = {O::kNext};
  game_->at_rest = false;
  (void)platform::PostMessage(window_, TABLEMSG_CARD_ANIMATION_DONE, 0, 0);
  (void)platform::PostMessage(window_, TABLEMSG_CARD_ANIMATION_DONE, 0, 500);
  (void)platform::PostMessage(window_, TABLEMSG_TIMER, TIMERSLOT_DELAY, 0);
  (void)platform::PostMessage(window_, TABLEMSG_TIMER, TIMERSLOT_INSTANT, 0);
  Pump();
  EXPECT_EQ(game_->visits, (V{1, 1}));
  EXPECT_TRUE(game_->DelayTimer().IsFree()) << "no delay was started for the late message";
  EXPECT_EQ(game_->Lines("card done leads to packetLoop"), 0);
}

TEST_F(QueuedGameTest, a_paused_resume_waits_on_the_delay_timer) {
  game_->scripts[1] = {O::kWait};
  game_->at_rest = false;
  Start();
  ASSERT_EQ(Feed(1), 0);
  (void)platform::PostMessage(window_, TABLEMSG_CARD_ANIMATION_DONE, 0, 300);
  Pump();
  EXPECT_EQ(game_->Lines("card done waits"), 1);
  for (int i = 0; i < 4; ++i) Frame();
  EXPECT_EQ(game_->visits, V{1}) << "0.25 s of a 0.3 s pause";
  Frame();
  EXPECT_EQ(game_->visits, (V{1, 1}));
  EXPECT_EQ(game_->Lines("delay timer leads to packetLoop"), 1);
}

TEST_F(QueuedGameTest, in_the_error_state_every_queued_record_is_popped_unread) {
  game_->error_after_type = 2;
  ASSERT_EQ(Feed(1), 0);
  ASSERT_EQ(Feed(2), 0);
  ASSERT_EQ(Feed(3), 0);
  ASSERT_EQ(Feed(1), 0);
  Start();
  EXPECT_EQ(game_->visits, (V{1, 2}));
  EXPECT_EQ(game_->Ring().Count(), 0);
  EXPECT_EQ(game_->Lines("Game is in Error status"), 2);
  ASSERT_EQ(Feed(1), 0);
  EXPECT_EQ(game_->visits, (V{1, 2})) << "the error state is final";
}

TEST_F(QueuedGameTest, a_reset_game_is_as_created_and_starts_again) {
  game_->scripts[1] = {O::kYield};
  Start();
  ASSERT_EQ(Feed(1), 0);  // handled, the instant timer runs
  game_->scripts[2] = {O::kWait};
  ASSERT_EQ(Feed(2), 0);
  ASSERT_EQ(Feed(3), 0);
  game_->SetState(GAMESTATE_ERROR);
  game_->ResetToCreated();
  EXPECT_EQ(game_->resets, 1);
  EXPECT_EQ(game_->Ring().Count(), 0);
  EXPECT_FALSE(game_->GameStarted());
  EXPECT_EQ(game_->GameState(), GAMESTATE_INIT_TABLE);
  EXPECT_TRUE(game_->InstantTimer().IsFree());
  Frame();
  EXPECT_EQ(game_->visits, (V{1})) << "nothing of the old game runs on";
  ASSERT_EQ(Feed(3), 0);
  EXPECT_EQ(game_->visits, (V{1})) << "not started: the packet waits";
  Start();
  EXPECT_EQ(game_->game_starts, 2);
  EXPECT_EQ(game_->visits, (V{1, 3}));
}

TEST_F(QueuedGameTest, a_game_sets_its_ring_size_and_the_slots_of_its_loop_timers) {
  QueuedGamePolicy policy;
  policy.ring_slots = 20;
  policy.delay_slot = 0;
  policy.leave_slot = 4;
  policy.instant_slot = 6;
  policy.watchdog_line = "!!!start leaveTableTimer";
  Make(policy);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Feed(2), 0);
  EXPECT_EQ(game_->Ring().Count(), 20);
  (void)Feed(2);
  EXPECT_EQ(game_->Ring().Count(), 20) << "the 21st record is dropped";

  Make(policy);
  Start();
  game_->scripts[1] = {O::kYield};
  ASSERT_EQ(Feed(1), 0);
  game_->scripts[1] = {O::kWait};
  ASSERT_EQ(Feed(1), 0);
  EXPECT_EQ(game_->InstantTimer().Slot(), 6u);
  Frame();  // the instant timer posts slot 6
  EXPECT_EQ(game_->visits, (V{1, 1}));
  for (int i = 0; i < 8; ++i) Frame();  // the watchdog on slot 4
  EXPECT_EQ(game_->Lines("!!!start leaveTableTimer"), 1);
  EXPECT_EQ(game_->forced_ends, 1);
}

TEST(PacketReaderTest, size_rules_refuse_unknown_types_and_lengths_outside_the_row_with_their_log_lines) {
  static const PacketSizeRule kRules[] = {{2400, 5, 5, "Error Wrong size"}, {2403, 1, kPacketNoMaximum, "Final Wrong size"}};
  GameLog log;
  std::vector<std::string> lines;
  log.SetEcho([](void* out, const char* line) { static_cast<std::vector<std::string>*>(out)->push_back(line); },
              &lines);
  EXPECT_NE(PacketRules_Check(kRules, 2400, 5, &log), nullptr);
  EXPECT_NE(PacketRules_Check(kRules, 2403, 4000, &log), nullptr);
  EXPECT_EQ(PacketRules_Check(kRules, 2400, 6, &log), nullptr);
  EXPECT_EQ(PacketRules_Check(kRules, 2403, 0, &log), nullptr);
  EXPECT_EQ(PacketRules_Check(kRules, 2401, 5, &log), nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{"Error Wrong size = 6", "Final Wrong size = 0", "Unknow packet = 2401"}));
}

TEST(PacketReaderTest, fields_read_big_endian_in_order_and_a_short_payload_fails_every_later_read) {
  const std::vector<uint8_t> bytes = PacketWriter().U32(0x01020304).U16(0x0506).U8(0xFF).Take();
  ASSERT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0xFF}));
  PacketFieldReader reader(bytes.data(), static_cast<uint32_t>(bytes.size()));
  uint32_t u32 = 0;
  uint16_t u16 = 0;
  int8_t i8 = 0;
  reader.U32(&u32);
  reader.U16(&u16);
  reader.I8(&i8);
  EXPECT_TRUE(reader.ok());
  EXPECT_EQ(u32, 0x01020304u);
  EXPECT_EQ(u16, 0x0506);
  EXPECT_EQ(i8, -1);
  uint8_t after = 7;
  reader.U8(&after);
  reader.U32(&u32);
  EXPECT_FALSE(reader.ok());
  EXPECT_EQ(after, 7);
  EXPECT_EQ(u32, 0x01020304u);
}

}  // namespace
