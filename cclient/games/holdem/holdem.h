// The Texas Hold'em game module: one HoldemClass per open Hold'em table, made, driven and
// destroyed by the table host (TableClass) through the game-module interface.
//
// It owns everything the Hold'em table shows besides the common table frame: the ten seat plates
// with their bet piles, the pots and house take, the card dealers, the dealer button, the action
// button bar, the pre-action option bar, three pop-up windows, the bet amount window, the back
// buffer and table picture, the packet ring and software timers (the shared kit), and the
// module's log "holdemLog.log".
//
// Where the code lives:
//   holdem.cpp               construction, Create, release, widgets and pictures, statistics text
//   holdem_packets.cpp       packet records, parsing, checks, dump, packet builders
//   holdem_senders.cpp       the Send* operations
//   holdem_loop.cpp          the packet loop by game state, final and clear-table steps, Tick
//   holdem_animations.cpp    deals, mucks, chip moves, the dealer button, sounds, end messages
//   holdem_appliers.cpp      what each packet does to seats, cards, piles and statistics
//   the player's choices, timers' display, drawing and input: their own files (see below).
//
// Omaha is "Hold'em with differences": it derives from this class; the operations it changes are
// virtual, the fields it shares are protected.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "cclient/games/holdem/holdem_choices.h"
#include "cclient/games/holdem/holdem_draw_layout.h"
#include "cclient/games/holdem/holdem_packets.h"
#include "cclient/games/kit/chip_set.h"
#include "cclient/games/kit/game_frame.h"
#include "cclient/games/kit/game_sounds.h"
#include "cclient/games/kit/leave_question.h"
#include "cclient/games/kit/queued_game.h"
#include "cclient/games/kit/turn_clock.h"
#include "cclient/widgets/button_bar.h"
#include "cclient/widgets/button_list.h"
#include "cclient/widgets/card_dealer.h"
#include "cclient/widgets/card_painter.h"
#include "cclient/widgets/chat_box.h"
#include "cclient/widgets/chip_image.h"
#include "cclient/widgets/chip_stack.h"
#include "cclient/widgets/holdem_bet_amount_window.h"
#include "cclient/widgets/holdem_option_bar.h"
#include "cclient/widgets/holdem_player_seat.h"
#include "cclient/widgets/holdem_pop_up_window.h"
#include "cclient/widgets/sprite.h"
#include "cclient/widgets/transparent_draw.h"

class TableClass;

// The Hold'em game states (the kit's shared numbers).
constexpr int32_t HOLDEM_INIT_TABLE = GAMESTATE_INIT_TABLE;
constexpr int32_t HOLDEM_IDLE = GAMESTATE_IDLE;
constexpr int32_t HOLDEM_INSIDE_GAME = GAMESTATE_INSIDE_GAME;
constexpr int32_t HOLDEM_FINISH_GAME = GAMESTATE_FINISH_GAME;

// Hold'em's own timer slots (the loop's are the kit's: 0 delay, 6 leave-packet, 8 instant).
enum HoldemTimerSlot : uint32_t {
  TIMERSLOT_IN_TURN = 1,
  TIMERSLOT_SOUND_REFUND = 2,
  TIMERSLOT_SOUND_DEAL_TICK = 3,
  TIMERSLOT_REFUND = 4,
  TIMERSLOT_SOUND_POT = 5,
};

// Table sound slots (indexes into sounds).
enum HoldemSound : int32_t {
  SOUND_DEAL_START = 0,  // "4220.wav"
  SOUND_DEAL_TICK,       // "4200.wav"
  SOUND_CARD,            // the main window's card sound
  SOUND_MUCK,            // "4210.wav"
  SOUND_CHIPS,           // "4230.wav"
  SOUND_REFUND,          // "4240.wav"
  SOUND_POT,             // "4250.wav"
  SOUND_CLICK,           // the main window's click sound
  SOUND_YOUR_TURN,       // the main window's your-turn sound
  SOUND_HURRY,           // "4260.wav"
  SOUND_SPARE,
  kHoldemSoundSlots
};

