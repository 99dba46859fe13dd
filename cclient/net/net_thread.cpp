#include "cclient/net/net_thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "cclient/base/debug_log.h"
#include "cclient/base/startup_file.h"
#include "cclient/net/net_session.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "platform/system/clock.h"
#include "platform/system/crt_rand.h"
#include "platform/system/guid.h"

uint32_t RawNetLogging = 0;

namespace {

// Sanitized builds need far more stack per call than the connection's own 64 KB allow.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t kStackScale = 16;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr size_t kStackScale = 16;
#else
constexpr size_t kStackScale = 1;
#endif
#else
constexpr size_t kStackScale = 1;
#endif

constexpr uint32_t kFirstBackOffMs = 2000;
constexpr uint32_t kSecondBackOffLowMs = 2000;
constexpr uint32_t kSecondBackOffHighMs = 10000;
constexpr uint32_t kLongBackOffMs = 10000;
constexpr uint32_t kReconnectPauseHighMs = 2000;
// 1 MB a step (40 MB/s) is far beyond what the pump takes out of the input ring.
constexpr uint32_t kMaxReadBytesPerStep = 16 * kReadBufferBytes;

// Appends bytes to a raw dump file, opened and closed for this one call.
void AppendRaw(const char* file_name, const char* heading, const uint8_t* bytes, uint32_t count) {
  FILE* file = std::fopen(file_name, "ab");
  if (file == nullptr) return;
  if (heading != nullptr) std::fprintf(file, "%s\n", heading);
  std::fwrite(bytes, 1, count, file);
  if (heading != nullptr) std::fputc('\n', file);
  std::fclose(file);
}

void CopyText(char* to, uint32_t size, const char* from) {
  if (size == 0) return;
  std::snprintf(to, size, "%s", from != nullptr ? from : "");
}

}  // namespace

const char* Net_GetClientGuid() {
  static char text[kClientGuidTextBytes];
  static std::once_flag once;
  std::call_once(once, [] {
    platform::GUID guid{};
    if (platform::CoCreateGuid(&guid) != 0) DebugLog_Write("Net_GetClientGuid: no random bytes.\n");
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", guid.Data1,
                  guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  });
  return text;
}

uint32_t Net_RandomBetween(uint32_t a, uint32_t b) {
  const uint32_t low = std::min(a, b);
  const uint32_t range = std::max(a, b) - low;
  if (range == 0) return low;
  // Draws at or above the largest multiple of the range below 32,767 would favour small values.
  const uint32_t limit = (32767u / range) * range;
  uint32_t draw;
  do {
    draw = static_cast<uint32_t>(platform::rand());
  } while (limit != 0 && draw >= limit);
  return low + draw % range;
}

