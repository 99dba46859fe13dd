#include "launcher/launcher_log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/text_file.h"

namespace {

// Longest message kept; the longest the launcher writes quotes a URL and an error text.
constexpr size_t kLogMessageSize = 4096;

std::mutex log_mutex;
std::string log_path;  // under log_mutex

}  // namespace

void Log_Reset(const char* file_name) {
  const std::string path = platform::GetCurrentDirectory() + file_name;
  std::lock_guard<std::mutex> lock(log_mutex);
  log_path = path;
  platform::DeleteFile(log_path);
}

void LogMessage(const char* format, ...) {
  char text[kLogMessageSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  std::lock_guard<std::mutex> lock(log_mutex);
  if (log_path.empty()) return;
  platform::AppendText(log_path, text);
}
