#include "platform/system/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "platform/system/ascii_text.h"
#include "platform/system/registry.h"
#include "platform/system/system_log.h"
#include "platform/system/user_folders.h"

namespace platform {

std::string NormaliseKeyPath(std::string_view path) {
  std::string result;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!result.empty()) result.push_back('\\');
      result.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// The tree.

RegistryTree::RegistryTree() { keys_.emplace("", RegistryKeyEntry{}); }

RegistryKeyEntry* RegistryTree::Find(std::string_view path) {
  const auto found = keys_.find(AsciiLower(path));
  return found == keys_.end() ? nullptr : &found->second;
}

RegistryKeyEntry& RegistryTree::Create(std::string_view path) {
  // Each prefix ending before a "\" is a parent; the whole path is the key itself.
  size_t end = 0;
  RegistryKeyEntry* entry = &keys_.at("");
  while (end < path.size()) {
    end = path.find('\\', end + 1);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view prefix = path.substr(0, end);
    auto [position, inserted] = keys_.try_emplace(AsciiLower(prefix));
    if (inserted) position->second.path = std::string(prefix);
    entry = &position->second;
  }
  return *entry;
}

std::vector<std::string> RegistryTree::SubKeyNames(std::string_view path) const {
  std::vector<std::string> names;
  const std::string prefix = path.empty() ? std::string() : AsciiLower(path) + "\\";
  for (auto position = keys_.lower_bound(prefix); position != keys_.end(); ++position) {
    const std::string& folded = position->first;
    if (folded.compare(0, prefix.size(), prefix) != 0) break;
    if (folded.size() == prefix.size()) continue;  // the root itself
    if (folded.find('\\', prefix.size()) != std::string::npos) continue;
    names.push_back(position->second.path.substr(prefix.size()));
  }
  return names;
}

void RegistryTree::Erase(std::string_view path) {
  if (!path.empty()) keys_.erase(AsciiLower(path));
}

// ---------------------------------------------------------------------------------------------
// Text form.

namespace {

constexpr std::string_view kHeader = "TVKREG 1";
constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || c == '%' || c == '"') {
      out.push_back('%');
      out.push_back(kHexDigits[byte >> 4]);
      out.push_back(kHexDigits[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

void AppendHex(std::string& out, std::string_view bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(kHexDigits[byte >> 4]);
    out.push_back(kHexDigits[byte & 15]);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads a line of the file word by word. Every read checks its input; a failure leaves the
// reader failed and the whole file is treated as damaged.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool Word(std::string_view expected) {
    const std::string_view word = NextWord();
    return word == expected;
  }
  std::string_view NextWord() {
    SkipBlank();
    const size_t start = position_;
    while (position_ < line_.size() && line_[position_] != ' ') ++position_;
    return line_.substr(start, position_ - start);
  }
  bool Quoted(std::string* out) {
    SkipBlank();
    if (position_ >= line_.size() || line_[position_] != '"') return false;
    ++position_;
    out->clear();
    while (position_ < line_.size() && line_[position_] != '"') {
      char c = line_[position_++];
      if (c == '%') {
        if (position_ + 2 > line_.size()) return false;
        const int high = HexValue(line_[position_]);
        const int low = HexValue(line_[position_ + 1]);
        if (high < 0 || low < 0) return false;
        c = static_cast<char>(high * 16 + low);
        position_ += 2;
      }
      out->push_back(c);
    }
    if (position_ >= line_.size()) return false;
    ++position_;  // the closing quote
    return true;
  }
  bool AtEnd() {
    SkipBlank();
    return position_ == line_.size();
  }

 private:
  void SkipBlank() {
    if (position_ < line_.size() && line_[position_] == ' ') ++position_;
  }

  std::string_view line_;
  size_t position_ = 0;
};

bool ParseHexBytes(std::string_view hex, std::string* out) {
  if (hex.size() % 2 != 0) return false;
  out->clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    out->push_back(static_cast<char>(high * 16 + low));
  }
  return true;
}

bool ParseValueLine(LineReader& reader, RegistryValue* value) {
  if (!reader.Quoted(&value->name)) return false;
  const std::string_view type = reader.NextWord();
  if (type == "dword") {
    const std::string_view digits = reader.NextWord();
    if (digits.size() != 8) return false;
    uint32_t number = 0;
    for (const char c : digits) {
      const int digit = HexValue(c);
      if (digit < 0) return false;
      number = number * 16 + static_cast<uint32_t>(digit);
    }
    value->type = REG_DWORD;
    value->data.assign(reinterpret_cast<const char*>(&number), sizeof number);
  } else if (type == "sz") {
    value->type = REG_SZ;
    if (!reader.Quoted(&value->data)) return false;
  } else if (type == "binary") {
    value->type = REG_BINARY;
    std::string hex;
    if (!reader.Quoted(&hex) || !ParseHexBytes(hex, &value->data)) return false;
  } else {
    return false;
  }
  return reader.AtEnd();
}

}  // namespace

std::string RegistryTree::Serialize() const {
  std::string out(kHeader);
  out.push_back('\n');
  for (const auto& [folded, entry] : keys_) {
    if (folded.empty() && entry.values.empty()) continue;
    out += "key ";
    AppendQuoted(out, entry.path);
    out.push_back('\n');
    for (const RegistryValue& value : entry.values) {
      out += "value ";
      AppendQuoted(out, value.name);
      switch (value.type) {
        case REG_DWORD: {
          uint32_t number = 0;
          std::memcpy(&number, value.data.data(), sizeof number);
          char digits[16];
          std::snprintf(digits, sizeof digits, " dword %08X", number);
          out += digits;
          break;
        }
        case REG_SZ:
          out += " sz ";
          AppendQuoted(out, value.data);
          break;
        default:
          out += " binary \"";
          AppendHex(out, value.data);
          out.push_back('"');
          break;
      }
      out.push_back('\n');
    }
  }
  out += "end\n";
  return out;
}

std::optional<RegistryTree> RegistryTree::Parse(std::string_view text) {
  RegistryTree tree;
  RegistryKeyEntry* current = nullptr;
  std::set<std::string> keys_seen;
  bool header_seen = false;
  bool ended = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;  // every line ends in "\n"
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (ended) return std::nullopt;  // nothing may follow "end"
    if (!header_seen) {
      if (line != kHeader) return std::nullopt;
      header_seen = true;
      continue;
    }
    if (line == "end") {
      ended = true;
      continue;
    }
    LineReader reader(line);
    const std::string_view kind = reader.NextWord();
    if (kind == "key") {
      std::string path;
      if (!reader.Quoted(&path) || !reader.AtEnd()) return std::nullopt;
      if (path != NormaliseKeyPath(path)) return std::nullopt;
      if (!keys_seen.insert(AsciiLower(path)).second) return std::nullopt;  // the same key twice
      current = &tree.Create(path);
    } else if (kind == "value") {
      RegistryValue value;
      if (current == nullptr || !ParseValueLine(reader, &value)) return std::nullopt;
      for (const RegistryValue& other : current->values) {
        if (EqualsIgnoringCase(other.name, value.name)) return std::nullopt;  // the same value twice
      }
      current->values.push_back(std::move(value));
    } else {
      return std::nullopt;
    }
  }
  if (!ended) return std::nullopt;
  return tree;
}

