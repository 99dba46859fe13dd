// One download of a site file over HTTP, run by a short-lived worker thread of its own.
//
// A URL is fetched at most once per run of the program, and only when the server's copy differs
// from the local file (by size and Last-Modified). What arrives is checked before anything is
// written: the answer must be 200 with a Content-Length that the body matches exactly and must
// not be an HTML page; only then is the body written to a temporary file beside the target and
// renamed over it in one step, so a failed or refused download never touches the installed file.
//
// Threads: Start, Cancel, Join and CloseSession run on the UI thread; the download itself runs on
// the worker, which touches only its own request, the program-wide list of requested URLs and the
// shared internet session (both guarded), and reports through the owner's SetResult.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/system/thread.h"

class BannerImageSet;

constexpr uint32_t kDownloadUrlBytes = 512;   // at most 511 characters
constexpr uint32_t kDownloadPathBytes = 261;  // at most 260 characters
// The largest body taken: the site's pictures and link files are far smaller.
constexpr uint64_t kMaxDownloadBytes = 32u * 1024 * 1024;
constexpr uint32_t kDownloadChunkBytes = 16384;
constexpr uint32_t kDownloadReceiveTimeoutMs = 30000;
// A body of this size or less is always fetched: size alone says too little about it.
constexpr uint64_t kAlwaysFetchBytes = 256;

// Results of a download.
constexpr int32_t kDownloadWritten = 0;
constexpr int32_t kDownloadNothingToDo = 1;
constexpr int32_t kDownloadNotConnected = -1;
constexpr int32_t kDownloadNoSession = -2;
constexpr int32_t kDownloadFailed = -3;

class HttpDownload {
 public:
  HttpDownload() = default;
  ~HttpDownload();  // cancels and joins
  HttpDownload(const HttpDownload&) = delete;
  HttpDownload& operator=(const HttpDownload&) = delete;

  // UI thread. Starts the worker that downloads `url` into `target_file` and then reports to
  // `owner` (may be null) under `entry`. Target: nullptr or empty takes the URL's last path part
  // in the program folder; a name beginning with "\" or "/" is taken as given; any other name is
  // put in the program folder; the whole path must be 1-260 characters. The local file compared
  // with the server's copy is the target, or for a target named "_" + name, that name. 0 when the
  // worker started, -1 for a bad URL or target or a worker that could not start (a worker of an
  // earlier start is joined first).
  int Start(BannerImageSet* owner, int32_t entry, const char* url, const char* target_file);

  // Any thread: a running download gives up at its next wait.
  void Cancel() { cancel_.store(true, std::memory_order_release); }
  // UI thread: waits for the worker to end.
  void Join() { worker_.Join(); }
  bool IsRunning() const { return running_.load(std::memory_order_acquire); }
  // The last download's result; meaningful once it is no longer running.
  int32_t Result() const { return result_.load(std::memory_order_acquire); }
  const std::string& TargetPath() const { return target_; }

  // UI thread: closes the internet session that every download shares; the next download opens
  // a new one. Only while no download runs.
  static void CloseSession();

 private:
  // Worker thread: the whole download; its result.
  int32_t Download();
  // Worker thread: reads the answer of an open request and writes the target; its result.
  int32_t Receive(void* request);
  // Worker thread: writes the body beside the target and renames it into place.
  bool WriteTarget(const std::string& body) const;

  // Set by Start before the worker exists, then only read by it.
  BannerImageSet* owner_ = nullptr;
  int32_t entry_ = -1;
  std::string url_;
  std::string target_;
  uint64_t local_size_ = 0;
  int64_t local_modified_utc_ = 0;

  std::atomic<int32_t> result_{kDownloadNothingToDo};
  std::atomic<bool> running_{false};
  std::atomic<bool> cancel_{false};
  platform::Thread worker_;
};
