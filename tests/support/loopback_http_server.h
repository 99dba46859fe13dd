// A small HTTP server on 127.0.0.1 for tests: it listens on a port the system picks, answers each
// connection with what the test's handler says, and keeps a log of the requests it received.
//
// One connection at a time, one request per connection; the answer's bytes are sent as given and
// the connection is closed after them (so a body without Content-Length ends there). An answer
// may stop part-way and hold the connection open, sending nothing more, until the client goes
// away or the server stops: that is how tests make a client wait for bytes that never come.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/system/thread.h"

class LoopbackHttpServer {
 public:
  struct Request {
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers;  // names in lower case
  };
  struct Answer {
    std::string bytes;          // status line, headers, blank line, body: sent as they are
    size_t stall_after = SIZE_MAX;  // send only this many bytes, then hold the connection open
  };
  using Handler = std::function<Answer(const Request&)>;

  LoopbackHttpServer() = default;
  ~LoopbackHttpServer();  // stops
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Listens and starts serving with `handler` (called on the server's thread).
  [[nodiscard]] bool Start(Handler handler);
  void Stop();

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;
  // Every request received so far, in order. Any thread.
  std::vector<Request> Requests() const;

  // A whole answer: status line, the given header lines, Content-Length unless told not to, a
  // closing-connection header, and the body.
  static std::string Response(int status, const std::string& reason, const std::vector<std::string>& headers,
                              const std::string& body, bool with_content_length = true);

 private:
  void Serve();
  void ServeConnection(int connection);

  Handler handler_;
  int listener_ = -1;
  uint16_t port_ = 0;
  platform::Thread thread_;
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
};
