// Host-name look-ups that a stop request can cut short.
//
// getaddrinfo cannot be interrupted and may wait for a slow or silent name server for many
// seconds. With an interrupt descriptor, the look-up runs on a thread of its own while the caller
// waits for either its answer or the descriptor; when the descriptor wins, the look-up is left to
// finish by itself and its answer is dropped, so a connection thread asked to stop is never held
// up by the resolver.
#pragma once

#include <netinet/in.h>

enum AddressLookupResult : int {
  ADDRESS_FOUND = 0,
  ADDRESS_NOT_FOUND = 1,    // `*error` holds the getaddrinfo code
  ADDRESS_INTERRUPTED = 2,  // the interrupt descriptor became readable first
};

// Looks up the first IPv4 address of `host`. `interrupt_fd` is -1 (wait for the answer) or a
// descriptor whose becoming readable ends the wait. Any thread.
[[nodiscard]] AddressLookupResult LookUpIPv4Address(const char* host, int interrupt_fd, in_addr* address,
                                                    int* error);

// The function that does the look-up: returns 0 and fills `address`, or a getaddrinfo code.
using AddressResolver = int (*)(const char* host, in_addr* address);
// Replaces the resolver (nullptr puts getaddrinfo back). For tests that need a look-up that
// hangs; set it while no look-up runs.
void SetAddressResolverForTests(AddressResolver resolver);
