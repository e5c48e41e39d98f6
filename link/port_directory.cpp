#include "link/port_directory.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <map>

#include "base/ini_file.h"
#include "base/messages.h"

namespace n27 {

namespace {

struct NumberRule {
  const char *prefix;  // device name without "/dev/"
  int first;           // number of device 0
  int count;           // devices covered
};

constexpr NumberRule kRules[] = {
    {"ttyS", 1, 64},       {"ttyUSB", 65, 64},       {"ttyACM", 129, 32}, {"ttyAMA", 161, 16},
    {"rfcomm", 177, 16},   {"ttyXRUSB", 193, 8},     {"ttyCH343USB", 201, 8},
    {"ttymxc", 209, 8},
};

// Families of serial devices without a fixed range: board UARTs and adapter drivers whose
// ports the kernel names this way.
constexpr const char *kOtherFamilies[] = {
    "ttyTHS", "ttySC", "ttyO", "ttyLP", "ttyHS", "ttyMSM", "ttyPS", "ttyUL", "ttySAC", "ttyMFD",
    "ttyMAX", "ttyCH9344USB", "ttyWCH", "ttyGS", "ttySTM", "ttyMV", "ttyRPMSG", "ttySIF", "ttyAML",
    "ttyFIQ", "ttyLF", "ttySA", "ttyTCU", "ttyNVT", "ttyEQ", "ttyMI", "ttyHSL", "ttyDBG",
};

std::string deviceName(const std::string &devicePath) {
  return devicePath.rfind("/dev/", 0) == 0 ? devicePath.substr(5) : devicePath;
}

// The family and the number after it: "ttyXRUSB3" → 3 for prefix "ttyXRUSB".
std::optional<int> numberAfter(const std::string &name, const std::string &prefix);

std::optional<int> parseNumber(const std::string &s) {
  if (s.empty() || s.size() > 5) return std::nullopt;
  int n = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return n;
}

constexpr Tr kNoPort{"No serial port is chosen. Choose one under Setting > Set COM.",
                     "未选择串口。请在“设置 > 串口设置”中选择串口。"};
constexpr Tr kMissing{"The port %s does not exist: the programming cable or USB adapter is not "
                      "connected.",
                      "串口 %s 不存在：编程线或USB转换器未连接。"};
constexpr Tr kNoPermission{
    "You have no permission to use %s. Add your user to the group \"%g\" "
    "(sudo usermod -aG %g $USER), then log out and in again.",
    "没有使用 %s 的权限。请把当前用户加入“%g”组（sudo usermod -aG %g $USER），然后重新登录。"};
constexpr Tr kBusy{"The port %s is in use by another program. Close that program and try again.",
                   "串口 %s 正被其他程序使用。请关闭该程序后重试。"};
constexpr Tr kOther{"The port %s cannot be used: %d", "串口 %s 无法使用：%d"};

std::string fill(std::string text, const std::string &device, const std::string &group,
                 const std::string &detail) {
  for (auto [key, value] : {std::pair{"%s", &device}, {"%g", &group}, {"%d", &detail}}) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
      text.replace(at, 2, *value);
      at += value->size();
    }
  }
  return text;
}

}  // namespace

namespace {

std::optional<int> numberAfter(const std::string &name, const std::string &prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string digits = name.substr(prefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  // The kernel never writes a leading zero: "ttyUSB05" is another device than "ttyUSB5" and
  // must not take its number (one of the two was left out of the list).
  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
  return parseNumber(digits);
}

}  // namespace

int ComNumberForDevice(const std::string &devicePath) {
  const std::string name = deviceName(devicePath);
  for (const auto &rule : kRules) {
    auto n = numberAfter(name, rule.prefix);
    if (n && *n >= 0 && *n < rule.count) return rule.first + *n;
  }
  return 0;
}

int NamedComNumber(const std::string &devicePath) {
  // FNV-1a of the device name: the same on every machine and every start.
  uint32_t hash = 2166136261u;
  for (unsigned char c : deviceName(devicePath)) hash = (hash ^ c) * 16777619u;
  return kFirstNamedPort + static_cast<int>(hash % (kLastNamedPort - kFirstNamedPort + 1));
}

bool IsPlaceholderUartName(const std::string &name) { return numberAfter(name, "ttyS").has_value(); }

bool IsSerialDeviceName(const std::string &name) {
  for (const auto &rule : kRules)
    if (numberAfter(name, rule.prefix)) return true;
  for (const char *family : kOtherFamilies)
    if (numberAfter(name, family)) return true;
  return false;
}

std::string PortName(int number) { return "COM" + std::to_string(number); }

std::optional<int> ParseComName(const std::string &text) {
  std::string t = text;
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.pop_back();
  std::size_t a = 0;
  while (a < t.size() && std::isspace(static_cast<unsigned char>(t[a]))) ++a;
  t = t.substr(a);
  if (t.size() < 4) return std::nullopt;
  for (int i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(t[static_cast<std::size_t>(i)])) != "COM"[i])
      return std::nullopt;
  auto n = parseNumber(t.substr(3));
  if (!n || *n < 1 || *n > kMaxPortNumber) return std::nullopt;
  return n;
}

