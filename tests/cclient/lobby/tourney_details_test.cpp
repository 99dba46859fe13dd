#include "cclient/lobby/tourney_details.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cclient/net/packet_types.h"
#include "tests/cclient/lobby/tourney_packet_builder.h"

namespace {

struct Sent {
  uint32_t type;
  std::vector<uint8_t> bytes;
};

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char part[4];
  for (uint8_t b : bytes) {
    std::snprintf(part, sizeof(part), out.empty() ? "%02X" : " %02X", b);
    out += part;
  }
  return out;
}

class TourneyDetailsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    details.tourney_id = 77;
    details.send = [this](uint32_t type, const uint8_t* p, uint32_t n) {
      sent.push_back({type, std::vector<uint8_t>(p, p + n)});
    };
  }

  // A complete copy: registered count, general state, `count` new players with ids from
  // `first_id`, player flags, and optionally a table part.
  static std::vector<uint8_t> FullCopy(uint32_t registered, uint8_t tourney_state,
                                       uint32_t first_id, uint32_t count, uint8_t player_flags = 0) {
    TourneyBytes b;
    b.U32(registered).U8(TOURNEY_PART_GENERAL | TOURNEY_PART_PLAYERS | TOURNEY_PART_COMPLETE);
    b.U32(1u << 17).U8(tourney_state);
    b.U8(TOURNEY_PLAYERS_NEW | player_flags).U32(count);
    for (uint32_t i = 0; i < count; ++i) {
      b.Player(first_id + i, "p" + std::to_string(first_id + i), -1, 0, 1000);
    }
    return b.bytes;
  }

  static std::vector<uint8_t> Page(uint32_t registered, uint32_t first_id, uint32_t count,
                                   uint8_t player_flags) {
    TourneyBytes b;
    b.U32(registered).U8(TOURNEY_PART_PLAYERS);
    b.U8(TOURNEY_PLAYERS_NEW | TOURNEY_PLAYERS_PAGED | player_flags).U32(count);
    for (uint32_t i = 0; i < count; ++i) {
      b.Player(first_id + i, "p" + std::to_string(first_id + i), -1, 0, 1000);
    }
    return b.bytes;
  }

  int Feed(const std::vector<uint8_t>& bytes) {
    return details.OnDetails(bytes.data(), static_cast<uint32_t>(bytes.size()));
  }

  void MakeUpToDate(uint32_t count, uint8_t tourney_state = TOURNEY_STATE_REGISTERING) {
    ASSERT_EQ(Feed(FullCopy(count, tourney_state, 1, count)), 0);
    ASSERT_EQ(details.state, TOURNEY_DETAILS_UP_TO_DATE);
    sent.clear();
  }

  TourneyDetails details;
  std::vector<Sent> sent;
};

TEST_F(TourneyDetailsTest, first_request_asks_for_everything) {
  details.RequestDetails(true, false, false, false);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].type, PACKETTYPE_TOURNEYDETAILSREQUEST);
  EXPECT_EQ(Hex(sent[0].bytes), "00 00 00 4D 01 00 00 00 00 00");
}

TEST_F(TourneyDetailsTest, first_page_of_fifty_asks_next_players_one_second_later) {
  ASSERT_EQ(Feed(FullCopy(120, TOURNEY_STATE_REGISTERING, 1, 50)), 0);
  EXPECT_EQ(details.state, TOURNEY_DETAILS_COLLECTING);
  details.TickState(0.5, 100);
  EXPECT_TRUE(sent.empty());
  details.TickState(0.5, 100);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Hex(sent[0].bytes), "00 00 00 4D 02 00 00 00 32 00");  // highest id seen: 50
}

