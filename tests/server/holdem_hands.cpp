#include "tests/server/holdem_hands.h"

#include <algorithm>

namespace holdem_hands {

namespace hw = holdem_wire;

std::vector<hw::Packet> Render(const Hand& hand, int local_seat) {
  std::vector<hw::Packet> out;
  hw::GameState gs;
  gs.hand = hand.number;
  gs.round = 1;
  gs.dealer = hand.dealer;
  bool folded[hw::kSeats] = {};
  for (const Player& p : hand.players) {
    gs.status[p.seat] = hw::kStatusSeated;
    gs.chips[p.seat] = p.chips;
  }
  auto next_actor = [&](size_t from) -> uint8_t {
    for (size_t i = from; i < hand.rows.size(); ++i) {
      const Row& row = hand.rows[i];
      if (row.step == Step::kPost || row.step == Step::kAct) return static_cast<uint8_t>(row.seat);
      if (row.step == Step::kCollect || row.step == Step::kShowdown) return hw::kNoSeat;
    }
    return hw::kNoSeat;
  };
  auto mask_for = [](uint8_t seat) {
    return seat == hw::kNoSeat ? 0u : hw::MaskOf(hw::kCheck) | hw::MaskOf(hw::kBet) | hw::MaskOf(hw::kFold);
  };
  auto emit_state = [&](size_t next_row) {
    gs.next_player = next_actor(next_row);
    gs.next_mask = mask_for(gs.next_player);
    gs.timer_seconds = 20;
    if (local_seat >= 0 && gs.dealer_status >= 0) {
      for (const Player& p : hand.players) {
        if (p.seat == local_seat) gs.hole_cards = p.cards;
      }
    }
    out.push_back(hw::Encode(gs));
  };
  uint32_t pot = 0;
  for (size_t i = 0; i < hand.rows.size(); ++i) {
    const Row& row = hand.rows[i];
    switch (row.step) {
      case Step::kStart:
        gs.previous_player = hw::kNoSeat;
        emit_state(i + 1);
        break;
      case Step::kPost:
      case Step::kAct: {
        const uint8_t seat = static_cast<uint8_t>(row.seat);
        uint32_t paid = 0;
        if (row.action != hw::kFold && row.action != hw::kCheck && row.amount > gs.bet[seat]) {
          paid = row.amount - gs.bet[seat];
          gs.bet[seat] = row.amount;
          gs.chips[seat] -= std::min(paid, gs.chips[seat]);
        }
        if (row.action == hw::kFold) {
          folded[seat] = true;
          gs.status[seat] = hw::kStatusSeated | hw::kStatusFolded;
        }
        gs.previous_player = seat;
        gs.previous_action = row.action;
        gs.previous_amount = paid;
        emit_state(i + 1);
        break;
      }
      case Step::kDeal:
        gs.dealer_status = 0;
        gs.previous_player = hw::kNoSeat;
        gs.previous_action = 0;
        gs.previous_amount = 0;
        emit_state(i + 1);
        break;
      case Step::kCollect: {
        hw::Collect collect;
        collect.hand = hand.number;
        collect.round = 1;
        collect.status = gs.status;
        for (int s = 0; s < hw::kSeats; ++s) {
          collect.to_main[s] = gs.bet[s];
          pot += gs.bet[s];
          gs.bet[s] = 0;
        }
        collect.main_pot = pot;
        gs.main_pot = pot;
        out.push_back(hw::Encode(collect));
        break;
      }
      case Step::kBoard:
        gs.dealer_status = static_cast<int8_t>(row.board_cards);
        for (int c = 0; c < 5; ++c) gs.board[c] = c < row.board_cards ? hand.board[c] : hw::kNoCard;
        gs.previous_player = hw::kNoSeat;
        gs.previous_action = 0;
        gs.previous_amount = 0;
        emit_state(i + 1);
        break;
      case Step::kShowdown: {
        hw::Final f;
        f.hand = hand.number;
        f.round = 1;
        f.status = gs.status;
        f.dealer_status = static_cast<uint8_t>(std::max<int8_t>(gs.dealer_status, 0));
        f.board = gs.board;
        f.chips = gs.chips;
        f.chips[row.seat] += pot;
        for (auto& pair : f.cards) pair = {hw::kNoCard, hw::kNoCard};
        for (const Player& p : hand.players) {
          if (!folded[p.seat]) f.cards[p.seat] = p.cards;
        }
        f.winners = {{row.seat, pot}};
        f.winner_cards = gs.board;
        f.show_card_seconds = hand.show_card_seconds;
        f.last = true;
        out.push_back(hw::Encode(f));
        break;
      }
    }
  }
  return out;
}

Hand DemoHand(uint32_t number, const std::vector<Player>& players) {
  Hand hand;
  hand.number = number;
  hand.players = players;
  hand.dealer = players.front().seat;
  hand.board = {12, 25, 38, 3, 47};
  const int8_t sb = static_cast<int8_t>(players[1 % players.size()].seat);
  const int8_t bb = static_cast<int8_t>(players[2 % players.size()].seat);
  const int8_t button = static_cast<int8_t>(players[0].seat);
  hand.rows = {
      {Step::kStart},
      {Step::kPost, sb, hw::kPostSmall, 50},
      {Step::kPost, bb, hw::kPostBig, 100},
      {Step::kDeal},
      {Step::kAct, button, hw::kCall, 100},
      {Step::kAct, sb, hw::kCall, 100},
      {Step::kAct, bb, hw::kCheck, 100},
      {Step::kCollect},
      {Step::kBoard, -1, 0, 0, 3},
      {Step::kAct, sb, hw::kBet, 100},
      {Step::kAct, bb, hw::kFold, 0},
      {Step::kAct, button, hw::kCall, 100},
      {Step::kCollect},
      {Step::kBoard, -1, 0, 0, 4},
      {Step::kAct, sb, hw::kCheck, 0},
      {Step::kAct, button, hw::kCheck, 0},
      {Step::kBoard, -1, 0, 0, 5},
      {Step::kAct, sb, hw::kCheck, 0},
      {Step::kAct, button, hw::kCheck, 0},
      {Step::kShowdown, button},
  };
  return hand;
}

}  // namespace holdem_hands
