#include "link/ui/radio_commands.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>

#include <QApplication>
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

QString qs(const Tr &tr) { return QString::fromUtf8(Text(tr)); }

constexpr const char *kBackupKey = "Settings/BackupBeforeWrite";
constexpr const char *kVerifyKey = "Settings/VerifyAfterWrite";

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
  void writeToGroup();
  void restoreFromBackup();
  void openBackupFolder();
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

  // What became of one write with its backup and verify.
  struct WriteOutcome {
    bool success = false;   // written, and verified when that is on
    bool verified = false;
    std::string serial;     // the radio's serial number, when one of the reads saw it
    std::string detail;     // why it failed
    std::string backupNote; // where the radio's memory was kept
  };

  // Opens the chosen port to see that it can be used; shows why not. The port stays open and
  // device_ names it.
  bool openChosenPort();
  // Runs a read or write on `line` with the progress window; true when it completed. The
  // port is closed afterwards.
  bool runTransfer(FrmProgress::Kind kind, TransferType type, SerialTransfer &line);
  // An empty workspace for reading the radio beside `like` (same program folder, test mode
  // and password).
  std::unique_ptr<Workspace> scratchLike(const Workspace &like) const;
  // Reads the radio on device_ into `into` (CompleteRead done on success). A password typed
  // meanwhile stays known to the open configuration.
  bool readInto(Workspace &into, FrmProgress::Kind kind);
  // The backup before (when on), the write of `target` (image ready) on `line`, the read-back
  // after (when on). `quiet`: failures are not shown here but left in the outcome.
  WriteOutcome guardedWrite(Workspace &target, SerialTransfer &line, bool quiet);
  void fail(const std::string &text, bool quiet);
  // Everything up to the write question: pending input stored, a channel to write, the
  // tuning block confirmed, the port usable.
  bool writeChecks();
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
  std::string lastStatus_;   // the status line of the last transfer
  std::string lastMessage_;  // the last message the transfer showed (why it failed)
  std::string device_;       // the chosen port's device
};

RadioCommands::RadioCommands(RadioHost &main) : session_(std::make_unique<Session>(main, *this)) {}
RadioCommands::~RadioCommands() = default;
void RadioCommands::readFromRadio() { session_->readFromRadio(); }
void RadioCommands::writeToRadio() { session_->writeToRadio(); }
void RadioCommands::writeToGroup() { session_->writeToGroup(); }
void RadioCommands::restoreFromBackup() { session_->restoreFromBackup(); }
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
  if (Ask(main_.hostWidget(), question(msg::kReadQuestion1, msg::kReadQuestion2),
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
    // Every read is kept; a backup that cannot be kept is a warning, the read stands.
    BackupResult kept = KeepBackup(ws, BackupReason::Read, std::time(nullptr));
    if (kept.ok) main_.showStatus(qs(lastStatus_ + " " + BackupKeptMessage(kept)));
    ShowMessage(main_.hostWidget(), qs(CompletionMessage(TransferType::Read)), BoxIcon::None);
    if (!kept.ok)
      ShowMessage(main_.hostWidget(),
                  qs(trustText::kBackupWarning) + "\n" + qs(BackupFailedMessage(kept)),
                  BoxIcon::Warning);
  }
  ended(TransferType::Read, ok);
}

bool RadioCommands::Session::writeChecks() {
  main_.storePendingInput();
  Workspace &ws = main_.workspace();
  if (!WriteAllowed(ws)) {
    ShowMessage(main_.hostWidget(), qs(Text(msg::kNothingToWrite)), BoxIcon::None);
    return false;
  }
  // A test-mode write also sends the tuning block: never zeros nobody read, loaded or typed
  // without the operator's say-so (they would replace the radio's factory calibration).
  if (link::TuningWriteNeedsConfirmation(ws) &&
      Ask(main_.hostWidget(), qs(link::UnknownTuningWarning()), Prompt::WarningCancelFirst) != Answer::Ok)
    return false;
  return openChosenPort();
}

