#pragma once
// The files one command reads and writes, checked before anything is written: an output
// never replaces an input of another kind (a CSV over the data file it came from, an image
// over its data file, a list over the input's side file) nor another output. Files are
// compared by device and inode (links and "./" spellings do not hide them), and a data file
// brings its companions along: its ".NVD" side file and, in test mode, its ".ted".

#include <optional>
#include <string>
#include <vector>

namespace n27::cli {

enum class FileKind { Data, Side, Tuning, Image, List };

class CommandFiles {
 public:
  explicit CommandFiles(bool testMode) : testMode_(testMode) {}
  CommandFiles &in(const std::string &path, FileKind kind) { return add(path, kind, false); }
  CommandFiles &out(const std::string &path, FileKind kind) { return add(path, kind, true); }

  // Why the outputs cannot be written ("the output list e.dat would replace the input data
  // file e.dat"); nullopt when every output is a file of its own. Saving a data file in
  // place (the same file read and written as a data file, with its own companions) is fine.
  std::optional<std::string> clash() const;

 private:
  struct Role {
    std::string path;
    FileKind kind;
    bool output;
    std::string owner;  // the data file a companion belongs to; the file itself otherwise
  };
  CommandFiles &add(const std::string &path, FileKind kind, bool output);

  bool testMode_;
  std::vector<Role> files_;
};

// A data file named on the command line as the desktop's Save dialog takes it: a name
// without an extension gets ".dat" ("folder/ab" → "folder/ab.dat").
std::string DataFileName(const std::string &path);

}  // namespace n27::cli
