// Output files of the extractor: paths below the destination folder, missing folders, the file
// itself, its mode bits, and the time rules of freshen and update. Plain POSIX file calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// The destination folder followed by `name` (a cleaned archive name, "\" between folders) in the
// file system's form. Only the name part is used unless `keep_folders`.
[[nodiscard]] std::string RarOutputPath(const std::string& destination, std::string_view name,
                                        bool keep_folders);

// Creates every missing folder that leads to `path` (not `path` itself), reporting each one.
// False when one could not be made.
bool MakePathDirs(const std::string& path);

// Creates the folder `path` and its missing parents. An existing folder counts as made.
[[nodiscard]] bool RarMakeFolder(const std::string& path);

[[nodiscard]] bool RarPathExists(const std::string& path);

// A local time in the MS-DOS format archives store (date in the high 16 bits, two-second units).
[[nodiscard]] std::time_t RarDosTimeToUnix(uint32_t dos_time);

// The freshen and update rules: false when an existing output file is not older than the archived
// copy, and, when `freshen_only`, when it does not exist.
[[nodiscard]] bool RarShouldReplace(const std::string& path, uint32_t dos_time, bool freshen_only);

// The mode an extracted file gets. A Unix-made entry keeps its permission bits except that nobody
// but the owner may write (as a umask of 022 gives), setuid, setgid and sticky are dropped, and the
// owner may always read and write it; everything else, and a Unix entry of a special kind (see
// RarIsSpecialUnixMode), gets 0644.
[[nodiscard]] unsigned RarOutputMode(int host_os, uint32_t attributes);

// True when a Unix mode names a kind of file other than a plain file or a folder: a symbolic
// link, a device, a pipe or a socket. Such an entry is written as a plain file holding its data.
[[nodiscard]] bool RarIsSpecialUnixMode(uint32_t attributes);

// One output file, opened for writing and closed on every way out.
class RarOutputFile {
 public:
  RarOutputFile() = default;
  ~RarOutputFile();
  RarOutputFile(const RarOutputFile&) = delete;
  RarOutputFile& operator=(const RarOutputFile&) = delete;

  // Creates (or truncates) `path`; when that fails, makes the missing folders and tries once more.
  [[nodiscard]] bool Create(const std::string& path);
  [[nodiscard]] int Descriptor() const { return fd_; }
  // False when the data did not reach the file.
  [[nodiscard]] bool Close();

 private:
  int fd_ = -1;
};

// Writes all `count` bytes to the descriptor; false on failure.
[[nodiscard]] bool RarWriteAll(int fd, const void* bytes, size_t count);
