#include "base/file_io.h"

#include <fcntl.h>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstring>

#include "base/language.h"

namespace n27 {

namespace {

constexpr Tr kNoSuchFile{"no such file", "文件不存在"};
constexpr Tr kPermissionDenied{"permission denied", "没有访问权限"};
constexpr Tr kIsFolder{"is a folder", "是一个文件夹"};
constexpr Tr kNotRegular{"not a regular file", "不是普通文件"};
constexpr Tr kTooLarge{"too large", "文件过大"};
constexpr Tr kWrongSize{"wrong size", "文件大小错误"};
constexpr Tr kOf{"of", "/"};
constexpr Tr kDamaged{"damaged", "文件已损坏"};
constexpr Tr kDiskFull{"disk full", "磁盘已满"};
constexpr Tr kReadOnly{"read-only", "只读"};
constexpr Tr kBadName{"this name cannot be used", "不能使用此文件名"};
constexpr Tr kSameAs{"is the same file as", "与此文件是同一个文件："};
constexpr Tr kSizeLimit{"over the file size limit of this session (ulimit -f)",
                        "超出本会话的文件大小限制（ulimit -f）"};

std::function<int(const std::string &)> &SaveFault() {
  static std::function<int(const std::string &)> fault;
  return fault;
}

struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  int release() {
    int f = fd;
    fd = -1;
    return f;
  }
};

std::string FolderOf(const std::string &path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string &path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file a save must replace. A dangling link gives the path it
// points to (the save creates that file). Too many links → ELOOP.
std::optional<std::string> FinalTarget(const std::string &path, int &error) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno == ENOENT) return current;  // a new file
      error = errno;
      return std::nullopt;
    }
    if (!S_ISLNK(st.st_mode)) return current;
    std::string link(4096, '\0');
    ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
    if (n < 0) {
      error = errno;
      return std::nullopt;
    }
    link.resize(static_cast<std::size_t>(n));
    current = (!link.empty() && link[0] == '/') ? link : FolderOf(current) + "/" + link;
  }
  error = ELOOP;
  return std::nullopt;
}

// A fresh temporary file in folder, created exclusively with the given mode. Its name stays
// short whatever the target is called.
int CreateTemporary(const std::string &folder, const std::string &targetName, mode_t mode,
                    std::string &tmpPath) {
  static unsigned counter = 0;
  const std::string stem = targetName.substr(0, 16);
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(::getpid()) << 20) ^ (++counter * 0x9E3779B97F4A7C15ull);
    char suffix[9];
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int i = 0; i < 8; ++i) {
      suffix[i] = kChars[seed % 36];
      seed /= 36;
    }
    suffix[8] = '\0';
    tmpPath = folder + "/." + stem + "." + suffix + ".tmp";
    int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const std::string &bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void SyncFolder(const std::string &folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot: nothing more to do then
  ::close(fd);
}

struct PendingFile {
  std::string target;  // the final target (links followed)
  std::string tmp;     // the written temporary
  std::string backup;  // a second name for the old file while the set is renamed
  bool existed = false;
  bool renamed = false;
};

void RemoveTemporaries(std::vector<PendingFile> &pending) {
  for (auto &p : pending) {
    if (!p.tmp.empty()) ::unlink(p.tmp.c_str());
    if (!p.backup.empty()) ::unlink(p.backup.c_str());
  }
}

