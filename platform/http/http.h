// HTTP GET for the program's downloads (server status page, site pictures, upgrade files).
//
// The calls have the shape of the system's internet calls the program was designed against: a
// session made once, a request opened on a URL, its status and headers queried, its body read in
// pieces, every handle closed:
//
//   HINTERNET session = InternetOpen("TvkEXE");
//   InternetSetOption(session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 30000);
//   HINTERNET request = InternetOpenUrl(session, url, "Accept: */*\r\n\r\n", &abort_flag);
//   uint64_t length = 0;
//   HttpQueryContentLength(request, &length);
//   while (InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) { ... }
//   InternetCloseHandle(request);
//
// Every request defeats caches on the way (it asks for a fresh copy), follows redirects, and
// hands back the body whatever the status: an error page is a body like any other, and callers
// decide what to do with it. The receive time-out bounds every wait for bytes, the connect
// included; the cancel flag is checked between reads and while waiting.
//
// A session may be shared by several threads once its options are set; a request belongs to the
// thread that opened it. When a call fails, HttpLastError on the same thread tells why.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform {

struct InternetHandle;
using HINTERNET = InternetHandle*;

enum class HttpError {
  kNone,
  kBadArgument,    // no session, an empty or unusable URL, a handle of the wrong kind
  kConnectFailed,  // the host could not be found or reached
  kTimedOut,       // no byte arrived within the receive time-out
  kCancelled,      // the cancel flag was raised
  kFailed,         // any other transfer failure (cut-off body, protocol error, too many redirects)
};

// Options of a session, in milliseconds. Both default to 30,000.
enum : uint32_t {
  INTERNET_OPTION_CONNECT_TIMEOUT = 1,
  INTERNET_OPTION_DATA_RECEIVE_TIMEOUT = 2,
};

// A session: the user agent and the time-outs its requests use. nullptr when the library cannot
// start.
[[nodiscard]] HINTERNET InternetOpen(const char* agent);

// Sets an option of a session; applies to requests opened afterwards.
bool InternetSetOption(HINTERNET session, uint32_t option, uint32_t value);

// Sends a GET for `url` (http or https) and waits for the final response's headers, following
// redirects. `headers` holds extra request lines separated by CR LF (empty lines ignored; may be
// nullptr). `cancel` (may be nullptr) is polled until the request is closed. nullptr on failure.
[[nodiscard]] HINTERNET InternetOpenUrl(HINTERNET session, const char* url, const char* headers,
                                        const std::atomic<bool>* cancel);

// The final response's status code (200, 404, ...).
int HttpQueryStatusCode(HINTERNET request);

// The final response's Content-Length, when it sent one (and it is a plain decimal number).
bool HttpQueryContentLength(HINTERNET request, uint64_t* length);

// The final response's Last-Modified as seconds since 1970-01-01 00:00:00 UTC, when it sent one
// that reads as an HTTP date.
bool HttpQueryLastModified(HINTERNET request, int64_t* utc_seconds);

// Reads up to `size` bytes of the body. True with *read 0 at the end of the body; false on a
// failure (see HttpLastError), with *read 0.
[[nodiscard]] bool InternetReadFile(HINTERNET request, void* buffer, uint32_t size, uint32_t* read);

// Closes a request or a session (a session's open requests stay usable). nullptr is ignored.
bool InternetCloseHandle(HINTERNET handle);

// Why the last failed call on this thread failed.
HttpError HttpLastError();

// Whether the machine has a way out: a route that is up on an interface other than loopback.
bool InternetGetConnectedState();

// Tests: makes InternetGetConnectedState answer `connected` (override on) or read the routes
// again (override off).
void OverrideConnectedState(bool override_on, bool connected = true);

}  // namespace platform
