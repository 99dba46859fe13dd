#include "cclient/games/holdem/holdem_draw_layout.h"

#include <cinttypes>
#include <cstdio>

#include "cclient/widgets/money_text.h"

platform::RECT HoldemDraw_PlaceTooltip(int32_t mouse_x, int32_t mouse_y, int32_t width, int32_t height) {
  int32_t x = mouse_x - (width + 1) / 2;
  if (x < 3) x = 3;
  // The frame is one pixel wider than the text on the right; the box may end exactly at 792.
  if (x + width + 1 > 792) x = 792 - (width + 1);
  const int32_t y = mouse_y + 20;
  return platform::RECT{x, y, x + width, y + height};
}

platform::RECT HoldemDraw_PlaceOverlay(int32_t width, int32_t height) {
  const int32_t left = (799 - width) / 2 - 4;
  return platform::RECT{left, 176, left + width + 8, height + 184};
}

void HoldemDraw_BetTotalText(char* out, size_t size, uint64_t amount, bool whole_units) {
  const uint64_t cents = whole_units ? amount * 100 : amount;
  MoneyText_Label(out, size, static_cast<int64_t>(cents));
}

void HoldemDraw_ChipsText(char* out, size_t size, uint32_t chips, bool whole_units) {
  if (whole_units) {
    std::snprintf(out, size, "$%" PRIu32, chips);
  } else {
    std::snprintf(out, size, "$%" PRIu32 ".%02" PRIu32, chips / 100, chips % 100);
  }
}

const char* HoldemDraw_StatusText(uint32_t status, bool hovered) {
  if (hovered) return nullptr;
  switch (status) {
    case 30:
      return "Sitting Out";
    case 20:
      return "Leaving";
    case 60:
      return "All-In";
    default:
      return nullptr;
  }
}

const char* HoldemDraw_SeatActionText(HoldemSeatAction action) {
  switch (action) {
    case HoldemSeatAction::kCheck:
      return "Check";
    case HoldemSeatAction::kSmallBlind:
      return "Sml Blind";
    case HoldemSeatAction::kBigBlind:
      return "Big Blind";
    case HoldemSeatAction::kPost:
      return "Post";
    case HoldemSeatAction::kBet:
      return "Bet";
    case HoldemSeatAction::kCall:
      return "Call";
    case HoldemSeatAction::kRaise:
      return "Raise";
    case HoldemSeatAction::kReraise:
      return "Reraise";
    case HoldemSeatAction::kComplete:
      return "Complete";
    case HoldemSeatAction::kFold:
      return "Fold";
  }
  return "";
}

