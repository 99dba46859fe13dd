#include "tests/server/demo_room.h"

#include <algorithm>
#include <typeinfo>

void DemoPacket::Reply(uint16_t reply_type, std::vector<uint8_t> reply_payload) const {
  room.SendTo(connection, reply_type, std::move(reply_payload));
}

void DemoRoom::On(uint16_t type, Handler handler) { handlers_[type] = std::move(handler); }

DemoRoom::Handler DemoRoom::HandlerFor(uint16_t type) const {
  const auto found = handlers_.find(type);
  return found != handlers_.end() ? found->second : Handler();
}

void DemoRoom::Every(Tick tick) { ticks_.push_back(std::move(tick)); }

void DemoRoom::WhenClosed(Closed closed) { closed_.push_back(std::move(closed)); }

void DemoRoom::SendTo(int connection, uint16_t type, std::vector<uint8_t> payload) {
  if (server_ != nullptr) server_->Send(connection, type, std::move(payload));
}

void DemoRoom::OnPacket(GameServer& server, int connection, uint16_t type,
                        const std::vector<uint8_t>& payload) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (std::find(open_.begin(), open_.end(), connection) == open_.end()) {
    open_.push_back(connection);
  }
  const auto found = handlers_.find(type);
  if (found == handlers_.end()) return;
  server_ = &server;
  found->second(DemoPacket{*this, connection, type, payload});
  server_ = nullptr;
}

void DemoRoom::OnTick(GameServer& server, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (std::find(open_.begin(), open_.end(), connection) == open_.end()) return;
  server_ = &server;
  for (const Tick& tick : ticks_) tick(*this, connection);
  server_ = nullptr;
}

void DemoRoom::OnClosed(GameServer& server, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  open_.erase(std::remove(open_.begin(), open_.end(), connection), open_.end());
  server_ = &server;
  for (const Closed& closed : closed_) closed(*this, connection);
  server_ = nullptr;
}

std::unique_ptr<DemoRoom> MakeDemoRoom() {
  auto room = std::make_unique<DemoRoom>();
  AddDemoSession(*room);
  AddDemoLobby(*room);
  AddDemoTables(*room);
  AddDemoHoldemHands(*room);  // after the tables: it wraps their answers for its table
  AddDemoTourneys(*room);
  AddDemoBuddies(*room);
  AddDemoSignIn(*room);
  return room;
}
