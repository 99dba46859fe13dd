// Whether the machine has a network connection, read from its routing tables.
#pragma once

#include <string_view>

namespace platform {

// True when either table (in the text form of /proc/net/route and /proc/net/ipv6_route) holds a
// route that is up on an interface other than loopback. IPv6 link-local and multicast routes do
// not count: every interface that is up has them, cable or not.
bool RoutesShowConnection(std::string_view ipv4_routes, std::string_view ipv6_routes);

}  // namespace platform
