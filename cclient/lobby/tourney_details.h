// A tournament's copy of its details: the 1099 parser, the details state machine that decides what
// to ask the server for, the merge of player changes, ranks and the table entries.
//
// Nothing here draws: the tournament window owns one `TourneyDetails`, feeds it packets and timer
// steps, and reads its state to fill list views and paint. Requests leave through `send`.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t kTourneyTextBytes = 64;
constexpr int32_t kTourneyPlacesPaidBytes = 5;
constexpr int32_t kTourneyPrizeRowBytes = 128;
constexpr int32_t kTourneyTablePlayersShown = 10;
// A first answer with fewer new players than this is the whole list; a later page, fewer than the
// second number.
constexpr size_t kTourneyFirstPageSize = 50;
constexpr size_t kTourneyLaterPageSize = 100;
constexpr double kTourneyRefreshSeconds = 600.0;

// Details states.
enum TourneyDetailsState : int32_t {
  TOURNEY_DETAILS_NONE = -1,
  TOURNEY_DETAILS_FULL_REQUESTED = 0,
  TOURNEY_DETAILS_COLLECTING = 1,
  TOURNEY_DETAILS_UP_TO_DATE = 2,
  TOURNEY_DETAILS_LINK_LOST = 3,
};

// Tournament states as the server numbers them.
enum : uint8_t {
  TOURNEY_STATE_ANNOUNCED = 1,
  TOURNEY_STATE_REGISTERING = 2,
  TOURNEY_STATE_FULL = 4,
  TOURNEY_STATE_RUNNING = 5,
  TOURNEY_STATE_COMPLETED = 6,
  TOURNEY_STATE_CANCELED = 7,
};

// Bits of the 1099 part mask.
enum : uint8_t {
  TOURNEY_PART_GENERAL = 0x01,
  TOURNEY_PART_PLAYERS = 0x02,
  TOURNEY_PART_TABLES = 0x04,
  TOURNEY_PART_PRIZES = 0x08,
  TOURNEY_PART_PRIZE_TABLE = 0x10,
  TOURNEY_PART_REGISTRATION = 0x20,
  TOURNEY_PART_COMPLETE = 0x40,
  TOURNEY_PART_WATCH = 0x80,
};

// Bits of the player part's mask.
enum : uint8_t {
  TOURNEY_PLAYERS_REMOVED = 0x01,
  TOURNEY_PLAYERS_NEW = 0x02,
  TOURNEY_PLAYERS_UPDATED = 0x04,
  TOURNEY_PLAYERS_PAGED = 0x08,
  TOURNEY_PLAYERS_LAST_PAGE = 0x10,
};

// Parts asked for in 1097 (sums allowed).
enum : uint8_t {
  TOURNEY_ASK_EVERYTHING = 1,
  TOURNEY_ASK_NEXT_PLAYERS = 2,
  TOURNEY_ASK_PRIZE_TABLE = 4,
  TOURNEY_ASK_RESUME = 8,
};

struct TourneyPlayer {
  uint32_t player_id = 0;
  char name[kTourneyTextBytes] = {};
  char extra_text[kTourneyTextBytes] = {};
  int32_t table_id = -1;
  int32_t table_index = -1;  // into the table array; made by the client
  int32_t finish_place = 0;  // 0 while still playing
  int32_t chips = 0;         // cents
  char chips_text[kTourneyTextBytes] = {};  // "$": the chips are money
};

struct TourneyTable {
  uint32_t table_id = 0;
  char name[kTourneyTextBytes] = {};
};

// One table that has at least one player.
struct TourneyTableEntry {
  int32_t table_index = -1;
  int32_t player_count = 0;
  int32_t biggest_chips = 0;
  int32_t smallest_chips = 0;
};

// A countdown in seconds with the clock that has run since it arrived.
struct TourneyCountdown {
  int32_t seconds = -1;  // -1: none
  double clock = 0.0;
};

// The general fields of a tournament.
struct TourneyGeneral {
  char name[kTourneyTextBytes] = {};
  char subtitle[kTourneyTextBytes] = {};
  char start_text[kTourneyTextBytes] = {};
  char game[kTourneyTextBytes] = {};
  char start_date[kTourneyTextBytes] = {};
  char start_time[kTourneyTextBytes] = {};
  char buy_in[kTourneyTextBytes] = {};
  char rebuys[kTourneyTextBytes] = {};
  char addons[kTourneyTextBytes] = {};
  char further_text[kTourneyTextBytes] = {};
  char level_text[kTourneyTextBytes] = {};
  char level_word[kTourneyTextBytes] = {};
  char current_level[kTourneyTextBytes] = {};
  char next_level[kTourneyTextBytes] = {};
  char game_code[4] = {};
  TourneyCountdown start;
  bool start_text_given = true;
  TourneyCountdown second;
  TourneyCountdown level_time_left;
  TourneyCountdown next_break;
  uint8_t state = 0;
  uint32_t maximum_players = 0;
  uint32_t minimum_players = 0;
  uint32_t players_eliminated = 0;
  uint32_t rebuys_count = 0;
  uint32_t addons_count = 0;
  uint32_t starting_chips = 0;  // cents
  bool ranks_kept = false;
  bool rebuys_available = true;
  bool addons_available = true;
};

struct TourneyPrizes {
  char guaranteed[kTourneyTextBytes] = {};
  char current_pool[kTourneyTextBytes] = {};
  char places_paid[kTourneyPlacesPaidBytes] = {};
  char first[kTourneyTextBytes] = {};
  char second[kTourneyTextBytes] = {};
  char third[kTourneyTextBytes] = {};
};

struct TourneyPlayerUpdate {
  uint8_t mask = 0;
  TourneyPlayer fields;  // player_id names the row; other fields as the mask says
};

