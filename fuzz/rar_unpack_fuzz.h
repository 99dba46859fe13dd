// Shared body of the unpacker fuzz targets. Input: unpacked size (3 bytes, little-endian), a split
// byte, then packed data. The data before the split point is one non-solid file of that size;
// when the split byte is not 0, the rest is a following solid file of a third of that size.
// Every file must end without writing more than its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rar/unpack.h"

class FuzzUnpackIO : public RarUnpackIO {
 public:
  void Start(const uint8_t* data, size_t size) {
    data_ = data;
    left_ = size;
    written_ = 0;
  }
  int ReadPackedData(uint8_t* buffer, int count) override {
    // Hand the data out in uneven pieces so refills happen mid-stream.
    size_t n = left_ < static_cast<size_t>(count) ? left_ : static_cast<size_t>(count);
    if (n > 1000) n = 1000;
    std::memcpy(buffer, data_, n);
    data_ += n;
    left_ -= n;
    return static_cast<int>(n);
  }
  void WriteUnpacked(const uint8_t*, int count) override {
    if (count <= 0) std::abort();
    written_ += static_cast<int64_t>(count);
  }
  int64_t written() const { return written_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t left_ = 0;
  int64_t written_ = 0;
};

inline void FuzzUnpackFiles(int version, const uint8_t* data, size_t size) {
  if (size < 4) return;
  const int64_t unpacked = data[0] | (data[1] << 8) | ((data[2] & 0x1F) << 16);
  const size_t packed = size - 4;
  const uint8_t split_byte = data[3];
  const size_t split = split_byte == 0 ? packed : packed * split_byte / 256;
  data += 4;

  FuzzUnpackIO io;
  auto unpacker = CreateUnpacker(&io);
  if (!unpacker) return;
  io.Start(data, split);
  UnpackResult result = unpacker->Unpack(version, unpacked, false);
  if (io.written() > unpacked || (result != UNPACK_OK && result != UNPACK_CORRUPT)) std::abort();
  if (result == UNPACK_OK && io.written() != unpacked) std::abort();
  if (split_byte == 0) return;

  io.Start(data + split, packed - split);
  result = unpacker->Unpack(version, unpacked / 3, true);
  if (io.written() > unpacked / 3 || (result != UNPACK_OK && result != UNPACK_CORRUPT)) std::abort();
  if (result == UNPACK_OK && io.written() != unpacked / 3) std::abort();
}
