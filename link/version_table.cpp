#include "link/version_table.h"

#include <charconv>

#include "base/ini_file.h"
#include "base/numbered_text.h"
#include "base/paths.h"

namespace n27 {

namespace {

// A value as the programmer reads it: trimmed, cut at its first NUL.
std::string cleanValue(std::string v) {
  if (auto nul = v.find('\0'); nul != std::string::npos) v.resize(nul);
  return v;
}

int count(const IniFile &ini, const char *key) {
  std::string v = cleanValue(ini.value("Version", key, "0"));
  int n = 0;
  auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || n < 0) return 0;
  return n > 10000 ? 10000 : n;  // a damaged count must not make the start-up crawl
}

}  // namespace

void VersionTable::addPair(const std::string &entry) {
  VersionPair p;
  p.usable = entry.size() >= 4;
  p.dataVersion = entry.substr(0, 4);
  p.firmwareVersion = entry.size() >= 4 ? entry.substr(entry.size() - 4) : entry;
  pairs_.push_back(p);
}

VersionTable VersionTable::Load(const std::string &path) {
  IniFile ini(path);
  if (!ini.ok()) return {};
  return FromIni(ini);
}

// Each value is one lookup in the file's index, so a damaged file with large counts loads in
// time proportional to its counts, and the counts are bounded.
VersionTable VersionTable::FromIni(const IniFile &ini) {
  VersionTable t;
  t.currentVersion_ = cleanValue(ini.value("Version", "CurrentVersion", "")).substr(0, 4);
  int soft = count(ini, "SoftVersionCount");
  for (int i = 0; i < soft; ++i)
    t.softVersions_.push_back(cleanValue(ini.value("Soft", "Version" + std::to_string(i), "")));
  int firm = count(ini, "FirmVersionCount");
  for (int i = 0; i < firm; ++i)
    t.addPair(cleanValue(ini.value("Firm", "Firm" + std::to_string(i), "")));
  return t;
}

bool VersionTable::compatible(const std::string &dataVersion,
                              const std::string &firmwareVersion) const {
  for (const auto &p : pairs_)
    if (p.usable && p.dataVersion == dataVersion && p.firmwareVersion == firmwareVersion)
      return true;
  return false;
}

std::string VersionTable::programVersionFor(const std::string &firmwareVersion) const {
  for (const auto &p : pairs_)
    if (p.usable && p.firmwareVersion == firmwareVersion) return p.dataVersion;
  return {};
}

std::string VersionFilePath(const std::string &programFolder) {
  return JoinPath(ParentFolder(programFolder), "Version.ini");
}

std::string VersionDisplay(const std::string &version) {
  std::string head = version.substr(0, 2);
  std::string tail = version.size() >= 2 ? version.substr(version.size() - 2) : version;
  return head + "." + tail;
}

std::string VersionMessage(const std::string &dataVersion, const std::string &firmwareVersion) {
  return NumberedText(9062) + "\r\n" + NumberedText(9060) + " " + VersionDisplay(firmwareVersion) +
         "\r\n" + NumberedText(9061) + " " + VersionDisplay(dataVersion);
}

std::string NoReleaseMessage() { return NumberedText(9063); }

std::string OtherReleaseProgram(const std::string &programFolder, const std::string &version,
                                const std::string &executableName) {
  return JoinPath(JoinPath(ParentFolder(programFolder), version), executableName);
}

}  // namespace n27
