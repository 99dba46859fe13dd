#include "tests/server/dealer/dealer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

#include "tests/server/dealer/omaha_wire.h"

namespace dealer {
namespace {

namespace hw = holdem_wire;
using hw::MaskOf;

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// The fields of a game state the tests look at, read at the offsets of either game's layout.
struct State {
  int8_t dealer_status;
  uint32_t bets;
  uint32_t chips;
  uint32_t pots;
  uint8_t previous;
  uint8_t action;
  uint32_t previous_amount;
  uint8_t next;
  uint32_t mask;
  uint32_t bet_or_call, raise_to, maximum;
  std::vector<int8_t> hole;
  uint32_t chips_of[10];
};

State ReadState(const hw::Packet& p, bool omaha) {
  const auto& b = p.bytes;
  State s{};
  // Omaha (one bet per seat): status, sit-out and seat flags, then four hole cards.
  const size_t bets = omaha ? 43 : 31, chips = omaha ? 83 : 71, pots = omaha ? 128 : 116, tail = omaha ? 149 : 137;
  s.dealer_status = static_cast<int8_t>(b[omaha ? 38 : 28]);
  for (int i = 0; i < 10; ++i) {
    s.bets += U32At(b, bets + 4 * i);
    s.chips_of[i] = U32At(b, chips + 4 * i);
    s.chips += s.chips_of[i];
  }
  s.pots = U32At(b, pots) + U32At(b, pots + 4) + U32At(b, pots + 8);
  s.previous = b[tail];
  s.action = b[tail + 1];
  s.previous_amount = U32At(b, tail + 2);
  s.next = b[tail + 10];
  s.mask = U32At(b, tail + 11);
  s.bet_or_call = U32At(b, tail + 20);
  s.raise_to = U32At(b, tail + 24);
  s.maximum = U32At(b, tail + 28);
  for (int i = 0; i < (omaha ? 4 : 2); ++i) s.hole.push_back(static_cast<int8_t>(b[(omaha ? 39 : 29) + i]));
  return s;
}

struct Table {
  explicit Table(DealerConfig config)
      : omaha(config.game == Game::kOmaha),
        dealer(config, [this](const hw::Packet& packet) { sent.push_back(packet); }) {}

  uint16_t Type(uint16_t holdem_type) const { return omaha ? holdem_type + 100 : holdem_type; }
  std::vector<hw::Packet> Of(uint16_t holdem_type) const {
    std::vector<hw::Packet> found;
    for (const hw::Packet& p : sent) {
      if (p.type == Type(holdem_type)) found.push_back(p);
    }
    return found;
  }
  State Last() const { return ReadState(Of(hw::kGameState).back(), omaha); }
  hw::ClientPacket Action(Action action, uint32_t amount) const {
    return {Type(hw::kAction), 1001, dealer.hand_number(), 1, static_cast<uint8_t>(action), amount};
  }