TEST_F(TourneyDetailsTest, paging_ends_on_short_page_or_last_page_bit) {
  struct Case {
    const char* name;
    uint32_t count;
    uint8_t flags;
    int32_t state_after;
  };
  const Case cases[] = {
      {"full page goes on", 100, 0, TOURNEY_DETAILS_COLLECTING},
      {"short page of 99 ends", 99, 0, TOURNEY_DETAILS_UP_TO_DATE},
      {"last page bit ends", 100, TOURNEY_PLAYERS_LAST_PAGE, TOURNEY_DETAILS_UP_TO_DATE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TourneyDetails fresh;
    details.Reset(false);
    ASSERT_EQ(Feed(FullCopy(300, TOURNEY_STATE_REGISTERING, 1, 50)), 0);
    ASSERT_EQ(Feed(Page(300, 51, c.count, c.flags)), 0);
    EXPECT_EQ(details.state, c.state_after);
    EXPECT_EQ(details.players.size(), 50 + c.count);
  }
}

TEST_F(TourneyDetailsTest, first_answer_below_fifty_is_the_whole_list) {
  ASSERT_EQ(Feed(FullCopy(49, TOURNEY_STATE_REGISTERING, 1, 49)), 0);
  EXPECT_EQ(details.state, TOURNEY_DETAILS_UP_TO_DATE);
}

TEST_F(TourneyDetailsTest, update_for_unknown_id_asks_for_full_copy) {
  MakeUpToDate(3);
  TourneyBytes b;
  b.U32(3).U8(TOURNEY_PART_PLAYERS).U8(TOURNEY_PLAYERS_UPDATED).U32(1);
  b.U32(999).U8(0x10).U32(5000);
  ASSERT_EQ(Feed(b.bytes), 0);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Hex(sent[0].bytes), "00 00 00 4D 01 00 00 00 00 00");
  EXPECT_EQ(details.state, TOURNEY_DETAILS_FULL_REQUESTED);
}