void RadioCommands::Session::writeToRadio() {
  if (busy()) return;
  if (!writeChecks()) return;
  if (Ask(main_.hostWidget(), question(msg::kWriteQuestion1, msg::kWriteQuestion2),
          Prompt::QuestionOkCancel) != Answer::Ok) {
    line_->closePort();
    return;
  }
  Workspace &ws = main_.workspace();
  PrepareWrite(ws);
  WriteOutcome out = guardedWrite(ws, *line_, false);
  if (out.success) {
    QString text = qs(CompletionMessage(TransferType::Write));
    if (out.verified) text += "\n" + qs(VerifiedMessage());
    ShowMessage(main_.hostWidget(), text, BoxIcon::None);
  }
  ended(TransferType::Write, out.success);
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
  std::string status = SummaryText(line.engine().summary());
  if (lastSuccess_ && (kind == FrmProgress::Kind::Read || kind == FrmProgress::Kind::Write))
    status = CompletionMessage(type) + " " + status;
  if (!note_.empty()) status += " " + note_;
  lastStatus_ = status;
  main_.showStatus(qs(status));
  return lastSuccess_;
}

std::unique_ptr<Workspace> RadioCommands::Session::scratchLike(const Workspace &like) const {
  auto ws = std::make_unique<Workspace>();
  ws->programFolder = like.programFolder;
  ws->testMode = like.testMode;
  ws->password = like.password;
  NewConfiguration(*ws);
  return ws;
}

bool RadioCommands::Session::readInto(Workspace &into, FrmProgress::Kind kind) {
  line_->closePort();
  SerialTransfer line(into, main_.versions(), *this);
  line.setReplyTimeout(line_->replyTimeout());
  PortOpenResult opened = line.openPort(device_);
  if (!opened.ok) {
    lastMessage_ = opened.message;
    return false;
  }
  PrepareRead(into);
  const bool ok = runTransfer(kind, TransferType::Read, line);
  main_.workspace().password = into.password;  // a password typed for the radio stays known
  if (ok) CompleteRead(into, line.engine().identification());
  return ok;
}

void RadioCommands::Session::fail(const std::string &text, bool quiet) {
  main_.showStatus(qs(text).replace('\n', ' '));
  if (!quiet) ShowMessage(main_.hostWidget(), qs(text), BoxIcon::Critical);
}

RadioCommands::Session::WriteOutcome RadioCommands::Session::guardedWrite(Workspace &target,
                                                                          SerialTransfer &line,
                                                                          bool quiet) {
  WriteOutcome out;
  if (RadioCommands::backupBeforeWrite()) {
    // What the radio holds now, kept before it is overwritten; no backup, no write.
    main_.showStatus(qs(trustText::kBackingUp));
    auto radio = scratchLike(target);
    BackupResult kept;
    if (readInto(*radio, FrmProgress::Kind::Backup)) {
      out.serial = RadioSerialNumber(radio->image);
      kept = KeepBackup(*radio, BackupReason::BeforeWrite, std::time(nullptr));
    } else {
      kept.error = lastMessage_.empty() ? Text(trustText::kRadioNotRead)
                                        : std::string(Text(trustText::kRadioNotRead)) + " " + lastMessage_;
    }
    target.password = radio->password;  // typed once for the backup, used for the write
    if (!kept.ok) {
      out.detail = WriteRefusedWithoutBackupMessage(kept);
      fail(out.detail, quiet);
      return out;
    }
    out.backupNote = BackupKeptMessage(kept);
  }
  line_->closePort();
  PortOpenResult opened = line.openPort(device_);
  if (!opened.ok) {
    out.detail = opened.message;
    fail(out.detail, quiet);
    return out;
  }
  if (!runTransfer(FrmProgress::Kind::Write, TransferType::Write, line)) {
    out.detail = lastMessage_.empty() ? Text(trustText::kWriteNotCompleted) : lastMessage_;
    main_.showStatus(qs(out.detail).replace('\n', ' '));
    return out;
  }
  const QString written = qs(lastStatus_);
  if (RadioCommands::verifyAfterWrite()) {
    main_.showStatus(qs(trustText::kVerifying));
    auto back = scratchLike(target);
    if (!readInto(*back, FrmProgress::Kind::Verify)) {
      out.detail = Text(trustText::kVerifyNotRead);
      fail(out.detail, quiet);
      return out;
    }
    if (out.serial.empty()) out.serial = RadioSerialNumber(back->image);
    if (std::optional<int> at = FirstWriteDifference(target, *back)) {
      out.detail = VerifyFailedMessage(*at);
      fail(out.detail, quiet);
      return out;
    }
    out.verified = true;
  }
  out.success = true;
  QString status = written;
  if (out.verified) status += " " + qs(VerifiedMessage());
  if (!out.backupNote.empty()) status += " " + qs(out.backupNote);
  main_.showStatus(status);
  return out;
}

