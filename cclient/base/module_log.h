// A module's own log ("holdemLog.log", "ButtonBar3.log" and the like).
//
// Written only when the debug level is above 0. When a module opens its log, the earlier runs'
// logs are kept as ten numbered copies: copy 9 is dropped, copies 0..8 move up by one, the plain
// file becomes copy 0, and the plain file starts empty.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

class ModuleLog {
 public:
  ModuleLog() = default;
  ~ModuleLog();
  ModuleLog(const ModuleLog&) = delete;
  ModuleLog& operator=(const ModuleLog&) = delete;

  // `plain_name` is the log's own name; `numbered_pattern` names the copies and holds one "%d"
  // for the copy number (0-9), e.g. "holdemLog%d.log". Does nothing while DebugLevel is 0 or
  // less. Returns true when the log is open for writing.
  bool Open(const char* plain_name, const char* numbered_pattern);

  bool IsOpen() const { return file_ != nullptr; }

  // Appends a formatted line (the format carries its own "\n"); nothing when the log is not open.
  void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));

  void Close();

 private:
  std::mutex mutex_;
  FILE* file_ = nullptr;
};

// Moves the earlier copies up by one as described above; the plain file itself is renamed to
// copy 0. Exposed for tests.
void ModuleLog_Rotate(const char* plain_name, const char* numbered_pattern);
