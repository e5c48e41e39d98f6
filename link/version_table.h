#pragma once
// Which data version of the programmer goes with which radio firmware.
//
// The table lives in "Version.ini" in the parent folder of the program folder, shared by the
// releases installed side by side under that parent (one subfolder per data version):
//   [Version]  CurrentVersion=V200  SoftVersionCount=N  FirmVersionCount=M
//   [Soft]     Version0..Version<N-1>   application versions (kept, not used by the link)
//   [Firm]     Firm0..Firm<M-1>         one pair each: data version in the first four
//                                       characters, firmware version in the last four
// A missing file or empty counts give an empty table: every radio then leads to the version
// message.

#include <string>
#include <vector>

namespace n27 {

class IniFile;

struct VersionPair {
  std::string dataVersion;
  std::string firmwareVersion;
  bool usable = true;  // false for an entry shorter than four characters: it never matches
};

class VersionTable {
 public:
  VersionTable() = default;
  // Reads a Version.ini; a missing or unreadable file gives an empty table.
  static VersionTable Load(const std::string &path);
  // The table of a Version.ini already read.
  static VersionTable FromIni(const IniFile &ini);

  bool compatible(const std::string &dataVersion, const std::string &firmwareVersion) const;
  // The data version of the first pair listing this firmware; empty when none does.
  std::string programVersionFor(const std::string &firmwareVersion) const;

  const std::vector<VersionPair> &pairs() const { return pairs_; }
  const std::string &currentVersion() const { return currentVersion_; }
  const std::vector<std::string> &softVersions() const { return softVersions_; }

  void addPair(const std::string &entry);  // one [Firm] entry as written in the file

 private:
  std::vector<VersionPair> pairs_;
  std::string currentVersion_;
  std::vector<std::string> softVersions_;
};

// <parent of the program folder>/Version.ini
std::string VersionFilePath(const std::string &programFolder);

// "V200" → "V2.00": the first two characters, ".", the last two.
std::string VersionDisplay(const std::string &version);

// The version message: numbered texts 9062 (headline), 9060 + firmware, 9061 + data version,
// lines separated by CR LF.
std::string VersionMessage(const std::string &dataVersion, const std::string &firmwareVersion);
// Numbered text 9063: no release of the programmer is listed for the radio's firmware.
std::string NoReleaseMessage();

// The program of another release: <parent of the program folder>/<version>/<executable name>.
// (On Linux the program file has no extension.)
std::string OtherReleaseProgram(const std::string &programFolder, const std::string &version,
                                const std::string &executableName);

}  // namespace n27