// Writes one temporary beside its target; outcome on failure.
FileOutcome PrepareFile(const std::string &path, const std::string &bytes, PendingFile &p) {
  int error = 0;
  auto target = FinalTarget(path, error);
  if (!target) return FileOutcome::FromErrno(error);
  p.target = *target;

  mode_t mode = 0666;  // less the umask, for a new file
  struct stat st {};
  bool keepOwner = false;
  if (::stat(p.target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FileOutcome::Of(FileProblem::IsFolder);
    if (!S_ISREG(st.st_mode)) return FileOutcome::Of(FileProblem::NotRegularFile);
    // A file nobody may write is kept as it is, whoever runs the program.
    if ((st.st_mode & 0222) == 0) return FileOutcome::Of(FileProblem::ReadOnly);
    if (::access(p.target.c_str(), W_OK) != 0) return FileOutcome::FromErrno(errno);
    p.existed = true;
    mode = st.st_mode & 07777;
    keepOwner = true;
  } else if (errno != ENOENT) {
    return FileOutcome::FromErrno(errno);
  }

  const std::string folder = FolderOf(p.target);
  int fd = CreateTemporary(folder, NameOf(p.target), p.existed ? (mode & 0777) : mode, p.tmp);
  if (fd < 0) {
    p.tmp.clear();
    return FileOutcome::FromErrno(errno);
  }
  Fd file(fd);
  if (SaveFault())
    if (int injected = SaveFault()(path)) return FileOutcome::FromErrno(injected);
  if (keepOwner) {
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) { /* another user's file: the owner stays ours */ }
    if (::fchmod(fd, mode) != 0) return FileOutcome::FromErrno(errno);
  }
  if (!WriteAll(fd, bytes)) return FileOutcome::FromErrno(errno);
  if (::fsync(fd) != 0) return FileOutcome::FromErrno(errno);
  if (::close(file.release()) != 0) return FileOutcome::FromErrno(errno);
  return {};
}

}  // namespace

FileOutcome FileOutcome::FromErrno(int error) {
  FileOutcome o;
  o.errorNumber = error;
  switch (error) {
    case 0: o.problem = FileProblem::Other; break;
    case ENOENT:
    case ENOTDIR: o.problem = FileProblem::NotFound; break;
    case EACCES:
    case EPERM: o.problem = FileProblem::PermissionDenied; break;
    case EISDIR: o.problem = FileProblem::IsFolder; break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      o.problem = FileProblem::DiskFull;
      break;
    case EROFS: o.problem = FileProblem::ReadOnly; break;
    case EFBIG: o.problem = FileProblem::TooLarge; break;
    default: o.problem = FileProblem::Other; break;
  }
  return o;
}

std::string FileOutcome::reason() const {
  switch (problem) {
    case FileProblem::None: return {};
    default:
      if (!note.empty()) return note;
      break;
  }
  switch (problem) {
    case FileProblem::None: return {};
    case FileProblem::NotFound: return Text(kNoSuchFile);
    case FileProblem::PermissionDenied: return Text(kPermissionDenied);
    case FileProblem::IsFolder: return Text(kIsFolder);
    case FileProblem::NotRegularFile: return Text(kNotRegular);
    case FileProblem::TooLarge:
      if (errorNumber == EFBIG) return Text(kSizeLimit);
      if (expectedSize == 0) return Text(kTooLarge);
      return std::string(Text(kTooLarge)) + " (" + std::to_string(actualSize) + " > " +
             std::to_string(expectedSize) + ")";
    case FileProblem::WrongSize:
      return std::string(Text(kWrongSize)) + " " + std::to_string(actualSize) + " " + Text(kOf) +
             " " + std::to_string(expectedSize);
    case FileProblem::Damaged: return Text(kDamaged);
    case FileProblem::DiskFull: return Text(kDiskFull);
    case FileProblem::ReadOnly: return Text(kReadOnly);
    case FileProblem::BadName: return Text(kBadName);
    case FileProblem::Other: break;
  }
  return errorNumber != 0 ? std::strerror(errorNumber) : "error";
}

ReadResult ReadWholeFile(const std::string &path, std::size_t maxBytes) {
  ReadResult r;
  // Non-blocking, so that opening a pipe never waits for a writer; the type is checked next.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    r.outcome = FileOutcome::FromErrno(errno);
    return r;
  }
  Fd file(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    r.outcome = FileOutcome::FromErrno(errno);
    return r;
  }
  if (S_ISDIR(st.st_mode)) {
    r.outcome.problem = FileProblem::IsFolder;
    return r;
  }
  if (!S_ISREG(st.st_mode)) {
    r.outcome.problem = FileProblem::NotRegularFile;
    return r;
  }
  auto tooLarge = [&](uint64_t size) {
    r.outcome.problem = FileProblem::TooLarge;
    r.outcome.actualSize = size;
    r.outcome.expectedSize = maxBytes;
    r.bytes.reset();
  };
  if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxBytes) {
    tooLarge(static_cast<uint64_t>(st.st_size));
    return r;
  }
  // The file may grow while it is read: never take more than the bound.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    std::size_t room = maxBytes - bytes.size();
    if (room < sizeof buffer) ++room;  // one byte more shows that it grew past the bound
    ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, room));
    if (n < 0) {
      if (errno == EINTR) continue;
      r.outcome = FileOutcome::FromErrno(errno);
      return r;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > maxBytes) {
      tooLarge(bytes.size());
      return r;
    }
  }
  r.bytes = std::move(bytes);
  return r;
}

