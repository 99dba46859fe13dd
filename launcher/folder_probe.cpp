#include "launcher/folder_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>
#include <utility>

#include "platform/system/paths.h"
#include "platform/system/process.h"
#include "platform/system/user_folders.h"

namespace {

// Paths are kept within the size of the design's path buffers, like every other path of the
// install upkeep.
constexpr size_t kPathSize = 260;

// "fst.exe" as a program's name is on this system.
constexpr const char* kProbeProgramName = "fst";

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int descriptor, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// Opens `path` with `flags`, writes the program and closes it; true when all of it was written.
bool WriteProgram(const std::string& path, int flags, const std::vector<uint8_t>& program) {
  const int descriptor = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0700);
  if (descriptor < 0) return false;
  const bool written = WriteAll(descriptor, program);
  return ::close(descriptor) == 0 && written;
}

bool ReadsBack(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  char first[8];
  const bool read = ::read(descriptor, first, sizeof first) == static_cast<ssize_t>(sizeof first);
  ::close(descriptor);
  return read;
}

void PutLittleEndian(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 64-bit little-endian ELF executable of one loadable segment that holds the headers and
// `code`, loaded at 0x400000 and entered right after the headers.
std::vector<uint8_t> ElfProgram(uint16_t machine, const std::vector<uint8_t>& code) {
  constexpr uint64_t kBase = 0x400000;
  constexpr uint64_t kHeaderSize = 64;
  constexpr uint64_t kSegmentHeaderSize = 56;
  const uint64_t total = kHeaderSize + kSegmentHeaderSize + code.size();
  static const uint8_t kIdent[16] = {0x7f, 'E', 'L', 'F', 2 /* 64-bit */, 1 /* little-endian */, 1 /* version */};
  std::vector<uint8_t> out(std::begin(kIdent), std::end(kIdent));
  PutLittleEndian(out, 2, 2);  // an executable
  PutLittleEndian(out, machine, 2);
  PutLittleEndian(out, 1, 4);  // version
  PutLittleEndian(out, kBase + kHeaderSize + kSegmentHeaderSize, 8);  // entry
  PutLittleEndian(out, kHeaderSize, 8);                               // segment headers
  PutLittleEndian(out, 0, 8);                                         // no section headers
  PutLittleEndian(out, 0, 4);                                         // flags
  PutLittleEndian(out, kHeaderSize, 2);
  PutLittleEndian(out, kSegmentHeaderSize, 2);
  PutLittleEndian(out, 1, 2);  // one segment header
  PutLittleEndian(out, 0, 2);
  PutLittleEndian(out, 0, 2);
  PutLittleEndian(out, 0, 2);
  // The segment: loadable, readable and executable, the whole file.
  PutLittleEndian(out, 1, 4);
  PutLittleEndian(out, 5, 4);
  PutLittleEndian(out, 0, 8);      // file offset
  PutLittleEndian(out, kBase, 8);  // virtual address
  PutLittleEndian(out, kBase, 8);  // physical address
  PutLittleEndian(out, total, 8);  // size in the file
  PutLittleEndian(out, total, 8);  // size in memory
  PutLittleEndian(out, 0x1000, 8);
  out.insert(out.end(), code.begin(), code.end());
  return out;
}

}  // namespace

std::vector<uint8_t> FolderProbe_ProgramBytes() {
#if defined(__x86_64__)
  // xor edi, edi; mov eax, 231 (exit_group); syscall
  return ElfProgram(62, {0x31, 0xff, 0xb8, 0xe7, 0x00, 0x00, 0x00, 0x0f, 0x05});
#elif defined(__aarch64__)
  // mov x0, #0; mov x8, #94 (exit_group); svc #0
  return ElfProgram(183, {0x00, 0x00, 0x80, 0xd2, 0xc8, 0x0b, 0x80, 0xd2, 0x01, 0x00, 0x00, 0xd4});
#else
  return {};
#endif
}

uint8_t FolderProbe_RunProgramIn(const std::vector<uint8_t>& program, const std::string& folder) {
  const std::string path = folder + "/" + kProbeProgramName;
  uint8_t bits = 0;
  if (WriteProgram(path, O_CREAT | O_TRUNC, program)) bits |= FOLDERPROBE_WRITTEN;
  if (ReadsBack(path)) bits |= FOLDERPROBE_READ_BACK;
  if (WriteProgram(path, 0, program)) bits |= FOLDERPROBE_OVERWRITTEN;
  if (platform::SpawnProgramAndWait(path, {"fst.exe"}) == 0) bits |= FOLDERPROBE_RAN;
  ::unlink(path.c_str());
  return bits;
}

