#include "rar/rar_archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <new>

#include "rar/rar_checksum.h"
#include "rar/rar_messages.h"
#include "rar/rar_output.h"
#include "rar/rar_switches.h"

namespace {

constexpr uint8_t kBlockSignature[7] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
constexpr uint8_t kOldSignature[4] = {'R', 'E', '~', '^'};
constexpr uint8_t kOldSfxMark[4] = {'R', 'S', 'F', 'X'};
constexpr int64_t kOldSfxMarkOffset = 28;
// How far into a self-extracting program the signature is looked for.
constexpr size_t kSignatureSearchBytes = 131056;

constexpr size_t kBlockHeadSize = 7;         // CRC, type, flags, size
constexpr size_t kMainHeaderSize = 13;
constexpr size_t kMainCrcBytes = 11;
constexpr size_t kFileFixedSize = 32;
constexpr size_t kOldFileFixedSize = 21;
constexpr size_t kOldMainHeaderSize = 7;
constexpr size_t kCommentHeaderSize = 13;
constexpr size_t kCommentCrcBytes = 11;
constexpr unsigned kOldMaxNameSize = 80;
constexpr unsigned kOldMaxMethod = 7;
constexpr unsigned kOldMaxVersion = 20;
constexpr uint16_t kOldCommentFlag = 0x08;

constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeVolumeLabel = 0x08;

// Packed bytes read at a time for the block cipher: a whole number of 16-byte blocks.
constexpr size_t kStagedBytes = 8192;

uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// Feeds a packed comment, held in memory, to its own unpacker.
class CommentUnpackIO final : public RarUnpackIO {
 public:
  CommentUnpackIO(const std::vector<uint8_t>& packed, size_t unpacked_size)
      : packed_(packed), limit_(unpacked_size) {}

  int ReadPackedData(uint8_t* buffer, int count) override {
    if (count <= 0) return 0;
    size_t piece = std::min(static_cast<size_t>(count), packed_.size() - position_);
    std::memcpy(buffer, packed_.data() + position_, piece);
    position_ += piece;
    return static_cast<int>(piece);
  }

  void WriteUnpacked(const uint8_t* buffer, int count) override {
    if (count <= 0) return;
    size_t piece = std::min(static_cast<size_t>(count), limit_ - text_.size());
    text_.append(reinterpret_cast<const char*>(buffer), piece);
  }

  std::string& Text() { return text_; }

 private:
  const std::vector<uint8_t>& packed_;
  size_t position_ = 0;
  size_t limit_;
  std::string text_;
};

}  // namespace

bool RarFileHeader::IsDirectory() const {
  if ((flags & RAR_FILE_DICTIONARY_BITS) == RAR_FILE_DICTIONARY_BITS) return true;
  return host_os != RAR_HOST_UNIX && (attributes & kAttributeDirectory) != 0;
}

bool RarFileHeader::IsVolumeLabel() const {
  return host_os != RAR_HOST_UNIX && (attributes & kAttributeVolumeLabel) != 0;
}

RarArchiveClass::~RarArchiveClass() {
  if (fd_ >= 0) ::close(fd_);
}

bool RarArchiveClass::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat info;
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  length_ = info.st_size;
  return true;
}

