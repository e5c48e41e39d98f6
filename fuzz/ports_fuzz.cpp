// The [Ports] section of the user's settings file and the device names the system lists, fed
// arbitrary text. Every port offered has one number in 1..255 and one device; a device the
// fixed rules number gets that number unless a configured port takes it; the others get one
// of the named numbers; a device keeps its number for the run, however the list changes
// meanwhile; "COM" + number finds the device again.
//
// Input: [ini length][ini text …][device count][family][digits length][digits …] … [present mask]

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "link/port_directory.h"

using namespace n27;

namespace {

const char *const kFamilies[] = {"ttyS",   "ttyUSB", "ttyACM",      "ttyAMA",       "rfcomm", "ttyXRUSB",
                                 "ttymxc", "ttyTHS", "ttyCH343USB", "ttyCH9344USB", "pts/",   ""};

void CheckList(const std::vector<PortEntry> &ports, const std::vector<PortEntry> &system,
               const std::vector<PortEntry> &configured) {
  std::set<std::string> devices;
  int last = 0;
  for (const PortEntry &p : ports) {
    FUZZ_CHECK(p.number > last && p.number <= kMaxPortNumber);  // ascending, one each
    last = p.number;
    FUZZ_CHECK(!p.device.empty() && devices.insert(p.device).second);
    FUZZ_CHECK(ResolvePortArgument(ports, PortName(p.number)) == p.device);
    if (!p.configured && ComNumberForDevice(p.device) == 0)
      FUZZ_CHECK(p.number >= kFirstNamedPort && p.number <= kLastNamedPort);
  }
  std::set<int> takenByConfig;
  std::set<std::string> configuredDevices;
  for (const PortEntry &p : ports)
    if (p.configured) takenByConfig.insert(p.number), configuredDevices.insert(p.device);
  for (const PortEntry &s : system) {
    const int fixed = ComNumberForDevice(s.device);
    if (fixed == 0 || takenByConfig.count(fixed) || configuredDevices.count(s.device)) continue;
    const PortEntry *p = FindPort(ports, fixed);
    FUZZ_CHECK(p && p->device == s.device);
    FUZZ_CHECK(IsSerialDeviceName(s.device.substr(5)));
  }
  (void)configured;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz::Input in{data, size};
  const std::string ini = in.bytes(in.byte());
  const std::vector<PortEntry> configured = ConfiguredPorts(IniFile::FromText(ini));
  for (const PortEntry &p : configured)
    FUZZ_CHECK(p.configured && p.number >= 1 && p.number <= kMaxPortNumber && !p.device.empty());

  std::vector<PortEntry> system;
  for (int count = in.byte() % 48; count > 0; --count) {
    const uint8_t family = in.byte();
    std::string name = "/dev/" + std::string(kFamilies[family % std::size(kFamilies)]) + in.bytes(in.byte() % 6);
    system.push_back({0, name, family & 0x80 ? "adapter" : "", false});
  }
  const uint64_t present = in.byte() * 0x0101010101010101ull;

  PortDirectory directory;
  const auto first = directory.refresh(system, configured, nullptr);
  CheckList(first, system, configured);
  const int chosen = ChooseStartupPort(first, in.byte());
  FUZZ_CHECK(first.empty() ? chosen == 0 : FindPort(first, chosen) != nullptr);

  // Some devices unplugged, then plugged in again: each is back on its number.
  std::vector<PortEntry> fewer;
  for (std::size_t k = 0; k < system.size(); ++k)
    if (present >> (k % 64) & 1) fewer.push_back(system[k]);
  CheckList(directory.refresh(fewer, configured, nullptr), fewer, configured);
  const auto again = directory.refresh(system, configured, nullptr);
  FUZZ_CHECK(again.size() == first.size());
  for (std::size_t k = 0; k < first.size(); ++k)
    FUZZ_CHECK(again[k].number == first[k].number && again[k].device == first[k].device);

  const std::string argument = in.bytes(16);
  if (auto n = ParseComName(argument)) FUZZ_CHECK(*n >= 1 && *n <= kMaxPortNumber);
  return 0;
}
