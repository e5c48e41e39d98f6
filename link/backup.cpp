#include "link/backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/file_io.h"
#include "base/language.h"
#include "base/paths.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "codeplug/tuning_file.h"
#include "link/transfer_session.h"

namespace n27 {

namespace fs = std::filesystem;

namespace {

constexpr Tr kBackupKept{"The radio's memory was backed up to %1.", "对讲机存储器的数据已备份到 %1。"};
constexpr Tr kBackupFailed{"The radio's memory could not be backed up: %1",
                     "无法备份对讲机存储器的数据：%1"};
constexpr Tr kNothingWritten{
    "Nothing was written to the radio: a write starts only once the radio's memory is backed "
    "up.",
    "未向对讲机写入任何数据：只有在备份对讲机存储器之后才开始写入。"};
constexpr Tr kFolderProblem{"the folder %1 cannot be created.", "无法创建文件夹 %1。"};
constexpr Tr kNoFreeName{"no free file name in %1.", "%1 中没有可用的文件名。"};

// Serial numbers in names are at most this long (the radio holds 16 bytes).
constexpr std::size_t kSerialInNameMax = 32;
// Names tried before a backup gives up ("-2" … "-999").
constexpr int kNameTries = 999;


bool exists(const std::string &path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

// What the backup named `stem` (a path without extension) consists of besides its image.
std::vector<std::string> companions(const std::string &stem) {
  const std::string dat = stem + ".dat";
  return {dat, SideFilePath(dat), TuningFilePath(dat)};
}

void removeBackup(const std::string &stem) {
  std::error_code ec;
  fs::remove(stem + ".img", ec);
  for (const std::string &path : companions(stem)) {
    if (fs::is_regular_file(fs::symlink_status(path, ec))) fs::remove(path, ec);
  }
}

bool allDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The serial part of a name: "no-serial", or "SN-" and at least one letter, digit, '.', '_'
// or '-'.
bool serialPart(std::string_view s) {
  if (s == "no-serial") return true;
  if (s.size() < 4 || s.substr(0, 3) != "SN-") return false;
  return std::all_of(s.begin() + 3, s.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
  });
}

// Keeps the newest `kept` backups by the date and time in their names, and always the one
// named `justMade` (counted among them): a clock set back, or a time zone change, gives the
// new backup a name older than those already there, and it must not be the one removed.
// Nor are the backups whose image is in `protectedImages` (the latest state of a radio the
// history names). Returns the images removed.
std::vector<std::string> Prune(const std::string &folder, int kept, const std::string &justMade,
                               const std::set<std::string> &protectedImages) {
  using Entry = std::tuple<std::string, int, std::string>;  // date-time, count, file name
  std::vector<Entry> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const auto parsed = ParseBackupName(name);
    if (!parsed) continue;
    if (!fs::is_regular_file(it->symlink_status(ec))) continue;
    if (name == justMade) continue;
    found.emplace_back(parsed->stamp, parsed->count, name);
  }
  if (!justMade.empty()) --kept;
  if (kept < 0) kept = 0;
  std::vector<std::string> removed;
  if (found.size() <= static_cast<std::size_t>(kept)) return removed;
  std::set<std::string> keep;
  for (const std::string &path : protectedImages) keep.insert(fs::weakly_canonical(path, ec).string());
  std::sort(found.begin(), found.end(), std::greater<>());  // newest first
  for (std::size_t i = static_cast<std::size_t>(kept); i < found.size(); ++i) {
    const std::string &name = std::get<2>(found[i]);
    const std::string image = JoinPath(folder, name);
    if (keep.count(fs::weakly_canonical(image, ec).string())) continue;
    removeBackup(image.substr(0, image.size() - 4));
    removed.push_back(image);
  }
  return removed;
}

}  // namespace

