// A small text file held as an array of lines that can be read, changed line by line and written
// back (the banner links file of the site images, for one).
//
// Lines are at most 512 characters; a longer line keeps its first 512. Files are written with
// CR LF line breaks and no break after the last line; reading accepts CR LF and a bare LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LineFile {
 public:
  static constexpr size_t kMaxLine = 512;

  LineFile() = default;

  // Replaces the lines with those of the file. Returns the number of lines, 0 when the file
  // cannot be opened, -1 when no name is given or a read fails (no lines in either case).
  int Read(const char* file_name);

  // The line's text, nullptr when `index` is not below the count.
  const char* GetLine(uint32_t index) const;
  uint32_t GetCount() const { return static_cast<uint32_t>(lines_.size()); }

  // Replaces a line's text (cut at 512 characters). Does nothing when the index is out of range
  // or `text` is nullptr.
  void SetLine(uint32_t index, const char* text);

  // Writes the lines to `file_name`, or to the name given to the last Read when nullptr. Does
  // nothing when no line was ever held since construction or the last Clear, or when the file
  // cannot be opened. Returns true when the file was written.
  bool Write(const char* file_name = nullptr) const;

  void Clear();

 private:
  std::string path_;
  std::vector<std::string> lines_;
  bool has_records_ = false;
};
