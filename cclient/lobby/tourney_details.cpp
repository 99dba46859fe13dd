#include "cclient/lobby/tourney_details.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/net/packet_types.h"

namespace {

// The smallest wire size of one record of each counted list, so that a count is checked against
// the bytes left before anything is reserved for it.
constexpr int32_t kRemovalBytes = 4;
constexpr int32_t kNewPlayerBytes = 4 + 1 + 1 + 4 + 4 + 4 + 1;
constexpr int32_t kUpdateBytes = 4 + 1;
constexpr int32_t kTableBytes = 4 + 1;
constexpr int32_t kPrizeRowBytes = 1;

struct Cursor {
  const uint8_t* read;
  int32_t left;
  int U8(uint8_t* out) { return PacketReadU8(out, &read, &left); }
  int U32(uint32_t* out) { return PacketReadU32(out, &read, &left); }
  int I32(int32_t* out) {
    uint32_t value;
    if (U32(&value) != 0) return 1;
    *out = static_cast<int32_t>(value);
    return 0;
  }
  int Text(char* out, int32_t limit) { return PacketReadString(out, limit, &read, &left); }
  // A count of records of at least `record_bytes` each that fit in what is left.
  int Count(uint32_t* out, int32_t record_bytes) {
    if (U32(out) != 0) return 1;
    if (static_cast<int32_t>(*out) < 0) return 1;
    if (*out > static_cast<uint32_t>(left / record_bytes)) return 1;
    return 0;
  }
};

void RestartCountdown(TourneyCountdown* countdown, uint32_t seconds) {
  countdown->seconds = static_cast<int32_t>(seconds);
  countdown->clock = 0.0;
}

void TakeLevelWord(TourneyGeneral* general) {
  const char* text = general->level_text;
  while (*text == ' ') ++text;
  size_t length = 0;
  while (text[length] != '\0' && text[length] != ' ') ++length;
  std::memcpy(general->level_word, text, length);
  general->level_word[length] = '\0';
}

int ParseGeneral(Cursor& in, TourneyDetailsRecord* record) {
  TourneyGeneral& g = record->general;
  uint32_t mask;
  if (in.U32(&mask) != 0) return 1;
  record->general_fields = mask;
  uint32_t value;
  uint8_t byte;
  for (int bit = 0; bit < 25; ++bit) {
    if ((mask & (1u << bit)) == 0) continue;
    int fail = 0;
    switch (bit) {
      case 0:
        fail = in.Text(g.name, kTourneyTextBytes);
        if (fail == 0) TourneyCutBracketedWord(g.name);
        break;
      case 1: fail = in.Text(g.subtitle, kTourneyTextBytes); break;
      case 2:
        fail = in.U32(&value);
        if (fail == 0) {
          RestartCountdown(&g.start, value);
          g.start_text_given = false;
        }
        break;
      case 3:
        fail = in.Text(g.start_text, kTourneyTextBytes);
        if (fail == 0) g.start_text_given = true;
        break;
      case 4: fail = in.Text(g.game, kTourneyTextBytes); break;
      case 5: fail = in.Text(g.start_date, kTourneyTextBytes); break;
      case 6: fail = in.Text(g.start_time, kTourneyTextBytes); break;
      case 7:
        fail = in.U32(&value);
        if (fail == 0) RestartCountdown(&g.second, value);
        break;
      case 8: fail = in.Text(g.buy_in, kTourneyTextBytes); break;
      case 9:
        fail = in.Text(g.rebuys, kTourneyTextBytes);
        if (fail == 0) g.rebuys_available = strcasecmp(g.rebuys, "N/A") != 0;
        break;
      case 10:
        fail = in.Text(g.addons, kTourneyTextBytes);
        if (fail == 0) g.addons_available = strcasecmp(g.addons, "N/A") != 0;
        break;
      case 11: fail = in.Text(g.further_text, kTourneyTextBytes); break;
      case 12:
        fail = in.Text(g.level_text, kTourneyTextBytes);
        if (fail == 0) TakeLevelWord(&g);
        break;
      case 13:
        fail = in.U32(&value);
        if (fail == 0) RestartCountdown(&g.level_time_left, value);
        break;
      case 14: fail = in.Text(g.current_level, kTourneyTextBytes); break;
      case 15: fail = in.Text(g.next_level, kTourneyTextBytes); break;
      case 16:
        fail = in.U32(&value);
        if (fail == 0) RestartCountdown(&g.next_break, value);
        break;
      case 17:
        fail = in.U8(&byte);
        if (fail == 0) {
          g.state = byte;
          g.ranks_kept = byte == TOURNEY_STATE_RUNNING || byte == TOURNEY_STATE_COMPLETED ||
                         byte == TOURNEY_STATE_CANCELED;
        }
        break;
      case 18: fail = in.U32(&g.maximum_players); break;
      case 19: fail = in.U32(&g.minimum_players); break;
      case 20: fail = in.U32(&g.players_eliminated); break;
      case 21: fail = in.U32(&g.rebuys_count); break;
      case 22: fail = in.U32(&g.addons_count); break;
      case 23:
        fail = PacketReadBytes(g.game_code, 4, &in.read, &in.left);
        g.game_code[3] = '\0';
        break;
      case 24: fail = in.U32(&g.starting_chips); break;
    }
    if (fail != 0) return 1;
  }
  return 0;
}

int ParsePlayers(Cursor& in, TourneyDetailsRecord* record) {
  if (in.U8(&record->player_mask) != 0) return 1;
  uint32_t count;
  if (record->player_mask & TOURNEY_PLAYERS_REMOVED) {
    if (in.Count(&count, kRemovalBytes) != 0) return 1;
    record->removals.resize(count);
    for (uint32_t& id : record->removals) {
      if (in.U32(&id) != 0) return 1;
    }
  }
  if (record->player_mask & TOURNEY_PLAYERS_NEW) {
    if (in.Count(&count, kNewPlayerBytes) != 0) return 1;
    record->new_players.resize(count);
    for (TourneyPlayer& p : record->new_players) {
      if (in.U32(&p.player_id) != 0 || in.Text(p.name, kTourneyTextBytes) != 0 ||
          in.Text(p.extra_text, kTourneyTextBytes) != 0 || in.I32(&p.table_id) != 0 ||
          in.I32(&p.finish_place) != 0 || in.I32(&p.chips) != 0 ||
          in.Text(p.chips_text, kTourneyTextBytes) != 0) {
        return 1;
      }
    }
  }
  if (record->player_mask & TOURNEY_PLAYERS_UPDATED) {
    if (in.Count(&count, kUpdateBytes) != 0) return 1;
    record->updates.resize(count);
    for (TourneyPlayerUpdate& u : record->updates) {
      TourneyPlayer& p = u.fields;
      if (in.U32(&p.player_id) != 0 || in.U8(&u.mask) != 0) return 1;
      if ((u.mask & 0x01) && in.Text(p.name, kTourneyTextBytes) != 0) return 1;
      if ((u.mask & 0x02) && in.Text(p.extra_text, kTourneyTextBytes) != 0) return 1;
      if ((u.mask & 0x04) && in.I32(&p.table_id) != 0) return 1;
      if ((u.mask & 0x08) && in.I32(&p.finish_place) != 0) return 1;
      if ((u.mask & 0x10) && in.I32(&p.chips) != 0) return 1;
      if ((u.mask & 0x20) && in.Text(p.chips_text, kTourneyTextBytes) != 0) return 1;
    }
  }
  return 0;
}

int ParseTables(Cursor& in, TourneyDetailsRecord* record) {
  uint32_t count;
  if (in.Count(&count, kTableBytes) != 0) return 1;
  record->tables.resize(count);
  for (TourneyTable& t : record->tables) {
    if (in.U32(&t.table_id) != 0 || in.Text(t.name, kTourneyTextBytes) != 0) return 1;
  }
  return 0;
}

int ParsePrizes(Cursor& in, TourneyDetailsRecord* record) {
  TourneyPrizes& p = record->prizes;
  if (in.U8(&record->prize_mask) != 0) return 1;
  const uint8_t mask = record->prize_mask;
  if ((mask & 0x01) && in.Text(p.guaranteed, kTourneyTextBytes) != 0) return 1;
  if ((mask & 0x02) && in.Text(p.current_pool, kTourneyTextBytes) != 0) return 1;
  if ((mask & 0x04) && in.Text(p.places_paid, kTourneyPlacesPaidBytes) != 0) return 1;
  if ((mask & 0x08) && in.Text(p.first, kTourneyTextBytes) != 0) return 1;
  if ((mask & 0x10) && in.Text(p.second, kTourneyTextBytes) != 0) return 1;
  if ((mask & 0x20) && in.Text(p.third, kTourneyTextBytes) != 0) return 1;
  return 0;
}

int ParsePrizeTable(Cursor& in, TourneyDetailsRecord* record) {
  uint32_t count;
  if (in.Count(&count, kPrizeRowBytes) != 0) return 1;
  record->prize_rows.reserve(count);
  char row[kTourneyPrizeRowBytes];
  for (uint32_t i = 0; i < count; ++i) {
    if (in.Text(row, kTourneyPrizeRowBytes) != 0) return 1;
    record->prize_rows.emplace_back(row);
  }
  return 0;
}

bool HasAnyPart(uint8_t parts) {
  return (parts & (TOURNEY_PART_GENERAL | TOURNEY_PART_PLAYERS | TOURNEY_PART_TABLES |
                   TOURNEY_PART_PRIZES | TOURNEY_PART_PRIZE_TABLE | TOURNEY_PART_REGISTRATION)) != 0;
}

void PutU32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

}  // namespace

