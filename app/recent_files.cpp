#include "app/recent_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace n27 {

namespace {
std::string escapeAmpersands(const std::string &s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}
}  // namespace

std::vector<std::string> CleanRecentFiles(const std::vector<std::string> &stored) {
  std::vector<std::string> out;
  for (const auto &p : stored) {
    if (p.empty() || std::find(out.begin(), out.end(), p) != out.end()) continue;
    out.push_back(p);
    if (out.size() == kRecentFileCount) break;
  }
  return out;
}

std::vector<std::string> AddRecentFile(std::vector<std::string> list, const std::string &path) {
  if (!path.empty()) list.insert(list.begin(), path);
  return CleanRecentFiles(list);
}

std::vector<std::string> RemoveRecentFile(std::vector<std::string> list, const std::string &path) {
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  return list;
}

std::string RecentFileMenuText(std::size_t index, const std::string &path) {
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  std::string text = index + 1 <= 9 ? "&" + std::to_string(index + 1) + " "
                                    : std::to_string(index + 1) + " ";
  text += escapeAmpersands(name);
  if (!folder.empty()) text += "  [" + escapeAmpersands(folder) + "]";
  return text;
}

bool RecentFileGone(const std::string &path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

std::string MissingRecentFileText(const std::string &path, int language) {
  if (language == 2) return "文件“" + path + "”已不存在，已从最近文件列表中删除。";
  return "The file \"" + path + "\" no longer exists; it has been removed from the list.";
}

}  // namespace n27