size_t RarArchiveClass::ReadAt(int64_t position, void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(position + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

int RarArchiveClass::FindSignature(int64_t* start, bool* old_layout) {
  uint8_t head[kBlockHeadSize];
  size_t got = ReadAt(0, head, sizeof head);
  if (got >= sizeof kOldSignature && std::memcmp(head, kOldSignature, sizeof kOldSignature) == 0) {
    *start = 0;
    *old_layout = true;
    return RAR_KIND_ARCHIVE;
  }
  if (got == sizeof head && std::memcmp(head, kBlockSignature, sizeof kBlockSignature) == 0) {
    *start = 0;
    *old_layout = false;
    return RAR_KIND_ARCHIVE;
  }

  // A signature that starts at the last place searched is read whole: the window reaches that
  // far beyond the searched bytes.
  std::vector<uint8_t> window;
  try {
    window.resize(kBlockHeadSize + kSignatureSearchBytes + sizeof kBlockSignature - 1);
  } catch (const std::bad_alloc&) {
    return RAR_KIND_NONE;
  }
  size_t size = ReadAt(0, window.data(), window.size());
  bool old_sfx_marked = size >= kOldSfxMarkOffset + sizeof kOldSfxMark &&
                        std::memcmp(window.data() + kOldSfxMarkOffset, kOldSfxMark, sizeof kOldSfxMark) == 0;
  // The search covers the bytes after the seven already looked at.
  const size_t search_end = std::min(size, kBlockHeadSize + kSignatureSearchBytes);
  for (size_t at = kBlockHeadSize; at < search_end; ++at) {
    if (window[at] != 'R') continue;
    size_t left = size - at;
    if (old_sfx_marked && left >= sizeof kOldSignature &&
        std::memcmp(window.data() + at, kOldSignature, sizeof kOldSignature) == 0) {
      *start = static_cast<int64_t>(at);
      *old_layout = true;
      return RAR_KIND_SFX;
    }
    if (left >= sizeof kBlockSignature &&
        std::memcmp(window.data() + at, kBlockSignature, sizeof kBlockSignature) == 0) {
      *start = static_cast<int64_t>(at);
      *old_layout = false;
      return RAR_KIND_SFX;
    }
  }
  return RAR_KIND_NONE;
}

int RarArchiveClass::LoadMainHeader() {
  if (fd_ < 0) return RAR_KIND_NONE;
  int64_t start = 0;
  int kind = FindSignature(&start, &old_layout_);
  if (kind == RAR_KIND_NONE) return RAR_KIND_NONE;

  if (old_layout_) {
    uint8_t head[kOldMainHeaderSize];
    if (ReadAt(start, head, sizeof head) != sizeof head) return RAR_KIND_NONE;
    uint16_t header_size = LoadLE16(head + 4);
    if (header_size < kOldMainHeaderSize || start + header_size > length_) return RAR_KIND_NONE;
    main_flags_ = head[6] & 0x3F;
    main_start_ = start;
    first_block_ = start + header_size;
  } else {
    uint8_t head[kMainHeaderSize];
    int64_t main_start = start + static_cast<int64_t>(sizeof kBlockSignature);
    if (ReadAt(main_start, head, sizeof head) != sizeof head) return RAR_KIND_NONE;
    uint16_t header_size = LoadLE16(head + 5);
    if (header_size < kMainHeaderSize || main_start + header_size > length_) return RAR_KIND_NONE;
    if (RarHeaderCrc16(head + 2, kMainCrcBytes) != LoadLE16(head)) {
      RarMessage("\n\n%s", "Archive header broken");
    }
    main_flags_ = LoadLE16(head + 3);
    main_start_ = main_start;
    first_block_ = main_start + header_size;
  }
  cursor_ = first_block_;
  if (main_flags_ & RAR_MAIN_VOLUME) return RAR_KIND_VOLUME;
  return kind;
}

int RarArchiveClass::LoadFileHeader() {
  if (fd_ < 0) return 0;
  return old_layout_ ? LoadOldFileHeader() : LoadBlockFileHeader();
}

void RarArchiveClass::FinishName(std::string name) {
  size_t nul = name.find('\0');
  if (nul != std::string::npos) name.resize(nul);
  const RarSwitches& switches = RarSwitchState();
  for (char& ch : name) {
    if (switches.name_case == RAR_CASE_LOWER) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (switches.name_case == RAR_CASE_UPPER) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (ch == '/') ch = '\\';
  }
  header_.name = std::move(name);
}

int RarArchiveClass::LoadBlockFileHeader() {
  for (;;) {
    int64_t start = cursor_;
    if (start >= length_) return 0;
    uint8_t head[kFileFixedSize];
    size_t got = ReadAt(start, head, kBlockHeadSize);
    if (got < kBlockHeadSize) {
      RarMessage("\n%s\n", "Unexpected end of archive");
      return 0;
    }
    uint8_t type = head[2];
    uint16_t flags = LoadLE16(head + 3);
    uint16_t header_size = LoadLE16(head + 5);
    if (header_size < kBlockHeadSize) return 0;

    int64_t data_size = 0;
    bool is_file = type == RAR_BLOCK_FILE;
    if (is_file || (flags & RAR_BLOCK_HAS_DATA)) {
      // A file block always carries its packed size; others only with the data flag.
      size_t fixed = is_file ? kFileFixedSize : kBlockHeadSize + 4;
      if (header_size < fixed) {
        if (is_file) RarMessage("\n%s - %s\n", "", "file header broken");
        return 0;
      }
      if (ReadAt(start + kBlockHeadSize, head + kBlockHeadSize, fixed - kBlockHeadSize) !=
          fixed - kBlockHeadSize) {
        RarMessage("\n%s\n", "Unexpected end of archive");
        return 0;
      }
      data_size = LoadLE32(head + kBlockHeadSize);
    }
    int64_t next = start + header_size + data_size;
    if (next > length_) {
      RarMessage("\n%s\n", "Unexpected end of archive");
      return 0;
    }
    if (!is_file) {
      cursor_ = next;
      continue;
    }

    std::vector<uint8_t> block(header_size);
    std::memcpy(block.data(), head, kFileFixedSize);
    if (ReadAt(start + kFileFixedSize, block.data() + kFileFixedSize, header_size - kFileFixedSize) !=
        header_size - kFileFixedSize) {
      RarMessage("\n%s\n", "Unexpected end of archive");
      return 0;
    }
    uint16_t name_size = LoadLE16(block.data() + 26);
    size_t name_end = kFileFixedSize + name_size;
    if (name_end > header_size) {
      std::string partial(reinterpret_cast<const char*>(block.data() + kFileFixedSize),
                          std::min<size_t>(header_size - kFileFixedSize, RarFileHeader::kMaxNameLength));
      RarMessage("\n%s - %s\n", partial.c_str(), "file header broken");
      return 0;
    }

    header_ = RarFileHeader{};
    header_.block_start = start;
    header_.data_start = start + header_size;
    header_.flags = flags;
    header_.packed_size = LoadLE32(block.data() + 7);
    header_.unpacked_size = LoadLE32(block.data() + 11);
    header_.host_os = block[15] > RAR_HOST_UNIX ? RAR_HOST_MSDOS : block[15];
    header_.file_crc = LoadLE32(block.data() + 16);
    header_.file_time = LoadLE32(block.data() + 20);
    header_.unpack_version = block[24];
    header_.method = block[25];
    header_.attributes = LoadLE32(block.data() + 28);
    FinishName(std::string(reinterpret_cast<const char*>(block.data() + kFileFixedSize),
                           std::min<size_t>(name_size, RarFileHeader::kMaxNameLength)));
    // The check word covers the fixed fields and the name; archivers that put more fields after
    // the name (extended times and the like) cover the whole header instead. Either is whole.
    const uint16_t stored_crc = LoadLE16(block.data());
    if (RarHeaderCrc16(block.data() + 2, name_end - 2) != stored_crc &&
        RarHeaderCrc16(block.data() + 2, header_size - 2u) != stored_crc) {
      header_.header_broken = true;
      RarMessage("\n%s - %s\n", header_.name.c_str(), "file header broken");
    }
    if (flags & RAR_FILE_COMMENT) {
      header_.comment_start = start + static_cast<int64_t>(name_end);
      header_.comment_end = start + header_size;
    }
    cursor_ = next;
    return header_size;
  }
}

int RarArchiveClass::LoadOldFileHeader() {
  int64_t start = cursor_;
  if (start >= length_) return 0;
  uint8_t head[kOldFileFixedSize];
  if (ReadAt(start, head, sizeof head) != sizeof head) {
    RarMessage("\n%s\n", "Unexpected end of archive");
    return 0;
  }
  uint32_t packed_size = LoadLE32(head);
  uint16_t header_size = LoadLE16(head + 10);
  uint8_t flags = head[17];
  uint8_t version = head[18];
  uint8_t name_size = head[19];
  uint8_t method = head[20];
  if (method > kOldMaxMethod || name_size == 0 || name_size > kOldMaxNameSize || version == 0 ||
      version > kOldMaxVersion || header_size < kOldFileFixedSize + 1 ||
      header_size < kOldFileFixedSize + name_size ||
      (flags < kOldCommentFlag && header_size != name_size + kOldFileFixedSize)) {
    return 0;
  }
  int64_t next = start + header_size + static_cast<int64_t>(packed_size);
  if (next > length_) {
    RarMessage("\n%s\n", "Unexpected end of archive");
    return 0;
  }
  char name[kOldMaxNameSize];
  if (ReadAt(start + kOldFileFixedSize, name, name_size) != name_size) {
    RarMessage("\n%s\n", "Unexpected end of archive");
    return 0;
  }
  header_ = RarFileHeader{};
  header_.block_start = start;
  header_.data_start = start + header_size;
  header_.flags = flags;
  header_.packed_size = packed_size;
  header_.unpacked_size = LoadLE32(head + 4);
  header_.host_os = RAR_HOST_MSDOS;
  header_.file_crc = LoadLE16(head + 8);
  header_.file_time = LoadLE32(head + 12);
  header_.attributes = head[16];
  header_.unpack_version = version == 2 ? 13 : 10;
  header_.method = static_cast<uint8_t>('0' + method);
  FinishName(std::string(name, name_size));
  cursor_ = next;
  return header_size;
}

RarArchiveClass::CommentStatus RarArchiveClass::ReadArchiveComment(std::string* text) {
  return ReadCommentBlock(main_start_ + static_cast<int64_t>(kMainHeaderSize), length_, text);
}

RarArchiveClass::CommentStatus RarArchiveClass::ReadFileComment(std::string* text) {
  return ReadCommentBlock(header_.comment_start, header_.comment_end, text);
}

// A comment block: the block head (CRC, type 0x75, flags, size), then the unpacked size u16, the
// unpack version u8, the method u8 and the comment's check word u16 (low 16 bits of the text's
// CRC-32); the head's CRC covers the 11 bytes after it. The comment's bytes fill the rest of the
// block, inside the header that holds it.
RarArchiveClass::CommentStatus RarArchiveClass::ReadCommentBlock(int64_t start, int64_t end,
                                                                 std::string* text) {
  text->clear();
  end = std::min(end, length_);
  uint8_t head[kCommentHeaderSize];
  if (start <= 0 || start + static_cast<int64_t>(kCommentHeaderSize) > end ||
      ReadAt(start, head, sizeof head) != sizeof head) {
    return COMMENT_HEADER_BROKEN;
  }
  uint16_t block_size = LoadLE16(head + 5);
  if (head[2] != RAR_BLOCK_COMMENT || block_size < kCommentHeaderSize || start + block_size > end ||
      RarHeaderCrc16(head + 2, kCommentCrcBytes) != LoadLE16(head)) {
    return COMMENT_HEADER_BROKEN;
  }
  size_t unpacked_size = LoadLE16(head + 7);
  int version = head[9];
  uint8_t method = head[10];
  uint16_t check = LoadLE16(head + 11);

  std::vector<uint8_t> packed(block_size - kCommentHeaderSize);
  if (ReadAt(start + kCommentHeaderSize, packed.data(), packed.size()) != packed.size()) {
    return COMMENT_BROKEN;
  }
  if (method == RAR_METHOD_STORE) {
    if (unpacked_size > packed.size()) return COMMENT_BROKEN;
    text->assign(reinterpret_cast<const char*>(packed.data()), unpacked_size);
  } else {
    CommentUnpackIO io(packed, unpacked_size);
    std::unique_ptr<Unpacker> unpacker = CreateUnpacker(&io);
    if (!unpacker) return COMMENT_NO_MEMORY;
    UnpackResult result = unpacker->Unpack(version, static_cast<int64_t>(unpacked_size), false);
    if (result == UNPACK_NO_MEMORY) return COMMENT_NO_MEMORY;
    if (result != UNPACK_OK || io.Text().size() != unpacked_size) return COMMENT_BROKEN;
    *text = std::move(io.Text());
  }
  if (RarHeaderCrc16(text->data(), text->size()) != check) return COMMENT_BROKEN;
  return COMMENT_OK;
}

void RarArchiveClass::ShowComment(CommentStatus status, const std::string& text, bool file_comment) {
  switch (status) {
    case COMMENT_OK:
      RarMessage("\n");
      RarMessage_Text(text.data(), text.size());
      RarMessage("\n");
      break;
    case COMMENT_HEADER_BROKEN:
      RarMessage("\n%s\n", "Comment header broken");
      break;
    case COMMENT_BROKEN:
      RarMessage("\n%s\n", file_comment ? "File comment broken" : "Comment broken");
      break;
    case COMMENT_NO_MEMORY:
      RarMessage("\nWARNING: Not enough memory to extract comment\n");
      break;
  }
}

void RarArchiveClass::ShowArchiveComment() {
  // Comments of the old layout are kept in a form this reader does not decode; they are passed
  // over with the main header.
  if (old_layout_ || !(main_flags_ & RAR_MAIN_COMMENT) || !RarSwitchState().show_comments) return;
  std::string text;
  CommentStatus status = ReadArchiveComment(&text);
  ShowComment(status, text, false);
}

void RarArchiveClass::ShowFileComment() {
  if (old_layout_ || header_.comment_start == 0 || !RarSwitchState().show_comments) return;
  std::string text;
  CommentStatus status = ReadFileComment(&text);
  ShowComment(status, text, true);
}

void RarArchiveClass::BeginFileData(int output_fd, const char* password) {
  data_position_ = header_.data_start;
  packed_left_ = header_.packed_size;
  output_fd_ = output_fd;
  write_failed_ = false;
  crc_ = 0;
  old_checksum_ = 0;
  staged_.clear();
  staged_position_ = 0;
  decrypting_ = password != nullptr;
  if (decrypting_) crypt_.SetKey(header_.unpack_version, password);
}

int RarArchiveClass::ReadPlainPacked(uint8_t* buffer, size_t count) {
  count = std::min<size_t>(count, static_cast<size_t>(packed_left_));
  if (count == 0) return 0;
  size_t got = ReadAt(data_position_, buffer, count);
  if (got == 0) return -1;
  data_position_ += static_cast<int64_t>(got);
  packed_left_ -= static_cast<int64_t>(got);
  return static_cast<int>(got);
}

int RarArchiveClass::ReadPackedData(uint8_t* buffer, int count) {
  if (count <= 0) return 0;
  // A failed read ends the unpacker at its next refill.
  if (Aborted()) return -1;
  if (!decrypting_ || !crypt_.IsBlockCipher()) {
    int got = ReadPlainPacked(buffer, static_cast<size_t>(count));
    if (got > 0 && decrypting_) crypt_.Decrypt(buffer, static_cast<size_t>(got));
    return got;
  }
  // The block cipher works on whole blocks from the start of the data, whatever size the caller
  // asks for: blocks are decrypted ahead into the stage and handed out from there.
  if (staged_position_ == staged_.size()) {
    staged_.assign(kStagedBytes, 0);
    staged_position_ = 0;
    int got = ReadPlainPacked(staged_.data(), staged_.size());
    if (got <= 0) {
      staged_.clear();
      return got;
    }
    // A partial last block (a damaged archive) is decrypted padded with zeros.
    size_t blocks = (static_cast<size_t>(got) + RarCryptClass::kBlockSize - 1) / RarCryptClass::kBlockSize;
    crypt_.Decrypt(staged_.data(), blocks * RarCryptClass::kBlockSize);
    staged_.resize(static_cast<size_t>(got));
  }
  size_t piece = std::min(static_cast<size_t>(count), staged_.size() - staged_position_);
  std::memcpy(buffer, staged_.data() + staged_position_, piece);
  staged_position_ += piece;
  return static_cast<int>(piece);
}

void RarArchiveClass::WriteUnpacked(const uint8_t* buffer, int count) {
  if (count <= 0 || Aborted()) return;
  size_t size = static_cast<size_t>(count);
  if (output_fd_ >= 0 && !write_failed_ && !RarWriteAll(output_fd_, buffer, size)) {
    write_failed_ = true;
  }
  if (old_layout_) {
    old_checksum_ = RarOldChecksum(old_checksum_, buffer, size);
  } else {
    crc_ = RarCrc32(crc_, buffer, size);
  }
}

void RarArchiveClass::CopyStoredFile(uint8_t* buffer, size_t buffer_size) {
  // Encrypted stored data is padded to whole cipher blocks; only the file's own bytes are written.
  int64_t left = header_.unpacked_size;
  while (left > 0 && !write_failed_ && !Aborted()) {
    int want = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(buffer_size), left));
    int got = ReadPackedData(buffer, want);
    if (got <= 0) break;
    WriteUnpacked(buffer, got);
    left -= got;
  }
}

bool RarArchiveClass::ChecksumMatches() const {
  if (old_layout_) return old_checksum_ == static_cast<uint16_t>(header_.file_crc);
  return crc_ == header_.file_crc;
}
