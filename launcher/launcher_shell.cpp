#include "launcher/launcher_shell.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "launcher/command_line.h"
#include "launcher/install_upkeep.h"
#include "launcher/launcher_log.h"
#include "launcher/root_ini.h"
#include "launcher/splash_window.h"
#include "launcher/upgrade_engine.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"
#include "platform/window/message_box.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

using namespace platform;

constexpr const char* kLogFileName = "root.log";
// The exit status of a run that started nothing (every failure, a cancelled upgrade).
constexpr int kLauncherFailed = 1;
constexpr const char* kDamagedText = "This product has expired or is damaged.\nPlease reinstall this product.";
constexpr const char* kCannotExecuteText =
    "Unable to execute program.\nThis product has expired or is damaged.\nPlease reinstall this product.";
constexpr const char* kNoThreadText =
    "Unable to create network thread.\nThis product has expired or is damaged.\nPlease reinstall this product.";
constexpr const char* kNoDefaultProgramText = "No default program specified.\nPlease reinstall this product.";

// The run's settings and command line, kept for the program's life.
RootIniSettings settings;
LauncherCommandLine command_line;

void ShowError(const char* text) {
  MessageBox(nullptr, text, "Error", MB_ICONWARNING | MB_SYSTEMMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

// Files unpacked from archives made on systems without execute bits arrive without them; the
// program about to be started gets execute permission wherever it has read permission.
void MakeProgramExecutable(const std::string& program) {
  const std::string path = NativeProgramPath(program);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const mode_t mode = info.st_mode & 07777;
  const mode_t executable = mode | S_IXUSR | ((mode & (S_IRGRP | S_IROTH)) >> 2);
  if (executable != mode) ::chmod(path.c_str(), executable);
}

// Changes to `folder` (unless empty), then replaces the process with `program`, giving it the
// single argument `argument_text`. Returns only when that failed; `arguments` is what the log
// quotes.
void StartProgram(const std::string& folder, const std::string& program, const std::string& arguments,
                  const std::string& argument_text) {
  if (!folder.empty() && !SetCurrentDirectory(folder)) {
    LogMessage("Unable to change directory to '%s'.\n", folder.c_str());
    ShowError(kCannotExecuteText);
  }
  MakeProgramExecutable(program);
  (void)ExecProgram(program, {program, argument_text});
  LogMessage("_execl failed for '%s' with '%s'.\n", program.c_str(), arguments.c_str());
  ShowError(kCannotExecuteText);
}

bool LoadBackground() {
  switch (Splash_LoadBackground(settings.background_picture)) {
    case SplashBackground::kDecoded:
    case SplashBackground::kFallback:
      return true;
    case SplashBackground::kInvalid:
      LogMessage("Invalid background image.\n");
      return false;
    case SplashBackground::kMissing:
      LogMessage("Missing background image.\n");
      return false;
  }
  return false;
}

HICON LoadSplashIcon() {
  if (settings.icon_file[0] == '\0') return nullptr;
  const std::string path = NativePath(settings.icon_file);
  return reinterpret_cast<HICON>(LoadImage(path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

// Steps 7 to 10 of the start: window, button, timer and thread. An error text when the timer or
// the thread could not be started.
const char* StartSplashAndThread() {
  if (!Splash_StartTimer()) return "Timer initialization failure.";
  return Net_ThreadCreate(settings.meta_file_url_1, settings.meta_file_url_2);
}

// Which file failed, where and why, beside the program's own line.
void LogRootIniFailure(const std::string& file_name, int result, int failed_token) {
  const char* reason = "cannot be read";
  switch (result) {
    case ROOTINI_CANNOT_OPEN:
      LogMessage("%s: cannot be opened.\n", file_name.c_str());
      return;
    case ROOTINI_NO_VERSION: reason = "is missing or not a number"; break;
    case ROOTINI_BAD_VERSION: reason = "is not version 0"; break;
    case ROOTINI_MISSING_TOKEN: reason = "is missing, too long or not a number"; break;
    case ROOTINI_NO_END_MARKER: reason = "is not END_OF_FILE"; break;
    default: break;
  }
  LogMessage("%s: token %d %s.\n", file_name.c_str(), failed_token, reason);
}

}  // namespace

void RunDefaultProgram() {
  if (settings.default_program[0] == '\0') {
    ShowError(kNoDefaultProgramText);
    return;
  }
  StartProgram(settings.default_program_folder, settings.default_program, settings.default_program_arguments,
               StartedProgramArguments(settings.default_program_arguments, command_line.rest));
}

LauncherStartResult Launcher_Start(std::string_view command_line_text, int show_command) {
  // Every early end is a failure: a start that went well replaced the process.
  const LauncherStartResult ended{false, kLauncherFailed};
  Log_Reset(kLogFileName);
  command_line = ParseLauncherCommandLine(command_line_text);

  bool have_background = false;
  int failed_token = 0;
  if (const int result = ReadRootIni(command_line.settings_file.c_str(), &settings, &failed_token);
      result != ROOTINI_OK) {
    LogMessage("Invalid INI file.\n");
    LogRootIniFailure(command_line.settings_file, result, failed_token);
  } else {
    InstallUpkeep* upkeep = InstallUpkeep_Create();
    (void)InstallUpkeep_Init(upkeep, settings, command_line.relocated);  // a failure leaves upkeep off
    if (!InstallUpkeep_Run(upkeep)) {
      InstallUpkeep_Destroy(upkeep);  // restarted from the install's new folder
      return ended;
    }
    if (command_line.skip_upgrade) {
      RunDefaultProgram();
      InstallUpkeep_Destroy(upkeep);
      return ended;
    }
    Splash_SetSettings(&settings);
    have_background = LoadBackground();
    InstallUpkeep_Destroy(upkeep);
  }
  if (!have_background) {
    ShowError(kDamagedText);
    return ended;
  }

  RegisterSplashClass(nullptr, LoadSplashIcon());
  if (CreateSplashWindow(nullptr, show_command, settings.product_name) == 0) {
    Splash_Release();
    return ended;
  }
  Splash_CreateButton(nullptr);
  if (const char* error = StartSplashAndThread()) {
    LogMessage("Net_ThreadCreate() error '%s'.\n", error);
    ShowError(kNoThreadText);
    Splash_Release();
    return ended;
  }
  return LauncherStartResult{true, 0};
}

int Launcher_Finish(int last_wparam) {
  const int state = Upgrade_GetState();
  Upgrade_Kill();  // the thread has ended or is about to: its state is final
  Splash_Release();
  switch (state) {
    case UPGRADE_DONE: {
      const std::string folder = Upgrade_GetRunFolder();
      const std::string program = Upgrade_GetRunProgram();
      const std::string arguments = Upgrade_GetRunArguments();
      StartProgram(folder, program, arguments, StartedProgramArguments(arguments, command_line.rest));
      return last_wparam;
    }
    case UPGRADE_SERVER_FAILURE:
      if (settings.default_program[0] != '\0') RunDefaultProgram();
      return 0;
    default:
      return last_wparam;
  }
}

int LauncherMain(std::string_view command_line_text, int show_command) {
  const LauncherStartResult start = Launcher_Start(command_line_text, show_command);
  if (!start.run_loop) return start.exit_code;
  MSG message;
  while (GetMessage(&message, nullptr, 0, 0) != 0) {
    TranslateMessage(&message);
    DispatchMessage(&message);
  }
  // A run that went well ends by replacing the process; coming back means nothing was started.
  (void)Launcher_Finish(static_cast<int>(message.wParam));
  return kLauncherFailed;
}
