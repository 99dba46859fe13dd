#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

namespace {

constexpr int kPollSliceMs = 20;  // how often a waiting server thread looks for a stop request

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

LoopbackHttpServer::Request ParseRequest(const std::string& head) {
  LoopbackHttpServer::Request request;
  std::istringstream in(head);
  std::string line;
  std::getline(in, line);
  std::istringstream first(line);
  first >> request.method >> request.path;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    request.headers[Lower(line.substr(0, colon))] = value;
  }
  return request;
}

}  // namespace

LoopbackHttpServer::~LoopbackHttpServer() { Stop(); }

bool LoopbackHttpServer::Start(Handler handler) {
  handler_ = std::move(handler);
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener_);
    listener_ = -1;
    return false;
  }
  port_ = ntohs(address.sin_port);
  return thread_.Start([this] { Serve(); }, 256 * 1024);
}

void LoopbackHttpServer::Stop() {
  thread_.RequestStop();
  thread_.Join();
  if (listener_ >= 0) {
    ::close(listener_);
    listener_ = -1;
  }
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::string LoopbackHttpServer::Response(int status, const std::string& reason,
                                         const std::vector<std::string>& headers, const std::string& body,
                                         bool with_content_length) {
  std::string bytes = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
  for (const std::string& header : headers) bytes += header + "\r\n";
  if (with_content_length) bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  bytes += "Connection: close\r\n\r\n";
  return bytes + body;
}

// Server thread.
void LoopbackHttpServer::Serve() {
  while (!thread_.StopRequested()) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kPollSliceMs) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ServeConnection(connection);
    ::close(connection);
  }
}

// Server thread: reads the request head, answers, and for a stalled answer waits until the
// client closes or the server stops.
void LoopbackHttpServer::ServeConnection(int connection) {
  std::string head;
  char chunk[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (thread_.StopRequested()) return;
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, kPollSliceMs) <= 0) continue;
    const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
    if (n <= 0) return;
    head.append(chunk, static_cast<size_t>(n));
  }
  const Request request = ParseRequest(head.substr(0, head.find("\r\n\r\n")));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
  }
  const Answer answer = handler_(request);
  const size_t to_send = std::min(answer.bytes.size(), answer.stall_after);
  size_t sent = 0;
  while (sent < to_send) {
    const ssize_t n = ::send(connection, answer.bytes.data() + sent, to_send - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
  if (answer.stall_after == SIZE_MAX) return;
  while (!thread_.StopRequested()) {
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, kPollSliceMs) <= 0) continue;
    if (::recv(connection, chunk, sizeof chunk, 0) <= 0) return;  // the client went away
  }
}
