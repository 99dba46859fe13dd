// The commands that go through an archive's files: E (extract without folders), X (extract with
// folders), T (test) and P (print to standard output).
#pragma once

#include <atomic>
#include <string>

#include "rar/rar_names.h"

// What a command works with besides the switches.
struct RarCommandContext {
  std::string destination;  // prefixed to every output path; empty = the current folder
  const RarNameList* masks = nullptr;
  const RarNameList* exclusions = nullptr;
  // Raised by another thread to stop the command between files and between pieces of a file.
  const std::atomic<bool>* abort = nullptr;
};

// The error text of a command stopped through the abort flag.
inline constexpr const char* kRarAbortedText = "Aborted";

// Runs `command` ('E', 'X', 'T' or 'P') on the archive. Returns an error text for a problem that
// ends the command, nullptr when it ran (per-file problems are reported through the message sink
// and counted in `*errors`).
[[nodiscard]] const char* RunExtractCommand(char command, const std::string& archive_name,
                                            const RarCommandContext& context, long* errors);