NetThreadClass::NetThreadClass()
    : read_buffer_(new uint8_t[kReadBufferBytes]),
      in_slots_(new uint8_t[size_t{kInputRingSlots} * kInputSlotBytes]),
      out_slots_(new uint8_t[size_t{kOutputRingSlots} * kOutputSlotBytes]) {
  interrupt_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

NetThreadClass::~NetThreadClass() {
  Stop();
  delete socket_;
  socket_ = nullptr;
  if (interrupt_fd_ >= 0) ::close(interrupt_fd_);
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

// ---------------------------------------------------------------------------------------------
// UI thread

const char* NetThreadClass::Start(NetOwnerWindow owner, const char* host, uint32_t port) {
  Stop();
  owner_ = owner;
  if (host != nullptr && host[0] != '\0') {
    CopyText(host_, sizeof host_, host);
    port_ = port;
  }
  Reset();
  if (interrupt_fd_ >= 0) {
    uint64_t drained;
    while (::read(interrupt_fd_, &drained, sizeof drained) > 0) {
    }
  }
  running_.store(1, std::memory_order_release);
  // Everything above happens before the thread's first step (thread creation orders it).
  if (!thread_.Start([this] { ThreadProc(this); }, kNetThreadStackBytes * kStackScale)) {
    running_.store(0, std::memory_order_release);
    return "CreateThread Error";
  }
  return nullptr;
}

void NetThreadClass::Reset() {
  failed_first_connects_.store(0, std::memory_order_relaxed);
  delete socket_;
  socket_ = nullptr;
  attempt_ = 0;
  frame_progress_.store(0.0f, std::memory_order_relaxed);
  bytes_received_.store(0, std::memory_order_relaxed);
  packets_received_.store(0, std::memory_order_relaxed);
  bytes_buffered_ = 0;
  state_.store(NET_CONNECTING, std::memory_order_relaxed);
  no_reconnect_ = false;
  in_read_.store(0, std::memory_order_relaxed);
  in_write_.store(0, std::memory_order_relaxed);
  in_discard_.store(0, std::memory_order_relaxed);
  out_read_.store(0, std::memory_order_relaxed);
  out_write_.store(0, std::memory_order_relaxed);
  ping_count_.store(0, std::memory_order_relaxed);
  last_round_trip_.store(0, std::memory_order_relaxed);
  worst_round_trip_.store(0, std::memory_order_relaxed);
  total_round_trip_.store(0, std::memory_order_relaxed);
  clock_rebase_ = true;
  std::lock_guard<std::mutex> lock(texts_mutex_);
  cipher_[0] = subject_[0] = issuer_[0] = '\0';
}

void NetThreadClass::Stop() {
  if (running_.load(std::memory_order_acquire) != 0) {
    thread_.RequestStop();
    if (interrupt_fd_ >= 0) {
      const uint64_t one = 1;
      (void)!::write(interrupt_fd_, &one, sizeof one);
    }
  }
  thread_.Join();
}

int NetThreadClass::SendPacket(uint32_t type, const void* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "SendPacket(%ld)\n", static_cast<long>(type));
  if (length > kOutputSlotBytes) {
    DebugLog_Write("SendPacket packet too large.\n");
    return kSendTooLarge;
  }
  const uint32_t write = out_write_.load(std::memory_order_relaxed);
  if (write - out_read_.load(std::memory_order_acquire) >= kOutputRingSlots) {
    DebugLog_Write("SendPacket output buffers are all full.\n");
    return kSendQueueFull;
  }
  const uint32_t slot = write % kOutputRingSlots;
  out_sizes_[slot] = length;
  out_types_[slot] = type;
  if (length > 0) std::memcpy(out_slots_.get() + size_t{slot} * kOutputSlotBytes, payload, length);
  out_write_.store(write + 1, std::memory_order_release);
  WakeThread();
  return kSendQueued;
}

void NetThreadClass::RequestHello() {
  hello_again_.store(1, std::memory_order_release);
  WakeThread();
}

void NetThreadClass::WakeThread() {
  if (wake_fd_ < 0) return;
  const uint64_t one = 1;
  (void)!::write(wake_fd_, &one, sizeof one);
}

int NetThreadClass::ReadPacket(uint32_t* type, uint8_t* buffer, uint32_t size) {
  uint32_t read = in_read_.load(std::memory_order_relaxed);
  const uint32_t discard = in_discard_.load(std::memory_order_acquire);
  if (static_cast<int32_t>(discard - read) > 0) {
    read = discard;
    in_read_.store(read, std::memory_order_release);
  }
  if (read == in_write_.load(std::memory_order_acquire)) return -1;
  const uint32_t slot = read % kInputRingSlots;
  const uint32_t length = in_sizes_[slot];
  if (length > size) {
    DebugLog_Write("Input packet too big.\n");
    in_read_.store(read + 1, std::memory_order_release);
    return -1;
  }
  *type = in_types_[slot];
  if (length > 0) std::memcpy(buffer, in_slots_.get() + size_t{slot} * kInputSlotBytes, length);
  in_read_.store(read + 1, std::memory_order_release);
  return static_cast<int>(length);
}

uint32_t NetThreadClass::PendingInput() const {
  uint32_t read = in_read_.load(std::memory_order_relaxed);
  const uint32_t discard = in_discard_.load(std::memory_order_acquire);
  if (static_cast<int32_t>(discard - read) > 0) read = discard;
  return in_write_.load(std::memory_order_acquire) - read;
}

uint32_t NetThreadClass::PendingOutput() const {
  return out_write_.load(std::memory_order_acquire) - out_read_.load(std::memory_order_acquire);
}

// ---------------------------------------------------------------------------------------------
// Any thread

const char* NetThreadClass::GetLinkQualityText() const {
  switch (GetLinkQuality()) {
    case LINK_POOR: return "Poor";
    case LINK_FAIR: return "Fair";
    case LINK_GOOD: return "Good";
    default: return "None";
  }
}

void NetThreadClass::GetLocalAddress(uint8_t address[4]) const {
  const uint32_t value = local_address_.load(std::memory_order_acquire);
  std::memcpy(address, &value, 4);
}

void NetThreadClass::GetPingTimes(uint32_t* count, uint32_t* last, uint32_t* worst,
                                  uint32_t* total) const {
  *count = ping_count_.load(std::memory_order_acquire);
  *last = last_round_trip_.load(std::memory_order_acquire);
  *worst = worst_round_trip_.load(std::memory_order_acquire);
  *total = total_round_trip_.load(std::memory_order_acquire);
}

void NetThreadClass::GetSslCipher(char* text, uint32_t size) const {
  std::lock_guard<std::mutex> lock(texts_mutex_);
  CopyText(text, size, cipher_);
}

void NetThreadClass::GetSslSubject(char* text, uint32_t size) const {
  std::lock_guard<std::mutex> lock(texts_mutex_);
  CopyText(text, size, subject_);
}

void NetThreadClass::GetSslIssuer(char* text, uint32_t size) const {
  std::lock_guard<std::mutex> lock(texts_mutex_);
  CopyText(text, size, issuer_);
}

// ---------------------------------------------------------------------------------------------
// Connection thread

void NetThreadClass::ThreadProc(NetThreadClass* self) {
  while (self->Step() == 0) {
  }
}

void NetThreadClass::Pause(NetPause why, uint32_t ms) {
  if (pause_hook_) {
    pause_hook_(why, ms);
    return;
  }
  thread_.WaitForStop(ms);
}

// A connected step with nothing to read, nothing to send and no ping due does nothing, so instead
// of stepping every 25 ms an idle connection sleeps until the socket has data (or closes), the UI
// thread queues a packet or asks for a hello, a stop is requested, or the next ping is due. The
// 25 ms pause before every step stays, so a busy connection steps as before. With the fake clock
// (tests) the ping's time cannot be waited for in real time, and with a pause hook the test owns
// every pause: both keep plain stepping.
void NetThreadClass::WaitForWork() {
  if (pause_hook_ || platform::IsFakeClock()) return;
  if (state_.load(std::memory_order_relaxed) != NET_CONNECTED || socket_ == nullptr || no_reconnect_) return;
  if (clock_rebase_) return;  // the connection clock starts at the first step after the connect
  if (wake_fd_ >= 0) {
    uint64_t drained;
    (void)!::read(wake_fd_, &drained, sizeof drained);
  }
  // Checked after the wake descriptor was emptied: work that arrives from here on wakes the wait.
  if (hello_again_.load(std::memory_order_acquire) != 0 || PendingOutput() != 0) return;
  if (in_write_.load(std::memory_order_relaxed) - in_read_.load(std::memory_order_acquire) >=
      kInputRingSlots) {
    return;  // waiting for the UI thread to take packets out: keep stepping
  }
  const uint32_t until_ping = MsUntilPing();
  if (until_ping == 0) return;
  socket_->WaitForInput(until_ping, wake_fd_);
  // A ping reply read now is timed against the clock as it is now, not as it was before the wait.
  UpdateClock();
}

// Milliseconds of the program clock until WriteEvent will send a ping; 0 when one is due.
uint32_t NetThreadClass::MsUntilPing() const {
  int32_t since_tick = 0;
  if (!clock_rebase_) since_tick = std::max<int32_t>(0, static_cast<int32_t>(platform::GetTickCount() - last_tick_));
  const int32_t since_ping =
      static_cast<int32_t>(connection_clock_ + static_cast<uint32_t>(since_tick) - last_ping_clock_);
  // A ping goes once more than the interval has passed.
  const int32_t left = static_cast<int32_t>(kPingIntervalMs) + 1 - since_ping;
  return left > 0 ? static_cast<uint32_t>(left) : 0;
}

void NetThreadClass::DropSocket() {
  delete socket_;
  socket_ = nullptr;
}

void NetThreadClass::DiscardInput() {
  in_discard_.store(in_write_.load(std::memory_order_relaxed), std::memory_order_release);
}

int NetThreadClass::Step() {
  if (thread_.StopRequested()) {
    DropSocket();
    reconnect_count_.store(0, std::memory_order_release);
    attempt_ = 0;
    link_quality_.store(LINK_NONE, std::memory_order_release);
    running_.store(0, std::memory_order_release);
    return 1;
  }
  Pause(NetPause::kStep, kNetStepMs);
  if (thread_.StopRequested()) return 0;
  WaitForWork();
  if (thread_.StopRequested()) return 0;

  switch (state_.load(std::memory_order_relaxed)) {
    case NET_CONNECTING: ConnectStep(); break;
    case NET_CONNECTED: {
      if (hello_again_.exchange(0, std::memory_order_acq_rel) != 0) (void)SendHello();
      if (ReadEvent() == 1) {
        Reconnect();
        break;
      }
      const int written = WriteEvent();
      if (written == -1) DebugLog_Write("WriteEvent() memory allocation failure.\n");
      if (written == -2 || written == -1 || written == 1) Reconnect();
      break;
    }
    default: state_.store(NET_CONNECTED, std::memory_order_release); break;
  }
  return 0;
}

void NetThreadClass::ConnectStep() {
  DropSocket();
  socket_ = new (std::nothrow) TCPSSLClass();
  if (socket_ == nullptr) {
    DebugLog_Write("Unable to allocate TCP Class.\n");
    return;
  }
  socket_->SetInterruptDescriptor(interrupt_fd_);
  if (local_address_.load(std::memory_order_relaxed) == 0) {
    uint8_t address[4];
    if (socket_->GetLocalAddress(address) == 0) {
      uint32_t value;
      std::memcpy(&value, address, 4);
      local_address_.store(value, std::memory_order_release);
    }
  }
  if (socket_->OpenClient(host_, port_) != TCPSSL_OK) {
    if (reconnect_count_.load(std::memory_order_relaxed) == 0) {
      DebugLog_Write("Failed to get initial connection. Server = %s:%d\n", host_,
                     static_cast<int>(port_));
    } else {
      DebugLog_WriteLevel(1, "Reconnect failed. Server = %s:%d\n", host_, static_cast<int>(port_));
    }
    BackOff();
    return;
  }
  CopySocketTexts();
  if (SendHello() == 0) {
    state_.store(NET_CONNECTED, std::memory_order_release);
    attempt_ = 0;
    return;
  }
  DebugLog_WriteLevel(1, "Send Hello failed.\n");
  BackOff();
}

void NetThreadClass::BackOff() {
  if (reconnect_count_.load(std::memory_order_relaxed) == 0) {
    failed_first_connects_.fetch_add(1, std::memory_order_acq_rel);
  }
  switch (attempt_) {
    case 0:
      attempt_ = 1;
      Pause(NetPause::kBackOff, kFirstBackOffMs);
      break;
    case 1:
      attempt_ = 2;
      Pause(NetPause::kBackOff, Net_RandomBetween(kSecondBackOffLowMs, kSecondBackOffHighMs));
      break;
    default: Pause(NetPause::kBackOff, kLongBackOffMs); break;
  }
}

void NetThreadClass::CopySocketTexts() {
  std::lock_guard<std::mutex> lock(texts_mutex_);
  CopyText(cipher_, sizeof cipher_, socket_->GetCipher());
  CopyText(subject_, sizeof subject_, socket_->GetSubject());
  CopyText(issuer_, sizeof issuer_, socket_->GetIssuer());
}

void NetThreadClass::Reconnect() {
  if (no_reconnect_) return;
  DebugLog_WriteLevel(1, "Reconnecting.\n");
  DropSocket();
  bytes_buffered_ = 0;
  frame_progress_.store(0.0f, std::memory_order_release);
  DiscardInput();
  reconnect_count_.fetch_add(1, std::memory_order_acq_rel);
  state_.store(NET_CONNECTING, std::memory_order_release);
  link_quality_.store(LINK_NONE, std::memory_order_release);
  ++attempt_;
  Pause(NetPause::kReconnect, Net_RandomBetween(0, kReconnectPauseHighMs));
}

int NetThreadClass::SendHello() {
  uint8_t hello[kHelloPayloadSize];
  BuildHello(hello);
  return SendPacketImmediately(PACKETTYPE_HELLOFROMCLIENT, hello, kHelloPayloadSize);
}

void NetThreadClass::BuildHello(uint8_t hello[kHelloPayloadSize]) const {
  std::memset(hello, 0, kHelloPayloadSize);
  StoreBE16(hello + 0, kClientVersionMajor);
  StoreBE16(hello + 2, kClientVersionMinor);
  hello[4] = static_cast<uint8_t>(g_StartupSettings.os_id);
  StoreBE32(hello + 5, g_StartupSettings.variant_id);
  StoreBE32(hello + 9, g_StartupSettings.site_id);
  GetLocalAddress(hello + 13);
  NetSession_GetServerSessionId(hello + 17);
  StoreBE32(hello + 29, NetSession_GetUserId());
  std::memcpy(hello + 33, Net_GetClientGuid(), kClientGuidTextBytes);
}

int NetThreadClass::ReadEvent() {
  if (socket_ == nullptr) {
    DebugLog_Write("TCP is NULL in ReadEvent().  Reconnecting.\n");
    return 1;
  }
  // Reads (and splits) until no data is waiting or the input ring is full: one read returns at
  // most one TLS record, and a server writes each packet as a record of its own, so a single
  // read per step would cap a connection at one packet per step. Ping replies never fill the
  // ring, so a peer that sends them without a pause would keep the loop going for ever: a step
  // reads at most kMaxReadBytesPerStep, and none once a stop is requested, so that the output
  // ring, the pings and a stop still get their turn.
  uint32_t read_this_step = 0;
  for (;;) {
    if (read_this_step >= kMaxReadBytesPerStep || thread_.StopRequested()) return 0;
    // Never true in practice: after every read the split takes at least one whole frame (no
    // frame is longer than the buffer), and nothing is read while the input ring is full.
    if (bytes_buffered_ >= kReadBufferBytes) {
      DebugLog_Write("Read buffer almost overrun.  Reconnecting.\n");
      return 1;
    }
    if (in_write_.load(std::memory_order_relaxed) - in_read_.load(std::memory_order_acquire) >=
        kInputRingSlots) {
      DebugLog_WriteLevel(1, "Input buffers are full, waiting for next cycle.\n");
      return 0;
    }
    const int count =
        socket_->Read(read_buffer_.get() + bytes_buffered_, kReadBufferBytes - bytes_buffered_);
    if (count >= 1) {
      NoteReceived(static_cast<uint32_t>(count));
      read_this_step += static_cast<uint32_t>(count);
    } else if (count != -1) {
      DebugLog_WriteLevel(1, "NetRead: Connection lost on receive.\n");
      return 1;
    }
    const int verdict = SplitFrames();
    if (verdict != 0 || count == -1) return verdict;
  }
}

int NetThreadClass::FeedReceivedBytes(const uint8_t* bytes, uint32_t count) {
  const uint32_t room = kReadBufferBytes - bytes_buffered_;
  const uint32_t taken = std::min(count, room);
  if (taken > 0) {
    std::memcpy(read_buffer_.get() + bytes_buffered_, bytes, taken);
    NoteReceived(taken);
  }
  return SplitFrames();
}

void NetThreadClass::NoteReceived(uint32_t count) {
  const uint8_t* bytes = read_buffer_.get() + bytes_buffered_;
  if (RawNetLogging) {
    DebugLog_Write("Logging %ld bytes.\n", static_cast<long>(count));
    AppendRaw("net.log", nullptr, bytes, count);
  }
  DebugLog_WriteLevel(1, "NetRead: got %ld bytes\n", static_cast<long>(count));
  bytes_received_.fetch_add(count, std::memory_order_acq_rel);
  bytes_buffered_ += count;
  link_quality_.store(reconnect_count_.load(std::memory_order_relaxed) > 0 ? LINK_FAIR : LINK_GOOD,
                      std::memory_order_release);
}

int NetThreadClass::SplitFrames() {
  uint8_t* buffer = read_buffer_.get();
  while (bytes_buffered_ >= 4) {
    const uint32_t length = LoadBE32(buffer);
    DebugLog_WriteLevel(1, "NetRead: desired chunk size is %ld\n", static_cast<long>(length));
    if (length > kMaxFrameSize) {
      DebugLog_Write("Packet specified to be too big (%ld bytes), reconnecting.\n",
                     static_cast<long>(length));
      return 1;
    }
    if (length > bytes_buffered_) {
      frame_progress_.store(static_cast<float>(bytes_buffered_) / static_cast<float>(length),
                            std::memory_order_release);
      return 0;
    }
    frame_progress_.store(1.0f, std::memory_order_release);
    DebugLog_WriteLevel(1, "chunk size Verify of %ld\n", static_cast<long>(length));
    const int verdict = VerifyPacket(buffer, length);
    if (verdict != 0) {
      DebugLog_Write("Packet verification error (%ld).\n", static_cast<long>(verdict));
      return 1;
    }
    const uint32_t rest = bytes_buffered_ - length;
    if (rest > 0) {
      DebugLog_WriteLevel(1, "memcpy of %ld down of %ld\n", static_cast<long>(length),
                          static_cast<long>(rest));
      std::memmove(buffer, buffer + length, rest);
    } else {
      DebugLog_WriteLevel(1, "no memcpy\n");
    }
    bytes_buffered_ = rest;
    if (in_write_.load(std::memory_order_relaxed) - in_read_.load(std::memory_order_acquire) >=
        kInputRingSlots) {
      DebugLog_WriteLevel(1,
                          "Input buffers are full during do {} while, waiting for next cycle.\n");
      return 0;
    }
  }
  frame_progress_.store(0.0f, std::memory_order_release);
  return 0;
}

int NetThreadClass::VerifyPacket(const uint8_t* frame, uint32_t length) {
  if (length < kFrameHeaderSize) {
    DebugLog_Write("Packet too short.\n");
    if (RawNetLogging) {
      DebugLog_Write("Packet Logging %ld bytes.\n", static_cast<long>(length));
      char heading[64];
      std::snprintf(heading, sizeof heading, "****** start length %ld TOOSHORT ******",
                    static_cast<long>(length));
      AppendRaw("packet.log", heading, frame, length);
    }
    return 1;
  }
  const long type = LoadBE16(frame + 8);
  if (RawNetLogging) {
    char heading[96];
    std::snprintf(heading, sizeof heading, "****** type: %ld size: %ld (%ld) ******", type,
                  static_cast<long>(length), static_cast<long>(length - kFrameHeaderSize));
    AppendRaw("packet.log", heading, frame, length);
  }
  DebugLog_WriteLevel(1, "Attempting to verify packet type: %ld size %ld (%ld)\n", type,
                      static_cast<long>(length), static_cast<long>(length - kFrameHeaderSize));
  uint16_t checked_type;
  const uint8_t* payload;
  uint32_t payload_length;
  if (VerifyFrame(frame, length, &checked_type, &payload, &payload_length) != FRAME_OK) {
    DebugLog_Write("CRC Failure on packet verify\n");
    return 1;
  }
  return UsePacket(checked_type, payload, payload_length);
}

int NetThreadClass::UsePacket(uint32_t type, const uint8_t* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "NetThreadClass::UsePacket(%ld)\n", static_cast<long>(type));
  if (type == PACKETTYPE_SERVERPINGREPLY) {
    if (length < 4) {
      DebugLog_Write("PACKETTYPE_PINGREPLY too small.\n");
      return 1;
    }
    if (length > 4) {
      DebugLog_Write("PACKETTYPE_PINGREPLY too large.\n");
      return 1;
    }
    const int32_t round_trip = static_cast<int32_t>(connection_clock_ - LoadBE32(payload));
    if (round_trip >= 0) {
      const uint32_t value = static_cast<uint32_t>(round_trip);
      last_round_trip_.store(value, std::memory_order_release);
      if (value > worst_round_trip_.load(std::memory_order_relaxed)) {
        worst_round_trip_.store(value, std::memory_order_release);
      }
      total_round_trip_.fetch_add(value, std::memory_order_acq_rel);
      ping_count_.fetch_add(1, std::memory_order_acq_rel);
    }
    packets_received_.fetch_add(1, std::memory_order_acq_rel);
    return 0;
  }
  if (length > kInputSlotBytes) {
    DebugLog_Write("Packet too large.\n");
    return 1;
  }
  const uint32_t write = in_write_.load(std::memory_order_relaxed);
  if (write - in_read_.load(std::memory_order_acquire) >= kInputRingSlots) {
    DebugLog_Write("Input buffers are full.\n");
    return 1;
  }
  const uint32_t slot = write % kInputRingSlots;
  in_sizes_[slot] = length;
  in_types_[slot] = type;
  if (length > 0) std::memcpy(in_slots_.get() + size_t{slot} * kInputSlotBytes, payload, length);
  in_write_.store(write + 1, std::memory_order_release);
  packets_received_.fetch_add(1, std::memory_order_acq_rel);
  return 0;
}