  bool omaha;
  std::vector<hw::Packet> sent;
  Dealer dealer;
};

DealerConfig Config(Game game, bool fixed_limit, uint32_t seed) {
  DealerConfig config;
  config.game = game;
  config.stakes = {100, 200, fixed_limit};
  config.seed = seed;
  config.first_hand = 500;
  return config;
}

// Checks one hand's packets in order: the blinds, the cards, the betting rounds, the collections
// and the final packets, with every chip accounted for at each step.
void CheckHand(const std::vector<hw::Packet>& packets, bool omaha, uint32_t total, const std::string& name) {
  const uint16_t offset = omaha ? 100 : 0;
  int8_t dealer_status = -2;
  bool final_seen = false;
  bool last_seen = false;
  uint32_t last_mask = 0;
  uint8_t last_next = hw::kNoSeat;
  int game_states = 0;
  for (const hw::Packet& p : packets) {
    ASSERT_FALSE(last_seen) << name << ": a packet after the last final packet";
    const uint16_t type = p.type - offset;
    if (type == hw::kGameState) {
      ASSERT_FALSE(final_seen) << name;
      const State s = ReadState(p, omaha);
      EXPECT_EQ(s.chips + s.bets + s.pots, total) << name << ": game state " << game_states;
      if (game_states == 0) {
        EXPECT_EQ(s.dealer_status, -1) << name;
        EXPECT_EQ(s.mask, MaskOf(hw::kPostSmall)) << name;
      }
      if (game_states == 1) {
        EXPECT_EQ(s.mask, MaskOf(hw::kPostBig)) << name;
      }
      // The board only grows, a step at a time, and only after a collection.
      if (s.dealer_status != dealer_status) {
        const bool step = (dealer_status == -2 && s.dealer_status == -1) || (dealer_status == -1 && s.dealer_status == 0) ||
                          (dealer_status == 0 && s.dealer_status == 3) || (dealer_status == 3 && s.dealer_status == 4) ||
                          (dealer_status == 4 && s.dealer_status == 5);
        EXPECT_TRUE(step) << name << ": board from " << int{dealer_status} << " to " << int{s.dealer_status};
        if (s.dealer_status > 0) {
          EXPECT_EQ(s.bets, 0u) << name << ": bets left in front at a new street";
        }
        dealer_status = s.dealer_status;
      } else if (s.previous != hw::kNoSeat && s.previous == last_next) {
        // A move reported is one the mover was offered.
        EXPECT_NE(last_mask & MaskOf(static_cast<hw::Action>(s.action)), 0u)
            << name << ": seat " << int{s.previous} << " did " << int{s.action};
      }
      last_mask = s.mask;
      last_next = s.next;
      ++game_states;
    } else if (type == hw::kCollect) {
      const auto& b = p.bytes;
      uint32_t moved = 0;
      for (int i = 0; i < 30; ++i) moved += U32At(b, 18 + 4 * i);
      EXPECT_GT(moved, 0u) << name;
      last_next = hw::kNoSeat;
    } else if (type == hw::kFinal) {
      final_seen = true;
      const auto& b = p.bytes;
      const size_t count_at = omaha ? 147 : 111;
      const int n = static_cast<int8_t>(b[count_at]);
      ASSERT_GE(n, 1) << name;
      uint32_t chips = 0;
      for (int i = 0; i < 10; ++i) chips += U32At(b, (omaha ? 45 : 34) + 4 * i);
      const size_t last_at = omaha ? 133 : 119 + 5 * n;
      const size_t pots_at = omaha ? 134 : 94;
      const uint8_t paying = b[omaha ? 146 : 110];
      uint32_t pots_left = 0;
      for (int k = paying + 1; k < 3; ++k) pots_left += U32At(b, pots_at + 4 * k);
      EXPECT_EQ(chips + pots_left, total) << name << ": chips after paying pot " << int{paying};
      last_seen = b[last_at] == 1;
    }
  }
  EXPECT_TRUE(last_seen) << name << ": no last final packet";
  EXPECT_GE(dealer_status, 0) << name;
}

TEST(Dealer, robot_hands_send_every_packet_in_order_and_keep_every_chip) {
  struct Row {
    const char* name;
    Game game;
    bool fixed_limit;
  };
  const Row rows[] = {
      {"hold'em, fixed limit", Game::kHoldem, true},
      {"hold'em, no limit", Game::kHoldem, false},
      {"omaha, fixed limit", Game::kOmaha, true},
  };
  for (const Row& row : rows) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
      Table table(Config(row.game, row.fixed_limit, seed));
      table.dealer.SeatRobot(0, "Ann", 10000);
      table.dealer.SeatRobot(3, "Bob", 250);  // all in with the big blind or a call
      table.dealer.SeatRobot(6, "Cy", 8000);
      table.dealer.SeatRobot(8, "Di", 5000);
      for (int hand = 0; hand < 3; ++hand) {
        table.sent.clear();
        int steps = 0;
        do {
          ASSERT_GE(table.dealer.Step(), 0) << row.name;
          ASSERT_LT(++steps, 200) << row.name << ": the hand does not end";
        } while (table.dealer.InHand());
        const std::string name = std::string(row.name) + ", seed " + std::to_string(seed) + ", hand " + std::to_string(hand);
        // The refill of a robot that went broke comes first and adds chips.
        std::vector<hw::Packet> game;
        for (const hw::Packet& p : table.sent) {
          if (p.type == hw::table::kUpdatePlayerBalance) continue;
          if (p.type == hw::kMoveDealerButton) {
            EXPECT_TRUE(game.empty()) << name;
            continue;
          }
          game.push_back(p);
        }
        CheckHand(game, row.game == Game::kOmaha, table.dealer.TotalChips(), name);
        ASSERT_EQ(table.dealer.hand_number(), 500u + hand) << name;
      }
    }
  }
}

