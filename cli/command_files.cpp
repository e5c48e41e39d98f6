#include "cli/command_files.h"

#include "base/file_io.h"
#include "codeplug/configuration.h"

namespace n27::cli {

namespace {

std::string describe(FileKind kind, const std::string &path, const std::string &owner) {
  switch (kind) {
    case FileKind::Data: return "data file " + path;
    case FileKind::Side: return "side file " + path + " of " + owner;
    case FileKind::Tuning: return "tuning file " + path + " of " + owner;
    case FileKind::Image: return "image " + path;
    case FileKind::List: return "list " + path;
  }
  return path;
}

}  // namespace

CommandFiles &CommandFiles::add(const std::string &path, FileKind kind, bool output) {
  if (path.empty() || path == "-") return *this;  // nothing, or standard output
  files_.push_back({path, kind, output, path});
  if (kind != FileKind::Data) return *this;
  for (const std::string &companion : DataFileCompanions(path, testMode_)) {
    const bool side = companion.size() >= 3 && companion.compare(companion.size() - 3, 3, "NVD") == 0;
    files_.push_back({companion, side ? FileKind::Side : FileKind::Tuning, output, path});
  }
  return *this;
}

std::optional<std::string> CommandFiles::clash() const {
  std::vector<std::optional<FileIdentity>> ids;
  for (const Role &f : files_) ids.push_back(IdentifyFile(f.path));
  for (std::size_t i = 0; i < files_.size(); ++i) {
    for (std::size_t j = i + 1; j < files_.size(); ++j) {
      const Role &a = files_[i], &b = files_[j];
      if (!a.output && !b.output) continue;
      if (!ids[i] || ids[i] != ids[j]) continue;
      // The same file read and saved as what it is: a data file saved in place.
      if (a.output != b.output && a.kind == b.kind && SameFile(a.owner, b.owner)) continue;
      const Role &written = b.output ? b : a, &other = b.output ? a : b;
      return "the output " + describe(written.kind, written.path, written.owner) +
             " would replace the " + (other.output ? "output " : "input ") +
             describe(other.kind, other.path, other.owner) + "; nothing was written";
    }
  }
  return std::nullopt;
}

std::string DataFileName(const std::string &path) {
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "-" || name.find('.', 1) != std::string::npos) return path;
  return path + ".dat";
}

}  // namespace n27::cli