void NetThreadClass::UpdateClock() {
  const uint32_t now = platform::GetTickCount();
  if (clock_rebase_) {
    last_tick_ = now;
    clock_rebase_ = false;
  }
  const int32_t elapsed = static_cast<int32_t>(now - last_tick_);
  if (elapsed > 0) connection_clock_ += static_cast<uint32_t>(elapsed);
  last_tick_ = now;
}

int NetThreadClass::WriteEvent() {
  UpdateClock();
  if (static_cast<int32_t>(connection_clock_ - last_ping_clock_) >
      static_cast<int32_t>(kPingIntervalMs)) {
    last_ping_clock_ = connection_clock_;
    DebugLog_WriteLevel(2, "Sending Ping (%ld).\n", static_cast<long>(connection_clock_));
    uint8_t clock[4];
    StoreBE32(clock, connection_clock_);
    const uint16_t type =
        connection_id_.load(std::memory_order_acquire) == NetSession_GetLobbyConnectionId()
            ? PACKETTYPE_SERVERPING
            : PACKETTYPE_GAMESERVERPING;
    const int result = SendPacketImmediately(type, clock, sizeof clock);
    if (result != 0) return result;
  }
  for (;;) {
    const uint32_t read = out_read_.load(std::memory_order_relaxed);
    if (read == out_write_.load(std::memory_order_acquire)) return 0;
    DebugLog_WriteLevel(1, "WriteEvent try.\n");
    const uint32_t slot = read % kOutputRingSlots;
    const uint32_t type = out_types_[slot];
    const uint32_t length = out_sizes_[slot];
    uint8_t* payload = out_slots_.get() + size_t{slot} * kOutputSlotBytes;
    const int result = SendPacketImmediately(type, payload, length);
    if (type == PACKETTYPE_LOGINREQUEST) {
      // A password is on the wire at most once: the slot is wiped and, sent or not, consumed.
      std::memset(payload, 0, length);
      out_read_.store(read + 1, std::memory_order_release);
      if (result != 0) return result;
      DebugLog_WriteLevel(1, "WriteEvent success.\n");
      continue;
    }
    if (type == PACKETTYPE_DISCONNECT) no_reconnect_ = true;
    if (result != 0) return result;
    out_read_.store(read + 1, std::memory_order_release);
    DebugLog_WriteLevel(1, "WriteEvent success.\n");
  }
}

