#pragma once
// New configurations, the modified check and the data file.

#include <string>
#include <vector>

#include "base/file_io.h"
#include "codeplug/workspace.h"

namespace n27 {

// Defaults of every settings record (function, keys, scan, DTMF, FleetSync, lists, messages).
void LoadDefaultSettings(CodeplugData &data);
// Radio-information defaults built from a date (year, month, day).
RadioInformation DefaultRadioInformation(int year, int month, int day);

// Path of the default data file: <programFolder>/Init/<model name>_<band code>.dat
std::string DefaultDataFilePath(const Workspace &ws);

// New configuration: untitled "new.dat", channel count 0, default settings, radio-information
// defaults from today's date, side values 0, then the default data file when present;
// saved := working.
void NewConfiguration(Workspace &ws);

// True when the working copy differs from the saved copy (channels matched by number).
bool IsModified(const CodeplugData &working, const CodeplugData &saved);

enum class FileStatus { Ok, FileError, ModelError };
// The message a caller shows for a failed load or save: "Model Error!" (never translated) or
// "file error." in the current language; empty for Ok.
const char *FileStatusText(FileStatus status);

// Serialise / parse one 9759-byte data file record.
std::string SerializeDataFile(const CodeplugData &data);
// Fails on a wrong size, counts out of range or repeated / out-of-range channel numbers.
bool ParseDataFile(const std::string &bytes, CodeplugData &out);

// Save the working copy (after re-encoding the model record) to path and its ".NVD" side
// file (and, in test mode, the tuning table to the ".ted" companion when the values were
// read, loaded or typed — zeros nobody entered are not kept as a radio's calibration); saved := working;
// untitled cleared; fileName := path; an attached licence goes beside it (LicenceFilePath).
// Through a symbolic link the companions go beside the
// link's target. Writes every file beside the old one and renames them together, so a failed
// save leaves all old files intact; after a failure the saved copy is unchanged. A name
// ending in "NVD" (any case) is refused. `why` (optional) tells the reason of a FileError,
// naming the companion when it was the one that failed.
FileStatus SaveDataFile(Workspace &ws, const std::string &path, FileOutcome *why = nullptr);
// Load a data file: model check ("Model Error!"), side file (its three values replace the
// last three stand-alone values when it is exactly six bytes long), in test mode the ".ted"
// companion into fileTuning and tuning (a missing one leaves them; one that cannot be read,
// is not 32 bytes long or holds a value the test data window would not take fails the load
// with the entry and reason), the licence beside it (ws.licenceText, or ws.licenceProblem
// when it cannot be read), working := saved := file, model record decoded,
// untitled cleared, fileName := path. On any failure nothing in the workspace changes.
// A damaged file (wrong size, counts out of range, channel numbers outside 1..128 or
// repeated, DTMF memory positions outside 1..16 or repeated) is a FileError; `why`
// (optional) tells its reason.
FileStatus LoadDataFile(Workspace &ws, const std::string &path, FileOutcome *why = nullptr);
// The quiet variant used by NewConfiguration: no model check; on failure nothing changes.
bool LoadDefaultFile(Workspace &ws, const std::string &path);

// ".NVD" side file path: the data file path with its last three characters replaced (a file
// name shorter than three characters gets "NVD" added, so the side file stays in its folder).
std::string SideFilePath(const std::string &dataPath);
// The files that travel with a data file, named from the file a save really writes (links
// followed): its side file and, in test mode, its ".ted".
std::vector<std::string> DataFileCompanions(const std::string &path, bool testMode);

// The customer's licence kept beside a data file: FILE.licence.csv beside FILE.dat (a name
// that does not end in ".dat" gets ".licence.csv" added). Saved with the data file when the
// workspace holds one; read again by LoadDataFile.
std::string LicenceFilePath(const std::string &dataPath);
// A licence file larger than this is refused unread (500 lines take about 40 KB).
inline constexpr std::size_t kMaxLicenceBytes = 1u << 20;
// Reads the licence beside a data file (beside its target, through a link). True when there is one: `text` holds it, or, when it
// cannot be read (a folder, a pipe, too large, no permission …), `problem` says why. False
// when there is none.
bool ReadLicenceCompanion(const std::string &dataPath, std::string &text, std::string &problem);

}  // namespace n27
