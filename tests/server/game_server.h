// A scripted game server on loopback for tests, benchmarks and local runs.
//
// It speaks TLS with a throwaway certificate (tests/server/test_certificates.h) and the client's
// own frame code. Every accepted connection gets a number (0, 1, 2, ... in accept order) and plays
// the script set for that number, or the default script: send packets, expect packets, wait,
// drop the connection, refuse it, or send corrupt frames. Once its script is done a connection
// keeps reading until the peer closes. Pings (1036, 1110) are answered with 1037 and the same
// four bytes unless that is turned off; either way no kExpect step takes them. Everything
// received, and what happened to each connection, goes into one event log, which is what tests
// assert on.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/server/test_certificates.h"

struct ScriptStep {
  enum Kind {
    kSend,          // a good frame of (type, bytes)
    kSendRaw,       // bytes as they stand (corrupt frames)
    kSendRepeated,  // a good frame of (type, bytes), `count` times, as fast as the peer reads
    kSendRawRepeated,  // bytes as they stand, `count` times, as fast as the peer reads
    kExpect,        // the next packet received (pings aside) has `type` (and `bytes` when exact)
    kWait,          // `ms` of real time, reading meanwhile
    kStall,         // `ms` of real time without reading (the peer's writes back up)
    kDrop,          // close the connection without a word
    kClose,         // close the session in order (TLS close notice), then the connection
    kRefuse,        // as a first step: close right after accepting, before any TLS
    kSilent,        // as a first step: accept, never shake hands, hold until the peer goes
  };
  explicit ScriptStep(Kind step_kind) : kind(step_kind) {}

  Kind kind;
  uint16_t type = 0;
  std::vector<uint8_t> bytes;
  bool exact = false;
  uint32_t ms = 0;
  uint32_t count = 0;

  static ScriptStep Send(uint16_t type, std::vector<uint8_t> payload = {});
  static ScriptStep SendRaw(std::vector<uint8_t> bytes);
  static ScriptStep SendRepeated(uint16_t type, std::vector<uint8_t> payload, uint32_t count);
  static ScriptStep SendRawRepeated(std::vector<uint8_t> bytes, uint32_t count);
  static ScriptStep Expect(uint16_t type);
  static ScriptStep ExpectExact(uint16_t type, std::vector<uint8_t> payload);
  static ScriptStep Wait(uint32_t ms);
  static ScriptStep Stall(uint32_t ms);
  static ScriptStep Drop();
  static ScriptStep Close();
  static ScriptStep Refuse();
  static ScriptStep Silent();
};
using Script = std::vector<ScriptStep>;

class GameServer;

// Answers packets as they arrive, beside or instead of a script: the demo room of local runs
// (tests/server/demo_room.h) is one. Every call runs on the thread of the connection it names;
// several connections call at once, so an implementation guards what they share. Replies go out
// through GameServer::Send, after the call returns.
class Responder {
 public:
  virtual ~Responder() = default;
  // A packet other than a ping arrived on `connection`.
  virtual void OnPacket(GameServer& server, int connection, uint16_t type,
                        const std::vector<uint8_t>& payload) = 0;
  // Called about every 20 ms of real time while `connection` is open, for timed replies.
  virtual void OnTick(GameServer& server, int connection) {}
  // The connection ended, whichever side ended it.
  virtual void OnClosed(GameServer& server, int connection) {}
};

// Frame bytes for scripts: a good frame, one whose checksum is off by one bit, and a header that
// claims `length_field` bytes followed by filler up to `total_bytes` bytes in all.
std::vector<uint8_t> GoodFrame(uint16_t type, const std::vector<uint8_t>& payload);
std::vector<uint8_t> FrameWithBadCrc(uint16_t type, const std::vector<uint8_t>& payload);
std::vector<uint8_t> FrameWithLength(uint32_t length_field, uint32_t total_bytes);

struct ServerEvent {
  enum Kind {
    kAccepted,         // a TCP connection was accepted
    kRefused,          // closed by a kRefuse step
    kHandshakeFailed,  // the TLS handshake did not complete
    kPacket,           // a frame with a good checksum arrived: `type`, `payload`
    kBadFrame,         // a frame failed its check (`note` says how); the connection is dropped
    kExpectMismatch,   // a kExpect step saw another packet (`type`, `payload`; `note`)
    kDropped,          // closed by a kDrop or kClose step
    kPeerClosed,       // the peer closed or the link failed
  };
  ServerEvent(Kind event_kind, int connection_number, uint16_t packet_type = 0,
              std::vector<uint8_t> packet_payload = {})
      : kind(event_kind),
        connection(connection_number),
        type(packet_type),
        payload(std::move(packet_payload)) {}

  Kind kind;
  int connection;
  uint16_t type = 0;
  std::vector<uint8_t> payload;
  std::string note;
};

const char* ServerEventKindName(ServerEvent::Kind kind);

class GameServer {
 public:
  explicit GameServer(ServerIdentity identity = ServerIdentity::kTrusted);
  ~GameServer();  // stops
  GameServer(const GameServer&) = delete;
  GameServer& operator=(const GameServer&) = delete;

  // Listens on 127.0.0.1:`port` (0 takes a free port). Returns false when it cannot.
  [[nodiscard]] bool Start(uint16_t port = 0);
  uint16_t Port() const { return port_; }
  // Closes every connection and the listener, and joins every thread.
  void Stop();

  // Scripts; set them before the connection they are for is accepted.
  void SetScript(int connection, Script script);
  void SetDefaultScript(Script script);
  void SetAnswerPings(bool answer) { answer_pings_.store(answer, std::memory_order_release); }
  // Set before Start; the server does not own it, and it must outlive Stop.
  void SetResponder(Responder* responder) { responder_ = responder; }

  // Closes the listener (connects are refused by the system) or opens it again on the same port.
  // Returns once the change is made.
  void RefuseConnects(bool refuse);

  // Queues a good frame for connection `connection`, sent by its thread after its script's
  // current step (or at once when the script is done).
  void Send(int connection, uint16_t type, std::vector<uint8_t> payload = {});

  // A copy of the event log.
  std::vector<ServerEvent> Events() const;
  // The packets (kPacket events) of one connection, in arrival order.
  std::vector<ServerEvent> Packets(int connection) const;
  // Waits until `done` holds for the event log; false when `timeout_ms` of real time pass first.
  bool WaitFor(const std::function<bool(const std::vector<ServerEvent>&)>& done,
               uint32_t timeout_ms = 20000) const;
  // The event log as text, one event a line, for failure messages.
  std::string Describe() const;

 private:
  struct Connection;
  void AcceptLoop();
  void Serve(std::shared_ptr<Connection> connection);
  bool OpenListener();
  void Record(ServerEvent event);
  Script ScriptFor(int connection);
  bool TakeOutgoing(int connection, std::vector<uint8_t>* frame);

  ServerIdentity identity_;
  void* context_ = nullptr;  // SSL_CTX
  uint16_t port_ = 0;
  int listener_ = -1;
  int stop_fd_ = -1;  // eventfd, readable once stopping
  std::atomic<bool> stopping_{false};
  std::atomic<bool> answer_pings_{true};
  Responder* responder_ = nullptr;
  std::thread acceptor_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<ServerEvent> events_;
  std::map<int, Script> scripts_;
  Script default_script_;
  std::map<int, std::vector<std::vector<uint8_t>>> outgoing_;
  bool want_refuse_ = false;
  bool refusing_ = false;
  std::vector<std::thread> workers_;
  int accepted_ = 0;
};
