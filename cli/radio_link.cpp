#include "cli/radio_link.h"

#include <QEventLoop>

#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "base/paths.h"
#include "link/password.h"
#include "link/port_directory.h"
#include "link/qt/serial_port.h"
#include "link/tuning_block.h"
#include "link/version_table.h"

namespace n27::cli {

namespace {

// Line ends of the system's messages as a terminal shows them.
std::string plain(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.replace(at, 2, "\n");
  return text;
}

class TerminalUi : public TransferUi {
 public:
  TerminalUi(std::string command, int retries)
      : command_(std::move(command)), retriesLeft_(retries), bar_(::isatty(STDERR_FILENO)) {}

  bool askRetry(const std::string &text) override {
    endBar();
    last_ = plain(text);
    bool retry = retriesLeft_ > 0;
    if (retry) --retriesLeft_;
    std::fprintf(stderr, "%s %s\n", plain(text).c_str(), retry ? "Retry." : "Cancel.");
    return retry;
  }
  void askPassword(std::string &) override {
    endBar();
    std::fprintf(stderr, "n27-cli %s: the radio is protected by a programming password; "
                         "give the right one with --password\n", command_.c_str());
    last_ = "the radio is protected by a programming password";
  }
  bool askSwitchRelease(const std::string &text) override {
    endBar();
    last_ = plain(text);
    std::fprintf(stderr, "%s\n(No: the command line does not start another release.)\n",
                 plain(text).c_str());
    return false;
  }
  void showMessage(const std::string &text, MessageIcon) override {
    endBar();
    last_ = plain(text);
    std::fprintf(stderr, "%s\n", plain(text).c_str());
  }
  void note(const std::string &text) override {
    endBar();
    std::fprintf(stderr, "%s\n", plain(text).c_str());
  }
  void progress(int percent) override {
    if (!bar_) return;
    constexpr int kWidth = 40;
    int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), percent);
    std::fflush(stderr);
    barShown_ = true;
  }
  void finished(bool success) override {
    endBar();
    done_ = true;
    success_ = success;
  }
  void switchRelease(const std::string &) override {}

  bool done() const { return done_; }
  bool success() const { return success_; }
  const std::string &lastMessage() const { return last_; }

 private:
  void endBar() {
    if (!barShown_) return;
    std::fprintf(stderr, "\n");
    barShown_ = false;
  }

  std::string command_;
  int retriesLeft_;
  bool bar_;
  bool barShown_ = false;
  bool done_ = false;
  bool success_ = false;
  std::string last_;
};

bool parseCount(const std::string &text, int &out, int max) {
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out >= 0 && out <= max;
}

}  // namespace

const char *const kLinkOptionsUsage =
    "  --port PORT        the serial port: a device path (/dev/ttyUSB0) or COM + number as\n"
    "                     the programmer lists it (extra ports: [Ports] in ~/.config/n27/mysetup.ini)\n"
    "  --password PW      the radio's programming password, when it has one\n"
    "  --retries N        answer \"Check Connection. Retry or Cancel?\" with Retry N times\n"
    "                     (default 0), then Cancel\n";

std::vector<OptionDef> LinkOptionDefs() {
  return {{{"--port", "-p"}, true},
          {{"--password"}, true},
          {{"--retries"}, true},
          {{"--reply-timeout"}, true}};
}

bool ReadLinkOptions(const Args &args, LinkOptions &out, std::string &error) {
  out.port = args.value("--port");
  if (out.port.empty()) {
    error = "no port given (--port PORT)";
    return false;
  }
  out.passwordGiven = args.has("--password");
  // The argument is UTF-8: "éé" is two characters, two bytes for the radio.
  const auto password = link::PasswordFromUtf8(args.value("--password"), error);
  if (!password) return false;
  out.password = link::CleanPassword(*password);
  if (out.password.size() > 4) {
    error = "the programming password has at most 4 characters";
    return false;
  }
  if (args.has("--retries") && !parseCount(args.value("--retries"), out.retries, 1000)) {
    error = "--retries takes a number from 0 to 1000";
    return false;
  }
  if (args.has("--reply-timeout") &&
      !parseCount(args.value("--reply-timeout"), out.replyTimeoutMs, 60000)) {
    error = "--reply-timeout takes milliseconds from 0 to 60000";
    return false;
  }
  return true;
}

void PrepareLinkWorkspace(Workspace &ws, const LinkOptions &options) {
  PrepareWorkspace(ws);
  ws.testMode = link::LoadTestModeFlag(ws.programFolder);
  if (options.passwordGiven) ws.password = options.password;
}

bool RunTransfer(const std::string &command, Workspace &ws, TransferType type,
                 const LinkOptions &options, link::Identification *radio,
                 TransferSummary *summary, std::string *message) {
  auto device = ResolvePortArgument(ListSerialPorts(PortSettingsPath()), options.port);
  if (!device) {
    const std::string text = PortOpenErrorText(PortProblem::Missing, options.port);
    if (message) *message = text;
    Fail(command, text);
    return false;
  }
  const VersionTable versions = VersionTable::Load(VersionFile());
  TerminalUi ui(command, options.retries);
  SerialTransfer line(ws, versions, ui);
  line.setReplyTimeout(std::chrono::milliseconds(options.replyTimeoutMs));
  PortOpenResult opened = line.openPort(*device);
  if (!opened.ok) {
    if (message) *message = opened.message;
    std::fprintf(stderr, "%s\n", opened.message.c_str());
    return false;
  }
  QEventLoop loop;
  QObject::connect(&line, &SerialTransfer::transferFinished, &loop, &QEventLoop::quit);
  if (!line.start(type)) return false;
  if (!ui.done()) loop.exec();
  if (radio) *radio = line.engine().identification();
  if (summary) *summary = line.engine().summary();
  if (message) *message = ui.lastMessage();
  return ui.success();
}

std::optional<std::string> TargetProblem(const std::string &path) {
  auto reason = [](int error) { return std::string(std::strerror(error)); };
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return path + " is a folder";
    if (!S_ISREG(st.st_mode)) return path + " is not a regular file";
    if (::access(path.c_str(), W_OK) != 0) return path + " cannot be written: " + reason(errno);
  } else if (errno != ENOENT && errno != ENOTDIR) {
    return path + ": " + reason(errno);
  }
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  if (::stat(folder.c_str(), &st) != 0) {
    if (errno == ENOENT) return "the folder " + folder + " does not exist";
    return "the folder " + folder + ": " + reason(errno);
  }
  if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0)
    return "the folder " + folder + " cannot be written: " + reason(errno);
  return std::nullopt;
}

}  // namespace n27::cli
