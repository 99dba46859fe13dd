// Feeds arbitrary stream bytes to a connection's own frame splitter (in pieces whose sizes come
// from the input, as reads from the socket would deliver them), takes every packet the splitter
// queues out of the input ring, and walks each payload with the field readers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cclient/base/debug_log.h"
#include "cclient/base/packet_reader.h"
#include "cclient/net/net_thread.h"
#include "cclient/net/packet_frame.h"

namespace {

void ReadFields(uint32_t type, const uint8_t* payload, uint32_t payload_len) {
  // Read the payload as a mix of fields chosen by the packet type's low bits.
  const uint8_t* read = payload;
  int32_t left = static_cast<int32_t>(payload_len);
  for (unsigned step = type & 0xFFFFu; left > 0; step = (step >> 2) | ((step & 3u) << 14)) {
    uint32_t u32;
    uint16_t u16;
    uint8_t u8;
    char text[33];
    int result = 0;
    switch (step & 3u) {
      case 0: result = PacketReadU32(&u32, &read, &left); break;
      case 1: result = PacketReadU16(&u16, &read, &left); break;
      case 2: result = PacketReadString(text, sizeof text, &read, &left); break;
      case 3: result = PacketReadU8(&u8, &read, &left); break;
    }
    if (result != 0) break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DebugLevel = -1;  // the splitter's complaints would otherwise fill a log file
  if (size < 1) return 0;
  static std::vector<uint8_t> packet(kInputSlotBytes);
  static NetThreadClass* connection = new NetThreadClass();  // one for the run, reset per input
  connection->Reset();

  // The first byte sets the size of the pieces (1 to 256 bytes, or everything at once for 0).
  const size_t piece = data[0] == 0 ? size : data[0];
  for (size_t at = 1; at < size;) {
    const uint32_t count = static_cast<uint32_t>(std::min(piece, size - at));
    const int verdict = connection->FeedReceivedBytes(data + at, count);
    at += count;
    for (;;) {
      uint32_t type = 0;
      const int length = connection->ReadPacket(&type, packet.data(), kInputSlotBytes);
      if (length < 0) break;
      ReadFields(type, packet.data(), static_cast<uint32_t>(length));
    }
    if (verdict != 0) break;  // the connection would be dropped here
  }
  return 0;
}
