// What the lobby's information panel keeps: its text, the user's balances and the table whose
// details are wanted. UI thread only.
#pragma once

#include <cstdint>
#include <string>

class GameListView;

struct InfoPanelState {
  static constexpr uint32_t kTextBytes = 2048;  // the panel text's room, its NUL included

  std::string text;  // empty: the panel shows the lobby background and lobby button 8
  bool panel_restored = false;
  // 0 real money (cents), 1 play money (cents), 2 promo bucks, 3 POP, 4 copper coins, 5 silver
  // rings, 6 gold bars, 7 gem stones, 8 black pearls (hundredths), 9-11 kept.
  uint32_t balances[12] = {};
  bool balances_valid = false;
  int32_t wanted_table_id = -1;
  std::string table_name;
  bool detail_is_new = false;
  int32_t balances_countdown_ms = 0;
  uint32_t last_check_ms = 0;
  uint32_t balances_requests = 0;  // how many balances requests were sent
};

InfoPanelState& InfoPanel_State();

// The panel text of a table detail packet (its table id already checked): 0, or 1 when a field is
// short. `user_waits` tells whether `user` (letter case ignored) is among the waiting names.
int InfoPanel_FormatTableDetail(const uint8_t* payload, uint32_t length, const char* table_name,
                                const char* user, std::string* out, bool* user_waits);
// The balances text of a signed-in user.
std::string InfoPanel_FormatBalances(const uint32_t balances[12], const char* user,
                                     bool play_money);
// The panel text of a tournament row: its number, name, game, state and enrolled count.
std::string InfoPanel_FormatTourneyRow(const GameListView& view, int32_t row);
