#include "tests/rar/support/roundtrip_io.h"

#include <algorithm>
#include <cstring>
#include <utility>

void RoundtripIO::SetPacked(std::vector<uint8_t> packed, int read_limit) {
  packed_ = std::move(packed);
  read_position_ = 0;
  read_limit_ = read_limit;
}

std::vector<uint8_t> RoundtripIO::TakeUnpacked() {
  std::vector<uint8_t> out;
  out.swap(unpacked_);
  return out;
}

int RoundtripIO::ReadPackedData(uint8_t* buffer, int count) {
  if (count <= 0) return 0;
  size_t take = std::min(static_cast<size_t>(count), packed_.size() - read_position_);
  if (read_limit_ > 0) take = std::min(take, static_cast<size_t>(read_limit_));
  if (take > 0) std::memcpy(buffer, packed_.data() + read_position_, take);
  read_position_ += take;
  return static_cast<int>(take);
}

void RoundtripIO::WriteUnpacked(const uint8_t* buffer, int count) {
  if (count > 0) unpacked_.insert(unpacked_.end(), buffer, buffer + count);
}
