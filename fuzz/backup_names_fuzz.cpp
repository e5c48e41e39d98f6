// Backup names fed arbitrary serial numbers, clocks and file names, and a backup folder of
// such names pruned. A name made for a backup reads back as one, with its date, time and
// count; pruning keeps the newest backups and those the history protects, removes a pruned
// backup with its companions, and never touches a file whose name is not a backup's.
//
// Input: [kept][serial length][serial …][time × 5] then, per file, [kind][length][text …].

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_scratch.h"
#include "link/backup.h"

using namespace n27;
namespace fs = std::filesystem;

namespace {

bool Exists(const std::string &path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// What a backup's name is, as a pattern: the parser must agree with it on every name.
void CheckAgainstPattern(const std::string &name) {
  static const std::regex re(
      R"(^(\d{8}-\d{6})_(SN-[A-Za-z0-9._-]+|no-serial)_(read|before-write|after-write)(-([0-9]{1,4}))?\.img$)");
  std::smatch m;
  const bool matches = std::regex_match(name, m, re);
  const auto parsed = ParseBackupName(name);
  FUZZ_CHECK(parsed.has_value() == matches);
  if (matches) FUZZ_CHECK(parsed->stamp == m[1].str() && parsed->count == (m[5].matched ? std::stoi(m[5].str()) : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz::Input in{data, size};
  const int kept = in.byte() % 8;
  const std::string serial = in.bytes(in.byte() % 40);
  std::time_t now = 0;
  for (int k = 0; k < 5; ++k) now = now << 8 | in.byte();
  now %= 253402300800;  // before the year 10000

  const auto reason = static_cast<BackupReason>(now % 3);
  const std::string base = BackupBaseName(serial, reason, now);
  FUZZ_CHECK(base.find('/') == std::string::npos && base.front() != '.');
  const auto made = ParseBackupName(base + ".img");
  FUZZ_CHECK(made && made->count == 1 && base.rfind(made->stamp, 0) == 0);
  const auto second = ParseBackupName(base + "-" + std::to_string(2 + now % 998) + ".img");
  FUZZ_CHECK(second && second->stamp == made->stamp && second->count == 2 + static_cast<int>(now % 998));

  // A folder of backups (with companions), other files and a protected backup.
  fuzz::ClearScratch();
  const std::string folder = fuzz::ScratchFolder();
  std::set<std::string> backups, others, protectedImages;
  for (int files = 0; files < 24 && in.i < in.n; ++files) {
    const uint8_t kind = in.byte();
    std::string name = in.bytes(in.byte() % 48);
    if (kind & 1) name = BackupBaseName(name, reason, now - (kind >> 1) * 3600) + (kind & 2 ? "-3" : "") + ".img";
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
      continue;
    CheckAgainstPattern(name);
    const std::string path = folder + "/" + name;
    if (Exists(path)) continue;
    fuzz::WriteScratch(path, "x");
    if (ParseBackupName(name)) {
      backups.insert(name);
      const std::string stem = path.substr(0, path.size() - 4);
      for (const char *ext : {".dat", ".NVD", ".ted"})
        if (!Exists(stem + ext)) fuzz::WriteScratch(stem + ext, "x");
      if (kind & 0x80) protectedImages.insert(path);
    } else {
      others.insert(name);
    }
  }
  std::set<std::string> files;
  for (const auto &entry : fs::directory_iterator(folder)) files.insert(entry.path().filename().string());

  const std::vector<std::string> removed = PruneBackups(folder, kept, protectedImages);
  for (const std::string &name : files) {
    const bool gone = !Exists(folder + "/" + name);
    // Companions go with their image; anything else that is no backup image stays.
    if (!backups.count(name)) {
      if (gone) {
        const std::string stem = name.substr(0, name.rfind('.'));
        FUZZ_CHECK(backups.count(stem + ".img") && !Exists(folder + "/" + stem + ".img"));
      }
      continue;
    }
    FUZZ_CHECK(gone == (std::find(removed.begin(), removed.end(), folder + "/" + name) != removed.end()));
    FUZZ_CHECK(!gone || !protectedImages.count(folder + "/" + name));
    // Only a backup with `kept` newer ones beside it is pruned.
    if (gone) {
      const auto key = [](const std::string &n) {
        const auto b = *ParseBackupName(n);
        return std::tuple(b.stamp, b.count, n);
      };
      int newer = 0;
      for (const std::string &other : backups) newer += key(other) > key(name);
      FUZZ_CHECK(newer >= kept);
    }
  }
  FUZZ_CHECK(backups.size() - removed.size() >= std::min<std::size_t>(backups.size(), kept));
  FUZZ_CHECK(removed.size() + std::min<std::size_t>(backups.size(), kept) + protectedImages.size() >= backups.size());
  return 0;
}
