#include "link/qt/serial_port.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPortInfo>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <grp.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/paths.h"
#include "base/settings.h"

namespace n27 {

namespace {

// USB serial adapters hold short replies back for their latency timer (16 ms on common
// chips), which would stretch every request/reply exchange. Ask for low latency; a
// pseudo-terminal refuses, which is fine.
void requestLowLatency(int fd) {
  if (fd < 0) return;
  serial_struct ss{};
  if (::ioctl(fd, TIOCGSERIAL, &ss) != 0) return;
  ss.flags |= ASYNC_LOW_LATENCY;
  (void)::ioctl(fd, TIOCSSERIAL, &ss);
}

std::string groupOf(const std::string &device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return "dialout";
  if (const group *g = ::getgrgid(st.st_gid); g && g->gr_name && st.st_gid != 0)
    return g->gr_name;
  return "dialout";
}

// Why a device cannot be opened, looked at before the port is opened: the serial port
// reports a busy device and a forbidden one alike.
PortProblem diagnose(const std::string &device) {
  if (device.empty()) return PortProblem::NoPortChosen;
  if (::access(device.c_str(), F_OK) != 0) return PortProblem::Missing;
  if (::access(device.c_str(), R_OK | W_OK) != 0) return PortProblem::NoPermission;
  return PortProblem::None;
}

}  // namespace

SerialTransfer::SerialTransfer(Workspace &ws, const VersionTable &versions, TransferUi &ui,
                               QObject *parent)
    : QObject(parent), ui_(ui), engine_(ws, versions, *this) {
  replyTimer_.setSingleShot(true);
  replyTimer_.setInterval(kReplyTimeoutMs);
  replyTimer_.setTimerType(Qt::PreciseTimer);
  connect(&replyTimer_, &QTimer::timeout, this, [this] { engine_.onReplyTimeout(); });
  pollTimer_.setSingleShot(true);
  pollTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pollTimer_, &QTimer::timeout, this, [this] { endPoll(false); });
  connect(&port_, &QSerialPort::readyRead, this, &SerialTransfer::onReadyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &SerialTransfer::onError);
}

SerialTransfer::~SerialTransfer() {
  replyTimer_.stop();
  if (port_.isOpen()) port_.close();
}

void SerialTransfer::setReplyTimeout(std::chrono::milliseconds interval) {
  replyTimer_.setInterval(static_cast<int>(interval.count()));
}

std::chrono::milliseconds SerialTransfer::replyTimeout() const {
  return std::chrono::milliseconds(replyTimer_.interval());
}

PortOpenResult SerialTransfer::openPort(const std::string &device) {
  if (port_.isOpen()) port_.close();
  device_ = device;
  PortOpenResult result;
  result.problem = diagnose(device);
  if (result.problem == PortProblem::None) {
    port_.setPortName(QString::fromStdString(device));
    port_.setBaudRate(QSerialPort::Baud38400);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadWrite)) {
      requestLowLatency(static_cast<int>(port_.handle()));
      lineLost_ = false;
      result.ok = true;
      return result;
    }
    switch (port_.error()) {
      case QSerialPort::DeviceNotFoundError: result.problem = PortProblem::Missing; break;
      // The device may be opened by this user: someone else holds it.
      case QSerialPort::PermissionError: result.problem = PortProblem::Busy; break;
      default: result.problem = PortProblem::Other; break;
    }
  }
  result.message = PortOpenErrorText(result.problem, device, groupOf(device),
                                     port_.errorString().toStdString());
  if (port_.isOpen()) port_.close();
  return result;
}

void SerialTransfer::closePort() {
  replyTimer_.stop();
  if (port_.isOpen()) port_.close();
}

bool SerialTransfer::isPortOpen() const { return port_.isOpen(); }

bool SerialTransfer::start(TransferType type) {
  if (engine_.running()) return false;
  if (!port_.isOpen()) {
    PortOpenResult r = openPort(device_);
    if (!r.ok) {
      ui_.showMessage(r.message, MessageIcon::Error);
      return false;
    }
  }
  return engine_.start(type);
}

bool SerialTransfer::poll(std::chrono::milliseconds timeout, bool release) {
  if (engine_.running() || polling_) return false;
  pollProblem_.clear();
  polling_ = true;
  releaseAfterPoll_ = release;
  if (!port_.isOpen()) {
    PortOpenResult r = openPort(device_);
    if (!r.ok) {
      pollProblem_ = r.message;
      // Reported from the event loop, like an answer, never from inside this call.
      QMetaObject::invokeMethod(this, [this] { endPoll(false); }, Qt::QueuedConnection);
      return true;
    }
  }
  pollTimer_.start(static_cast<int>(timeout.count()));
  const link::Request program = link::ProgramRequest();
  sendBytes(program.bytes);
  return true;
}

void SerialTransfer::endPoll(bool answered) {
  if (!polling_) return;
  polling_ = false;
  pollTimer_.stop();
  if (answered && releaseAfterPoll_) sendBytes(link::EndRequest().bytes);
  // Opened again for the next poll or transfer: a cable moved to another device meanwhile
  // is found there.
  closePort();
  emit pollEnded(answered);
}

