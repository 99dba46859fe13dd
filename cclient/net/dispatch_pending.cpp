// The dispatch's body until the packet handlers exist: every packet is logged and reported as an
// unknown type. This file goes away when the real dispatch is written.
#include "cclient/core/debug_log.h"
#include "cclient/net/use_packet.h"

int UsePacket(uint8_t connection, uint32_t type, const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "UsePacket(%d, %ld, %ld): no handler yet\n", connection,
                      static_cast<long>(type), static_cast<long>(length));
  return 2;
}
