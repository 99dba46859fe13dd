// One server connection served by a thread of its own.
//
// The connection thread connects (and reconnects with a back-off), sends the client's hello first
// on every connection, reads the TLS stream, splits it into frames and checks them, answers the
// server's ping replies itself and queues every other packet into the input ring; it sends a ping
// every 5 seconds and drains the output ring that the UI thread fills. The UI thread never touches
// the socket: it reads the input ring, writes the output ring, and starts and stops the thread.
//
// Each operation says which thread may call it. A test may also drive an object that was never
// started from its own single thread (the connection-thread operations are public for that).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "cclient/util/tcpssl.h"
#include "platform/system/thread.h"

enum NetState : uint32_t {
  NET_CONNECTING = 2,
  NET_CONNECTED = 3,
};

enum NetLinkQuality : uint32_t {
  LINK_NONE = 0,
  LINK_POOR = 1,  // never set by the connection itself
  LINK_FAIR = 2,  // data on a connection that has reconnected at least once
  LINK_GOOD = 3,  // data on a connection that never reconnected
};

// The window a connection reports to; kept for its owner, never used by the connection itself.
using NetOwnerWindow = void*;

constexpr uint32_t kInputRingSlots = 64;
constexpr uint32_t kInputSlotBytes = 65536;
constexpr uint32_t kOutputRingSlots = 20;
constexpr uint32_t kOutputSlotBytes = 8192;
constexpr uint32_t kReadBufferBytes = 65536;
constexpr uint32_t kNetHostBytes = 256;
constexpr uint32_t kNetTextBytes = 2048;
constexpr uint32_t kNetThreadStackBytes = 65536;
constexpr uint32_t kNetStepMs = 25;
constexpr uint32_t kPingIntervalMs = 5000;
constexpr uint32_t kHelloPayloadSize = 70;
constexpr uint16_t kClientVersionMajor = 6;
constexpr uint16_t kClientVersionMinor = 48;
constexpr uint32_t kClientGuidTextBytes = 37;  // 36 characters and the NUL

// Results of SendPacket.
constexpr int kSendQueued = 0;
constexpr int kSendTooLarge = -1;
constexpr int kSendQueueFull = -2;

// Raw dumps of received bytes ("net.log") and checked frames ("packet.log"); set by "/netlog" at
// start-up, before any connection thread runs, and only read afterwards.
extern uint32_t RawNetLogging;

// The per-run client identifier: a GUID formatted
// "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X" on first use; every later call returns the
// same text. Any thread.
const char* Net_GetClientGuid();

// A whole number drawn uniformly from the lower of a and b up to but not including the higher,
// by rejection from the process's 15-bit generator. Any thread.
uint32_t Net_RandomBetween(uint32_t a, uint32_t b);

// Why a connection thread pauses (for tests that watch or skip the pauses).
enum class NetPause {
  kStep,       // the 25 ms between steps (and, on a connection with nothing to do, the wait for work)
  kBackOff,    // after a failed connect or hello
  kReconnect,  // after a lost connection, before connecting again
};

class NetThreadClass {
 public:
  NetThreadClass();
  ~NetThreadClass();  // stops the thread
  NetThreadClass(const NetThreadClass&) = delete;
  NetThreadClass& operator=(const NetThreadClass&) = delete;

  // --- UI thread ---

  // Starts the connection thread for `host` (kept from the last start when null or empty) and
  // `port`. Returns nullptr, or "CreateThread Error". The thread must not be running.
  [[nodiscard]] const char* Start(NetOwnerWindow owner, const char* host, uint32_t port);

  // Empties the rings and the read buffer and clears the statistics and texts, as Start does
  // before it starts the thread. Only while the thread is not running.
  void Reset();

  // Asks the thread to stop, interrupts whatever it waits for, and joins it. Nothing happens when
  // it is not running. Returns once the thread has ended.
  void Stop();

