// "root.fc": the launcher's cache of installed files already found good, so that an upgrade check
// does not read them again. One text line per file: the quoted local path, the size and the
// seeded CRC-32, both decimal. The client deletes the file when it asks for an upgrade.
//
// The upgrade thread owns the cache while it checks the install.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct FileCacheEntry {
  std::string path;  // local folder + name, as the meta file gives them
  long size = 0;
  unsigned long crc = 0;
};

// Reads the cache file; a missing file is an empty cache. Reading stops quietly at the first
// incomplete line.
std::vector<FileCacheEntry> LoadFileCache(const char* file_name);
// The same from an open stream, which stays open.
std::vector<FileCacheEntry> LoadFileCacheStream(std::FILE* stream);

// The line the cache holds for a file, CR LF ended.
std::string FileCacheLine(const std::string& path, uint32_t size, uint32_t crc);

// Results of CheckLocalFile.
enum : int {
  LOCALFILE_GOOD = 0,
  LOCALFILE_MISSING = 1,
  LOCALFILE_SIZE_DIFFERS = 2,
  LOCALFILE_CRC_DIFFERS = 3,
  LOCALFILE_ABORTED = 1000,
};

// Whether the installed file at `path` has `size` bytes and the seeded CRC-32 `crc`. A cache
// entry for the same path (compared without regard to letter case; the first one counts) with
// that size and CRC answers without reading the file. Otherwise the file is read through
// `buffer` piece by piece; `abort` is tested between pieces. A file of 0 bytes needs no CRC.
[[nodiscard]] int CheckLocalFile(const std::string& path, uint32_t size, uint32_t crc,
                                 const std::vector<FileCacheEntry>& cache, uint8_t* buffer, size_t buffer_size,
                                 const std::atomic<bool>& abort);

// The seeded CRC-32 and length of a file read through `buffer`. False when the file cannot be
// read or `abort` was raised.
[[nodiscard]] bool FileCrc32(const std::string& path, uint8_t* buffer, size_t buffer_size,
                             const std::atomic<bool>& abort, uint64_t* length, uint32_t* crc);
