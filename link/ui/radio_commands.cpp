#include "link/ui/radio_commands.h"

#include <string>

#include <QApplication>
#include <QPointer>

#include "base/main_window_texts.h"
#include "base/messages.h"
#include "base/ui/editor_window.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "link/qt/serial_port.h"
#include "link/transfer_session.h"
#include "link/ui/FrmComSet.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmProgress.h"
#include "link/ui/link_texts.h"
#include "link/test_data.h"

namespace n27 {

namespace {

QString qs(const std::string &utf8) { return QString::fromStdString(utf8); }
QString qs(const char *utf8) { return QString::fromUtf8(utf8); }

BoxIcon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return BoxIcon::None;
    case MessageIcon::Information: return BoxIcon::Information;
    case MessageIcon::Warning: return BoxIcon::Warning;
    case MessageIcon::Error: return BoxIcon::Critical;
    case MessageIcon::Question: return BoxIcon::Question;
  }
  return BoxIcon::None;
}

// "Read data from radio." / "Do you wish continue?" on two lines.
QString question(const Tr &first, const Tr &second) {
  return qs(Text(first)) + "\n" + qs(Text(second));
}

}  // namespace

// One serial line and the transfer running on it, with the windows that answer its questions.
class RadioCommands::Session : public TransferUi {
 public:
  explicit Session(RadioHost &main, RadioCommands &owner);

  void readFromRadio();
  void writeToRadio();
  void startInformationRead(bool erase);
  void programPassword();
  void setCom();
  bool busy() const;
  std::vector<PortEntry> ports() const;
  SerialTransfer &line() { return *line_; }

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

  // Opens the chosen port to see that it can be used; shows why not. The port stays open.
  bool openChosenPort();
  // Read or write with the progress window.
  void runWithProgress(TransferType type);
  void informationReadEnded(bool success);
  void ended(TransferType type, bool success);
  QWidget *dialogParent();

  RadioHost &main_;
  RadioCommands &owner_;
  std::unique_ptr<SerialTransfer> line_;
  QPointer<FrmProgress> progress_;
  TransferType running_ = TransferType::None;
  bool lastSuccess_ = false;
  std::string note_;  // the transfer's remark, shown in the status bar with its summary
};

RadioCommands::RadioCommands(RadioHost &main) : session_(std::make_unique<Session>(main, *this)) {}
RadioCommands::~RadioCommands() = default;
void RadioCommands::readFromRadio() { session_->readFromRadio(); }
void RadioCommands::writeToRadio() { session_->writeToRadio(); }
void RadioCommands::radioInformation() { session_->startInformationRead(false); }
void RadioCommands::readRadioInformationForWindow() { session_->startInformationRead(true); }
void RadioCommands::programPassword() { session_->programPassword(); }
void RadioCommands::setCom() { session_->setCom(); }
bool RadioCommands::busy() const { return session_->busy(); }
std::vector<PortEntry> RadioCommands::ports() const { return session_->ports(); }
void RadioCommands::setReplyTimeout(std::chrono::milliseconds interval) {
  session_->line().setReplyTimeout(interval);
}

// ---------------------------------------------------------------------------------------

RadioCommands::Session::Session(RadioHost &main, RadioCommands &owner)
    : main_(main),
      owner_(owner),
      line_(std::make_unique<SerialTransfer>(main.workspace(), main.versions(), *this)) {}

bool RadioCommands::Session::busy() const { return running_ != TransferType::None || line_->running(); }

std::vector<PortEntry> RadioCommands::Session::ports() const {
  const PortEntry extra = main_.extraPort();
  return ListSerialPorts(main_.setupFile(), extra.number > 0 ? std::vector<PortEntry>{extra}
                                                             : std::vector<PortEntry>{});
}

QWidget *RadioCommands::Session::dialogParent() {
  if (progress_ && progress_->isVisible()) return progress_;
  return main_.hostWidget();
}

bool RadioCommands::Session::openChosenPort() {
  const int number = main_.comPort();
  std::vector<PortEntry> list = ports();
  const PortEntry *port = FindPort(list, number);
  if (!port) {
    PortProblem problem = number == 0 ? PortProblem::NoPortChosen : PortProblem::Missing;
    ShowMessage(main_.hostWidget(), qs(PortOpenErrorText(problem, PortName(number))), BoxIcon::Critical);
    return false;
  }
  PortOpenResult opened = line_->openPort(port->device);
  if (!opened.ok) {
    ShowMessage(main_.hostWidget(), qs(opened.message), BoxIcon::Critical);
    return false;
  }
  return true;
}

void RadioCommands::Session::readFromRadio() {
  if (busy()) return;
  main_.CloseCurAllWindows();
  if (!openChosenPort()) return;
  line_->closePort();
  if (Ask(main_.hostWidget(), question(msg::kReadQuestion1, msg::kReadQuestion2),
          Prompt::QuestionOkCancel) != Answer::Ok)
    return;
  PrepareRead(main_.workspace());
  runWithProgress(TransferType::Read);
}

void RadioCommands::Session::writeToRadio() {
  if (busy()) return;
  main_.storePendingInput();
  Workspace &ws = main_.workspace();
  if (!WriteAllowed(ws)) {
    ShowMessage(main_.hostWidget(), qs(Text(msg::kNothingToWrite)), BoxIcon::None);
    return;
  }
  // A test-mode write also sends the tuning block: never zeros nobody read, loaded or typed
  // without the operator's say-so (they would replace the radio's factory calibration).
  if (link::TuningWriteNeedsConfirmation(ws) &&
      Ask(main_.hostWidget(), qs(link::UnknownTuningWarning()), Prompt::WarningCancelFirst) != Answer::Ok)
    return;
  if (!openChosenPort()) return;
  if (Ask(main_.hostWidget(), question(msg::kWriteQuestion1, msg::kWriteQuestion2),
          Prompt::QuestionOkCancel) != Answer::Ok) {
    line_->closePort();
    return;
  }
  PrepareWrite(ws);
  runWithProgress(TransferType::Write);
}