TEST(Dealer, first_hand_posts_blinds_left_of_the_button_and_deals_before_the_first_choice) {
  Table table(Config(Game::kHoldem, true, 7));
  table.dealer.SeatRobot(1, "Ann", 10000);
  table.dealer.SeatRobot(5, "Bob", 10000);
  table.dealer.SeatRobot(7, "Cy", 10000);
  table.dealer.Step();
  State s = table.Last();
  EXPECT_EQ(table.sent[0].bytes[136], 1) << "button";
  EXPECT_EQ(s.next, 5) << "small blind";
  table.dealer.Step();
  s = table.Last();
  EXPECT_EQ(s.previous, 5);
  EXPECT_EQ(s.action, hw::kPostSmall);
  EXPECT_EQ(s.previous_amount, 100u);
  EXPECT_EQ(s.next, 7) << "big blind";
  table.dealer.Step();
  const auto states = table.Of(hw::kGameState);
  ASSERT_EQ(states.size(), 4u);
  const State posted = ReadState(states[2], false);
  EXPECT_EQ(posted.action, hw::kPostBig);
  EXPECT_EQ(posted.next, hw::kNoSeat);
  EXPECT_EQ(posted.dealer_status, -1);
  const State dealt = ReadState(states[3], false);
  EXPECT_EQ(dealt.dealer_status, 0);
  EXPECT_EQ(dealt.next, 1) << "first to act sits after the big blind";
  EXPECT_EQ(dealt.mask, MaskOf(hw::kFold) | MaskOf(hw::kCall) | MaskOf(hw::kRaise));
}

// A player at seat 4 among robots, answering by the offers of the game states.
struct PlayerTable : Table {
  explicit PlayerTable(DealerConfig config) : Table(config) {
    dealer.SeatRobot(1, "Ann", 6000);
    EXPECT_TRUE(dealer.SeatPlayer(4, "You", 3000));
    dealer.SeatRobot(6, "Bob", 900);
    dealer.SeatRobot(8, "Cy", 12000);
  }
  // Steps until the player is to act or the hand is over.
  void RunUntilPlayer() {
    for (int i = 0; i < 100 && dealer.InHand() && !dealer.WaitingForPlayer(); ++i) dealer.Step();
  }
  // The player posts the blind the last game state asks for.
  void PostBlind() {
    dealer.OnClientPacket(Action((Last().mask & MaskOf(hw::kPostSmall)) ? hw::kPostSmall : hw::kPostBig, 0));
  }
  bool BlindOffered() const { return (Last().mask & (MaskOf(hw::kPostSmall) | MaskOf(hw::kPostBig))) != 0; }
  // Plays the hand in play to its end: the player posts the blinds asked for and lets the clock
  // run out at every betting turn.
  void PlayHand() {
    for (int i = 0; i < 400 && dealer.InHand(); ++i) {
      if (!dealer.WaitingForPlayer()) {
        dealer.Step();
      } else if (BlindOffered()) {
        PostBlind();
      } else {
        dealer.ActForPlayerOnTimeout();
      }
    }
  }
};

TEST(Dealer, player_gets_its_own_cards_and_is_waited_for) {
  PlayerTable table(Config(Game::kHoldem, false, 3));
  ASSERT_EQ(table.sent[0].type, hw::kPlayerStatus);
  EXPECT_EQ(table.sent[0].bytes[4], hw::kStatusSeated | hw::kStatusNotInHand) << "between hands";
  table.dealer.Step();
  table.RunUntilPlayer();
  ASSERT_TRUE(table.dealer.WaitingForPlayer());
  EXPECT_EQ(table.dealer.Step(), -1);
  State s = table.Last();
  EXPECT_EQ(s.next, 4);
  if (s.mask == MaskOf(hw::kPostSmall) || s.mask == MaskOf(hw::kPostBig)) {
    table.dealer.OnClientPacket(table.Action(s.mask == MaskOf(hw::kPostSmall) ? hw::kPostSmall : hw::kPostBig, 0));
    table.RunUntilPlayer();
    s = table.Last();
  }
  ASSERT_EQ(s.dealer_status, 0);
  ASSERT_EQ(s.hole.size(), 2u);
  EXPECT_GE(s.hole[0], 0);
  EXPECT_GE(s.hole[1], 0);
  EXPECT_NE(s.hole[0], s.hole[1]);
}

