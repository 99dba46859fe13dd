// Test helpers for the unpackers: an RarUnpackIO over byte vectors, and a writer for packed
// streams composed bit by bit in a test.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rar/unpack.h"

// Serves one file's packed bytes at a time and collects everything written.
class UnpackTestIO : public RarUnpackIO {
 public:
  // The packed bytes of the next file. `piece` > 0 hands them out at most that many at a time.
  void SetPacked(std::vector<uint8_t> packed, int piece = 0);
  // Reads fail (return -1) once `bytes` have been handed out.
  void FailReadsAfter(int bytes) { fail_after_ = bytes; }

  int ReadPackedData(uint8_t* buffer, int count) override;
  void WriteUnpacked(const uint8_t* buffer, int count) override;

  std::string Output() const { return std::string(output_.begin(), output_.end()); }
  const std::vector<uint8_t>& output() const { return output_; }
  void ClearOutput() { output_.clear(); }
  int largest_write() const { return largest_write_; }

 private:
  std::vector<uint8_t> packed_;
  size_t read_ = 0;
  int piece_ = 0;
  int fail_after_ = -1;
  std::vector<uint8_t> output_;
  int largest_write_ = 0;
};

// Bit fields, most significant bit first, as the unpackers read them; the last byte is padded
// with zero bits.
class HandBitStream {
 public:
  // The low `bits` bits of `value`.
  HandBitStream& Put(uint32_t value, int bits);
  // Each '0' or '1' is one bit; spaces and '|' only separate fields for the reader.
  HandBitStream& Bits(const std::string& text);
  HandBitStream& Repeat(const std::string& text, int times);

  std::vector<uint8_t> Bytes() const;
  size_t bit_count() const { return bits_.size(); }

 private:
  std::vector<bool> bits_;
};

// Writes the code lengths of a 2.0 table (prefixed by the bit-length code) for positions
// 0..count-1, with the previous lengths all zero: `lengths` maps a position to its length (1-4),
// every other position gets none. The bit-length code gives each of the symbols it uses a 3-bit
// code in symbol order:
//   "000".."100" lengths 0-4      "101" + 2 bits: repeat the previous length 3-6 times
//   "110" + 3 bits: 3-10 zeros    "111" + 7 bits: 11-138 zeros
void PutRar20Table(HandBitStream& s, const std::map<int, int>& lengths, int count);

struct UnpackedFile {
  UnpackResult result;
  std::string output;
};

// Unpacks one non-solid file with a fresh unpacker; `piece` as for UnpackTestIO::SetPacked.
UnpackedFile UnpackOneFile(int version, const std::vector<uint8_t>& packed, int64_t size,
                           int piece = 0);

struct UnpackedSolidPair {
  UnpackResult first_result;
  UnpackResult second_result;
  std::string output;  // both files' bytes, one after the other
};

// Unpacks a non-solid file, then a solid file after it, with one fresh unpacker.
UnpackedSolidPair UnpackSolidPair(int version, const std::vector<uint8_t>& first, int64_t first_size,
                                  const std::vector<uint8_t>& second, int64_t second_size);
