#include "cclient/base/http_download.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "cclient/base/banner_image_set.h"
#include "cclient/base/client_globals.h"
#include "cclient/base/debug_log.h"
#include "platform/http/http.h"
#include "platform/system/files.h"

namespace {

constexpr const char* kAgent = "TvkEXE";
constexpr const char* kRequestHeaders = "Accept: */*\r\n\r\n";
constexpr int kHttpOk = 200;

// Every URL requested in this run, whole: a URL cut short would stand for every longer URL that
// begins the same way, and those would never be fetched. Workers add to it; it is emptied only
// when the program ends.
std::mutex requested_mutex;
std::vector<std::string> requested_urls;

// The session every download shares: opened by the first worker that needs it, closed by the UI
// thread once no download runs.
std::mutex session_mutex;
platform::HINTERNET session = nullptr;

// Worker thread: true when `url` had not been requested before in this run (it is now).
bool RememberUrl(const std::string& url) {
  std::lock_guard<std::mutex> lock(requested_mutex);
  for (const std::string& earlier : requested_urls) {
    if (earlier == url) return false;
  }
  requested_urls.push_back(url);
  return true;
}

// Worker thread: the shared session, opened when there is none; nullptr when it cannot be.
platform::HINTERNET SharedSession() {
  std::lock_guard<std::mutex> lock(session_mutex);
  if (session == nullptr) {
    session = platform::InternetOpen(kAgent);
    if (session != nullptr) {
      platform::InternetSetOption(session, platform::INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                                  kDownloadReceiveTimeoutMs);
    }
  }
  return session;
}

// Whether the body reads as an HTML page; the body's last byte is not looked at.
bool LooksLikeHtml(const std::string& body) {
  static constexpr char kTag[] = "<html";
  constexpr size_t kTagLength = sizeof kTag - 1;
  if (body.size() < kTagLength + 1) return false;
  const size_t last_start = body.size() - 1 - kTagLength;
  for (size_t start = 0; start <= last_start; ++start) {
    size_t i = 0;
    while (i < kTagLength) {
      char c = body[start + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != kTag[i]) break;
      ++i;
    }
    if (i == kTagLength) return true;
  }
  return false;
}

std::string LastPathPart(const std::string& url) {
  const size_t slash = url.find_last_of('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}

// The file whose size and age the server's copy is compared with: a "_" download stands for the
// file of the same name without the "_".
std::string ComparedFile(const std::string& target) {
  const size_t name_start = target.find_last_of("/\\") + 1;  // 0 when there is no folder
  if (name_start < target.size() && target[name_start] == '_') {
    return target.substr(0, name_start) + target.substr(name_start + 1);
  }
  return target;
}

}  // namespace

HttpDownload::~HttpDownload() {
  Cancel();
  Join();
}

int HttpDownload::Start(BannerImageSet* owner, int32_t entry, const char* url,
                        const char* target_file) {
  Join();
  if (url == nullptr || url[0] == '\0' || std::strlen(url) >= kDownloadUrlBytes) return -1;
  std::string target;
  if (target_file == nullptr || target_file[0] == '\0') {
    target = std::string(ProgramFolderPath) + LastPathPart(url);
  } else if (target_file[0] == '\\' || target_file[0] == '/') {
    target = target_file;
  } else {
    target = std::string(ProgramFolderPath) + target_file;
  }
  if (target.empty() || target.size() >= kDownloadPathBytes) return -1;

  owner_ = owner;
  entry_ = entry;
  url_ = url;
  target_ = target;
  const platform::FileInfo local = platform::GetFileInfo(ComparedFile(target_));
  local_size_ = local.exists ? local.size : 0;
  local_modified_utc_ = local.exists ? local.modified_utc : 0;
  cancel_.store(false, std::memory_order_release);
  result_.store(kDownloadNothingToDo, std::memory_order_release);
  running_.store(true, std::memory_order_release);
  const bool started = worker_.Start([this] {
    const int32_t result = Download();
    result_.store(result, std::memory_order_release);
    if (owner_ != nullptr) owner_->SetResult(entry_, result);
    running_.store(false, std::memory_order_release);
  });
  if (!started) {
    running_.store(false, std::memory_order_release);
    return -1;
  }
  return 0;
}

void HttpDownload::CloseSession() {
  std::lock_guard<std::mutex> lock(session_mutex);
  platform::InternetCloseHandle(session);
  session = nullptr;
}

int32_t HttpDownload::Download() {
  if (!RememberUrl(url_)) return kDownloadNothingToDo;
  if (!platform::InternetGetConnectedState()) return kDownloadNotConnected;
  const platform::HINTERNET shared = SharedSession();
  if (shared == nullptr) return kDownloadNoSession;
  const platform::HINTERNET request =
      platform::InternetOpenUrl(shared, url_.c_str(), kRequestHeaders, &cancel_);
  if (request == nullptr) {
    DebugLog_WriteLevel(1, "HttpDownload: cannot open %s\n", url_.c_str());
    return kDownloadFailed;
  }
  const int32_t result = Receive(request);
  platform::InternetCloseHandle(request);
  return result;
}

int32_t HttpDownload::Receive(void* opened) {
  const auto request = static_cast<platform::HINTERNET>(opened);
  // An error page is a body like any other here; only a plain 200 answer is the file.
  const int status = platform::HttpQueryStatusCode(request);
  if (status != kHttpOk) {
    DebugLog_WriteLevel(1, "HttpDownload: %s answered %d\n", url_.c_str(), status);
    return kDownloadFailed;
  }
  uint64_t length = 0;
  if (!platform::HttpQueryContentLength(request, &length) || length > kMaxDownloadBytes) {
    DebugLog_WriteLevel(1, "HttpDownload: %s has no usable length\n", url_.c_str());
    return kDownloadFailed;
  }
  if (length > kAlwaysFetchBytes && length == local_size_) {
    int64_t modified_utc = 0;
    if (!platform::HttpQueryLastModified(request, &modified_utc)) return kDownloadFailed;
    if (modified_utc < local_modified_utc_) return kDownloadNothingToDo;
  }

  std::string body;
  body.reserve(static_cast<size_t>(length));
  std::vector<char> chunk(kDownloadChunkBytes);
  for (;;) {
    uint32_t read = 0;
    if (!platform::InternetReadFile(request, chunk.data(), kDownloadChunkBytes, &read)) {
      DebugLog_WriteLevel(1, "HttpDownload: %s broke off after %zu bytes\n", url_.c_str(),
                          body.size());
      return kDownloadFailed;
    }
    if (read == 0) break;
    if (body.size() + read > length) {
      DebugLog_WriteLevel(1, "HttpDownload: %s sent more than its length\n", url_.c_str());
      return kDownloadFailed;
    }
    body.append(chunk.data(), read);
  }
  if (body.size() != length) {
    DebugLog_WriteLevel(1, "HttpDownload: %s ended after %zu of %llu bytes\n", url_.c_str(),
                        body.size(), static_cast<unsigned long long>(length));
    return kDownloadFailed;
  }
  if (LooksLikeHtml(body)) {
    DebugLog_WriteLevel(1, "HttpDownload: %s is an HTML page\n", url_.c_str());
    return kDownloadFailed;
  }
  return WriteTarget(body) ? kDownloadWritten : kDownloadFailed;
}

bool HttpDownload::WriteTarget(const std::string& body) const {
  const std::string temporary = target_ + ".tmp";
  std::FILE* file = platform::FileOpen(temporary, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(body.data(), 1, body.size(), file) == body.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed &&
      platform::MoveFileEx(temporary, target_, platform::MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  platform::DeleteFile(temporary);
  return false;
}
