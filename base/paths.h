#pragma once
// Where the program's files lie.

#include <string>

namespace n27 {

// The folder of the running executable (shipped data: language/, Init/, help/, dec.tbl …).
// Overridable with the environment variable N27_PROGRAM_DIR (tests, installed layouts).
std::string ProgramFolder();
// A folder the program may write its own files to: the program folder when it is writable,
// otherwise $XDG_CONFIG_HOME/n27 (or ~/.config/n27), created on demand.
std::string WritableFolder();
// A file the program reads: the writable folder's copy when it exists, else the program folder's.
std::string ReadablePath(const std::string &relative);
// Joins a folder and a relative path with one '/'.
std::string JoinPath(const std::string &folder, const std::string &relative);
// The parent folder of a folder ("/a/b/prog" → "/a/b").
std::string ParentFolder(const std::string &folder);

}  // namespace n27
