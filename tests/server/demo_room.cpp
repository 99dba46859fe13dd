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
  if (sink_) sink_(connection, type, std::move(payload));
}

namespace {

DemoRoom::Sink ServerSink(GameServer& server) {
  return [&server](int connection, uint16_t type, std::vector<uint8_t> payload) {
    server.Send(connection, type, std::move(payload));
  };
}

}  // namespace

void DemoRoom::OnPacket(GameServer& server, int connection, uint16_t type, const std::vector<uint8_t>& payload) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = ServerSink(server);
  port_ = server.Port();
  Packet(connection, type, payload);
  sink_ = nullptr;
}

void DemoRoom::OnTick(GameServer& server, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = ServerSink(server);
  port_ = server.Port();
  TickOne(connection);
  sink_ = nullptr;
}

void DemoRoom::OnClosed(GameServer& server, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = ServerSink(server);
  port_ = server.Port();
  Close(connection);
  sink_ = nullptr;
}

void DemoRoom::Deliver(const Sink& sink, int connection, uint16_t type, const std::vector<uint8_t>& payload) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = sink;
  Packet(connection, type, payload);
  sink_ = nullptr;
}

void DemoRoom::TickConnection(const Sink& sink, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = sink;
  TickOne(connection);
  sink_ = nullptr;
}

void DemoRoom::CloseConnection(const Sink& sink, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = sink;
  Close(connection);
  sink_ = nullptr;
}

void DemoRoom::Packet(int connection, uint16_t type, const std::vector<uint8_t>& payload) {
  if (std::find(open_.begin(), open_.end(), connection) == open_.end()) open_.push_back(connection);
  const auto found = handlers_.find(type);
  if (found != handlers_.end()) found->second(DemoPacket{*this, connection, type, payload});
}

void DemoRoom::TickOne(int connection) {
  if (std::find(open_.begin(), open_.end(), connection) == open_.end()) return;
  for (const Tick& tick : ticks_) tick(*this, connection);
}

void DemoRoom::Close(int connection) {
  open_.erase(std::remove(open_.begin(), open_.end(), connection), open_.end());
  for (const Closed& closed : closed_) closed(*this, connection);
}

std::unique_ptr<DemoRoom> MakeDemoRoom() {
  auto room = std::make_unique<DemoRoom>();
  AddDemoSession(*room);
  AddDemoLobby(*room);
  AddDemoTables(*room);
  AddDemoTourneys(*room);
  AddDemoBuddies(*room);
  AddDemoSignIn(*room);
  AddDemoAccounts(*room);
  AddDemoChrome(*room);
  AddDemoDealer(*room);  // last: it wraps the sign-in and the tables' answers
  return room;
}
