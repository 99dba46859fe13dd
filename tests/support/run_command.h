// Runs a shell command line for a test and collects what it prints.
#pragma once

#include <string>

struct CommandResult {
  int status = -1;  // the exit status, or -1 when the program did not exit normally
  std::string output;  // standard output (add "2>&1" to the command for standard error too)
};

CommandResult RunCommand(const std::string& command);
