#include "base/ui/prompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <typeinfo>

#include "base/main_window_texts.h"
#include "base/messages.h"
#include "base/ui/file_dialog.h"

namespace n27 {

namespace {

Prompter g_default;
Prompter *g_current = nullptr;
std::function<void(const QString &)> g_observer;

Prompter &promptInstalled() { return g_current ? *g_current : g_default; }

// What CurrentPrompter() hands out: the installed prompter, with every message told to the
// observer first (the Messages list keeps them).
class ObservedPrompter final : public Prompter {
 public:
  Answer ask(QWidget *parent, const QString &text, Prompt prompt) override {
    return promptInstalled().ask(parent, text, prompt);
  }
  void message(QWidget *parent, const QString &text, BoxIcon icon) override {
    tell(text);
    promptInstalled().message(parent, text, icon);
  }
  void message(QWidget *parent, const QString &text, BoxIcon icon, const QString &detail) override {
    tell(detail.isEmpty() ? text : text + "\n" + detail);
    promptInstalled().message(parent, text, icon, detail);
  }
  std::optional<QString> openFileName(QWidget *parent, const QString &filter, const QString &folder) override {
    return promptInstalled().openFileName(parent, filter, folder);
  }
  std::optional<QString> saveFileName(QWidget *parent, const QString &filter, const QString &proposed) override {
    return promptInstalled().saveFileName(parent, filter, proposed);
  }
  int execDialog(QDialog &dialog) override { return promptInstalled().execDialog(dialog); }

 private:
  static void tell(const QString &text) {
    if (auto observer = g_observer) observer(text);  // a copy: the observer may replace itself
  }
};

ObservedPrompter g_observed;

QMessageBox::Icon promptBoxIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::Critical: return QMessageBox::Critical;
    case BoxIcon::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

QWidget *parentOr(QWidget *parent) {
  if (parent) return parent;
  if (QWidget *modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

// A message box wide enough for its title on any window manager.
void keepWide(QMessageBox &box) {
  if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
    grid->addItem(new QSpacerItem(280, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

QString title(bool warning) {
  return QString::fromUtf8(warning ? Text(msg::kWarning) : Text(mainText::kAppTitle));
}

}  // namespace

Answer Prompter::ask(QWidget *parent, const QString &text, Prompt prompt) {
  const bool warning = prompt == Prompt::WarningOkCancel || prompt == Prompt::WarningYesNoCancel ||
                       prompt == Prompt::WarningCancelFirst;
  QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, title(warning), text,
                  QMessageBox::NoButton, parentOr(parent));
  QAbstractButton *yes = nullptr, *no = nullptr, *ok = nullptr, *cancel = nullptr;
  if (prompt == Prompt::WarningYesNoCancel || prompt == Prompt::QuestionYesNo) {
    yes = box.addButton(QString::fromUtf8(Text(mainText::kYes)), QMessageBox::YesRole);
    no = box.addButton(QString::fromUtf8(Text(mainText::kNo)), QMessageBox::NoRole);
  } else {
    ok = box.addButton(QString::fromUtf8(Text(msg::kOk)), QMessageBox::AcceptRole);
  }
  if (prompt != Prompt::QuestionYesNo)
    cancel = box.addButton(
        QString::fromUtf8(Text(prompt == Prompt::QuestionOkFinish ? msg::kFinish : msg::kCancel)),
        QMessageBox::RejectRole);
  box.setDefaultButton(static_cast<QPushButton *>(
      prompt == Prompt::WarningCancelFirst ? cancel : yes ? yes : ok));
  box.setEscapeButton(cancel ? cancel : no);
  keepWide(box);
  box.exec();
  QAbstractButton *clicked = box.clickedButton();
  if (clicked && clicked == yes) return Answer::Yes;
  if (clicked && clicked == no) return Answer::No;
  if (prompt == Prompt::QuestionYesNo) return Answer::No;  // closed without a choice
  if (clicked && clicked == ok) return Answer::Ok;
  return Answer::Cancel;
}

void Prompter::message(QWidget *parent, const QString &text, BoxIcon icon) {
  const bool warning = icon == BoxIcon::Warning;
  QMessageBox box(promptBoxIcon(icon), title(warning), text, QMessageBox::NoButton, parentOr(parent));
  box.addButton(QString::fromUtf8(Text(msg::kOk)), QMessageBox::AcceptRole);
  keepWide(box);
  box.exec();
}

void Prompter::message(QWidget *parent, const QString &text, BoxIcon icon, const QString &detail) {
  if (detail.isEmpty() || typeid(*this) != typeid(Prompter)) {
    message(parent, detail.isEmpty() ? text : text + "\n" + detail, icon);
    return;
  }
  const bool warning = icon == BoxIcon::Warning;
  QMessageBox box(promptBoxIcon(icon), title(warning), text, QMessageBox::NoButton, parentOr(parent));
  box.setInformativeText(detail);
  box.addButton(QString::fromUtf8(Text(msg::kOk)), QMessageBox::AcceptRole);
  keepWide(box);
  box.exec();
}

std::optional<QString> Prompter::openFileName(QWidget *parent, const QString &filter,
                                              const QString &folder) {
  auto dialog = MakeFileDialog(parentOr(parent), filter, folder, QFileDialog::AcceptOpen);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  const QString name = dialog->selectedFiles().first();
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> Prompter::saveFileName(QWidget *parent, const QString &filter,
                                              const QString &proposed) {
  auto dialog = MakeFileDialog(parentOr(parent), filter, proposed, QFileDialog::AcceptSave);
  // A name typed without an extension gets the one of the filter ("Data File (*.dat)").
  const auto suffix = QRegularExpression("\\*\\.(\\w+)").match(filter);
  dialog->setDefaultSuffix(suffix.hasMatch() ? suffix.captured(1) : QString("dat"));
  dialog->selectFile(proposed);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

int Prompter::execDialog(QDialog &dialog) { return dialog.exec(); }

Prompter &CurrentPrompter() { return g_observed; }

void SetPrompter(Prompter *prompter) { g_current = prompter; }

void SetMessageObserver(std::function<void(const QString &text)> observer) { g_observer = std::move(observer); }

int ExecDialog(QDialog &dialog) { return CurrentPrompter().execDialog(dialog); }

}  // namespace n27
