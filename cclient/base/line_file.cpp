#include "cclient/base/line_file.h"

#include <cstdio>

namespace {

// Adds `line` to `lines`, cut at the longest line kept.
void AddLine(std::vector<std::string>& lines, std::string line) {
  if (line.size() > LineFile::kMaxLine) line.resize(LineFile::kMaxLine);
  lines.push_back(std::move(line));
}

}  // namespace

int LineFile::Read(const char* file_name) {
  Clear();
  if (file_name == nullptr) return -1;
  path_ = file_name;

  FILE* file = std::fopen(file_name, "rbe");
  if (file == nullptr) return 0;

  std::string current;
  bool pending_cr = false;  // a CR seen, still waiting to know whether an LF follows
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (size_t i = 0; i < got; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        AddLine(lines_, std::move(current));
        current.clear();
        pending_cr = false;
        continue;
      }
      if (pending_cr) current.push_back('\r');
      pending_cr = (c == '\r');
      // Characters past the longest line are dropped up to the line's end.
      if (!pending_cr && current.size() <= kMaxLine) current.push_back(c);
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    lines_.clear();
    return -1;
  }
  if (pending_cr) current.push_back('\r');
  if (!current.empty()) AddLine(lines_, std::move(current));
  has_records_ = !lines_.empty();
  return static_cast<int>(lines_.size());
}

const char* LineFile::GetLine(uint32_t index) const {
  if (index >= lines_.size()) return nullptr;
  return lines_[index].c_str();
}

void LineFile::SetLine(uint32_t index, const char* text) {
  if (text == nullptr || index >= lines_.size()) return;
  std::string line = text;
  if (line.size() > kMaxLine) line.resize(kMaxLine);
  lines_[index] = std::move(line);
}

bool LineFile::Write(const char* file_name) const {
  if (!has_records_) return false;
  const std::string path = file_name != nullptr ? std::string(file_name) : path_;
  FILE* file = std::fopen(path.c_str(), "wbe");
  if (file == nullptr) return false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::fputs(lines_[i].c_str(), file);
    if (i + 1 < lines_.size()) std::fputs("\r\n", file);
  }
  return std::fclose(file) == 0;
}

void LineFile::Clear() {
  lines_.clear();
  has_records_ = false;
}
