// site_server PORT FOLDER: the card room's web site for local runs of the client, as far as the
// client fetches from it: serves the files under FOLDER over HTTP on 127.0.0.1:PORT, each at its
// path below FOLDER ("GET /banners/00100000001.a" is FOLDER/banners/00100000001.a), with its size
// and last-write time, so that the client's site-image download runs as it does against a real
// site. Anything else is a 404. Prints one line per request. Runs until interrupted.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr size_t kLongestRequest = 8192;

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

// A port 1-65535, or 0 when `text` is not one.
uint16_t ParsePort(const char* text) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < 1 || value > 65535) return 0;
  return static_cast<uint16_t>(value);
}

// The request's path when it is one this server may answer: absolute, printable, without "..",
// a query or a fragment. Empty otherwise.
std::string SafePath(const std::string& path) {
  if (path.empty() || path[0] != '/' || path.find("..") != std::string::npos) return "";
  for (char c : path) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '?' || c == '#' || c == '\\' || c == 0x7F) return "";
  }
  return path;
}

std::string HttpDate(time_t when) {
  char text[64];
  std::tm parts{};
  gmtime_r(&when, &parts);
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
  return text;
}

std::string Answer(int status, const char* reason, const std::string& headers, const std::string& body,
                   bool with_body) {
  std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n" + headers +
                       "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  if (with_body) answer += body;
  return answer;
}

// The answer to one request line ("GET /path HTTP/1.1").
std::string AnswerRequest(const std::string& folder, const std::string& request_line, int* status) {
  std::istringstream words(request_line);
  std::string method;
  std::string target;
  words >> method >> target;
  const bool head = method == "HEAD";
  if (method != "GET" && !head) {
    *status = 405;
    return Answer(405, "Method Not Allowed", "Allow: GET, HEAD\r\n", "", false);
  }
  const std::string path = SafePath(target);
  struct stat info {};
  const std::string file = folder + path;
  if (path.empty() || ::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    *status = 404;
    return Answer(404, "Not Found", "Content-Type: text/html\r\n", "<html><body>Not found</body></html>\n", !head);
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream body;
  body << in.rdbuf();
  if (!in) {
    *status = 500;
    return Answer(500, "Internal Server Error", "", "", false);
  }
  *status = 200;
  return Answer(200, "OK", "Content-Type: application/octet-stream\r\nLast-Modified: " + HttpDate(info.st_mtime) + "\r\n",
                body.str(), !head);
}

void SendAll(int connection, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t now = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (now <= 0) return;
    sent += static_cast<size_t>(now);
  }
}

void Serve(int connection, const std::string& folder) {
  // A client that stops sending holds nobody else up for long.
  timeval patience{5, 0};
  ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < kLongestRequest) {
    const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, static_cast<size_t>(got));
  }
  const std::string request_line = request.substr(0, request.find("\r\n"));
  int status = 0;
  SendAll(connection, AnswerRequest(folder, request_line, &status));
  std::printf("%d %s\n", status, request_line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const uint16_t port = argc == 3 ? ParsePort(argv[1]) : 0;
  if (port == 0) {
    std::fprintf(stderr, "usage: site_server PORT FOLDER (PORT 1-65535)\n");
    return 2;
  }
  std::string folder = argv[2];
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "site_server: %s is not a folder\n", folder.c_str());
    return 1;
  }

  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, 16) != 0) {
    std::fprintf(stderr, "site_server: cannot listen on 127.0.0.1:%u (%s)\n", port, std::strerror(errno));
    return 1;
  }
  // Without SA_RESTART, so that a signal ends the wait in accept.
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int each : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(each, &action, nullptr);

  std::printf("site_server: serving %s on http://127.0.0.1:%u/\n", folder.c_str(), port);
  std::fflush(stdout);
  while (g_stop == 0) {
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Serve(connection, folder);
    ::close(connection);
  }
  ::close(listener);
  return 0;
}
