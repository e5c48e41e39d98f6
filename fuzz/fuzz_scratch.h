#pragma once
// A scratch folder of the harness's own, for parsers that are reached only through a file
// (a data file with its side file, an image to restore, the program's own settings files):
// made once in memory (/dev/shm, where the saves' flushes cost nothing; else the temporary
// folder), emptied by each run that asks, removed at exit.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace n27::fuzz {

inline const std::string &ScratchFolder() {
  static const std::string folder = [] {
    std::error_code ec;
    const std::filesystem::path memory = "/dev/shm";
    std::string name = ((std::filesystem::is_directory(memory, ec) && ::access("/dev/shm", W_OK) == 0
                             ? memory
                             : std::filesystem::temp_directory_path()) /
                        "n27-fuzz-XXXXXX")
                           .string();
    if (!::mkdtemp(name.data())) std::abort();
    static std::string removeAtExit;
    removeAtExit = name;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(removeAtExit, ec);
    });
    return name;
  }();
  return folder;
}

inline std::string ScratchPath(const std::string &name) { return ScratchFolder() + "/" + name; }

// Removes everything a run left in the folder.
inline void ClearScratch() {
  std::error_code ec;
  for (const auto &entry : std::filesystem::directory_iterator(ScratchFolder(), ec))
    std::filesystem::remove_all(entry.path(), ec);
}

inline void WriteScratch(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();
}

}  // namespace n27::fuzz
