#pragma once
// The serial line under the transfer engine: a QSerialPort at 38400 baud, 8 data bits, no
// parity, 1 stop bit, no flow control, and the engine's reply timer as a QTimer. It drives the
// engine from readyRead and the timer and hands the questions, messages, progress and the end
// of a transfer to a TransferUi: the desktop program answers with modal dialogs, the command
// line with a policy. Used by both.
//
// Typical use:
//   SerialTransfer line(ws, versions, ui);
//   if (auto r = line.openPort(device); !r.ok) { show r.message; return; }
//   PrepareRead(ws);  line.start(TransferType::Read);   // ui.finished(...) follows later
//
// A port that fails during a transfer (USB adapter unplugged, simulated radio gone) is closed
// at its first error and the transfer ends once, as failed, with LineLostMessage().
//
// The TransferUi may run nested event loops (modal dialogs) inside its calls; it must not
// destroy the SerialTransfer from inside them (use deleteLater()).

#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "link/port_directory.h"
#include "link/transfer_engine.h"

namespace n27 {

struct PortOpenResult {
  bool ok = false;
  PortProblem problem = PortProblem::None;
  std::string message;  // "Cannot Open Communication Port." and the reason beneath it
};

class SerialTransfer : public QObject, private TransferHost {
  Q_OBJECT

 public:
  SerialTransfer(Workspace &ws, const VersionTable &versions, TransferUi &ui,
                 QObject *parent = nullptr);
  ~SerialTransfer() override;

  // The reply timer's interval (1.5 s unless changed; tests shorten it).
  void setReplyTimeout(std::chrono::milliseconds interval);
  std::chrono::milliseconds replyTimeout() const;

  // Opens a device path at 38400,N,8,1 without flow control and asks the kernel for low
  // latency. A port already open is closed first. On failure the port stays closed.
  PortOpenResult openPort(const std::string &device);
  void closePort() override;
  bool isPortOpen() const;
  const std::string &device() const { return device_; }
  // The device start() and poll() open when the port is closed.
  void setDevice(const std::string &device) { device_ = device; }

  // Starts a transfer on the open port (reopening the last device when it was closed).
  // False when a transfer is running or the port cannot be opened (the reason is then given
  // to the TransferUi's showMessage, and finished() is not called).
  bool start(TransferType type);
  bool running() const { return engine_.running(); }
  const TransferEngine &engine() const { return engine_; }
  // The workspace the next transfer works on (not while one runs: then false).
  bool setWorkspace(Workspace &ws) { return engine_.setWorkspace(ws); }

  // Looks for a radio on the line: sends the program request (opening the port when it is
  // closed) and emits pollEnded(true) when the radio acknowledges it within `timeout`,
  // pollEnded(false) otherwise — nothing else is sent. With `release`, an answered request
  // is followed by the end request, so the radio leaves programming mode. The port is
  // closed again at the end. False when a transfer or a poll runs. A port that cannot be opened ends the poll unanswered, with the
  // reason in pollProblem().
  bool poll(std::chrono::milliseconds timeout, bool release);
  bool polling() const { return polling_; }
  const std::string &pollProblem() const { return pollProblem_; }

  // Bytes moved through this object's port so far (the benchmark reports them).
  uint64_t bytesSent() const { return bytesSent_; }
  uint64_t bytesReceived() const { return bytesReceived_; }

 signals:
  // Emitted after TransferUi::finished.
  void transferFinished(bool success);
  void pollEnded(bool answered);

 private:
  // TransferHost
  void sendBytes(const std::vector<uint8_t> &bytes) override;
  void startReplyTimer() override;
  void stopReplyTimer() override;
  bool askRetry(const std::string &text) override;
  void askPassword(std::string &password) override;
  bool askSwitchRelease(const std::string &text) override;
  void showMessage(const std::string &text, MessageIcon icon) override;
  void progress(int percent) override;
  void note(const std::string &text) override;
  void finished(bool success) override;
  void switchRelease(const std::string &programVersion) override;

  void onReadyRead();
  void onError(QSerialPort::SerialPortError error);
  void lineLost();
  void endPoll(bool answered);

  TransferUi &ui_;
  TransferEngine engine_;
  QSerialPort port_;
  QTimer replyTimer_;
  std::string device_;
  uint64_t bytesSent_ = 0;
  uint64_t bytesReceived_ = 0;
  bool lineLost_ = false;
  QTimer pollTimer_;
  bool polling_ = false;
  bool releaseAfterPoll_ = false;
  std::string pollProblem_;
};

// The serial ports to offer: the system's serial devices (numbered by the rules of
// port_directory.h, each keeping its number for the run), the ports given for this run only
// (the --port device) and the [Ports] entries of the settings file at `settingsPath`; a
// configured or run-only device that is not there is left out.
std::vector<PortEntry> ListSerialPorts(const std::string &settingsPath, const std::vector<PortEntry> &runOnly = {});

// The settings file holding the chosen port and the extra ports: the user's mysetup.ini
// (~/.config/n27), or the one it would be taken over from while the user has none.
std::string PortSettingsPath();

// Starts the programmer of another release (OtherReleaseProgram for this executable's file
// name) detached from this process. False when it cannot be started.
bool StartOtherRelease(const std::string &programFolder, const std::string &programVersion);

}  // namespace n27