void TourneyCutBracketedWord(char* name) {
  char* open = std::strchr(name, '[');
  char* close = std::strchr(name, ']');
  if (open == nullptr || close == nullptr || close < open || close[1] == '\0') return;
  std::memmove(open, close + 1, std::strlen(close + 1) + 1);
}

int ParseTourneyDetails(const uint8_t* payload, int32_t length, const TourneyGeneral& current,
                        TourneyDetailsRecord* record) {
  Cursor in{payload, length};
  record->general = current;
  if (in.U32(&record->registered_count) != 0 || in.U8(&record->parts) != 0) {
    return TOURNEY_PARSE_HEADER;
  }
  const uint8_t parts = record->parts;
  if ((parts & TOURNEY_PART_GENERAL) && ParseGeneral(in, record) != 0) return TOURNEY_PARSE_GENERAL;
  if ((parts & TOURNEY_PART_PLAYERS) && ParsePlayers(in, record) != 0) return TOURNEY_PARSE_PLAYERS;
  if ((parts & TOURNEY_PART_TABLES) && ParseTables(in, record) != 0) return TOURNEY_PARSE_TABLES;
  if ((parts & TOURNEY_PART_PRIZES) && ParsePrizes(in, record) != 0) return TOURNEY_PARSE_PRIZES;
  if ((parts & TOURNEY_PART_PRIZE_TABLE) && ParsePrizeTable(in, record) != 0) {
    return TOURNEY_PARSE_PRIZE_TABLE;
  }
  if ((parts & TOURNEY_PART_REGISTRATION) && in.U8(&record->registration) != 0) {
    return TOURNEY_PARSE_REGISTRATION;
  }
  return TOURNEY_PARSE_OK;
}

