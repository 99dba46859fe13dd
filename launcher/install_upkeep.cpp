#include "launcher/install_upkeep.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "launcher/launcher_log.h"
#include "launcher/shell_link.h"
#include "platform/system/ascii_text.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"
#include "platform/system/registry.h"

namespace {

using platform::HKEY;

// Longest values kept, as the registry and shortcut buffers of the design allow.
constexpr size_t kPathSize = 260;
constexpr size_t kProductSize = 512;

constexpr const char* kLauncherName = "tarvik.exe";
constexpr const char* kRelocatedArgument = "relocated";
constexpr const char* kLicenceLinkName = "View License Agreement.lnk";

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

// A name that is used as one file or folder name: not empty, no separator, not "." or "..".
bool IsSingleName(const std::string& name) {
  return !name.empty() && name.find_first_of("/\\") == std::string::npos && name != "." && name != "..";
}

std::string LinkPath(const std::string& folder, const std::string& link_name) {
  return ShellLink_FilePath(folder + "/" + link_name);
}

std::string ReadString(HKEY root, const std::string& key, const char* name) {
  HKEY handle = nullptr;
  if (platform::RegOpenKeyEx(root, key.c_str(), 0, platform::KEY_READ, &handle) != platform::ERROR_SUCCESS) return {};
  char value[kPathSize] = "";
  uint32_t type = 0;
  uint32_t size = sizeof value - 1;
  const bool read = platform::RegQueryValueEx(handle, name, nullptr, &type, reinterpret_cast<uint8_t*>(value),
                                              &size) == platform::ERROR_SUCCESS &&
                    type == platform::REG_SZ;
  platform::RegCloseKey(handle);
  if (!read) return {};
  value[size] = '\0';
  return value;  // up to its NUL
}

// Writes `value` with its NUL under root\key, creating the key. True when saved.
bool WriteString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY handle = nullptr;
  if (platform::RegCreateKeyEx(root, key.c_str(), 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
                               platform::KEY_ALL_ACCESS, nullptr, &handle, nullptr) != platform::ERROR_SUCCESS) {
    return false;
  }
  const bool written = platform::RegSetValueEx(handle, name, 0, platform::REG_SZ,
                                               reinterpret_cast<const uint8_t*>(value.c_str()),
                                               static_cast<uint32_t>(value.size() + 1)) == platform::ERROR_SUCCESS;
  platform::RegCloseKey(handle);
  return written;
}

// Step 1 of the propagation: true the first time for this user, when "Propagated" was not set
// yet (it is set now).
bool FirstPropagation(const std::string& install_key) {
  HKEY handle = nullptr;
  if (platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, install_key.c_str(), 0, nullptr,
                               platform::REG_OPTION_NON_VOLATILE, platform::KEY_ALL_ACCESS, nullptr, &handle,
                               nullptr) != platform::ERROR_SUCCESS) {
    return false;
  }
  uint32_t propagated = 0;
  uint32_t type = 0;
  uint32_t size = sizeof propagated;
  const bool done = platform::RegQueryValueEx(handle, "Propagated", nullptr, &type,
                                              reinterpret_cast<uint8_t*>(&propagated), &size) ==
                        platform::ERROR_SUCCESS &&
                    type == platform::REG_DWORD && propagated != 0;
  if (!done) {
    const uint32_t one = 1;
    platform::RegSetValueEx(handle, "Propagated", 0, platform::REG_DWORD, reinterpret_cast<const uint8_t*>(&one),
                            sizeof one);
  }
  platform::RegCloseKey(handle);
  return !done;
}

// The shortcut `link` to `target` counts as made when it already runs the target; otherwise it is
// made anew and logged. True when it is there afterwards.
bool KeepShortcut(const std::string& link, const std::string& target, const std::string& icon,
                  const std::string& description) {
  if (Exists(link) && ShellLink_PointsTo(link, target)) return true;
  ::unlink(link.c_str());
  if (!ShellLink_Create(link, target, nullptr, icon.empty() ? nullptr : icon.c_str(), description.c_str(), 0)) {
    return false;
  }
  InstallLog_Append(link, false);
  return true;
}

