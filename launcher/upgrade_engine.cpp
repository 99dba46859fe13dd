#include "launcher/upgrade_engine.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "launcher/file_cache.h"
#include "launcher/launcher_log.h"
#include "launcher/meta_file.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/thread.h"
#include "rar/rar_archive.h"
#include "rar/rar_extract.h"

namespace {

constexpr size_t kThreadStackBytes = 1024 * 1024;
constexpr uint32_t kReadPieceBytes = 16384;
constexpr uint32_t kConnectTimeoutMs = 30000;
constexpr uint32_t kReceiveTimeoutMs = 30000;
constexpr const char* kFileCacheName = "root.fc";

// Shared with the user-interface thread (see the header).
std::atomic<int> upgrade_state{UPGRADE_NOT_STARTED};
std::atomic<bool> abort_flag{false};
std::atomic<bool> running_flag{false};
std::atomic<uint32_t> files_listed{0};
std::atomic<uint32_t> files_checked{0};
std::atomic<uint32_t> files_to_fetch{0};
std::atomic<uint32_t> files_fetched{0};
std::atomic<uint64_t> bytes_to_fetch{0};
std::atomic<uint64_t> bytes_finished{0};
std::atomic<uint64_t> bytes_current{0};

// Written by the upgrade thread before the state that publishes them; set up by Net_ThreadCreate
// while no upgrade thread runs.
std::string meta_url_1;
std::string meta_url_2;
MetaFileContents meta;

// The upgrade thread's own: the download buffer (kept for the program's life) and the thread.
// The thread object is never destroyed, so the program's exit never waits on it.
uint8_t* download_buffer = nullptr;
platform::Thread* upgrade_thread = nullptr;

bool Aborted() { return abort_flag.load(std::memory_order_acquire); }

void SetState(int state) { upgrade_state.store(state, std::memory_order_release); }

// A stored folder as a prefix of native paths: "" for the current folder, else ending in "/".
std::string NativeFolder(const std::string& stored_folder) {
  if (stored_folder.empty()) return "";
  std::string folder = platform::NativePath(stored_folder);
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder;
}

// The temporary files of one archive, in the folder of the file it replaces (so that putting the
// file in place is a rename on one file system): the archive as fetched and a folder it is
// unpacked into. Both go when this object does, whatever happened.
class ArchiveWorkspace {
 public:
  ArchiveWorkspace() = default;
  ~ArchiveWorkspace() {
    if (!archive_path_.empty()) ::unlink(archive_path_.c_str());
    if (!unpack_folder_.empty()) {
      for (const std::string& name : platform::ListFiles(unpack_folder_, "*")) {
        ::unlink((unpack_folder_ + name).c_str());
      }
      ::rmdir(unpack_folder_.c_str());
    }
  }
  ArchiveWorkspace(const ArchiveWorkspace&) = delete;
  ArchiveWorkspace& operator=(const ArchiveWorkspace&) = delete;

  // Writes the archive's bytes under a temporary name in `folder` and makes the unpack folder.
  bool Create(const std::string& folder, const uint8_t* bytes, size_t length) {
    std::string archive_template = folder + ".upgrade-archive-XXXXXX";
    const int descriptor = ::mkostemp(archive_template.data(), O_CLOEXEC);
    if (descriptor < 0) return false;
    archive_path_ = archive_template;
    size_t written = 0;
    while (written < length) {
      const ssize_t n = ::write(descriptor, bytes + written, length - written);
      if (n <= 0) break;
      written += static_cast<size_t>(n);
    }
    const bool closed = ::close(descriptor) == 0;
    if (written != length || !closed) return false;
    std::string folder_template = folder + ".upgrade-unpack-XXXXXX";
    if (::mkdtemp(folder_template.data()) == nullptr) return false;
    unpack_folder_ = folder_template + "/";
    return true;
  }

  const std::string& ArchivePath() const { return archive_path_; }
  const std::string& UnpackFolder() const { return unpack_folder_; }

