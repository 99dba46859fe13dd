#include "launcher/shell_link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "platform/system/ascii_text.h"
#include "platform/system/paths.h"

namespace {

constexpr std::string_view kLinkExtension = ".lnk";
constexpr std::string_view kEntryExtension = ".desktop";

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && platform::EqualsIgnoringCase(text.substr(text.size() - end.size()), end);
}

// A value of the "string" kind of the format: backslash, line breaks and tabs are escaped, and a
// leading blank is kept.
std::string EscapeValue(std::string_view value) {
  std::string escaped;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      case '\r': escaped += "\\r"; break;
      case ' ': escaped += i == 0 ? "\\s" : " "; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string UnescapeValue(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's': text += ' '; break;
      case 'n': text += '\n'; break;
      case 't': text += '\t'; break;
      case 'r': text += '\r'; break;
      default: text += value[i];
    }
  }
  return text;
}

// One argument of an Exec line, always quoted: inside the quotes '"', '`', '$' and '\' take a
// backslash, and '%' is doubled so that it is not read as a field code.
std::string QuoteExecArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  return quoted + "\"";
}

// The first argument of an unescaped Exec line.
std::string FirstExecArgument(std::string_view exec) {
  std::string argument;
  size_t i = 0;
  if (!exec.empty() && exec[0] == '"') {
    for (i = 1; i < exec.size() && exec[i] != '"'; ++i) {
      if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
      argument += exec[i];
      if (exec[i] == '%' && i + 1 < exec.size() && exec[i + 1] == '%') ++i;
    }
    return argument;
  }
  for (; i < exec.size() && exec[i] != ' ' && exec[i] != '\t'; ++i) {
    argument += exec[i];
    if (exec[i] == '%' && i + 1 < exec.size() && exec[i + 1] == '%') ++i;
  }
  return argument;
}

bool IsUnreservedInUrl(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/';
}

std::string FileUrl(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreservedInUrl(byte)) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 15];
    }
  }
  return url;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path of a "file://" URL; empty when it is not one.
std::string PathOfFileUrl(std::string_view url) {
  constexpr std::string_view kScheme = "file://";
  if (url.substr(0, kScheme.size()) != kScheme) return {};
  std::string path;
  for (size_t i = kScheme.size(); i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size() && HexDigit(url[i + 1]) >= 0 && HexDigit(url[i + 2]) >= 0) {
      path += static_cast<char>(HexDigit(url[i + 1]) * 16 + HexDigit(url[i + 2]));
      i += 2;
    } else {
      path += url[i];
    }
  }
  return path;
}

bool IsProgramTarget(const std::string& target) { return EndsWithIgnoringCase(target, ".exe"); }

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string EntryText(const std::string& link_file, const std::string& target, const char* arguments,
                      const char* icon_file, const char* description) {
  std::string name = BaseName(link_file);
  if (EndsWithIgnoringCase(name, kEntryExtension)) name.resize(name.size() - kEntryExtension.size());
  std::string text = "[Desktop Entry]\n";
  if (IsProgramTarget(target)) {
    const std::string program = platform::NativeProgramPath(target);
    std::string exec = QuoteExecArgument(program);
    if (arguments != nullptr && arguments[0] != '\0') {
      exec += ' ';
      exec += QuoteExecArgument(arguments);
    }
    text += "Type=Application\n";
    text += "Exec=" + EscapeValue(exec) + "\n";
    const size_t slash = program.rfind('/');
    if (slash != std::string::npos) text += "Path=" + EscapeValue(program.substr(0, slash == 0 ? 1 : slash)) + "\n";
    text += "Terminal=false\n";
  } else {
    text += "Type=Link\n";
    text += "URL=" + EscapeValue(FileUrl(platform::NativePath(target))) + "\n";
  }
  text += "Name=" + EscapeValue(name) + "\n";
  const std::string comment = description != nullptr && description[0] != '\0' ? description : name;
  text += "Comment=" + EscapeValue(comment) + "\n";
  if (icon_file != nullptr && icon_file[0] != '\0') text += "Icon=" + EscapeValue(platform::NativePath(icon_file)) + "\n";
  return text;
}

bool WriteAll(int descriptor, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// Writes `text` to a temporary file beside `path` and renames it over `path`.
bool ReplaceFile(const std::string& path, const std::string& text) {
  const size_t slash = path.rfind('/');
  std::string temporary = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".entry-XXXXXX";
  const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, text) && ::fchmod(descriptor, 0755) == 0 && ::fsync(descriptor) == 0;
  if (::close(descriptor) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

// The value of `key` in the "[Desktop Entry]" group, unescaped; false when there is none.
bool ReadEntryValue(const std::string& link_file, const std::string& key, std::string* value) {
  std::ifstream in(link_file, std::ios::binary);
  if (!in) return false;
  bool in_group = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      in_group = line == "[Desktop Entry]";
      continue;
    }
    if (!in_group) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string name = line.substr(0, equals);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name != key) continue;
    size_t start = equals + 1;
    while (start < line.size() && line[start] == ' ') ++start;
    *value = UnescapeValue(std::string_view(line).substr(start));
    return true;
  }
  return false;
}

}  // namespace

std::string ShellLink_FilePath(const std::string& link_file) {
  std::string path = link_file;
  if (EndsWithIgnoringCase(path, kLinkExtension)) path.resize(path.size() - kLinkExtension.size());
  return path + std::string(kEntryExtension);
}

bool ShellLink_Create(const std::string& link_file, const std::string& target, const char* arguments,
                      const char* icon_file, const char* description, int /*icon_index*/) {
  if (link_file.empty() || target.empty()) return false;
  return ReplaceFile(link_file, EntryText(link_file, target, arguments, icon_file, description));
}

bool ShellLink_PointsTo(const std::string& link_file, const std::string& target) {
  std::string value;
  if (IsProgramTarget(target)) {
    return ReadEntryValue(link_file, "Exec", &value) && FirstExecArgument(value) == platform::NativeProgramPath(target);
  }
  return ReadEntryValue(link_file, "URL", &value) && PathOfFileUrl(value) == platform::NativePath(target);
}
