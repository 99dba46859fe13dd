// The Omaha game module: one OmahaClass per open Omaha table (game type 7), made, driven and
// destroyed by the table host through the game-module interface.
//
// Omaha is Hold'em with differences, so OmahaClass is the Hold'em module with these changes:
// its own packet block (2500-2518, omaha_packets.h) whose records the Hold'em loop handles as
// its own; four hole cards per seat; the hand and round numbers taken from more packets; the
// table kind that picks the layout of the game state and the final packet; the dealer button
// driven by the dealer position of game states and player-status packets (Omaha has no
// dealer-button packet); the log "OmahaLog.log" with "Omaha" in its lines; no play-now, 11000 or
// 60002 handling.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "cclient/games/holdem/holdem.h"
#include "cclient/games/omaha/omaha_choices.h"
#include "cclient/games/omaha/omaha_packets.h"

constexpr int32_t OMAHA_INIT_TABLE = GAMESTATE_INIT_TABLE;
constexpr int32_t OMAHA_IDLE = GAMESTATE_IDLE;
constexpr int32_t OMAHA_INSIDE_GAME = GAMESTATE_INSIDE_GAME;
constexpr int32_t OMAHA_FINISH_GAME = GAMESTATE_FINISH_GAME;

class OmahaClass : public HoldemClass {
 public:
  explicit OmahaClass(TableClass* table);
  ~OmahaClass() override = default;

  [[nodiscard]] const char* Create(platform::HINSTANCE instance) override;
  int OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) override;
  // Hold'em's tick without the I-am-back pause: the request flag takes its place.
  void Tick(platform::HWND table_window, float seconds) override;

  // ---- Packets ----
  int SendAction(int32_t choice, uint32_t amount) override;
  int SendIAmBack() override;
  int SendShowMuck(int32_t button_id) override;

  // ---- What tests read ----
  int32_t TableKind() const { return table_kind_; }
  int32_t ButtonSeat() const { return button_seat_; }
  bool IAmBackRequested() const { return i_am_back_requested_ != 0; }

 protected:
  std::unique_ptr<GameRecord> ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;
  void DumpPacket(uint32_t type, const GameRecord* record) override;
  LoopOutcome ProcessHead(uint32_t type, GameRecord* record) override;
  const char* ErrorStatusLine() const override { return "Omaha is in Error status"; }
  bool PlaceDealerButton(int32_t seat) override;
  void OnResetToCreated() override;
  // Omaha's option bar rules (its ids are Hold'em's less 2).
  void UpdateOptionBar() override;
  // The seat's bet piles are cleared when its choice bar starts.
  bool StartChoiceBar(int32_t seat) override;
  // A final packet that shows no hands has nothing more to show.
  int32_t ClassifyFinalPacket(const HoldemFinalRecord& record) const override;
  // Logs the posts before them; the automatic-blind question is never armed.
  bool ShowPreviousAction(const HoldemGameStateRecord& record) override;
  // The single winner's nine card bytes raise board and hole cards.
  void RaiseWinningCards(const HoldemFinalRecord& record) override;
  double WinnerWaitSeconds(const HoldemFinalRecord& record) const override;
  // A final packet applied to the table checks the local sit-out flag as a game state does.
  void OnFinalStateApplied(const HoldemFinalRecord& record) override;

 private:
  // The local seat's sit-out flag of a game state, final or player-status packet: 3 with an
  // I-am-back request pending sends it again, 3 without shows the I-am-back choice; any other
  // value clears the request. Once per packet: `checked` (null for none) is the packet's mark.
  void CheckLocalSitOut(const uint8_t* sit_out, bool* checked);
  // True when no chips lie on the table in the game state (pots and every bet part 0).
  static bool NoChipsOnTable(const HoldemGameStateRecord& record);

  int32_t table_kind_ = 0;
  uint8_t i_am_back_requested_ = 0;
  // The seat the button stands at (-1 not yet placed), and how the next placing may move it:
  // 0 at once, 1 with the animation when the seat changed.
  int32_t button_seat_ = -1;
  int32_t button_move_ = 0;
};

std::unique_ptr<TableGameClass> Omaha_Make(TableClass* table);
