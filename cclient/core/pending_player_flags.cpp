// The player flags store's look-up, which this build does not have yet: no player is marked, so
// every seat shows the plain plate. It moves into the store's own module when that is written.
#include "cclient/core/player_flags.h"

uint8_t PlayerFlagsGet(const char* /*name*/) { return 0; }