TEST(Dealer, choices_outside_the_rules_are_refused_and_the_turn_stands) {
  PlayerTable table(Config(Game::kHoldem, false, 3));
  table.dealer.Step();
  table.RunUntilPlayer();
  State s = table.Last();
  while (s.dealer_status < 0 && table.dealer.WaitingForPlayer()) {
    table.dealer.OnClientPacket(table.Action(s.mask == MaskOf(hw::kPostSmall) ? hw::kPostSmall : hw::kPostBig, 0));
    table.RunUntilPlayer();
    s = table.Last();
  }
  ASSERT_TRUE(table.dealer.WaitingForPlayer());
  ASSERT_EQ(s.mask & MaskOf(hw::kCheck), 0u) << "facing the big blind";
  const size_t before = table.sent.size();
  const uint32_t chips = s.chips_of[4];
  struct Bad {
    const char* name;
    hw::ClientPacket packet;
  };
  const Bad bad[] = {
      {"check facing a bet", table.Action(hw::kCheck, 0)},
      {"raise below the minimum", table.Action(hw::kRaise, s.raise_to - 1)},
      {"raise above the stack", table.Action(hw::kRaise, s.maximum + 1)},
      {"bet with a bet in front", table.Action(hw::kBet, 400)},
      {"another hand", {hw::kAction, 1001, table.dealer.hand_number() + 1, 1, hw::kFold, 0}},
  };
  for (const Bad& row : bad) {
    table.dealer.OnClientPacket(row.packet);
    EXPECT_TRUE(table.dealer.WaitingForPlayer()) << row.name;
  }
  // Each refusal of a choice sends the turn again, unchanged; a packet of another hand is ignored.
  ASSERT_EQ(table.sent.size(), before + 4);
  for (size_t i = before; i < table.sent.size(); ++i) EXPECT_EQ(table.sent[i].bytes, table.sent[before - 1].bytes);
  // A raise within the rules goes through.
  table.dealer.OnClientPacket(table.Action(hw::kRaise, s.raise_to));
  EXPECT_FALSE(table.dealer.WaitingForPlayer());
  const State after = table.Last();
  EXPECT_EQ(after.previous, 4);
  EXPECT_EQ(after.action, hw::kRaise);
  EXPECT_EQ(after.chips_of[4], chips - after.previous_amount);
}

TEST(Dealer, random_legal_play_keeps_every_chip_with_side_pots) {
  for (Game game : {Game::kHoldem, Game::kOmaha}) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
      PlayerTable table(Config(game, seed % 2 == 0, seed));
      std::mt19937 choice(seed);
      for (int hand = 0; hand < 4; ++hand) {
        table.sent.clear();
        const uint32_t total_before = table.dealer.TotalChips();
        table.dealer.Step();
        int turns = 0;
        while (table.dealer.InHand()) {
          ASSERT_LT(++turns, 200);
          if (!table.dealer.WaitingForPlayer()) {
            table.dealer.Step();
            continue;
          }
          const State s = table.Last();
          std::vector<hw::Action> offered;
          for (int code = 1; code <= 19; ++code) {
            if (s.mask & (1u << (code - 1))) offered.push_back(static_cast<hw::Action>(code));
          }
          ASSERT_FALSE(offered.empty());
          const hw::Action action = offered[choice() % offered.size()];
          uint32_t amount = action == hw::kRaise || action == hw::kReRaise || action == hw::kCap ? s.raise_to : s.bet_or_call;
          if (choice() % 3 == 0) amount = s.maximum;  // all in where there is no limit
          table.dealer.OnClientPacket(table.Action(action, amount));
          ASSERT_EQ(table.Last().previous, 4) << "an offered choice was refused";
          ASSERT_EQ(table.Last().action, action);
        }
        std::vector<hw::Packet> game_packets;
        for (const hw::Packet& p : table.sent) {
          if (p.type != hw::table::kUpdatePlayerBalance && p.type != hw::kMoveDealerButton &&
              p.type != (game == Game::kOmaha ? omaha_wire::kRefund : hw::kRefund)) {
            game_packets.push_back(p);
          }
        }
        const std::string name = std::string(game == Game::kOmaha ? "omaha" : "hold'em") + " seed " + std::to_string(seed);
        CheckHand(game_packets, game == Game::kOmaha, table.dealer.TotalChips(), name);
        EXPECT_GE(table.dealer.TotalChips(), total_before) << "only refills add chips";
      }
    }
  }
}

