// The launcher's settings file "root.ini" (written by the client before it hands over to the
// launcher, or by the installer): a sequence of whitespace-separated tokens, not keys.
//
// Whitespace is blank, tab, CR and LF. A token is a run of characters up to the next whitespace
// character (which is consumed with it), or a string in double quotes that may hold blanks and
// may be empty; the character after a closing quote is read and dropped. A token must be shorter
// than its buffer.
//
// The tokens, in order: version (must be 0), icon file, background picture, status text colour
// (hexadecimal 0x00BBGGRR), status text top, button caption, button left, top, width and height,
// meta file URL 1 and URL 2, default program folder, default program, its arguments, the end
// marker "END_OF_FILE"; then optionally the product name, the registry key, the shortcut file
// name and one closing token, which must all be readable for the first three to count.
#pragma once

#include <cstdio>

// Buffer sizes: each value holds at most one character less.
constexpr size_t kRootIniPathSize = 260;
constexpr size_t kRootIniCaptionSize = 256;
constexpr size_t kRootIniMarkerSize = 32;
constexpr size_t kRootIniProductSize = 512;
constexpr size_t kRootIniNumberSize = 64;

struct RootIniSettings {
  long version = 0;
  char icon_file[kRootIniPathSize] = "";
  char background_picture[kRootIniPathSize] = "";
  unsigned long status_text_colour = 0;  // 0x00BBGGRR
  long status_text_top = 0;              // the progress bar hangs below the status text
  char button_caption[kRootIniCaptionSize] = "";
  long button_left = 0;
  long button_top = 0;
  long button_width = 0;
  long button_height = 0;
  char meta_file_url_1[kRootIniPathSize] = "";
  char meta_file_url_2[kRootIniPathSize] = "";  // "" = none
  char default_program_folder[kRootIniPathSize] = "";  // "" = stay in the current folder
  char default_program[kRootIniPathSize] = "";         // "" = none
  char default_program_arguments[kRootIniPathSize] = "";
  // Optional; all three empty unless every optional token could be read.
  char product_name[kRootIniProductSize] = "";
  char registry_key[kRootIniPathSize] = "";
  char shortcut_file_name[kRootIniPathSize] = "";
};

// Results of ReadRootIni.
enum : int {
  ROOTINI_OK = 0,
  ROOTINI_CANNOT_OPEN = 1,
  ROOTINI_NO_VERSION = 2,       // the version token is missing or not a number
  ROOTINI_BAD_VERSION = 3,      // the version is not 0
  ROOTINI_MISSING_TOKEN = 4,    // a required token is missing, too long or not a number
  ROOTINI_NO_END_MARKER = 5,    // the 16th token is not exactly "END_OF_FILE"
};

// Reads the settings file (binary mode). The file is closed on every path; `settings` is filled
// as far as the file could be read. On a failure `failed_token` (when given) is the number (from
// 1) of the token that could not be taken, 0 when the file could not be opened.
[[nodiscard]] int ReadRootIni(const char* file_name, RootIniSettings* settings, int* failed_token = nullptr);
// The same on an open stream, which stays open.
[[nodiscard]] int ReadRootIniStream(std::FILE* stream, RootIniSettings* settings, int* failed_token = nullptr);

// Reads one token into `buffer` (NUL-terminated). 0 a token; -1 the end of the stream came
// before a token was complete; -2 the token does not fit in `size` bytes with its terminator.
[[nodiscard]] int ReadToken(std::FILE* stream, char* buffer, size_t size);

// A token of at most 63 characters converted as a signed decimal, unsigned decimal or
// hexadecimal number. 0 a value; -1 no token; 1 the token does not start with a number.
[[nodiscard]] int ReadLong(std::FILE* stream, long* value);
[[nodiscard]] int ReadULong(std::FILE* stream, unsigned long* value);
[[nodiscard]] int ReadHex(std::FILE* stream, unsigned long* value);
