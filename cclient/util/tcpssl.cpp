#include "cclient/util/tcpssl.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "cclient/base/debug_log.h"
#include "cclient/util/address_lookup.h"

namespace {

// The contexts and how many TCPSSL_GlobalInit calls are outstanding. Touched only by the UI
// thread's set-up and clean-up, while no connection thread runs; the mutex keeps a test that
// builds several network objects honest.
std::mutex g_global_mutex;
int g_global_users = 0;
SSL_CTX* g_client_context = nullptr;
SSL_CTX* g_server_context = nullptr;

// Result of waiting on a socket.
enum WaitResult { WAIT_READY, WAIT_TIMED_OUT, WAIT_INTERRUPTED, WAIT_FAILED };

// Waits until `fd` shows `events`, the interrupt descriptor becomes readable, or `timeout_ms` of
// real time pass. Deadlines are real time on purpose: they bound a wait on the operating system,
// which the program's own (fakeable) clock knows nothing about.
WaitResult WaitForSocket(int fd, short events, int interrupt_fd, uint32_t timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return WAIT_TIMED_OUT;
    pollfd fds[2] = {{fd, events, 0}, {interrupt_fd, POLLIN, 0}};
    const int count = ::poll(fds, interrupt_fd >= 0 ? 2 : 1, static_cast<int>(left.count()));
    if (count < 0) {
      if (errno == EINTR) continue;
      return WAIT_FAILED;
    }
    if (count == 0) continue;  // the loop re-checks the deadline
    if (interrupt_fd >= 0 && (fds[1].revents & POLLIN) != 0) return WAIT_INTERRUPTED;
    if (fds[0].revents != 0) return WAIT_READY;
  }
}

// Copies a library-allocated one-line name into a heap text of our own.
char* NameText(X509_NAME* name) {
  char* line = X509_NAME_oneline(name, nullptr, 0);
  if (line == nullptr) return nullptr;
  char* text = strdup(line);
  OPENSSL_free(line);
  return text;
}

SSL_CTX* MakeClientContext() {
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  if (context == nullptr) return nullptr;
  if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 ||
      SSL_CTX_set_default_verify_paths(context) != 1) {
    SSL_CTX_free(context);
    return nullptr;
  }
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
  return context;
}

}  // namespace

const char* TCPSSL_GlobalInit(int make_client_context, int make_server_context) {
  std::lock_guard<std::mutex> lock(g_global_mutex);
  if (g_global_users > 0) {
    ++g_global_users;
    return nullptr;
  }
  std::signal(SIGPIPE, SIG_IGN);
  SSL_library_init();
  SSL_load_error_strings();
  if (make_client_context) {
    g_client_context = MakeClientContext();
    if (g_client_context == nullptr) return "Unable to create Client CTX";
  }
  if (make_server_context) {
    g_server_context = SSL_CTX_new(TLS_server_method());
    if (g_server_context == nullptr) {
      SSL_CTX_free(g_client_context);
      g_client_context = nullptr;
      return "Unable to create Server CTX";
    }
  }
  ++g_global_users;
  return nullptr;
}

void TCPSSL_GlobalCleanup() {
  std::lock_guard<std::mutex> lock(g_global_mutex);
  if (g_global_users == 0) return;
  if (--g_global_users > 0) return;
  CRYPTO_cleanup_all_ex_data();
  SSL_CTX_free(g_client_context);
  g_client_context = nullptr;
  SSL_CTX_free(g_server_context);
  g_server_context = nullptr;
  EVP_cleanup();
  ERR_free_strings();
}

int TCPSSL_SetBlocking(int socket, int blocking) {
  const int flags = ::fcntl(socket, F_GETFL, 0);
  if (flags < 0) return 1;
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return ::fcntl(socket, F_SETFL, wanted) < 0 ? 1 : 0;
}

TCPSSLClass::TCPSSLClass() = default;

TCPSSLClass::~TCPSSLClass() {
  Close();
  FreeTexts();
}

void TCPSSLClass::FreeTexts() {
  std::free(cipher_);
  std::free(subject_);
  std::free(issuer_);
  cipher_ = subject_ = issuer_ = nullptr;
}

int TCPSSLClass::FailOpen(int result, int error) {
  last_error_ = error;
  if (ssl_ != nullptr) {
    SSL_free(ssl_);
    ssl_ = nullptr;
  }
  if (socket_ >= 0) {
    ::close(socket_);
    socket_ = -1;
  }
  connected_ = 0;
  return result;
}

