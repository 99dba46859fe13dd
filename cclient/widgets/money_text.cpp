#include "cclient/widgets/money_text.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

// "12.34" of 1234 cents (with a minus sign for a negative amount).
void DecimalDollars(char* out, size_t size, int64_t cents) {
  const bool negative = cents < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
  std::snprintf(out, size, "%s%" PRIu64 ".%02" PRIu64, negative ? "-" : "", magnitude / 100, magnitude % 100);
}

}  // namespace

void MoneyText_Label(char* out, size_t size, int64_t cents) {
  if (cents >= 0 && cents < 100) {
    std::snprintf(out, size, "$.%02" PRId64, cents);
  } else if (cents % 100 == 0) {
    std::snprintf(out, size, "$%" PRId64, cents / 100);
  } else {
    char number[32];
    DecimalDollars(number, sizeof number, cents);
    std::snprintf(out, size, "$%4s", number);
  }
}

void MoneyText_Padded(char* out, size_t size, int64_t cents, int32_t width) {
  if (cents % 100 == 0) {
    std::snprintf(out, size, "$%" PRId64, cents / 100);
    return;
  }
  char number[32];
  DecimalDollars(number, sizeof number, cents);
  std::snprintf(out, size, "$%*s", static_cast<int>(width), number);
}

int64_t MoneyText_ParseDollars(const char* text, size_t length, int64_t limit) {
  int64_t cents = 0;
  int32_t decimals = -1;  // -1 before the '.', then the digits read after it
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') break;
    if (decimals < 0) {
      cents = cents * 10 + (c - '0');
      if (cents > limit / 100 + 1) return limit;
    } else if (decimals < 2) {
      cents = cents * 10 + (c - '0');
      ++decimals;
      continue;
    }
  }
  // Scale what was read to cents: no decimals read means whole dollars.
  if (decimals <= 0) {
    cents *= 100;
  } else if (decimals == 1) {
    cents *= 10;
  }
  return cents > limit ? limit : cents;
}
