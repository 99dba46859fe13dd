// Text files as the program's readers and writers expect them: lines end in CR LF when written,
// and readers accept CR LF and a bare LF alike.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Returns `text` with every "\n" that is not already preceded by "\r" written as "\r\n".
std::string ToCrLf(std::string_view text);

// Appends `text` (converted with ToCrLf) to the file at `path`, creating it when missing.
// Opens and closes the file for this one call. Returns false when the file cannot be written.
bool AppendText(const std::string& path, std::string_view text);

}  // namespace platform