TourneyDetails::TourneyDetails() { Reset(false); }

void TourneyDetails::Reset(bool now_logged_in) {
  state = TOURNEY_DETAILS_NONE;
  registered_count = 0;
  general = TourneyGeneral{};
  prizes = TourneyPrizes{};
  prize_table_changed = true;
  pending_prize_rows.clear();
  registration_known = false;
  registration_open = false;
  registered = false;
  logged_in = now_logged_in;
  watch_applies = false;
  winner_name[0] = '\0';
  players.clear();
  ranks.clear();
  highest_player_id = -1;
  finished_rows = 0;
  player_sort = 0;
  chosen_player_id = -1;
  own_player_id = -1;
  own_row = -1;
  ClearTables();
  table_sort = 1;
  table_players.clear();
  table_players.reserve(kTourneyTablePlayersShown);
  table_player_sort = 1;
  chosen_table_player_id = -1;
  refresh_clock = 0.0;
  page_clock = 0.0;
  retry_count = 0;
}

void TourneyDetails::RequestDetails(bool everything, bool next_players, bool prize_table,
                                    bool resume) {
  uint8_t packet[10];
  PutU32(packet, tourney_id);
  packet[4] = static_cast<uint8_t>((everything ? TOURNEY_ASK_EVERYTHING : 0) |
                                   (next_players ? TOURNEY_ASK_NEXT_PLAYERS : 0) |
                                   (prize_table ? TOURNEY_ASK_PRIZE_TABLE : 0) |
                                   (resume ? TOURNEY_ASK_RESUME : 0));
  PutU32(packet + 5, everything ? 0u : static_cast<uint32_t>(highest_player_id));
  packet[9] = 0;
  watch_reported = false;
  if (send) send(PACKETTYPE_TOURNEYDETAILSREQUEST, packet, sizeof(packet));
}

