#include "cclient/lobby/tourney_texts.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char* Plural(int64_t n) { return n >= 2 ? "s" : ""; }

int64_t WholeSecondsUp(double seconds) {
  if (seconds > 9.0e15) return static_cast<int64_t>(9.0e15);
  return static_cast<int64_t>(std::ceil(seconds));
}

}  // namespace

void FormatDuration(double seconds, char* out, size_t size, int32_t style) {
  if (size == 0) return;
  out[0] = '\0';
  if (!(seconds > 0.0)) return;
  const int64_t n = WholeSecondsUp(seconds);
  if (n >= 3600) {
    int64_t minutes = (n + 59) / 60;
    int64_t hours = minutes / 60;
    minutes %= 60;
    int64_t days = hours / 24;
    hours %= 24;
    if (days == 1 && hours == 0) {
      days = 0;
      hours = 24;
    }
    if (days == 0) {
      std::snprintf(out, size, "%lld hour%s %lld minute%s", static_cast<long long>(hours), Plural(hours),
                    static_cast<long long>(minutes), Plural(minutes));
    } else {
      std::snprintf(out, size, "%lld day%s %lld hour%s %lld minute%s", static_cast<long long>(days),
                    Plural(days), static_cast<long long>(hours), Plural(hours),
                    static_cast<long long>(minutes), Plural(minutes));
    }
    return;
  }
  if (n >= 60) {
    if (style == TOURNEY_DURATION_LONG) {
      std::snprintf(out, size, "%lld minute%s %lld second%s", static_cast<long long>(n / 60),
                    Plural(n / 60), static_cast<long long>(n % 60), Plural(n % 60));
      return;
    }
    const int64_t minutes = n / 60 + (n % 60 != 0 ? 1 : 0);
    std::snprintf(out, size, style == TOURNEY_DURATION_SHORT ? "%lld min" : "%lldmin",
                  static_cast<long long>(minutes));
    return;
  }
  if (style == TOURNEY_DURATION_LONG) {
    std::snprintf(out, size, "%lld second%s", static_cast<long long>(n), Plural(n));
  } else if (n > 50) {
    std::snprintf(out, size, "%s", style == TOURNEY_DURATION_SHORT ? "1 min" : "1min");
  } else {
    const int64_t tens = (n + 9) / 10 * 10;
    std::snprintf(out, size, style == TOURNEY_DURATION_SHORT ? "%lld sec" : "%lldsec",
                  static_cast<long long>(tens));
  }
}

void FormatClock(double seconds, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  if (!(seconds > 0.0)) return;
  const int64_t n = WholeSecondsUp(seconds);
  if (n < 90000) {
    std::snprintf(out, size, "%lldh:%lldm:%llds", static_cast<long long>(n / 3600),
                  static_cast<long long>(n / 60 % 60), static_cast<long long>(n % 60));
    return;
  }
  const int64_t minutes = (n + 59) / 60;
  std::snprintf(out, size, "%lldd:%lldh:%lldm", static_cast<long long>(minutes / 1440),
                static_cast<long long>(minutes / 60 % 24), static_cast<long long>(minutes % 60));
}

void TourneyMoneyText(int32_t cents, char* out, size_t size) {
  if (cents % 100 != 0) {
    std::snprintf(out, size, "%5.2f", cents / 100.0);
  } else {
    std::snprintf(out, size, "%ld", static_cast<long>(cents / 100));
  }
}

void TourneyChipsText(const TourneyPlayer& player, char* out, size_t size) {
  if (std::strcmp(player.chips_text, "$") == 0) {
    TourneyMoneyText(player.chips, out, size);
  } else {
    std::snprintf(out, size, "%s", player.chips_text);
  }
}

bool TourneyShownButtons(const TourneyDetails& d, uint32_t* shown) {
  if (d.state == TOURNEY_DETAILS_FULL_REQUESTED) return false;
  uint32_t bits = 0;
  auto show = [&bits](int32_t id) { bits |= 1u << id; };
  if (d.state != TOURNEY_DETAILS_NONE) {
    if (!d.logged_in) {
      show(TOURNEY_BUTTON_SIGN_IN);
    } else if (d.registered) {
      if (d.registration_known && d.registration_open && d.general.state == TOURNEY_STATE_REGISTERING) {
        show(TOURNEY_BUTTON_UNREGISTER);
      }
      if (d.own_row >= 0 && static_cast<size_t>(d.own_row) < d.players.size() &&
          d.players[static_cast<size_t>(d.own_row)].table_id >= 0 && !d.table_entries.empty()) {
        show(TOURNEY_BUTTON_MY_TABLE);
      }
    } else if (d.registration_known && d.registration_open &&
               d.general.state == TOURNEY_STATE_REGISTERING &&
               d.registered_count < d.general.maximum_players) {
      show(TOURNEY_BUTTON_REGISTER);
    }
    if (d.chosen_table_id >= 0 && d.chosen_table_row >= 0 &&
        static_cast<size_t>(d.chosen_table_row) < d.table_entries.size()) {
      show(TOURNEY_BUTTON_GO_TO_TABLE);
    }
  }
  *shown = bits;
  return true;
}

int32_t TourneyNextSortCode(int32_t current, int32_t column, bool chips_rank_flip) {
  if (current == column || current == -column) return -current;
  if (chips_rank_flip && current > 0 && ((current == 3 && column == 4) || (current == 4 && column == 3))) {
    return -column;
  }
  return column;
}