int TCPSSLClass::ConnectSocket(const void* address) {
  if (::connect(socket_, static_cast<const sockaddr*>(address), sizeof(sockaddr_in)) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  switch (WaitForSocket(socket_, POLLOUT, interrupt_fd_, connect_timeout_ms_)) {
    case WAIT_READY: break;
    case WAIT_TIMED_OUT: return ETIMEDOUT;
    case WAIT_INTERRUPTED: return EINTR;
    case WAIT_FAILED: return errno != 0 ? errno : EIO;
  }
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
  return error;
}

int TCPSSLClass::Handshake() {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(handshake_timeout_ms_);
  for (;;) {
    ERR_clear_error();
    const int result = SSL_connect(ssl_);
    if (result == 1) return 0;
    short events;
    switch (SSL_get_error(ssl_, result)) {
      case SSL_ERROR_WANT_READ: events = POLLIN; break;
      case SSL_ERROR_WANT_WRITE: events = POLLOUT; break;
      default: return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return -1;
    if (WaitForSocket(socket_, events, interrupt_fd_, static_cast<uint32_t>(left.count())) !=
        WAIT_READY) {
      return -1;
    }
  }
}

int TCPSSLClass::OpenClient(const char* host, uint32_t port, int stay_blocking) {
  DebugLog_WriteLevel(1, "TCPSSLClass::OpenClient %s %ld\n", host, static_cast<long>(port));
  Close();
  if (g_client_context == nullptr) return TCPSSL_NO_CONTEXT;

  // A dotted address is used as it stands; anything else is looked up.
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool numeric = ::inet_aton(host, &address.sin_addr) != 0;
  if (!numeric) {
    int error = 0;
    if (LookUpIPv4Address(host, interrupt_fd_, &address.sin_addr, &error) != ADDRESS_FOUND) {
      return FailOpen(TCPSSL_LOOKUP_FAILED, error);
    }
  }

  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket_ < 0) return FailOpen(TCPSSL_SOCKET_FAILED, errno);
  if (const int error = ConnectSocket(&address); error != 0) {
    return FailOpen(TCPSSL_CONNECT_FAILED, error);
  }

  ssl_ = SSL_new(g_client_context);
  if (ssl_ == nullptr) return FailOpen(TCPSSL_SESSION_FAILED, -1);
  // The certificate must name the host as the caller gave it: a dotted address as an IP entry
  // (in its canonical form), a name as a DNS entry, which is also sent as the server name.
  X509_VERIFY_PARAM* verify = SSL_get0_param(ssl_);
  bool names_set;
  if (numeric) {
    char canonical[INET_ADDRSTRLEN];
    names_set = ::inet_ntop(AF_INET, &address.sin_addr, canonical, sizeof canonical) != nullptr &&
                X509_VERIFY_PARAM_set1_ip_asc(verify, canonical) == 1;
  } else {
    X509_VERIFY_PARAM_set_hostflags(verify, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    names_set = SSL_set1_host(ssl_, host) == 1 && SSL_set_tlsext_host_name(ssl_, host) == 1;
  }
  if (!names_set || SSL_set_fd(ssl_, socket_) != 1) return FailOpen(TCPSSL_SESSION_FAILED, -1);

  verify_result_ = X509_V_OK;
  if (Handshake() != 0 || SSL_get_verify_result(ssl_) != X509_V_OK) {
    verify_result_ = SSL_get_verify_result(ssl_);
    return FailOpen(TCPSSL_HANDSHAKE_FAILED, -1);
  }

  FreeTexts();
  if (const char* name = SSL_CIPHER_get_name(SSL_get_current_cipher(ssl_))) cipher_ = strdup(name);

  X509* certificate = SSL_get1_peer_certificate(ssl_);
  if (certificate == nullptr) return FailOpen(TCPSSL_NO_CERTIFICATE, -1);
  subject_ = NameText(X509_get_subject_name(certificate));
  issuer_ = NameText(X509_get_issuer_name(certificate));
  X509_free(certificate);

  if (stay_blocking && TCPSSL_SetBlocking(socket_, 1) != 0) {
    return FailOpen(TCPSSL_BLOCKING_MODE_FAILED, -1);
  }
  connected_ = 1;
  return TCPSSL_OK;
}

int TCPSSLClass::Read(void* buffer, int size) {
  if (!connected_) return -1;
  // SSL_get_error reads this thread's error queue: what an earlier call left there must not make
  // "no data now" look like a failed session.
  ERR_clear_error();
  const int result = SSL_read(ssl_, buffer, size);
  if (result >= 0) return result;
  switch (SSL_get_error(ssl_, result)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE: return -1;
    default: return -2;
  }
}

bool TCPSSLClass::WaitForInput(uint32_t timeout_ms, int wake_fd) {
  if (!connected_) return false;
  if (SSL_pending(ssl_) > 0 || SSL_has_pending(ssl_) == 1) return true;
  pollfd fds[3] = {{socket_, POLLIN, 0}, {wake_fd, POLLIN, 0}, {interrupt_fd_, POLLIN, 0}};
  const int count = ::poll(fds, 3, static_cast<int>(timeout_ms));
  return count > 0 && fds[0].revents != 0;
}

int TCPSSLClass::Write(const void* buffer, int size) {
  if (!connected_) return -1;
  // A full socket buffer is not a lost connection: wait for room and offer the same bytes again,
  // as the TLS library requires.
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kTcpSslWriteTimeoutMs);
  for (;;) {
    ERR_clear_error();  // as in Read
    const int result = SSL_write(ssl_, buffer, size);
    if (result > 0) return result;
    short events;
    switch (SSL_get_error(ssl_, result)) {
      case SSL_ERROR_WANT_WRITE: events = POLLOUT; break;
      case SSL_ERROR_WANT_READ: events = POLLIN; break;
      default: return -2;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return -2;
    if (WaitForSocket(socket_, events, interrupt_fd_, static_cast<uint32_t>(left.count())) !=
        WAIT_READY) {
      return -2;
    }
  }
}

int TCPSSLClass::Close() {
  if (connected_) {
    if (socket_ >= 0) {
      ::close(socket_);
      socket_ = -1;
    }
    SSL_free(ssl_);
    ssl_ = nullptr;
  }
  connected_ = 0;
  return 0;
}

int TCPSSLClass::GetLocalAddress(uint8_t address[4]) {
  std::memset(address, 0, 4);
  char name[256];
  if (::gethostname(name, sizeof name) != 0) {
    last_error_ = errno;
    return 2;
  }
  name[sizeof name - 1] = '\0';
  in_addr found{};
  int error = 0;
  switch (LookUpIPv4Address(name, interrupt_fd_, &found, &error)) {
    case ADDRESS_FOUND:
      break;
    case ADDRESS_INTERRUPTED:
      last_error_ = EINTR;
      return 3;
    case ADDRESS_NOT_FOUND:
      last_error_ = error;
      return 3;
  }
  std::memcpy(address, &found, 4);
  return 0;
}
