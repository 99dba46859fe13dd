// Mouse and keyboard input of the Hold'em table, and the question before leaving. Each event is
// offered to the table's widgets in a fixed order; the first that takes it ends the handling.
#include <cstdio>
#include <cstring>

#include "cclient/games/holdem/holdem.h"
#include "cclient/games/holdem/holdem_choices.h"
#include "cclient/table/table.h"
#include "platform/window/activation.h"
#include "platform/window/message_box.h"

namespace {

constexpr int32_t kBetWindowStep = 25;  // cents, or whole chips on a whole-units table
constexpr int kEnter = 13;

}  // namespace

int32_t HoldemClass::SeatAt(int32_t x, int32_t y) {
  for (int32_t p = 0; p < kHoldemSeats; ++p) {
    if (seats_[p].plate.HitTest(x, y) > 0) return p;
  }
  return -1;
}

bool HoldemClass::IsOtherPlayersSeat(int32_t position) const {
  if (position < 0 || position >= kHoldemSeats) return false;
  const int32_t s = static_cast<int32_t>(seats_[position].server_seat % kHoldemSeats);
  const bool taken = seats_[position].plate.IsVisible() && !seats_[position].plate.IsOpenSeat();
  return taken && s != local_player_id_;
}

// ---- Choices carried out ----

void HoldemClass::ActAndPush(const HoldemChoice& choice) {
  CarryOut(choice);
  (void)PushButtonBar(true);
  StopTurn(local_player_id_);
}

void HoldemClass::OpenBetWindow(bool raise) {
  if (bet_window_.IsOpen()) return;
  (void)fold_confirm_.Close();
  if (raise) {
    bet_window_.EnableButton(HOLDEM_BETWINDOW_RAISE);
    bet_window_.DisableButton(HOLDEM_BETWINDOW_BET);
  } else {
    bet_window_.EnableButton(HOLDEM_BETWINDOW_BET);
    bet_window_.DisableButton(HOLDEM_BETWINDOW_RAISE);
  }
  bet_window_.EnableButton(HOLDEM_BETWINDOW_CLOSE);
  const uint32_t minimum = raise ? raise_amount_ : bet_amount_;
  bet_window_.SetRange(static_cast<int32_t>(minimum), static_cast<int32_t>(max_amount_), kBetWindowStep);
  (void)bet_window_.Open(static_cast<int32_t>(bet_window_start_[raise ? 0 : 1]));
}

void HoldemClass::OnActionBarClick(int32_t id) {
  log_.LabelNumber("Current mouseX", mouse_x_);
  log_.LabelNumber("Current mouseY", mouse_y_);
  LogButtonClick(id);
  const HoldemChoice choice =
      HoldemChoices_ActionBarClick(id, TurnOffer(), action_bar_.IsButtonShown(HOLDEM_BUTTON_CHECK));
  switch (choice.command) {
    case HoldemCommand::kOpenRaiseWindow:
    case HoldemCommand::kOpenBetWindow:
      OpenBetWindow(choice.command == HoldemCommand::kOpenRaiseWindow);
      return;
    case HoldemCommand::kFoldConfirm:
      (void)bet_window_.Close();
      (void)fold_confirm_.Open();
      log_.Line("Pop Up fold confirm dialog box");
      return;
    case HoldemCommand::kSendPlayNow:
      CarryOut(choice);
      log_.Line("********** push playe now button is called");
      if (!PushButtonBar(true)) (void)action_bar_.HideButton(HOLDEM_BUTTON_PLAY_NOW);
      StopTurn(local_player_id_);
      return;
    case HoldemCommand::kSendIAmBack:
    case HoldemCommand::kSendShowMuck:
    case HoldemCommand::kSendAction:
      ActAndPush(choice);
      if (choice.command == HoldemCommand::kSendAction && choice.button == HOLDEM_BUTTON_CHECK) {
        PlayTableSound(SOUND_CLICK);
      }
      return;
    default:
      return;
  }
}