TEST(Dealer, sitting_out_skips_hands_until_the_player_is_back) {
  PlayerTable table(Config(Game::kHoldem, true, 5));
  table.dealer.OnClientPacket({hw::kSitOutNextHand, 1001, 0, 0, 1, 0});
  table.dealer.Step();
  const auto states = table.Of(hw::kGameState);
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states[0].bytes[8 + 4], hw::kStatusSeated | hw::kStatusSittingOut | hw::kStatusSitOutMark);
  ASSERT_EQ(table.Of(hw::kDisplayIAmBack).size(), 1u);
  for (int i = 0; i < 200 && table.dealer.InHand(); ++i) {
    ASSERT_FALSE(table.dealer.WaitingForPlayer());
    table.dealer.Step();
  }
  table.dealer.OnClientPacket({hw::kIAmBack, 1001, table.dealer.hand_number(), 1, 0, 0});
  table.sent.clear();
  table.dealer.Step();
  EXPECT_EQ(table.Of(hw::kGameState)[0].bytes[8 + 4], hw::kStatusSeated);
  EXPECT_TRUE(table.Of(hw::kDisplayIAmBack).empty());
}

TEST(Dealer, a_player_who_times_out_at_a_betting_turn_checks_or_folds) {
  PlayerTable table(Config(Game::kHoldem, true, 11));
  table.dealer.Step();
  int timeouts = 0;
  for (int i = 0; i < 400 && table.dealer.InHand(); ++i) {
    if (!table.dealer.WaitingForPlayer()) {
      table.dealer.Step();
    } else if (table.BlindOffered()) {
      table.PostBlind();
    } else {
      const State before = table.Last();
      table.dealer.ActForPlayerOnTimeout();
      const State after = table.Last();
      ASSERT_EQ(after.previous, 4);
      EXPECT_EQ(after.action, (before.mask & MaskOf(hw::kCheck)) ? hw::kCheck : hw::kFold);
      ++timeouts;
    }
  }
  EXPECT_FALSE(table.dealer.InHand());
  EXPECT_GE(timeouts, 1);
}

// A blind is never posted for a player who is away: at a blind, the clock running out or the
// sit-out choice sits the player out, the hand is called off (the other blind goes back) and
// dealt again without them, and they are offered the way back.
TEST(Dealer, a_player_who_times_out_or_sits_out_at_a_blind_sits_out_and_posts_nothing) {
  const struct {
    const char* name;
    bool sit_out_choice;
  } rows[] = {{"clock ran out", false}, {"sit-out choice", true}};
  for (const auto& row : rows) {
    PlayerTable table(Config(Game::kHoldem, true, 11));
    const uint32_t total = table.dealer.TotalChips();
    table.dealer.Step();  // the player, left of the button, is to post the small blind
    ASSERT_TRUE(table.dealer.WaitingForPlayer()) << row.name;
    ASSERT_TRUE(table.BlindOffered()) << row.name;
    if (row.sit_out_choice) {
      table.dealer.OnClientPacket(table.Action(hw::kSitOut, 0));
    } else {
      table.dealer.ActForPlayerOnTimeout();
    }
    EXPECT_FALSE(table.dealer.InHand()) << row.name;
    EXPECT_EQ(table.dealer.SeatAt(4).chips, 3000u) << row.name;
    EXPECT_EQ(table.dealer.TotalChips(), total) << row.name;
    EXPECT_EQ(table.Of(hw::kClearTable).size(), 1u) << row.name;
    EXPECT_EQ(table.Of(hw::kDisplayIAmBack).size(), 1u) << row.name;
    table.sent.clear();
    table.dealer.Step();
    table.PlayHand();
    ASSERT_FALSE(table.Of(hw::kGameState).empty()) << row.name << ": the next hand is dealt";
    EXPECT_EQ(table.Of(hw::kGameState)[0].bytes[8 + 4], hw::kStatusSeated | hw::kStatusSittingOut | hw::kStatusSitOutMark)
        << row.name;
    EXPECT_EQ(table.dealer.SeatAt(4).chips, 3000u) << row.name << ": without the player";
  }
}

