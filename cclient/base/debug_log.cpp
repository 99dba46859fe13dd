#include "cclient/base/debug_log.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/system/text_file.h"

int32_t DebugLevel = 0;

namespace {

std::mutex g_log_mutex;
std::string g_log_path = "LOG.LOG";

std::string FullPath(const char* name) {
  if (name[0] == '/') return name;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return name;
  std::string path = cwd;
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path + name;
}

std::string Format(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

void Append(const char* format, va_list args) {
  const std::string line = Format(format, args);
  std::lock_guard<std::mutex> lock(g_log_mutex);
  // A line that cannot be written is lost silently: the log never reports its own failures.
  (void)platform::AppendText(g_log_path, line);
}

}  // namespace

void DebugLog_Init(const char* file_name) {
  std::lock_guard<std::mutex> lock(g_log_mutex);
  if (file_name != nullptr && file_name[0] != '\0') g_log_path = FullPath(file_name);
  std::remove(g_log_path.c_str());
}

const char* DebugLog_GetPath() { return g_log_path.c_str(); }

void DebugLog_Write(const char* format, ...) {
  if (DebugLevel < 0) return;
  va_list args;
  va_start(args, format);
  Append(format, args);
  va_end(args);
}

void DebugLog_WriteLevel(int32_t level, const char* format, ...) {
  if (DebugLevel < level) return;
  va_list args;
  va_start(args, format);
  Append(format, args);
  va_end(args);
}