// A click on a button of an add-more-money window (10 bring more money, 11 sit out, 12 post the
// small blind).
void HoldemClass::OnMoreMoneyClick(HoldemPopUpWindow& window, int32_t id) {
  const HoldemChoice choice = HoldemChoices_PopUpClick(id, TurnOffer(), 0);
  if (choice.command == HoldemCommand::kMoreMoney) {
    if (table_ != nullptr && (table_->table_flags & kTableFlagNoMoreMoney) != 0) {
      (void)table_->MessageBox("You are not permitted to bring more money to a tournament table.");
      return;
    }
    if (table_ != nullptr) table_->OpenMoreCashDialog();
    (void)window.Close();
    return;
  }
  CarryOut(choice);
  (void)window.Close();
}

// ---- Mouse ----

int HoldemClass::OnMouseMove(int32_t x, int32_t y, int left_button_held) {
  if (hovered_seat_ >= 0 && tooltip_timer_ >= 0 && IsOtherPlayersSeat(hovered_seat_)) draw_.tooltip_erase = true;
  hovered_seat_ = -1;
  (void)platform::SetCursor(platform::LoadCursor(nullptr, platform::IDC_ARROW));
  mouse_x_ = x;
  mouse_y_ = y;
  (void)seat_options_.OnMouseMove(x, y, left_button_held != 0);
  if (game_started_ != 0 && action_bar_.HitTest(x, y) >= 0) return 0;
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    if (window->HitTest(x, y) != -1) return 0;
  }
  bet_window_.OnMouseMove(x, y);
  if (bet_window_.HitTest(x, y) != HoldemBetAmountWindow::kOutside) return 0;
  const int32_t position = SeatAt(x, y);
  if (!IsOtherPlayersSeat(position)) return position >= 0 ? 0 : -1;
  const int32_t s = static_cast<int32_t>(seats_[position].server_seat % kHoldemSeats);
  hovered_seat_ = position;
  draw_.tooltip_placed = false;
  std::snprintf(draw_.tooltip_text, sizeof draw_.tooltip_text, "%s",
                table_ != nullptr ? table_->seat_names[s] : players_[s].name);
  tooltip_timer_ = -0.5f;
  return 0;
}

int HoldemClass::OnLButtonDown(int32_t x, int32_t y) {
  seat_options_.CancelPress();
  (void)seat_options_.OnMouseDown(x, y);
  for (int32_t id = 0; id < 8; ++id) {
    platform::RECT r;
    if (seat_options_.IsButtonShown(id) && seat_options_.GetButtonRect(id, &r) && x >= r.left && x <= r.right &&
        y >= r.top && y <= r.bottom) {
      return 0;
    }
  }
  if (game_started_ != 0 && action_bar_.OnMouseDown(x, y) >= 0) return 0;
  for (HoldemPopUpWindow* window : {&fold_confirm_, &more_money3_, &more_money2_}) {
    if (window->OnMouseDown(mouse_x_, mouse_y_) >= 0) return 0;
  }
  if (bet_window_.OnMouseDown(mouse_x_, mouse_y_)) return 0;
  if (game_started_ != 0) {
    const int32_t id = option_bar_.OnClick(x, y);
    if (id >= 0) {
      log_.Line("Select / unselect an option!");
      const int32_t selected = option_bar_.GetSelectedOption();
      log_.LabelText("Your current option choice", selected >= 0 ? option_bar_.GetOptionText(selected) : "None");
      return 0;
    }
  }
  for (HoldemSeatRecord& seat : seats_) {
    if (seat.plate.OnMouseDown(x, y)) return 0;
  }
  return -1;
}

