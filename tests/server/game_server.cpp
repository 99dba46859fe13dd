#include "tests/server/game_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <deque>
#include <sstream>

#include "cclient/net/packet_frame.h"

namespace {

constexpr uint16_t kServerPing = 1036;
constexpr uint16_t kGameServerPing = 1110;
constexpr uint16_t kServerPingReply = 1037;
constexpr int kPollSliceMs = 20;
constexpr uint32_t kHandshakeLimitMs = 10000;
constexpr uint32_t kWriteLimitMs = 20000;

using Clock = std::chrono::steady_clock;

int LeftMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for `events` on `fd` or for the stop descriptor; true when `fd` is ready.
bool WaitReady(int fd, short events, int stop_fd, int timeout_ms) {
  pollfd fds[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
  for (;;) {
    const int count = ::poll(fds, 2, timeout_ms);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    if ((fds[1].revents & POLLIN) != 0) return false;
    return fds[0].revents != 0;
  }
}

}  // namespace

ScriptStep ScriptStep::Send(uint16_t type, std::vector<uint8_t> payload) {
  ScriptStep step(kSend);
  step.type = type;
  step.bytes = std::move(payload);
  return step;
}
ScriptStep ScriptStep::SendRaw(std::vector<uint8_t> bytes) {
  ScriptStep step(kSendRaw);
  step.bytes = std::move(bytes);
  return step;
}
ScriptStep ScriptStep::SendRepeated(uint16_t type, std::vector<uint8_t> payload, uint32_t count) {
  ScriptStep step = Send(type, std::move(payload));
  step.kind = kSendRepeated;
  step.count = count;
  return step;
}
ScriptStep ScriptStep::SendRawRepeated(std::vector<uint8_t> bytes, uint32_t count) {
  ScriptStep step = SendRaw(std::move(bytes));
  step.kind = kSendRawRepeated;
  step.count = count;
  return step;
}
ScriptStep ScriptStep::Expect(uint16_t type) {
  ScriptStep step(kExpect);
  step.type = type;
  return step;
}
ScriptStep ScriptStep::ExpectExact(uint16_t type, std::vector<uint8_t> payload) {
  ScriptStep step = Expect(type);
  step.bytes = std::move(payload);
  step.exact = true;
  return step;
}
ScriptStep ScriptStep::Wait(uint32_t ms) {
  ScriptStep step(kWait);
  step.ms = ms;
  return step;
}
ScriptStep ScriptStep::Stall(uint32_t ms) {
  ScriptStep step(kStall);
  step.ms = ms;
  return step;
}
ScriptStep ScriptStep::Drop() { return ScriptStep(kDrop); }
ScriptStep ScriptStep::Close() { return ScriptStep(kClose); }
ScriptStep ScriptStep::Refuse() { return ScriptStep(kRefuse); }
ScriptStep ScriptStep::Silent() { return ScriptStep(kSilent); }

std::vector<uint8_t> GoodFrame(uint16_t type, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> frame(payload.size() + kFrameHeaderSize);
  BuildFrame(type, payload.data(), static_cast<uint32_t>(payload.size()), frame.data());
  return frame;
}

std::vector<uint8_t> FrameWithBadCrc(uint16_t type, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> frame = GoodFrame(type, payload);
  frame[7] ^= 0x01;
  return frame;
}

std::vector<uint8_t> FrameWithLength(uint32_t length_field, uint32_t total_bytes) {
  std::vector<uint8_t> frame(total_bytes < 4 ? 4 : total_bytes, 0x5A);
  StoreBE32(frame.data(), length_field);
  return frame;
}

const char* ServerEventKindName(ServerEvent::Kind kind) {
  switch (kind) {
    case ServerEvent::kAccepted: return "accepted";
    case ServerEvent::kRefused: return "refused";
    case ServerEvent::kHandshakeFailed: return "handshake-failed";
    case ServerEvent::kPacket: return "packet";
    case ServerEvent::kBadFrame: return "bad-frame";
    case ServerEvent::kExpectMismatch: return "expect-mismatch";
    case ServerEvent::kDropped: return "dropped";
    case ServerEvent::kPeerClosed: return "peer-closed";
  }
  return "?";
}

// One accepted connection; owned by its worker thread.
struct GameServer::Connection {
  int number = 0;
  int fd = -1;
  SSL* ssl = nullptr;
  std::vector<uint8_t> received;       // unsplit stream bytes
  std::deque<ServerEvent> unexpected;  // packets no kExpect step has looked at yet