// One parsed 1099 after the tourney id.
struct TourneyDetailsRecord {
  uint32_t registered_count = 0;
  uint8_t parts = 0;
  uint32_t general_fields = 0;  // which general fields were present
  TourneyGeneral general;       // the window's fields with the present ones replaced
  uint8_t player_mask = 0;
  std::vector<uint32_t> removals;
  std::vector<TourneyPlayer> new_players;
  std::vector<TourneyPlayerUpdate> updates;
  std::vector<TourneyTable> tables;
  uint8_t prize_mask = 0;
  TourneyPrizes prizes;
  std::vector<std::string> prize_rows;
  uint8_t registration = 0;
};

// Which field of a 1099 was cut short (nonzero results of `ParseTourneyDetails`).
enum TourneyParseError : int {
  TOURNEY_PARSE_OK = 0,
  TOURNEY_PARSE_HEADER = 1,
  TOURNEY_PARSE_GENERAL = 2,
  TOURNEY_PARSE_PLAYERS = 3,
  TOURNEY_PARSE_TABLES = 4,
  TOURNEY_PARSE_PRIZES = 5,
  TOURNEY_PARSE_PRIZE_TABLE = 6,
  TOURNEY_PARSE_REGISTRATION = 7,
};

// Parses a 1099 payload after the tourney id into `record`, whose `general` starts as a copy of
// `current`. A count that cannot fit in the bytes left is an error before anything is reserved.
[[nodiscard]] int ParseTourneyDetails(const uint8_t* payload, int32_t length,
                                      const TourneyGeneral& current, TourneyDetailsRecord* record);

// Cuts "[word]" out of a tournament name when the "]" follows the "[" and is not the last
// character.
void TourneyCutBracketedWord(char* name);

class TourneyDetails {
 public:
  // Sends one request packet (type, payload, length) on the window's connection.
  using SendFunction = std::function<void(uint32_t, const uint8_t*, uint32_t)>;

  TourneyDetails();

  // Every field to its initial value (`logged_in` as the sign-in state is now).
  void Reset(bool logged_in);

  // 1097 with the parts wanted.
  void RequestDetails(bool everything, bool next_players, bool prize_table, bool resume);
  // 1098 with the flag.
  void SendStatus(uint8_t flag);
  // Forgets the copy and asks for a whole new one.
  void AskFullCopy();

  // 1099 after the tourney id: 0 when applied, else a `TourneyParseError` and nothing changed.
  [[nodiscard]] int OnDetails(const uint8_t* payload, uint32_t length);
  // Applies a parsed record (the state machine).
  void ApplyDetails(TourneyDetailsRecord& record);

  // The details state machine's timer step: `link_quality` 0 means the link is down.
  void TickState(double elapsed_seconds, uint32_t link_quality);

  // Merges a player part; 0 or more on success, negative on an inconsistency.
  int MergePlayers(TourneyDetailsRecord& record, bool take_new_players);
  // Ranks the rows and puts them in display order.
  void RankPlayers();
  // Builds the table entries and the chosen table's players.
  void BuildTableEntries();
  void BuildTablePlayers();
  void ClearTables();
  // Finds the user's row by name (nothing when not logged in).
  void FindOwnRow();
  int32_t FindPlayer(uint32_t player_id) const;
  int32_t FindTable(int32_t table_id) const;
  bool RanksComputed() const { return general.ranks_kept && ranks.size() == players.size() && !players.empty(); }

  // Injected by the owner.
  SendFunction send;
  // Called with the tournament state a parsed 1099 leaves (the held one when it carries none),
  // before the record is applied.
  std::function<void(uint8_t)> before_apply;
  uint32_t tourney_id = 0;
  std::string user_name;      // the signed-in name, for finding the own row
  bool prize_pool_open = false;

  // Set when the owner has work to do; the owner clears them.
  bool close_requested = false;     // the tournament is gone
  bool prize_rows_arrived = false;  // pending_prize_rows were replaced
  bool redraw = false;
  bool wins_column = false;         // the chips column reads "Wins"
  bool watch_reported = false;

  // The copy.
  int32_t state = TOURNEY_DETAILS_NONE;
  uint32_t registered_count = 0;
  TourneyGeneral general;
  TourneyPrizes prizes;
  bool prize_table_changed = true;
  std::vector<std::string> pending_prize_rows;
  bool registration_known = false;
  bool registration_open = false;
  bool registered = false;
  bool logged_in = false;
  bool watch_applies = false;
  char winner_name[kTourneyTextBytes] = {};

  std::vector<TourneyPlayer> players;  // display order
  std::vector<int32_t> ranks;          // parallel to players while ranks are kept
  int64_t highest_player_id = -1;
  int32_t finished_rows = 0;
  int32_t player_sort = 0;
  int64_t chosen_player_id = -1;
  int64_t own_player_id = -1;
  int32_t own_row = -1;

  std::vector<TourneyTable> tables;
  std::vector<TourneyTableEntry> table_entries;
  int32_t table_sort = 1;
  int64_t chosen_table_id = -1;
  int32_t chosen_table_row = -1;
  std::vector<TourneyPlayer> table_players;  // at most 10
  int32_t table_player_sort = 1;
  int64_t chosen_table_player_id = -1;

  double refresh_clock = 0.0;
  double page_clock = 0.0;
  int32_t retry_count = 0;

 private:
  void TakeWhole(TourneyDetailsRecord& record);
  void TakeTables(TourneyDetailsRecord& record);
  void TakePrizeTable(TourneyDetailsRecord& record);
  void TakeGeneral(const TourneyDetailsRecord& record);
  bool CopyIsConsistent(const TourneyDetailsRecord& record) const;
  void FindTableIndexes();
  void AfterPlayersChanged();
};
