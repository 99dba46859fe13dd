// The demo room: the scripted game server's answers for local runs and end-to-end tests, so that
// a person (or a test) can sign in, browse the lobby, open tables and play against it.
//
// It is a Responder made of handlers by packet type. Each part of the room (the lobby, sign-in and
// lists, tables, each game's dealer, accounts, tournaments, buddies and bonuses) lives in a file of
// its own that registers its handlers and ticks in one function (`AddDemoLobby` and the like),
// called by `MakeDemoRoom`. Handlers and ticks run with the room's lock held, one at a time, on the
// thread of the connection they serve; they reply with `Reply` or `SendTo`, which queue frames that
// go out once the handler returns.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

#include "tests/server/game_server.h"

class DemoRoom;

// What a handler sees of the packet it answers.
struct DemoPacket {
  DemoRoom& room;
  int connection;
  uint16_t type;
  const std::vector<uint8_t>& payload;
  void Reply(uint16_t reply_type, std::vector<uint8_t> reply_payload = {}) const;
};

class DemoRoom final : public Responder {
 public:
  using Handler = std::function<void(const DemoPacket& packet)>;
  using Tick = std::function<void(DemoRoom& room, int connection)>;
  using Closed = std::function<void(DemoRoom& room, int connection)>;
  using Clock = std::chrono::steady_clock;
  // Where the room's frames go when a test drives it without a server.
  using Sink = std::function<void(int connection, uint16_t type, std::vector<uint8_t> payload)>;

  // Registers the answer to one packet type; a later registration of the same type replaces it.
  void On(uint16_t type, Handler handler);
  // The answer registered for `type`, empty when none: a part that answers some packets of a type
  // itself (a table it runs) hands the others on to it.
  Handler HandlerFor(uint16_t type) const;
  // Registers a periodic step, run about every 20 ms for each open connection.
  void Every(Tick tick);
  // Registers a step run when a connection ends.
  void WhenClosed(Closed closed);

  // Queues a frame for `connection`. Only from inside a handler or tick.
  void SendTo(int connection, uint16_t type, std::vector<uint8_t> payload = {});
  // The port the server listens on. Only from inside a handler or tick.
  uint16_t ServerPort() const { return port_; }
  // The room's time, for its rests and clocks: the steady clock unless a test set its own.
  Clock::time_point Now() const { return clock_ ? clock_() : Clock::now(); }
  // Set before the room runs.
  void SetClock(std::function<Clock::time_point()> clock) { clock_ = std::move(clock); }
  // The connections the room has seen packets from and that are still open.
  std::vector<int> OpenConnections() const { return open_; }

  // Named state the parts of the room share (sign-in names by connection and the like). Each part
  // keeps its own state in its own object, made on first use and kept for the room's life.
  template <typename State>
  State& Part() {
    auto& slot = parts_[typeid(State).name()];
    if (!slot) slot = std::shared_ptr<void>(new State(), [](void* p) { delete static_cast<State*>(p); });
    return *static_cast<State*>(slot.get());
  }

  // Responder
  void OnPacket(GameServer& server, int connection, uint16_t type,
                const std::vector<uint8_t>& payload) override;
  void OnTick(GameServer& server, int connection) override;
  void OnClosed(GameServer& server, int connection) override;

  // The same three without a server, for tests: the frames the room sends go to `sink`.
  void Deliver(const Sink& sink, int connection, uint16_t type, const std::vector<uint8_t>& payload);
  void TickConnection(const Sink& sink, int connection);
  void CloseConnection(const Sink& sink, int connection);

 private:
  void Packet(int connection, uint16_t type, const std::vector<uint8_t>& payload);
  void TickOne(int connection);
  void Close(int connection);

  std::mutex mutex_;
  Sink sink_;  // set while a handler or tick runs
  uint16_t port_ = 0;
  std::function<Clock::time_point()> clock_;
  std::map<uint16_t, Handler> handlers_;
  std::vector<Tick> ticks_;
  std::vector<Closed> closed_;
  std::vector<int> open_;
  std::map<std::string, std::shared_ptr<void>> parts_;
};

// Builds the whole room with every part registered.
std::unique_ptr<DemoRoom> MakeDemoRoom();

// The parts of the room, each in its own file (demo_<part>.cpp). A part that is not written yet has
// no file and is not called.
void AddDemoSession(DemoRoom& room);
void AddDemoLobby(DemoRoom& room);
void AddDemoTables(DemoRoom& room);
void AddDemoTourneys(DemoRoom& room);
void AddDemoBuddies(DemoRoom& room);
void AddDemoSignIn(DemoRoom& room);
void AddDemoAccounts(DemoRoom& room);
// The password an account made by sign-up in this run was given (demo_accounts.cpp), or nullptr
// when sign-up made no account of that name (letter case ignored). Only from a handler.
const std::string* DemoAccountPassword(DemoRoom& room, const std::string& name);
void AddDemoChrome(DemoRoom& room);
// Every table of the registry of dealt tables (dealt_tables.h), with its dealer and robots; hands
// other tables on to the parts registered before it.
void AddDemoDealer(DemoRoom& room);

// The signed-in player's money (demo_dealer.cpp), in cents: buy-ins take from it, leaving a table
// gives the chips back.
struct DemoWallet {
  uint32_t real_cents = 125050;
  uint32_t play_cents = 1000000;
};
// The wallet of the player signed in on `connection` (by name, letter case ignored; the last
// signed-in name for a connection that did not sign in). Only from a handler or tick.
DemoWallet& DemoWalletOf(DemoRoom& room, int connection);
// Who sits at a dealt table now: its robots and every connection's player there. Empty for a table
// the registry does not hold. Only from a handler or tick.
std::vector<std::string> DemoPlayersAt(DemoRoom& room, uint32_t table_id);
