#include "platform/system/system_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace platform {
namespace {

void WriteToStandardError(const char* line) { std::fputs(line, stderr); }

std::atomic<SystemLogSink> sink{&WriteToStandardError};

}  // namespace

void SetSystemLogSink(SystemLogSink new_sink) {
  sink.store(new_sink != nullptr ? new_sink : &WriteToStandardError, std::memory_order_release);
}

void SystemLog(const char* format, ...) {
  char line[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  sink.load(std::memory_order_acquire)(line);
}

}  // namespace platform
