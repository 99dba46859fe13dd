// The local player's side of a Hold'em table, as decisions without widgets: what a click on the
// action bar, a pop-up or a seat-option button sends, which seat-option buttons show, which
// pre-action options the option bar offers and with which labels, what a pre-selected option
// does when the turn comes, and when the sit-out-next-hand notice goes out.
//
// Each function takes the state it decides on and returns what to do; the game object
// (holdem.h) carries it out on its widgets and its connection. Nothing here draws, sends or
// logs, so every table of choices tests without a window. UI thread only.
//
// Amounts are u32 in cents, or in whole chips on a whole-units table, as the packets carry them.
#pragma once

#include <cstddef>
#include <cstdint>

// Ids of the action bar's buttons. SendAction turns these ids (and 23, 26 for the second and
// third raise) into action codes.
enum HoldemButtonId : int32_t {
  HOLDEM_BUTTON_CHECK = 16,
  HOLDEM_BUTTON_BET = 17,
  HOLDEM_BUTTON_CALL = 19,
  HOLDEM_BUTTON_RAISE = 21,
  HOLDEM_BUTTON_RAISE2 = 23,
  HOLDEM_BUTTON_RAISE3 = 26,
  HOLDEM_BUTTON_COMPLETE = 25,
  HOLDEM_BUTTON_FOLD = 28,
  HOLDEM_BUTTON_SIT_OUT = 29,
  HOLDEM_BUTTON_POST_SMALL = 30,
  HOLDEM_BUTTON_POST_BIG = 31,
  HOLDEM_BUTTON_I_AM_BACK = 32,
  HOLDEM_BUTTON_SHOW = 33,
  HOLDEM_BUTTON_MUCK = 34,
  HOLDEM_BUTTON_POST_NOW = 35,
  HOLDEM_BUTTON_WAIT_BIG_BLIND = 36,
  HOLDEM_BUTTON_POST_DEAD = 37,
  HOLDEM_BUTTON_RAISE_AMOUNT = 38,
  HOLDEM_BUTTON_BET_AMOUNT = 39,
  HOLDEM_BUTTON_POST_AFTER_DEALER = 40,
  HOLDEM_BUTTON_PLAY_NOW = 41,
};

// Ids of the pop-up windows' buttons and the bet amount window's buttons.
enum HoldemPopUpButtonId : int32_t {
  HOLDEM_POPUP_FOLD = 8,
  HOLDEM_POPUP_CHECK = 9,
  HOLDEM_POPUP_MORE_MONEY = 10,
  HOLDEM_POPUP_SIT_OUT = 11,
  HOLDEM_POPUP_POST_SMALL = 12,
  HOLDEM_BETWINDOW_BET = 13,
  HOLDEM_BETWINDOW_RAISE = 14,
  HOLDEM_BETWINDOW_CLOSE = 15,
};

// Ids of the pre-action options.
enum HoldemOptionId : int32_t {
  HOLDEM_OPTION_FOLD = 42,
  HOLDEM_OPTION_CHECK = 43,
  HOLDEM_OPTION_CHECK_FOLD = 44,
  HOLDEM_OPTION_CHECK_CALL_ANY = 45,
  HOLDEM_OPTION_BET = 46,
  HOLDEM_OPTION_BET_RAISE_ANY = 47,
  HOLDEM_OPTION_RAISE = 49,
  HOLDEM_OPTION_RAISE_ANY = 50,
  HOLDEM_OPTION_CALL = 51,
  HOLDEM_OPTION_CALL_ANY = 52,
};

// The seat-option toggles (ButtonList ids): each pair shows one button to turn an option on and
// one to turn it off.
enum HoldemSeatOptionId : int32_t {
  HOLDEM_SEATOPT_AUTO_POST_ON = 0,       // shown while automatic blind posting is off
  HOLDEM_SEATOPT_SIT_OUT_ON = 1,         // shown while sit out next hand is off
  HOLDEM_SEATOPT_AUTO_MUCK_ON = 2,       // shown while automatic mucking is off
  HOLDEM_SEATOPT_AUTO_POST_OFF = 3,
  HOLDEM_SEATOPT_SIT_OUT_OFF = 4,
  HOLDEM_SEATOPT_AUTO_MUCK_OFF = 5,
  HOLDEM_SEATOPT_TOURNEY_SIT_OUT_ON = 6,
  HOLDEM_SEATOPT_TOURNEY_SIT_OUT_OFF = 7,
};

// The choices the last game state offered the local player.
struct HoldemOffer {
  bool bet = false;
  bool call = false;
  bool check = false;
  bool raise = false;
  bool raise2 = false;  // the re-raise
  bool raise3 = false;  // the cap
  bool fold = false;
  uint32_t bet_amount = 0;    // the bet or call amount
  uint32_t raise_amount = 0;  // the amount to raise to
  uint32_t max_amount = 0;

  bool AnyRaise() const { return raise || raise2 || raise3; }
  // The button that raises with the offered kind, the plain raise first; 0 when none is offered.
  int32_t RaiseButton() const;
};