void TourneyDetails::SendStatus(uint8_t flag) {
  uint8_t packet[6];
  PutU32(packet, tourney_id);
  packet[4] = flag;
  packet[5] = 0;
  if (send) send(PACKETTYPE_TOURNEYSTATUSREQUEST, packet, sizeof(packet));
}

void TourneyDetails::AskFullCopy() {
  state = TOURNEY_DETAILS_FULL_REQUESTED;
  RequestDetails(true, false, false, false);
  refresh_clock = 0.0;
}

int TourneyDetails::OnDetails(const uint8_t* payload, uint32_t length) {
  TourneyDetailsRecord record;
  const int32_t left = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  const int result = ParseTourneyDetails(payload, left, general, &record);
  if (result != TOURNEY_PARSE_OK) {
    DebugLog_WriteLevel(1, "Tournament details cut short (%d), length %u\n", result, length);
    return result;
  }
  if (before_apply) before_apply(record.general.state);
  ApplyDetails(record);
  return 0;
}

void TourneyDetails::TakeGeneral(const TourneyDetailsRecord& record) {
  registered_count = record.registered_count;
  watch_applies = (record.parts & TOURNEY_PART_WATCH) != 0;
  if (record.parts & TOURNEY_PART_GENERAL) {
    general = record.general;
    if ((record.general_fields & (1u << 17)) && general.state != TOURNEY_STATE_COMPLETED) {
      winner_name[0] = '\0';
    }
  }
  if (record.parts & TOURNEY_PART_PRIZES) {
    const uint8_t mask = record.prize_mask;
    const TourneyPrizes& in = record.prizes;
    if (mask & 0x01) std::memcpy(prizes.guaranteed, in.guaranteed, sizeof(in.guaranteed));
    if (mask & 0x02) std::memcpy(prizes.current_pool, in.current_pool, sizeof(in.current_pool));
    if (mask & 0x04) std::memcpy(prizes.places_paid, in.places_paid, sizeof(in.places_paid));
    if (mask & 0x08) std::memcpy(prizes.first, in.first, sizeof(in.first));
    if (mask & 0x10) std::memcpy(prizes.second, in.second, sizeof(in.second));
    if (mask & 0x20) std::memcpy(prizes.third, in.third, sizeof(in.third));
    prize_table_changed = (mask & 0x40) != 0;
  }
  if (record.parts & TOURNEY_PART_REGISTRATION) {
    registration_known = true;
    registration_open = (record.registration & 0x01) != 0;
    registered = (record.registration & 0x04) != 0;
  }
}

void TourneyDetails::ClearTables() {
  tables.clear();
  table_entries.clear();
  chosen_table_id = -1;
  chosen_table_row = -1;
  for (TourneyPlayer& p : players) p.table_index = -1;
}