std::optional<std::string> ReadWholeFile(const std::string &path) {
  return ReadWholeFile(path, kDefaultMaxReadBytes).bytes;
}

FileOutcome SaveFiles(const std::vector<std::pair<std::string, std::string>> &files) {
  // Two names for one file (a side file that is a link to its data file, say): the second
  // content would silently replace the first.
  for (std::size_t i = 0; i < files.size(); ++i)
    for (std::size_t j = i + 1; j < files.size(); ++j)
      if (SameFile(files[i].first, files[j].first)) {
        FileOutcome o;
        o.problem = FileProblem::BadName;
        o.note = files[j].first + ": " + Text(kSameAs) + " " + files[i].first;
        o.file = files[j].first;
        return o;
      }
  std::vector<PendingFile> pending(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    FileOutcome o = PrepareFile(files[i].first, files[i].second, pending[i]);
    if (!o.ok()) {
      RemoveTemporaries(pending);
      o.file = files[i].first;
      return o;
    }
  }
  // Every new content is on the disk. With more than one file, a second name for each old
  // file lets a failed rename put back the ones already replaced.
  if (pending.size() > 1) {
    for (auto &p : pending) {
      if (!p.existed) continue;
      std::string backup;
      int fd = CreateTemporary(FolderOf(p.target), NameOf(p.target), 0600, backup);
      if (fd < 0) continue;  // no backup: the rename below still replaces atomically
      ::close(fd);
      ::unlink(backup.c_str());
      if (::link(p.target.c_str(), backup.c_str()) == 0) p.backup = backup;
    }
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    PendingFile &p = pending[i];
    if (::rename(p.tmp.c_str(), p.target.c_str()) != 0) {
      FileOutcome o = FileOutcome::FromErrno(errno);
      o.file = files[i].first;
      for (std::size_t j = 0; j < i; ++j) {
        PendingFile &done = pending[j];
        if (done.existed && !done.backup.empty()) {
          if (::rename(done.backup.c_str(), done.target.c_str()) == 0) done.backup.clear();
        } else if (!done.existed) {
          ::unlink(done.target.c_str());
        }
      }
      RemoveTemporaries(pending);
      return o;
    }
    p.renamed = true;
    p.tmp.clear();
  }
  for (auto &p : pending) SyncFolder(FolderOf(p.target));
  RemoveTemporaries(pending);  // the backups
  return {};
}

FileOutcome SaveFile(const std::string &path, const std::string &bytes) {
  return SaveFiles({{path, bytes}});
}

std::string SaveTarget(const std::string &path) {
  int error = 0;
  return FinalTarget(path, error).value_or(path);
}

std::optional<FileIdentity> IdentifyFile(const std::string &path) {
  if (path.empty()) return std::nullopt;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return FileIdentity{st.st_dev, st.st_ino, {}};
  // Not there yet: the folder it would be made in, and its name.
  const std::string target = SaveTarget(path);
  if (::stat(FolderOf(target).c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino, NameOf(target)};
}

bool SameFile(const std::string &a, const std::string &b) {
  auto x = IdentifyFile(a);
  return x && x == IdentifyFile(b);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

bool WriteFileAtomically(const std::string &path, const std::string &bytes) {
  return SaveFile(path, bytes).ok();
}

void SetSaveFaultForTesting(std::function<int(const std::string &target)> fault) {
  SaveFault() = std::move(fault);
}

}  // namespace n27