  // Queues a packet for the thread to send; the payload is copied. kSendQueued, kSendTooLarge
  // (above 8,192 bytes) or kSendQueueFull (20 packets waiting).
  [[nodiscard]] int SendPacket(uint32_t type, const void* payload, uint32_t length);

  // Takes the oldest received packet: copies it into `buffer`, gives its type and returns its
  // length; -1 when none is waiting. A packet larger than `size` is logged and dropped (-1).
  int ReadPacket(uint32_t* type, uint8_t* buffer, uint32_t size);

  // The thread sends its hello again on its next step.
  void RequestHello();

  // The connection's slot number 0-7; set before Start.
  void SetConnectionId(uint8_t id) { connection_id_.store(id, std::memory_order_release); }

  // Received packets waiting in the input ring.
  uint32_t PendingInput() const;
  // Packets waiting in the output ring.
  uint32_t PendingOutput() const;

  // --- any thread (statistics for display; each value is read on its own) ---

  bool IsRunning() const { return running_.load(std::memory_order_acquire) != 0; }
  uint32_t GetState() const { return state_.load(std::memory_order_acquire); }
  uint32_t GetLinkQuality() const { return link_quality_.load(std::memory_order_acquire); }
  const char* GetLinkQualityText() const;
  uint32_t GetReconnectCount() const { return reconnect_count_.load(std::memory_order_acquire); }
  uint32_t GetFailedConnectCount() const {
    return failed_first_connects_.load(std::memory_order_acquire);
  }
  float GetFrameProgress() const { return frame_progress_.load(std::memory_order_acquire); }
  uint32_t GetBytesReceived() const { return bytes_received_.load(std::memory_order_acquire); }
  // Checked packets received since Start (ping replies included).
  uint32_t GetPacketsReceived() const { return packets_received_.load(std::memory_order_acquire); }
  void GetLocalAddress(uint8_t address[4]) const;
  void GetPingTimes(uint32_t* count, uint32_t* last, uint32_t* worst, uint32_t* total) const;
  // Copies of the texts taken at the last connect ("" when unknown), at most `size` - 1 bytes.
  void GetSslCipher(char* text, uint32_t size) const;
  void GetSslSubject(char* text, uint32_t size) const;
  void GetSslIssuer(char* text, uint32_t size) const;
  NetOwnerWindow GetOwner() const { return owner_; }

  // --- connection thread ---

  // One step of the thread's loop; nonzero when the thread is to end.
  int Step();
  // Reads and splits what has arrived. 1 when the connection must be reconnected, else 0.
  int ReadEvent();
  // Sends a due ping and drains the output ring. 0, or the failing send's result.
  int WriteEvent();
  // Drops the link and prepares the next connect (nothing while no-reconnect is set).
  void Reconnect();
  // Sends the hello at once. The result of SendPacketImmediately.
  int SendHello();
  // The hello's 70 bytes as this connection would send them now. Any thread.
  void BuildHello(uint8_t hello[kHelloPayloadSize]) const;
  // Checks one whole frame of `length` bytes; 0 when good and used, else 1.
  int VerifyPacket(const uint8_t* frame, uint32_t length);
  // Takes a checked packet: a ping reply is used here, anything else goes into the input ring.
  int UsePacket(uint32_t type, const uint8_t* payload, uint32_t length);
  // Frames and writes a packet now. 0 sent, -2 no socket, -1 no memory, 1 the write failed.
  int SendPacketImmediately(uint32_t type, const void* payload, uint32_t length);

  // Takes stream bytes as if read from the socket (up to the read buffer's free room) and splits
  // them; the result is ReadEvent's. For tests and fuzzing of an object that was never started.
  int FeedReceivedBytes(const uint8_t* bytes, uint32_t count);

  // Replaces every pause of the thread (set before Start). The hook runs on the connection
  // thread and may return at once; stop requests are still seen at the next step.
  void SetPauseHookForTest(std::function<void(NetPause, uint32_t ms)> hook) {
    pause_hook_ = std::move(hook);
  }

