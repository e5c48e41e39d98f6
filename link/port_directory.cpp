#include "link/port_directory.h"

#include <algorithm>
#include <cctype>
#include <charconv>
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
    {"ttyS", 1, 64}, {"ttyUSB", 65, 64}, {"ttyACM", 129, 32}, {"ttyAMA", 161, 16},
    {"rfcomm", 177, 16},
};

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

int ComNumberForDevice(const std::string &devicePath) {
  std::string name = devicePath;
  if (name.rfind("/dev/", 0) == 0) name = name.substr(5);
  for (const auto &rule : kRules) {
    std::string prefix = rule.prefix;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    auto n = parseNumber(name.substr(prefix.size()));
    if (n && *n >= 0 && *n < rule.count) return rule.first + *n;
  }
  return 0;
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
  std::vector<PortEntry> out;
  IniFile ini(settingsPath);
  for (const auto &key : ini.keys(kPortsSection)) {
    auto number = ParseComName(key);
    auto device = ini.value(kPortsSection, key);
    if (!number || !device || device->empty()) continue;
    out.push_back({*number, *device, "", true});
  }
  return out;
}

std::vector<PortEntry> BuildPortList(const std::vector<PortEntry> &systemPorts,
                                     const std::vector<PortEntry> &configured) {
  std::map<int, PortEntry> byNumber;
  for (auto p : systemPorts) {
    if (p.number == 0) p.number = ComNumberForDevice(p.device);
    if (p.number >= 1 && p.number <= kMaxPortNumber) byNumber.emplace(p.number, p);
  }
  for (const auto &p : configured)
    if (p.number >= 1 && p.number <= kMaxPortNumber) byNumber[p.number] = p;
  std::vector<PortEntry> out;
  for (auto &[n, p] : byNumber) out.push_back(p);
  return out;
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
