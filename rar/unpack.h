// The meeting point between the archive reader and the two unpackers (the 1.5 method for unpack
// versions 13 to 15 and the 2.0 method for 16 to 20).
//
// The archive reader owns one Unpacker per archive and calls Unpack once per compressed file (and
// for packed comments, on a separate Unpacker). The Unpacker pulls packed bytes through
// RarUnpackIO::ReadPackedData and hands unpacked bytes to RarUnpackIO::WriteUnpacked. In a solid
// archive the window, the tables and every adaptive state carry over from the previous file.
#pragma once

#include <cstdint>
#include <memory>

// Implemented by the archive reader.
class RarUnpackIO {
 public:
  virtual ~RarUnpackIO() = default;
  // Copies at most `count` packed (already decrypted) bytes of the current file into `buffer`.
  // Returns the number copied; 0 when the file's packed data is used up; -1 on a read error.
  virtual int ReadPackedData(uint8_t* buffer, int count) = 0;
  // Takes `count` unpacked bytes of the current file.
  virtual void WriteUnpacked(const uint8_t* buffer, int count) = 0;
};

enum UnpackResult {
  UNPACK_OK = 0,
  UNPACK_CORRUPT = 1,       // the stream made no sense or its input ran out early
  UNPACK_NO_MEMORY = 2,     // the window could not be allocated
  UNPACK_BAD_VERSION = 3,   // unpack version outside 13-20
};

class Unpacker {
 public:
  virtual ~Unpacker() = default;
  // Unpacks one file of exactly `unpacked_size` bytes (never more is written). `solid` keeps the
  // state of the previous file; a non-solid file starts from a cleared state.
  virtual UnpackResult Unpack(int unpack_version, int64_t unpacked_size, bool solid) = 0;
};

// A new unpacker bound to `io` (which must outlive it); nullptr when memory runs out.
std::unique_ptr<Unpacker> CreateUnpacker(RarUnpackIO* io);
