// The fuzz input as a file, for targets whose code under test reads a file by name. The file
// exists only while one input is being read; its name holds the process id, so fuzzers running
// side by side do not share it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class FuzzInputFile {
 public:
  // Writes the input to "/tmp/<target>.<process id><suffix>".
  FuzzInputFile(const char* target, const char* suffix, const uint8_t* data, size_t size)
      : path_(std::string("/tmp/") + target + "." + std::to_string(getpid()) + suffix), written_(Write(data, size)) {}
  ~FuzzInputFile() { std::remove(path_.c_str()); }
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  // False when the file could not be written whole; the input is then passed over.
  bool written() const { return written_; }
  const char* path() const { return path_.c_str(); }

 private:
  bool Write(const uint8_t* data, size_t size) const {
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
  }

  std::string path_;
  bool written_;
};