  ~Connection() {
    if (ssl != nullptr) SSL_free(ssl);
    if (fd >= 0) ::close(fd);
  }
};

GameServer::GameServer(ServerIdentity identity) : identity_(identity) {}

GameServer::~GameServer() { Stop(); }

bool GameServer::Start(uint16_t port) {
  std::signal(SIGPIPE, SIG_IGN);
  const ServerKeyPair pair = TestCertificates::Get().Identity(identity_);
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (context == nullptr) return false;
  context_ = context;
  if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 ||
      SSL_CTX_use_certificate(context, pair.certificate) != 1 ||
      SSL_CTX_use_PrivateKey(context, pair.key) != 1) {
    return false;
  }
  stop_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stop_fd_ < 0) return false;
  port_ = port;
  if (!OpenListener()) return false;
  acceptor_ = std::thread([this] { AcceptLoop(); });
  return true;
}

bool GameServer::OpenListener() {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  const int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port_);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0) {
    ::close(listener_);
    listener_ = -1;
    return false;
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

void GameServer::Stop() {
  if (stop_fd_ < 0) {
    if (context_ != nullptr) SSL_CTX_free(static_cast<SSL_CTX*>(context_));
    context_ = nullptr;
    return;
  }
  stopping_.store(true, std::memory_order_release);
  const uint64_t one = 1;
  (void)!::write(stop_fd_, &one, sizeof one);
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<std::thread> workers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    workers.swap(workers_);
  }
  for (std::thread& worker : workers) worker.join();
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
  ::close(stop_fd_);
  stop_fd_ = -1;
  SSL_CTX_free(static_cast<SSL_CTX*>(context_));
  context_ = nullptr;
}

void GameServer::SetScript(int connection, Script script) {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_[connection] = std::move(script);
}

void GameServer::SetDefaultScript(Script script) {
  std::lock_guard<std::mutex> lock(mutex_);
  default_script_ = std::move(script);
}

Script GameServer::ScriptFor(int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = scripts_.find(connection);
  return found != scripts_.end() ? found->second : default_script_;
}

void GameServer::RefuseConnects(bool refuse) {
  std::unique_lock<std::mutex> lock(mutex_);
  want_refuse_ = refuse;
  changed_.wait(lock, [&] { return refusing_ == refuse || stopping_.load(); });
}

void GameServer::Send(int connection, uint16_t type, std::vector<uint8_t> payload) {
  std::lock_guard<std::mutex> lock(mutex_);
  outgoing_[connection].push_back(GoodFrame(type, payload));
}

bool GameServer::TakeOutgoing(int connection, std::vector<uint8_t>* frame) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto& queue = outgoing_[connection];
  if (queue.empty()) return false;
  *frame = std::move(queue.front());
  queue.erase(queue.begin());
  return true;
}

void GameServer::Record(ServerEvent event) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  changed_.notify_all();
}

std::vector<ServerEvent> GameServer::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<ServerEvent> GameServer::Packets(int connection) const {
  std::vector<ServerEvent> packets;
  for (ServerEvent& event : Events()) {
    if (event.kind == ServerEvent::kPacket && event.connection == connection) {
      packets.push_back(std::move(event));
    }
  }
  return packets;
}

bool GameServer::WaitFor(const std::function<bool(const std::vector<ServerEvent>&)>& done,
                         uint32_t timeout_ms) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                           [&] { return done(events_); });
}

std::string GameServer::Describe() const {
  std::ostringstream text;
  for (const ServerEvent& event : Events()) {
    text << "#" << event.connection << " " << ServerEventKindName(event.kind);
    if (event.kind == ServerEvent::kPacket || event.kind == ServerEvent::kExpectMismatch) {
      text << " type " << event.type << " (" << event.payload.size() << " bytes)";
    }
    if (!event.note.empty()) text << " " << event.note;
    text << "\n";
  }
  return text.str();
}

