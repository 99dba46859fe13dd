// Files and folders, named as the program names them.
//
// Every path given here is a stored path: it goes through NativePath (paths.h) first, so "\" and
// letter case and a trailing blank are handled the same way everywhere. Every descriptor opened
// here is close-on-exec, so a program started by exec or spawn inherits none of them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// fopen with close-on-exec added to `mode`. nullptr when the file cannot be opened.
std::FILE* FileOpen(std::string_view path, const char* mode);

struct FileInfo {
  bool exists = false;
  bool is_folder = false;
  uint64_t size = 0;
  int64_t modified_utc = 0;  // last modification, seconds since 1970-01-01 00:00:00 UTC
};

FileInfo GetFileInfo(std::string_view path);
bool FileExists(std::string_view path);

// Copies the file's bytes and its permission bits (never set-user-id, set-group-id or sticky).
// The copy is written beside `to` under a temporary name and renamed into place, so `to` is never
// left half-written. With `fail_if_exists`, an existing `to` makes the copy fail.
bool CopyFile(std::string_view from, std::string_view to, bool fail_if_exists);

// Renames a file or folder; fails when `to` exists. Across file systems the file is copied and
// the original deleted.
bool MoveFile(std::string_view from, std::string_view to);

enum : uint32_t { MOVEFILE_REPLACE_EXISTING = 1 };

// MoveFile; with MOVEFILE_REPLACE_EXISTING an existing file `to` is replaced in one step.
bool MoveFileEx(std::string_view from, std::string_view to, uint32_t flags);

bool DeleteFile(std::string_view path);

// Makes one folder (mode 0755 less the process's mask); fails when it exists already or its
// parent is missing.
bool CreateDirectory(std::string_view path);

// Removes an empty folder.
bool RemoveDirectory(std::string_view path);

// The names of the files (not folders) in `folder` whose names match `pattern` ("*" any run of
// characters, "?" one character) without regard to letter case, in byte order. "*.*" matches
// every file, with or without a dot in its name.
std::vector<std::string> ListFiles(std::string_view folder, std::string_view pattern);

}  // namespace platform
