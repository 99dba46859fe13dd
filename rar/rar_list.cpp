#include "rar/rar_list.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "rar/rar_archive.h"
#include "rar/rar_messages.h"
#include "rar/rar_names.h"

namespace {

constexpr const char* kColumns = "      Size   Packed Ratio  Date   Time     Attr      CRC   Meth Ver\n";
constexpr int kRuleWidth = 79;
constexpr size_t kShortNameWidth = 12;
constexpr uint64_t kRatioScaleAbove = 10000;

void AppendFormat(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void AppendFormat(std::string* out, const char* format, ...) {
  char piece[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(piece, sizeof piece, format, args);
  va_end(args);
  out->append(piece);
}

// Packed size as a percentage of the unpacked size.
int Ratio(uint64_t packed, uint64_t unpacked) {
  if (unpacked == 0) return 0;
  if (packed > unpacked) return 100;
  if (packed > kRatioScaleAbove) {
    packed /= 100;
    unpacked /= 100;
  }
  return static_cast<int>(packed * 100 / unpacked);
}

std::string Rule() { return std::string(kRuleWidth, '-'); }

std::string Heading(int kind, uint16_t main_flags) {
  std::string text;
  if (main_flags & RAR_MAIN_SOLID) text += "Solid ";
  if (kind == RAR_KIND_SFX) text += "SFX ";
  bool volume = (main_flags & RAR_MAIN_VOLUME) != 0;
  if (text.empty()) {
    text += volume ? "Volume" : "Archive";
  } else {
    text += volume ? "volume" : "archive";
  }
  return text;
}

void AppendDateTime(std::string* row, uint32_t dos_time) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%02u%02u%02u%02u%02u", (dos_time >> 16) & 0x1F,
                (dos_time >> 21) & 0x0F, ((dos_time >> 25) + 80) % 100, (dos_time >> 11) & 0x1F,
                (dos_time >> 5) & 0x3F);
  AppendFormat(row, " %2.2s-%2.2s-%2.2s %2.2s:%2.2s ", digits, digits + 2, digits + 4, digits + 6, digits + 8);
}

// The first letter of a Unix mode in its ten-letter form. Links, devices, pipes and sockets are
// named as such: they are extracted as plain files, and the listing shows what they were.
char UnixTypeLetter(uint32_t mode) {
  switch (mode & 0170000) {
    case 0040000: return 'd';
    case 0120000: return 'l';
    case 0020000: return 'c';
    case 0060000: return 'b';
    case 0010000: return 'p';
    case 0140000: return 's';
    default: return '-';
  }
}

void AppendAttributes(std::string* row, const RarFileHeader& header) {
  uint32_t a = header.attributes;
  if (header.host_os != RAR_HOST_UNIX) {
    AppendFormat(row, "  %c%c%c%c%c%c  ", (a & 0x08) ? 'V' : '.', (a & 0x10) ? 'D' : '.', (a & 0x01) ? 'R' : '.',
                 (a & 0x02) ? 'H' : '.', (a & 0x04) ? 'S' : '.', (a & 0x20) ? 'A' : '.');
    return;
  }
  char owner_x = (a & 0x800) ? ((a & 0x40) ? 's' : 'S') : ((a & 0x40) ? 'x' : '-');
  char group_x = (a & 0x400) ? ((a & 0x08) ? 's' : 'S') : ((a & 0x08) ? 'x' : '-');
  AppendFormat(row, "%c%c%c%c%c%c%c%c%c%c", UnixTypeLetter(a), (a & 0x100) ? 'r' : '-',
               (a & 0x80) ? 'w' : '-', owner_x, (a & 0x20) ? 'r' : '-', (a & 0x10) ? 'w' : '-', group_x,
               (a & 0x04) ? 'r' : '-', (a & 0x02) ? 'w' : '-', (a & 0x01) ? 'x' : '-');
}

std::string FileRow(char command, const RarFileHeader& header) {
  std::string row;
  AppendFormat(&row, "\n%c", header.IsEncrypted() ? '*' : ' ');
  if (command == 'V') {
    row += header.name;
    AppendFormat(&row, "\n%12s ", "");
  } else {
    std::string name(NamePart(header.name));
    AppendFormat(&row, "%-12s", name.c_str());
    if (name.size() > kShortNameWidth) AppendFormat(&row, "\n%12s ", "");
  }
  AppendFormat(&row, " %8lu %8lu ", static_cast<unsigned long>(header.unpacked_size),
               static_cast<unsigned long>(header.packed_size));
  bool before = (header.flags & RAR_FILE_SPLIT_BEFORE) != 0;
  bool after = (header.flags & RAR_FILE_SPLIT_AFTER) != 0;
  if (before && after) {
    row += " <->";
  } else if (before) {
    row += " <--";
  } else if (after) {
    row += " -->";
  } else {
    AppendFormat(&row, "%3d%%", Ratio(header.packed_size, header.unpacked_size));
  }
  AppendDateTime(&row, header.file_time);
  AppendAttributes(&row, header);
  AppendFormat(&row, " %8.8lX", static_cast<unsigned long>(header.file_crc));
  AppendFormat(&row, " m%d", header.method - '0');
  AppendFormat(&row, " %d.%d", header.unpack_version / 10, header.unpack_version % 10);
  return row;
}

}  // namespace

const char* ListContents(char command, const std::string& archive_name) {
  RarArchiveClass archive;
  if (!archive.Open(archive_name)) {
    RarMessage("\nCannot open %s\n", archive_name.c_str());
    return "Unable To Open RAR Archive File";
  }
  int kind = archive.LoadMainHeader();
  if (kind == RAR_KIND_NONE) return "Not A Valid RAR File";

  RarMessage("%s %s\n", Heading(kind, archive.MainFlags()).c_str(), archive_name.c_str());
  archive.ShowArchiveComment();
  RarMessage("%s%s%s", command == 'V' ? "\nPathname/Comment\n            " : "\n Name       ", kColumns,
             Rule().c_str());

  unsigned long files = 0;
  uint64_t unpacked_total = 0;
  uint64_t packed_total = 0;
  archive.SeekFirstBlock();
  while (archive.LoadFileHeader() > 0) {
    const RarFileHeader& header = archive.FileHeader();
    RarMessage("%s", FileRow(command, header).c_str());
    if (command == 'V' && (header.flags & RAR_FILE_COMMENT)) archive.ShowFileComment();
    ++files;
    unpacked_total += header.unpacked_size;
    packed_total += header.packed_size;
  }

  RarMessage("\n%s", Rule().c_str());
  if (files == 0) {
    RarMessage("%s", "  0 files\n");
  } else {
    RarMessage("\n%5lu %16lu %8lu %3d%%\n", files, static_cast<unsigned long>(unpacked_total),
               static_cast<unsigned long>(packed_total), Ratio(packed_total, unpacked_total));
  }
  return nullptr;
}