void GameServer::AcceptLoop() {
  while (!stopping_.load(std::memory_order_acquire)) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (want_refuse_ != refusing_) {
        if (want_refuse_) {
          ::close(listener_);
          listener_ = -1;
          refusing_ = true;
        } else if (OpenListener()) {
          refusing_ = false;
        }
        changed_.notify_all();
      }
    }
    if (listener_ < 0) {
      WaitReady(stop_fd_, POLLIN, stop_fd_, kPollSliceMs);
      continue;
    }
    if (!WaitReady(listener_, POLLIN, stop_fd_, kPollSliceMs)) continue;
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    auto connection = std::make_shared<Connection>();
    connection->fd = fd;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      connection->number = accepted_++;
      events_.push_back(ServerEvent(ServerEvent::kAccepted, connection->number));
      workers_.emplace_back([this, connection] { Serve(connection); });
    }
    changed_.notify_all();
  }
}

namespace {

// Writes all bytes through the session, waiting for room; false when the link failed.
bool WriteAll(SSL* ssl, int fd, int stop_fd, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return true;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteLimitMs);
  for (;;) {
    const int result = SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size()));
    if (result > 0) return true;
    const int error = SSL_get_error(ssl, result);
    if (error != SSL_ERROR_WANT_WRITE && error != SSL_ERROR_WANT_READ) return false;
    if (!WaitReady(fd, error == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN, stop_fd,
                   LeftMs(deadline))) {
      return false;
    }
  }
}

std::string LastTlsError() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "no TLS error";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

}  // namespace