int HoldemClass::OnLButtonUp(platform::HWND table_window, int32_t x, int32_t y) {
  const int32_t option = seat_options_.OnMouseUp(x, y);
  if (option >= 0 && option < 8) {
    OnSeatOptionClick(option);
    return 0;
  }
  const int32_t confirm = fold_confirm_.OnMouseUp(x, y);
  if (confirm == HOLDEM_POPUP_FOLD || confirm == HOLDEM_POPUP_CHECK) {
    ActAndPush(HoldemChoices_PopUpClick(confirm, TurnOffer(), 0));
    return 0;
  }
  for (HoldemPopUpWindow* window : {&more_money3_, &more_money2_}) {
    const int32_t id = window->OnMouseUp(x, y);
    if (id == HOLDEM_POPUP_MORE_MONEY || id == HOLDEM_POPUP_SIT_OUT ||
        (id == HOLDEM_POPUP_POST_SMALL && window == &more_money3_)) {
      OnMoreMoneyClick(*window, id);
      return 0;
    }
  }
  const int32_t bet = bet_window_.OnMouseUp(x, y);
  if (bet == HOLDEM_BETWINDOW_BET || bet == HOLDEM_BETWINDOW_RAISE) {
    ActAndPush(HoldemChoices_PopUpClick(bet, TurnOffer(), static_cast<uint32_t>(bet_window_.GetAmount())));
    return 0;
  }
  if (bet == HOLDEM_BETWINDOW_CLOSE) {
    (void)bet_window_.Close();
    return 0;
  }
  if (game_started_ != 0) {
    const int32_t id = action_bar_.OnMouseUp(x, y);
    if (id >= 0) {
      OnActionBarClick(id);
      return 0;
    }
  }
  if (local_player_id_ < 0) {
    for (HoldemSeatRecord& seat : seats_) {
      if (seat.plate.OnMouseUp(x, y) && seat.plate.IsOpenSeat()) {
        if (table_ != nullptr) table_->RequestSeat(static_cast<int32_t>(seat.server_seat));
        seat_request_pending_ = 1;
        seat_clicked_ = 1;
        break;
      }
    }
  } else {
    for (HoldemSeatRecord& seat : seats_) (void)seat.plate.OnMouseUp(x, y);
  }
  return -1;
}

void HoldemClass::OnRButtonUp(platform::HINSTANCE instance, platform::HWND table_window, int32_t x, int32_t y) {
  const int32_t position = SeatAt(mouse_x_, mouse_y_);
  if (!IsOtherPlayersSeat(position) || table_ == nullptr) return;
  const char* name = table_->seat_names[seats_[position].server_seat % kHoldemSeats];
  if (name[0] == '\0') return;
  table_->OpenPlayerNotes(instance, table_window, name);
}

// ---- Keyboard ----

void HoldemClass::OnChar(int character) {
  if (widgets_built_ == 0) return;
  if (bet_window_.IsOpen()) {
    bet_window_.OnChar(character);
    if (character == kEnter && bet_window_.WasAmountInRange()) {
      ActAndPush(HoldemChoices_BetWindowEnter(TurnOffer(), static_cast<uint32_t>(bet_window_.GetAmount())));
    }
    return;
  }
  if (local_player_id_ < 0 || chat_line_ == nullptr) return;
  if (character == kEnter) {
    if (chat_line_->GetLength() > 0 && table_ != nullptr) (void)table_->SendChat(chat_line_->GetText());
    chat_line_->Clear();
    return;
  }
  chat_line_->AddChar(character);
}

// ---- Leaving ----

int HoldemClass::ConfirmLeave() {
  log_.Line("Want to leave table");
  if (local_player_id_ >= 0) {
    const char* text = players_[local_player_id_].status == SEAT_IN_HAND
                           ? "You have chosen to leave the table.\nYour cards will be folded when it is your turn."
                           : kLeaveQuestionPlain;
    if (leave_question_.AskStays(Window(), text, leave_caption_)) return 1;
  }
  log_.LabelNumber("The maximum active redraw count", frame_.LargestDirtyCount());
  ring_.Clear();
  return 0;
}
