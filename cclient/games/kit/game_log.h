// A game module's own log ("holdemLog.log" and its numbered copies), with the three line forms the
// modules write: a plain line, "label = text" and "label = number". Every write is skipped while
// the log is not open (it opens only when the debug level is above 0). UI thread only.
#pragma once

#include <cstdint>

#include "cclient/base/module_log.h"

class GameLog {
 public:
  // Rotates the earlier copies and starts the plain file afresh; false when logging is off.
  bool Open(const char* plain_name, const char* numbered_pattern) { return log_.Open(plain_name, numbered_pattern); }
  void Close() { log_.Close(); }
  bool IsOpen() const { return log_.IsOpen(); }

  void Line(const char* text);
  void LabelText(const char* label, const char* text);
  void LabelNumber(const char* label, int64_t number);
  // A formatted piece of a line (the format carries its own line breaks).
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Tests: every line written is also kept here when set (not owned).
  void SetEcho(void (*echo)(void* context, const char* line), void* context) {
    echo_ = echo;
    echo_context_ = context;
  }

 private:
  void Emit(const char* line);

  ModuleLog log_;
  void (*echo_)(void*, const char*) = nullptr;
  void* echo_context_ = nullptr;
};
