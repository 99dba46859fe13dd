// Builds tournament packets for tests, field by field, big-endian as on the wire.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class TourneyBytes {
 public:
  TourneyBytes& U8(uint8_t v) { bytes.push_back(v); return *this; }
  TourneyBytes& U32(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(v >> shift));
    return *this;
  }
  TourneyBytes& Text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
    return *this;
  }
  // A new-player record.
  TourneyBytes& Player(uint32_t id, const std::string& name, int32_t table_id, int32_t finish,
                       int32_t chips, const std::string& chips_text = "$") {
    return U32(id).Text(name).Text("").U32(static_cast<uint32_t>(table_id))
        .U32(static_cast<uint32_t>(finish)).U32(static_cast<uint32_t>(chips)).Text(chips_text);
  }
  std::vector<uint8_t> bytes;
};
