#pragma once
// The radio history: one entry for every step of a job that touched a radio (a read, a write,
// its verify, a restore, a group or fleet write), kept in a database so that a dealer can find
// a radio by its serial number, see what was programmed into it and when, and put it back.
//
// The entry names the programmed bytes by their SHA-256 (the image addresses a write sends,
// in address order: the same configuration gives the same hash whether it was written or read
// back) and the store keeps the image itself, so every bench that shares the database can open
// and restore it, even after the backup files of the bench that made it are gone.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "base/language.h"
#include "codeplug/radio_image.h"
#include "link/job_steps.h"

namespace n27::history {

struct Entry {
  int64_t id = 0;  // given by the store
  std::time_t time = 0;
  JobOperation operation = JobOperation::Write;
  bool ok = false;
  std::string reason;          // why it failed ("" when ok)
  std::string overrideReason;  // the dealer's reason for writing despite plan errors
  std::string serial;          // the radio's serial number ("" when it has none)
  std::string model;
  int band = -1;               // the band code (-1: not known)
  std::string firmware;
  std::string port;
  std::string dataFile;
  std::string backupBefore, backupAfter;  // the backup images ("" when none)
  bool beforePruned = false, afterPruned = false;  // the backup was removed by pruning since
  std::string sha256;          // of the programmed bytes; "" when the step kept no image
  bool hasImage = false;       // the store keeps the image of the step
  std::string user, host, programVersion;
  std::string customer;        // the run's customer or job label

  // The backup that shows the radio as the step left it: the image after, else the one before.
  const std::string &stateBackup() const { return backupAfter.empty() ? backupBefore : backupAfter; }
  bool stateBackupPruned() const { return backupAfter.empty() ? beforePruned : afterPruned; }
};

// Who records: the user, the computer and the program, the same for every entry of a run.
struct Origin {
  std::string user, host, programVersion;
};
// The user (login name), host name and the given program version of this process.
Origin CurrentOrigin(const std::string &programVersion);

// The entry for a job's record (time, result, radio, files, customer) from `origin`; the hash
// of its image when it has one.
Entry EntryFromRecord(const JobRecord &record, const Origin &origin);

// The SHA-256 (hexadecimal) of the bytes a write sends from an image, in address order.
std::string ProgrammedBytesDigest(const RadioImage &image);
// The SHA-256 of all 2561 bytes: the key under which a store keeps an image once.
std::string WholeImageDigest(const RadioImage &image);

// "read", "write", "verify", "restore", "group", "fleet": the names stored and printed.
const char *OperationName(JobOperation operation);
std::optional<JobOperation> OperationFromName(std::string_view name);
// The operation in the current language, for the window.
std::string OperationText(JobOperation operation);

// A serial number as compared: blanks around it removed, ASCII letters upper-cased.
std::string SerialKey(std::string_view serial);
// A customer text as searched: ASCII letters upper-cased.
std::string CustomerKey(std::string_view customer);

// Local time "2026-12-08 06:36:12" and ISO 8601 with the offset "2026-12-08T06:36:12+01:00".
std::string LocalTimeText(std::time_t time);
std::string IsoTimeText(std::time_t time);

}  // namespace n27::history
