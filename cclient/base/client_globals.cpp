#include "cclient/base/client_globals.h"


platform::HINSTANCE ProgramInstance = nullptr;
platform::HWND MainWindow = nullptr;
uint32_t ForceFullUpgrade = 0;
char ProgramFolderPath[kProgramPathBytes] = "";
uint32_t AffiliateId = 0;
char ForceExitText[kForceExitTextBytes] = "";
DialogHolder* BadSignInDialogHolder = nullptr;