// A display position: the seat record of Part "seat records" (plate, bet piles, points).
struct HoldemSeatRecord {
  uint32_t server_seat = 0;
  ChipStack bets[4];
  uint8_t layout_flags[2] = {};
  uint8_t hand_flags[2] = {};  // 0: the bets are flying to the pots; 1: they arrived
  platform::POINT points[4] = {};  // 0 chip position, 1 dead-chips position, 2 bet start, 3 spare
  HoldemPlayerSeat plate;
  ChipStack combined;  // a plate with one combined pile
  bool uses_combined = false;
};

// A player, by server seat.
struct HoldemPlayerRecord {
  char name[12] = {};
  uint32_t status = 0;
  uint32_t chips = 0;
  uint32_t display_position = 0;
  int32_t all_ins_remaining = -1;
  uint8_t changed = 0;
  uint8_t seat_flags = 0;
  uint8_t sit_out = 0;
};

// The session statistics.
struct HoldemStatistics {
  enum Mark {
    POSTED_BIG,
    POSTED_SMALL,
    FLOP_CLASS_1,
    FLOP_CLASS_2,
    FLOP_CLASS_3,
    FLOP_CLASS_4,
    SAW_FLOP,
    FOLD_PREFLOP,
    FOLD_FLOP,
    FOLD_TURN,
    FOLD_RIVER,
    WON_ALL_FOLDED,
    WON_SHOWDOWN,
    NO_FOLD,
    kMarks
  };
  uint8_t marks[kMarks] = {};
  int32_t totals[kMarks] = {};
  int32_t hands_dealt = 0;
  uint8_t hand_counted = 0;
  uint32_t last_hand = 0xFFFFFFFFu;
  float since_refresh = 0;
};

class HoldemClass : public QueuedGame {
 public:
  explicit HoldemClass(TableClass* table);
  ~HoldemClass() override;
  HoldemClass(const HoldemClass&) = delete;
  HoldemClass& operator=(const HoldemClass&) = delete;

  // ---- The game-module interface ----
  bool ReloadBackground() override;
  void RedrawAll() override;  // drawing file
  [[nodiscard]] const char* Create(platform::HINSTANCE instance) override;
  platform::HDC GetBackBufferDC() const override { return frame_.BackBuffer(); }
  platform::HDC GetBackgroundDC() const override { return frame_.Background(); }
  void Tick(platform::HWND table_window, float seconds) override;
  void OnPaint() override;
  void OnChar(int character) override;                                               // input file
  int OnMouseMove(int32_t x, int32_t y, int left_button_held) override;              // input file
  int OnLButtonDown(int32_t x, int32_t y) override;                                  // input file
  int OnLButtonUp(platform::HWND table_window, int32_t x, int32_t y) override;       // input file
  void OnRButtonUp(platform::HINSTANCE instance, platform::HWND table_window, int32_t x,
                   int32_t y) override;                                              // input file
  int OnMessage(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) override;
  int ConfirmLeave() override;                                                       // input file
  void SoundOff() override;
  void SoundOn() override;
  void RefreshPlayer(const char* name) override;

  // ---- Packets (holdem_packets.cpp, holdem_senders.cpp) ----
  virtual int SendAction(int32_t button_id, uint32_t amount);
  virtual int SendSitOutNextHand(uint8_t flag);
  virtual int SendFinishGame();
  virtual int SendIAmBack();
  virtual int SendShowMuck(int32_t button_id);
  int SendPlayNow();

  // ---- The loop (holdem_loop.cpp) ----
  bool CheckHandNumber(uint32_t hand);

