#include "link/qt/job_line.h"

namespace n27 {

SerialJobLine::SerialJobLine(std::string device, const VersionTable &versions, std::string name,
                             QObject *parent)
    : QObject(parent), device_(std::move(device)), line_(idle_, versions, *this),
      name_(name.empty() ? device_ : std::move(name)) {
  line_.setDevice(device_);  // opened by each transfer and poll, closed again by a transfer's end
  connect(&line_, &SerialTransfer::pollEnded, this, [this](bool answered) {
    if (auto done = std::exchange(pollDone_, nullptr)) done(answered, line_.pollProblem());
  });
  wakeTimer_.setSingleShot(true);
  connect(&wakeTimer_, &QTimer::timeout, this, [this] {
    if (auto wake = std::exchange(wake_, nullptr)) wake();
  });
}

SerialJobLine::~SerialJobLine() = default;

void SerialJobLine::setReplyTimeout(std::chrono::milliseconds interval) {
  line_.setReplyTimeout(interval);
}

void SerialJobLine::startTransfer(TransferType type, Workspace &ws, TransferClient &client) {
  client_ = &client;
  outcome_ = {};
  retriesLeft_ = retries_;
  line_.setWorkspace(ws);
  if (!line_.start(type)) {
    // The port could not be opened (showMessage has the reason): the end is reported all
    // the same, from the event loop.
    QMetaObject::invokeMethod(this, [this] { finished(false); }, Qt::QueuedConnection);
  }
}

void SerialJobLine::poll(bool release, std::function<void(bool, const std::string &)> done) {
  pollDone_ = std::move(done);
  if (!line_.poll(line_.replyTimeout() / 3, release)) {
    QMetaObject::invokeMethod(this, [this] {
      if (auto d = std::exchange(pollDone_, nullptr)) d(false, {});
    }, Qt::QueuedConnection);
  }
}

void SerialJobLine::wakeAfter(int ms, std::function<void()> wake) {
  wake_ = std::move(wake);
  wakeTimer_.start(ms);
}

void SerialJobLine::cancel() {
  pollDone_ = nullptr;
  wake_ = nullptr;
  wakeTimer_.stop();
  client_ = nullptr;
  line_.closePort();
}

bool SerialJobLine::askRetry(const std::string &text) {
  if (attended_) {
    const bool retry = attended_->askRetry(text);
    outcome_.cancelled = !retry;
    return retry;
  }
  if (retriesLeft_ <= 0) return false;
  --retriesLeft_;
  return true;
}

void SerialJobLine::askPassword(std::string &password) {
  if (attended_) attended_->askPassword(password);
}

bool SerialJobLine::askSwitchRelease(const std::string &text) {
  outcome_.message = text;
  if (attended_) return attended_->askSwitchRelease(text);
  return false;
}

void SerialJobLine::showMessage(const std::string &text, MessageIcon icon) {
  outcome_.message = text;
  if (attended_) {
    outcome_.told = true;
    attended_->showMessage(text, icon);
  }
}

void SerialJobLine::progress(int percent) {
  if (client_) client_->transferProgress(percent);
}

void SerialJobLine::note(const std::string &text) {
  if (attended_) attended_->note(text);
}

void SerialJobLine::finished(bool success) {
  if (!client_) return;
  outcome_.ok = success;
  outcome_.radio = line_.engine().identification();
  outcome_.summary = line_.engine().summary();
  if (success) outcome_.message.clear();
  // The job goes on from the event loop, once the engine has left its own call.
  QMetaObject::invokeMethod(this, [this, outcome = outcome_] {
    TransferClient *client = std::exchange(client_, nullptr);
    line_.setWorkspace(idle_);
    if (client) client->transferEnded(outcome);
  }, Qt::QueuedConnection);
}

void SerialJobLine::switchRelease(const std::string &programVersion) {
  if (attended_) attended_->switchRelease(programVersion);
}

}  // namespace n27