void TourneyDetails::TakeWhole(TourneyDetailsRecord& record) {
  if (state == TOURNEY_DETAILS_NONE) state = TOURNEY_DETAILS_FULL_REQUESTED;
  TakeGeneral(record);
  players.clear();
  ranks.clear();
  highest_player_id = -1;
  own_row = -1;
  ClearTables();
  if (record.parts & TOURNEY_PART_PLAYERS) (void)MergePlayers(record, true);
  TakeTables(record);
  const bool has_players = (record.parts & TOURNEY_PART_PLAYERS) != 0;
  if (!has_players || (record.player_mask & TOURNEY_PLAYERS_LAST_PAGE) ||
      record.new_players.size() < kTourneyFirstPageSize) {
    state = TOURNEY_DETAILS_UP_TO_DATE;
  } else {
    page_clock = -1.0;
    state = TOURNEY_DETAILS_COLLECTING;
  }
  TakePrizeTable(record);
  if (prize_table_changed && prize_pool_open) RequestDetails(false, false, true, false);
}

void TourneyDetails::TakeTables(TourneyDetailsRecord& record) {
  if ((record.parts & TOURNEY_PART_TABLES) == 0 || players.empty()) return;
  ClearTables();
  tables = std::move(record.tables);
  FindTableIndexes();
  RankPlayers();
  BuildTableEntries();
}

void TourneyDetails::TakePrizeTable(TourneyDetailsRecord& record) {
  if ((record.parts & TOURNEY_PART_PRIZE_TABLE) == 0) return;
  prize_table_changed = false;
  pending_prize_rows = std::move(record.prize_rows);
  prize_rows_arrived = true;
}

void TourneyDetails::ApplyDetails(TourneyDetailsRecord& record) {
  const bool complete = (record.parts & TOURNEY_PART_COMPLETE) != 0;
  if (record.registered_count == 0 && complete && !HasAnyPart(record.parts)) {
    close_requested = true;
    return;
  }
  const bool has_players = (record.parts & TOURNEY_PART_PLAYERS) != 0;
  const bool paged = (record.player_mask & TOURNEY_PLAYERS_PAGED) != 0;
  switch (state) {
    case TOURNEY_DETAILS_NONE:
    case TOURNEY_DETAILS_FULL_REQUESTED:
      if (!complete) return;
      TakeWhole(record);
      break;
    case TOURNEY_DETAILS_COLLECTING:
      if (complete) {
        state = TOURNEY_DETAILS_FULL_REQUESTED;
        TakeWhole(record);
        break;
      }
      TakeGeneral(record);
      if (has_players && MergePlayers(record, paged) < 0) AskFullCopy();
      TakeTables(record);
      TakePrizeTable(record);
      if (state != TOURNEY_DETAILS_COLLECTING || !paged) break;
      if ((record.player_mask & TOURNEY_PLAYERS_LAST_PAGE) ||
          record.new_players.size() < kTourneyLaterPageSize) {
        state = TOURNEY_DETAILS_UP_TO_DATE;
        if (prize_table_changed && prize_pool_open) RequestDetails(false, false, true, false);
      } else {
        page_clock = -1.0;
      }
      break;
    case TOURNEY_DETAILS_UP_TO_DATE:
      if (complete) {
        state = TOURNEY_DETAILS_FULL_REQUESTED;
        TakeWhole(record);
        break;
      }
      TakeGeneral(record);
      if (has_players && !paged) {
        if (MergePlayers(record, true) < 0) AskFullCopy();
      } else if (!has_players && (record.general_fields & (1u << 17)) &&
                 general.state == TOURNEY_STATE_RUNNING) {
        AfterPlayersChanged();
      }
      TakeTables(record);
      TakePrizeTable(record);
      if (state == TOURNEY_DETAILS_UP_TO_DATE && !CopyIsConsistent(record)) AskFullCopy();
      if (state == TOURNEY_DETAILS_UP_TO_DATE && prize_table_changed && prize_pool_open) {
        RequestDetails(false, false, true, false);
      }
      break;
    default:  // link lost: the full copy asked for on reconnection replaces everything
      return;
  }
  redraw = true;
}

