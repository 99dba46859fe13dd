#include "platform/http/http.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/ascii_text.h"

namespace platform {

// A session or a request. A request copies what it needs from its session when it opens, so the
// two can be closed in either order.
struct InternetHandle {
  bool is_session = false;

  // Session.
  std::string agent;
  std::atomic<uint32_t> connect_timeout_ms{30000};
  std::atomic<uint32_t> receive_timeout_ms{30000};

  // Request: owned by the thread that opened it.
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  curl_slist* request_headers = nullptr;
  const std::atomic<bool>* cancel = nullptr;
  uint32_t receive_timeout = 30000;
  std::chrono::steady_clock::time_point last_activity;
  bool transfer_done = false;
  CURLcode transfer_result = CURLE_OK;
  // Of the response now arriving; a redirect or an interim response starts them again.
  int status = 0;
  bool has_location = false;
  bool headers_complete = false;
  std::optional<uint64_t> content_length;
  std::optional<int64_t> last_modified;
  // Body bytes received and not yet read.
  std::string pending;
  size_t pending_read = 0;
};

namespace {

thread_local HttpError last_error = HttpError::kNone;

bool Fail(HttpError error) {
  last_error = error;
  return false;
}

bool StartLibrary() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] { started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return started;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

// A Content-Length is digits only, and must fit.
std::optional<uint64_t> ParseLength(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

bool IsFollowedRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Called by the library for each header line of each response, the status line first.
size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<InternetHandle*>(user);
  const std::string_view line(data, size * count);
  request->last_activity = std::chrono::steady_clock::now();
  if (StartsWithIgnoringCase(line, "http/")) {
    request->status = 0;
    request->has_location = false;
    request->headers_complete = false;
    request->content_length.reset();
    request->last_modified.reset();
    const size_t blank = line.find(' ');
    if (blank != std::string_view::npos && blank + 4 <= line.size()) {
      const std::string_view code = line.substr(blank + 1, 3);
      int status = 0;
      for (const char c : code) status = (c >= '0' && c <= '9') ? status * 10 + (c - '0') : -1000;
      request->status = status > 0 ? status : 0;
    }
  } else if (Trimmed(line).empty()) {
    // The end of one response's headers: the final one unless the library goes on to another.
    const bool interim = request->status >= 100 && request->status < 200;
    const bool redirected = IsFollowedRedirect(request->status) && request->has_location;
    if (!interim && !redirected) request->headers_complete = true;
  } else {
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
      const std::string_view name = Trimmed(line.substr(0, colon));
      const std::string_view value = Trimmed(line.substr(colon + 1));
      if (EqualsIgnoringCase(name, "content-length")) {
        request->content_length = ParseLength(value);
      } else if (EqualsIgnoringCase(name, "last-modified")) {
        const time_t when = curl_getdate(std::string(value).c_str(), nullptr);
        if (when != -1) request->last_modified = static_cast<int64_t>(when);
      } else if (EqualsIgnoringCase(name, "location")) {
        request->has_location = !value.empty();
      }
    }
  }
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* request = static_cast<InternetHandle*>(user);
  request->last_activity = std::chrono::steady_clock::now();
  request->headers_complete = true;
  if (request->pending_read == request->pending.size()) {
    request->pending.clear();
    request->pending_read = 0;
  }
  request->pending.append(data, size * count);
  return size * count;
}

// The library's own sockets would be inherited by programs the user-interface starts; these are
// made close-on-exec as they are made.
curl_socket_t OpenCloseOnExecSocket(void*, curlsocktype, curl_sockaddr* address) {
  return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

HttpError ErrorOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return HttpError::kConnectFailed;
    case CURLE_OPERATION_TIMEDOUT:
      return HttpError::kTimedOut;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return HttpError::kBadArgument;
    default:
      return HttpError::kFailed;
  }
}

// Drives the transfer until `ready` holds or the transfer ends. Fails on cancel, on a quiet spell
// longer than the receive time-out, or on a library failure.
template <typename Ready>
bool Pump(InternetHandle* request, Ready ready) {
  constexpr int kPollSliceMs = 50;  // how often the cancel flag is looked at while waiting
  for (;;) {
    if (request->cancel != nullptr && request->cancel->load(std::memory_order_acquire)) {
      return Fail(HttpError::kCancelled);
    }
    int running = 0;
    if (curl_multi_perform(request->multi, &running) != CURLM_OK) return Fail(HttpError::kFailed);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(request->multi, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        request->transfer_done = true;
        request->transfer_result = message->data.result;
      }
    }
    if (ready() || request->transfer_done) return true;
    const auto quiet = std::chrono::steady_clock::now() - request->last_activity;
    if (quiet > std::chrono::milliseconds(request->receive_timeout)) return Fail(HttpError::kTimedOut);
    if (curl_multi_poll(request->multi, nullptr, 0, kPollSliceMs, nullptr) != CURLM_OK) {
      return Fail(HttpError::kFailed);
    }
  }
}

void FreeRequest(InternetHandle* request) {
  if (request->multi != nullptr && request->easy != nullptr) curl_multi_remove_handle(request->multi, request->easy);
  if (request->easy != nullptr) curl_easy_cleanup(request->easy);
  if (request->multi != nullptr) curl_multi_cleanup(request->multi);
  if (request->request_headers != nullptr) curl_slist_free_all(request->request_headers);
  delete request;
}