// Empties and removes the user's own menu group; true when one of its files was an uninstaller.
bool RemoveUserGroup(const std::string& user_group) {
  bool uninstaller = false;
  for (const std::string& name : platform::ListFiles(user_group + "/", "*.*")) {
    if (platform::AsciiLower(name).find("uninstall") != std::string::npos) uninstaller = true;
    ::unlink((user_group + "/" + name).c_str());
  }
  ::rmdir(user_group.c_str());
  return uninstaller;
}

// Step 4 of the propagation.
void RecordLocation(const InstallUpkeep* upkeep, const std::string& install_key, bool all_users) {
  if (all_users) {
    if (!ReadString(platform::HKEY_LOCAL_MACHINE, install_key, "Location").empty()) return;
    if (WriteString(platform::HKEY_LOCAL_MACHINE, install_key, "Location", upkeep->program_folder)) {
      (void)platform::RegDeleteKey(platform::HKEY_CURRENT_USER, (install_key + "\\Location").c_str());
      return;
    }
    // The machine's values cannot be written: the user's hold the location instead.
  }
  if (!ReadString(platform::HKEY_CURRENT_USER, install_key, "Location").empty()) return;
  (void)WriteString(platform::HKEY_CURRENT_USER, install_key, "Location", upkeep->program_folder);
}

