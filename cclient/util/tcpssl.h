// The client's one socket type: a TCP connection to a game server with a TLS session on it.
//
// A connection thread creates one TCPSSLClass per connect attempt and deletes it when the link is
// lost; the object is used by that thread only. The module also owns the process-wide TLS set-up
// and clean-up, which the network object runs once when it is built and once, after every
// connection thread has stopped, when it is destroyed.
//
// The peer's certificate chain and host name are checked against the default trust store (which
// SSL_CERT_FILE / SSL_CERT_DIR may replace); TLS 1.2 is the oldest version spoken.
#pragma once

#include <cstdint>

struct ssl_st;

// Results of TCPSSLClass::OpenClient.
enum TcpSslResult : int {
  TCPSSL_OK = 0,
  TCPSSL_NO_CONTEXT = 444,           // the global set-up made no client context
  TCPSSL_LOOKUP_FAILED = -2,         // host name look-up failed or was interrupted
  TCPSSL_SOCKET_FAILED = -3,         // no socket could be created
  TCPSSL_CONNECT_FAILED = -4,        // TCP connect failed, timed out or was interrupted
  TCPSSL_BLOCKING_MODE_FAILED = -5,  // the socket's blocking mode could not be set
  TCPSSL_SESSION_FAILED = -50,       // no TLS session could be created
  TCPSSL_HANDSHAKE_FAILED = -60,     // handshake failed (also: untrusted peer, time-out, interrupt)
  TCPSSL_NO_CERTIFICATE = -70,       // the server presented no certificate
};

// Time limits of one OpenClient, and of one Write waiting for room in the socket.
constexpr uint32_t kTcpSslConnectTimeoutMs = 10000;
constexpr uint32_t kTcpSslHandshakeTimeoutMs = 10000;
constexpr uint32_t kTcpSslWriteTimeoutMs = 10000;

// Process-wide set-up: TLS library initialisation, the client context (TLS client method,
// TLS 1.2 minimum, peer verification against the default trust store) and, when asked, a server
// context (this client never asks). SIGPIPE is ignored from here on, since a write to a closed
// socket must come back as an error, not end the program. Returns nullptr on success, or "Unable
// to create Client CTX" / "Unable to create Server CTX". Calls nest: each successful call is
// matched by one TCPSSL_GlobalCleanup, and only the outermost pair builds and frees the contexts.
// Call from the UI thread while no connection thread runs.
[[nodiscard]] const char* TCPSSL_GlobalInit(int make_client_context, int make_server_context);

// Undoes one TCPSSL_GlobalInit. Every connection thread must have stopped before the last one.
void TCPSSL_GlobalCleanup();

// Puts `socket` into blocking (nonzero) or non-blocking (0) mode. Returns 0 on success.
[[nodiscard]] int TCPSSL_SetBlocking(int socket, int blocking);

class TCPSSLClass {
 public:
  TCPSSLClass();
  ~TCPSSLClass();  // closes
  TCPSSLClass(const TCPSSLClass&) = delete;
  TCPSSLClass& operator=(const TCPSSLClass&) = delete;

  // Connects to `host` (a dotted IPv4 address, used as it stands, or a name, looked up) on
  // `port`, shakes hands and checks the peer's certificate for that host. The socket is left
  // non-blocking unless `stay_blocking` is nonzero. Returns TCPSSL_OK or a TcpSslResult code;
  // every failure leaves the object closed. The connect and the handshake each give up after
  // their time limit; the look-up, the connect and the handshake end at once when the interrupt
  // descriptor becomes readable.
  [[nodiscard]] int OpenClient(const char* host, uint32_t port, int stay_blocking = 0);

  // Reads up to `size` bytes. Returns the count (0: the peer closed the session), -1 when not
  // connected or when no data is there now, -2 when the session failed.
  int Read(void* buffer, int size);

  // Waits up to `timeout_ms` of real time for something to read: returns at once when the TLS
  // session holds bytes not yet read, else when the socket becomes readable (data, the peer's
  // close or an error), when `wake_fd` or the interrupt descriptor becomes readable, or when the
  // time runs out. True when there may be something to read. Not connected: false at once.
  bool WaitForInput(uint32_t timeout_ms, int wake_fd);

  // Writes all `size` bytes as one piece, waiting (up to kTcpSslWriteTimeoutMs, or until the
  // interrupt descriptor is signalled) while the socket has no room. Returns `size` when all were
  // written, -1 when not connected, or another negative value when the write failed.
  int Write(const void* buffer, int size);

  // Closes the socket and frees the session if connected; always clears the connected state.
  // Returns 0.
  int Close();

  // The machine's IPv4 address as its own host name resolves (network order) into `address`,
  // which is zeroed first. Returns 0, 2 when the host name is unknown, 3 when it does not resolve.
  [[nodiscard]] int GetLocalAddress(uint8_t address[4]);

  // A descriptor (an eventfd or pipe end, owned by the caller) whose becoming readable makes any
  // wait inside OpenClient or Write give up at once. -1 for none. Set before OpenClient.
  void SetInterruptDescriptor(int fd) { interrupt_fd_ = fd; }

  // Replaces the time limits (tests use short ones). Set before OpenClient.
  void SetTimeouts(uint32_t connect_ms, uint32_t handshake_ms) {
    connect_timeout_ms_ = connect_ms;
    handshake_timeout_ms_ = handshake_ms;
  }

  // Texts of the last successful handshake; nullptr until known.
  const char* GetCipher() const { return cipher_; }
  const char* GetSubject() const { return subject_; }
  const char* GetIssuer() const { return issuer_; }

  // errno (or a resolver code) of the last failure, -1 for a TLS failure, 0 for none.
  int GetLastError() const { return last_error_; }
  // The check of the peer's certificate in the last handshake that failed: an X509_V_ERR_ code
  // when the certificate was refused, X509_V_OK (0) when the handshake failed before or
  // otherwise (a peer that does not speak TLS, a time-out).
  long GetVerifyResult() const { return verify_result_; }
  bool IsConnected() const { return connected_ != 0; }

 private:
  int FailOpen(int result, int error);
  int ConnectSocket(const void* address);
  int Handshake();
  void FreeTexts();

  int last_error_ = 0;
  long verify_result_ = 0;
  uint32_t connected_ = 0;
  int socket_ = -1;
  ssl_st* ssl_ = nullptr;
  char* cipher_ = nullptr;
  char* subject_ = nullptr;
  char* issuer_ = nullptr;
  int interrupt_fd_ = -1;
  uint32_t connect_timeout_ms_ = kTcpSslConnectTimeoutMs;
  uint32_t handshake_timeout_ms_ = kTcpSslHandshakeTimeoutMs;
};
