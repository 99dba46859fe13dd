// Splits arbitrary stream bytes into frames the way a connection does (length first, then the
// whole frame, then its check) and walks each good payload with the field readers.
#include <cstddef>
#include <cstdint>

#include "cclient/core/packet_reader.h"
#include "cclient/net/packet_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  while (size - at >= 4) {
    const uint32_t length = LoadBE32(data + at);
    if (length > kMaxFrameSize) break;
    if (length > size - at) break;
    uint16_t type;
    const uint8_t* payload;
    uint32_t payload_len;
    if (VerifyFrame(data + at, length, &type, &payload, &payload_len) != FRAME_OK) break;

    // Read the payload as a mix of fields chosen by the packet type's low bits.
    const uint8_t* read = payload;
    int32_t left = static_cast<int32_t>(payload_len);
    for (unsigned step = type; left > 0; step = (step >> 2) | ((step & 3u) << 14)) {
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
    at += length;
    if (length == 0) break;
  }
  return 0;
}