bool CopyProgramFiles(const std::string& from, const std::string& to) {
  for (const std::string& name : platform::ListFiles(from + "/", "*.*")) {
    const std::string source = from + "/" + name;
    const std::string copy = to + "/" + name;
    if (!platform::CopyFile(source, copy, false)) {
      LogMessage("Unable to copy '%s' to '%s'.\n", source.c_str(), copy.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

InstallUpkeep* InstallUpkeep_Create(FolderTester tester) {
  auto* upkeep = new InstallUpkeep;
  upkeep->tester = std::move(tester);
  return upkeep;
}

void InstallUpkeep_Destroy(InstallUpkeep* upkeep) {
  if (upkeep == nullptr) return;
  FolderProbe_Release(&upkeep->probe);
  delete upkeep;
}

int InstallUpkeep_Init(InstallUpkeep* upkeep, const RootIniSettings& settings, bool relocated) {
  upkeep->initialised = false;
  upkeep->relocated = relocated;
  const std::string registry_key = settings.registry_key;
  const std::string product_name = settings.product_name;
  const std::string shortcut_file_name = settings.shortcut_file_name;
  if (registry_key.empty() && product_name.empty() && shortcut_file_name.empty()) return 0;
  if (registry_key.size() >= kPathSize || product_name.size() >= kProductSize ||
      shortcut_file_name.size() >= kPathSize) {
    return -1;
  }
  // These two name a folder and files that are made and deleted; an empty one or one with a
  // path in it would reach folders that are not the program's.
  if (!IsSingleName(product_name) || !IsSingleName(shortcut_file_name)) {
    LogMessage("Install upkeep is off: '%s' and '%s' must both be plain file names.\n", product_name.c_str(),
               shortcut_file_name.c_str());
    return -1;
  }
  upkeep->registry_key = registry_key;
  upkeep->product_name = product_name;
  upkeep->shortcut_file_name = shortcut_file_name;
  upkeep->icon_file = settings.icon_file;
  upkeep->default_program = settings.default_program;
  FolderProbe_Init(&upkeep->probe, product_name, upkeep->tester);
  upkeep->program_folder = FolderProbe_PathOf(&upkeep->probe, FOLDER_CURRENT);
  if (upkeep->program_folder.empty()) return -1;
  InstallUpkeep_LoadRelocatingPath(upkeep);
  upkeep->initialised = true;
  return 0;
}

bool InstallUpkeep_Run(InstallUpkeep* upkeep) {
  if (!upkeep->initialised) return true;
  InstallUpkeep_PropagateShortcuts(upkeep);
  if (upkeep->program_folder == upkeep->relocating_path && FolderProbe_IsUsable(&upkeep->probe, upkeep->program_folder)) {
    return true;
  }
  const int where = InstallUpkeep_CheckLocation(upkeep);
  if (where == UPKEEP_STAY) return true;
  if (upkeep->relocated) {
    // A copy that is not usable either must not send the launcher round in circles.
    LogMessage("Not relocating again from '%s'.\n", upkeep->program_folder.c_str());
    return true;
  }
  if (where == UPKEEP_RELOCATE && !InstallUpkeep_Relocate(upkeep)) return true;
  return !InstallUpkeep_Restart(upkeep);
}

void InstallUpkeep_PropagateShortcuts(InstallUpkeep* upkeep) {
  const std::string install_key = upkeep->registry_key + "\\Install";
  if (!FirstPropagation(install_key)) return;

  const FolderProbe* probe = &upkeep->probe;
  const std::string& folder = upkeep->program_folder;
  const std::string target = folder + "/" + kLauncherName;
  const std::string icon = upkeep->icon_file.empty() ? std::string() : folder + "/" + upkeep->icon_file;
  const std::string& product = upkeep->product_name;
  const std::string& shortcut = upkeep->shortcut_file_name;
  bool all_users = false;

  // The desktop entry and the menu's top-level entry.
  const std::pair<int, int> tops[] = {{CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY},
                                      {CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU}};
  for (const auto& [common_id, user_id] : tops) {
    const std::string common = FolderProbe_PathOf(probe, common_id);
    if (!FolderProbe_IsUsable(probe, common)) continue;
    const std::string link = LinkPath(common, shortcut);
    if (Exists(link)) continue;
    const std::string user = FolderProbe_PathOf(probe, user_id);
    if (!user.empty()) ::unlink(LinkPath(user, shortcut).c_str());
    all_users = KeepShortcut(link, target, icon, product);
  }

  // The menu group with the program's and the licence's entries.
  bool uninstaller = false;
  const std::string common_programs = FolderProbe_PathOf(probe, CSIDL_COMMON_PROGRAMS);
  const std::string group = common_programs + "/" + product;
  if (FolderProbe_IsUsable(probe, common_programs)) {
    if (!IsFolder(group)) {
      const std::string programs = FolderProbe_PathOf(probe, CSIDL_PROGRAMS);
      if (!programs.empty()) uninstaller = RemoveUserGroup(programs + "/" + product);
      if (::mkdir(group.c_str(), 0755) == 0) InstallLog_Append(group, true);
    }
    all_users = KeepShortcut(LinkPath(group, shortcut), target, icon, product);
    all_users = KeepShortcut(LinkPath(group, kLicenceLinkName), folder + "/License.txt", folder + "/License.ico",
                             product);
  }
  if (uninstaller) {
    const std::string icon_of_licence = folder + "/License.ico";
    (void)ShellLink_Create(LinkPath(group, "Uninstall " + product + ".lnk"), folder + "/Unwise.exe", nullptr,
                           icon_of_licence.c_str(), product.c_str(), 0);
  }
  RecordLocation(upkeep, install_key, all_users);
}

int InstallUpkeep_CheckLocation(InstallUpkeep* upkeep) {
  const FolderProbe* probe = &upkeep->probe;
  if (FolderProbe_IsUsable(probe, upkeep->program_folder)) {
    if (!upkeep->relocating_path.empty() && upkeep->relocating_path != upkeep->program_folder) {
      upkeep->relocating_path = upkeep->program_folder;
      InstallUpkeep_SaveRelocatingPath(upkeep);
    }
    return UPKEEP_STAY;
  }
  const std::string& copy = upkeep->relocating_path;
  if (copy.empty() || !IsFolder(copy) || !platform::FileExists(copy + "/root.ini") ||
      !platform::FileExists(platform::NativeProgramPath(copy + "/" + kLauncherName)) ||
      !FolderProbe_IsUsable(probe, copy)) {
    return UPKEEP_RELOCATE;
  }
  upkeep->next_program = platform::NativeProgramPath(copy + "/" + kLauncherName);
  upkeep->next_is_launcher = true;
  return UPKEEP_GO_TO_COPY;
}

bool InstallUpkeep_Relocate(InstallUpkeep* upkeep) {
  const std::string usable = FolderProbe_FirstUsable(&upkeep->probe, FOLDERPROBE_USABLE);
  if (usable.empty()) {
    if (upkeep->default_program.empty()) {
      LogMessage("No usable folder and no default program.\n");
      return false;
    }
    upkeep->next_program = platform::NativeProgramPath(upkeep->program_folder + "/" + upkeep->default_program);
    upkeep->next_is_launcher = false;
    return true;
  }
  const std::string copy = usable + "/" + upkeep->product_name;
  if (copy == upkeep->program_folder || copy.size() >= kPathSize) {
    LogMessage("Unable to relocate to '%s'.\n", copy.c_str());
    return false;
  }
  if (!IsFolder(copy) && ::mkdir(copy.c_str(), 0755) != 0) {
    LogMessage("Unable to create directory '%s'.\n", copy.c_str());
    return false;
  }
  if (!CopyProgramFiles(upkeep->program_folder, copy)) return false;
  // The folder as the restarted launcher will see it as its current folder.
  char resolved[PATH_MAX];
  upkeep->relocating_path = ::realpath(copy.c_str(), resolved) != nullptr ? std::string(resolved) : copy;
  InstallUpkeep_SaveRelocatingPath(upkeep);
  upkeep->next_program = platform::NativeProgramPath(upkeep->relocating_path + "/" + kLauncherName);
  upkeep->next_is_launcher = true;
  return true;
}

bool InstallUpkeep_Restart(InstallUpkeep* upkeep) {
  const std::string& program = upkeep->next_program;
  const size_t slash = program.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : program.substr(0, slash == 0 ? 1 : slash);
  if (!folder.empty() && !platform::SetCurrentDirectory(folder)) {
    LogMessage("Unable to change directory to '%s'.\n", folder.c_str());
    return false;
  }
  const std::string name = upkeep->next_is_launcher ? std::string(kLauncherName) : upkeep->default_program;
  if (platform::SpawnProgram(program, {name, kRelocatedArgument}) < 0) {
    LogMessage("Unable to start '%s'.\n", program.c_str());
    (void)platform::SetCurrentDirectory(upkeep->program_folder);
    return false;
  }
  return true;
}

void InstallUpkeep_LoadRelocatingPath(InstallUpkeep* upkeep) {
  upkeep->relocating_path = ReadString(platform::HKEY_CURRENT_USER, upkeep->registry_key, "RelocatingPath");
}

void InstallUpkeep_SaveRelocatingPath(InstallUpkeep* upkeep) {
  (void)WriteString(platform::HKEY_CURRENT_USER, upkeep->registry_key, "RelocatingPath", upkeep->relocating_path);
}

void InstallLog_Append(const std::string& text, bool made_folder) {
  if (!platform::FileExists("INSTALL.LOG")) return;
  const std::string line = std::string(made_folder ? "Made Dir: " : "Shell Link: ") + text + "\n";
  if (line.size() >= kPathSize) return;
  const std::string written = line.substr(0, line.size() - 1) + "\r\n";  // a text file's line end
  std::FILE* log = platform::FileOpen("INSTALL.LOG", "ab");
  if (log == nullptr) return;
  std::fwrite(written.data(), 1, written.size(), log);
  std::fclose(log);
}