// date-time _ serial _ reason [-N] .img: "20261208-063612_SN-ABC_read-2.img". The serial
// may hold '_', the reason and count cannot: the last '_' ends the serial.
std::optional<BackupName> ParseBackupName(const std::string &fileName) {
  std::string_view name = fileName;
  constexpr std::size_t kStamp = 15;  // yyyymmdd-hhmmss
  if (name.size() < kStamp + 5 || name[8] != '-' || name[kStamp] != '_' || !allDigits(name.substr(0, 8)) ||
      !allDigits(name.substr(9, 6)) || name.substr(name.size() - 4) != ".img")
    return std::nullopt;
  const std::string_view stamp = name.substr(0, kStamp);
  name = name.substr(kStamp + 1, name.size() - kStamp - 5);
  const std::size_t cut = name.rfind('_');
  if (cut == std::string_view::npos || !serialPart(name.substr(0, cut))) return std::nullopt;
  const std::string_view reason = name.substr(cut + 1);
  for (const std::string_view known : {"read", "before-write", "after-write"}) {
    if (reason.substr(0, known.size()) != known) continue;
    const std::string_view rest = reason.substr(known.size());  // "" or "-N", N of 1 to 4 digits
    if (rest.empty()) return BackupName{std::string(stamp), 1};
    if (rest.size() < 2 || rest.size() > 5 || rest[0] != '-' || !allDigits(rest.substr(1))) continue;
    int count = 0;
    for (char c : rest.substr(1)) count = count * 10 + (c - '0');
    return BackupName{std::string(stamp), count};
  }
  return std::nullopt;
}

std::string BackupFolder() { return RecoveryFolder() + "/backups"; }

std::string RadioSerialNumber(const RadioImage &image) {
  RadioInformation info;
  DecodeRadioInformation(image, info);
  std::string s = info.serialNumber;
  const auto first = s.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::string SerialFileName(const std::string &serial) {
  std::string safe;
  for (char c : serial) {
    if (safe.size() >= kSerialInNameMax) break;
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    safe.push_back(plain ? c : '_');
  }
  if (!safe.empty() && safe.front() == '.') safe.front() = '_';
  return safe;
}

std::string BackupBaseName(const std::string &serial, BackupReason reason, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string safe = SerialFileName(serial);
  const std::string who = safe.empty() ? "no-serial" : "SN-" + safe;
  return std::string(stamp) + "_" + who + "_" +
         (reason == BackupReason::Read          ? "read"
          : reason == BackupReason::BeforeWrite ? "before-write"
                                                : "after-write");
}

BackupResult KeepBackup(const Workspace &radio, BackupReason reason, std::time_t now,
                        const std::string &folder,
                        const std::optional<std::set<std::string>> &protectedImages) {
  BackupResult result;
  if (!MakeFolders(folder, 0700)) {
    result.error = Fill(kFolderProblem, {folder});
    return result;
  }
  const std::string base = BackupBaseName(RadioSerialNumber(radio.image), reason, now);
  std::string stem;
  for (int n = 1; n <= kNameTries && stem.empty(); ++n) {
    const std::string candidate = JoinPath(folder, base + (n > 1 ? "-" + std::to_string(n) : ""));
    bool taken = false;
    for (const std::string &path : companions(candidate)) taken = taken || exists(path);
    if (taken) continue;
    // The image name is claimed first, so two programs never share a backup name.
    const std::string img = candidate + ".img";
    int fd = ::open(img.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      result.error = img + ": " + FileOutcome::FromErrno(errno).reason();
      return result;
    }
    ::close(fd);
    stem = candidate;
  }
  if (stem.empty()) {
    result.error = Fill(kNoFreeName, {folder});
    return result;
  }

  // The data file as a read would save it, from a copy: the caller's workspace stays as it is.
  Workspace copy = radio;
  FileOutcome why;
  const std::string dat = stem + ".dat";
  if (SaveDataFile(copy, dat, &why) != FileStatus::Ok) {
    removeBackup(stem);
    result.error = dat + ": " + (why.ok() ? std::string(FileStatusText(FileStatus::FileError)) : why.reason());
    return result;
  }
  const auto &bytes = radio.image.bytes();
  FileOutcome saved = SaveFile(stem + ".img", std::string(bytes.begin(), bytes.end()));
  if (!saved.ok()) {
    removeBackup(stem);
    result.error = stem + ".img: " + saved.reason();
    return result;
  }
  result.ok = true;
  result.imagePath = stem + ".img";
  result.dataPath = dat;
  if (protectedImages)
    result.pruned = Prune(folder, kBackupsKept, fs::path(result.imagePath).filename().string(),
                          *protectedImages);
  return result;
}

std::vector<std::string> PruneBackups(const std::string &folder, int kept,
                                      const std::set<std::string> &protectedImages) {
  return Prune(folder, kept, {}, protectedImages);
}

std::string BackupKeptMessage(const BackupResult &result) { return Fill(kBackupKept, {result.imagePath}); }

std::string BackupFailedMessage(const BackupResult &result) { return Fill(kBackupFailed, {result.error}); }

std::string WriteRefusedWithoutBackupMessage(const BackupResult &result) {
  return BackupFailedMessage(result) + "\n" + kNothingWritten.str();
}

}  // namespace n27
