// The commands that go through an archive's files: E (extract without folders), X (extract with
// folders), T (test) and P (print to standard output).
#pragma once

#include <string>

#include "rar/rar_names.h"

// What a command works with besides the switches.
struct RarCommandContext {
  std::string destination;  // prefixed to every output path; empty = the current folder
  const RarNameList* masks = nullptr;
  const RarNameList* exclusions = nullptr;
};

// Runs `command` ('E', 'X', 'T' or 'P') on the archive. Returns an error text for a problem that
// ends the command, nullptr when it ran (per-file problems are reported through the message sink).
[[nodiscard]] const char* RunExtractCommand(char command, const std::string& archive_name,
                                            const RarCommandContext& context);
