// The meta file "upgrade.ini" that the upgrade server hands out: either a message for the user or
// the list of files the install must hold, with where to fetch each one and what to start after.
//
//   mode        decimal, after optional whitespace: 0 file list, 1 server message
//   message     mode 1: the rest of the file after optional whitespace (at most 2,047 bytes kept)
//   file list   mode 0: lines, each followed by optional whitespace; fields end with '"' and
//               numbers are hexadecimal (no digits means 0):
//                 -1"local folder"base URL"        folder line, for the file lines after it
//                 size"crc"name"                   file line
//                 -2"run folder"run program"run arguments"   end line (blanks may precede the last
//                                                            two fields); anything after is ignored
// Every string holds at most 259 characters; a quote only ever ends a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kMetaStringLength = 259;
constexpr size_t kServerMessageLength = 2047;

// One file line, with the folder line in force for it.
struct UpgradeFileRecord {
  uint32_t crc = 0;   // seeded CRC-32 of the installed file
  uint32_t size = 0;  // bytes of the installed file
  bool needs_fetch = false;
  std::string name;
  std::string local_folder;  // "" or ending in "\"
  std::string base_url;      // the archive's URL is base URL + name + ".r"
};

struct MetaFileContents {
  std::vector<UpgradeFileRecord> files;
  std::string run_folder;
  std::string run_program;
  std::string run_arguments;
  std::string server_message;
};

// Results of ParseMetaFile.
enum : int {
  META_LIST = 0,
  META_SERVER_MESSAGE = 100,
  META_NO_MODE = 1,          // no mode number, or a mode other than 0 and 1
  META_EMPTY_MESSAGE = 2,
  META_OUT_OF_MEMORY = -1,
  META_SYNTAX_ERROR = -2,    // missing quote, empty name or base URL, file line before a folder line,
                             // a string too long, a number too large, no end line, or a file whose
                             // local folder and name would lead outside the install (absolute, a
                             // drive, or a ".." part)
  META_BAD_DASH_LINE = -3,   // a "-" line with a code other than 1 and 2
};

// Parses `length` bytes. The file list and the run texts are replaced whenever a file list is
// parsed; the server message is set for mode 1.
[[nodiscard]] int ParseMetaFile(const char* buffer, size_t length, MetaFileContents* contents);
