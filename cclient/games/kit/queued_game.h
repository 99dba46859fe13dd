// The queued packet loop that every game module shares, on top of the game-module interface.
//
// A game packet handed to the module is parsed at once into a record (the game's ParsePacket) and
// queued on the packet ring. One consumer, PacketLoop, takes the record at the head and lets the
// game handle it (ProcessHead), which ends each handling in one of four outcomes:
//   next  - the record is done: pop it and take the next one at once;
//   yield - the record is done: pop it and go on at the next frame (the instant timer);
//   again - handle the same record again at once (new state or step);
//   wait  - an animation or a timer was started; its end message re-enters the loop, which finds
//           the same record at the head with the step it had reached.
// So the table shows the server's packets strictly in order and never faster than its animations.
//
// The messages that resume the loop (posted to the table window, handled by OnLoopMessage):
// 6000 game start, 7000 with slot 0 (delay timer), 6 (leave-packet watchdog) or 8 (instant
// timer); the game's own card (9000) and chip (10000) end messages call ResumeAfter. The
// watchdog: while the loop waits and the game reports itself at rest (no timer, no animation),
// the leave-packet timer runs 0.2 s and then forces the loop on, so an animation that ended
// without its message never stalls the table.
//
// UI thread only. PacketLoop is never re-entered from inside itself: every resume comes through a
// posted message or the next frame.
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/games/kit/game_log.h"
#include "cclient/games/kit/packet_ring.h"
#include "cclient/games/kit/soft_timer.h"
#include "cclient/table/table_game.h"

enum class LoopOutcome { kNext, kYield, kAgain, kWait };

// Timer slots (the first parameter of message 7000).
enum GameTimerSlot : uint32_t {
  TIMERSLOT_DELAY = 0,
  TIMERSLOT_IN_TURN = 1,
  TIMERSLOT_SOUND_REFUND = 2,
  TIMERSLOT_SOUND_DEAL_TICK = 3,
  TIMERSLOT_REFUND = 4,
  TIMERSLOT_SOUND_POT = 5,
  TIMERSLOT_LEAVE_PACKET = 6,
  TIMERSLOT_INSTANT = 8,
};

// The game states shared by the queued games.
enum QueuedGameState : int32_t {
  GAMESTATE_ERROR = -1,
  GAMESTATE_INIT_TABLE = 0,
  GAMESTATE_IDLE = 1,
  GAMESTATE_INSIDE_GAME = 2,
  GAMESTATE_FINISH_GAME = 3,
};

class QueuedGame : public TableGameClass {
 public:
  QueuedGame();
  ~QueuedGame() override;

  // Parses, queues, and runs the loop when the game has started, this is the only queued packet
  // and no resume is pending. 0 accepted, 1 when the packet did not parse.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;
  // Runs passes over the head record until it must wait or the ring is empty; the count left.
  int32_t PacketLoop();

  // ---- What tests and the game read ----
  const PacketRing& Ring() const { return ring_; }
  int32_t GameState() const { return game_state_; }
  bool LoopWaiting() const { return loop_waiting_ != 0; }
  bool GameStarted() const { return game_started_ != 0; }
  GameLog& Log() { return log_; }
  const SoftTimer& DelayTimer() const { return delay_timer_; }
  const SoftTimer& InstantTimer() const { return instant_timer_; }
  const SoftTimer& LeavePacketTimer() const { return leave_timer_; }
  // Nothing queued, nothing waited for, no loop timer running and no animation moving.
  bool IsIdle() const {
    return ring_.Empty() && loop_waiting_ == 0 && delay_timer_.IsFree() && instant_timer_.IsFree() &&
           AnimationsAtRest();
  }

 protected:
  // ---- The game's part ----
  // The record of an accepted packet, or none (the game logs why).
  virtual std::unique_ptr<GameRecord> ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length) = 0;
  // Writes the record's fields to the module log (only on its first visit).
  virtual void DumpPacket(uint32_t type, const GameRecord* record) {}
  // Handles the head record in the present state at ring_.step.
  virtual LoopOutcome ProcessHead(uint32_t type, GameRecord* record) = 0;
  // The seat logged on every pass ("LocalPlayerID").
  virtual int32_t LocalSeatForLog() const { return -1; }
  // The line logged for a record popped unread in the error state.
  virtual const char* ErrorStatusLine() const { return "Game is in Error status"; }
  // True when no animation runs (the watchdog's test; the loop's timers are checked here).
  virtual bool AnimationsAtRest() const { return true; }
  // The watchdog fired: end every chip move and card deal at once.
  virtual void ForceEndAnimations() {}

  // ---- Services for the game ----
  // The table window every message goes to.
  platform::HWND Window() const { return window_; }
  void SetWindow(platform::HWND window) { window_ = window; }
  bool Post(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) const;
  bool StartDelay(double seconds) { return delay_timer_.Start(seconds, &log_); }
  bool StartInstant() { return instant_timer_.Start(0.0, &log_); }
  // An animation ended and carries a pause: 0 runs the loop now (logging `at_once`), a pause
  // above 0 starts the delay timer (logging `delayed`) whose expiry runs it. Either line may be
  // null.
  void ResumeAfter(uint32_t pause_ms, const char* at_once, const char* delayed);
  // The three timers of the loop are free (no resume pending from them).
  bool LoopTimersFree() const { return delay_timer_.IsFree() && instant_timer_.IsFree() && leave_timer_.IsFree(); }
  // The per-frame countdown of the delay and instant timers (posting 7000 when they run out).
  void CountDownLoopTimers(double seconds);
  // The leave-packet watchdog, once per frame while the game has started.
  void Watchdog(double seconds);
  // 6000 (game start is the game's own, see StartGame), and 7000 slots 0, 6 and 8: true when the
  // message was one of these.
  bool OnLoopMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  // Marks the game started and runs the loop.
  void StartGame();

  GameLog log_;
  PacketRing ring_{&log_};
  SoftTimer delay_timer_{TIMERSLOT_DELAY, "delay timer is in use"};
  SoftTimer leave_timer_{TIMERSLOT_LEAVE_PACKET, "leavePacket timer is in use"};
  SoftTimer instant_timer_{TIMERSLOT_INSTANT, "instant timer is in use"};
  int32_t game_state_ = GAMESTATE_INIT_TABLE;
  uint8_t loop_waiting_ = 0;
  uint8_t game_started_ = 0;
  // Set while PacketLoop runs (a resume that arrives then is not a re-entry).
  bool in_loop_ = false;

 private:
  platform::HWND window_ = nullptr;
};
