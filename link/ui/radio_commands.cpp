#include "link/ui/radio_commands.h"
#include "base/qt/qt_text.h"

#include "link/ui/radio_session.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QUrl>

#include "base/main_window_texts.h"
#include "base/messages.h"
#include "base/ui/editor_window.h"
#include "base/ui/prompter.h"
#include "base/file_io.h"
#include "channels/channel_context.h"
#include "codeplug/configuration.h"
#include "link/backup.h"
#include "link/group_write.h"
#include "link/qt/serial_port.h"
#include "link/restore.h"
#include "link/verify.h"
#include "link/transfer_session.h"
#include "link/ui/FrmComSet.h"
#include "link/ui/FrmGroupLog.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmProgress.h"
#include "link/ui/link_texts.h"
#include "link/ui/trust_texts.h"
#include "link/test_data.h"

namespace n27 {

namespace {


BoxIcon radioBoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return BoxIcon::None;
    case MessageIcon::Information: return BoxIcon::Information;
    case MessageIcon::Warning: return BoxIcon::Warning;
    case MessageIcon::Error: return BoxIcon::Critical;
    case MessageIcon::Question: return BoxIcon::Question;
  }
  return BoxIcon::None;
}


constexpr const char *kBackupKey = "Settings/BackupBeforeWrite";
constexpr const char *kVerifyKey = "Settings/VerifyAfterWrite";

// "Read data from radio." / "Do you wish continue?" on two lines.
QString radioQuestion(const Tr &first, const Tr &second) {
  return qs(Text(first)) + "\n" + qs(Text(second));
}

}  // namespace

RadioCommands::RadioCommands(RadioHost &main) : session_(std::make_unique<Session>(main, *this)) {}
RadioCommands::~RadioCommands() = default;
void RadioCommands::readFromRadio() { session_->readFromRadio(); }
void RadioCommands::writeToRadio() { session_->writeToRadio(); }
void RadioCommands::writeToGroup() { session_->writeToGroup(); }
void RadioCommands::restoreFromBackup() { session_->restoreFromBackup(); }
void RadioCommands::programSeveralRadios() { session_->programSeveralRadios(); }
void RadioCommands::restoreImage(const std::string &imagePath) { session_->restoreImage(qs(imagePath)); }
void RadioCommands::customerCommand() { session_->customerCommand(); }
const std::string &RadioCommands::customer() const { return session_->customer(); }
void RadioCommands::openBackupFolder() { session_->openBackupFolder(); }
bool RadioCommands::backupBeforeWrite() { return QSettings().value(kBackupKey, true).toBool(); }
void RadioCommands::setBackupBeforeWrite(bool on) { QSettings().setValue(kBackupKey, on); }
bool RadioCommands::verifyAfterWrite() { return QSettings().value(kVerifyKey, true).toBool(); }
void RadioCommands::setVerifyAfterWrite(bool on) { QSettings().setValue(kVerifyKey, on); }
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
      line_(std::make_unique<SerialTransfer>(main.workspace(), main.versions(), *this)),
      history_(QCoreApplication::applicationVersion().toStdString()) {}

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
  device_ = port->device;
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
  if (Ask(main_.hostWidget(), radioQuestion(msg::kReadQuestion1, msg::kReadQuestion2),
          Prompt::QuestionOkCancel) != Answer::Ok)
    return;
  Workspace &ws = main_.workspace();
  PrepareRead(ws);
  const bool ok = runTransfer(FrmProgress::Kind::Read, TransferType::Read, *line_);
  if (ok) {
    ws.loadingFile = true;
    CompleteRead(ws, line_->engine().identification());
    main_.showReadConfiguration();
    ws.loadingFile = false;
  }
  // Every read is kept and recorded; a backup that cannot be kept is a warning, the read stands.
  const BackupResult kept = recordRead(ok);
  std::string status = lastStatus_;
  if (kept.ok) status += " " + BackupKeptMessage(kept);
  status = withHistoryProblems(status);
  if (status != lastStatus_) main_.showStatus(qs(status));
  if (ok) {
    ShowMessage(main_.hostWidget(), qs(CompletionMessage(TransferType::Read)), BoxIcon::None);
    if (!kept.ok)
      ShowMessage(main_.hostWidget(),
                  qs(trustText::kBackupWarning) + "\n" + qs(BackupFailedMessage(kept)),
                  BoxIcon::Warning);
  }
  ended(TransferType::Read, ok);
}

