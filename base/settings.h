#pragma once
// The small settings kept between runs: "language/mysetup.ini" (first-run mark and serial
// port), the binary "Setting.ini" (three radio-information flags) and the main window
// geometry, which the window keeps in the per-user settings store in twips.

#include <array>
#include <cstdint>
#include <string>

namespace n27 {

inline constexpr const char *kSetupFile = "language/mysetup.ini";
inline constexpr const char *kSetupSection = "language";
inline constexpr const char *kFlagsFile = "Setting.ini";
inline constexpr std::size_t kFlagsRecordLength = 16;

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
