// Feeds arbitrary (connection, type, payload) triples to the central dispatch with the program's
// own handlers behind it. Input: byte 0 the connection id (any value, so ids that name no
// connection come too), bytes 1-2 the type (big-endian; with the top bit set, the low bits pick
// one of the types the dispatch handles itself), the rest the payload. Message boxes are answered
// with their default buttons by the headless window core.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cclient/base/debug_log.h"
#include "cclient/net/network.h"
#include "cclient/net/packet_types.h"
#include "cclient/net/use_packet.h"
#include "platform/window/headless.h"

namespace {

constexpr uint16_t kSessionTypes[] = {
    PACKETTYPE_HELLOFROMSERVER,         PACKETTYPE_HELLOFROMSERVERHOSTED,
    PACKETTYPE_UPGRADEREQUIRED,         PACKETTYPE_HTTPUPGRADEREQUIRED,
    PACKETTYPE_PINGFROMSERVER,          PACKETTYPE_GENERALSEATNOTIFICATION,
    PACKETTYPE_TABLEWAITLISTRESPONSE,   PACKETTYPE_TABLEWAITINGLISTNOTIFY,
    PACKETTYPE_TABLELEAVEWAITLISTRESPONSE, PACKETTYPE_POPUPHTML,
    PACKETTYPE_BIRTHDAYMESSAGE,         PACKETTYPE_BUYMEMBERSHIPRESULT,
};

void ForgetSession() {
  const uint8_t no_session[kServerSessionIdSize] = {};
  NetSession_SetServerSessionId(no_session);
  for (uint8_t id = 0; id < kNetworkSlots; ++id) {
    NetConnection* connection = GlobalNetwork().GetConnection(id);
    connection->session_word = 0;
    std::memset(connection->pending_tables, 0, sizeof connection->pending_tables);
    connection->pending_tables[0] = 1234;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  ::setenv("TVK_HEADLESS", "1", 1);
  ::setenv("TVK_FAKE_CLOCK", "1", 1);  // a handler's sleeps cost no real time
  DebugLevel = -1;  // every packet logs; the log would fill the disk
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > kInputSlotBytes + 3) return 0;
  const uint8_t connection = data[0];
  uint16_t type = static_cast<uint16_t>((data[1] << 8) | data[2]);
  if (type & 0x8000) type = kSessionTypes[(type & 0x7FFF) % std::size(kSessionTypes)];
  ForgetSession();
  const int result =
      UsePacket(connection, type, data + 3, static_cast<uint32_t>(size - 3));
  if (result < kPacketHandled || result > kPacketUnknown) std::abort();
  // The window core keeps a record of every box shown. Forgetting it after each input keeps
  // what an input leaves behind to nothing, so the fuzzer's leak checks stay rare.
  if (!platform::headless::MessageBoxes().empty()) platform::headless::Reset();
  return 0;
}
