// Reading one archive file: the signature (also behind a self-extracting program), the main
// header, the file headers of the old layout and of the block layout, comments, and the packed
// data of the current file, decrypted, with the checksum of what is unpacked from it.
//
// Every size and position taken from a header is checked against the archive's real length before
// anything is read or allocated on its behalf; a block that would reach past the end of the file
// ends the archive.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rar/rar_crypt.h"
#include "rar/unpack.h"

enum RarArchiveKind {
  RAR_KIND_NONE = 0,     // no signature found
  RAR_KIND_ARCHIVE = 1,
  RAR_KIND_VOLUME = 2,   // a volume, also a self-extracting one
  RAR_KIND_SFX = 3,      // behind a self-extracting program
};

// Main header flags (the old layout's flag byte uses the low bits the same way).
constexpr uint16_t RAR_MAIN_VOLUME = 0x01;
constexpr uint16_t RAR_MAIN_COMMENT = 0x02;
constexpr uint16_t RAR_MAIN_LOCKED = 0x04;
constexpr uint16_t RAR_MAIN_SOLID = 0x08;
constexpr uint16_t RAR_MAIN_AUTHENTICITY = 0x20;

// File header flags.
constexpr uint16_t RAR_FILE_SPLIT_BEFORE = 0x01;
constexpr uint16_t RAR_FILE_SPLIT_AFTER = 0x02;
constexpr uint16_t RAR_FILE_ENCRYPTED = 0x04;
constexpr uint16_t RAR_FILE_COMMENT = 0x08;
constexpr uint16_t RAR_FILE_SOLID = 0x10;
constexpr uint16_t RAR_FILE_DICTIONARY_BITS = 0xE0;  // all three set: a directory
constexpr uint16_t RAR_BLOCK_HAS_DATA = 0x8000;

// Block types.
constexpr uint8_t RAR_BLOCK_MAIN = 0x73;
constexpr uint8_t RAR_BLOCK_FILE = 0x74;
constexpr uint8_t RAR_BLOCK_COMMENT = 0x75;
constexpr uint8_t RAR_BLOCK_PROTECT = 0x78;

// Host systems.
constexpr int RAR_HOST_MSDOS = 0;
constexpr int RAR_HOST_OS2 = 1;
constexpr int RAR_HOST_WIN32 = 2;
constexpr int RAR_HOST_UNIX = 3;

// The stored method of a file ("0"); "1" to "5" are packed.
constexpr uint8_t RAR_METHOD_STORE = '0';

// One file entry, in the same form for both layouts.
struct RarFileHeader {
  static constexpr size_t kMaxNameLength = 259;

  int64_t block_start = 0;
  int64_t data_start = 0;   // first byte of the packed data
  uint16_t flags = 0;
  uint32_t packed_size = 0;
  uint32_t unpacked_size = 0;
  int host_os = RAR_HOST_MSDOS;
  uint32_t file_crc = 0;    // CRC-32, or the 16-bit checksum in the old layout
  uint32_t file_time = 0;   // MS-DOS date (high 16 bits) and time
  int unpack_version = 0;
  uint8_t method = RAR_METHOD_STORE;
  uint32_t attributes = 0;  // as the host system stored them
  std::string name;         // "\" between folders, at most kMaxNameLength bytes, no NUL
  bool header_broken = false;
  int64_t comment_start = 0;  // file comment block (flag RAR_FILE_COMMENT); 0 = none
  int64_t comment_end = 0;

  [[nodiscard]] bool IsDirectory() const;
  [[nodiscard]] bool IsVolumeLabel() const;
  [[nodiscard]] bool IsEncrypted() const { return (flags & RAR_FILE_ENCRYPTED) != 0; }
};

class RarArchiveClass final : public RarUnpackIO {
 public:
  // What reading a comment gave.
  enum CommentStatus { COMMENT_OK, COMMENT_HEADER_BROKEN, COMMENT_BROKEN, COMMENT_NO_MEMORY };

