#pragma once
// The backups in the backup folder as the restore window lists them: date and time, serial
// number, reason, band and channel count, newest first, filtered by serial number.

#include <ctime>
#include <string>
#include <vector>

#include "link/backup.h"

namespace n27 {

struct BackupEntry {
  std::string path;        // the image
  std::string stamp;       // "2026-12-08 10:54:48", from the name
  std::string serial;      // the serial number the image holds ("" when erased)
  BackupReason reason = BackupReason::Read;
  int bandCode = -1;       // the image's band byte
  int channels = 0;        // channels in use
  bool readable = true;    // false: the image could not be read (size, a pipe …)
};

// Every backup image in `folder` (names as KeepBackup gives them, regular files only), newest
// first (by the date and time in the name, then the "-N" count). At most `limit` are read.
std::vector<BackupEntry> ListBackups(const std::string &folder, std::size_t limit = 1000);
// Those whose serial number holds `text` (case ignored); all for "".
std::vector<BackupEntry> FilterBackups(const std::vector<BackupEntry> &all, const std::string &text);
// "read" / "before write" in the current language.
std::string BackupReasonText(BackupReason reason);

}  // namespace n27
