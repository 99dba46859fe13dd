// The in-process RAR extractor: lists, tests, prints and extracts the files of RAR archives of
// unpack versions 13 to 20 (format 1.5 and 2.0, solid archives, encrypted files).
//
// It is driven like a command-line archiver: RarInitialize with an optional destination folder
// and message sink, then masks and switches one by one, then one ExecuteCommand, which releases
// the extractor's state itself. All state is process-global: one command at a time, on one thread.
// Switches stay in force for later commands; the password is wiped after every command.
//
// Error texts are static strings; nullptr means success.
#pragma once

#include <atomic>

#include "rar/rar_messages.h"

// `destination_folder` (nullptr or "" = the current folder) is prefixed to every output path as
// given, so it ends in "/" when not empty. `sink` (may be nullptr) receives every message.
void RarInitialize(const char* destination_folder, RarMessageSink sink);

// Adds a file mask ("*" and "?" wildcards, optional folder part). "Memory Allocation Error".
[[nodiscard]] const char* RarAddFileName(const char* mask);

// Applies one switch, written without a leading "-": "C-", "CL", "CU", "F", "KB", "O+", "O-",
// "P" + password (77 characters kept), "R", "U", "V...", "X" + name (an exclusion), "Y".
[[nodiscard]] const char* RarSetSwitch(const char* text);

// Adds a name to exclude, matched like a mask. "Memory Allocation Error".
[[nodiscard]] const char* RarAddExclusion(const char* name);

// Runs one command on one archive: "E" extract without folders, "X" extract with folders, "T"
// test, "P" print to standard output, "L" and "V" list. Then always calls RarRelease. Per-file
// problems are reported through the sink and do not make an error text; a file that fails its
// check is not left on disk (unless "KB"), so a caller checks for the output file.
[[nodiscard]] const char* ExecuteCommand(const char* command, const char* archive_name);

// The errors that the last E, X, T or P command counted (files that failed their check or were
// cut short, could not be made, had an unknown method or an unsafe name); 0 after any other
// command. An error text from ExecuteCommand is not counted here.
[[nodiscard]] long RarErrorCount();

// A flag that another thread may raise to stop a running command: E, X, T and P look at it
// between files and between the pieces of a file, remove the file they were writing, and end
// with "Aborted". It stays in force for later commands until replaced; nullptr = none.
void RarSetAbortFlag(const std::atomic<bool>* flag);

// Wipes the password and frees the masks and exclusions.
void RarRelease();

// Puts every switch back to its start-up state (for tests and tools running several commands).
void RarResetSwitches();