TEST(Dealer, a_player_who_leaves_folds_and_the_hand_goes_on) {
  // Leaving at the betting turn: folded, and the robots finish the hand.
  PlayerTable betting(Config(Game::kHoldem, true, 9));
  betting.dealer.Step();
  for (int i = 0; i < 100 && betting.dealer.InHand(); ++i) {
    if (betting.dealer.WaitingForPlayer() && betting.Last().dealer_status >= 0) break;
    if (betting.dealer.WaitingForPlayer()) {
      betting.PostBlind();
    } else {
      betting.dealer.Step();
    }
  }
  ASSERT_TRUE(betting.dealer.WaitingForPlayer());
  const uint32_t before = betting.dealer.TotalChips();
  const uint32_t behind = betting.dealer.SeatAt(4).chips;
  EXPECT_EQ(betting.dealer.UnseatPlayer(), behind) << "the blind in front stays in the hand";
  EXPECT_EQ(betting.dealer.TotalChips(), before - behind);
  EXPECT_EQ(betting.Last().previous, 4);
  EXPECT_EQ(betting.Last().action, hw::kFold);
  EXPECT_EQ(betting.dealer.player_seat(), -1);
  for (int i = 0; i < 100 && betting.dealer.InHand(); ++i) ASSERT_GE(betting.dealer.Step(), 0);
  EXPECT_FALSE(betting.dealer.InHand());
  EXPECT_EQ(betting.Of(hw::kFinal).back().bytes[8 + 4], 0) << "the seat is empty";

  // Leaving before the blinds are in calls the hand off: the posted blind goes back.
  PlayerTable blinds(Config(Game::kHoldem, true, 9));
  const uint32_t robots = blinds.dealer.TotalChips() - 3000;
  blinds.dealer.Step();  // the player, left of the button, is to post the small blind
  ASSERT_TRUE(blinds.dealer.WaitingForPlayer());
  EXPECT_EQ(blinds.dealer.UnseatPlayer(), 3000u);
  EXPECT_FALSE(blinds.dealer.InHand());
  ASSERT_EQ(blinds.Of(hw::kClearTable).size(), 1u);
  EXPECT_EQ(blinds.dealer.TotalChips(), robots);
}

TEST(Dealer, seats_outside_the_table_or_taken_are_refused) {
  DealerConfig config = Config(Game::kHoldem, true, 1);
  config.seats = 6;
  Table table(config);
  ASSERT_TRUE(table.dealer.SeatRobot(0, "Ann", 5000));
  const struct {
    const char* name;
    int seat;
    bool robot;
    bool seated;
  } rows[] = {
      {"robot on a taken seat", 0, true, false},
      {"robot beyond the table's seats", 6, true, false},
      {"player on a taken seat", 0, false, false},
      {"player beyond the table's seats", 9, false, false},
      {"player below the first seat", -1, false, false},
      {"player on a free seat", 5, false, true},
      {"a second player", 3, false, false},
  };
  for (const auto& row : rows) {
    const bool seated = row.robot ? table.dealer.SeatRobot(row.seat, "Bob", 5000)
                                  : table.dealer.SeatPlayer(row.seat, "Zed", 3000);
    EXPECT_EQ(seated, row.seated) << row.name;
  }
  EXPECT_EQ(table.dealer.PlayerSeat(), 5);
  const SeatView player = table.dealer.SeatAt(5);
  EXPECT_TRUE(player.occupied && !player.robot);
  EXPECT_EQ(player.name, "Zed");
  EXPECT_EQ(player.chips, 3000u);
  EXPECT_TRUE(table.dealer.SeatAt(0).robot);
  EXPECT_FALSE(table.dealer.SeatAt(3).occupied);
}

