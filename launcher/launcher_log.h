// The launcher's log "root.log": every failure of the shell and the upgrade engine is appended to
// it as one formatted message. The file lives in the folder the launcher started in and is
// deleted at each start, so it only ever tells about the last run.
//
// Both the user-interface thread and the upgrade thread log; each message is appended whole
// (opened, written with CR LF line ends, closed) under a lock.
#pragma once

// Sets the log to the full path of `file_name` (taken from the current folder now, so a later
// change of folder does not move the log) and deletes that file. UI thread, before the upgrade
// thread starts.
void Log_Reset(const char* file_name);

// Appends one message formatted like printf. Any thread. Does nothing before Log_Reset.
void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