void RadioCommands::Session::writeToGroup() {
  if (busy()) return;
  if (!writeChecks()) return;
  line_->closePort();
  if (Ask(main_.hostWidget(), qs(trustText::kGroupStart), Prompt::QuestionOkCancel) != Answer::Ok)
    return;
  Workspace &ws = main_.workspace();
  const std::time_t start = std::time(nullptr);
  std::vector<GroupWriteEntry> entries;
  int written = 0, failed = 0;
  for (int n = 1;; ++n) {
    PrepareWrite(ws);
    WriteOutcome out = guardedWrite(ws, *line_, true);
    GroupWriteEntry entry;
    entry.number = n;
    entry.serial = out.serial;
    entry.time = std::time(nullptr);
    entry.success = out.success;
    entry.result = out.success ? (out.verified ? GroupRadioDoneText() : Text(trustText::kWrittenNotVerified))
                               : out.detail;
    entries.push_back(entry);
    ++(out.success ? written : failed);
    ended(TransferType::Write, out.success);
    const std::string serial = out.serial.empty() ? Text(trustText::kUnknownSerial) : out.serial;
    std::string text =
        out.success ? Fill(trustText::kGroupRadioDone, {std::to_string(n), serial, entry.result})
                    : Fill(trustText::kGroupRadioFailed, {std::to_string(n), serial, out.detail});
    text += "\n\n" + GroupProgressText(written, failed) + "\n\n" + Text(trustText::kGroupFinishHint);
    if (Ask(main_.hostWidget(), qs(text), Prompt::QuestionOkFinish) != Answer::Ok) break;
  }
  // The log beside the data file (an untitled configuration, or a folder that takes no file:
  // the user's data folder).
  const GroupLogSave saved = SaveGroupLog(entries, ws.untitled ? std::string() : ws.fileName, start);
  std::string savedText;
  for (const std::string &problem : saved.problems) savedText += problem + "\n";
  if (saved.ok) savedText += GroupLogSavedMessage(saved.path);
  main_.showStatus(qs(savedText).replace('\n', ' '));
  FrmGroupLog log(entries, qs(savedText), main_.hostWidget());
  ExecDialog(log);
}

void RadioCommands::Session::restoreFromBackup() {
  if (busy()) return;
  const std::string folder = BackupFolder();
  auto chosen = CurrentPrompter().openFileName(main_.hostWidget(), qs(trustText::kImageFilter),
                                               qs(folder));
  if (!chosen) return;
  // The image goes into a workspace of its own: the open configuration is not part of it.
  auto image = scratchLike(main_.workspace());
  if (std::optional<std::string> refusal = PrepareRestore(*image, chosen->toStdString())) {
    ShowMessage(main_.hostWidget(), qs(*refusal), BoxIcon::Critical);
    return;
  }
  const std::string serial = RadioSerialNumber(image->image);
  const QString kept =
      QFileInfo(*chosen).lastModified().toString("yyyy-MM-dd HH:mm:ss");
  if (!openChosenPort()) return;
  line_->closePort();
  const std::string text = Fill(trustText::kRestoreQuestion,
      {chosen->toStdString(), kept.toStdString(), serial.empty() ? Text(trustText::kUnknownSerial) : serial});
  if (Ask(main_.hostWidget(), qs(text), Prompt::WarningOkCancel) != Answer::Ok) return;
  SerialTransfer line(*image, main_.versions(), *this);
  line.setReplyTimeout(line_->replyTimeout());
  WriteOutcome out = guardedWrite(*image, line, false);
  main_.workspace().password = image->password;
  if (out.success) {
    QString done = qs(trustText::kRestoreCompleted);
    if (out.verified) done += "\n" + qs(VerifiedMessage());
    ShowMessage(main_.hostWidget(), done, BoxIcon::None);
  }
  ended(TransferType::Write, out.success);
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
