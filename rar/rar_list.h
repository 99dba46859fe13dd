// The listing commands: L (names without folders) and V (full names and file comments).
#pragma once

#include <string>

// Lists the archive through the message sink. Returns an error text, nullptr when it ran.
[[nodiscard]] const char* ListContents(char command, const std::string& archive_name);
