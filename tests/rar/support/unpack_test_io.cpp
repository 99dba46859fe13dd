#include "tests/rar/support/unpack_test_io.h"

#include <algorithm>
#include <stdexcept>

void UnpackTestIO::SetPacked(std::vector<uint8_t> packed, int piece) {
  packed_ = std::move(packed);
  read_ = 0;
  piece_ = piece;
}

int UnpackTestIO::ReadPackedData(uint8_t* buffer, int count) {
  if (fail_after_ >= 0 && read_ >= static_cast<size_t>(fail_after_)) return -1;
  size_t n = std::min(static_cast<size_t>(count), packed_.size() - read_);
  if (piece_ > 0) n = std::min(n, static_cast<size_t>(piece_));
  std::copy_n(packed_.begin() + static_cast<long>(read_), n, buffer);
  read_ += n;
  return static_cast<int>(n);
}

void UnpackTestIO::WriteUnpacked(const uint8_t* buffer, int count) {
  output_.insert(output_.end(), buffer, buffer + count);
  largest_write_ = std::max(largest_write_, count);
}

HandBitStream& HandBitStream::Put(uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) bits_.push_back(((value >> i) & 1) != 0);
  return *this;
}

HandBitStream& HandBitStream::Bits(const std::string& text) {
  for (char c : text) {
    if (c == '0' || c == '1') {
      bits_.push_back(c == '1');
    } else if (c != ' ' && c != '|') {
      throw std::invalid_argument("bit text holds '" + std::string(1, c) + "'");
    }
  }
  return *this;
}

HandBitStream& HandBitStream::Repeat(const std::string& text, int times) {
  for (int i = 0; i < times; ++i) Bits(text);
  return *this;
}

std::vector<uint8_t> HandBitStream::Bytes() const {
  std::vector<uint8_t> bytes((bits_.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits_.size(); ++i) {
    if (bits_[i]) bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
  }
  return bytes;
}

UnpackedFile UnpackOneFile(int version, const std::vector<uint8_t>& packed, int64_t size, int piece) {
  UnpackTestIO io;
  io.SetPacked(packed, piece);
  auto unpacker = CreateUnpacker(&io);
  const UnpackResult result = unpacker->Unpack(version, size, false);
  return {result, io.Output()};
}

UnpackedSolidPair UnpackSolidPair(int version, const std::vector<uint8_t>& first, int64_t first_size,
                                  const std::vector<uint8_t>& second, int64_t second_size) {
  UnpackTestIO io;
  auto unpacker = CreateUnpacker(&io);
  io.SetPacked(first);
  const UnpackResult first_result = unpacker->Unpack(version, first_size, false);
  io.SetPacked(second);
  const UnpackResult second_result = unpacker->Unpack(version, second_size, true);
  return {first_result, second_result, io.Output()};
}

void PutRar20Table(HandBitStream& s, const std::map<int, int>& lengths, int count) {
  s.Bits("0011 0011 0011 0011 0011");  // bit lengths of symbols 0-4
  s.Repeat("0000", 11);                // 5-15 unused
  s.Bits("0011 0011 0011");            // 16, 17, 18
  for (int at = 0; at < count;) {
    const auto found = lengths.find(at);
    if (found != lengths.end()) {
      s.Put(static_cast<uint32_t>(found->second), 3);
      ++at;
      continue;
    }
    int zeros = 0;
    while (at + zeros < count && lengths.count(at + zeros) == 0) ++zeros;
    if (zeros >= 11) {
      zeros = std::min(zeros, 138);
      s.Bits("111").Put(static_cast<uint32_t>(zeros - 11), 7);
    } else if (zeros >= 3) {
      s.Bits("110").Put(static_cast<uint32_t>(zeros - 3), 3);
    } else {
      zeros = 1;
      s.Bits("000");
    }
    at += zeros;
  }
}