int NetThreadClass::SendPacketImmediately(uint32_t type, const void* payload, uint32_t length) {
  DebugLog_WriteLevel(1, "SendPacketImmediately(%ld)try\n", static_cast<long>(type));
  if (socket_ == nullptr) {
    DebugLog_WriteLevel(1, "tcp is null, packet not sent.\n");
    return -2;
  }
  const uint32_t frame_length = length + kFrameHeaderSize;
  if (send_buffer_ == nullptr || send_capacity_ < frame_length) {
    send_buffer_.reset(new (std::nothrow) uint8_t[frame_length]);
    send_capacity_ = send_buffer_ != nullptr ? frame_length : 0;
    if (send_buffer_ == nullptr) return -1;
  }
  uint8_t* frame = send_buffer_.get();
  BuildFrame(static_cast<uint16_t>(type), payload, length, frame);
  const int written = socket_->Write(frame, static_cast<int>(frame_length));
  if (type == PACKETTYPE_LOGINREQUEST) std::memset(frame, 0, frame_length);
  if (written == static_cast<int>(frame_length)) {
    DebugLog_WriteLevel(1, "SendPacketImmediately(%ld)success\n", static_cast<long>(type));
    return 0;
  }
  DebugLog_WriteLevel(1, "Connection lost on send.\n");
  return 1;
}