// Extra request lines, then the two that defeat caches on the way.
curl_slist* RequestHeaders(const char* headers) {
  curl_slist* list = nullptr;
  std::string_view rest = headers != nullptr ? headers : "";
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    const std::string_view line = Trimmed(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    if (!line.empty()) list = curl_slist_append(list, std::string(line).c_str());
  }
  list = curl_slist_append(list, "Cache-Control: no-cache");
  list = curl_slist_append(list, "Pragma: no-cache");
  return list;
}

bool IsRequest(HINTERNET handle) { return handle != nullptr && !handle->is_session && handle->easy != nullptr; }

}  // namespace

HINTERNET InternetOpen(const char* agent) {
  if (!StartLibrary()) {
    last_error = HttpError::kFailed;
    return nullptr;
  }
  auto* session = new InternetHandle;
  session->is_session = true;
  session->agent = agent != nullptr ? agent : "";
  return session;
}

bool InternetSetOption(HINTERNET session, uint32_t option, uint32_t value) {
  if (session == nullptr || !session->is_session) return Fail(HttpError::kBadArgument);
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      session->connect_timeout_ms.store(value, std::memory_order_relaxed);
      return true;
    case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT:
      session->receive_timeout_ms.store(value, std::memory_order_relaxed);
      return true;
    default:
      return Fail(HttpError::kBadArgument);
  }
}

HINTERNET InternetOpenUrl(HINTERNET session, const char* url, const char* headers, const std::atomic<bool>* cancel) {
  if (session == nullptr || !session->is_session || url == nullptr ||
      !(StartsWithIgnoringCase(url, "http://") || StartsWithIgnoringCase(url, "https://"))) {
    last_error = HttpError::kBadArgument;
    return nullptr;
  }
  auto* request = new InternetHandle;
  request->cancel = cancel;
  request->receive_timeout = session->receive_timeout_ms.load(std::memory_order_relaxed);
  request->easy = curl_easy_init();
  request->multi = curl_multi_init();
  request->request_headers = RequestHeaders(headers);
  if (request->easy == nullptr || request->multi == nullptr || request->request_headers == nullptr) {
    FreeRequest(request);
    last_error = HttpError::kFailed;
    return nullptr;
  }
  CURL* easy = request->easy;
  curl_easy_setopt(easy, CURLOPT_URL, url);
  curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, session->agent.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, request->request_headers);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(session->connect_timeout_ms.load(std::memory_order_relaxed)));
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &OpenCloseOnExecSocket);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, request);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, request);
  if (curl_multi_add_handle(request->multi, easy) != CURLM_OK) {
    FreeRequest(request);
    last_error = HttpError::kFailed;
    return nullptr;
  }
  request->last_activity = std::chrono::steady_clock::now();
  if (!Pump(request, [request] { return request->headers_complete; })) {
    FreeRequest(request);
    return nullptr;
  }
  if (!request->headers_complete && request->transfer_result != CURLE_OK) {
    last_error = ErrorOf(request->transfer_result);
    FreeRequest(request);
    return nullptr;
  }
  return request;
}

int HttpQueryStatusCode(HINTERNET request) {
  if (!IsRequest(request)) {
    last_error = HttpError::kBadArgument;
    return 0;
  }
  return request->status;
}

bool HttpQueryContentLength(HINTERNET request, uint64_t* length) {
  if (!IsRequest(request) || length == nullptr) return Fail(HttpError::kBadArgument);
  if (!request->content_length) return Fail(HttpError::kNone);
  *length = *request->content_length;
  return true;
}

bool HttpQueryLastModified(HINTERNET request, int64_t* utc_seconds) {
  if (!IsRequest(request) || utc_seconds == nullptr) return Fail(HttpError::kBadArgument);
  if (!request->last_modified) return Fail(HttpError::kNone);
  *utc_seconds = *request->last_modified;
  return true;
}

bool InternetReadFile(HINTERNET request, void* buffer, uint32_t size, uint32_t* read) {
  if (read != nullptr) *read = 0;
  if (!IsRequest(request) || read == nullptr || (buffer == nullptr && size > 0)) {
    return Fail(HttpError::kBadArgument);
  }
  if (request->cancel != nullptr && request->cancel->load(std::memory_order_acquire)) {
    return Fail(HttpError::kCancelled);
  }
  if (request->pending_read == request->pending.size() && !request->transfer_done) {
    request->last_activity = std::chrono::steady_clock::now();
    if (!Pump(request, [request] { return request->pending_read < request->pending.size(); })) return false;
  }
  if (request->pending_read < request->pending.size()) {
    const size_t count = std::min<size_t>(size, request->pending.size() - request->pending_read);
    std::memcpy(buffer, request->pending.data() + request->pending_read, count);
    request->pending_read += count;
    *read = static_cast<uint32_t>(count);
    return true;
  }
  if (request->transfer_result != CURLE_OK) return Fail(ErrorOf(request->transfer_result));
  return true;  // the end of the body
}

bool InternetCloseHandle(HINTERNET handle) {
  if (handle == nullptr) return true;
  if (handle->is_session) {
    delete handle;
  } else {
    FreeRequest(handle);
  }
  return true;
}

HttpError HttpLastError() { return last_error; }

}  // namespace platform
