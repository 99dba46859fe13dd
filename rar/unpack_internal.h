// Internals shared by the two unpack methods: the packed-bit input of the current file and the
// state both methods keep in one place (the 1 MB window, the old distances, the output count).
// Only rar/unpack*.cpp include this header.
#pragma once

#include <cstdint>
#include <cstring>

#include "rar/unpack.h"

inline constexpr uint32_t kRarWindowSize = 0x100000;
inline constexpr uint32_t kRarWindowMask = kRarWindowSize - 1;
// No decoding step writes 270 bytes or more (the longest match of either method is 267 bytes), and
// the window is handed out before a step whenever fewer than this many bytes of room are left, so a
// step never overwrites bytes that have not been handed out yet.
inline constexpr uint32_t kRarFlushRoom = 270;
// The window is allocated with this many bytes more, so that sixteen-byte pieces read near its end
// stay inside the allocation.
inline constexpr uint32_t kRarWindowSlack = 16;

// A read position in the packed-input buffer, most significant bit first, with the bits ahead of
// it held in a 64-bit word so that most reads need no memory access. Decoding loops keep a copy in
// local variables and hand it back to RarBitInput before it refills: bytes stored into the window
// may alias any member, so a position read through the input object would be reloaded from
// memory after every byte written.
//
// The reads do not check that enough bits are held: a caller refills first (Refill gives at least
// 56 bits, Need the bits asked for). A refill loads eight bytes at `next`, at most eight bytes
// beyond the byte of the read position.
struct RarBitCursor {
  const uint8_t* next = nullptr;  // the byte that the next refill loads first
  uint64_t bits = 0;              // the `count` bits from the read position at the top; below
                                  // them either zeros or the input bits that follow them
  uint32_t count = 0;             // 0-63

  void Refill() {
    uint64_t word;
    std::memcpy(&word, next, 8);
    bits |= __builtin_bswap64(word) >> count;
    // Whole bytes are taken until 56 to 63 bits are held: `count` + 8 * taken == count | 56.
    next += (63 - count) >> 3;
    count |= 56;
  }
  void Need(uint32_t wanted) {
    if (count < wanted) Refill();
  }

  // The next 16 bits, without consuming them.
  uint32_t Peek16() const { return static_cast<uint32_t>(bits >> 48); }
  void Skip(uint32_t skipped) {
    bits <<= skipped;
    count -= skipped;
  }
  // Consumes and returns the next `wanted` bits (0 to 16).
  uint32_t Read(uint32_t wanted) {
    const uint32_t value = Peek16() >> (16 - wanted);
    Skip(wanted);
    return value;
  }

  // Bits consumed since `origin`, the start of the buffer the cursor reads.
  int64_t BitPosition(const uint8_t* origin) const { return (next - origin) * 8 - count; }
};

// The packed bytes of the current file.
//
// Contract for the decoders: call Prepare() before each code (it refills the buffer when fewer than
// 30 unread bytes remain); between two Prepare() calls no more than 16 bytes are consumed. Bytes
// past the end of the packed data read as zero, and Prepare() fails once a code has consumed any
// of them, so a truncated or corrupt stream stops instead of decoding padding forever.
//
// The cursor's bits may run a byte or two past the data in the buffer while more data is to come
// (stale contents, never consumed: the margin keeps every code inside the data); a refill of the
// buffer therefore drops them and loads the cursor anew from its read position.
class RarBitInput {
 public:
  static constexpr int kBufferSize = 8192;
  static constexpr int kRefillMargin = 30;
  static constexpr int kPadding = 64;

  RarBitInput() = default;
  RarBitInput(const RarBitInput&) = delete;  // the cursor points into this object's buffer
  RarBitInput& operator=(const RarBitInput&) = delete;

  // Starts the packed data of a new file (the previous file's unread bytes are dropped).
  void Start(RarUnpackIO* io);

  // False when a read failed or the codes so far went past the end of the packed data.
  [[nodiscard]] bool Prepare() { return Position() <= border_ || PrepareSlow(); }
  // Prepare() has nothing to do while the cursor's `next` is at or below this (it may also have
  // nothing to do a few bytes beyond: the read position trails `next` by up to eight bytes).
  // Before the first byte of the buffer when fewer than kRefillMargin bytes are held, it is kept
  // at the first byte: `next` is always beyond it, so every code takes the slow path.
  const uint8_t* border() const { return buffer_ + (border_ > 0 ? border_ : 0); }

  RarBitCursor& cursor() { return cursor_; }
  uint32_t Peek16() {
    cursor_.Need(16);
    return cursor_.Peek16();
  }
  void Skip(uint32_t bits) { cursor_.Skip(bits); }
  uint32_t Read(uint32_t bits) {
    cursor_.Need(16);
    return cursor_.Read(bits);
  }

  // True once more bits were consumed than the packed data holds.
  bool Overrun() const { return cursor_.BitPosition(buffer_) > int64_t{top_} * 8; }
  // Whole unread bytes in the buffer (negative after an overrun).
  int BufferedBytes() const { return top_ - Position(); }
  // True when the file has no packed bytes at all.
  bool NoData() const { return ended_ && top_ == 0 && cursor_.BitPosition(buffer_) == 0; }

