// The unpacker the archive reader holds: one 1 MB window for the whole archive, the packed-bit
// input, and the choice of method by unpack version.
#include "rar/unpack.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "rar/unpack15.h"
#include "rar/unpack20.h"
#include "rar/unpack_internal.h"

void RarBitInput::Start(RarUnpackIO* io) {
  io_ = io;
  cursor_ = RarBitCursor{buffer_, 0, 0};
  top_ = 0;
  border_ = -1;
  ended_ = false;
  read_failed_ = false;
  Fill();
}

// Moves the unread tail to the front and reads until the buffer is full or the data ends. The
// cursor is loaded anew from its read position: the bits it held ahead may be stale.
void RarBitInput::Fill() {
  const int64_t bit_position = cursor_.BitPosition(buffer_);
  const int position = static_cast<int>(bit_position >> 3);
  if (position > 0) {
    const int tail = top_ > position ? top_ - position : 0;
    std::memmove(buffer_, buffer_ + position, static_cast<size_t>(tail));
    top_ = tail;
  }
  while (!ended_ && top_ < kBufferSize) {
    const int wanted = kBufferSize - top_;
    const int got = io_->ReadPackedData(buffer_ + top_, wanted);
    if (got < 0 || got > wanted) {
      read_failed_ = true;
      ended_ = true;
    } else if (got == 0) {
      ended_ = true;
    } else {
      top_ += got;
    }
  }
  if (ended_) std::memset(buffer_ + top_, 0, kPadding);
  border_ = top_ - kRefillMargin;
  cursor_ = RarBitCursor{buffer_, 0, 0};
  cursor_.Refill();
  cursor_.Skip(static_cast<uint32_t>(bit_position & 7));
}

bool RarBitInput::PrepareSlow() {
  if (!ended_) Fill();
  return !read_failed_ && !Overrun();
}

void RarUnpackCore::ClearForNonSolidFile() {
  std::memset(window, 0, static_cast<size_t>(std::min<uint64_t>(written_since_clear, kRarWindowSize)));
  written_since_clear = 0;
  write_pos = 0;
  flush_pos = 0;
  std::memset(old_dist, 0, sizeof old_dist);
  old_dist_index = 0;
  last_dist = 0;
  last_length = 0;
}

void RarUnpackCore::Flush() {
  if (write_pos < flush_pos) {
    io->WriteUnpacked(window + flush_pos, static_cast<int>(kRarWindowSize - flush_pos));
    written_since_clear += kRarWindowSize - flush_pos;
    flush_pos = 0;
  }
  if (write_pos > flush_pos) {
    io->WriteUnpacked(window + flush_pos, static_cast<int>(write_pos - flush_pos));
    written_since_clear += write_pos - flush_pos;
  }
  flush_pos = write_pos;
}

namespace {

// The window of the last unpacker that went away, kept for the next one with the count of bytes
// written into it since it was last cleared: the extractor makes an unpacker for every archive
// (and the fuzz targets one for every input), and a new megabyte costs more than clearing the few
// bytes a small file wrote. Unpackers may be made on any thread, so the slot is locked.
struct SpareWindow {
  std::mutex lock;
  uint8_t* window = nullptr;
  uint64_t written_since_clear = 0;
};

SpareWindow& Spare() {
  static SpareWindow* spare = new SpareWindow;  // never destroyed: unpackers may outlive statics
  return *spare;
}

// A window whose bytes beyond `*written_since_clear` are zero; nullptr when memory runs out.
uint8_t* TakeWindow(uint64_t* written_since_clear) {
  SpareWindow& spare = Spare();
  {
    std::lock_guard<std::mutex> hold(spare.lock);
    if (spare.window != nullptr) {
      uint8_t* window = spare.window;
      *written_since_clear = spare.written_since_clear;
      spare.window = nullptr;
      return window;
    }
  }
  // Zeroed by the allocator, which leaves fresh pages untouched until they are used.
  *written_since_clear = 0;
  return static_cast<uint8_t*>(std::calloc(kRarWindowSize + kRarWindowSlack, 1));
}

void GiveBackWindow(uint8_t* window, uint64_t written_since_clear) {
  if (window == nullptr) return;
  SpareWindow& spare = Spare();
  {
    std::lock_guard<std::mutex> hold(spare.lock);
    if (spare.window == nullptr) {
      spare.window = window;
      spare.written_since_clear = written_since_clear;
      return;
    }
  }
  std::free(window);
}

class RarUnpacker final : public Unpacker {
 public:
  explicit RarUnpacker(RarUnpackIO* io) { core_.io = io; }
  ~RarUnpacker() override { GiveBackWindow(core_.window, core_.written_since_clear); }
  RarUnpacker(const RarUnpacker&) = delete;
  RarUnpacker& operator=(const RarUnpacker&) = delete;

  UnpackResult Unpack(int unpack_version, int64_t unpacked_size, bool solid) override {
    const bool method15 = unpack_version >= 13 && unpack_version <= 15;
    const bool method20 = unpack_version >= 16 && unpack_version <= 20;
    if (!method15 && !method20) return UNPACK_BAD_VERSION;
    if (unpacked_size < 0) return UNPACK_CORRUPT;
    if (core_.window == nullptr) {
      core_.window = TakeWindow(&core_.written_since_clear);
      if (core_.window == nullptr) return UNPACK_NO_MEMORY;
      solid = false;
    }
    if (!solid) core_.ClearForNonSolidFile();
    core_.remaining = unpacked_size;
    core_.input.Start(core_.io);
    const UnpackResult result =
        method15 ? unpack15_.Unpack(core_, solid) : unpack20_.Unpack(core_, solid);
    core_.Flush();
    return result;
  }

 private:
  RarUnpackCore core_;  // its window is taken by the first Unpack and given back on destruction
  Unpack20Class unpack20_;
  Unpack15Class unpack15_;
};

}  // namespace

std::unique_ptr<Unpacker> CreateUnpacker(RarUnpackIO* io) {
  return std::unique_ptr<Unpacker>(new (std::nothrow) RarUnpacker(io));
}
