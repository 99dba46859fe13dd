// The launcher's command line.
//
//   [/q[modifiers]] rest
//
// "/q" (either case) may be followed directly by modifiers: "-" skips the upgrade, "+" runs it,
// and a double-quoted name replaces "root.ini" as the settings file. "/q" alone skips the upgrade;
// otherwise the last "-" or "+" decides, and without either the upgrade runs. Everything after the
// modifiers (from the blank or other character that ended them) is the rest, which the launcher
// passes on to the program it starts.
#pragma once

#include <string>
#include <string_view>

// Longest settings file name kept.
constexpr size_t kSettingsFileNameLength = 255;

struct LauncherCommandLine {
  bool skip_upgrade = false;
  std::string settings_file = "root.ini";
  std::string rest;  // verbatim
  // The rest begins with the word "relocated": the launcher was restarted by the install upkeep
  // after it moved the install.
  bool relocated = false;
};

LauncherCommandLine ParseLauncherCommandLine(std::string_view command_line);

// The single argument text a started program gets: its own arguments (from the meta file or the
// settings file), one blank, then the launcher's rest. The word "relocated" that a relocation
// restart puts first is the launcher's own business: left in, the client would take it for a
// game-server host, so it is dropped with the blanks after it. Any other word stays.
std::string StartedProgramArguments(std::string_view program_arguments, std::string_view rest);
