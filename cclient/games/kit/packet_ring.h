// The packet ring of a queued game module: parsed packet records waiting, in arrival order, for
// the module's packet loop. Up to 64 slots (a game picks its count); a record is owned by the
// ring from its push to its pop. Each slot keeps a "dumped" mark so that a record is written to
// the module log once, however often the loop comes back to it, and the ring keeps the step the
// loop has reached with the head record.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>

class GameLog;

// A parsed packet. Each game derives its own records.
struct GameRecord {
  virtual ~GameRecord() = default;
};

class PacketRing {
 public:
  static constexpr int32_t kSlots = 64;

  // `capacity` slots, 1 to kSlots.
  explicit PacketRing(GameLog* log = nullptr, int32_t capacity = kSlots)
      : log_(log), capacity_(capacity < 1 || capacity > kSlots ? kSlots : capacity) {}
  void SetLog(GameLog* log) { log_ = log; }

  // Queues the record at the tail: false (the record freed, the packet dropped) when the ring is
  // full. Pushing onto an empty ring restarts it at slot 0. Logs "!!!!push packet = <type>".
  bool Push(uint32_t type, std::unique_ptr<GameRecord> record);
  // Frees the head record and removes it; false when the ring is empty. Logs
  // "!!!!pop packet = <type>".
  bool Pop();
  // Pops until empty.
  void Clear();

  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Head() const { return head_; }
  bool Empty() const { return count_ == 0; }
  uint32_t HeadType() const { return types_[head_]; }
  GameRecord* HeadRecord() const { return records_[head_].get(); }
  template <typename Record>
  Record* HeadAs() const {
    return static_cast<Record*>(records_[head_].get());
  }
  // The type queued at position i from the head (0 = head).
  uint32_t TypeAt(int32_t i) const { return types_[(head_ + i) % capacity_]; }

  // Called by the loop on every pass: the first visit of a head record returns true (dump it now)
  // and resets the step to -1; later visits return false and keep the step.
  bool FirstVisit();
  int32_t step = -1;

 private:
  GameLog* log_;
  int32_t capacity_;
  uint32_t types_[kSlots] = {};
  std::unique_ptr<GameRecord> records_[kSlots];
  uint8_t dumped_[kSlots] = {};
  int32_t count_ = 0;
  int32_t head_ = 0;
};
