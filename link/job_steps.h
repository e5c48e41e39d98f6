#pragma once
// The two steps of a programming job that others provide: checking the plan before it reaches
// a radio, and recording what was done to a radio. The job (programming_job.h) calls them
// through these interfaces; the plan check (plan/) and the radio history (history/) implement
// them; the programs wire them together. A job without a gate or a recorder skips that step.

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "codeplug/codeplug_data.h"
#include "codeplug/radio_image.h"

namespace n27 {

// What a radio says about itself before anything is written: the radio-information read.
struct RadioIdentity {
  std::string serial;    // image 448..463, trimmed; "" when erased
  std::string model;     // the identification reply's model code ("N27PR")
  int bandCode = -1;     // the identification reply's band byte (-1: not known)
  std::string firmware;  // the identification reply's four firmware characters
};

// ---------------------------------------------------------------------------------------
// Plan check

enum class FindingSeverity { Warning, Error };

struct PlanFinding {
  FindingSeverity severity = FindingSeverity::Warning;
  std::string rule;     // "tx-not-licensed", "scan-empty-channel" …
  int channel = 0;      // the channel number 1..128, 0 when the finding is about a setting
  std::string message;  // in the current language, naming the channel or setting
};

struct PlanVerdict {
  std::vector<PlanFinding> findings;
  bool blocked = false;        // an error was found and not overridden: the radio is not written
  std::string overrideReason;  // the dealer's reason when errors were overridden ("" otherwise)
};

class PlanGate {
 public:
  virtual ~PlanGate() = default;
  // Checks the configuration about to be written to one radio (its own per-radio values
  // already applied). Must not block or show anything.
  virtual PlanVerdict check(const CodeplugData &config) = 0;
};

// ---------------------------------------------------------------------------------------
// Record

enum class JobOperation { Read, Write, Verify, Restore, Group, Fleet };

// One step of a job (or a read) that touched a radio.
struct JobRecord {
  std::time_t time = 0;          // when the step ended
  JobOperation operation = JobOperation::Write;
  bool ok = false;
  std::string reason;            // why it failed, in the current language ("" when ok)
  std::string overrideReason;    // the dealer's reason for writing despite plan errors
  RadioIdentity radio;
  std::string port;              // the device the radio was on
  std::string dataFile;          // the configuration's file (absolute), "" when untitled
  std::string backupBefore;      // the image kept before the write ("" when none)
  std::string backupAfter;       // the image kept after it (the verify read; "" when none)
  std::string customer;          // the run's customer or job label ("" when none)
  bool hasImage = false;         // `image` holds the programmed bytes written or read
  RadioImage image;
};

class JobRecorder {
 public:
  virtual ~JobRecorder() = default;
  // Records one entry; never throws and never blocks for long. "" when it was recorded,
  // otherwise why not ("the history database is locked"), in the current language. A
  // recorder that fails never changes the outcome of the job.
  virtual std::string record(const JobRecord &entry) = 0;
  // The backup images pruning must keep however old they are: those the history names as the
  // latest state of a radio. nullopt when the history cannot say (then nothing is pruned).
  virtual std::optional<std::set<std::string>> protectedBackups() { return std::set<std::string>{}; }
  // The backup images pruning removed: the history marks the entries that name them.
  virtual void backupsPruned(const std::vector<std::string> &images) {}
};

}  // namespace n27
