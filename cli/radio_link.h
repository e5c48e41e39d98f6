#pragma once
// What the read, write and info commands share: the line options, the answers to the
// transfer's questions (retry N times, then cancel; never switch release), the system's
// messages on stderr, a progress bar on a terminal, and running one transfer to its end.

#include <cstdio>
#include <optional>
#include <unistd.h>
#include <string>
#include <vector>

#include "cli/cli_util.h"
#include "codeplug/workspace.h"
#include "link/transfer_engine.h"

namespace n27::cli {

struct LinkOptions {
  std::string port;            // device path or "COM" + number
  std::string password;
  bool passwordGiven = false;
  int retries = 0;             // "retry" answers to the retry question before "cancel"
  int replyTimeoutMs = kReplyTimeoutMs;
};

// --port, --password, --retries and --reply-timeout (milliseconds; for tests).
std::vector<OptionDef> LinkOptionDefs();
// The usage lines of those options.
extern const char *const kLinkOptionsUsage;
// Reads the options; false with a message in `error`.
bool ReadLinkOptions(const Args &args, LinkOptions &out, std::string &error);

// The workspace a transfer needs from the program folder: test mode and the entered password.
void PrepareLinkWorkspace(Workspace &ws, const LinkOptions &options);

// Line ends of the system's messages as a terminal shows them.
inline std::string plain(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.replace(at, 2, "\n");
  return text;
}

// The terminal's answers to a transfer: Retry `retries` times, then Cancel; no password
// dialog (a hint to use --password); never another release; messages on stderr.
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

// Opens the port and runs one transfer on ws until it ends; the caller has prepared the
// image. True on success; `radio` receives the identification the radio answered with,
// `summary` what the transfer went through, `message` the last message the transfer showed
// (the reason of a failure; "" when there was none).
bool RunTransfer(const std::string &command, Workspace &ws, TransferType type,
                 const LinkOptions &options, link::Identification *radio = nullptr,
                 TransferSummary *summary = nullptr, std::string *message = nullptr);

// Why a file cannot be written at `path` ("the folder /x does not exist", "is a folder" …),
// looked at before a transfer so that a read is not thrown away afterwards; nullopt when it
// looks writable.
std::optional<std::string> TargetProblem(const std::string &path);

}  // namespace n27::cli
