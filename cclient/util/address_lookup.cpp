#include "cclient/util/address_lookup.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

namespace {

int ResolveWithGetaddrinfo(const char* host, in_addr* address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int error = ::getaddrinfo(host, nullptr, &hints, &found);
  if (error != 0 || found == nullptr) {
    if (found != nullptr) ::freeaddrinfo(found);
    return error != 0 ? error : EAI_NONAME;
  }
  *address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  ::freeaddrinfo(found);
  return 0;
}

std::atomic<AddressResolver> g_resolver{&ResolveWithGetaddrinfo};

// One look-up on its own thread. Shared by that thread and the waiting caller; whichever lets go
// last frees it, so a caller that stopped waiting leaves nothing behind the thread still needs.
struct PendingLookup {
  std::string host;
  int done_fd = -1;  // an eventfd the thread signals when the answer is in
  std::mutex mutex;  // guards the answer
  int error = 0;
  in_addr address{};

  ~PendingLookup() {
    if (done_fd >= 0) ::close(done_fd);
  }
};

AddressLookupResult Answer(int error, const in_addr& found, in_addr* address, int* error_out) {
  *error_out = error;
  if (error != 0) return ADDRESS_NOT_FOUND;
  *address = found;
  return ADDRESS_FOUND;
}

}  // namespace

void SetAddressResolverForTests(AddressResolver resolver) {
  g_resolver.store(resolver != nullptr ? resolver : &ResolveWithGetaddrinfo);
}

AddressLookupResult LookUpIPv4Address(const char* host, int interrupt_fd, in_addr* address, int* error) {
  const AddressResolver resolver = g_resolver.load();
  auto look_up_here = [&] {
    in_addr found{};
    const int code = resolver(host, &found);
    return Answer(code, found, address, error);
  };
  if (interrupt_fd < 0) return look_up_here();

  auto pending = std::make_shared<PendingLookup>();
  pending->host = host;
  pending->done_fd = ::eventfd(0, EFD_CLOEXEC);
  if (pending->done_fd < 0) return look_up_here();
  try {
    std::thread([pending, resolver] {
      in_addr found{};
      const int code = resolver(pending->host.c_str(), &found);
      {
        std::lock_guard<std::mutex> lock(pending->mutex);
        pending->error = code;
        pending->address = found;
      }
      const uint64_t one = 1;
      (void)!::write(pending->done_fd, &one, sizeof one);
    }).detach();
  } catch (const std::system_error&) {
    return look_up_here();  // no thread to be had: wait for the resolver as it is
  }

  for (;;) {
    pollfd fds[2] = {{pending->done_fd, POLLIN, 0}, {interrupt_fd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      *error = EAI_SYSTEM;
      return ADDRESS_NOT_FOUND;
    }
    if ((fds[1].revents & POLLIN) != 0) return ADDRESS_INTERRUPTED;
    if (fds[0].revents != 0) break;
  }
  std::lock_guard<std::mutex> lock(pending->mutex);
  return Answer(pending->error, pending->address, address, error);
}
