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
// 6000 game start, 7000 with the delay, leave-packet (watchdog) or instant timer's slot; the
// game's own card and chip end messages call ResumeAfter. The watchdog: while the loop waits and
// the game reports itself at rest (no timer, no animation), the leave-packet timer runs 0.2 s and
// then forces the loop on, so an animation that ended without its message never stalls the table.
//
// Where the games' designs differ the game decides: the ring's size and the three loop timers'
// slots (QueuedGamePolicy), which timers must be free for a packet to run the loop on arrival
// (MayRunOnArrival), the answer for a packet that does not parse (RefusedPacketAnswer), what game
// start does besides starting the loop (OnGameStart), and the steps of a frame (RunFrame's hooks).
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

class TableClass;

enum class LoopOutcome { kNext, kYield, kAgain, kWait };

// The loop's own timer slots (the first parameter of message 7000) where a game keeps the kit's
// numbering; a game's other timers take slots of its own.
enum GameTimerSlot : uint32_t {
  TIMERSLOT_DELAY = 0,
  TIMERSLOT_LEAVE_PACKET = 6,
  TIMERSLOT_INSTANT = 8,
};

// What a game sets where the queued games differ.
struct QueuedGamePolicy {
  int32_t ring_slots = PacketRing::kSlots;
  uint32_t delay_slot = TIMERSLOT_DELAY;
  uint32_t leave_slot = TIMERSLOT_LEAVE_PACKET;
  uint32_t instant_slot = TIMERSLOT_INSTANT;
  // Logged when the watchdog starts the leave-packet timer.
  const char* watchdog_line = "need to start leaveTabletimer";
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
  explicit QueuedGame(const QueuedGamePolicy& policy = QueuedGamePolicy{});
  ~QueuedGame() override;

  // Parses, queues, and runs the loop when the game has started, this is the only queued packet
  // and MayRunOnArrival holds. 0 accepted; a packet that did not parse is not queued and gets
  // RefusedPacketAnswer.
  int HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;
  // Runs passes over the head record until it must wait or the ring is empty; the count left.
  int32_t PacketLoop();
  // Puts the game back as Create left it, keeping what Create loaded (pictures, widgets, fonts):
  // the ring emptied, the loop's timers stopped, the game not started and in its first state,
  // then the game's own OnResetToCreated. The fuzz targets reuse one game between inputs so.
  void ResetToCreated();

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
  // Whether a packet that arrives as the only one queued runs the loop at once (the game has
  // started and no loop call is under way): by default when the loop's three timers are free.
  virtual bool MayRunOnArrival() const { return LoopTimersFree(); }
  // The answer to the table for a packet that did not parse.
  virtual int RefusedPacketAnswer(uint32_t type) const {
    (void)type;
    return 1;
  }
  // Game start (message 6000, once): what the game does before the loop first runs (its log
  // line, its seats).
  virtual void OnGameStart() {}
  // ResetToCreated's part of the game: its table, seats, hand bookkeeping and timers as after
  // Create.
  virtual void OnResetToCreated() {}

  // ---- The frame (RunFrame's steps) ----
  // The table the game plays at (its joined flag and table flags start the game), or nullptr.
  virtual const TableClass* HostTable() const { return nullptr; }
  // False while the game cannot draw yet: the frame does nothing more.
  virtual bool FrameReady() const { return true; }
  // Each frame of a running game (started, not in error), before the watchdog.
  virtual void FrameBeforeWatchdog(float seconds) { (void)seconds; }
  // Each frame of a started game: update, erase, draw, the game's own timers.
  virtual void FrameSteps(float seconds) { (void)seconds; }
  // The table was joined: the flags the game keeps before it starts.
  virtual void OnTableJoined(bool tournament, bool whole_units) {
    (void)tournament;
    (void)whole_units;
  }
  // Each frame of a running game, after its steps (the sit-out notice's clock).
  virtual void FrameAfterSteps(float seconds) { (void)seconds; }
  // Last in every frame that got past FrameReady.
  virtual void PresentFrame(platform::HWND table_window) { (void)table_window; }

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
  // 6000 (game start) and 7000 with the loop timers' slots: true when the message was one of
  // these.
  bool OnLoopMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  // Marks the game started (once), runs OnGameStart and the loop.
  void StartGame();
  // One frame (the game's Tick): keeps the window on the first call; nothing more until
  // FrameReady. A running game syncs (FrameBeforeWatchdog) and runs the watchdog; a started game
  // runs its steps; a game not started (and not in error) whose table is joined takes the
  // tournament and whole-units flags and posts 6000 (so once: the next frames find it started).
  // Then a running game's FrameAfterSteps, and PresentFrame.
  void RunFrame(platform::HWND table_window, float seconds);
  const QueuedGamePolicy& Policy() const { return policy_; }

  QueuedGamePolicy policy_;
  GameLog log_;
  PacketRing ring_;
  SoftTimer delay_timer_;
  SoftTimer leave_timer_;
  SoftTimer instant_timer_;
  int32_t game_state_ = GAMESTATE_INIT_TABLE;
  uint8_t loop_waiting_ = 0;
  uint8_t game_started_ = 0;
  // Set while PacketLoop runs (a resume that arrives then is not a re-entry).
  bool in_loop_ = false;

 private:
  platform::HWND window_ = nullptr;
};
