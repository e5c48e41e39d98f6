#include "base/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/ascii_case.h"
#include "base/bytes.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/language.h"
#include "base/paths.h"

namespace n27 {

namespace {

std::string trimmed(const std::string &s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (std::isspace(static_cast<unsigned char>(s[a])) || s[a] == '\0')) ++a;
  while (b > a && (std::isspace(static_cast<unsigned char>(s[b - 1])) || s[b - 1] == '\0')) --b;
  return s.substr(a, b - a);
}

int integerOr(const IniFile &ini, const char *key, int fallback) {
  int v = fallback;
  if (auto text = ini.value(kSetupSection, key)) ParseInteger(*text, v);
  return v;
}

// "1", "-1", "True", "yes" mean true; "0", "False", "no" and anything else false.
bool booleanText(const std::string &text) {
  const std::string t = AsciiLower(trimmed(text));
  if (t == "true" || t == "yes") return true;
  int v = 0;
  return ParseInteger(t, v) && v != 0;
}

// Settings files are small; anything bigger than this is not one of ours and is not copied.
constexpr std::uintmax_t kLargestSettingsFile = 1 << 20;

bool isSmallRegularFile(const std::string &path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) &&
         std::filesystem::file_size(path, ec) <= kLargestSettingsFile && !ec;
}

// A settings file that may be read: missing (defaults), or a small regular file. A FIFO, a
// device or a huge file in its place is not opened (reading it would hang or fill memory).
bool readableOrMissing(const std::string &path) {
  std::error_code ec;
  return !std::filesystem::exists(path, ec) || isSmallRegularFile(path);
}

}  // namespace

std::string SetupFilePath() { return JoinPath(ConfigDir(), kSetupFile); }
std::string FlagsFilePath() { return JoinPath(ConfigDir(), kFlagsFile); }
std::string WindowSettingsFilePath() { return JoinPath(ConfigDir(), kWindowSettingsFile); }

std::string SetupFileToRead() {
  const std::string own = JoinPath(JoinPath(ConfigHome(), "n27"), kSetupFile);
  for (const std::string &path :
       {own, JoinPath(JoinPath(ConfigHome(), "n27"), kShippedSetupFile),
        JoinPath(ProgramFolder(), kShippedSetupFile), ShippedPath(kShippedSetupFile)})
    if (isSmallRegularFile(path)) return path;
  return own;
}

SettingsOrigins CurrentSettingsOrigins() {
  return {ConfigDir(), ProgramFolder(), ShippedDataDir(), ConfigHome()};
}

std::vector<std::string> TakeOverSettings(const SettingsOrigins &o) {
  struct Wanted {
    std::string target;
    std::vector<std::string> origins;
  };
  // A folder that is not known gives no origin (never a path relative to the working folder).
  auto in = [](const std::string &folder, const char *name) {
    return folder.empty() ? std::string() : JoinPath(folder, name);
  };
  const Wanted wanted[] = {
      {kSetupFile,
       {in(o.configDir, kShippedSetupFile), in(o.programFolder, kShippedSetupFile),
        in(o.shippedDir, kShippedSetupFile)}},
      {kFlagsFile, {in(o.programFolder, kFlagsFile)}},
      {kBatchItemsFile, {in(o.programFolder, kBatchItemsFile), in(o.shippedDir, kBatchItemsFile)}},
      {kWindowSettingsFile, {in(o.configHome, "N27/N27 Programmer.conf")}},
  };
  std::vector<std::string> copied;
  if (o.configDir.empty() || !MakeFolders(o.configDir)) return copied;
  for (const auto &w : wanted) {
    const std::string target = JoinPath(o.configDir, w.target);
    std::error_code ec;
    if (std::filesystem::symlink_status(target, ec).type() != std::filesystem::file_type::not_found)
      continue;  // the user's own file (or something they put there): never replaced
    for (const auto &origin : w.origins) {
      if (origin.empty() || !isSmallRegularFile(origin)) continue;
      auto bytes = ReadWholeFile(origin);
      if (!bytes) continue;
      if (WriteFileAtomically(target, *bytes)) copied.push_back(origin + " -> " + target);
      break;
    }
  }
  return copied;
}

