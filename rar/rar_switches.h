// The extractor's switches: process-wide, set one text at a time, and kept from one command to the
// next (only the password is wiped after each command).
#pragma once

#include <cstddef>

enum RarNameCase { RAR_CASE_KEEP = 0, RAR_CASE_LOWER, RAR_CASE_UPPER };

struct RarSwitches {
  static constexpr size_t kPasswordBufferSize = 128;
  static constexpr size_t kPasswordMaxLength = 77;

  bool show_comments = true;         // "C-" clears it
  RarNameCase name_case = RAR_CASE_KEEP;  // "CL", "CU"
  bool freshen = false;              // "F"
  bool update = false;               // "U"
  bool keep_broken = false;          // "KB"
  bool overwrite = true;             // "O+" / "O-"
  bool recurse_exclusions = false;   // "R"
  char password[kPasswordBufferSize] = {};  // "P" + password; empty = none

  [[nodiscard]] bool HasPassword() const { return password[0] != '\0'; }
};

// The switches in force.
RarSwitches& RarSwitchState();

// Applies one switch text (without a leading "-"). Returns an error text, or nullptr when the
// switch was taken. `exclusion` receives the name of an "X" switch (nullptr otherwise): the caller
// owns the exclusion list.
[[nodiscard]] const char* RarSwitches_Apply(const char* text, const char** exclusion);

// Wipes the password buffer.
void RarSwitches_WipePassword();

// Back to the state at start-up.
void RarSwitches_Reset();
