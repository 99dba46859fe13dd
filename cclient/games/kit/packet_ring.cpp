#include "cclient/games/kit/packet_ring.h"

#include "cclient/games/kit/game_log.h"

bool PacketRing::Push(uint32_t type, std::unique_ptr<GameRecord> record) {
  if (count_ == capacity_) return false;  // the record goes with the unique_ptr
  if (count_ == 0) head_ = 0;
  const int32_t slot = (head_ + count_) % capacity_;
  types_[slot] = type;
  records_[slot] = std::move(record);
  dumped_[slot] = 0;
  ++count_;
  if (log_ != nullptr) log_->LabelNumber("!!!!push packet", type);
  return true;
}

bool PacketRing::Pop() {
  if (count_ < 1) return false;
  --count_;
  const uint32_t type = types_[head_];
  records_[head_].reset();
  head_ = (head_ + 1) % capacity_;
  if (log_ != nullptr) log_->LabelNumber("!!!!pop packet", type);
  return true;
}

void PacketRing::Clear() {
  while (Pop()) {
  }
}

bool PacketRing::FirstVisit() {
  if (count_ == 0 || dumped_[head_] != 0) return false;
  dumped_[head_] = 1;
  step = -1;
  return true;
}
