// Where the program lives.
#pragma once

#include <string>

namespace platform {

// The folder of the running binary, ending in "/". Empty when it cannot be found.
std::string ProgramFolder();

}  // namespace platform
