#include "cclient/lobby/account_dialogs.h"

#include <string>

#include "cclient/base/client_globals.h"
#include "cclient/lobby/device_id.h"
#include "cclient/lobby/email_validation_dialog.h"
#include "cclient/lobby/info_dialogs.h"
#include "cclient/lobby/password_dialogs.h"
#include "cclient/lobby/sign_up_dialog.h"

void AccountDialogs_Start() {
  const std::string path = std::string(ProgramFolderPath) + kDeviceIdLibraryName;
  GlobalDeviceId().Start(path.c_str());
}

int AccountDialogs_PreTranslate(platform::MSG* message) {
  if (PasswordDialogs_PreTranslate(message) == 0) return 0;
  if (GlobalEmailValidationDialog().PreTranslate(message) == 0) return 0;
  return InfoDialogs_PreTranslate(message);
}

void AccountDialogs_CloseAtSignOut() {
  PasswordDialogs_Close();
  GlobalEmailValidationDialog().Close();
}

void AccountDialogs_Shutdown() {
  SignUpDialog_Destroy();
  PasswordDialogs_Destroy();
  GlobalEmailValidationDialog().Destroy();
  InfoDialogs_Destroy();
  GlobalDeviceId().Shutdown();
}
