#include "tests/server/dealt_tables.h"

#include <cstdlib>
#include <utility>

#include "tests/server/dealer/dealer.h"

namespace demo {

namespace {

struct RobotInBlinds {
  uint8_t seat;
  const char* name;
  uint32_t big_blinds;  // chips, in big blinds of the table
};

// Cents of a money text such as "$0.50" or "$2".
uint32_t CentsOf(const std::string& text) {
  const size_t dollar = text.find('$');
  if (dollar == std::string::npos) return 0;
  return static_cast<uint32_t>(std::strtod(text.c_str() + dollar + 1, nullptr) * 100.0 + 0.5);
}

// A Hold'em or Omaha table whose blinds come from its stakes text, so the two never disagree:
// "$1/$2" is a fixed limit of $1 and $2 bets with blinds of $0.50 and $1, "N/L $1/$2" (or "P/L")
// has blinds of $1 and $2. The buy-in runs from 20 to 200 big blinds.
DealtTable RingGame(uint32_t table_id, const char* name, int game_type, const char* stakes_text, int seats,
                    bool real_money, std::initializer_list<RobotInBlinds> robots,
                    std::vector<std::string> list_figures) {
  DealtTable table;
  table.table_id = table_id;
  table.name = name;
  table.game_type = game_type;
  table.list_code = game_type == kOmaha ? "OM" : "HO";
  table.stakes_text = stakes_text;
  table.real_money = real_money;
  table.seats = seats;
  const std::string text = stakes_text;
  const size_t slash = text.find('/', text.find('$'));
  const uint32_t low = CentsOf(text.substr(0, slash));
  const uint32_t high = CentsOf(text.substr(slash + 1));
  if (text.rfind("N/L", 0) == 0 || text.rfind("P/L", 0) == 0) {
    table.stakes = {low, high, 0, text[0] == 'N' ? dealer::Limit::kNoLimit : dealer::Limit::kPotLimit};
  } else {
    table.stakes = {low / 2, low, 0, dealer::Limit::kFixed};
  }
  table.minimum_buy_in = 20 * table.stakes.big_cents;
  table.maximum_buy_in = 200 * table.stakes.big_cents;
  for (const RobotInBlinds& robot : robots) {
    table.robots.push_back({robot.seat, robot.name, robot.big_blinds * table.stakes.big_cents});
  }
  table.make = game_type == kOmaha ? dealer::MakeOmahaTableDealer : dealer::MakeHoldemTableDealer;
  table.list_figures = std::move(list_figures);
  return table;
}

std::vector<DealtTable> MakeDealtTables() {
  // The list's figures after the player count: average pot, (unshown), players per flop, hands
  // per hour, waiting.
  return {
      RingGame(1001, "Aberdeen", kHoldem, "$1/$2", 10, true, {{1, "Dora", 150}, {6, "Hal", 88}, {8, "Kit", 120}},
               {"$18", "0", "32%", "64", "0"}),
      RingGame(1002, "Bristol", kHoldem, "$2/$4", 10, true,
               {{0, "Ann", 90}, {3, "Bertie", 140}, {5, "Cleo", 75}, {8, "Dmitri", 110}},
               {"$41", "0", "28%", "58", "0"}),
      RingGame(1003, "Cardiff", kHoldem, "N/L $0.50/$1", 6, true,
               {{0, "Esme", 100}, {2, "Farid", 160}, {4, "Greta", 85}}, {"$36", "0", "24%", "71", "0"}),
      RingGame(1004, "Dundee", kHoldem, "$5/$10", 10, true, {{2, "Hamish", 80}, {5, "Ines", 120}, {7, "Jonas", 95}},
               {"$120", "0", "21%", "52", "0"}),
      RingGame(1005, "Exeter", kHoldem, "$10/$20", 10, true,
               {{0, "Kofi", 60}, {2, "Lena", 140}, {4, "Marek", 90}, {6, "Nadia", 110}, {8, "Otto", 75}},
               {"$310", "0", "27%", "49", "0"}),
      RingGame(1006, "Falkirk", kHoldem, "P/L $1/$2", 6, true,
               {{0, "Priya", 100}, {1, "Quinn", 70}, {3, "Rosa", 130}, {4, "Sven", 90}},
               {"$52", "0", "35%", "77", "0"}),
      RingGame(1007, "Glasgow", kHoldem, "$1/$2", 10, true, {{3, "Tomas", 100}, {7, "Uma", 120}},
               {"$11", "0", "44%", "66", "0"}),
      RingGame(1008, "Hull", kHoldem, "N/L $1/$2", 10, true, {{1, "Dora", 75}, {6, "Hal", 44}, {8, "Kit", 60}},
               {"$95", "0", "30%", "55", "0"}),
      RingGame(1009, "Inverness", kHoldem, "$3/$6", 2, true, {{0, "Vera", 100}}, {"$22", "0", "90%", "140", "0"}),
      RingGame(1010, "Kendal", kHoldem, "$0.25/$0.50", 10, true,
               {{0, "Wes", 120}, {2, "Ann", 80}, {4, "Cleo", 150}, {6, "Esme", 95}, {9, "Greta", 70}},
               {"$4", "0", "38%", "70", "0"}),
      RingGame(1011, "Leeds", kHoldem, "$15/$30", 10, true,
               {{1, "Ines", 60}, {4, "Kofi", 85}, {6, "Marek", 70}, {9, "Otto", 100}},
               {"$460", "0", "25%", "48", "0"}),
      RingGame(1012, "Morecambe", kHoldem, "N/L $2/$5", 6, true, {{1, "Quinn", 100}, {3, "Sven", 140}, {5, "Uma", 80}},
               {"$210", "0", "26%", "68", "0"}),
      RingGame(1013, "Newport", kHoldem, "$1/$2", 10, false,
               {{0, "Bertie", 200}, {2, "Dmitri", 150}, {3, "Farid", 90}, {5, "Hamish", 120}, {7, "Jonas", 100},
                {9, "Lena", 180}},
               {"$30", "0", "40%", "60", "0"}),
      RingGame(1014, "Oxford", kHoldem, "$10/$20", 10, false,
               {{1, "Nadia", 100}, {4, "Priya", 130}, {6, "Rosa", 70}, {8, "Tomas", 90}},
               {"$150", "0", "33%", "50", "0"}),
      RingGame(1015, "Perth", kHoldem, "$2/$4", 10, true, {{2, "Vera", 110}, {7, "Wes", 90}},
               {"$15", "0", "41%", "62", "0"}),
      RingGame(1016, "Ripon", kHoldem, "$1/$2", 10, true,
               {{0, "Cleo", 100}, {3, "Esme", 60}, {5, "Greta", 140}, {8, "Ines", 90}},
               {"$19", "0", "36%", "61", "0"}),
      RingGame(1017, "Salford", kHoldem, "$5/$10", 6, true,
               {{0, "Kofi", 90}, {1, "Marek", 120}, {3, "Otto", 75}, {5, "Quinn", 100}},
               {"$98", "0", "31%", "74", "0"}),
      RingGame(1018, "Truro", kHoldem, "N/L $5/$10", 10, true,
               {{0, "Sven", 100}, {1, "Uma", 80}, {3, "Wes", 150}, {5, "Bertie", 60}, {7, "Dmitri", 120},
                {9, "Farid", 95}},
               {"$880", "0", "22%", "51", "0"}),
      RingGame(1019, "Wells", kHoldem, "$1/$2", 10, true, {{4, "Hamish", 70}, {9, "Jonas", 130}},
               {"$3", "0", "100%", "20", "0"}),
      RingGame(1020, "York", kHoldem, "$3/$6", 10, true,
               {{0, "Lena", 100}, {1, "Nadia", 80}, {2, "Priya", 140}, {4, "Rosa", 90}, {6, "Tomas", 110},
                {7, "Vera", 70}, {9, "Ann", 120}},
               {"$66", "0", "29%", "57", "0"}),
      RingGame(2001, "Omaha Ash", kOmaha, "$1/$2", 10, true, {{1, "Dora", 150}, {6, "Hal", 88}, {8, "Kit", 120}},
               {"$40", "0", "45%", "60", "0"}),
      RingGame(2002, "Omaha Birch", kOmaha, "P/L $2/$5", 10, true,
               {{0, "Cleo", 100}, {2, "Esme", 80}, {4, "Greta", 120}, {6, "Ines", 90}, {8, "Kofi", 140}},
               {"$260", "0", "50%", "55", "0"}),
      RingGame(2003, "Omaha Cedar", kOmaha, "$5/$10", 6, true, {{1, "Marek", 100}, {3, "Otto", 70}, {5, "Quinn", 130}},
               {"$190", "0", "48%", "70", "0"}),
      RingGame(2004, "Omaha Elm", kOmaha, "P/L $0.50/$1", 10, true,
               {{0, "Sven", 90}, {1, "Uma", 120}, {3, "Wes", 70}, {5, "Bertie", 100}, {7, "Dmitri", 150},
                {9, "Farid", 80}},
               {"$55", "0", "52%", "62", "0"}),
      RingGame(2005, "Omaha Oak", kOmaha, "$1/$2", 10, false,
               {{0, "Hamish", 100}, {3, "Jonas", 140}, {6, "Lena", 90}, {8, "Nadia", 110}},
               {"$33", "0", "47%", "58", "0"}),
  };
}

}  // namespace

const std::vector<DealtTable>& DealtTables() {
  static const std::vector<DealtTable> tables = MakeDealtTables();
  return tables;
}

const DealtTable* FindDealtTable(uint32_t table_id) {
  for (const DealtTable& table : DealtTables()) {
    if (table.table_id == table_id) return &table;
  }
  return nullptr;
}

}  // namespace demo
