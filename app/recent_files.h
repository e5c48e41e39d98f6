#pragma once
// The File menu's list of the most recently opened or saved data files. The window keeps the
// list in the per-user settings store; these rules decide its order and its entries' texts.

#include <string>
#include <vector>

namespace n27 {

inline constexpr std::size_t kRecentFileCount = 8;

// `path` moved to the front (an equal path is not listed twice), at most eight entries; empty
// entries are dropped.
std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string &path);
// The list without `path`.
std::vector<std::string> RemoveRecentFile(std::vector<std::string> list, const std::string &path);
// A list read back from the settings: empty and repeated entries dropped, at most eight.
std::vector<std::string> CleanRecentFiles(const std::vector<std::string> &stored);
// The menu entry: "&1 name.dat  [folder]" (entries 1..9 get an access key). A "&" in the
// name is doubled so it is shown, not taken as an access key.
std::string RecentFileMenuText(std::size_t index, const std::string &path);
// True when nothing is left at `path` (a dangling link counts as gone). Anything else — a
// folder, a pipe, a file that may not be read — is still there: opening it says what is wrong.
bool RecentFileGone(const std::string &path);
// "The file "…" no longer exists; it has been removed from the list." / Chinese.
std::string MissingRecentFileText(const std::string &path, int language);

}  // namespace n27