 private:
  static void ThreadProc(NetThreadClass* self);
  void ConnectStep();
  void BackOff();
  void Pause(NetPause why, uint32_t ms);
  void WaitForWork();
  uint32_t MsUntilPing() const;
  void WakeThread();
  void NoteReceived(uint32_t count);
  int SplitFrames();
  void UpdateClock();
  void CopySocketTexts();
  void DropSocket();
  void DiscardInput();

  // Owned by the connection thread while it runs.
  TCPSSLClass* socket_ = nullptr;
  platform::Thread thread_;
  int interrupt_fd_ = -1;  // eventfd signalled by Stop; wakes waits inside the socket
  int wake_fd_ = -1;       // eventfd signalled when the UI thread gives the thread work
  std::atomic<uint32_t> running_{0};
  std::atomic<uint32_t> state_{NET_CONNECTING};
  std::atomic<uint32_t> failed_first_connects_{0};
  NetOwnerWindow owner_ = nullptr;
  char host_[kNetHostBytes] = {};  // written by Start before the thread exists
  uint32_t port_ = 0;
  std::atomic<uint32_t> hello_again_{0};
  std::atomic<uint32_t> reconnect_count_{0};
  uint32_t attempt_ = 0;
  std::atomic<uint32_t> link_quality_{LINK_NONE};
  std::atomic<float> frame_progress_{0.0f};
  std::atomic<uint32_t> bytes_received_{0};
  std::atomic<uint32_t> packets_received_{0};
  uint32_t bytes_buffered_ = 0;
  std::unique_ptr<uint8_t[]> read_buffer_;

  // Input ring: the connection thread writes, the UI thread reads.
  // Invariant: in_read_ <= in_write_ <= in_read_ + kInputRingSlots (counters compared modulo
  // 2^32). Slot (counter % kInputRingSlots) for counters in [in_read_, in_write_) holds a packet
  // written in full before in_write_ was raised past it (release), and the reader copies it out
  // before raising in_read_ past it (release); each side acquires the other's counter. Slots
  // below in_discard_ belong to a lost connection and are skipped by the reader; only the reader
  // ever writes in_read_.
  std::atomic<uint32_t> in_read_{0};
  std::atomic<uint32_t> in_write_{0};
  std::atomic<uint32_t> in_discard_{0};
  uint32_t in_sizes_[kInputRingSlots] = {};
  uint32_t in_types_[kInputRingSlots] = {};
  std::unique_ptr<uint8_t[]> in_slots_;

  // Output ring: the UI thread writes, the connection thread reads. Same invariant with
  // kOutputRingSlots; only the connection thread writes out_read_.
  std::atomic<uint32_t> out_read_{0};
  std::atomic<uint32_t> out_write_{0};
  uint32_t out_sizes_[kOutputRingSlots] = {};
  uint32_t out_types_[kOutputRingSlots] = {};
  std::unique_ptr<uint8_t[]> out_slots_;

  std::unique_ptr<uint8_t[]> send_buffer_;
  uint32_t send_capacity_ = 0;
  std::atomic<uint32_t> local_address_{0};  // network order, as stored in memory
  uint32_t last_ping_clock_ = 0;
  uint32_t connection_clock_ = 0;
  std::atomic<uint32_t> ping_count_{0};
  std::atomic<uint32_t> last_round_trip_{0};
  std::atomic<uint32_t> worst_round_trip_{0};
  std::atomic<uint32_t> total_round_trip_{0};
  mutable std::mutex texts_mutex_;  // the texts are written by the thread, copied out by others
  char cipher_[kNetTextBytes] = {};
  char subject_[kNetTextBytes] = {};
  char issuer_[kNetTextBytes] = {};
  bool clock_rebase_ = true;
  uint32_t last_tick_ = 0;
  std::atomic<uint8_t> connection_id_{0};
  bool no_reconnect_ = false;

  std::function<void(NetPause, uint32_t)> pause_hook_;
};