bool TourneyDetails::CopyIsConsistent(const TourneyDetailsRecord& record) const {
  if (players.size() != registered_count) return false;
  const bool eliminated_news = (record.general_fields & (1u << 20)) ||
                               (record.player_mask & TOURNEY_PLAYERS_UPDATED);
  if (general.state == TOURNEY_STATE_RUNNING && eliminated_news) {
    const auto finished = std::count_if(players.begin(), players.end(),
                                        [](const TourneyPlayer& p) { return p.finish_place > 0; });
    if (static_cast<uint32_t>(finished) != general.players_eliminated) return false;
  }
  return true;
}

int32_t TourneyDetails::FindPlayer(uint32_t player_id) const {
  for (size_t i = 0; i < players.size(); ++i) {
    if (players[i].player_id == player_id) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t TourneyDetails::FindTable(int32_t table_id) const {
  if (table_id < 0) return -1;
  for (size_t i = 0; i < tables.size(); ++i) {
    if (tables[i].table_id == static_cast<uint32_t>(table_id)) return static_cast<int32_t>(i);
  }
  return -1;
}

void TourneyDetails::FindTableIndexes() {
  for (TourneyPlayer& p : players) p.table_index = FindTable(p.table_id);
}

int TourneyDetails::MergePlayers(TourneyDetailsRecord& record, bool take_new_players) {
  const bool strict = state == TOURNEY_DETAILS_UP_TO_DATE;
  if ((record.general_fields & (1u << 17)) && record.general.state == TOURNEY_STATE_COMPLETED) {
    wins_column = true;
  }
  const size_t rows = players.size();
  const uint8_t mask = record.player_mask;
  if (mask & TOURNEY_PLAYERS_UPDATED) {
    if (strict && (rows == 0 || record.updates.size() + record.removals.size() > rows)) return -3;
    for (const TourneyPlayerUpdate& u : record.updates) {
      const int32_t row = FindPlayer(u.fields.player_id);
      if (row < 0) {
        if (strict) return -4;
        continue;
      }
      TourneyPlayer& p = players[static_cast<size_t>(row)];
      if (u.mask & 0x01) std::memcpy(p.name, u.fields.name, sizeof(p.name));
      if (u.mask & 0x02) std::memcpy(p.extra_text, u.fields.extra_text, sizeof(p.extra_text));
      if (u.mask & 0x04) {
        p.table_id = u.fields.table_id;
        p.table_index = FindTable(p.table_id);
      }
      if (u.mask & 0x08) p.finish_place = u.fields.finish_place;
      if (u.mask & 0x10) p.chips = u.fields.chips;
      if (u.mask & 0x20) std::memcpy(p.chips_text, u.fields.chips_text, sizeof(p.chips_text));
    }
  }
  std::vector<TourneyPlayer> arrived;
  if (take_new_players && (mask & TOURNEY_PLAYERS_NEW)) {
    arrived.reserve(record.new_players.size());
    for (TourneyPlayer& p : record.new_players) {
      const int64_t id = p.player_id;
      if (id <= highest_player_id) {
        const bool held = FindPlayer(p.player_id) >= 0 ||
                          std::any_of(arrived.begin(), arrived.end(), [&](const TourneyPlayer& a) {
                            return a.player_id == p.player_id;
                          });
        if (held) continue;
        if (strict) return -5;
      } else {
        highest_player_id = id;
      }
      p.table_index = FindTable(p.table_id);
      if (logged_in && own_player_id < 0 && !user_name.empty() &&
          strcasecmp(p.name, user_name.c_str()) == 0) {
        registered = true;
        own_player_id = p.player_id;
      }
      arrived.push_back(p);
    }
  }
  if (mask & TOURNEY_PLAYERS_REMOVED) {
    if (strict) {
      if (rows == 0 || record.removals.size() > rows) return -1;
      for (uint32_t id : record.removals) {
        if (FindPlayer(id) < 0) return -2;
      }
    }
    for (uint32_t id : record.removals) {
      const int32_t row = FindPlayer(id);
      if (row < 0) continue;
      players.erase(players.begin() + row);
      if (static_cast<int64_t>(id) == own_player_id) {
        registered = false;
        own_player_id = -1;
      }
      if (static_cast<int64_t>(id) == chosen_player_id) chosen_player_id = -1;
    }
  }
  players.insert(players.end(), arrived.begin(), arrived.end());
  ranks.clear();
  own_row = own_player_id >= 0 ? FindPlayer(static_cast<uint32_t>(own_player_id)) : -1;
  if (own_row < 0 && strict) registered = false;
  if (player_sort == 0 && general.ranks_kept && players.size() == registered_count) {
    player_sort = 4;
  }
  AfterPlayersChanged();
  return 0;
}

void TourneyDetails::AfterPlayersChanged() {
  RankPlayers();
  BuildTableEntries();
}

void TourneyDetails::RankPlayers() {
  const size_t n = players.size();
  if (n < 2) return;
  if (n < registered_count) {
    // Still paging in: ranks are what the finished rows say; the order stays.
    ranks.resize(n);
    for (size_t i = 0; i < n; ++i) ranks[i] = players[i].finish_place > 0 ? players[i].finish_place : 0;
    return;
  }
  std::vector<int32_t> rank_of(n, 0);
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  {
    for (TourneyPlayer& p : players) p.finish_place = std::max(p.finish_place, 0);
    // Playing rows by chips (largest first), then finished rows by finish place.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      const TourneyPlayer& pa = players[a];
      const TourneyPlayer& pb = players[b];
      const bool a_playing = pa.finish_place == 0;
      const bool b_playing = pb.finish_place == 0;
      if (a_playing != b_playing) return a_playing;
      if (a_playing) return pa.chips > pb.chips;
      return pa.finish_place < pb.finish_place;
    });
    int32_t playing = 0;
    for (size_t i = 0; i < n; ++i) {
      if (players[order[i]].finish_place == 0) ++playing;
    }
    finished_rows = static_cast<int32_t>(n) - playing;
    for (size_t i = 0; i < n; ++i) {
      const TourneyPlayer& p = players[order[i]];
      if (p.finish_place > 0) {
        rank_of[order[i]] = general.state == TOURNEY_STATE_COMPLETED ? p.finish_place
                                                                     : static_cast<int32_t>(i + 1);
      } else if (i > 0 && players[order[i - 1]].chips == p.chips) {
        rank_of[order[i]] = rank_of[order[i - 1]];  // equal chips share a rank
      } else {
        rank_of[order[i]] = static_cast<int32_t>(i + 1);
      }
    }
  }
  // Display order: the ranked order, re-sorted by the chosen column.
  const int32_t code = player_sort < 0 ? -player_sort : player_sort;
  auto by = [&](auto less) { std::stable_sort(order.begin(), order.end(), less); };
  if (code == 1) {
    by([&](size_t a, size_t b) { return strcasecmp(players[a].name, players[b].name) < 0; });
  } else if (code == 2) {
    by([&](size_t a, size_t b) { return players[a].table_index < players[b].table_index; });
  } else if (code == 4) {
    by([&](size_t a, size_t b) { return rank_of[a] < rank_of[b]; });
  }
  std::vector<TourneyPlayer> sorted;
  sorted.reserve(n);
  ranks.clear();
  for (size_t i : order) {
    sorted.push_back(players[i]);
    ranks.push_back(rank_of[i]);
  }
  players = std::move(sorted);
  own_row = own_player_id >= 0 ? FindPlayer(static_cast<uint32_t>(own_player_id)) : -1;
  for (const TourneyPlayer& p : players) {
    if (p.finish_place == 1 && general.state == TOURNEY_STATE_COMPLETED) {
      std::memcpy(winner_name, p.name, sizeof(winner_name));
    }
  }
}