  // ---- Animations (holdem_animations.cpp) ----
  void OnCardAnimationDone(platform::WPARAM wParam, platform::LPARAM lParam);
  void OnChipAnimationDone(platform::WPARAM wParam, platform::LPARAM lParam);
  virtual int32_t DealHoleCards(const HoldemGameStateRecord& record);
  virtual int32_t DealHoleCardsFromFinal(const HoldemFinalRecord& record);
  bool DealBoardCards(int32_t first, int32_t last, const int8_t* board);
  bool MuckSeatCards(int32_t seat, bool resume, uint32_t pause_ms);
  bool MuckBoard(bool resume, uint32_t pause_ms);
  bool AnimateBetsToPots(const HoldemCollectRecord& record, uint32_t pause_ms);
  bool AnimatePotsToHouse(uint32_t main, uint32_t side, uint32_t second_side, uint32_t pause_ms);
  bool AnimatePotToWinners(int32_t pot, uint32_t value, const uint32_t* amounts, int32_t count,
                           const int8_t* seats, uint32_t pause_ms);
  bool AnimateRakeReturn(uint32_t house_take, int32_t count, const int8_t* seats, const uint32_t* returns);
  bool AnimatePlayerBet(int32_t seat, int32_t pile, uint32_t amount, bool resume);
  bool AnimateRefund(int32_t seat, uint32_t amount);
  bool AnimateDeadChips(int32_t seat, uint32_t amount);
  virtual bool PlaceDealerButton(int32_t seat);
  bool MoveDealerButton(int32_t seat, bool along_path);
  void PlayTableSound(HoldemSound sound) { sounds_.Play(sound); }
  void LoadCardBack();
  void LoadChipImages();
  void CreateFonts();

  // ---- Appliers (holdem_appliers.cpp) ----
  void UpdateSeatStatus(const uint8_t* status, const uint8_t* sit_out_marks);
  void ApplyLocalPlayerStatus(uint8_t status_byte);
  void ApplyPlayerStatus(const HoldemPlayerStatusRecord& record);
  struct ApplyParts {
    bool seats = true, hole_cards = true, board = true, bet_piles = true, pots = true, turn = true;
  };
  void ApplyGameState(const HoldemGameStateRecord& record, ApplyParts parts);
  void ApplyFinalState(const HoldemFinalRecord& record, int32_t mode, bool seats);
  void ApplyCollection(const HoldemCollectRecord& record, bool seats);
  virtual int32_t ClassifyFinalPacket(const HoldemFinalRecord& record) const;
  virtual bool ShowPreviousAction(const HoldemGameStateRecord& record);
  void OfferNextPlayerChoices(const HoldemGameStateRecord& record);
  bool AutoAction(const HoldemGameStateRecord& record);
  void SpreadBetPiles(int32_t plate, const int32_t* portions);
  void ApplyOptionIndicate(const HoldemHandRecord& record);
  void ApplyDisplayIAmBack(const HoldemHandRecord& record);
  void ApplyAskShowMuck(const HoldemAskShowMuckRecord& record);
  void ApplyRefund(const HoldemRefundRecord& record);
  void ApplyShowPlayNow(const HoldemShowPlayNowRecord& record);
  void SyncSeats(bool force);
  virtual bool StartChoiceBar(int32_t seat);
  void ResetTable();
  void SetHand(uint32_t hand);
  void OneTimeSetUp(uint8_t table_type);
  void SetPots(uint32_t main, uint32_t side, uint32_t second_side);
  // Puts the dealer's cards where they rest when it is not dealing (no message).
  static void RedrawInPlace(CardDealer* dealer);