  RarArchiveClass() = default;
  ~RarArchiveClass() override;
  RarArchiveClass(const RarArchiveClass&) = delete;
  RarArchiveClass& operator=(const RarArchiveClass&) = delete;

  // Opens the file for reading; false when it cannot be opened.
  [[nodiscard]] bool Open(const std::string& path);

  // Finds the signature and reads the main header. Returns a RarArchiveKind.
  [[nodiscard]] int LoadMainHeader();
  [[nodiscard]] uint16_t MainFlags() const { return main_flags_; }
  [[nodiscard]] bool IsSolid() const { return (main_flags_ & RAR_MAIN_SOLID) != 0; }
  [[nodiscard]] bool IsOldLayout() const { return old_layout_; }

  // Positions the header walk at the first block after the main header.
  void SeekFirstBlock() { cursor_ = first_block_; }

  // Reads the next file header, passing over blocks of other types. Returns the bytes of the
  // header, 0 at the end of the archive or on a header that cannot be read.
  [[nodiscard]] int LoadFileHeader();
  [[nodiscard]] const RarFileHeader& FileHeader() const { return header_; }

  // Shows the archive comment, or the current file's comment, through the message sink unless
  // comments are switched off.
  void ShowArchiveComment();
  void ShowFileComment();
  // Reads a comment into `text`; exposed for the listing.
  [[nodiscard]] CommentStatus ReadArchiveComment(std::string* text);
  [[nodiscard]] CommentStatus ReadFileComment(std::string* text);

  // A flag that another thread may raise to stop the current file's data between pieces: once it
  // is seen, packed reads fail and unpacked bytes are no longer written. nullptr = never.
  void SetAbortFlag(const std::atomic<bool>* flag) { abort_flag_ = flag; }
  [[nodiscard]] bool Aborted() const {
    return abort_flag_ != nullptr && abort_flag_->load(std::memory_order_acquire);
  }

  // Prepares reading the current file's packed data: unpacked bytes go to `output_fd` (-1 = only
  // checked); `password` (nullptr when the file is not encrypted) keys the decryption.
  void BeginFileData(int output_fd, const char* password);
  // Copies a stored file of the current header through `buffer`.
  void CopyStoredFile(uint8_t* buffer, size_t buffer_size);
  [[nodiscard]] bool ChecksumMatches() const;
  [[nodiscard]] bool WriteFailed() const { return write_failed_; }

  int ReadPackedData(uint8_t* buffer, int count) override;
  void WriteUnpacked(const uint8_t* buffer, int count) override;

 private:
  // Bytes actually read at `position` (short at the end of the file).
  size_t ReadAt(int64_t position, void* buffer, size_t count);
  [[nodiscard]] int FindSignature(int64_t* start, bool* old_layout);
  [[nodiscard]] int LoadBlockFileHeader();
  [[nodiscard]] int LoadOldFileHeader();
  void FinishName(std::string name);
  [[nodiscard]] CommentStatus ReadCommentBlock(int64_t start, int64_t end, std::string* text);
  void ShowComment(CommentStatus status, const std::string& text, bool file_comment);
  int ReadPlainPacked(uint8_t* buffer, size_t count);

  int fd_ = -1;
  int64_t length_ = 0;
  const std::atomic<bool>* abort_flag_ = nullptr;
  bool old_layout_ = false;
  uint16_t main_flags_ = 0;
  int64_t main_start_ = 0;
  int64_t first_block_ = 0;
  int64_t cursor_ = 0;
  RarFileHeader header_;

  // The current file's data.
  int64_t data_position_ = 0;
  int64_t packed_left_ = 0;
  int output_fd_ = -1;
  bool write_failed_ = false;
  uint32_t crc_ = 0;
  uint16_t old_checksum_ = 0;
  bool decrypting_ = false;
  RarCryptClass crypt_;
  // Decrypted bytes of the block cipher not handed out yet.
  std::vector<uint8_t> staged_;
  size_t staged_position_ = 0;
};