 private:
  std::string archive_path_;
  std::string unpack_folder_;
};

// Upgrade thread. The bytes the archive's entries say they unpack to, summed. An archive that
// cannot be read gives 0: the extractor then reports what is wrong with it. A raised abort flag
// ends the count early (the caller looks at the flag next).
uint64_t DeclaredUnpackedBytes(const std::string& archive_path) {
  RarArchiveClass archive;
  if (!archive.Open(archive_path) || archive.LoadMainHeader() == RAR_KIND_NONE) return 0;
  uint64_t total = 0;
  archive.SeekFirstBlock();
  while (!Aborted() && archive.LoadFileHeader() > 0) {
    if (!archive.FileHeader().IsDirectory()) total += archive.FileHeader().unpacked_size;
  }
  return total;
}

// Upgrade thread. Unpacks the archive into the workspace's folder with the upgrade switches.
// nullptr on success, else the extractor's error text. The extractor watches the abort flag
// between files and between the pieces of a file.
const char* UnpackArchive(const ArchiveWorkspace& workspace) {
  RarInitialize(workspace.UnpackFolder().c_str(), nullptr);
  RarSetAbortFlag(&abort_flag);
  const std::string password_switch = std::string("p") + kUpgradeArchivePassword;
  for (const char* text : {"y", "o+", "c-", password_switch.c_str()}) {
    if (const char* error = RarSetSwitch(text)) {
      RarRelease();
      return error;
    }
  }
  if (const char* error = RarAddFileName("*.*")) {
    RarRelease();
    return error;
  }
  return ExecuteCommand("E", workspace.ArchivePath().c_str());
}

// Upgrade thread. Fetches one file's archive, unpacks it next to the installed file, and puts the
// unpacked file in place only when it has the listed size and CRC; a failure leaves the installed
// file as it was. 0 success, 1000 abort, -1 the fetch or the archive's write failed, 1 the
// archive did not give the listed file.
int FetchAndExtractFile(platform::HINTERNET session, const UpgradeFileRecord& record) {
  const std::string url = record.base_url + record.name + ".r";
  const long fetched = FetchUrlToBuffer(session, url.c_str(), download_buffer, kDownloadBufferSize, abort_flag);
  if (fetched == -1 || Aborted()) return kUpgradeUserAbort;
  if (fetched <= 0) return -1;

  const std::string stored_path = record.local_folder + record.name;
  const std::string folder = NativeFolder(record.local_folder);
  if (!folder.empty() && !platform::GetFileInfo(record.local_folder).is_folder) {
    (void)platform::CreateDirectory(record.local_folder);  // one level, as the install's folders are
  }
  ArchiveWorkspace workspace;
  if (!workspace.Create(folder, download_buffer, static_cast<size_t>(fetched))) {
    LogMessage("Unable to open '%s' for writing.\n", (stored_path + ".r").c_str());
    return -1;
  }
  // An archive of a few megabytes can say it unpacks to gigabytes: it is not unpacked when its
  // entries add up to more than the listed file plus what one download may hold.
  const uint64_t declared = DeclaredUnpackedBytes(workspace.ArchivePath());
  if (Aborted()) return kUpgradeUserAbort;
  if (declared > uint64_t{record.size} + kDownloadBufferSize) {
    LogMessage("Archive '%s' unpacks to more than its listed size.\n", (record.name + ".r").c_str());
    return 1;
  }
  const char* unpack_error = UnpackArchive(workspace);
  if (Aborted()) return kUpgradeUserAbort;
  if (const char* error = unpack_error) {
    LogMessage("Uncompress of '%s' has error of '%s'\n", (record.name + ".r").c_str(), error);
    return 1;
  }
  const std::string unpacked = platform::NativePath(workspace.UnpackFolder() + record.name);
  if (!platform::FileExists(unpacked)) {
    LogMessage("Uncompress failed to produce %s file.\n", stored_path.c_str());
    return 1;
  }
  uint64_t length = 0;
  uint32_t crc = 0;
  if (!FileCrc32(unpacked, download_buffer, kDownloadBufferSize, abort_flag, &length, &crc)) {
    if (Aborted()) return kUpgradeUserAbort;
    LogMessage("Uncompress failed to produce %s file.\n", stored_path.c_str());
    return 1;
  }
  if (length != record.size || crc != record.crc) {
    LogMessage("Unpacked '%s' does not match its listed size and CRC.\n", stored_path.c_str());
    return 1;
  }
  // The last moment a stop request keeps the installed file as it was.
  if (Aborted()) return kUpgradeUserAbort;
  if (!platform::MoveFileEx(unpacked, platform::NativePath(stored_path), platform::MOVEFILE_REPLACE_EXISTING)) {
    LogMessage("Unable to put '%s' in place.\n", stored_path.c_str());
    return 1;
  }
  return 0;
}

// Upgrade thread.
int MetaFile(platform::HINTERNET session, const std::string& url) {
  const long fetched = FetchUrlToBuffer(session, url.c_str(), download_buffer, kDownloadBufferSize, abort_flag);
  if (fetched == -1) return kUpgradeUserAbort;
  if (fetched <= 0) {
    LogMessage("Failure during GetMetaFile, now trying 2.\n");
    return -1;
  }
  MetaFileContents parsed;
  const int result = ParseMetaFile(reinterpret_cast<const char*>(download_buffer), static_cast<size_t>(fetched), &parsed);
  if (result != META_LIST && result != META_SERVER_MESSAGE) {
    LogMessage("Failure during ParseMetaFile.\n");
    return result;
  }
  meta = std::move(parsed);
  return result;
}

// Upgrade thread. Sets each record's needs-fetch flag and writes the cache anew with the files
// found good.
int CompareLocalFiles() {
  files_checked.store(0, std::memory_order_relaxed);
  files_listed.store(static_cast<uint32_t>(meta.files.size()), std::memory_order_relaxed);
  SetState(UPGRADE_SCANNING);
  const std::vector<FileCacheEntry> cache = LoadFileCache(kFileCacheName);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> cache_out(platform::FileOpen(kFileCacheName, "wb"), &std::fclose);
  for (UpgradeFileRecord& record : meta.files) {
    if (Aborted()) return kUpgradeUserAbort;
    const std::string path = record.local_folder + record.name;
    const int check = CheckLocalFile(path, record.size, record.crc, cache, download_buffer, kDownloadBufferSize,
                                     abort_flag);
    if (check == LOCALFILE_ABORTED) return kUpgradeUserAbort;
    record.needs_fetch = check != LOCALFILE_GOOD;
    if (!record.needs_fetch && cache_out) {
      const std::string line = FileCacheLine(path, record.size, record.crc);
      std::fwrite(line.data(), 1, line.size(), cache_out.get());
    }
    files_checked.fetch_add(1, std::memory_order_relaxed);
  }
  return 0;
}

// Upgrade thread.
int FetchNewFiles(platform::HINTERNET session) {
  files_fetched.store(0, std::memory_order_relaxed);
  bytes_finished.store(0, std::memory_order_relaxed);
  bytes_current.store(0, std::memory_order_relaxed);
  uint32_t count = 0;
  uint64_t bytes = 0;
  for (const UpgradeFileRecord& record : meta.files) {
    if (!record.needs_fetch) continue;
    ++count;
    bytes += record.size;
  }
  files_to_fetch.store(count, std::memory_order_relaxed);
  bytes_to_fetch.store(bytes, std::memory_order_relaxed);
  SetState(UPGRADE_UPGRADING);
  for (const UpgradeFileRecord& record : meta.files) {
    if (!record.needs_fetch) continue;
    if (Aborted()) return kUpgradeUserAbort;
    const int result = FetchAndExtractFile(session, record);
    if (result == kUpgradeUserAbort) return kUpgradeUserAbort;
    if (result != 0) return 1;
    bytes_current.store(0, std::memory_order_relaxed);
    bytes_finished.fetch_add(record.size, std::memory_order_relaxed);
    files_fetched.fetch_add(1, std::memory_order_relaxed);
  }
  return 0;
}

// Upgrade thread.
int RunUpgradeSteps(platform::HINTERNET session) {
  if (Aborted()) return kUpgradeUserAbort;
  int result = -1;
  if (!meta_url_1.empty()) {
    result = MetaFile(session, meta_url_1);
    const bool settled = result == 0 || result == kUpgradeServerMessage || result == kUpgradeUserAbort;
    if (!settled && !meta_url_2.empty()) result = MetaFile(session, meta_url_2);
  } else if (!meta_url_2.empty()) {
    result = MetaFile(session, meta_url_2);
  }
  if (result == kUpgradeServerMessage || result == kUpgradeUserAbort) return result;
  if (result != 0) {
    SetState(UPGRADE_SERVER_FAILURE);
    LogMessage("Failure during MetaFile.\n");
    return -1;
  }

  if (Aborted()) return kUpgradeUserAbort;
  result = CompareLocalFiles();
  if (result == kUpgradeUserAbort) return result;
  if (result != 0) {
    SetState(UPGRADE_FILE_FAILURE);
    LogMessage("Failure during CompareLocalFiles.\n");
    return result;
  }

  if (Aborted()) return kUpgradeUserAbort;
  result = FetchNewFiles(session);
  if (result == kUpgradeUserAbort) return result;
  if (result != 0) {
    SetState(UPGRADE_FILE_FAILURE);
    LogMessage("Failure during FetchNewFiles.\n");
    return result;
  }
  SetState(UPGRADE_DONE);
  return 0;
}

// Upgrade thread.
int RunUpgradeSession() {
  SetState(UPGRADE_CONNECTING);
  if (Aborted()) return kUpgradeUserAbort;
  platform::HINTERNET session = platform::InternetOpen("DoreVIV");
  if (session == nullptr) {
    SetState(UPGRADE_SERVER_FAILURE);
    LogMessage("Failure during InternetOpenA.\n");
    return 1;
  }
  (void)platform::InternetSetOption(session, platform::INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
  (void)platform::InternetSetOption(session, platform::INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
  const int result = RunUpgradeSteps(session);
  platform::InternetCloseHandle(session);
  return result;
}

// Upgrade thread: the whole run. The running flag is cleared last, on every way out.
void UpgradeThreadProc() {
  const int result = RunUpgradeSession();
  if (result == kUpgradeServerMessage) {
    SetState(UPGRADE_SERVER_MESSAGE);
  } else if (result == kUpgradeUserAbort) {
    SetState(UPGRADE_USER_ABORT);
    LogMessage("User Abort.\n");
  }
  running_flag.store(false, std::memory_order_release);
}

}  // namespace

long FetchUrlToBuffer(platform::HINTERNET session, const char* url, uint8_t* buffer, size_t size,
                      const std::atomic<bool>& abort) {
  bytes_current.store(0, std::memory_order_relaxed);
  platform::HINTERNET request = platform::InternetOpenUrl(session, url, "Accept: */*\r\n\r\n", &abort);
  if (request == nullptr) {
    return platform::HttpLastError() == platform::HttpError::kCancelled || abort.load() ? -1 : -2;
  }
  std::unique_ptr<platform::InternetHandle, bool (*)(platform::HINTERNET)> closer(request,
                                                                                 &platform::InternetCloseHandle);
  if (abort.load(std::memory_order_acquire)) return -1;
  const int status = platform::HttpQueryStatusCode(request);
  uint64_t declared_length = 0;
  const bool has_length = platform::HttpQueryContentLength(request, &declared_length);
  if (abort.load(std::memory_order_acquire)) return -1;
  if (status != 200) {
    LogMessage("File '%s' was answered with HTTP status %d.\n", url, status);
    return -2;
  }
  if (has_length && declared_length > size) {
    LogMessage("File '%s' is too large for working buffer.\n", url);
    return -4;
  }
  size_t total = 0;
  uint8_t piece[kReadPieceBytes];
  for (;;) {
    uint32_t read = 0;
    if (!platform::InternetReadFile(request, piece, sizeof piece, &read)) {
      if (platform::HttpLastError() == platform::HttpError::kCancelled || abort.load()) return -1;
      LogMessage("Failure while reading '%s'.\n", url);
      return -3;
    }
    if (read == 0) break;
    if (read > size - total) {
      LogMessage("File '%s' is too large for working buffer.\n", url);
      return -4;
    }
    std::memcpy(buffer + total, piece, read);
    total += read;
    bytes_current.fetch_add(read, std::memory_order_relaxed);
    if (abort.load(std::memory_order_acquire)) return -1;
  }
  return static_cast<long>(total);
}

const char* Net_ThreadCreate(const char* url_1, const char* url_2) {
  if (upgrade_thread == nullptr) upgrade_thread = new (std::nothrow) platform::Thread;
  if (download_buffer == nullptr) download_buffer = new (std::nothrow) uint8_t[kDownloadBufferSize];
  if (upgrade_thread == nullptr || download_buffer == nullptr) return "CreateThread Error";
  upgrade_thread->Join();  // an earlier run has ended (its state was final)
  meta_url_1.assign(url_1 != nullptr ? url_1 : "", 0, kMetaStringLength);
  meta_url_2.assign(url_2 != nullptr ? url_2 : "", 0, kMetaStringLength);
  meta = MetaFileContents{};
  for (auto* counter : {&files_listed, &files_checked, &files_to_fetch, &files_fetched}) counter->store(0);
  for (auto* counter : {&bytes_to_fetch, &bytes_finished, &bytes_current}) counter->store(0);
  abort_flag.store(false, std::memory_order_release);
  upgrade_state.store(UPGRADE_NOT_STARTED, std::memory_order_release);
  running_flag.store(true, std::memory_order_release);
  if (!upgrade_thread->Start(&UpgradeThreadProc, kThreadStackBytes)) {
    running_flag.store(false, std::memory_order_release);
    return "CreateThread Error";
  }
  return nullptr;
}

int Upgrade_GetState() { return upgrade_state.load(std::memory_order_acquire); }
uint32_t Upgrade_GetFilesChecked() { return files_checked.load(std::memory_order_relaxed); }
uint32_t Upgrade_GetFileCount() { return files_listed.load(std::memory_order_relaxed); }
uint64_t Upgrade_GetBytesDone() {
  return bytes_finished.load(std::memory_order_relaxed) + bytes_current.load(std::memory_order_relaxed);
}
uint64_t Upgrade_GetBytesToFetch() { return bytes_to_fetch.load(std::memory_order_relaxed); }
bool Upgrade_IsRunning() { return running_flag.load(std::memory_order_acquire); }
const std::string& Upgrade_GetRunFolder() { return meta.run_folder; }
const std::string& Upgrade_GetRunProgram() { return meta.run_program; }
const std::string& Upgrade_GetRunArguments() { return meta.run_arguments; }
const std::string& Upgrade_GetServerMessage() { return meta.server_message; }

void Upgrade_RequestAbort() { abort_flag.store(true, std::memory_order_release); }

void Upgrade_Kill() {
  Upgrade_RequestAbort();
  if (upgrade_thread != nullptr) upgrade_thread->Join();
}
