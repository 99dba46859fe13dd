// The total of a Black Jack hand as its label shows it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t kBlackJackMaxCards = 15;

// Totals up to 15 cards (card values 0-51; the first -1 or other value outside them ends the
// hand). Aces count 1 apart from the rest: ranks two to nine their pips, ten to king 10. With an
// ace, t = the sum with every ace as 1: 12 or more is t, exactly 11 is 21 ("21"), 10 or less is
// t + 10, written "t / t + 10" when `soft`. Writes the text (cut to `size`) and returns the total.
int32_t BlackJack_HandTotal(const int32_t* cards, char* text, size_t size, bool soft);