void TourneyDetails::BuildTableEntries() {
  std::vector<TourneyTableEntry> entries;
  for (size_t t = 0; t < tables.size(); ++t) {
    TourneyTableEntry entry;
    entry.table_index = static_cast<int32_t>(t);
    for (const TourneyPlayer& p : players) {
      if (p.table_id <= 0 || p.table_index != static_cast<int32_t>(t)) continue;
      if (entry.player_count == 0 || p.chips > entry.biggest_chips) entry.biggest_chips = p.chips;
      if (entry.player_count == 0 || p.chips < entry.smallest_chips) entry.smallest_chips = p.chips;
      ++entry.player_count;
    }
    if (entry.player_count > 0) entries.push_back(entry);
  }
  const int32_t code = table_sort < 0 ? -table_sort : table_sort;
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const TourneyTableEntry& a, const TourneyTableEntry& b) {
                     switch (code) {
                       case 1:
                         return std::strcmp(tables[a.table_index].name, tables[b.table_index].name) < 0;
                       case 2: return a.player_count < b.player_count;
                       case 3: return a.biggest_chips < b.biggest_chips;
                       case 4: return a.smallest_chips < b.smallest_chips;
                       default: return false;
                     }
                   });
  table_entries = std::move(entries);
  chosen_table_row = -1;
  for (size_t i = 0; i < table_entries.size(); ++i) {
    if (tables[table_entries[i].table_index].table_id == chosen_table_id) {
      chosen_table_row = static_cast<int32_t>(i);
    }
  }
  if (chosen_table_row < 0) chosen_table_id = -1;
  if (table_entries.size() == 1 && chosen_table_id < 0) {
    chosen_table_row = 0;
    chosen_table_id = tables[table_entries[0].table_index].table_id;
  }
  BuildTablePlayers();
}

