#include "cclient/base/module_log.h"

#include <cstdarg>
#include <string>

#include "cclient/base/debug_log.h"
#include "platform/system/text_file.h"

namespace {

constexpr int kCopies = 10;

std::string CopyName(const char* numbered_pattern, int n) {
  char name[1024];
  std::snprintf(name, sizeof name, numbered_pattern, n);
  return name;
}

}  // namespace

void ModuleLog_Rotate(const char* plain_name, const char* numbered_pattern) {
  std::remove(CopyName(numbered_pattern, kCopies - 1).c_str());
  for (int n = kCopies - 1; n >= 1; --n) {
    std::rename(CopyName(numbered_pattern, n - 1).c_str(), CopyName(numbered_pattern, n).c_str());
  }
  std::rename(plain_name, CopyName(numbered_pattern, 0).c_str());
}

ModuleLog::~ModuleLog() { Close(); }

bool ModuleLog::Open(const char* plain_name, const char* numbered_pattern) {
  Close();
  if (DebugLevel <= 0) return false;
  ModuleLog_Rotate(plain_name, numbered_pattern);
  std::lock_guard<std::mutex> lock(mutex_);
  file_ = std::fopen(plain_name, "wbe");
  return file_ != nullptr;
}

void ModuleLog::Write(const char* format, ...) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ == nullptr) return;
  char line[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const std::string text = platform::ToCrLf(line);
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

void ModuleLog::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}
