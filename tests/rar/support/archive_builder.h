// Writes archives for the extractor's tests, in the block layout (format 1.5 - 2.0) or the old
// layout. Files go in as their packed bytes with every header field given, so stored files,
// encrypted files and streams made by a test-side encoder all fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 15 June 2020, 12:30:00 in the MS-DOS format (date in the high 16 bits).
constexpr uint32_t kRarTestTime = (uint32_t{(2020 - 1980) << 9 | 6 << 5 | 15} << 16) | (12 << 11 | 30 << 5);

// Packs a local date and time into the MS-DOS format.
uint32_t RarDosTime(int year, int month, int day, int hour, int minute, int second);

// One file header and its data. Defaults make a stored, unencrypted MS-DOS file of version 2.0.
struct RarEntry {
  std::string name;
  std::string packed;          // the bytes after the header
  uint32_t unpacked_size = 0;
  uint32_t crc = 0;            // as stored: CRC-32, or the 16-bit checksum in the old layout
  int unpack_version = 20;     // old layout: the stored byte (2 means 1.3)
  uint8_t method = '0';        // old layout: 0-7
  uint16_t flags = 0;
  uint8_t host_os = 0;
  uint32_t attributes = 0x20;
  uint32_t file_time = kRarTestTime;
  std::string comment;         // a stored file comment (block layout); sets flag 0x08
  // Bytes after the name inside the header (extended times and the like), and what the header's
  // check word covers: the fixed fields and the name, or the whole header.
  std::string extra_header;
  bool crc_over_whole_header = false;
  bool break_header_crc = false;
  // Size fields written as given instead of from `packed` and the name (for damaged archives).
  int64_t packed_size_override = -1;
  int name_size_override = -1;
};

// A stored file with its CRC-32.
RarEntry RarStoredEntry(const std::string& name, const std::string& data);
// A stored file encrypted with the cipher of `unpack_version`; its CRC is that of the plain data.
RarEntry RarEncryptedStoredEntry(const std::string& name, const std::string& data, const std::string& password,
                                 int unpack_version);
// A directory entry (dictionary bits all set, directory attribute).
RarEntry RarDirectoryEntry(const std::string& name);
// A stored old-layout file with its 16-bit checksum (stored version byte 2).
RarEntry RarOldStoredEntry(const std::string& name, const std::string& data);

// The 16-bit checksum of old-layout files.
uint16_t RarOldChecksum16(const std::string& data);
// The CRC-32 archives store for data.
uint32_t RarDataCrc(const std::string& data);

// A comment block: block head, unpacked size, version, method and check word, then the bytes.
std::string RarCommentBlock(const std::string& text, bool break_header_crc = false, bool break_text_check = false);
// A packed comment block made from already-packed bytes.
std::string RarPackedCommentBlock(const std::string& packed, const std::string& text, int unpack_version,
                                  uint8_t method);

class RarArchiveBuilder {
 public:
  enum Layout { BLOCK_LAYOUT, OLD_LAYOUT };

  explicit RarArchiveBuilder(Layout layout = BLOCK_LAYOUT) : layout_(layout) {}

  // Main header flags: 0x01 volume, 0x04 locked, 0x08 solid, 0x20 authenticity. 0x02 is set by
  // SetComment.
  RarArchiveBuilder& SetMainFlags(uint16_t flags);
  // A stored archive comment inside the main header.
  RarArchiveBuilder& SetComment(const std::string& text);
  // An archive comment block given whole (see RarCommentBlock).
  RarArchiveBuilder& SetCommentBlock(const std::string& block);
  RarArchiveBuilder& BreakMainHeaderCrc();
  // Bytes before the signature, as a self-extracting program would be.
  RarArchiveBuilder& SetPrefix(const std::string& bytes);

  RarArchiveBuilder& AddFile(const RarEntry& entry);
  RarArchiveBuilder& AddFile(const std::string& name, const std::string& packed, uint32_t unpacked_size,
                             uint32_t crc, int unpack_version, uint8_t method, uint16_t flags = 0);
  // A block of any type (block layout): `extra` follows the 7-byte head inside the header; with
  // `data` not empty the data-size flag is set and the data follows the header.
  RarArchiveBuilder& AddBlock(uint8_t type, uint16_t flags, const std::string& extra, const std::string& data);
  // A recovery record block with `sectors` recovery sectors over `data`.
  RarArchiveBuilder& AddRecoveryRecord(uint16_t sectors, const std::string& data);

  [[nodiscard]] std::string Build() const;

 private:
  [[nodiscard]] std::string BlockFileHeader(const RarEntry& entry) const;
  [[nodiscard]] std::string OldFileHeader(const RarEntry& entry) const;

  Layout layout_;
  uint16_t main_flags_ = 0;
  std::string comment_block_;
  bool break_main_crc_ = false;
  std::string prefix_;
  std::vector<std::string> blocks_;
};