void GameServer::Serve(std::shared_ptr<Connection> connection) {
  Connection& link = *connection;
  const int number = link.number;
  const Script script = ScriptFor(number);
  size_t step = 0;

  if (!script.empty() && script[0].kind == ScriptStep::kRefuse) {
    Record(ServerEvent(ServerEvent::kRefused, number));
    return;
  }
  if (!script.empty() && script[0].kind == ScriptStep::kSilent) {
    // Hold the TCP connection without a word until the peer gives up or the server stops.
    char byte;
    while (WaitReady(link.fd, POLLIN, stop_fd_, -1)) {
      if (::recv(link.fd, &byte, 1, 0) <= 0) break;
    }
    Record(ServerEvent(ServerEvent::kPeerClosed, number));
    return;
  }

  ::fcntl(link.fd, F_SETFL, ::fcntl(link.fd, F_GETFL, 0) | O_NONBLOCK);
  link.ssl = SSL_new(static_cast<SSL_CTX*>(context_));
  SSL_set_fd(link.ssl, link.fd);
  const auto handshake_deadline = Clock::now() + std::chrono::milliseconds(kHandshakeLimitMs);
  for (;;) {
    const int result = SSL_accept(link.ssl);
    if (result == 1) break;
    const int error = SSL_get_error(link.ssl, result);
    if ((error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) ||
        !WaitReady(link.fd, error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, stop_fd_,
                   LeftMs(handshake_deadline))) {
      ServerEvent event(ServerEvent::kHandshakeFailed, number);
      event.note = LastTlsError();
      Record(std::move(event));
      return;
    }
  }

  struct ClosedNotice {
    GameServer* server;
    int number;
    ~ClosedNotice() {
      if (server->responder_ != nullptr) server->responder_->OnClosed(*server, number);
    }
  } closed_notice{this, number};

  auto write = [&](const std::vector<uint8_t>& bytes) {
    return WriteAll(link.ssl, link.fd, stop_fd_, bytes);
  };
  bool waiting = false;
  Clock::time_point wait_until{};
  uint8_t chunk[16384];

  while (!stopping_.load(std::memory_order_acquire)) {
    if (responder_ != nullptr) responder_->OnTick(*this, number);
    // Play the script as far as it can go without new input.
    bool blocked = false;
    while (!blocked && step < script.size()) {
      const ScriptStep& now = script[step];
      switch (now.kind) {
        case ScriptStep::kSend:
          if (!write(GoodFrame(now.type, now.bytes))) goto lost;
          ++step;
          break;
        case ScriptStep::kSendRaw:
          if (!write(now.bytes)) goto lost;
          ++step;
          break;
        case ScriptStep::kSendRepeated:
        case ScriptStep::kSendRawRepeated: {
          const std::vector<uint8_t> frame =
              now.kind == ScriptStep::kSendRepeated ? GoodFrame(now.type, now.bytes) : now.bytes;
          for (uint32_t i = 0; i < now.count; ++i) {
            if (stopping_.load(std::memory_order_acquire) || !write(frame)) goto lost;
          }
          ++step;
          break;
        }
        case ScriptStep::kExpect: {
          if (link.unexpected.empty()) {
            blocked = true;
            break;
          }
          ServerEvent seen = std::move(link.unexpected.front());
          link.unexpected.pop_front();
          if (seen.type != now.type || (now.exact && seen.payload != now.bytes)) {
            seen.kind = ServerEvent::kExpectMismatch;
            seen.note = "expected type " + std::to_string(now.type);
            Record(std::move(seen));
          }
          ++step;
          break;
        }
        case ScriptStep::kWait:
          if (!waiting) {
            waiting = true;
            wait_until = Clock::now() + std::chrono::milliseconds(now.ms);
          }
          if (Clock::now() < wait_until) {
            blocked = true;
          } else {
            waiting = false;
            ++step;
          }
          break;
        case ScriptStep::kStall:
          WaitReady(stop_fd_, POLLIN, stop_fd_, static_cast<int>(now.ms));
          ++step;
          break;
        case ScriptStep::kClose:
          SSL_shutdown(link.ssl);
          Record(ServerEvent(ServerEvent::kDropped, number));
          return;
        case ScriptStep::kDrop:
        case ScriptStep::kRefuse:
        case ScriptStep::kSilent: Record(ServerEvent(ServerEvent::kDropped, number)); return;
      }
    }
    std::vector<uint8_t> frame;
    while (TakeOutgoing(number, &frame)) {
      if (!write(frame)) goto lost;
    }

    // Read what has come.
    int slice = kPollSliceMs;
    if (waiting) slice = std::min(slice, LeftMs(wait_until));
    if (SSL_pending(link.ssl) == 0 && !WaitReady(link.fd, POLLIN, stop_fd_, slice)) continue;
    // What arrived before the peer went away is still logged, then the loss.
    bool peer_gone = false;
    for (;;) {
      const int count = SSL_read(link.ssl, chunk, sizeof chunk);
      if (count <= 0) {
        const int error = SSL_get_error(link.ssl, count);
        peer_gone = error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE;
        break;
      }
      link.received.insert(link.received.end(), chunk, chunk + count);
    }
    // Split and check frames the way the client does.
    size_t at = 0;
    while (link.received.size() - at >= 4) {
      const uint8_t* frame = link.received.data() + at;
      const uint32_t length = LoadBE32(frame);
      if (length > kMaxFrameSize || length < kFrameHeaderSize) {
        ServerEvent event(ServerEvent::kBadFrame, number);
        event.note = "length " + std::to_string(length);
        Record(std::move(event));
        return;
      }
      if (length > link.received.size() - at) break;
      uint16_t type;
      const uint8_t* payload;
      uint32_t payload_length;
      if (VerifyFrame(frame, length, &type, &payload, &payload_length) != FRAME_OK) {
        ServerEvent event(ServerEvent::kBadFrame, number);
        event.note = "checksum";
        Record(std::move(event));
        return;
      }
      ServerEvent event(ServerEvent::kPacket, number, type,
                        std::vector<uint8_t>(payload, payload + payload_length));
      at += length;
      // Pings are logged but never taken by a kExpect step, answered or not.
      const bool ping = type == kServerPing || type == kGameServerPing;
      if (ping) {
        const std::vector<uint8_t> echo = event.payload;
        Record(std::move(event));
        if (payload_length == 4 && answer_pings_.load(std::memory_order_acquire) &&
            !write(GoodFrame(kServerPingReply, echo))) {
          goto lost;
        }
      } else {
        const uint16_t arrived_type = event.type;
        const std::vector<uint8_t> arrived = event.payload;
        link.unexpected.push_back(event);
        Record(std::move(event));
        if (responder_ != nullptr) responder_->OnPacket(*this, number, arrived_type, arrived);
      }
    }
    link.received.erase(link.received.begin(), link.received.begin() + static_cast<long>(at));
    if (peer_gone) goto lost;
  }
  return;

lost:
  Record(ServerEvent(ServerEvent::kPeerClosed, number));
}
