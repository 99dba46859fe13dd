// The Omaha packets: sizes by type and by layout variant, the table kind, the final packet's
// winner entries and winner-count bound, the hole cards of the local seat, status codes and the
// action codes of choices. Packets are built by the scripted server's own writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cclient/games/kit/game_log.h"
#include "cclient/games/omaha/omaha_packets.h"
#include "tests/server/dealer/omaha_wire.h"

namespace {

struct Parsed {
  std::unique_ptr<GameRecord> record;
  std::vector<std::string> lines;
};

void Echo(void* context, const char* line) { static_cast<std::vector<std::string>*>(context)->push_back(line); }

Parsed Parse(uint32_t type, const std::vector<uint8_t>& bytes, int32_t* kind, int32_t local_seat = -1) {
  Parsed out;
  GameLog log;
  log.SetEcho(&Echo, &out.lines);
  out.record = Omaha_ParsePacket(type, bytes.data(), static_cast<uint32_t>(bytes.size()), local_seat, kind, &log);
  return out;
}

bool Logged(const Parsed& parsed, const std::string& text) {
  for (const std::string& line : parsed.lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

omaha_wire::GameState State(uint32_t round) {
  omaha_wire::GameState gs;
  gs.base.hand = 9;
  gs.base.round = round;
  gs.base.status[2] = 1;
  gs.base.status[5] = 1 | 8;
  gs.base.chips[2] = 700;
  gs.base.bet[2] = 20;
  gs.base.dealer = 5;
  gs.hole_cards = {3, 14, 25, 36};
  gs.more_bet_parts[2] = {1, 2, 3};
  gs.sit_out[5] = 3;
  return gs;
}

omaha_wire::Final FinalWith(uint32_t round, int winners) {
  omaha_wire::Final final;
  final.hand = 9;
  final.round = round;
  for (int i = 0; i < winners; ++i) {
    omaha_wire::Winner w;
    w.seat = static_cast<int8_t>(i);
    w.chips = 100u * (i + 1);
    w.rake = 7;
    w.cards = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    final.winners.push_back(w);
  }
  return final;
}

TEST(OmahaPacketsTest, FixedSizesAcceptExactLengthOnly) {
  const struct {
    uint32_t type;
    uint32_t size;
    const char* text;
  } kCases[] = {
      {OMAHA_PACKET_ERROR, 5, "OmahaErrorPacket Wrong size"},
      {OMAHA_PACKET_COLLECTION, 166, "OmahaCollectionPacket Wrong size"},
      {OMAHA_PACKET_REFUND, 33, "OmahaRefundPacket Wrong size"},
      {OMAHA_PACKET_OPTION_INDICATE, 8, "OmahaOptionIndicatePacket Wrong size"},
      {OMAHA_PACKET_DISPLAY_I_AM_BACK, 8, "OmahaDisplayIAmBackPacket Wrong size"},
      {OMAHA_PACKET_ASK_SHOW_MUCK, 24, "OmahaAskShowMuckPacket Wrong size"},
      {OMAHA_PACKET_PLAYER_STATUS, 72, "OmahaPlayerStatusPacket Wrong size"},
      {OMAHA_PACKET_CLEAR_TABLE, 44, "Omaha Clear Table Packet Length Wrong size"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.type);
    int32_t kind = 0;
    EXPECT_NE(Parse(c.type, std::vector<uint8_t>(c.size, 0), &kind).record, nullptr);
    for (uint32_t wrong : {c.size - 1, c.size + 1}) {
      const Parsed parsed = Parse(c.type, std::vector<uint8_t>(wrong, 0), &kind);
      EXPECT_EQ(parsed.record, nullptr);
      EXPECT_TRUE(Logged(parsed, std::string(c.text) + " = " + std::to_string(wrong)));
    }
  }
}

TEST(OmahaPacketsTest, UnusedAndOutsideTypesAreRefused) {
  for (uint32_t type : {2499u, 2501u, 2506u, 2508u, 2510u, 2511u, 2512u, 2514u, 2516u, 2517u, 2519u}) {
    int32_t kind = 0;
    const Parsed parsed = Parse(type, std::vector<uint8_t>(8, 0), &kind);
    EXPECT_EQ(parsed.record, nullptr) << type;
    EXPECT_TRUE(Logged(parsed, "Unknow packet = " + std::to_string(type))) << type;
  }
}

TEST(OmahaPacketsTest, GameStateVariantsFollowTheKeptKind) {
  const auto long_state = omaha_wire::Encode(State(0)).bytes;
  const auto short_state = omaha_wire::Encode(State(4)).bytes;
  ASSERT_EQ(long_state.size(), 306u);
  ASSERT_EQ(short_state.size(), 186u);

  int32_t kind = 0;
  Parsed first = Parse(OMAHA_PACKET_GAME_STATE, long_state, &kind, 2);
  ASSERT_NE(first.record, nullptr);
  EXPECT_EQ(kind, 1);
  const auto& v1 = static_cast<const OmahaGameStateRecord&>(*first.record);
  EXPECT_EQ(v1.bets[2][0], 20u);
  EXPECT_EQ(v1.bets[2][1], 1u);
  EXPECT_EQ(v1.bets[2][3], 3u);
  EXPECT_EQ(v1.chips[2], 700u);
  EXPECT_EQ(v1.dealer, 5);
  EXPECT_EQ(v1.sit_out[5], 3);
  // The hole cards reach only the local seat.
  const int8_t kHole[4] = {3, 14, 25, 36};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(v1.cards[2][c], kHole[c]);
  for (int s : {0, 5, 9}) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(v1.cards[s][c], -1);
  }

  const Parsed refused = Parse(OMAHA_PACKET_GAME_STATE, short_state, &kind);
  EXPECT_EQ(refused.record, nullptr);
  EXPECT_TRUE(Logged(refused, "OmahaGameStatePacket Wrong size = 186"));

  int32_t fresh = 0;
  Parsed second = Parse(OMAHA_PACKET_GAME_STATE, short_state, &fresh);
  ASSERT_NE(second.record, nullptr);
  EXPECT_EQ(fresh, 2);
  const auto& v2 = static_cast<const OmahaGameStateRecord&>(*second.record);
  EXPECT_EQ(v2.bets[2][0], 20u);
  EXPECT_EQ(v2.bets[2][1], 0u);
  EXPECT_EQ(v2.chips[2], 700u);
  EXPECT_EQ(v2.table_type, 0);
  EXPECT_EQ(Parse(OMAHA_PACKET_GAME_STATE, long_state, &fresh).record, nullptr);
  // With no local seat every seat's cards are unknown.
  int32_t none = 0;
  Parsed rail = Parse(OMAHA_PACKET_GAME_STATE, long_state, &none, -1);
  ASSERT_NE(rail.record, nullptr);
  EXPECT_EQ(static_cast<const OmahaGameStateRecord&>(*rail.record).cards[2][0], -1);
}

TEST(OmahaPacketsTest, FinalPacketLengthFollowsWinnerEntries) {
  const struct {
    uint32_t round;
    int winners;
    size_t size;
  } kCases[] = {{0, 0, 149}, {3, 0, 149}, {0, 2, 177}, {3, 2, 185}, {0, 10, 289}, {3, 10, 329}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.size);
    auto bytes = omaha_wire::Encode(FinalWith(c.round, c.winners)).bytes;
    ASSERT_EQ(bytes.size(), c.size);
    int32_t kind = 0;
    Parsed parsed = Parse(OMAHA_PACKET_FINAL, bytes, &kind);
    ASSERT_NE(parsed.record, nullptr);
    const auto& r = static_cast<const OmahaFinalRecord&>(*parsed.record);
    EXPECT_EQ(r.Winners(), c.winners);
    if (c.winners > 0) {
      EXPECT_EQ(r.winning_chips[c.winners - 1], 100u * c.winners);
      EXPECT_EQ(r.rake_returns[0], c.round != 0 ? 7u : 0u);
      EXPECT_EQ(r.winner_hands[c.winners - 1][8], 9);
    }
    for (int delta : {-1, 1}) {
      std::vector<uint8_t> wrong = bytes;
      wrong.resize(bytes.size() + delta, 0);
      if (wrong.size() < 149) continue;
      int32_t again = 0;
      const Parsed refused = Parse(OMAHA_PACKET_FINAL, wrong, &again);
      EXPECT_EQ(refused.record, nullptr);
      EXPECT_TRUE(Logged(refused, "invalid final packet"));
      // The round number set the kind although the packet was refused.
      EXPECT_EQ(again, c.round != 0 ? 2 : 1);
    }
  }
  int32_t kind = 0;
  const Parsed short_final = Parse(OMAHA_PACKET_FINAL, std::vector<uint8_t>(148, 0), &kind);
  EXPECT_EQ(short_final.record, nullptr);
  EXPECT_TRUE(Logged(short_final, "do not reach minimum length of OmahaFinalPacket = 148"));
}

TEST(OmahaPacketsTest, WinnerCountOutsideZeroToTenIsRefused) {
  // The count byte is at 147; the length is made to match what the count says where it can.
  for (int count : {11, 127, -1, -128}) {
    std::vector<uint8_t> bytes = omaha_wire::Encode(FinalWith(0, 0)).bytes;
    bytes[147] = static_cast<uint8_t>(static_cast<int8_t>(count));
    if (count > 0) bytes.resize(148 + 14 * count + 1, 0);
    int32_t kind = 0;
    const Parsed parsed = Parse(OMAHA_PACKET_FINAL, bytes, &kind);
    EXPECT_EQ(parsed.record, nullptr) << count;
    EXPECT_TRUE(Logged(parsed, "winner count = " + std::to_string(count))) << count;
  }
}

// A seat byte out of range names no seat: the field reads 255 and the rest of the packet is kept.
TEST(OmahaPacketsTest, RangeChecksAndSignedRefundBalance) {
  omaha_wire::PlayerStatus status;
  status.dealer = 10;
  status.chips[2] = 777;
  int32_t kind = 0;
  const Parsed bad_dealer = Parse(OMAHA_PACKET_PLAYER_STATUS, omaha_wire::Encode(status).bytes, &kind);
  ASSERT_NE(bad_dealer.record, nullptr);
  EXPECT_EQ(static_cast<const OmahaPlayerStatusRecord&>(*bad_dealer.record).dealer, 255);
  EXPECT_EQ(static_cast<const OmahaPlayerStatusRecord&>(*bad_dealer.record).chips[2], 777u);
  EXPECT_TRUE(Logged(bad_dealer, "Packet 2515: dealer seat out of range, skipped = 10"));
  status.dealer = 9;
  EXPECT_NE(Parse(OMAHA_PACKET_PLAYER_STATUS, omaha_wire::Encode(status).bytes, &kind).record, nullptr);

  omaha_wire::GameState gs = State(0);
  gs.base.dealer = 200;
  const Parsed bad_state = Parse(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes, &kind);
  ASSERT_NE(bad_state.record, nullptr);
  EXPECT_EQ(static_cast<const OmahaGameStateRecord&>(*bad_state.record).dealer, 255);

  omaha_wire::Refund refund;
  refund.round = 1;
  refund.seat = 4;
  refund.balance = -1;
  refund.current_bet = {5, 6, 7, 8};
  const Parsed parsed = Parse(OMAHA_PACKET_REFUND, omaha_wire::Encode(refund).bytes, &kind);
  ASSERT_NE(parsed.record, nullptr);
  const auto& r = static_cast<const OmahaRefundRecord&>(*parsed.record);
  EXPECT_EQ(r.balance, -1);
  EXPECT_EQ(r.bets[3], 8u);
  refund.seat = 10;
  const Parsed bad_seat = Parse(OMAHA_PACKET_REFUND, omaha_wire::Encode(refund).bytes, &kind);
  ASSERT_NE(bad_seat.record, nullptr);
  EXPECT_EQ(static_cast<const OmahaRefundRecord&>(*bad_seat.record).seat, 255);
}

TEST(OmahaPacketsTest, StatusCodesAndSkippedOptionBits) {
  const struct {
    uint8_t byte;
    uint32_t code;
  } kCodes[] = {{0, 0}, {16, 0}, {1 | 16 | 2, 20}, {1 | 2 | 4, 40}, {1 | 4 | 8, 30}, {1 | 8, 50}, {1, 60}, {1 | 64, 60}};
  for (const auto& c : kCodes) EXPECT_EQ(Omaha_StatusCode(c.byte), c.code) << int(c.byte);

  omaha_wire::GameState gs = State(0);
  gs.base.next_player = 2;
  gs.base.next_mask = 0x40000 | 0x2000 | 0x1000 | 0x800 | 0x200 | 0x20000 | 0x1;
  int32_t kind = 0;
  const Parsed parsed = Parse(OMAHA_PACKET_GAME_STATE, omaha_wire::Encode(gs).bytes, &kind);
  ASSERT_NE(parsed.record, nullptr);
  const auto& r = static_cast<const OmahaGameStateRecord&>(*parsed.record);
  for (int code = 0; code < kHoldemActionCodes; ++code) {
    EXPECT_EQ(r.next_flags[code], code == 1 || code == 18 ? 1 : 0) << code;
  }
}

TEST(OmahaPacketsTest, ChoicesMapToActionCodes) {
  const struct {
    int32_t choice;
    uint8_t code;
  } kCases[] = {{16, 1}, {17, 2}, {19, 3}, {21, 4}, {23, 5}, {25, 17}, {26, 6}, {28, 7},
                {29, 11}, {30, 8}, {31, 9}, {35, 15}, {36, 16}, {37, 18}, {38, 19}};
  for (const auto& c : kCases) {
    const char* line = nullptr;
    EXPECT_EQ(Omaha_ActionOfChoice(c.choice, &line), c.code) << c.choice;
    EXPECT_NE(line, nullptr);
  }
  const char* line = nullptr;
  EXPECT_EQ(Omaha_ActionOfChoice(38, &line), 19);
  EXPECT_STREQ(line, "Action RAISE OTHER is sent according to yuor choice");
  EXPECT_EQ(Omaha_ActionOfChoice(40, &line), 0);
  EXPECT_EQ(line, nullptr);
}

}  // namespace
