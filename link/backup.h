#pragma once
// Backups of the radio's memory: every read from a radio, and the radio's memory just before
// a write replaces it, are kept in a per-user folder as the raw image and the decoded data
// file, so that nothing is ever written to a radio without a copy of what it held.
//
// A backup is three files (four in the factory test mode) of the same name:
//   20261208-063612_SN-ABC123_read.img           the raw image, 2561 bytes
//   20261208-063612_SN-ABC123_read.dat (+ .NVD)  the data file a read would save (+ .ted)
// The name holds the local date and time, the radio's serial number ("no-serial" when the
// radio has none) and the reason ("read", "before-write" or "after-write": the verify read of
// a write); "-2", "-3" … follow the reason when the name is taken. The folder keeps the newest
// kBackupsKept backups, and every backup the radio history protects.

#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"
#include "codeplug/workspace.h"

namespace n27 {

// RecoveryFolder() + "/backups": $XDG_DATA_HOME/n27/backups (~/.local/share/n27/backups).
std::string BackupFolder();
inline constexpr int kBackupsKept = 200;

enum class BackupReason { Read, BeforeWrite, AfterWrite };

// The radio's serial number: the radio-information text at image bytes 448..463, trimmed;
// "" when the bytes are erased.
std::string RadioSerialNumber(const RadioImage &image);

struct BackupResult {
  bool ok = false;
  std::string imagePath, dataPath, error;  // error: the reason, when !ok
  std::vector<std::string> pruned;         // the images of older backups pruning removed
};

// A serial number as part of a file name: letters, digits, '.', '_' and '-' (others become
// '_', no leading '.'), at most 32 characters; "" for an empty one.
std::string SerialFileName(const std::string &serial);

// The base name of a backup (no extension, no "-2"): "20261208-063612_SN-ABC123_read".
// The serial number is reduced to letters, digits, '.', '_' and '-' (others become '_',
// no leading '.'); "no-serial" stands for an empty one.
std::string BackupBaseName(const std::string &serial, BackupReason reason, std::time_t now);

// What the name of a backup image tells: its date and time ("20261208-063612") and its count
// (the "-N" after the reason; 1 without one). Nothing for a name this program does not give
// to backup images ("notes.img", "x_word_read.img").
struct BackupName {
  std::string stamp;
  int count = 1;
};
std::optional<BackupName> ParseBackupName(const std::string &fileName);

// `radio` is a workspace just filled by a successful read (CompleteRead done): writes its
// raw image and its data file (through the safe save) into `folder` (created, mode 0700)
// under a new name, then prunes the folder, never removing the backup just made (whatever
// the clock says about the names already there) nor the images in `protectedImages`
// (nullopt: nothing is pruned). On failure nothing of the new backup is left.
BackupResult KeepBackup(const Workspace &radio, BackupReason reason, std::time_t now,
                        const std::string &folder = BackupFolder(),
                        const std::optional<std::set<std::string>> &protectedImages = std::set<std::string>{});

// Keeps the newest `kept` backups in `folder` (newest by the date and time in the name, then
// by the "-N" count) and removes the older ones with their data, side and tuning files. Files
// whose names this program does not give to backups are never touched, nor are the backups
// whose image is in `protectedImages`. Returns the images removed.
std::vector<std::string> PruneBackups(const std::string &folder, int kept = kBackupsKept,
                                      const std::set<std::string> &protectedImages = {});

// "The radio's memory was backed up to …" / the failure with its reason, in the current
// language.
std::string BackupKeptMessage(const BackupResult &result);
std::string BackupFailedMessage(const BackupResult &result);
// A write is not started without its backup: the failure and "Nothing was written to the
// radio." together.
std::string WriteRefusedWithoutBackupMessage(const BackupResult &result);

}  // namespace n27