void RadioCommands::Session::runWithProgress(TransferType type) {
  auto kind = type == TransferType::Read ? FrmProgress::Kind::Read : FrmProgress::Kind::Write;
  FrmProgress window(kind, [this, type] { return line_->start(type); }, main_.hostWidget());
  progress_ = &window;
  running_ = type;
  lastSuccess_ = false;
  note_.clear();
  ExecDialog(window);
  progress_ = nullptr;
  running_ = TransferType::None;
  // What the transfer went through stays in the status bar: blocks, blocks asked for again,
  // restarts, and the remark about the radio's checksums if there was one.
  std::string status = SummaryText(line_->engine().summary());
  if (lastSuccess_) status = CompletionMessage(type) + " " + status;
  if (!note_.empty()) status += " " + note_;
  main_.showStatus(qs(status));
  if (lastSuccess_) {
    Workspace &ws = main_.workspace();
    if (type == TransferType::Read) {
      ws.loadingFile = true;
      CompleteRead(ws, line_->engine().identification());
      main_.showReadConfiguration();
      ws.loadingFile = false;
    }
    ShowMessage(main_.hostWidget(), qs(CompletionMessage(type)), BoxIcon::None);
  }
  ended(type, lastSuccess_);
}

void RadioCommands::Session::startInformationRead(bool erase) {
  if (busy()) return;
  if (!openChosenPort()) return;
  if (erase) PrepareRadioInformationRead(main_.workspace());
  running_ = TransferType::RadioInformation;
  lastSuccess_ = false;
  // No progress window: the program waits with a busy cursor and a line in the status bar.
  QApplication::setOverrideCursor(Qt::BusyCursor);
  main_.showStatus(qs(Text(linkText::kReadingInformation)));
  if (!line_->start(TransferType::RadioInformation)) informationReadEnded(false);
}

void RadioCommands::Session::informationReadEnded(bool success) {
  if (running_ != TransferType::RadioInformation) return;
  running_ = TransferType::None;
  QApplication::restoreOverrideCursor();
  main_.showStatus(QString());
  if (success) {
    CompleteRadioInformationRead(main_.workspace(), line_->engine().identification());
    // A radio-information window already open shows the new record too.
    main_.channels().notifySettings();
    main_.openEditor(window::kRadioInformation);
  }
  ended(TransferType::RadioInformation, success);
}

void RadioCommands::Session::ended(TransferType type, bool success) {
  if (owner_.onTransferEnded) owner_.onTransferEnded(static_cast<int>(type), success);
}

void RadioCommands::Session::programPassword() {
  FrmPassWord dialog(main_.workspace().password, main_.hostWidget());
  ExecDialog(dialog);
}

void RadioCommands::Session::setCom() {
  FrmComSet dialog(main_.comPort(), [this] { return ports(); }, main_.hostWidget());
  if (ExecDialog(dialog) != QDialog::Accepted) return;
  // A port is stored at once; "none" only shows in the status bar.
  main_.setComPort(dialog.chosenPort(), dialog.chosenPort() != 0);
}

// ---------------------------------------------------------------------------------------
// TransferUi

bool RadioCommands::Session::askRetry(const std::string &text) {
  return Ask(dialogParent(), qs(text), Prompt::QuestionOkCancel) == Answer::Ok;
}

void RadioCommands::Session::askPassword(std::string &password) {
  FrmPassWord dialog(password, dialogParent());
  ExecDialog(dialog);
}

bool RadioCommands::Session::askSwitchRelease(const std::string &text) {
  return Ask(dialogParent(), qs(text), Prompt::QuestionYesNo) == Answer::Yes;
}

void RadioCommands::Session::showMessage(const std::string &text, MessageIcon icon) {
  ShowMessage(dialogParent(), qs(text), boxIcon(icon));
}

void RadioCommands::Session::progress(int percent) {
  if (progress_ && progress_->isVisible()) progress_->SetProgressValue(percent);
}

void RadioCommands::Session::note(const std::string &text) {
  note_ = text;
  main_.showStatus(qs(text));
}

void RadioCommands::Session::finished(bool success) {
  lastSuccess_ = success;
  if (progress_) progress_->finish(success);
  if (running_ == TransferType::RadioInformation) informationReadEnded(success);
}

void RadioCommands::Session::switchRelease(const std::string &programVersion) {
  // The configuration being edited is offered for saving before this release goes away;
  // Cancel keeps the program open.
  if (!main_.offerToSaveChanges()) return;
  if (programVersion.empty()) {
    ShowMessage(main_.hostWidget(), qs(NoReleaseMessage()), BoxIcon::None);
    main_.endApplication();
    return;
  }
  const std::string &folder = main_.workspace().programFolder;
  if (!StartOtherRelease(folder, programVersion)) {
    std::string program = OtherReleaseProgram(
        folder, programVersion, QApplication::applicationFilePath().section('/', -1).toStdString());
    ShowMessage(main_.hostWidget(), qs(Text(linkText::kReleaseNotStarted)) + "\n" + qs(program),
                BoxIcon::Critical);
    return;
  }
  main_.endApplication();
}

}  // namespace n27