std::vector<PortEntry> ConfiguredPorts(const std::string &settingsPath) {
  return ConfiguredPorts(IniFile(settingsPath));
}

std::vector<PortEntry> ConfiguredPorts(const IniFile &ini) {
  std::vector<PortEntry> out;
  for (const auto &key : ini.keys(kPortsSection)) {
    auto number = ParseComName(key);
    auto device = ini.value(kPortsSection, key);
    if (!number || !device || device->empty()) continue;
    out.push_back({*number, *device, "", true});
  }
  return out;
}

std::vector<PortEntry> PortDirectory::refresh(const std::vector<PortEntry> &systemPorts,
                                              const std::vector<PortEntry> &configured,
                                              const DeviceExists &exists) {
  // The configured ports that are there; the first entry for a number or a device wins.
  std::map<int, PortEntry> byNumber;
  std::map<std::string, bool> taken;  // devices placed so far
  for (const PortEntry &p : configured) {
    if (p.number < 1 || p.number > kMaxPortNumber || p.device.empty() || byNumber.count(p.number)) continue;
    if (taken.count(p.device) || (exists && !exists(p.device))) continue;
    byNumber[p.number] = p;
    taken[p.device] = true;
  }
  // The system's devices, each once (the first description that says something).
  std::vector<PortEntry> devices;
  for (const PortEntry &p : systemPorts) {
    if (p.device.empty() || taken.count(p.device)) continue;
    auto same = std::find_if(devices.begin(), devices.end(), [&](const PortEntry &d) { return d.device == p.device; });
    if (same == devices.end()) devices.push_back(p);
    else if (same->description.empty()) same->description = p.description;
  }
  // Fixed numbers first, then the numbers these devices had earlier in the run, then the
  // named ones in alphabetical order, each on its first choice or the next free one.
  std::vector<PortEntry> named;
  for (PortEntry &p : devices) {
    p.configured = false;
    p.number = ComNumberForDevice(p.device);
    if (p.number == 0) named.push_back(p);
    else if (!byNumber.count(p.number)) byNumber[p.number] = p;
  }
  std::sort(named.begin(), named.end(), [](const PortEntry &a, const PortEntry &b) { return a.device < b.device; });
  std::vector<PortEntry> unplaced;
  for (PortEntry &p : named) {
    auto earlier = given_.find(p.device);
    if (earlier != given_.end() && !byNumber.count(earlier->second)) {
      p.number = earlier->second;
      byNumber[p.number] = p;
    } else {
      unplaced.push_back(p);
    }
  }
  const int span = kLastNamedPort - kFirstNamedPort + 1;
  for (PortEntry &p : unplaced) {
    const int first = NamedComNumber(p.device);
    // A number another device had earlier in the run stays free for it while it is unplugged,
    // unless every other number is in use.
    for (bool keepPromises : {true, false}) {
      for (int i = 0; i < span && p.number == 0; ++i) {
        const int n = kFirstNamedPort + (first - kFirstNamedPort + i) % span;
        bool promised = false;
        for (const auto &[device, number] : given_) promised |= number == n && device != p.device;
        if (byNumber.count(n) || (keepPromises && promised)) continue;
        p.number = n;
        byNumber[n] = p;
      }
      if (p.number != 0) break;
    }
    // All 33 named numbers in use at once: the device is not offered.
  }
  std::vector<PortEntry> out;
  for (auto &[n, p] : byNumber) {
    if (!p.configured && ComNumberForDevice(p.device) == 0) given_[p.device] = n;
    out.push_back(p);
  }
  return out;
}

std::vector<PortEntry> BuildPortList(const std::vector<PortEntry> &systemPorts,
                                     const std::vector<PortEntry> &configured) {
  PortDirectory directory;
  return directory.refresh(systemPorts, configured, nullptr);
}

const PortEntry *FindPort(const std::vector<PortEntry> &ports, int number) {
  for (const auto &p : ports)
    if (p.number == number) return &p;
  return nullptr;
}

int ChooseStartupPort(const std::vector<PortEntry> &ports, int saved) {
  if (FindPort(ports, saved)) return saved;
  return ports.empty() ? 0 : ports.front().number;
}

std::optional<std::string> ResolvePortArgument(const std::vector<PortEntry> &ports,
                                               const std::string &argument) {
  if (argument.find('/') != std::string::npos) return argument;
  auto number = ParseComName(argument);
  if (!number) return std::nullopt;
  if (const PortEntry *p = FindPort(ports, *number)) return p->device;
  return std::nullopt;
}

std::string PortOpenErrorText(PortProblem problem, const std::string &device,
                              const std::string &group, const std::string &detail) {
  std::string text = msg::kPortError.str();
  const Tr *reason = nullptr;
  switch (problem) {
    case PortProblem::None: return text;
    case PortProblem::NoPortChosen: reason = &kNoPort; break;
    case PortProblem::Missing: reason = &kMissing; break;
    case PortProblem::NoPermission: reason = &kNoPermission; break;
    case PortProblem::Busy: reason = &kBusy; break;
    case PortProblem::Other: reason = &kOther; break;
  }
  return text + "\n" + fill(reason->str(), device, group.empty() ? "dialout" : group, detail);
}

}  // namespace n27
