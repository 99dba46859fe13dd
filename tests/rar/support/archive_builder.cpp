#include "tests/rar/support/archive_builder.h"

#include <zlib.h>

#include "tests/rar/support/rar_ciphers_encrypt.h"

namespace {

void Put8(std::string* out, uint32_t v) { out->push_back(char(v & 0xFF)); }
void Put16(std::string* out, uint32_t v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
void Put32(std::string* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint16_t Crc16(const std::string& bytes, size_t from, size_t to) {
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + from), uInt(to - from));
  return uint16_t(crc & 0xFFFF);
}

void SetCrc16(std::string* header, uint16_t crc) {
  (*header)[0] = char(crc & 0xFF);
  (*header)[1] = char(crc >> 8);
}

}  // namespace

uint32_t RarDosTime(int year, int month, int day, int hour, int minute, int second) {
  uint32_t date = uint32_t((year - 1980) << 9 | month << 5 | day);
  uint32_t time = uint32_t(hour << 11 | minute << 5 | second / 2);
  return date << 16 | time;
}

uint32_t RarDataCrc(const std::string& data) {
  return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

uint16_t RarOldChecksum16(const std::string& data) {
  uint16_t sum = 0;
  for (unsigned char ch : data) {
    sum = uint16_t(sum + ch);
    sum = uint16_t(sum << 1 | sum >> 15);
  }
  return sum;
}

RarEntry RarStoredEntry(const std::string& name, const std::string& data) {
  RarEntry e;
  e.name = name;
  e.packed = data;
  e.unpacked_size = uint32_t(data.size());
  e.crc = RarDataCrc(data);
  return e;
}

RarEntry RarEncryptedStoredEntry(const std::string& name, const std::string& data, const std::string& password,
                                 int unpack_version) {
  RarEntry e = RarStoredEntry(name, data);
  e.packed = RarEncryptForVersion(unpack_version, password, data);
  e.unpack_version = unpack_version;
  e.flags |= 0x04;
  return e;
}

RarEntry RarDirectoryEntry(const std::string& name) {
  RarEntry e;
  e.name = name;
  e.flags = 0xE0;
  e.attributes = 0x10;
  return e;
}

RarEntry RarOldStoredEntry(const std::string& name, const std::string& data) {
  RarEntry e = RarStoredEntry(name, data);
  e.crc = RarOldChecksum16(data);
  e.unpack_version = 2;
  e.method = 0;
  return e;
}

std::string RarPackedCommentBlock(const std::string& packed, const std::string& text, int unpack_version,
                                  uint8_t method) {
  std::string block(2, '\0');
  Put8(&block, 0x75);
  Put16(&block, 0);
  Put16(&block, uint32_t(13 + packed.size()));
  Put16(&block, uint32_t(text.size()));
  Put8(&block, uint32_t(unpack_version));
  Put8(&block, method);
  Put16(&block, RarDataCrc(text) & 0xFFFF);
  SetCrc16(&block, Crc16(block, 2, 13));
  return block + packed;
}

std::string RarCommentBlock(const std::string& text, bool break_header_crc, bool break_text_check) {
  std::string block = RarPackedCommentBlock(text, text, 20, '0');
  if (break_text_check) block[11] = char(block[11] ^ 0x5A);
  // The head's CRC is taken last so that only the requested part is wrong.
  SetCrc16(&block, Crc16(block, 2, 13));
  if (break_header_crc) block[0] = char(block[0] ^ 0x01);
  return block;
}

RarArchiveBuilder& RarArchiveBuilder::SetMainFlags(uint16_t flags) {
  main_flags_ = flags;
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::SetComment(const std::string& text) { return SetCommentBlock(RarCommentBlock(text)); }

RarArchiveBuilder& RarArchiveBuilder::SetCommentBlock(const std::string& block) {
  comment_block_ = block;
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::BreakMainHeaderCrc() {
  break_main_crc_ = true;
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::SetPrefix(const std::string& bytes) {
  prefix_ = bytes;
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::AddFile(const RarEntry& entry) {
  blocks_.push_back(layout_ == OLD_LAYOUT ? OldFileHeader(entry) : BlockFileHeader(entry));
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::AddFile(const std::string& name, const std::string& packed,
                                              uint32_t unpacked_size, uint32_t crc, int unpack_version,
                                              uint8_t method, uint16_t flags) {
  RarEntry e;
  e.name = name;
  e.packed = packed;
  e.unpacked_size = unpacked_size;
  e.crc = crc;
  e.unpack_version = unpack_version;
  e.method = method;
  e.flags = flags;
  return AddFile(e);
}

RarArchiveBuilder& RarArchiveBuilder::AddBlock(uint8_t type, uint16_t flags, const std::string& extra,
                                               const std::string& data) {
  std::string header(2, '\0');
  Put8(&header, type);
  bool has_data = !data.empty();
  Put16(&header, has_data ? flags | 0x8000 : flags);
  Put16(&header, uint32_t(7 + (has_data ? 4 : 0) + extra.size()));
  if (has_data) Put32(&header, uint32_t(data.size()));
  header += extra;
  SetCrc16(&header, Crc16(header, 2, header.size()));
  blocks_.push_back(header + data);
  return *this;
}

RarArchiveBuilder& RarArchiveBuilder::AddRecoveryRecord(uint16_t sectors, const std::string& data) {
  std::string extra;
  Put8(&extra, 1);                                  // version
  Put16(&extra, sectors);
  Put32(&extra, uint32_t((data.size() + 511) / 512));  // total blocks
  extra += "Protect!";
  return AddBlock(0x78, 0, extra, data);
}

std::string RarArchiveBuilder::BlockFileHeader(const RarEntry& e) const {
  uint16_t flags = uint16_t(e.flags | 0x8000);
  std::string comment;
  if (!e.comment.empty()) {
    flags |= 0x08;
    comment = RarCommentBlock(e.comment);
  }
  std::string h(2, '\0');
  Put8(&h, 0x74);
  Put16(&h, flags);
  Put16(&h, uint32_t(32 + e.name.size() + e.extra_header.size() + comment.size()));
  Put32(&h, e.packed_size_override >= 0 ? uint32_t(e.packed_size_override) : uint32_t(e.packed.size()));
  Put32(&h, e.unpacked_size);
  Put8(&h, e.host_os);
  Put32(&h, e.crc);
  Put32(&h, e.file_time);
  Put8(&h, uint32_t(e.unpack_version));
  Put8(&h, e.method);
  Put16(&h, e.name_size_override >= 0 ? uint32_t(e.name_size_override) : uint32_t(e.name.size()));
  Put32(&h, e.attributes);
  h += e.name;
  const size_t name_end = h.size();
  h += e.extra_header;
  uint16_t crc = Crc16(h, 2, e.crc_over_whole_header ? h.size() : name_end);
  if (e.break_header_crc) crc ^= 0x0101;
  SetCrc16(&h, crc);
  return h + comment + e.packed;
}

std::string RarArchiveBuilder::OldFileHeader(const RarEntry& e) const {
  std::string h;
  Put32(&h, e.packed_size_override >= 0 ? uint32_t(e.packed_size_override) : uint32_t(e.packed.size()));
  Put32(&h, e.unpacked_size);
  Put16(&h, e.crc & 0xFFFF);
  Put16(&h, uint32_t(21 + e.name.size()));
  Put32(&h, e.file_time);
  Put8(&h, e.attributes);
  Put8(&h, e.flags);
  Put8(&h, uint32_t(e.unpack_version));
  Put8(&h, e.name_size_override >= 0 ? uint32_t(e.name_size_override) : uint32_t(e.name.size()));
  Put8(&h, e.method);
  return h + e.name + e.packed;
}

std::string RarArchiveBuilder::Build() const {
  std::string out = prefix_;
  uint16_t flags = main_flags_;
  if (!comment_block_.empty()) flags |= 0x02;
  if (layout_ == OLD_LAYOUT) {
    out += "RE~^";
    Put16(&out, 7);
    Put8(&out, flags);
  } else {
    out += std::string("Rar!\x1a\x07\x00", 7);
    std::string main(2, '\0');
    Put8(&main, 0x73);
    Put16(&main, flags);
    Put16(&main, uint32_t(13 + comment_block_.size()));
    Put16(&main, 0);
    Put32(&main, 0);
    uint16_t crc = Crc16(main, 2, 13);
    if (break_main_crc_) crc ^= 0x0101;
    SetCrc16(&main, crc);
    out += main + comment_block_;
  }
  for (const std::string& block : blocks_) out += block;
  return out;
}