void TourneyDetails::BuildTablePlayers() {
  table_players.clear();
  if (chosen_table_id < 0) return;
  for (const TourneyPlayer& p : players) {
    if (p.table_id == chosen_table_id && table_players.size() < kTourneyTablePlayersShown) {
      table_players.push_back(p);
    }
  }
  const int32_t code = table_player_sort < 0 ? -table_player_sort : table_player_sort;
  std::stable_sort(table_players.begin(), table_players.end(),
                   [&](const TourneyPlayer& a, const TourneyPlayer& b) {
                     if (code == 1) return strcasecmp(a.name, b.name) < 0;
                     if (code == 2) return a.chips < b.chips;
                     return false;
                   });
}

void TourneyDetails::FindOwnRow() {
  own_row = -1;
  own_player_id = -1;
  if (!logged_in) {
    registered = false;
    return;
  }
  for (size_t i = 0; i < players.size(); ++i) {
    if (!user_name.empty() && strcasecmp(players[i].name, user_name.c_str()) == 0) {
      own_row = static_cast<int32_t>(i);
      own_player_id = players[i].player_id;
      registered = true;
      return;
    }
  }
}

void TourneyDetails::TickState(double elapsed_seconds, uint32_t link_quality) {
  if (state != TOURNEY_DETAILS_NONE) {
    if (link_quality == 0) {
      state = TOURNEY_DETAILS_LINK_LOST;
      return;
    }
    if (state == TOURNEY_DETAILS_LINK_LOST) {
      AskFullCopy();
      return;
    }
  }
  switch (state) {
    case TOURNEY_DETAILS_NONE:
    case TOURNEY_DETAILS_FULL_REQUESTED:
      refresh_clock += elapsed_seconds;
      if (refresh_clock >= kTourneyRefreshSeconds &&
          (state != TOURNEY_DETAILS_NONE || link_quality > 0)) {
        RequestDetails(true, false, false, false);
        refresh_clock = 0.0;
      }
      break;
    case TOURNEY_DETAILS_COLLECTING:
      if (page_clock < 0.0) {
        page_clock += elapsed_seconds;
        if (page_clock >= 0.0) {
          RequestDetails(false, true, false, false);
          page_clock = 0.0;
        }
        break;
      }
      page_clock += elapsed_seconds;
      if (page_clock >= kTourneyRefreshSeconds) {
        ++retry_count;
        if (retry_count <= 1) {
          RequestDetails(false, true, false, false);
          page_clock = 0.0;
        } else {
          AskFullCopy();
        }
      }
      break;
    default:
      break;
  }
}