  // ---- Player choices and timers (the choices files) ----
  void ShowTurnButtons(bool check, bool bet, bool call, bool raise, bool raise2, bool raise3, bool fold,
                       bool complete, const char* bet_label, const char* raise_label);
  void ShowPostBlind(bool small, const char* label, bool sit_out);
  void ShowPostDead(bool flag, const char* label, bool wait);
  void ShowPostNow(bool flag, const char* label, bool wait, bool after_dealer);
  void ShowShowMuck(bool show, bool muck);
  void ShowIAmBack();
  void ShowPlayNow(const char* label);
  void WithdrawPlayNow();
  bool PushButtonBar(bool log);
  void ShowSeatAction(int32_t seat, const char* text, int32_t pile, uint32_t amount, bool resume);
  void ShowSeatFold(int32_t seat, bool silent);
  void StartTurn(int32_t seat, int32_t previous_seat, double seconds);
  void StopTurn(int32_t seat);
  void MapSeat(int32_t server_seat);
  void SendSitOutNotice(bool on_change);
  void UpdateSeatOptionButtons();
  void OnSeatOptionClick(int32_t id);
  virtual void UpdateOptionBar();
  void FoldOptions();
  void UnfoldOptions();
  void ClearOptionSelection();
  void HidePreActionBar();
  void ShowPreActionBar();
  void HideLocalChoices();
  void UpdateSeats(bool names, bool chips_while_playing);
  void ResetHandDisplay();
  void RaiseWinningBoardCards();
  // The show-down of a final packet that pays a pot: raises the winning cards of a single winner.
  virtual void RaiseWinningCards(const HoldemFinalRecord& record);
  // A final packet was applied to the table (its seats, piles and pots).
  virtual void OnFinalStateApplied(const HoldemFinalRecord& record) { (void)record; }
  // How long the loop waits after a final packet's winners are shown (below 1 s: no wait).
  virtual double WinnerWaitSeconds(const HoldemFinalRecord& record) const;
  bool LowerWinningBoardCards();
  bool StartInTurnTimer(double seconds, bool warning);
  void StopInTurnTimer();
  bool StartSoundTimer(double seconds, uint32_t slot);
  void StopSoundTimer() { sound_timer_.Stop(); }
  bool StartRefundTimer(double seconds) { return refund_timer_.Start(seconds, &log_); }
  void OnTimerExpired(uint32_t slot);
  void TimerStep(double seconds);
  void BuildActionBar();
  void BuildOptionBar();
  void LogButtonClick(int32_t id);
  void LogOptionChoice(int32_t id);
  // The local player's offer at the turn (raise kinds, amounts) and before it (pre-action flags).
  HoldemOffer TurnOffer() const;
  HoldemOffer PreActionOffer() const;
  HoldemSeatOptions SeatOptions() const;
  void SetSeatOptions(const HoldemSeatOptions& options);
  // Sends what a click chose (an action, I am back, play now, show or muck).
  void CarryOut(const HoldemChoice& choice);

  // ---- Input (the input file) ----
  // The display position whose plate holds the point, -1 none (Omaha uses the same test).
  int32_t SeatAt(int32_t x, int32_t y);
  void OnActionBarClick(int32_t id);

  // ---- Drawing (the drawing file) ----
  void UpdateFrame(float seconds);
  void EraseFrame();
  void DrawFrame(float seconds);
  void Present(platform::HWND window) { frame_.Present(window); }
  const HoldemDrawState& DrawState() const { return draw_; }
  void RefreshStatistics(float seconds, bool force);
  void ResetStatistics();

  // ---- What tests and neighbours read ----
  TableClass* Table() const { return table_; }
  uint32_t HandNumber() const { return hand_number_; }
  uint32_t RoundNumber() const { return round_number_; }
  int32_t DealerStatus() const { return dealer_status_; }
  int32_t DealerSeat() const { return dealer_seat_; }
  int32_t LocalPlayerID() const { return local_player_id_; }
  int32_t NextPlayer() const { return next_player_; }
  int32_t PreviousPlayer() const { return previous_player_; }
  const HoldemPlayerRecord& Player(int32_t seat) const { return players_[seat]; }
  const HoldemSeatRecord& SeatRecord(int32_t position) const { return seats_[position]; }
  const ChipStack& Pot(int32_t pot) const { return pots_[pot]; }
  const ChipStack& DeadPot() const { return pots_[3]; }
  const ChipStack& HouseTake() const { return pots_[4]; }
  const ChipStack& WinnerPile(int32_t i) const { return working_[i]; }
  const CardDealer* HoleCards() const { return hole_dealer_.get(); }
  const CardSheet* FaceSheet() const { return card_painter_.Sheet(); }
  const CardDealer* Board() const { return board_dealer_.get(); }
  const CardDealer* BoardCopy() const { return board_copy_dealer_.get(); }
  // With `on`, a user who is not seated is offered only the open seat at display `position`.
  void SetSingleOpenSeat(bool on, uint32_t position) {
    single_open_seat_ = on ? 1 : 0;
    single_open_seat_position_ = position;
  }
  const SpriteClass& DealerButton() const { return dealer_button_; }
  const ButtonBar& ActionBar() const { return action_bar_; }
  const HoldemOptionBar& OptionBar() const { return option_bar_; }
  const HoldemBetAmountWindow& BetWindow() const { return bet_window_; }
  const HoldemPopUpWindow& FoldConfirm() const { return fold_confirm_; }
  const ButtonList& SeatOptionButtons() const { return seat_options_; }
  const HoldemStatistics& Statistics() const { return stats_; }
  const GameFrame& Frame() const { return frame_; }
  int32_t WinnerCount() const { return winner_count_; }
  const SoftTimer& InTurnTimer() const { return turn_clock_.Timer(); }
  const SoftTimer& SoundTimer() const { return sound_timer_; }
  bool SoundIsOn() const { return sounds_.IsOn(); }
  int32_t SoundSlot(HoldemSound sound) const { return sounds_.Value(sound); }

