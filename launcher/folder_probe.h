// The folder probe: finds out whether the current user may write files in a folder and run
// programs from it, by writing a tiny program there ("fst.exe", the native binary "fst"), reading
// it back, overwriting it, running it and deleting it. A folder on a read-only or noexec mount, or
// one the user may not write, fails one of the steps.
//
// Two tables of folders are known by the ids their entries had on the system the program was first
// made for; on this system they stand for:
//
//   table A (probed in a sub-folder named after the product, made for the probe and removed after;
//            the current folder is probed in itself)
//     CSIDL_PROGRAM_FILES            the program's folder in the XDG data home (made when missing)
//     FOLDER_CURRENT                 the current folder
//     FOLDER_ROOT                    the home folder
//     CSIDL_COMMON_DESKTOPDIRECTORY  the desktop folder of the user's folder settings
//     CSIDL_DESKTOPDIRECTORY         the same desktop folder
//     CSIDL_INTERNET_CACHE           the XDG cache home
//   table B (probed in the folder itself)
//     CSIDL_COMMON_STARTMENU         the system-wide applications menu folder
//     CSIDL_COMMON_PROGRAMS          the same system-wide folder
//     CSIDL_STARTMENU                the user's applications menu folder in the XDG data home
//     CSIDL_PROGRAMS                 the same user's folder
//
// Paths are native, absolute and without a trailing "/". The tables' result bits are probed the
// first time FolderProbe_FirstUsable needs them, so a run that never looks for a new home for the
// program probes nothing but the folders it asks about. UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Result bits of one probe. A folder is usable when all four are set.
enum : uint8_t {
  FOLDERPROBE_RAN = 1,          // the probe program ran and exited with 0
  FOLDERPROBE_OVERWRITTEN = 2,  // it could be opened again and written over
  FOLDERPROBE_READ_BACK = 4,    // its first 8 bytes could be read back
  FOLDERPROBE_WRITTEN = 8,      // it was written as a new file
  FOLDERPROBE_USABLE = 15,
};

// Folder ids (see above for what each means here).
enum : int {
  CSIDL_PROGRAMS = 2,
  CSIDL_STARTMENU = 11,
  CSIDL_DESKTOPDIRECTORY = 16,
  CSIDL_COMMON_STARTMENU = 22,
  CSIDL_COMMON_PROGRAMS = 23,
  CSIDL_COMMON_DESKTOPDIRECTORY = 25,
  CSIDL_INTERNET_CACHE = 32,
  CSIDL_PROGRAM_FILES = 38,
  FOLDER_CURRENT = -1,
  FOLDER_ROOT = -2,
};

// Probes one existing folder and returns its result bits. The real one runs the probe program; a
// test gives its own.
using FolderTester = std::function<uint8_t(const std::string& folder)>;

struct FolderProbeEntry {
  int folder_id = 0;
  std::string path;  // empty when the folder is not known
  uint8_t bits = 0;
};

constexpr int kFolderTableASize = 6;
constexpr int kFolderTableBSize = 4;

struct FolderProbe {
  std::vector<uint8_t> program;  // the probe program; empty when this machine has none
  FolderTester tester;           // empty: the real probe
  std::string product;           // name of table A's probe sub-folders
  FolderProbeEntry table_a[kFolderTableASize];
  FolderProbeEntry table_b[kFolderTableBSize];
  bool tables_probed = false;
};

// Fills both tables' paths (nothing is probed yet). `tester` replaces the real probe when given.
void FolderProbe_Init(FolderProbe* probe, const std::string& product, FolderTester tester = {});
void FolderProbe_Release(FolderProbe* probe);

// The path of the table entry with `folder_id`; empty when none or unknown.
std::string FolderProbe_PathOf(const FolderProbe* probe, int folder_id);

// The path of the first entry (table A, then B, in table order) whose result holds all of `bits`;
// empty when none does. Probes every entry the first time.
std::string FolderProbe_FirstUsable(FolderProbe* probe, uint8_t bits);

// Probes `folder` itself. 0 when it is empty or too long, or when there is no probe program.
uint8_t FolderProbe_TestFolder(const FolderProbe* probe, const std::string& folder);

// Probes folder + "/" + name, making that sub-folder first when it is missing and removing it
// afterwards when it was made here. 0 at once when either is empty.
uint8_t FolderProbe_TestSubFolder(const FolderProbe* probe, const std::string& folder, const std::string& name);

// Probes `folder` now: true when all four bits are set.
bool FolderProbe_IsUsable(const FolderProbe* probe, const std::string& folder);

// The probe program for this machine: a complete native program whose only work is to exit with
// 0. Empty on a machine for which there is none.
std::vector<uint8_t> FolderProbe_ProgramBytes();

// The real probe: writes `program` as "fst" in `folder`, reads it back, overwrites it, runs it,
// waits for it and deletes it; the result bits of the steps that worked.
uint8_t FolderProbe_RunProgramIn(const std::vector<uint8_t>& program, const std::string& folder);
