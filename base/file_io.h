#pragma once
// Reading whole files within a size bound, and replacing files safely.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace n27 {

// Why a file could not be read or written.
enum class FileProblem {
  None,
  NotFound,          // no such file (or folder on the way)
  PermissionDenied,  // the system refuses access
  IsFolder,          // the name is a folder
  NotRegularFile,    // a device, pipe, socket …
  TooLarge,          // larger than the format allows
  WrongSize,         // not the size the format fixes
  Damaged,           // the right size, but the content cannot be right
  DiskFull,          // no room left on the disk (or over the quota)
  ReadOnly,          // the file or its file system is read-only
  BadName,           // a name the program must not write to (see the caller)
  Other,             // any other system error (errorNumber tells which)
};

// The outcome of a read or a save; `problem` None means it worked.
struct FileOutcome {
  FileProblem problem = FileProblem::None;
  int errorNumber = 0;        // errno for Other (and whatever the system said)
  uint64_t actualSize = 0;    // TooLarge / WrongSize: the size found
  uint64_t expectedSize = 0;  // TooLarge: the limit; WrongSize: the size the format fixes
  std::string note;           // a reason of the caller's own, shown instead of the usual one
  std::string file;           // a save of several files: the one that failed (as given)

  bool ok() const { return problem == FileProblem::None; }
  // The reason in the current language: "no such file", "permission denied", "is a folder",
  // "wrong size 12 of 9759", "disk full", "read-only" …; empty when it worked.
  std::string reason() const;

  static FileOutcome FromErrno(int error);
  static FileOutcome Of(FileProblem problem) {
    FileOutcome outcome;
    outcome.problem = problem;
    return outcome;
  }
};

struct ReadResult {
  std::optional<std::string> bytes;  // the whole content when it could be read
  FileOutcome outcome;
  explicit operator bool() const { return bytes.has_value(); }
};

// Reads a whole regular file of at most maxBytes bytes. Anything else is refused before a
// byte is read: a folder, a device such as /dev/zero, a pipe (never waits for a writer), a
// file larger than maxBytes (whatever it is made of, so a huge sparse file costs nothing).
ReadResult ReadWholeFile(const std::string &path, std::size_t maxBytes);
// The same with a general bound (16 MiB) for callers without a format of their own.
std::optional<std::string> ReadWholeFile(const std::string &path);
inline constexpr std::size_t kDefaultMaxReadBytes = 16u << 20;

// Replaces a set of files together (a data file and its side file): every new content is
// written to a temporary file beside its target and flushed to the disk first; only then are
// the temporaries renamed over their targets and the folders flushed. On any failure the
// temporaries are removed and every target is left as it was (a rename that fails after an
// earlier one worked puts the earlier target back).
//  - A target that is a symbolic link is saved through the link: its final target gets the
//    new content and the link stays a link.
//  - An existing target keeps its permission bits (and its owner, where the system allows).
//  - A target whose permission bits allow nobody to write is refused as ReadOnly, as is a
//    read-only file system. A folder or a device as target is refused.
//  - The temporary names are short, so a target name at the name limit of the file system
//    saves too.
FileOutcome SaveFiles(const std::vector<std::pair<std::string, std::string>> &files);
// The file a save of `path` replaces: symbolic links followed to their final target (a
// dangling link gives the file it points to). `path` itself when it is no link or the links
// cannot be followed (the save then reports why). A file's companions (".NVD", ".ted") are
// named from this path, so they lie beside the file that is really written.
std::string SaveTarget(const std::string &path);

// Who a file is: device and inode of an existing file (links followed), or, for a file not
// there yet, device and inode of its folder and its name. Two paths that would read or write
// the same file have the same identity; nullopt when even the folder cannot be found.
struct FileIdentity {
  uint64_t device = 0, inode = 0;
  std::string newName;  // set for a file that does not exist yet
  bool operator==(const FileIdentity &) const = default;
};
std::optional<FileIdentity> IdentifyFile(const std::string &path);
bool SameFile(const std::string &a, const std::string &b);

// A write beyond the file size limit (ulimit -f) would end the program by SIGXFSZ and leave
// temporary files behind; with the signal ignored the write fails with EFBIG, which the saves
// report ("over the file size limit") and clean up after. Every program calls this first.
void IgnoreFileSizeSignal();

// One file; true when it worked.
bool WriteFileAtomically(const std::string &path, const std::string &bytes);
FileOutcome SaveFile(const std::string &path, const std::string &bytes);

// Tests only: called before each temporary file is written, with the target path; a non-zero
// return is taken as the system error of that write (ENOSPC for a full disk, say).
// Pass an empty function to remove it.
void SetSaveFaultForTesting(std::function<int(const std::string &target)> fault);

}  // namespace n27