 protected:
  // ---- The kit's loop ----
  std::unique_ptr<GameRecord> ParsePacket(uint32_t type, const uint8_t* payload, uint32_t length) override;
  void DumpPacket(uint32_t type, const GameRecord* record) override;
  LoopOutcome ProcessHead(uint32_t type, GameRecord* record) override;
  int32_t LocalSeatForLog() const override { return local_player_id_; }
  const char* ErrorStatusLine() const override { return "Holdem is in Error status"; }
  bool AnimationsAtRest() const override;
  void ForceEndAnimations() override;
  void OnGameStart() override;
  void OnResetToCreated() override;
  // The frame's steps (holdem_loop.cpp).
  const TableClass* HostTable() const override;
  bool FrameReady() const override;
  void FrameBeforeWatchdog(float seconds) override;
  void FrameSteps(float seconds) override;
  void OnTableJoined(bool tournament, bool whole_units) override;
  void FrameAfterSteps(float seconds) override;
  void PresentFrame(platform::HWND table_window) override;

  // The states' handlings (holdem_loop.cpp).
  LoopOutcome HandleAnyState(uint32_t type, GameRecord* record, bool* handled);
  LoopOutcome HandleInitTable(uint32_t type, GameRecord* record);
  LoopOutcome HandleIdle(uint32_t type, GameRecord* record);
  LoopOutcome HandleInsideGame(uint32_t type, GameRecord* record);
  LoopOutcome HandleFinishGame(uint32_t type, GameRecord* record);
  LoopOutcome GameStateInsideGame(const HoldemGameStateRecord& record);
  LoopOutcome CollectionInsideGame(const HoldemCollectRecord& record);
  LoopOutcome FinalSteps(HoldemFinalRecord& record);
  LoopOutcome ClearTableSteps(const HoldemClearTableRecord& record);
  LoopOutcome AskShowMuck(const HoldemAskShowMuckRecord& record, bool stop_blinks);
  // The end of several handlings: the sit-out choice sent, pop, the instant timer.
  LoopOutcome FinishPacket();
  void StopAllTurnBlinks(int32_t except_seat);
  void ClearTableChips(const HoldemClearTableRecord& record);
  void Release();
  void BuildWidgets();

  // The choices file's steps.
  bool BeginActionBar();
  void ShowLabelled(int32_t id, const char* label);
  // The input file's steps.
  bool IsOtherPlayersSeat(int32_t position) const;
  void ActAndPush(const HoldemChoice& choice);
  void OpenBetWindow(bool raise);
  void OnMoreMoneyClick(HoldemPopUpWindow& window, int32_t id);
  // The drawing file's steps.
  std::vector<CardDealer*> Dealers() const;
  void UpdateAllInsText();
  void UpdateOverlayCopy();
  void UpdateTooltip(float seconds);
  void NoteErased(const platform::RECT& rect);
  void EraseOverlay();
  void EraseBetLabel(int32_t position);
  uint64_t BetTotal(int32_t position) const;
  void MarkOverlapping(const platform::RECT& area);
  void CollectRepainted(std::vector<platform::RECT>* out);
  void ListDrawn(bool drawn, const platform::RECT& rect);
  void DrawStack(ChipStack& stack);
  void DrawDealer(CardDealer* dealer, bool moving, bool face_up, bool face_down, bool list);
  void DrawSeatPiles(int32_t position);
  void DrawBetLabel(int32_t position);
  void DrawInTurnClock();

