// Money amounts in cents as the tables show them.
//
// Every form is made from the integer cents, so no amount is ever off by a cent through floating
// point.
#pragma once

#include <cstddef>
#include <cstdint>

// "$%d" of the dollars for a whole number of dollars, "$.%02d" below one dollar, else dollars
// and cents with two decimals ("$12.34"), as "$%4.2f" of cents x 0.01 writes them.
void MoneyText_Label(char* out, size_t size, int64_t cents);
// "$%d" of the dollars for a whole number of dollars, else dollars and cents padded to `width`
// characters after the "$" as "$%<width>.2f" writes them (a width of 5 gives "$ 1.50").
void MoneyText_Padded(char* out, size_t size, int64_t cents, int32_t width);

// Reads a decimal number of dollars ("12", "12.3", ".50", "0.5") exactly into cents; digits past
// the second decimal are dropped. Stops at the first character that is neither a digit nor the
// first '.'. Results beyond `limit` cents are cut to `limit`, so no text can overflow.
int64_t MoneyText_ParseDollars(const char* text, size_t length, int64_t limit);
