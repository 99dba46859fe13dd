// A small program the system tests start as a child process. Its first argument names what to do
// (when it gets a single argument holding blanks, that is its whole command line, split here):
//
//   exit CODE                   ends with exit code CODE
//   sigpipe                     prepares the process as the programs do, then writes to a pipe
//                               nobody reads: exits 0 when the write failed with EPIPE
//   list-fds FILE               writes the numbers of its open descriptors to FILE, one line
//   hold-and-exec FILE          writes its descriptors to FILE, then opens a file, takes the
//                               single-instance lock "probe", saves a registry value, opens a
//                               descriptor without close-on-exec as a library might, and
//                               replaces itself with "after-exec FILE" given as one text
//   after-exec FILE             appends its descriptors and whether it could take the lock "probe"
//   registry-writer NAME COUNT  sets COUNT values under "Concurrent\NAME" and "Concurrent\Shared"
//                               (one save each), exits 0 when every save succeeded
//   anything else               when PROBE_OUTPUT is set, writes its arguments there, one a line
//                               (it stands in for a web browser)
//
// It reports through its exit code and the files it writes, never through its output.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/files.h"
#include "platform/system/process.h"
#include "platform/system/registry.h"
#include "platform/system/single_instance.h"

namespace {

std::string OpenDescriptors() {
  std::set<int> numbers;
  DIR* directory = ::opendir("/proc/self/fd");
  if (directory == nullptr) return "unreadable";
  const int own = ::dirfd(directory);
  while (const dirent* entry = ::readdir(directory)) {
    if (entry->d_name[0] == '.') continue;
    const int number = std::atoi(entry->d_name);
    if (number != own) numbers.insert(number);
  }
  ::closedir(directory);
  std::string text;
  for (const int number : numbers) text += std::to_string(number) + " ";
  return text;
}

void Append(const std::string& file, const std::string& line) {
  std::ofstream out(file, std::ios::app);
  out << line << "\n";
}

int WriteRegistryValues(const std::string& name, int count) {
  using namespace platform;
  HKEY own = nullptr;
  HKEY shared = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, ("Concurrent\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                     nullptr, &own, nullptr) != ERROR_SUCCESS ||
      RegCreateKeyEx(HKEY_CURRENT_USER, "Concurrent\\Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                     &shared, nullptr) != ERROR_SUCCESS) {
    return 2;
  }
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    const uint32_t value = static_cast<uint32_t>(i);
    const std::string value_name = "V" + std::to_string(i);
    const std::string shared_name = name + "-" + std::to_string(i);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    if (RegSetValueEx(own, value_name.c_str(), 0, REG_DWORD, bytes, 4) != ERROR_SUCCESS) ++failures;
    if (RegSetValueEx(shared, shared_name.c_str(), 0, REG_DWORD, bytes, 4) != ERROR_SUCCESS) ++failures;
  }
  RegCloseKey(own);
  RegCloseKey(shared);
  return failures == 0 ? 0 : 1;
}

int HoldAndExec(const std::string& file, const char* self) {
  Append(file, "before " + OpenDescriptors());
  std::FILE* held_file = platform::FileOpen(file + ".held", "w");
  platform::SingleInstanceLock lock;
  if (held_file == nullptr || lock.Acquire("probe") != platform::SingleInstanceLock::Result::kAcquired) return 3;
  platform::HKEY key = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, "Probe", 0, nullptr, 0, platform::KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) != platform::ERROR_SUCCESS) {
    return 4;
  }
  const uint8_t byte = 1;
  if (platform::RegSetValueEx(key, "Held", 0, platform::REG_BINARY, &byte, 1) != platform::ERROR_SUCCESS) return 5;
  if (::open("/dev/null", O_RDONLY) < 0) return 7;
  const int error = platform::ExecProgram(std::string(self) + ".exe", {"process_probe.exe", "after-exec " + file});
  Append(file, "exec failed " + std::to_string(error));
  return 6;
}

int AfterExec(const std::string& file) {
  const std::string descriptors = OpenDescriptors();
  platform::SingleInstanceLock lock;
  const bool acquired = lock.Acquire("probe") == platform::SingleInstanceLock::Result::kAcquired;
  Append(file, "after " + descriptors);
  Append(file, acquired ? "lock taken" : "lock still held");
  return 0;
}

int WriteToClosedPipe() {
  platform::PrepareProcess();
  int ends[2];
  if (::pipe(ends) != 0) return 2;
  ::close(ends[0]);
  const ssize_t written = ::write(ends[1], "x", 1);
  return written < 0 && errno == EPIPE ? 0 : 1;
}

int RecordArguments(const std::vector<std::string>& words) {
  const char* output = std::getenv("PROBE_OUTPUT");
  if (output == nullptr) return 101;
  std::string text;
  for (const std::string& word : words) text += word + "\n";
  // Written under a temporary name and renamed, so a reader never sees half of it.
  const std::string temporary = std::string(output) + ".part";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << text;
  }
  return std::rename(temporary.c_str(), output) == 0 ? 0 : 102;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words;
  if (argc == 2 && std::string(argv[1]).find(' ') != std::string::npos) {
    std::istringstream line(argv[1]);
    for (std::string word; line >> word;) words.push_back(word);
  } else {
    for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
  }
  if (words.empty()) return 100;
  const std::string& mode = words[0];
  if (mode == "exit" && words.size() == 2) return std::atoi(words[1].c_str());
  if (mode == "sigpipe") return WriteToClosedPipe();
  if (mode == "list-fds" && words.size() == 2) {
    Append(words[1], OpenDescriptors());
    return 0;
  }
  if (mode == "hold-and-exec" && words.size() == 2) return HoldAndExec(words[1], argv[0]);
  if (mode == "after-exec" && words.size() == 2) return AfterExec(words[1]);
  if (mode == "registry-writer" && words.size() == 3) return WriteRegistryValues(words[1], std::atoi(words[2].c_str()));
  return RecordArguments(words);
}
