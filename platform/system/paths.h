// Where the program lives, and how stored file names become paths on this system.
//
// Names stored in the program's files, the registry and the design's own texts follow the rules
// of the system the program was first made for, and the program folder's files may have been
// unpacked in any letter case. NativePath applies those rules:
//   - "\" separates folders, as "/" does;
//   - trailing blanks of the last name are dropped ("000000000.txt " is "000000000.txt");
//   - each name is matched without regard to letter case against what exists (an exact match
//     wins; among several other matches the first in byte order). A name with no match is kept
//     as given, and so is the rest of the path behind it, so a file about to be created gets the
//     name the program asked for.
// Relative paths are taken from the current folder, which the programs set to the program folder.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The folder of the running binary, ending in "/". Empty when it cannot be found.
std::string ProgramFolder();

// The full path of the running binary. Empty when it cannot be found.
std::string ProgramFile();

// The path on this system of a stored file name (see above).
std::string NativePath(std::string_view stored_path);

// The path of a program to start: as NativePath, and a name ending in ".exe" (any case) means
// the native binary of that name without the extension ("tarvik.exe" is "tarvik").
std::string NativeProgramPath(std::string_view program);

// The current folder, ending in "/"; empty when it cannot be read.
std::string GetCurrentDirectory();

// Makes `folder` (a stored path, see NativePath) the current folder. Returns false when it cannot.
[[nodiscard]] bool SetCurrentDirectory(std::string_view folder);

}  // namespace platform
