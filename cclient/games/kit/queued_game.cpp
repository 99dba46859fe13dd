#include "cclient/games/kit/queued_game.h"

#include "cclient/table/table.h"
#include "platform/window/message_queue.h"

QueuedGame::QueuedGame(const QueuedGamePolicy& policy)
    : policy_(policy),
      ring_(&log_, policy.ring_slots),
      delay_timer_(policy.delay_slot, "delay timer is in use"),
      leave_timer_(policy.leave_slot, "leavePacket timer is in use"),
      instant_timer_(policy.instant_slot, "instant timer is in use") {}
QueuedGame::~QueuedGame() = default;

bool QueuedGame::Post(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) const {
  if (window_ == nullptr) return false;
  return platform::PostMessage(window_, message, wparam, lparam);
}

int QueuedGame::HandlePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  std::unique_ptr<GameRecord> record = ParsePacket(type, payload, length);
  if (record == nullptr) return RefusedPacketAnswer(type);
  (void)ring_.Push(type, std::move(record));
  if (game_started_ != 0 && ring_.Count() == 1 && !in_loop_ && MayRunOnArrival()) PacketLoop();
  return 0;
}

int32_t QueuedGame::PacketLoop() {
  if (in_loop_) return ring_.Count();
  loop_waiting_ = 0;
  leave_timer_.Stop();
  if (ring_.Empty()) return 0;
  in_loop_ = true;
  while (ring_.Count() > 0) {
    delay_timer_.Stop();
    log_.Line("================= Enter Packet loop ===================");
    log_.LabelNumber("LocalPlayerID", LocalSeatForLog());
    const uint32_t type = ring_.HeadType();
    GameRecord* record = ring_.HeadRecord();
    if (ring_.FirstVisit()) DumpPacket(type, record);
    LoopOutcome outcome;
    if (game_state_ == GAMESTATE_ERROR) {
      log_.Line(ErrorStatusLine());
      outcome = LoopOutcome::kNext;
    } else {
      outcome = ProcessHead(type, record);
    }
    log_.Line("================= Exit Packet loop ===================");
    log_.Line("");
    log_.Line("");
    bool carry_on = false;
    switch (outcome) {
      case LoopOutcome::kNext:
        ring_.Pop();
        carry_on = true;
        break;
      case LoopOutcome::kYield:
        ring_.Pop();
        (void)StartInstant();
        break;
      case LoopOutcome::kAgain:
        carry_on = true;
        break;
      case LoopOutcome::kWait:
        break;
    }
    loop_waiting_ = carry_on ? 0 : 1;
    if (!carry_on) break;
    log_.Line("recall packet loop leads to packetLoop()");
    loop_waiting_ = 0;
    leave_timer_.Stop();
  }
  in_loop_ = false;
  return ring_.Count();
}

void QueuedGame::ResumeAfter(uint32_t pause_ms, const char* at_once, const char* delayed) {
  // A loop that is not waiting has nothing to resume (an end message that arrives after the
  // watchdog moved the loop on, for one).
  if (loop_waiting_ == 0) return;
  if (pause_ms == 0) {
    if (at_once != nullptr) log_.Line(at_once);
    PacketLoop();
    return;
  }
  if (delayed != nullptr) log_.Line(delayed);
  (void)StartDelay(pause_ms / 1000.0);
}

void QueuedGame::CountDownLoopTimers(double seconds) {
  if (delay_timer_.Countdown(seconds)) Post(TABLEMSG_TIMER, policy_.delay_slot, 0);
  if (instant_timer_.Countdown(seconds)) Post(TABLEMSG_TIMER, policy_.instant_slot, 0);
}

void QueuedGame::Watchdog(double seconds) {
  if (loop_waiting_ == 0) return;
  if (delay_timer_.IsFree() && instant_timer_.IsFree() && AnimationsAtRest()) {
    if (leave_timer_.IsFree()) {
      log_.Line(policy_.watchdog_line);
      (void)leave_timer_.Start(0.2, &log_);
    } else if (leave_timer_.Countdown(seconds)) {
      Post(TABLEMSG_TIMER, policy_.leave_slot, 0);
    }
  } else {
    leave_timer_.Stop();
  }
}

void QueuedGame::ResetToCreated() {
  ring_.Clear();
  delay_timer_.Stop();
  leave_timer_.Stop();
  instant_timer_.Stop();
  game_state_ = GAMESTATE_INIT_TABLE;
  loop_waiting_ = 0;
  game_started_ = 0;
  OnResetToCreated();
}

void QueuedGame::StartGame() {
  if (game_started_ != 0) return;
  game_started_ = 1;
  loop_waiting_ = 0;
  OnGameStart();
  PacketLoop();
}

bool QueuedGame::OnLoopMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam) {
  (void)lparam;
  if (message == TABLEMSG_GAME_START) {
    StartGame();
    return true;
  }
  if (message != TABLEMSG_TIMER) return false;
  const auto slot = static_cast<uint32_t>(wparam);
  if (slot == policy_.delay_slot) {
    // A delay posts at every frame until handled: a second post finds the timer freed.
    if (delay_timer_.IsFree()) return true;
    delay_timer_.Stop();
    log_.Line("delay timer leads to packetLoop");
    PacketLoop();
    return true;
  }
  if (slot == policy_.instant_slot) {
    if (instant_timer_.IsFree()) return true;
    instant_timer_.Stop();
    log_.Line("instant timer leads to packetLoop");
    PacketLoop();
    return true;
  }
  if (slot == policy_.leave_slot) {
    if (leave_timer_.IsFree()) return true;
    log_.Line("Force to enter PacketLoop");
    ForceEndAnimations();
    leave_timer_.Stop();
    PacketLoop();
    return true;
  }
  return false;
}

void QueuedGame::RunFrame(platform::HWND table_window, float seconds) {
  if (window_ == nullptr) window_ = table_window;
  if (!FrameReady()) return;
  const bool running = game_started_ != 0 && game_state_ != GAMESTATE_ERROR;
  if (running) {
    FrameBeforeWatchdog(seconds);
    Watchdog(seconds);
  }
  if (game_started_ != 0) {
    FrameSteps(seconds);
  } else if (game_state_ != GAMESTATE_ERROR) {
    const TableClass* table = HostTable();
    if (table != nullptr && table->joined != 0) {
      OnTableJoined((table->table_flags & kTableFlagTournament) != 0,
                    (table->table_flags & kTableFlagWholeUnits) != 0);
      Post(TABLEMSG_GAME_START, 0, 0);
    }
  }
  if (game_started_ != 0 && game_state_ != GAMESTATE_ERROR) FrameAfterSteps(seconds);
  PresentFrame(table_window);
}
