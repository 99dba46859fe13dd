#include "platform/system/process.h"

#include <dirent.h>
#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/system/paths.h"

extern char** environ;

namespace platform {
namespace {

// Children started without waiting are collected at the next start so that none is left as a
// zombie. A child collected that way before anyone waited for it keeps its status here, so a
// later WaitForProgram still gets it. Both under `children_mutex`.
std::mutex children_mutex;
std::vector<pid_t> unwaited_children;
std::map<pid_t, int> collected_status;
constexpr size_t kMostCollectedStatuses = 256;

void CollectFinishedChildren() {
  std::lock_guard<std::mutex> lock(children_mutex);
  auto finished = [](pid_t pid) {
    int status = 0;
    const pid_t result = ::waitpid(pid, &status, WNOHANG);
    if (result == pid) {
      if (collected_status.size() >= kMostCollectedStatuses) collected_status.erase(collected_status.begin());
      collected_status[pid] = status;
    }
    return result != 0;  // finished, or no longer a child of ours
  };
  unwaited_children.erase(std::remove_if(unwaited_children.begin(), unwaited_children.end(), finished),
                          unwaited_children.end());
}

// Marks every descriptor above the standard streams close-on-exec: ours are already, but
// libraries (the HTTP library's internal wake-up pair, for one) open some that are not.
void CloseEverythingOnExec() {
  if (::close_range(3, ~0u, CLOSE_RANGE_CLOEXEC) == 0) return;
  DIR* directory = ::opendir("/proc/self/fd");
  if (directory == nullptr) return;
  const int own = ::dirfd(directory);
  while (const dirent* entry = ::readdir(directory)) {
    const int number = std::atoi(entry->d_name);
    if (number > 2 && number != own) ::fcntl(number, F_SETFD, FD_CLOEXEC);
  }
  ::closedir(directory);
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

int Spawn(const std::string& path, const std::vector<std::string>& arguments, bool search) {
  CollectFinishedChildren();
  std::vector<char*> argv = ArgumentVector(arguments);
  if (argv.size() == 1) argv.insert(argv.begin(), const_cast<char*>(path.c_str()));
  std::fflush(nullptr);
  // The child gets the standard streams and nothing else, whatever a library left open.
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t pid = 0;
  const int result = search ? ::posix_spawnp(&pid, path.c_str(), &actions, nullptr, argv.data(), environ)
                            : ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return -1;
  std::lock_guard<std::mutex> lock(children_mutex);
  unwaited_children.push_back(pid);
  return pid;
}

// A name without a folder is the program in the current folder.
std::string ProgramPath(std::string_view program) {
  std::string path = NativeProgramPath(program);
  if (path.find('/') == std::string::npos) path = "./" + path;
  return path;
}

}  // namespace

void PrepareProcess() {
  ::signal(SIGPIPE, SIG_IGN);
#ifdef __GLIBC__
  // Pictures, decoded files and downloads come and go in blocks of hundreds of kilobytes. By
  // default the C library raises its own threshold for giving such blocks a mapping of their own
  // after the first one is freed, so later ones stay in the heap, and keeps up to 128 KiB free at
  // the heap's top, per thread arena. With a fixed threshold every large block is returned when
  // freed; the heap is trimmed sooner; the few threads share two arenas.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 64 * 1024);
  mallopt(M_ARENA_MAX, 2);
#endif
}

namespace {

// Written by the signal handler, read and cleared by the program: lock-free, so safe in a handler.
std::atomic<int> g_close_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int kCloseSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnCloseSignal(int signal_number) {
  g_close_signal.store(signal_number, std::memory_order_release);
  // The next one is not caught: a program that does not come to an end can still be ended.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  for (int each : kCloseSignals) ::sigaction(each, &fallback, nullptr);
}

}  // namespace

void CatchCloseSignals() {
  struct sigaction action {};
  action.sa_handler = OnCloseSignal;
  sigemptyset(&action.sa_mask);
  for (int each : kCloseSignals) sigaddset(&action.sa_mask, each);
  action.sa_flags = SA_RESTART;
  for (int each : kCloseSignals) ::sigaction(each, &action, nullptr);
}

int TakeCloseSignal() { return g_close_signal.exchange(0, std::memory_order_acq_rel); }

int ExecProgram(std::string_view program, const std::vector<std::string>& arguments) {
  const std::string path = ProgramPath(program);
  std::vector<char*> argv = ArgumentVector(arguments);
  if (argv.size() == 1) argv.insert(argv.begin(), const_cast<char*>(path.c_str()));
  std::fflush(nullptr);
  CloseEverythingOnExec();
  ::execv(path.c_str(), argv.data());
  return errno;
}

int SpawnProgram(std::string_view program, const std::vector<std::string>& arguments) {
  return Spawn(ProgramPath(program), arguments, false);
}

int SpawnSearchedProgram(std::string_view program, const std::vector<std::string>& arguments) {
  return Spawn(std::string(program), arguments, true);
}

int WaitForProgram(int process_id) {
  if (process_id <= 0) return -1;
  {
    std::lock_guard<std::mutex> lock(children_mutex);
    unwaited_children.erase(std::remove(unwaited_children.begin(), unwaited_children.end(), process_id),
                            unwaited_children.end());
    const auto collected = collected_status.find(process_id);
    if (collected != collected_status.end()) {
      const int status = collected->second;
      collected_status.erase(collected);
      return ExitCodeOf(status);
    }
  }
  int status = 0;
  pid_t result = 0;
  do {
    result = ::waitpid(process_id, &status, 0);
  } while (result < 0 && errno == EINTR);
  return result == process_id ? ExitCodeOf(status) : -1;
}

int SpawnProgramAndWait(std::string_view program, const std::vector<std::string>& arguments) {
  const int process_id = SpawnProgram(program, arguments);
  return process_id < 0 ? -1 : WaitForProgram(process_id);
}

std::string CommandLineText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text.push_back(' ');
    text += argv[i];
  }
  return text;
}

}  // namespace platform
