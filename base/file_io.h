#pragma once
// Reading whole files and replacing them safely.

#include <optional>
#include <string>

namespace n27 {

// Writes bytes to path safely: into a temporary file beside it, then renamed over it, so a
// failure never destroys the file it replaces. False on any failure.
bool WriteFileAtomically(const std::string &path, const std::string &bytes);
// Reads a whole file; nullopt on failure.
std::optional<std::string> ReadWholeFile(const std::string &path);

}  // namespace n27