  // ---- What a game built on this one changes (Omaha) ----
  // The game's name in log lines ("Holdem enters Error status"), its game states' prefix, the
  // module log's name and numbered copies.
  const char* game_name_ = "Holdem";
  const char* state_prefix_ = "HOLDEM";
  const char* log_name_ = "holdemLog.log";
  const char* log_copies_ = "holdemLog%d.log";
  // The packet types the senders use.
  struct SentTypes {
    uint32_t action = HOLDEM_PACKET_ACTION;
    uint32_t sit_out_next_hand = HOLDEM_PACKET_SIT_OUT_NEXT_HAND;
    uint32_t finish_game = HOLDEM_PACKET_FINISH_GAME;
    uint32_t i_am_back = HOLDEM_PACKET_I_AM_BACK;
    uint32_t show_muck = HOLDEM_PACKET_SHOW_MUCK_RESPONSE;
  } sent_types_;
  // The caption of the leave question.
  const char* leave_caption_ = "Texas Hold'em Poker Table";
  // The hole cards: per seat, the step between a seat's cards, and where they rest from the
  // seat's origin with the step there.
  struct HoleCardLayout {
    int32_t cards = 2;
    int32_t step_x = 3, step_y = 2;
    int32_t rest_dx = 8, rest_dy = -42;
    int32_t rest_step_x = 20;
  } hole_layout_;
  // The option bar's ids are Hold'em's plus this; whether a running selection countdown holds
  // the selected option back at the turn; whether the action bar has buttons 40 and 41.
  int32_t option_id_shift_ = 0;
  bool countdown_holds_option_ = true;
  bool play_now_buttons_ = true;
  // The global card sheet the painter takes its faces from (the second follows the classic-deck
  // option).
  int32_t card_sheet_ = 1;
  // The dealer button's straight move: pixels per second, and the longest it takes.
  double button_speed_ = 700.0;
  double button_longest_ = 0.3;
  // A log line with the game's name (or state prefix) put into `format` at its one %s.
  void LogNamed(const char* format, const char* name) {
    char line[96];
    std::snprintf(line, sizeof line, format, name);
    log_.Line(line);
  }

