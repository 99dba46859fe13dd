#include "cclient/core/client_globals.h"

platform::HINSTANCE ProgramInstance = nullptr;
platform::HWND MainWindow = nullptr;
uint32_t ForceFullUpgrade = 0;
