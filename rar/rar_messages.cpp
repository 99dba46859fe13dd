#include "rar/rar_messages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kMessageBufferSize = 4096;

RarMessageSink g_sink = nullptr;

}  // namespace

void RarMessage_SetSink(RarMessageSink sink) { g_sink = sink; }

void RarMessage(const char* format, ...) {
  if (g_sink == nullptr) return;
  char buffer[kMessageBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  g_sink(buffer);
}

void RarMessage_Text(const char* text, size_t length) {
  if (g_sink == nullptr) return;
  char buffer[kMessageBufferSize];
  while (length > 0) {
    size_t piece = length < sizeof buffer - 1 ? length : sizeof buffer - 1;
    std::memcpy(buffer, text, piece);
    buffer[piece] = '\0';
    g_sink(buffer);
    text += piece;
    length -= piece;
  }
}
