#pragma once
// The transfer engine: reads the radio's memory into the RadioImage, writes it back, and reads
// the radio's information area — one request/reply state machine driven by two events, bytes
// arriving from the line and the reply timer firing. It never waits, sleeps or polls: the
// host feeds it events and it answers by sending the next frame at once.
//
// The engine speaks to the world only through TransferHost: the line (send bytes, the reply
// timer, closing the port) and the user (questions, messages, progress, the end). Questions
// are answered synchronously: a modal dialog in the desktop program, a policy on the command
// line. While a question is open every byte and timer event that arrives is dropped.
//
// A reply is recognised by its length: after each frame the engine waits for the exact number
// of bytes that frame's reply has, takes the first that many and drops the rest; bytes that
// arrive while no reply is awaited are dropped too, so a late answer to an abandoned exchange
// cannot advance a new one.
//
// A data frame is taken only as the answer to the read request just sent (same address, the
// block length) and only when its checksum is right. A frame with a wrong checksum is asked
// for again with the same request, up to kBlockRerequests times; two replies that are the same
// byte for byte are taken even so (a radio whose checksum is reckoned differently stays
// readable, and the user is told once) — but only while no block of the transfer has passed
// its checksum: after one has, the radio plainly reckons as we do. When no two agree, the block
// counts as unanswered.

#include "base/message_icon.h"
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/workspace.h"
#include "link/frames.h"
#include "link/version_table.h"

namespace n27 {

enum class TransferType { None = 0, Read = 1, Write = 2, RadioInformation = 3 };

// The reply timer's interval: a reply that has not arrived 1.5 s after its request is missing.
inline constexpr int kReplyTimeoutMs = 1500;
// Program requests sent before the user is asked whether to retry.
inline constexpr int kProgramRequestTries = 6;
// Times a block whose reply carries a wrong checksum is asked for again before it counts as
// unanswered.
inline constexpr int kBlockRerequests = 3;

// What a transfer went through, for its summary: counted over the whole transfer, retries
// included.
struct TransferSummary {
  int blocks = 0;       // blocks read or written (each acknowledged or stored block)
  int rerequests = 0;   // read requests sent again after a reply with a wrong checksum
  int agreed = 0;       // blocks taken from two identical replies with a wrong checksum
  int timeouts = 0;     // replies that did not come in time
  int restarts = 0;     // passes started again from the program request (retry, password)
};

// What a transfer asks of and tells the user.
class TransferUi {
 public:
  virtual ~TransferUi() = default;
  // `text` ("Check Connection. Retry or Cancel?") with OK and Cancel; true for OK (retry).
  virtual bool askRetry(const std::string &text) = 0;
  // The radio refused the entered password: show the password dialog modally. OK stores the
  // typed password (see link::CleanPassword) into `password`; Cancel leaves it.
  virtual void askPassword(std::string &password) = 0;
  // The version message with Yes and No; true for Yes (start the release that fits the radio).
  virtual bool askSwitchRelease(const std::string &text) = 0;
  // A message with an OK button.
  virtual void showMessage(const std::string &text, MessageIcon icon) = 0;
  // Read and write only: the percentage done. 0 after a restart, then rising, at most 99.
  virtual void progress(int percent) = 0;
  // A remark that needs no answer, at most once per transfer (the command line prints it,
  // the desktop shows it in the status bar). Today: the radio's checksums are reckoned
  // differently and its blocks were taken from two identical replies.
  virtual void note(const std::string &text) { (void)text; }
  // The transfer has ended, once per start; the port is closed already. On success the
  // caller applies the result (see transfer_session.h) and shows CompletionMessage().
  virtual void finished(bool success) = 0;
  // Called after finished(false) when the user chose to switch release: start the programmer
  // of data version `programVersion` (OtherReleaseProgram) and end this application. Empty:
  // no release fits the radio — show NoReleaseMessage() and end the application.
  virtual void switchRelease(const std::string &programVersion) = 0;
};

// The line and the reply timer, plus the user.
class TransferHost : public TransferUi {
 public:
  // Empty both directions of the port, then write the bytes.
  virtual void sendBytes(const std::vector<uint8_t> &bytes) = 0;
  // (Re)start the reply timer; when it fires the host calls onReplyTimeout().
  virtual void startReplyTimer() = 0;
  virtual void stopReplyTimer() = 0;
  // Close the port; called once when a transfer ends, before finished().
  virtual void closePort() = 0;
};

class TransferEngine {
 public:
  // The engine works on ws.image (and ws.tuning in test mode) and reads the entered password,
  // the model name, band text, data version and test-mode flag from ws.
  TransferEngine(Workspace &ws, const VersionTable &versions, TransferHost &host);

