// The client's debug log: one text file named after the program, deleted at start and appended
// to a line at a time (each line opens and closes the file, so the log survives a crash up to its
// last line). Safe to call from any thread; lines from different threads never interleave.
#pragma once

#include <cstdint>

// 0 by default; 100 with "/debuglog". Set at start-up before any other thread runs.
extern int32_t DebugLevel;

// The log path becomes the full path of `file_name` (when one is given) and that file is deleted.
// Until it is called the log is "LOG.LOG" in the current folder.
void DebugLog_Init(const char* file_name);

// The current log path.
const char* DebugLog_GetPath();

// Appends one formatted line (the format carries its own "\n") whenever DebugLevel is 0 or more.
void DebugLog_Write(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends one formatted line when DebugLevel is at least `level` (1 trace lines, 2 ping and list
// traces, 3 detail lines).
void DebugLog_WriteLevel(int32_t level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