 private:
  // The byte of the read position.
  int Position() const { return static_cast<int>(cursor_.BitPosition(buffer_) >> 3); }
  bool PrepareSlow();
  void Fill();

  RarUnpackIO* io_ = nullptr;
  RarBitCursor cursor_{buffer_, 0, 0};
  int top_ = 0;       // bytes of packed data in the buffer
  int border_ = -1;   // Prepare() takes the slow path beyond this position
  bool ended_ = false;
  bool read_failed_ = false;
  uint8_t buffer_[kBufferSize + kPadding] = {};
};

// Copies `length` bytes from `distance` bytes back to `pos` in the window, byte by byte in effect,
// so an overlapping copy repeats its pattern. Returns the new write position. The caller keeps
// `length` within the room left before the flush position.
inline uint32_t RarCopyMatch(uint8_t* window, uint32_t pos, uint32_t length, uint32_t distance) {
  uint32_t src = (pos - distance) & kRarWindowMask;
  const uint32_t end = (pos + length) & kRarWindowMask;
  const uint32_t back = (pos - src) & kRarWindowMask;
  if (back >= 8 && src + length <= kRarWindowSize && pos + length <= kRarWindowSize) {
    // Eight bytes at a time: each piece is read whole before it is written, and with the source
    // at least eight bytes behind (or anywhere ahead) every byte read is already final.
    uint8_t* to = window + pos;
    const uint8_t* from = window + src;
    for (; length >= 8; length -= 8, to += 8, from += 8) {
      uint64_t piece;
      std::memcpy(&piece, from, 8);
      std::memcpy(to, &piece, 8);
    }
    for (; length > 0; --length) *to++ = *from++;
    return end;
  }
  for (; length > 0; --length) {
    window[pos] = window[src];
    pos = (pos + 1) & kRarWindowMask;
    src = (src + 1) & kRarWindowMask;
  }
  return end;
}

// RarCopyMatch for a match that the caller knows neither wraps nor comes within kRarFlushRoom of
// the window's end. Copies whole pieces of sixteen bytes (eight when the source is only eight to
// fifteen bytes behind), running up to fifteen bytes past the match, and then puts back the
// sixteen bytes after the match: they may hold history that a match of nearly the window's size
// still reads.
inline uint32_t RarCopyMatchInside(uint8_t* window, uint32_t pos, uint32_t length,
                                   uint32_t distance) {
  const uint32_t src = (pos - distance) & kRarWindowMask;
  const uint32_t back = (pos - src) & kRarWindowMask;
  if (back < 8 || src + length > kRarWindowSize) return RarCopyMatch(window, pos, length, distance);
  uint8_t* to = window + pos;
  const uint8_t* from = window + src;
  uint8_t after[16];
  std::memcpy(after, to + length, 16);
  if (back >= 16) {
    // Each piece is read whole before it is written, as in RarCopyMatch.
    uint32_t done = 0;
    do {
      uint8_t piece[16];
      std::memcpy(piece, from + done, 16);
      std::memcpy(to + done, piece, 16);
      done += 16;
    } while (done < length);
  } else {
    for (uint32_t done = 0; done < length; done += 8) {
      uint64_t piece;
      std::memcpy(&piece, from + done, 8);
      std::memcpy(to + done, &piece, 8);
    }
  }
  std::memcpy(to + length, after, 16);
  return pos + length;
}

// State that both methods share and that a solid archive carries from file to file.
struct RarUnpackCore {
  RarUnpackIO* io = nullptr;
  uint8_t* window = nullptr;  // kRarWindowSize bytes, owned by the unpacker
  uint32_t write_pos = 0;     // next byte of the window to write
  uint32_t flush_pos = 0;     // next byte of the window to hand out
  int64_t remaining = 0;      // bytes of the current file still to produce
  uint32_t old_dist[4] = {};
  uint32_t old_dist_index = 0;
  uint32_t last_dist = 0;
  uint32_t last_length = 0;
  // Bytes handed out since the window was last cleared. Writing starts at the window's first byte
  // after a clear and every byte written is handed out, so only that many bytes from the start
  // (all of the window once it reaches its size) can differ from zero.
  uint64_t written_since_clear = 0;
  RarBitInput input;

  // A non-solid file starts from an empty window and no distances. Only the bytes written since
  // the last clear are cleared again.
  void ClearForNonSolidFile();

  // Hands out the bytes between the flush and the write position (two pieces when they wrap).
  void Flush();
  void FlushIfFull() {
    if (((write_pos - flush_pos) & kRarWindowMask) > kRarWindowSize - kRarFlushRoom) Flush();
  }

  void PutByte(uint32_t byte) {
    window[write_pos] = static_cast<uint8_t>(byte);
    write_pos = (write_pos + 1) & kRarWindowMask;
    --remaining;
  }

  void PushOldDist(uint32_t distance) {
    old_dist[old_dist_index] = distance;
    old_dist_index = (old_dist_index + 1) & 3;
  }

  // Copies a match (see RarCopyMatch) and remembers it as the last one. Copies no more than the
  // file still needs: a match running past the unpacked size is cut there.
  void CopyMatch(uint32_t length, uint32_t distance) {
    last_dist = distance;
    last_length = length;
    if (length > remaining) length = static_cast<uint32_t>(remaining);
    remaining -= length;
    write_pos = RarCopyMatch(window, write_pos, length, distance);
  }
};