namespace {

constexpr Tr kIniNotRegular{"%1 is not a regular file and is not read.", "%1 不是普通文件，未读取。"};
constexpr Tr kIniTooLarge{"%1 is larger than 1 MiB (%2 bytes) and is not read.",
                       "%1 大于 1 MiB（%2 字节），未读取。"};
constexpr Tr kMovedAside{"It was moved to %1; the window settings start afresh.",
                         "已移至 %1；窗口设置重新开始。"};
constexpr Tr kWindowsNotKept{"The window settings are not kept in this run.", "本次运行不保存窗口设置。"};
constexpr Tr kSetupLeft{"The saved serial port is not used; the file is left as it is.",
                        "未使用保存的串口；该文件保持不变。"};

// Why a settings file is not read; "" when it is missing or a small regular file.
std::string refusal(const std::string &path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(st)) return {};
  if (!std::filesystem::is_regular_file(st)) return Fill(kIniNotRegular, {path});
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > kLargestSettingsFile) return Fill(kIniTooLarge, {path, std::to_string(size)});
  return {};
}

}  // namespace

SettingsFileCheck CheckSettingsFiles(const std::string &configDir, std::time_t now) {
  SettingsFileCheck check;
  const std::string gap = LanguageIndex() == kChinese ? "" : " ";  // "未读取。已移至…"
  const std::string window = JoinPath(configDir, kWindowSettingsFile);
  if (std::string why = refusal(window); !why.empty()) {
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string aside = window + ".refused-" + stamp;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(aside, ec)) &&
        ::rename(window.c_str(), aside.c_str()) == 0) {
      check.notes.push_back(why + gap + Fill(kMovedAside, {aside}));
    } else {
      check.windowSettingsUsable = false;
      check.notes.push_back(why + gap + Text(kWindowsNotKept));
    }
  }
  const std::string setup = JoinPath(configDir, kSetupFile);
  if (std::string why = refusal(setup); !why.empty()) check.notes.push_back(why + gap + Text(kSetupLeft));
  return check;
}

bool ParseInteger(const std::string &text, int &out) {
  std::string t = trimmed(text);
  const char *first = t.data();
  const char *last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  int v = 0;
  auto [end, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || end != last || first == last) return false;
  out = v;
  return true;
}

SetupSettings ReadSetupSettings(const std::string &path) {
  SetupSettings s;
  if (!readableOrMissing(path)) return s;
  IniFile ini(path);
  if (auto first = ini.value(kSetupSection, "IsFirstRun")) s.isFirstRun = booleanText(*first);
  s.comPort = std::clamp(integerOr(ini, "comPort", 0), 0, 255);
  s.handshaking = integerOr(ini, "Handshaking", 0);
  s.stopBit = integerOr(ini, "StopBit", 0);
  return s;
}

bool WriteSetupSettings(const std::string &path, int comPort, bool firstRunDone) {
  if (!readableOrMissing(path)) return false;
  IniFile ini(path);
  if (firstRunDone) ini.setValue(kSetupSection, "IsFirstRun", "0");
  ini.setValue(kSetupSection, "comPort", std::to_string(comPort));
  return ini.save();
}

std::array<int16_t, 3> ReadRadioInfoFlags(const std::string &path) {
  std::array<int16_t, 3> flags{};
  if (!isSmallRegularFile(path)) return flags;
  auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->size() < 6) return flags;
  const auto *p = reinterpret_cast<const uint8_t *>(bytes->data());
  for (std::size_t i = 0; i < flags.size(); ++i)
    flags[i] = static_cast<int16_t>(get16le(p + 2 * i));
  return flags;
}

bool WriteRadioInfoFlags(const std::string &path, const std::array<int16_t, 3> &flags) {
  std::string record(kFlagsRecordLength, '\0');
  auto *p = reinterpret_cast<uint8_t *>(record.data());
  for (std::size_t i = 0; i < flags.size(); ++i)
    put16le(p + 2 * i, static_cast<uint16_t>(flags[i]));
  return WriteFileAtomically(path, record);
}

int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }
int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace n27