// ---------------------------------------------------------------------------------------------
// The file.

namespace {

RegistryFile::ReadResult ReadWholeFile(const std::string& path, std::string* bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return errno == ENOENT ? RegistryFile::ReadResult::kMissing : RegistryFile::ReadResult::kUnreadable;
  }
  bytes->clear();
  char chunk[16384];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return RegistryFile::ReadResult::kUnreadable;
    }
    if (n == 0) break;
    bytes->append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return RegistryFile::ReadResult::kRead;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// Renames a damaged file to the first free name of "<file>.damaged", "<file>.damaged1", ... so
// that what it held stays for a person to look at. Runs under the file's lock.
void KeepDamagedFileAside(const std::string& path) {
  std::string aside = path + ".damaged";
  for (int number = 1; Exists(aside) && number < 1000; ++number) {
    aside = path + ".damaged" + std::to_string(number);
  }
  if (::rename(path.c_str(), aside.c_str()) == 0) {
    SystemLog("Registry file '%s' is damaged; kept as '%s', starting empty.\n", path.c_str(),
              aside.c_str());
  } else {
    SystemLog("Registry file '%s' is damaged and cannot be moved aside (%s).\n", path.c_str(),
              std::strerror(errno));
  }
}

// Reads and parses the file; a damaged file is moved aside and read as empty. Runs under the lock.
RegistryFile::ReadResult ReadTreeLocked(const std::string& path, RegistryTree* tree) {
  std::string bytes;
  const RegistryFile::ReadResult result = ReadWholeFile(path, &bytes);
  *tree = RegistryTree();
  if (result != RegistryFile::ReadResult::kRead) return result;
  std::optional<RegistryTree> parsed = RegistryTree::Parse(bytes);
  if (!parsed) {
    KeepDamagedFileAside(path);
    return RegistryFile::ReadResult::kDamaged;
  }
  *tree = std::move(*parsed);
  return result;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// Temporary file, flushed to disk, renamed over the old one, then the folder flushed so that the
// rename itself survives a power cut.
bool SaveAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

// Holds the lock file "<file>.lock" (the data file itself is replaced by each save, so it cannot
// carry the lock).
class FileLock {
 public:
  explicit FileLock(const std::string& path) {
    fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace

bool RegistryFile::Load(const std::string& path, RegistryTree* tree) {
  std::string bytes;
  const ReadResult result = ReadWholeFile(path, &bytes);
  *tree = RegistryTree();
  if (result == ReadResult::kMissing) return true;
  if (result == ReadResult::kUnreadable) return false;
  std::optional<RegistryTree> parsed = RegistryTree::Parse(bytes);
  if (parsed) {
    *tree = std::move(*parsed);
    return true;
  }
  // Damaged: look again under the lock (a save may have just replaced it) and move it aside.
  const int32_t result_of_update =
      Update(path, [&](RegistryTree& locked_tree, bool&) {
        *tree = locked_tree;
        return ERROR_SUCCESS;
      });
  return result_of_update == ERROR_SUCCESS;
}

int32_t RegistryFile::Update(const std::string& path,
                             const std::function<int32_t(RegistryTree& tree, bool& modified)>& change) {
  if (!EnsureFolder(FolderOf(path), 0700)) {
    SystemLog("Registry folder '%s' cannot be made.\n", FolderOf(path).c_str());
    return ERROR_CANTWRITE;
  }
  FileLock lock(path);
  if (!lock.Held()) return ERROR_CANTWRITE;
  RegistryTree tree;
  if (ReadTreeLocked(path, &tree) == ReadResult::kUnreadable) {
    SystemLog("Registry file '%s' cannot be read (%s).\n", path.c_str(), std::strerror(errno));
    return ERROR_CANTWRITE;
  }
  bool modified = false;
  const int32_t result = change(tree, modified);
  if (result != ERROR_SUCCESS || !modified) return result;
  if (!SaveAtomically(path, tree.Serialize())) {
    SystemLog("Registry file '%s' cannot be saved.\n", path.c_str());
    return ERROR_CANTWRITE;
  }
  return ERROR_SUCCESS;
}

}  // namespace platform
