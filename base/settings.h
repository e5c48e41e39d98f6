#pragma once
// The small settings kept between runs, all in the user's settings folder (ConfigDir(),
// ~/.config/n27): "mysetup.ini" (first-run mark and serial port), the binary "Setting.ini"
// (three radio-information flags), "BatchFun.ini" (batch edit items) and "n27.ini" (the main
// window geometry in twips and other per-user window settings, in Qt's INI format).

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace n27 {

inline constexpr const char *kSetupFile = "mysetup.ini";
inline constexpr const char *kShippedSetupFile = "language/mysetup.ini";  // the shipped default
inline constexpr const char *kSetupSection = "language";
inline constexpr const char *kFlagsFile = "Setting.ini";
inline constexpr const char *kBatchItemsFile = "BatchFun.ini";
inline constexpr const char *kWindowSettingsFile = "n27.ini";
inline constexpr std::size_t kFlagsRecordLength = 16;

// The settings files in the user's settings folder.
std::string SetupFilePath();           // <ConfigDir>/mysetup.ini
std::string FlagsFilePath();           // <ConfigDir>/Setting.ini
std::string WindowSettingsFilePath();  // <ConfigDir>/n27.ini

// The settings file a program that does not write settings reads (n27-cli: the extra ports):
// the user's mysetup.ini when there is one, else the file it would be taken over from.
std::string SetupFileToRead();

// Where a settings file may be found when the user's folder lacks it, first match wins:
// the per-user copy an older build kept, the copy an older build wrote beside itself in the
// program folder, and the shipped default.
struct SettingsOrigins {
  std::string configDir;     // the user's settings folder (written)
  std::string programFolder; // older builds wrote their settings here (never written now)
  std::string shippedDir;    // shipped defaults (never written)
  std::string configHome;    // $XDG_CONFIG_HOME: older builds kept the window geometry there
};
SettingsOrigins CurrentSettingsOrigins();

// Makes the user's settings folder complete before the program reads it: each settings file
// it lacks is copied once from the first origin that has it (an older build's copy, else the
// shipped default). Files already there are never touched; origins are only read. Returns the
// files copied, as "origin -> target" lines (for tests and the log).
std::vector<std::string> TakeOverSettings(const SettingsOrigins &origins);

// The settings files looked at before the program reads them: a settings file that is not
// a regular file (a FIFO would hang the start) or is larger than 1 MiB is not read. "n27.ini"
// (Qt reads it itself, whole) is moved aside to "n27.ini.refused-YYYYMMDD-HHMMSS" so the
// window settings start afresh; when it cannot be moved they are not kept in this run.
// "mysetup.ini" is left as it is (neither read nor rewritten). `notes` say what happened, in
// the current language, one text per file.
struct SettingsFileCheck {
  std::vector<std::string> notes;
  bool windowSettingsUsable = true;
};
SettingsFileCheck CheckSettingsFiles(const std::string &configDir, std::time_t now);

struct SetupSettings {
  bool isFirstRun = false;
  int comPort = 0;
  int handshaking = 0;
  int stopBit = 0;
};

// Reads the four keys of section "language"; a missing file or key gives the defaults above.
SetupSettings ReadSetupSettings(const std::string &path);
// Writes "comPort" (and, when firstRunDone, "IsFirstRun" = "0"), keeping every other line.
bool WriteSetupSettings(const std::string &path, int comPort, bool firstRunDone);

// "Setting.ini": one 16-byte record, three 16-bit little-endian values first. A missing,
// short or unreadable file gives 0, 0, 0.
std::array<int16_t, 3> ReadRadioInfoFlags(const std::string &path);
bool WriteRadioInfoFlags(const std::string &path, const std::array<int16_t, 3> &flags);

// Main window position and size in twips (15 twips are one pixel at 96 dpi).
struct WindowGeometry {
  int left = 100;
  int top = 100;
  int width = 14500;
  int height = 10500;
};
inline constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// True when text (blanks and NULs around it ignored) is a decimal integer with an optional
// sign; out is then set. Never depends on the locale.
bool ParseInteger(const std::string &text, int &out);

}  // namespace n27
