// The unpackers' input and output over byte vectors, one file at a time, for round-trip tests and
// the unpack benchmark.
#pragma once

#include <cstdint>
#include <vector>

#include "rar/unpack.h"

class RoundtripIO final : public RarUnpackIO {
 public:
  // The packed bytes of the next file. `read_limit` caps what one ReadPackedData call hands out
  // (0: no cap), to show that short reads are not taken for the end of the data.
  void SetPacked(std::vector<uint8_t> packed, int read_limit = 0);
  // The bytes unpacked since the last call.
  std::vector<uint8_t> TakeUnpacked();
  size_t unpacked_size() const { return unpacked_.size(); }

  int ReadPackedData(uint8_t* buffer, int count) override;
  void WriteUnpacked(const uint8_t* buffer, int count) override;

 private:
  std::vector<uint8_t> packed_;
  size_t read_position_ = 0;
  int read_limit_ = 0;
  std::vector<uint8_t> unpacked_;
};
