#include "launcher/meta_file.h"

#include <new>
#include <string_view>

namespace {

bool IsMetaSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when an installed file's path (local folder + name) stays inside the install folder: not
// absolute, no drive, and no ".." part. Either separator counts, as the server writes "\".
bool StaysInsideInstall(const std::string& path) {
  if (path.empty() || path[0] == '/' || path[0] == '\\' || path.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the meta file front to back; every read is bounded by the data's length.
class MetaReader {
 public:
  explicit MetaReader(std::string_view data) : data_(data) {}

  bool AtEnd() const { return position_ >= data_.size(); }
  std::string_view Rest() const { return data_.substr(position_); }

  void SkipSpace() {
    while (!AtEnd() && IsMetaSpace(data_[position_])) ++position_;
  }

  bool Take(char c) {
    if (AtEnd() || data_[position_] != c) return false;
    ++position_;
    return true;
  }

  // One or more decimal digits. False without a digit; a value past 9 digits counts as "other".
  bool Decimal(uint32_t* value) {
    const size_t start = position_;
    uint64_t result = 0;
    while (!AtEnd() && data_[position_] >= '0' && data_[position_] <= '9') {
      if (result < 1000000000) result = result * 10 + static_cast<uint64_t>(data_[position_] - '0');
      ++position_;
    }
    *value = static_cast<uint32_t>(result > 0xFFFFFFFF ? 0xFFFFFFFF : result);
    return position_ > start;
  }

  // Any number of hexadecimal digits (none is 0). False when the value does not fit in 32 bits.
  bool Hex(uint32_t* value) {
    uint64_t result = 0;
    while (!AtEnd() && HexDigitValue(data_[position_]) >= 0) {
      result = result * 16 + static_cast<uint64_t>(HexDigitValue(data_[position_]));
      if (result > 0xFFFFFFFF) return false;
      ++position_;
    }
    *value = static_cast<uint32_t>(result);
    return true;
  }

  // A field's characters up to and including its closing quote. False without the quote or when
  // the string is too long.
  bool QuotedField(std::string* field) {
    const size_t close = data_.find('"', position_);
    if (close == std::string_view::npos) return false;
    if (close - position_ > kMetaStringLength) return false;
    field->assign(data_.substr(position_, close - position_));
    position_ = close + 1;
    return true;
  }

 private:
  std::string_view data_;
  size_t position_ = 0;
};

int ParseServerMessage(MetaReader& reader, MetaFileContents* contents) {
  reader.SkipSpace();
  if (reader.AtEnd()) return META_EMPTY_MESSAGE;
  const std::string_view message = reader.Rest();
  contents->server_message.assign(message.substr(0, kServerMessageLength));
  return META_SERVER_MESSAGE;
}

int ParseEndLine(MetaReader& reader, MetaFileContents* contents) {
  if (!reader.QuotedField(&contents->run_folder)) return META_SYNTAX_ERROR;
  reader.SkipSpace();
  if (!reader.QuotedField(&contents->run_program)) return META_SYNTAX_ERROR;
  reader.SkipSpace();
  if (!reader.QuotedField(&contents->run_arguments)) return META_SYNTAX_ERROR;
  return META_LIST;
}

int ParseFileList(MetaReader& reader, MetaFileContents* contents) {
  contents->files.clear();
  contents->run_folder.clear();
  contents->run_program.clear();
  contents->run_arguments.clear();
  std::string local_folder;
  std::string base_url;
  bool have_folder = false;
  reader.SkipSpace();
  while (!reader.AtEnd()) {
    if (reader.Take('-')) {
      uint32_t code = 0;
      if (!reader.Hex(&code)) return META_SYNTAX_ERROR;
      if (code != 1 && code != 2) return META_BAD_DASH_LINE;
      if (!reader.Take('"')) return META_SYNTAX_ERROR;
      if (code == 2) return ParseEndLine(reader, contents);
      if (!reader.QuotedField(&local_folder) || !reader.QuotedField(&base_url) || base_url.empty()) {
        return META_SYNTAX_ERROR;
      }
      have_folder = true;
    } else {
      UpgradeFileRecord record;
      if (!reader.Hex(&record.size) || !reader.Take('"')) return META_SYNTAX_ERROR;
      if (!reader.Hex(&record.crc) || !reader.Take('"')) return META_SYNTAX_ERROR;
      if (!reader.QuotedField(&record.name) || record.name.empty() || !have_folder) return META_SYNTAX_ERROR;
      if (!StaysInsideInstall(local_folder + record.name)) return META_SYNTAX_ERROR;
      record.local_folder = local_folder;
      record.base_url = base_url;
      try {
        contents->files.push_back(std::move(record));
      } catch (const std::bad_alloc&) {
        contents->files.clear();
        return META_OUT_OF_MEMORY;
      }
    }
    reader.SkipSpace();
  }
  return META_SYNTAX_ERROR;  // the data ended before the end line
}

}  // namespace

int ParseMetaFile(const char* buffer, size_t length, MetaFileContents* contents) {
  MetaReader reader(std::string_view(buffer, length));
  reader.SkipSpace();
  uint32_t mode = 0;
  if (!reader.Decimal(&mode)) return META_NO_MODE;
  if (mode == 1) return ParseServerMessage(reader, contents);
  if (mode != 0) return META_NO_MODE;
  return ParseFileList(reader, contents);
}
