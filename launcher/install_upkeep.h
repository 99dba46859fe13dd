// Install upkeep: before its splash window opens, the launcher makes sure that the install works
// for the current user.
//
//   - Once per user, the desktop and applications-menu entries are made in the folders every user
//     sees, replacing the user's own, and where the program lives is recorded ("Location").
//   - When the program folder is not one where the user may write files and run programs, the
//     program folder's files are copied to the first usable folder (see folder_probe.h) and the
//     launcher restarts from there with the single argument "relocated"; the copy's folder is
//     remembered ("RelocatingPath"), so later runs from the old folder go straight there.
//
// Driven by the three optional tokens of "root.ini": product name, registry key and shortcut file
// name; with all three empty nothing is probed, read or written. The product name and the
// shortcut file name become file names, so upkeep stays off when either is empty, holds a "/" or
// "\", or is "." or "..". A launcher started with "relocated" never relocates again.
//
// Registry values (KEY = the registry key token):
//   HKEY_CURRENT_USER  KEY                "RelocatingPath"  REG_SZ     the folder the program was copied to
//   HKEY_CURRENT_USER  KEY + "\Install"   "Propagated"      REG_DWORD  1 once the entries were made
//   HKEY_LOCAL_MACHINE KEY + "\Install"   "Location"        REG_SZ     the program folder, written once;
//     (HKEY_CURRENT_USER when the last all-users entry could not be made or the machine file
//      cannot be written)
//
// The lines "Made Dir: %s" and "Shell Link: %s" go to "INSTALL.LOG" in the program folder when
// the install has that file. Failures are otherwise silent, except those of a relocation, which
// are logged to "root.log". UI thread only.
#pragma once

#include <string>

#include "launcher/folder_probe.h"
#include "launcher/root_ini.h"

struct InstallUpkeep {
  bool initialised = false;  // the tokens were taken and are sound
  bool relocated = false;    // this launcher was started by a relocation restart
  FolderTester tester;       // empty: the real folder probe
  FolderProbe probe;
  std::string registry_key;
  std::string product_name;
  std::string shortcut_file_name;
  std::string icon_file;        // of the program folder; "" = none
  std::string default_program;  // of "root.ini", started when no folder is usable
  std::string relocating_path;  // from the registry; "" = none
  std::string program_folder;   // the current folder at start, native, without a trailing "/"
  // What InstallUpkeep_Restart starts: a native path, and whether it is the launcher.
  std::string next_program;
  bool next_is_launcher = false;
};

// Results of InstallUpkeep_CheckLocation.
enum : int {
  UPKEEP_STAY = 0,       // the program folder is usable
  UPKEEP_RELOCATE = 1,   // it is not, and no usable copy is known
  UPKEEP_GO_TO_COPY = 2, // it is not, and the stored copy is whole and usable
};

// `tester` replaces the real folder probe (tests). Never fails.
InstallUpkeep* InstallUpkeep_Create(FolderTester tester = {});
// Accepts nullptr.
void InstallUpkeep_Destroy(InstallUpkeep* upkeep);

// Takes the optional tokens, the icon file and the default program from `settings`, and the
// program folder from the current folder; loads "RelocatingPath". 0, or -1 when a token is too
// long or the product or shortcut name cannot be a file name (upkeep then stays off).
int InstallUpkeep_Init(InstallUpkeep* upkeep, const RootIniSettings& settings, bool relocated);

// The whole upkeep: true to go on, false when the launcher was restarted elsewhere and must end.
bool InstallUpkeep_Run(InstallUpkeep* upkeep);

// Makes the all-users desktop and menu entries once per user, and records "Location".
void InstallUpkeep_PropagateShortcuts(InstallUpkeep* upkeep);

// Where to run: UPKEEP_STAY (storing the program folder as the relocating path when another one
// was stored), UPKEEP_RELOCATE, or UPKEEP_GO_TO_COPY with the copy's launcher as the next program.
int InstallUpkeep_CheckLocation(InstallUpkeep* upkeep);

// Copies the program folder's files (not its sub-folders) into the product's folder in the first
// usable folder and stores it as "RelocatingPath"; the next program is the launcher there. With no
// usable folder the next program is the default program of the program folder. False, with a
// line in "root.log", when the folder could not be made or a file could not be copied: the
// launcher then goes on from where it is.
bool InstallUpkeep_Relocate(InstallUpkeep* upkeep);

// Starts the next program in its folder, without waiting, with argument 0 "tarvik.exe" (or the
// default program's name) and the single argument "relocated". False, with a line in "root.log"
// and the program folder current again, when it could not be started.
bool InstallUpkeep_Restart(InstallUpkeep* upkeep);

void InstallUpkeep_LoadRelocatingPath(InstallUpkeep* upkeep);
void InstallUpkeep_SaveRelocatingPath(InstallUpkeep* upkeep);

// Appends "Made Dir: %s" (`made_folder`) or "Shell Link: %s" with a line end to "INSTALL.LOG" in
// the current folder, only when that file exists and the line fits in 260 characters.
void InstallLog_Append(const std::string& text, bool made_folder);