  // Starts a transfer on the open port: sets its parameters and sends the program request.
  // False (and nothing sent) when a transfer is running or the type is None.
  bool start(TransferType type);
  // Bytes arrived from the line (any amount: a reply may come in pieces, or two in one).
  void onBytesReceived(const uint8_t *data, std::size_t n);
  void onBytesReceived(const std::vector<uint8_t> &bytes) {
    onBytesReceived(bytes.data(), bytes.size());
  }
  // The reply timer fired.
  void onReplyTimeout();
  // The line is gone (the port reported an error): ends a running transfer as failed after
  // showing `message`. Safe to call while a question is open: the transfer ends when it closes.
  void abort(const std::string &message);

  bool running() const { return type_ != TransferType::None; }
  TransferType type() const { return type_; }
  // The type of the transfer that ended last (or is running).
  TransferType lastType() const { return lastType_; }
  int readState() const { return readState_; }
  int writeState() const { return writeState_; }
  int blockAddress() const { return blockAddress_; }
  int programRetryCount() const { return retryCount_; }
  bool awaitingReply() const { return awaiting_; }
  std::size_t expectedReplyLength() const { return threshold_; }
  // The radio's identification from the last read or write.
  const link::Identification &identification() const { return ident_; }
  // What the running or last transfer went through.
  const TransferSummary &summary() const { return summary_; }

  // address × 100 / end, rounded to the nearest integer, halves to even.
  static int ProgressPercent(int address, int end);

 private:
  enum class Check { Pass, Fail, Ended };

  void restart();
  void send(const link::Request &r);
  void sendRead(std::size_t address);
  void sendProgramRequest();
  // A data frame that answers the read request just sent: Take it, wait for the answer to the
  // same request sent again, or the block stays unanswered (the engine has moved on).
  enum class Verdict { Take, Again, Unanswered };
  Verdict verify(const link::Bytes &frame);
  void replyMissing();
  void classify(const link::Bytes &reply);
  void advance();
  void advanceRead();
  void advanceWrite();
  void advanceRadioInformation();
  void nextReadBlock();
  void nextDataFrame();
  void passwordStep(const link::Bytes &frame);
  Check identificationCheck();
  void retryQuestion();
  void updateProgress(int address);
  void end(bool success);
  bool isReadOrWrite() const {
    return type_ == TransferType::Read || type_ == TransferType::Write;
  }
  // Runs a host call that may open a modal window. False when the transfer ended meanwhile.
  template <class F>
  bool modal(F &&call);
  bool message(const std::string &text, MessageIcon icon);

  Workspace &ws_;
  const VersionTable &versions_;
  TransferHost &host_;

  TransferType type_ = TransferType::None;
  TransferType lastType_ = TransferType::None;
  int readState_ = 0;
  int writeState_ = 0;
  int firstBlock_ = 0;
  int blockAddress_ = 0;
  int endAddress_ = 0;
  int retryCount_ = 0;
  int lastPercent_ = 0;
  bool awaiting_ = false;
  std::size_t threshold_ = 1;
  link::Bytes buffer_;
  link::Identification ident_;
  int requested_ = -1;              // address of the read request awaiting its frame, or -1
  int rerequests_ = 0;              // of the current block
  std::vector<link::Bytes> badReplies_;  // replies to the current block with a wrong checksum
  bool notedChecksum_ = false;
  bool checksumPassed_ = false;  // a reply of this transfer carried a right checksum
  TransferSummary summary_;

  int modalDepth_ = 0;
  unsigned epoch_ = 0;  // increases at every end; tells a host call that the transfer ended
  std::optional<std::string> pendingAbort_;
};

// "Read Data Completed." or "Write Data Completed." (empty for other types).
std::string CompletionMessage(TransferType type);
// The message for a port that vanished in the middle of a transfer.
std::string LineLostMessage();
// The note for a radio whose blocks were taken from two identical replies.
std::string ChecksumNote();
// "Blocks: 160, asked for again: 2, restarts: 0." in the current language.
std::string SummaryText(const TransferSummary &summary);

}  // namespace n27