void FolderProbe_Init(FolderProbe* probe, const std::string& product, FolderTester tester) {
  *probe = FolderProbe{};
  probe->program = FolderProbe_ProgramBytes();
  probe->tester = std::move(tester);
  probe->product = product;
  const std::string desktop = WithoutTrailingSlash(platform::UserDesktopFolder());
  const std::string system_menu = WithoutTrailingSlash(platform::SystemApplicationsFolder());
  const std::string user_menu = WithoutTrailingSlash(platform::UserApplicationsFolder());
  const std::string current = platform::GetCurrentDirectory();
  probe->table_a[0] = {CSIDL_PROGRAM_FILES, WithoutTrailingSlash(platform::UserDataFolder())};
  probe->table_a[1] = {FOLDER_CURRENT, current.empty() ? current : WithoutTrailingSlash(current)};
  probe->table_a[2] = {FOLDER_ROOT, WithoutTrailingSlash(platform::UserHomeFolder())};
  probe->table_a[3] = {CSIDL_COMMON_DESKTOPDIRECTORY, desktop};
  probe->table_a[4] = {CSIDL_DESKTOPDIRECTORY, desktop};
  probe->table_a[5] = {CSIDL_INTERNET_CACHE, WithoutTrailingSlash(platform::UserCacheFolder())};
  probe->table_b[0] = {CSIDL_COMMON_STARTMENU, system_menu};
  probe->table_b[1] = {CSIDL_COMMON_PROGRAMS, system_menu};
  probe->table_b[2] = {CSIDL_STARTMENU, user_menu};
  probe->table_b[3] = {CSIDL_PROGRAMS, user_menu};
}

void FolderProbe_Release(FolderProbe* probe) { *probe = FolderProbe{}; }

std::string FolderProbe_PathOf(const FolderProbe* probe, int folder_id) {
  for (const FolderProbeEntry& entry : probe->table_a) {
    if (entry.folder_id == folder_id) return entry.path;
  }
  for (const FolderProbeEntry& entry : probe->table_b) {
    if (entry.folder_id == folder_id) return entry.path;
  }
  return {};
}

uint8_t FolderProbe_TestFolder(const FolderProbe* probe, const std::string& folder) {
  if (folder.empty() || folder.size() + sizeof "/fst.exe" > kPathSize) return 0;
  if (probe->tester) return probe->tester(folder);
  if (probe->program.empty()) return 0;
  return FolderProbe_RunProgramIn(probe->program, folder);
}

uint8_t FolderProbe_TestSubFolder(const FolderProbe* probe, const std::string& folder, const std::string& name) {
  if (folder.empty() || name.empty()) return 0;
  const std::string sub_folder = folder + "/" + name;
  const bool made = !IsFolder(sub_folder) && ::mkdir(sub_folder.c_str(), 0755) == 0;
  const uint8_t bits = FolderProbe_TestFolder(probe, sub_folder);
  if (made) ::rmdir(sub_folder.c_str());
  return bits;
}

bool FolderProbe_IsUsable(const FolderProbe* probe, const std::string& folder) {
  return FolderProbe_TestFolder(probe, folder) == FOLDERPROBE_USABLE;
}

std::string FolderProbe_FirstUsable(FolderProbe* probe, uint8_t bits) {
  if (!probe->tables_probed) {
    probe->tables_probed = true;
    for (FolderProbeEntry& entry : probe->table_a) {
      // The program's own folder in the data home is where a new home is best made; a fresh
      // account does not have it yet.
      if (entry.folder_id == CSIDL_PROGRAM_FILES && !entry.path.empty()) {
        (void)platform::EnsureFolder(entry.path + "/", 0755);
      }
      entry.bits = entry.folder_id == FOLDER_CURRENT ? FolderProbe_TestFolder(probe, entry.path)
                                                     : FolderProbe_TestSubFolder(probe, entry.path, probe->product);
    }
    for (FolderProbeEntry& entry : probe->table_b) entry.bits = FolderProbe_TestFolder(probe, entry.path);
  }
  for (const FolderProbeEntry& entry : probe->table_a) {
    if ((entry.bits & bits) == bits && !entry.path.empty()) return entry.path;
  }
  for (const FolderProbeEntry& entry : probe->table_b) {
    if ((entry.bits & bits) == bits && !entry.path.empty()) return entry.path;
  }
  return {};
}