void SerialTransfer::sendBytes(const std::vector<uint8_t> &bytes) {
  if (!port_.isOpen()) return;
  port_.clear(QSerialPort::AllDirections);
  port_.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
  // Out at once rather than on the next turn of the event loop.
  port_.flush();
  bytesSent_ += bytes.size();
}

void SerialTransfer::startReplyTimer() { replyTimer_.start(); }

void SerialTransfer::stopReplyTimer() { replyTimer_.stop(); }

bool SerialTransfer::askRetry(const std::string &text) { return ui_.askRetry(text); }

void SerialTransfer::askPassword(std::string &password) { ui_.askPassword(password); }

bool SerialTransfer::askSwitchRelease(const std::string &text) {
  return ui_.askSwitchRelease(text);
}

void SerialTransfer::showMessage(const std::string &text, MessageIcon icon) {
  ui_.showMessage(text, icon);
}

void SerialTransfer::progress(int percent) { ui_.progress(percent); }

void SerialTransfer::note(const std::string &text) { ui_.note(text); }

void SerialTransfer::finished(bool success) {
  ui_.finished(success);
  emit transferFinished(success);
}

void SerialTransfer::switchRelease(const std::string &programVersion) {
  ui_.switchRelease(programVersion);
}

void SerialTransfer::onReadyRead() {
  QByteArray data = port_.readAll();
  bytesReceived_ += static_cast<uint64_t>(data.size());
  if (polling_) {
    if (data.contains(char(link::kAck))) endPoll(true);
    return;
  }
  engine_.onBytesReceived(reinterpret_cast<const uint8_t *>(data.constData()),
                          static_cast<std::size_t>(data.size()));
}

void SerialTransfer::onError(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError:
      break;
    default:
      return;
  }
  if (lineLost_) return;
  // After an adapter is unplugged the port reports the same error over and over: close it on
  // the first one and end the transfer once, outside the port's own signal.
  lineLost_ = true;
  replyTimer_.stop();
  if (port_.isOpen()) port_.close();
  if (polling_) {
    pollProblem_ = LineLostMessage();
    QMetaObject::invokeMethod(this, [this] { endPoll(false); }, Qt::QueuedConnection);
  }
  QMetaObject::invokeMethod(this, &SerialTransfer::lineLost, Qt::QueuedConnection);
}

void SerialTransfer::lineLost() { engine_.abort(LineLostMessage()); }

namespace {

// A ttyS port is listed by the kernel whether or not a UART sits behind it: only those with
// a UART type other than 0 are real.
bool hasUart(const std::string &name) {
  std::ifstream type("/sys/class/tty/" + name + "/type");
  int value = 0;
  return type && (type >> value) && value != 0;
}

// What the system lists as serial devices: Qt's list, the links of /dev/serial/by-id (whose
// names say which adapter it is) and the /dev entries of the known serial families.
std::vector<PortEntry> systemSerialDevices() {
  namespace fs = std::filesystem;
  std::vector<PortEntry> out;
  for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
    PortEntry e;
    e.device = info.systemLocation().toStdString();
    e.description = info.description().toStdString();
    if (!info.manufacturer().isEmpty() && info.manufacturer() != info.description())
      e.description += (e.description.empty() ? "" : ", ") + info.manufacturer().toStdString();
    out.push_back(e);
  }
  std::error_code ec;
  for (fs::directory_iterator it("/dev/serial/by-id", ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = fs::canonical(it->path(), ec);
    if (ec) {
      ec.clear();
      continue;
    }
    out.push_back({0, target.string(), it->path().filename().string(), false});
  }
  ec.clear();
  for (fs::directory_iterator it("/dev", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!IsSerialDeviceName(name)) continue;
    if (IsPlaceholderUartName(name) && !hasUart(name)) continue;
    if (!it->is_character_file(ec)) {
      ec.clear();
      continue;
    }
    out.push_back({0, it->path().string(), "", false});
  }
  return out;
}

bool deviceExists(const std::string &device) {
  std::error_code ec;
  return std::filesystem::exists(device, ec);
}

}  // namespace

std::vector<PortEntry> ListSerialPorts(const std::string &settingsPath, const std::vector<PortEntry> &runOnly) {
  // One directory for the run, so that a device keeps its number between refreshes.
  static PortDirectory directory;
  std::vector<PortEntry> configured = runOnly;
  const std::vector<PortEntry> saved = ConfiguredPorts(settingsPath);
  configured.insert(configured.end(), saved.begin(), saved.end());
  return directory.refresh(systemSerialDevices(), configured, deviceExists);
}

std::string PortSettingsPath() { return SetupFileToRead(); }

bool StartOtherRelease(const std::string &programFolder, const std::string &programVersion) {
  std::string exe = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
  std::string program = OtherReleaseProgram(programFolder, programVersion, exe);
  return QProcess::startDetached(QString::fromStdString(program), {});
}

}  // namespace n27