// What a click (or a pre-selected option) asks the game object to do.
enum class HoldemCommand : int32_t {
  kNothing,
  kSendAction,       // SendAction(button, amount), then push the bar and stop the turn
  kSendIAmBack,      // and the I-am-back countdown to 3.0 s
  kSendPlayNow,
  kSendShowMuck,     // SendShowMuck(button)
  kOpenRaiseWindow,  // the bet amount window for a raise (range from the raise amount)
  kOpenBetWindow,    // the bet amount window for a bet (range from the bet amount)
  kFoldConfirm,      // close the bet amount window, open the fold confirmation
  kMoreMoney,        // the bring-more-money dialog
  kCloseBetWindow,
};

struct HoldemChoice {
  HoldemCommand command = HoldemCommand::kNothing;
  int32_t button = 0;   // the id SendAction or SendShowMuck takes
  uint32_t amount = 0;
};

// A click on action-bar button `id`; `check_shown` says whether the check button (16) is shown.
HoldemChoice HoldemChoices_ActionBarClick(int32_t id, const HoldemOffer& offer, bool check_shown);
// A click on a pop-up or bet amount window button; `window_amount` is the bet window's amount.
HoldemChoice HoldemChoices_PopUpClick(int32_t id, const HoldemOffer& offer, uint32_t window_amount);
// Enter accepted in the bet amount window: a bet unless a raise kind is offered.
HoldemChoice HoldemChoices_BetWindowEnter(const HoldemOffer& offer, uint32_t window_amount);

// ---- Seat options ----

struct HoldemSeatOptions {
  bool auto_post = false;
  bool sit_out_next = false;
  bool tourney_sit_out = false;
  bool auto_muck = true;
};

// Bit i set: seat-option button i is shown. In a tournament automatic posting is forced on
// first. Not seated: none.
uint32_t HoldemChoices_SeatOptionButtons(bool seated, bool tournament, HoldemSeatOptions* options);

// The action-bar buttons that a seat-option click looks at.
struct HoldemBarButtons {
  bool i_am_back = false;   // 32
  bool post_small = false;  // 30
  bool post_big = false;    // 31
};

// A click on seat-option button `id` (0-7) changes `options` and may push the bar and send:
// I am back (kSendIAmBack), post small (30), post big (31) or sit out (29).
struct HoldemSeatOptionEffect {
  bool push_bar = false;
  HoldemChoice send;
};
HoldemSeatOptionEffect HoldemChoices_SeatOptionClick(int32_t id, const HoldemBarButtons& shown,
                                                     HoldemSeatOptions* options);

// ---- Sit-out-next-hand notice ----

// Whether the notice goes out. `on_change` (every frame) sends only a changed wanted value,
// 0.5 s or more after the last notice, outside a hand; without it (end of a hand) it always goes.
// Never while not seated.
bool HoldemChoices_ShouldSendSitOut(bool on_change, bool seated, bool wanted, bool last_sent,
                                    float seconds_since_sent, bool hand_in_play);

// ---- Pre-action options ----

// "Bet $2.50", "Call $.75", "Raise To $3": `word` then the amount as the option bar shows it
// (whole units are shown as dollars).
void HoldemChoices_OptionLabel(char* out, size_t size, const char* word, uint32_t amount, bool whole_units);

struct HoldemOptionPlan {
  static constexpr int32_t kMaxOptions = 12;
  int32_t enabled[kMaxOptions] = {};
  int32_t enabled_count = 0;
  struct Label {
    int32_t id;
    char text[30];
  };
  Label labels[3] = {};
  int32_t label_count = 0;
  int32_t select = -1;            // select this option and stop its countdown; -1 none
  bool clear_selection = false;   // the selection is no longer offered

  bool IsEnabled(int32_t id) const;
  const char* LabelOf(int32_t id) const;  // nullptr when not labelled
};

// The options offered after a game state, given the selected option (-1 none).
HoldemOptionPlan HoldemChoices_PlanOptionBar(const HoldemOffer& offer, bool fixed_limit, bool whole_units,
                                             int32_t selected);

// ---- The selected option at the local player's turn ----

struct HoldemTurnState {
  HoldemOffer offer;
  bool post_small = false;  // the blinds offered to the next player
  bool post_big = false;
  bool tournament = false;
  bool whole_units = false;
  bool i_am_back_shown = false;
  HoldemSeatOptions options;
  int32_t selected = -1;           // the option bar's selection
  bool countdown_running = false;  // its selection countdown
  int32_t option_amount = 0;       // the amount read from the selected option's label (cents)
};

enum class HoldemAutoKind : int32_t {
  kNone,            // not acted: the action bar is offered
  kNoOption,        // "You did not choose any options"
  kNoBlindChoice,   // "You did not choose either Auto Post Blind or Sit out Next Hand"
  kSpecialCase,     // tournament sit-out with I am back shown: "Enter special case", acted
  kSendOption,      // the option acted: clear the selection, hide the option bar, send
  kFoldConfirm,     // a pre-selected fold while check is offered: the fold confirmation opens and
                    // the action bar is offered as well, so the player is never left without one
  kSendBlindChoice  // sit out or post a blind, acted
};

struct HoldemAutoResult {
  HoldemAutoKind kind = HoldemAutoKind::kNone;
  int32_t button = 0;
  uint32_t amount = 0;
  bool Acted() const {
    return kind == HoldemAutoKind::kSpecialCase || kind == HoldemAutoKind::kSendOption ||
           kind == HoldemAutoKind::kSendBlindChoice;
  }
};

// What the local player's pre-selections do when the turn comes.
HoldemAutoResult HoldemChoices_AutoAction(const HoldemTurnState& state);
