#pragma once
// The serial ports the programmer offers, each as "COM" + a number.
//
// Every serial device the system lists gets a number derived from its device name, so the
// same device has the same number on every start and on every machine:
//   /dev/ttyS<n>        COM<n+1>      COM1   .. COM64    (n 0..63, on-board ports)
//   /dev/ttyUSB<n>      COM<65+n>     COM65  .. COM128   (n 0..63, USB serial adapters)
//   /dev/ttyACM<n>      COM<129+n>    COM129 .. COM160   (n 0..31, USB modem-class cables)
//   /dev/ttyAMA<n>      COM<161+n>    COM161 .. COM176   (n 0..15, board UARTs)
//   /dev/rfcomm<n>      COM<177+n>    COM177 .. COM192   (n 0..15, Bluetooth serial)
//   /dev/ttyXRUSB<n>    COM<193+n>    COM193 .. COM200   (n 0..7, adapters with their own driver)
//   /dev/ttyCH343USB<n> COM<201+n>    COM201 .. COM208   (n 0..7)
//   /dev/ttymxc<n>      COM<209+n>    COM209 .. COM216   (n 0..7, board UARTs)
// Any other serial device (ttyTHS0, ttySC1, ttyCH9344USB2, ttyS70 …) gets a number in
// COM217 .. COM249 from its name (the same name gives the same number; should two names meet
// on one number, the later name in alphabetical order takes the next free one). Within a run
// a device keeps the number it was first given.
// Pseudo-terminals such as a simulated radio or a socat pair, which the system never lists,
// are added by the user in the settings file "mysetup.ini" (~/.config/n27), section [Ports],
// one line per port:
//   [Ports]
//   COM250=/dev/pts/7
// Numbers 1..255; an entry there takes the place of a device with the same number (and of
// the same device under another number). An entry whose device is not there is not offered.

#include <functional>
#include <map>
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

// The COM number of a device path by the fixed rules above; 0 when no fixed rule covers it.
int ComNumberForDevice(const std::string &devicePath);
// The first choice of number for a serial device no fixed rule covers (COM217 .. COM249).
int NamedComNumber(const std::string &devicePath);
inline constexpr int kFirstNamedPort = 217, kLastNamedPort = 249;

// Whether a name in /dev is a serial port of a known family: the family's name followed by
// a number ("ttyUSB0", "ttyXRUSB3", "ttymxc1", "ttyTHS2" …; not "ttyUSB", "tty5", "ptmx").
bool IsSerialDeviceName(const std::string &name);
// "ttyS<n>": the kernel makes these whether or not a UART is behind them, so they count only
// when it reports one.
bool IsPlaceholderUartName(const std::string &name);
// "COM" + number.
std::string PortName(int number);
// "COM7" (any case, blanks around it allowed) → 7; nullopt for anything else or 0 / > 255.
std::optional<int> ParseComName(const std::string &text);

class IniFile;
// The [Ports] entries of a settings file (unreadable lines and bad numbers are skipped).
std::vector<PortEntry> ConfiguredPorts(const std::string &settingsPath);
std::vector<PortEntry> ConfiguredPorts(const IniFile &settings);

// Tells whether a device path is there now.
using DeviceExists = std::function<bool(const std::string &devicePath)>;

// The numbers given to the devices of a run. Each refresh takes what the system lists now
// (a device may come several times, under its /dev name and a link resolved to it; the first
// description wins) and the configured ports; a configured port whose device is gone, and a
// device the system no longer lists, leave the list. A device keeps its number for the run.
class PortDirectory {
 public:
  std::vector<PortEntry> refresh(const std::vector<PortEntry> &systemPorts,
                                 const std::vector<PortEntry> &configured, const DeviceExists &exists);

 private:
  std::map<std::string, int> given_;  // device path → the number it was given this run
};

// One refresh of a fresh directory, every configured port taken as present.
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