// Chips the player brings between hands are there at once; during a hand they wait for the next
// one, and a player who leaves first takes them along.
TEST(Dealer, chips_brought_during_a_hand_arrive_with_the_next_one) {
  PlayerTable table(Config(Game::kHoldem, true, 4));
  ASSERT_TRUE(table.dealer.AddPlayerChips(1000));
  EXPECT_EQ(table.dealer.SeatAt(4).chips, 4000u);
  table.dealer.Step();
  ASSERT_TRUE(table.dealer.InHand());
  ASSERT_TRUE(table.dealer.AddPlayerChips(500));
  EXPECT_EQ(table.dealer.SeatAt(4).chips, 4000u) << "the blinds are not in yet";
  table.PlayHand();
  ASSERT_FALSE(table.dealer.InHand());
  const uint32_t after_hand = table.dealer.SeatAt(4).chips;
  const uint32_t total = table.dealer.TotalChips();
  table.dealer.Step();
  ASSERT_TRUE(table.dealer.InHand());
  EXPECT_EQ(table.dealer.SeatAt(4).chips, after_hand + 500);
  EXPECT_EQ(table.dealer.TotalChips(), total + 500);

  ASSERT_TRUE(table.dealer.AddPlayerChips(700));
  EXPECT_EQ(table.dealer.UnseatPlayer(), after_hand + 500 + 700) << "the hand is called off before the blinds";
  EXPECT_FALSE(table.dealer.AddPlayerChips(100)) << "nobody sits";
}

// The table's own stakes and limit come through the maker: a pot-limit table offers at most the
// pot, in the game state the player sees.
TEST(Dealer, a_table_made_from_its_setup_plays_its_stakes) {
  TableSetup setup;
  setup.table_id = 1006;
  setup.seats = 6;
  setup.stakes = {100, 200, 0, Limit::kPotLimit};
  setup.seed = 3;
  setup.first_hand = 77;
  std::vector<std::pair<uint16_t, std::vector<uint8_t>>> sent;
  const std::unique_ptr<TableDealer> table =
      MakeHoldemTableDealer(setup, [&](uint16_t type, std::vector<uint8_t> payload) {
        sent.emplace_back(type, std::move(payload));
      });
  EXPECT_FALSE(table->SeatRobot(6, "Ann", 10000)) << "a six-seat table";
  ASSERT_TRUE(table->SeatRobot(2, "Ann", 10000));
  ASSERT_TRUE(table->SeatRobot(4, "Bob", 10000));
  ASSERT_TRUE(table->SeatPlayer(0, "Zed", 10000));
  for (int i = 0; i < 20 && !table->WaitingForPlayer(); ++i) ASSERT_GE(table->Step(), 0);
  EXPECT_EQ(table->HandNumber(), 77u);
  // The player on the button is first to act after the blinds: call $2, raise to at most $7.
  ASSERT_TRUE(table->WaitingForPlayer());
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back().first, hw::kGameState);
  const State state = ReadState({sent.back().first, sent.back().second}, false);
  EXPECT_EQ(state.next, 0);
  EXPECT_EQ(state.raise_to, 400u);
  EXPECT_EQ(state.maximum, 700u);
  EXPECT_EQ(sent.back().second.back(), 1) << "a table without a fixed limit";

  // The player's packets come without the table id.
  std::vector<uint8_t> raise = hw::EncodeClient({hw::kAction, 1006, 77, 1, hw::kRaise, 700});
  raise.erase(raise.begin(), raise.begin() + 4);
  EXPECT_GE(table->OnPlayerPacket(hw::kAction, raise), 0);
  EXPECT_EQ(table->SeatAt(0).chips, 10000u - 700u);
}

}  // namespace
}  // namespace dealer