BackupResult RadioCommands::Session::recordRead(bool ok) {
  const Workspace &ws = main_.workspace();
  const link::Identification &radio = line_->engine().identification();
  // A read nobody answered touched no radio: nothing to record.
  if (!ok && radio.model.empty()) return {};
  JobRecorder *recorder = history_.recorder();
  BackupResult kept;
  if (ok) {
    const auto keep = recorder ? recorder->protectedBackups() : std::set<std::string>{};
    kept = KeepBackup(ws, BackupReason::Read, std::time(nullptr), BackupFolder(), keep);
    if (recorder && !kept.pruned.empty()) recorder->backupsPruned(kept.pruned);
  }
  if (!recorder) return kept;
  JobRecord entry;
  entry.time = std::time(nullptr);
  entry.operation = JobOperation::Read;
  entry.ok = ok;
  if (!ok) entry.reason = lastMessage_.empty() ? TransferEndText(TransferType::Read, false, line_->engine().summary())
                                               : lastMessage_;
  entry.radio = {ok ? RadioSerialNumber(ws.image) : std::string(), radio.model, radio.band, radio.firmware};
  entry.port = device_;
  entry.backupAfter = kept.ok ? kept.imagePath : std::string();
  entry.customer = customer_;
  entry.hasImage = ok;
  if (ok) entry.image = ws.image;
  recorder->record(entry);  // a step not recorded is told with the status
  return kept;
}

std::string RadioCommands::Session::withHistoryProblems(std::string status) {
  const std::string notice = history_.takeNotice();
  if (!notice.empty()) ShowMessage(main_.hostWidget(), qs(notice), BoxIcon::Warning);
  const std::string problems = history_.endTransfer();
  if (!problems.empty()) status += (status.empty() ? "" : " ") + problems;
  return status;
}

bool RadioCommands::Session::runTransfer(FrmProgress::Kind kind, TransferType type,
                                         SerialTransfer &line) {
  FrmProgress window(kind, [&line, type] { return line.start(type); }, main_.hostWidget());
  progress_ = &window;
  running_ = type;
  lastSuccess_ = false;
  note_.clear();
  lastMessage_.clear();
  ExecDialog(window);
  progress_ = nullptr;
  running_ = TransferType::None;
  line.closePort();
  // What the transfer went through stays in the status bar: blocks, blocks asked for again,
  // restarts, and the remark about the radio's checksums if there was one.
  // A read that was cancelled or failed says so before its summary.
  std::string status = TransferEndText(type, lastSuccess_, line.engine().summary());
  if (!note_.empty()) status += " " + note_;
  lastStatus_ = status;
  main_.showStatus(qs(status));
  return lastSuccess_;
}

void RadioCommands::Session::openBackupFolder() {
  const std::string folder = BackupFolder();
  // Created when missing, readable by the user only (it holds the radios' passwords).
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ec.assign(errno, std::generic_category());
  if (ec || !std::filesystem::is_directory(folder)) {
    const std::string why = folder + (ec ? " (" + ec.message() + ")" : std::string());
    ShowMessage(main_.hostWidget(), qs(Fill(trustText::kFolderNotCreated, {why})),
                BoxIcon::Critical);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(qs(folder))))
    ShowMessage(main_.hostWidget(), qs(Fill(trustText::kFolderNotOpened, {folder})),
                BoxIcon::Critical);
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
  lastMessage_ = text;
  ShowMessage(dialogParent(), qs(text), radioBoxIcon(icon));
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
