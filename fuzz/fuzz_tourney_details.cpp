// Feeds arbitrary bytes to a tournament's details as PACKETTYPE_TOURNEYDETAILS payloads: the
// first byte picks the details state to start from, the rest is split into packets at 0xFE bytes
// so that later packets merge into what earlier ones built. Also places the same bytes as
// registration pay options.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/lobby/tourney_details.h"
#include "cclient/lobby/tourney_registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  DebugLevel = -1;  // no "LOG.LOG" in the folder the fuzzer runs in
  TourneyPayOptions placed;
  (void)TourneyPlacePayOptions(data, static_cast<int32_t>(size), (data[0] & 1) != 0, &placed);

  TourneyDetails details;
  details.tourney_id = 1;
  details.user_name = "p1";
  details.logged_in = true;
  details.prize_pool_open = (data[0] & 2) != 0;
  details.send = [](uint32_t, const uint8_t*, uint32_t) {};
  details.state = static_cast<int32_t>(data[0] % 5) - 1;
  size_t start = 1;
  for (size_t i = 1; i <= size; ++i) {
    if (i == size || data[i] == 0xFE) {
      (void)details.OnDetails(data + start, static_cast<uint32_t>(i - start));
      details.TickState(1.0, (data[0] & 4) ? 0 : 100);
      start = i + 1;
    }
  }
  return 0;
}
