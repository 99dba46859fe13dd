// The demo room's dealt tables: every table the lobby lists, with its game, stakes, seats and
// robots, and the maker of the dealer that plays it. The lobby's lists (demo_signin.cpp), the
// lobby's table details (demo_chrome.cpp) and the table runner (demo_dealer.cpp) all read this
// one registry, so a listed table always deals and a table that does not deal is not listed.
//
// A game joins the room with rows here and a dealer of its own behind `dealer::TableDealer`
// (tests/server/dealer/table_dealer.h); nothing else in the room knows the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/server/dealer/table_dealer.h"

namespace demo {

// Game types as the lobby and the tables number them.
enum GameType : int {
  kPan = 0,
  kHoldem = 1,
  kGuts = 2,
  kBig2 = 3,
  kChinesePoker = 4,
  kBlackJack = 5,
  kSevenCardStud = 6,
  kOmaha = 7,
};

struct Robot {
  uint8_t seat = 0;
  std::string name;  // at most 10 characters
  uint32_t chips = 0;
};

struct DealtTable {
  uint32_t table_id = 0;
  std::string name;                 // at most 31 characters
  int game_type = kHoldem;
  std::string list_code;            // the lobby list it is on: "HO", "OM", "P7", "MC", "CP", "B2", "PA", "BJ"
  std::string stakes_text;          // the title's stakes text and the list's stakes column
  bool real_money = true;
  int seats = 10;
  dealer::TableStakes stakes;
  uint32_t minimum_buy_in = 2000;   // cents
  uint32_t maximum_buy_in = 20000;  // cents
  std::vector<Robot> robots;        // seated from the start, each on a seat below `seats`
  dealer::MakeTableDealer make = nullptr;
  // The list's columns after the player count (average pot, players per flop and the like), as
  // many as the game's list carries; missing ones go out as "0".
  std::vector<std::string> list_figures;
  // The list's stakes columns when they are not the stakes text alone (a list of a smallest and
  // a largest bet has two).
  std::vector<std::string> list_stakes;
  uint32_t turn_seconds = 20;
  int variant = 0;          // handed to the dealer as is
  uint32_t table_flags = 0;  // of the join result (and the dealer's setup): 8 amounts in whole units
};

// Every dealt table, in the order the lists show them before sorting.
const std::vector<DealtTable>& DealtTables();
// The row of `table_id`, nullptr for a table that is not dealt (and not listed).
const DealtTable* FindDealtTable(uint32_t table_id);

}  // namespace demo
