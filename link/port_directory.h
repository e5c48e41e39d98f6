#pragma once
// The serial ports the programmer offers, each as "COM" + a number.
//
// Every serial device gets a fixed number derived from its device name, so the same device
// has the same number on every start and on every machine:
//   /dev/ttyS<n>     COM<n+1>        COM1   .. COM64    (n 0..63, on-board ports)
//   /dev/ttyUSB<n>   COM<65+n>       COM65  .. COM128   (n 0..63, USB serial adapters)
//   /dev/ttyACM<n>   COM<129+n>      COM129 .. COM160   (n 0..31, USB modem-class cables)
//   /dev/ttyAMA<n>   COM<161+n>      COM161 .. COM176   (n 0..15, board UARTs)
//   /dev/rfcomm<n>   COM<177+n>      COM177 .. COM192   (n 0..15, Bluetooth serial)
// Other devices — and pseudo-terminals such as a simulated radio or a socat pair, which the
// system never lists — are added by the user in the settings file "mysetup.ini" (~/.config/n27),
// section [Ports], one line per port:
//   [Ports]
//   COM250=/dev/pts/7
// Numbers 1..255; an entry there takes the place of a device with the same number.

#include <optional>
#include <string>
#include <vector>

#include "base/language.h"

namespace n27 {

inline constexpr int kMaxPortNumber = 255;
inline constexpr const char *kPortsSection = "Ports";

struct PortEntry {
  int number = 0;           // COM number
  std::string device;       // device path
  std::string description;  // what the system says about it (may be empty)
  bool configured = false;  // from the settings file
};

// The COM number of a device path by the rules above; 0 when no rule covers it.
int ComNumberForDevice(const std::string &devicePath);
// "COM" + number.
std::string PortName(int number);
// "COM7" (any case, blanks around it allowed) → 7; nullopt for anything else or 0 / > 255.
std::optional<int> ParseComName(const std::string &text);

// The [Ports] entries of a settings file (unreadable lines and bad numbers are skipped).
std::vector<PortEntry> ConfiguredPorts(const std::string &settingsPath);

// Devices of the system plus the configured ports, sorted by number; a configured port takes
// the place of a device with the same number; devices without a number are left out.
std::vector<PortEntry> BuildPortList(const std::vector<PortEntry> &systemPorts,
                                     const std::vector<PortEntry> &configured);

const PortEntry *FindPort(const std::vector<PortEntry> &ports, int number);
// The port chosen at start: the saved number when it exists, else the first port, else 0.
int ChooseStartupPort(const std::vector<PortEntry> &ports, int saved);

// A port given on the command line: a device path (anything with a '/') is used as it is;
// "COM" + number is looked up in the list. nullopt when the number is not in the list.
std::optional<std::string> ResolvePortArgument(const std::vector<PortEntry> &ports,
                                               const std::string &argument);

// Why a port could not be opened.
enum class PortProblem { None, NoPortChosen, Missing, NoPermission, Busy, Other };

// "Cannot Open Communication Port." with the reason on the lines beneath it. `group` is the
// group that owns the device (the one that grants access, usually "dialout"); `detail` is the
// system's own text for PortProblem::Other.
std::string PortOpenErrorText(PortProblem problem, const std::string &device,
                              const std::string &group = "dialout",
                              const std::string &detail = "");

}  // namespace n27