TEST_F(TourneyDetailsTest, inconsistent_changes_ask_for_full_copy) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto removal = [](uint32_t registered, uint32_t id) {
    TourneyBytes b;
    b.U32(registered).U8(TOURNEY_PART_PLAYERS).U8(TOURNEY_PLAYERS_REMOVED).U32(1).U32(id);
    return b.bytes;
  };
  auto added = [](uint32_t registered, uint32_t id) {
    TourneyBytes b;
    b.U32(registered).U8(TOURNEY_PART_PLAYERS).U8(TOURNEY_PLAYERS_NEW).U32(1);
    b.Player(id, "late", -1, 0, 0);
    return b.bytes;
  };
  const Case cases[] = {
      {"removal of an unknown id", removal(2, 42)},
      {"new id below the highest seen that nobody holds", added(4, 0)},
      {"count that does not match the rows", added(5, 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    details.Reset(false);
    MakeUpToDate(3);
    if (std::string(c.name).find("below") != std::string::npos) {
      // Drop id 2 so that a new id 2 would be below the highest seen.
      ASSERT_EQ(Feed(removal(2, 2)), 0);
      ASSERT_TRUE(sent.empty());
      ASSERT_EQ(Feed(added(3, 2)), 0);
    } else {
      ASSERT_EQ(Feed(c.bytes), 0);
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[4], TOURNEY_ASK_EVERYTHING);
    EXPECT_EQ(details.state, TOURNEY_DETAILS_FULL_REQUESTED);
  }
}

TEST_F(TourneyDetailsTest, incremental_changes_merge_while_up_to_date) {
  MakeUpToDate(3);
  TourneyBytes b;
  b.U32(3).U8(TOURNEY_PART_PLAYERS).U8(TOURNEY_PLAYERS_REMOVED | TOURNEY_PLAYERS_NEW |
                                       TOURNEY_PLAYERS_UPDATED);
  b.U32(1).U32(2);                                  // remove 2
  b.U32(1).Player(4, "newcomer", -1, 0, 1000);      // add 4
  b.U32(1).U32(1).U8(0x01).Text("renamed");         // rename 1
  ASSERT_EQ(Feed(b.bytes), 0);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(details.state, TOURNEY_DETAILS_UP_TO_DATE);
  ASSERT_EQ(details.players.size(), 3u);
  EXPECT_EQ(details.FindPlayer(2), -1);
  ASSERT_GE(details.FindPlayer(4), 0);
  EXPECT_STREQ(details.players[details.FindPlayer(1)].name, "renamed");
  EXPECT_EQ(details.highest_player_id, 4);
}

TEST_F(TourneyDetailsTest, count_zero_complete_copy_without_parts_closes_window) {
  MakeUpToDate(3);
  TourneyBytes b;
  b.U32(0).U8(TOURNEY_PART_COMPLETE);
  ASSERT_EQ(Feed(b.bytes), 0);
  EXPECT_TRUE(details.close_requested);
  EXPECT_EQ(details.players.size(), 3u);
}

TEST_F(TourneyDetailsTest, rank_ties_share_a_rank) {
  TourneyBytes b;
  b.U32(4).U8(TOURNEY_PART_GENERAL | TOURNEY_PART_PLAYERS | TOURNEY_PART_COMPLETE);
  b.U32(1u << 17).U8(TOURNEY_STATE_RUNNING);
  b.U8(TOURNEY_PLAYERS_NEW).U32(4);
  b.Player(1, "low", -1, 0, 300).Player(2, "out", -1, 4, 0);
  b.Player(3, "a", -1, 0, 500).Player(4, "b", -1, 0, 500);
  ASSERT_EQ(Feed(b.bytes), 0);
  ASSERT_EQ(details.players.size(), 4u);
  EXPECT_EQ(details.player_sort, 4);
  std::vector<std::pair<uint32_t, int32_t>> got;
  for (size_t i = 0; i < details.players.size(); ++i) {
    got.emplace_back(details.players[i].player_id, details.ranks[i]);
  }
  const std::vector<std::pair<uint32_t, int32_t>> want = {{3, 1}, {4, 1}, {1, 3}, {2, 4}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(details.finished_rows, 1);
}

TEST_F(TourneyDetailsTest, finished_rows_rank_by_place_once_completed) {
  TourneyBytes b;
  b.U32(3).U8(TOURNEY_PART_GENERAL | TOURNEY_PART_PLAYERS | TOURNEY_PART_COMPLETE);
  b.U32(1u << 17).U8(TOURNEY_STATE_COMPLETED);
  b.U8(TOURNEY_PLAYERS_NEW).U32(3);
  b.Player(1, "third", -1, 3, 0).Player(2, "winner", -1, 1, 0).Player(3, "second", -1, 2, 0);
  ASSERT_EQ(Feed(b.bytes), 0);
  EXPECT_STREQ(details.players[0].name, "winner");
  EXPECT_EQ(details.ranks[2], 3);
  EXPECT_STREQ(details.winner_name, "winner");
  EXPECT_TRUE(details.wins_column);
}

TEST_F(TourneyDetailsTest, table_part_builds_entries_and_chooses_the_only_table) {
  TourneyBytes b;
  b.U32(3).U8(TOURNEY_PART_PLAYERS | TOURNEY_PART_TABLES | TOURNEY_PART_COMPLETE);
  b.U8(TOURNEY_PLAYERS_NEW).U32(3);
  b.Player(1, "a", 7, 0, 500).Player(2, "b", 7, 0, 900).Player(3, "c", -1, 0, 100);
  b.U32(1).U32(7).Text("Table 7");
  ASSERT_EQ(Feed(b.bytes), 0);
  ASSERT_EQ(details.table_entries.size(), 1u);
  EXPECT_EQ(details.table_entries[0].player_count, 2);
  EXPECT_EQ(details.table_entries[0].biggest_chips, 900);
  EXPECT_EQ(details.table_entries[0].smallest_chips, 500);
  EXPECT_EQ(details.chosen_table_id, 7);
  EXPECT_EQ(details.table_players.size(), 2u);
}

TEST_F(TourneyDetailsTest, bracketed_word_is_cut_from_the_name) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Sunday [beta] Special", "Sunday  Special"},
      {"Sunday Special [beta]", "Sunday Special [beta]"},
      {"Closing] before [opening", "Closing] before [opening"},
      {"Plain", "Plain"},
  };
  for (const Case& c : cases) {
    char name[kTourneyTextBytes];
    std::snprintf(name, sizeof(name), "%s", c.in);
    TourneyCutBracketedWord(name);
    EXPECT_STREQ(name, c.out) << c.in;
  }
}

