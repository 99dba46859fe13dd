#include "platform/http/connected_state.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/http/http.h"

namespace platform {
namespace {

constexpr unsigned long kRouteUp = 0x1;

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool FlagsSayUp(const std::string& hex) {
  char* end = nullptr;
  const unsigned long flags = std::strtoul(hex.c_str(), &end, 16);
  return end != hex.c_str() && *end == '\0' && (flags & kRouteUp) != 0;
}

// Iface Destination Gateway Flags ..., after one heading line.
bool Ipv4HasRoute(std::string_view table) {
  std::istringstream in{std::string(table)};
  std::string line;
  std::getline(in, line);  // heading
  while (std::getline(in, line)) {
    const std::vector<std::string> words = Words(line);
    if (words.size() >= 4 && words[0] != "lo" && FlagsSayUp(words[3])) return true;
  }
  return false;
}

// Destination, its prefix length, source, its prefix length, next hop, metric, use count,
// reference count, flags, interface; no heading.
bool Ipv6HasRoute(std::string_view table) {
  std::istringstream in{std::string(table)};
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> words = Words(line);
    if (words.size() < 10 || words[9] == "lo" || !FlagsSayUp(words[8])) continue;
    const std::string& destination = words[0];
    const bool link_local = destination.compare(0, 3, "fe8") == 0 || destination.compare(0, 3, "fe9") == 0 ||
                            destination.compare(0, 3, "fea") == 0 || destination.compare(0, 3, "feb") == 0;
    const bool multicast = destination.compare(0, 2, "ff") == 0;
    if (!link_local && !multicast) return true;
  }
  return false;
}

std::string ReadTable(const char* path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// -1: read the routes; 0 or 1: the answer a test asked for.
std::atomic<int> overridden{-1};

}  // namespace

bool RoutesShowConnection(std::string_view ipv4_routes, std::string_view ipv6_routes) {
  return Ipv4HasRoute(ipv4_routes) || Ipv6HasRoute(ipv6_routes);
}

bool InternetGetConnectedState() {
  const int answer = overridden.load(std::memory_order_acquire);
  if (answer >= 0) return answer == 1;
  return RoutesShowConnection(ReadTable("/proc/net/route"), ReadTable("/proc/net/ipv6_route"));
}

void OverrideConnectedState(bool override_on, bool connected) {
  overridden.store(override_on ? (connected ? 1 : 0) : -1, std::memory_order_release);
}

}  // namespace platform
