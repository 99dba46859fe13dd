#include "launcher/file_cache.h"

#include <new>

#include "cclient/net/packet_frame.h"
#include "launcher/root_ini.h"
#include "platform/system/ascii_text.h"
#include "platform/system/files.h"

namespace {

const FileCacheEntry* FindCachedFile(const std::vector<FileCacheEntry>& cache, const std::string& path) {
  for (const FileCacheEntry& entry : cache) {
    if (platform::EqualsIgnoringCase(entry.path, path)) return &entry;
  }
  return nullptr;
}

}  // namespace

std::vector<FileCacheEntry> LoadFileCacheStream(std::FILE* stream) {
  std::vector<FileCacheEntry> cache;
  for (;;) {
    char path[kRootIniPathSize];
    FileCacheEntry entry;
    if (ReadToken(stream, path, sizeof path) != 0) break;
    if (ReadLong(stream, &entry.size) != 0) break;
    if (ReadULong(stream, &entry.crc) != 0) break;
    entry.path = path;
    try {
      cache.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
      break;  // a shorter cache only means more files are read
    }
  }
  return cache;
}

std::vector<FileCacheEntry> LoadFileCache(const char* file_name) {
  std::FILE* stream = platform::FileOpen(file_name, "rb");
  if (stream == nullptr) return {};
  std::vector<FileCacheEntry> cache = LoadFileCacheStream(stream);
  std::fclose(stream);
  return cache;
}

std::string FileCacheLine(const std::string& path, uint32_t size, uint32_t crc) {
  return "\"" + path + "\" " + std::to_string(size) + " " + std::to_string(crc) + "\r\n";
}

bool FileCrc32(const std::string& path, uint8_t* buffer, size_t buffer_size, const std::atomic<bool>& abort,
               uint64_t* length, uint32_t* crc) {
  std::FILE* stream = platform::FileOpen(path, "rb");
  if (stream == nullptr) return false;
  uint32_t register_value = kPacketCrcSeed;
  uint64_t total = 0;
  bool good = true;
  for (;;) {
    if (abort.load(std::memory_order_acquire)) {
      good = false;
      break;
    }
    const size_t read = std::fread(buffer, 1, buffer_size, stream);
    register_value = PacketCrc32Update(register_value, buffer, read);
    total += read;
    if (read < buffer_size) {
      good = std::ferror(stream) == 0;
      break;
    }
  }
  std::fclose(stream);
  *length = total;
  *crc = register_value;
  return good;
}

int CheckLocalFile(const std::string& path, uint32_t size, uint32_t crc, const std::vector<FileCacheEntry>& cache,
                   uint8_t* buffer, size_t buffer_size, const std::atomic<bool>& abort) {
  const FileCacheEntry* cached = FindCachedFile(cache, path);
  if (cached != nullptr && cached->size == static_cast<long>(size) && cached->crc == crc) return LOCALFILE_GOOD;
  const platform::FileInfo info = platform::GetFileInfo(path);
  if (!info.exists || info.is_folder) return LOCALFILE_MISSING;
  if (info.size != size) return LOCALFILE_SIZE_DIFFERS;
  if (size == 0) return LOCALFILE_GOOD;
  uint64_t length = 0;
  uint32_t file_crc = 0;
  if (!FileCrc32(path, buffer, buffer_size, abort, &length, &file_crc)) {
    return abort.load(std::memory_order_acquire) ? LOCALFILE_ABORTED : LOCALFILE_MISSING;
  }
  if (length != size) return LOCALFILE_SIZE_DIFFERS;
  return file_crc == crc ? LOCALFILE_GOOD : LOCALFILE_CRC_DIFFERS;
}
