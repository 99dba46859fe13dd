#include "cclient/games/kit/game_log.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

void GameLog::Emit(const char* line) {
  if (echo_ != nullptr) echo_(echo_context_, line);
  if (log_.IsOpen()) log_.Write("%s\n", line);
}

void GameLog::Line(const char* text) { Emit(text); }

void GameLog::LabelText(const char* label, const char* text) {
  if (echo_ == nullptr && !log_.IsOpen()) return;
  char line[1024];
  std::snprintf(line, sizeof line, "%s = %s", label, text);
  Emit(line);
}

void GameLog::LabelNumber(const char* label, int64_t number) {
  if (echo_ == nullptr && !log_.IsOpen()) return;
  char line[1024];
  std::snprintf(line, sizeof line, "%s = %" PRId64, label, number);
  Emit(line);
}

void GameLog::Printf(const char* format, ...) {
  if (echo_ == nullptr && !log_.IsOpen()) return;
  char text[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  // A piece may end without a line break; the echo sees it as written.
  if (echo_ != nullptr) echo_(echo_context_, text);
  if (log_.IsOpen()) log_.Write("%s", text);
}
