// The current user's folders and name.
//
// When the environment variable TVK_CONFIG_ROOT names a folder, every user folder lies inside it
// (tests point it at a temporary folder, so nothing they do reaches the real home folder):
//   configuration  $TVK_CONFIG_ROOT/
//   data           $TVK_CONFIG_ROOT/data/
//   desktop        $TVK_CONFIG_ROOT/Desktop/
//   applications   $TVK_CONFIG_ROOT/applications/
//   runtime        $TVK_CONFIG_ROOT/run/
//   home           $TVK_CONFIG_ROOT/home/
//   cache          $TVK_CONFIG_ROOT/cache/
//   system menu    $TVK_CONFIG_ROOT/system-applications/
// Otherwise they follow the XDG base-directory rules:
//   configuration  $XDG_CONFIG_HOME/tarvik/ (else ~/.config/tarvik/)
//   data           $XDG_DATA_HOME/tarvik/ (else ~/.local/share/tarvik/)
//   desktop        XDG_DESKTOP_DIR of the user-dirs.dirs file (else ~/Desktop/)
//   applications   $XDG_DATA_HOME/applications/ (the menu's launcher entries)
//   runtime        $XDG_RUNTIME_DIR/ (else a private folder in /tmp)
//   home           $HOME/ (else the password entry's home folder)
//   cache          $XDG_CACHE_HOME/ (else ~/.cache/)
//   system menu    the first absolute folder of $XDG_DATA_DIRS + applications/ (else
//                  /usr/local/share/applications/): the menu entries of every user
// Every folder is returned ending in "/"; none is created here (see EnsureFolder).
#pragma once

#include <string>

namespace platform {

std::string UserConfigFolder();
std::string UserDataFolder();
std::string UserDesktopFolder();
std::string UserApplicationsFolder();
std::string UserRuntimeFolder();
std::string UserHomeFolder();
std::string UserCacheFolder();
std::string SystemApplicationsFolder();

// The login name of the user running the program; "user" when none can be found.
std::string GetUserName();

// Creates `folder` and any missing parents with mode `mode` (for new folders only). True when the
// folder exists afterwards.
[[nodiscard]] bool EnsureFolder(const std::string& folder, unsigned mode = 0700);

}  // namespace platform