  // ---- Fields, by group ----
  // Drawing surfaces (back buffer, background, window context) and the dirty list.
  GameFrame frame_;
  TableClass* table_;
  ButtonList seat_options_;
  platform::HINSTANCE instance_ = nullptr;
  // Chip pictures: 15 kinds from "4001.b".
  ChipSet chips_;
  platform::HFONT fonts_[3] = {};
  CardPainter card_painter_;
  std::unique_ptr<ChatInputLine> chat_line_;
  HoldemSeatRecord seats_[kHoldemSeats];
  HoldemPlayerRecord players_[kHoldemSeats];
  // Hand state.
  uint32_t hand_number_ = 0;
  uint32_t round_number_ = 0;
  uint32_t board_raise_state_ = 0;
  int32_t winner_index_ = 0;
  int8_t winner_cards_[kHoldemSeats][kHoldemBoardCards] = {};
  int32_t dealer_status_ = -1;
  int32_t next_player_ = -1;
  int32_t previous_player_ = -1;
  int32_t dealer_seat_ = -1;
  int32_t winner_count_ = 0;
  int32_t final_class_ = 0;  // how the final packet at the head was classified
  int8_t winner_seats_[kHoldemMaxWinners] = {};
  uint8_t pots_shown_ = 0;
  uint32_t pots_total_ = 0;
  // Chips in flight: ten working piles; pots 0-2, dead pot 3, house take 4.
  ChipStack working_[kHoldemSeats];
  ChipStack pots_[5];
  // Table type and the local player's offered choices.
  uint32_t table_type_ = 0;
  uint8_t table_type_set_ = 0;
  uint8_t fixed_limit_table_type_zero_ = 0;
  uint32_t bet_window_start_[2] = {};
  uint8_t offer_bet_ = 0, offer_call_ = 0, offer_check_ = 0, offer_raise_ = 0, offer_raise2_ = 0,
          offer_raise3_ = 0, offer_fold_ = 0;
  uint32_t bet_amount_ = 0, raise_amount_ = 0, max_amount_ = 0;
  uint8_t pre_action_[kHoldemActionCodes] = {};
  // Card dealers.
  std::unique_ptr<CardDealer> hole_dealer_;
  std::unique_ptr<CardDealer> board_dealer_;
  std::unique_ptr<CardDealer> board_copy_dealer_;  // the flop's spread and the winning cards' raise
  std::unique_ptr<CardDealer> seat_muck_dealers_[kHoldemSeats];
  std::unique_ptr<CardDealer> board_muck_dealer_;
  SpriteClass dealer_button_;
  ButtonBar action_bar_;
  HoldemOptionBar option_bar_;
  uint32_t single_open_seat_position_ = 5;
  int32_t local_player_id_ = -1;
  // Software timers (the delay, instant and leave-packet timers are the kit's).
  TurnClock turn_clock_{TIMERSLOT_IN_TURN, platform::RECT{19, 501, 134, 513}};
  SoftTimer sound_timer_{TIMERSLOT_SOUND_DEAL_TICK, "sound timer is in use"};
  SoftTimer refund_timer_{TIMERSLOT_REFUND, "refund timer is in use"};
  uint8_t single_open_seat_ = 0;
  // Sounds.
  GameSounds sounds_;
  // Seat options.
  uint8_t auto_post_blind_ = 0;
  uint8_t sit_out_next_hand_ = 0;
  uint8_t auto_muck_ = 1;
  uint8_t tournament_sit_out_ = 0;
  uint8_t seat_request_pending_ = 0;
  // Pop-ups: fold confirmation, add more money (three buttons), add more money (two buttons).
  HoldemPopUpWindow fold_confirm_;
  HoldemPopUpWindow more_money3_;
  HoldemPopUpWindow more_money2_;
  platform::RECT all_ins_rect_{340, 46, 458, 60};
  uint32_t all_ins_format_ = 297;
  uint8_t whole_units_ = 0;
  uint8_t sit_out_last_sent_ = 0;
  float sit_out_clock_ = 0;
  // The refund and deal piles with the plate each belongs to (-1 none).
  ChipStack refund_pile_;
  int32_t refund_plate_ = -1;
  uint8_t refund_dead_chips_ = 0;
  int32_t refund_seat_ = -1;
  int32_t refund_balance_ = 0;
  ChipStack deal_pile_;
  int32_t deal_plate_ = -1;
  HoldemBetAmountWindow bet_window_;
  uint8_t widgets_built_ = 0;
  uint8_t tournament_ = 0;
  uint8_t fixed_limit_ = 1;
  HoldemStatistics stats_;
  // Further status.
  float i_am_back_seconds_ = 0;
  TransparentDraw drawer_;
  uint8_t left_seat_ = 0;
  uint8_t auto_post_asked_ = 0;
  double auto_post_countdown_ = -1.0;
  uint32_t play_now_choice_ = 0;
  LeaveQuestion leave_question_;
  uint8_t seat_clicked_ = 0;
  // Drawing state (the drawing file's).
  platform::RECT status_areas_[4] = {{353, 9, 446, 26}, {538, 387, 766, 489}, {63, 11, 213, 23}, {569, 9, 780, 22}};
  uint8_t status_area_flags_[4] = {};
  int32_t mouse_x_ = 0, mouse_y_ = 0;
  int32_t hovered_seat_ = -1;
  float tooltip_timer_ = -0.5f;
  platform::RECT bet_label_rects_[kHoldemSeats];
  HoldemDrawState draw_;
  std::vector<platform::RECT> erased_;  // this frame's erased areas
};
