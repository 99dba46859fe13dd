// Lines the platform layer reports on its own: a damaged registry file kept aside, a refused web
// address, a sound device that could not be opened.
//
// The layer sits below the program's debug log, so it writes through a sink that the program
// installs at start-up; until then (and in tools) the lines go to standard error.
#pragma once

namespace platform {

// Receives one complete line, ending in "\n". May be called from any thread, so the sink must be
// safe to call concurrently.
using SystemLogSink = void (*)(const char* line);

// Any thread. nullptr restores the standard-error sink.
void SetSystemLogSink(SystemLogSink sink);

// Any thread: formats one line (the format carries its own "\n") and hands it to the sink.
void SystemLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace platform
