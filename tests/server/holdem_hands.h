// Scripted Hold'em hands for the game server: a hand is written as a short table of what happens
// (blinds, the deal, each player's action, the collection, the board, the showdown), and Render
// turns it into the packets a server sends, in order, with the amounts, pots, seats and next
// players worked out. Tests feed the packets to a table; the demo room plays them to the client.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/server/holdem_wire.h"

namespace holdem_hands {

enum class Step : uint8_t {
  kStart,     // the hand's first game state: seats, chips, dealer button
  kPost,      // seat posts a blind: action 8 or 9, amount its bet after
  kDeal,      // the hole cards
  kAct,       // seat acts: action (check, call, bet, raise, fold), amount its bet after
  kCollect,   // the bets go to the pot
  kBoard,     // the flop (cards 0-2), turn (3) or river (4): `cards` holds the whole board
  kShowdown,  // the winner takes the pot, the hands are shown
};

struct Row {
  Step step;
  int8_t seat = -1;
  uint8_t action = 0;
  uint32_t amount = 0;
  uint8_t board_cards = 0;  // kBoard: 3, 4 or 5
};

struct Player {
  uint8_t seat;
  uint32_t chips;
  std::array<int8_t, 2> cards;
};

struct Hand {
  uint32_t number = 1;
  uint8_t dealer = 0;
  std::vector<Player> players;
  holdem_wire::Board board{};
  std::vector<Row> rows;
  int8_t show_card_seconds = 2;
};

// The packets of the hand as the server sends them to a client seated at `local_seat` (-1: an
// observer, who sees no hole cards).
std::vector<holdem_wire::Packet> Render(const Hand& hand, int local_seat = -1);

// The demo hand: three players, blinds, calls, a flop, turn and river, and a showdown.
Hand DemoHand(uint32_t number, const std::vector<Player>& players);

}  // namespace holdem_hands
