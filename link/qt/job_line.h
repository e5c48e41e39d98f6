#pragma once
// A programming job's line on one serial port: runs each transfer the job asks for on a
// SerialTransfer and reports its end back to the job from the event loop.
//
// The transfer's questions are answered by a policy for unattended runs — no retry question
// (Cancel, after `retries` Retry answers), the password the job was given, never a switch of
// release, messages kept as the reason of a failure — or handed to an attended TransferUi
// (the desktop's dialogs for a single write, the terminal for the command line).
//
// For the fleet run the line also looks for a radio: poll() sends the program request alone.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "link/fleet_run.h"
#include "link/programming_job.h"
#include "link/qt/serial_port.h"

namespace n27 {

class SerialJobLine : public QObject, public CableLine, private TransferUi {
  Q_OBJECT

 public:
  // `name`: the port as the dealer knows it ("COM66"; "" shows the device).
  SerialJobLine(std::string device, const VersionTable &versions, std::string name = {},
                QObject *parent = nullptr);
  ~SerialJobLine() override;

  // Questions and messages go to `ui` (null: the policy). Its progress() and finished() are
  // never called: the job reports those.
  void setAttended(TransferUi *ui) { attended_ = ui; }
  // With the policy: Retry answers to the retry question before Cancel.
  void setRetries(int retries) { retries_ = retries; }
  void setReplyTimeout(std::chrono::milliseconds interval);
  std::chrono::milliseconds replyTimeout() const { return line_.replyTimeout(); }

  void startTransfer(TransferType type, Workspace &ws, TransferClient &client) override;
  bool busy() const { return client_ != nullptr || line_.polling(); }

  // CableLine: the program request alone, answered within the poll time-out (a third of the
  // reply time-out: a radio answers it at once).
  std::string name() const override { return name_; }
  void poll(bool release, std::function<void(bool, const std::string &)> done) override;
  void wakeAfter(int ms, std::function<void()> wake) override;
  void cancel() override;
  void closePort() { line_.closePort(); }

  const std::string &device() const { return device_; }
  uint64_t bytesSent() const { return line_.bytesSent(); }
  uint64_t bytesReceived() const { return line_.bytesReceived(); }

 private:
  // TransferUi
  bool askRetry(const std::string &text) override;
  void askPassword(std::string &password) override;
  bool askSwitchRelease(const std::string &text) override;
  void showMessage(const std::string &text, MessageIcon icon) override;
  void progress(int percent) override;
  void note(const std::string &text) override;
  void finished(bool success) override;
  void switchRelease(const std::string &programVersion) override;

  std::string device_;
  Workspace idle_;  // the engine's workspace between transfers
  SerialTransfer line_;
  TransferUi *attended_ = nullptr;
  int retries_ = 0;
  int retriesLeft_ = 0;
  TransferClient *client_ = nullptr;
  TransferOutcome outcome_;
  std::function<void(bool, const std::string &)> pollDone_;
  std::function<void()> wake_;
  QTimer wakeTimer_;
  std::string name_;
};

}  // namespace n27