TEST_F(TourneyDetailsTest, lost_link_asks_for_full_copy_when_back) {
  MakeUpToDate(2);
  details.TickState(0.1, 0);
  EXPECT_EQ(details.state, TOURNEY_DETAILS_LINK_LOST);
  details.TickState(0.1, 100);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].bytes[4], TOURNEY_ASK_EVERYTHING);
  EXPECT_EQ(details.state, TOURNEY_DETAILS_FULL_REQUESTED);
}

// Every parser fixture cut at every length: a nonzero result, nothing changed.
TEST_F(TourneyDetailsTest, truncated_details_change_nothing) {
  TourneyBytes full;
  full.U32(3).U8(0x3F | TOURNEY_PART_COMPLETE);
  full.U32(0x01FFFFFF);
  full.Text("Name [x] here").Text("sub").U32(60).Text("start").Text("game").Text("date")
      .Text("time").U32(30).Text("$10").Text("N/A").Text("$5").Text("x").Text(" Level 3")
      .U32(90).Text("10/20").Text("20/40").U32(600).U8(5).U32(100).U32(2).U32(1).U32(0)
      .U32(0).U8('T').U8('H').U8('E').U8('X').U32(150000);
  full.U8(0x07).U32(1).U32(9).U32(2).Player(10, "x", 7, 0, 10).Player(11, "y", 7, 1, 0);
  full.U32(1).U32(10).U8(0x3F).Text("n").Text("e").U32(7).U32(0).U32(20).Text("$");
  full.U32(1).U32(7).Text("T7");
  full.U8(0x7F).Text("$1").Text("$2").Text("3").Text("$4").Text("$5").Text("$6");
  full.U32(2).Text("1st $100").Text("2nd $50");
  full.U8(0x05);
  {
    TourneyDetailsRecord record;
    ASSERT_EQ(ParseTourneyDetails(full.bytes.data(), static_cast<int32_t>(full.bytes.size()),
                                  TourneyGeneral{}, &record), 0);
    EXPECT_STREQ(record.general.name, "Name  here");
    EXPECT_STREQ(record.general.level_word, "Level");
    EXPECT_STREQ(record.general.game_code, "THE");
    EXPECT_FALSE(record.general.rebuys_available);
    EXPECT_EQ(record.prize_rows.size(), 2u);
  }
  MakeUpToDate(2, TOURNEY_STATE_RUNNING);
  const auto before_players = details.players.size();
  for (size_t cut = 0; cut < full.bytes.size(); ++cut) {
    std::vector<uint8_t> part(full.bytes.begin(), full.bytes.begin() + cut);
    EXPECT_NE(Feed(part), 0) << "cut at " << cut;
  }
  EXPECT_EQ(details.players.size(), before_players);
  EXPECT_EQ(details.state, TOURNEY_DETAILS_UP_TO_DATE);
  EXPECT_STREQ(details.general.name, "");
  EXPECT_TRUE(details.pending_prize_rows.empty());
  EXPECT_TRUE(sent.empty());
}

TEST_F(TourneyDetailsTest, count_larger_than_bytes_left_is_short) {
  TourneyBytes b;
  b.U32(1).U8(TOURNEY_PART_PLAYERS | TOURNEY_PART_COMPLETE).U8(TOURNEY_PLAYERS_REMOVED)
      .U32(0x10000000).U32(1);
  EXPECT_NE(Feed(b.bytes), 0);
  TourneyBytes rows;
  rows.U32(1).U8(TOURNEY_PART_PRIZE_TABLE | TOURNEY_PART_COMPLETE).U32(0xFFFFFFF0u);
  EXPECT_NE(Feed(rows.bytes), 0);
}

}  // namespace
