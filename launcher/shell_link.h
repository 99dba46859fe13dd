// Shortcuts: on this system the desktop's and the applications menu's launcher entries, files in
// the freedesktop "desktop entry" format.
//
// A shortcut's file name is given as the program names it, with ".lnk"; the entry file takes
// ".desktop" in its place (ShellLink_FilePath). A target whose name ends in ".exe" is a program
// (see NativeProgramPath): its entry is an application entry that runs it, in its own folder,
// with the given arguments. Any other target is a document: its entry is a link entry to the
// file, which the desktop opens with the user's program for that kind of file.
#pragma once

#include <string>

// `link_file` with ".lnk" (any case) at its end replaced by ".desktop", or ".desktop" added.
std::string ShellLink_FilePath(const std::string& link_file);

// Writes the entry `link_file` (a native path, see ShellLink_FilePath) for `target` (a path of the
// program's, see NativePath): Name is the entry file's name without ".desktop", Comment is
// `description` (else the name), Icon is `icon_file` when given (the index has no meaning here).
// The entry is written under a temporary name and renamed into place, and is executable, as
// desktops ask before they run an entry from the desktop folder. False when `link_file` or
// `target` is empty or the entry could not be written. `arguments`, `icon_file` and
// `description` may be nullptr.
bool ShellLink_Create(const std::string& link_file, const std::string& target, const char* arguments,
                      const char* icon_file, const char* description, int icon_index);

// True when the entry `link_file` can be read and runs (or, for a document, opens) exactly
// `target`.
bool ShellLink_PointsTo(const std::string& link_file, const std::string& target);
