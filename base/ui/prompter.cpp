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

namespace n27 {

namespace {

Prompter g_default;
Prompter *g_current = nullptr;

QMessageBox::Icon boxIcon(BoxIcon icon) {
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
  QMessageBox box(boxIcon(icon), title(warning), text, QMessageBox::NoButton, parentOr(parent));
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
  QMessageBox box(boxIcon(icon), title(warning), text, QMessageBox::NoButton, parentOr(parent));
  box.setInformativeText(detail);
  box.addButton(QString::fromUtf8(Text(msg::kOk)), QMessageBox::AcceptRole);
  keepWide(box);
  box.exec();
}

std::optional<QString> Prompter::openFileName(QWidget *parent, const QString &filter,
                                              const QString &folder) {
  QString name = QFileDialog::getOpenFileName(parentOr(parent), QString(), folder, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> Prompter::saveFileName(QWidget *parent, const QString &filter,
                                              const QString &proposed) {
  QFileDialog dialog(parentOr(parent), QString(), proposed, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // A name typed without an extension gets the one of the filter ("Data File (*.dat)").
  const auto suffix = QRegularExpression("\\*\\.(\\w+)").match(filter);
  dialog.setDefaultSuffix(suffix.hasMatch() ? suffix.captured(1) : QString("dat"));
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

int Prompter::execDialog(QDialog &dialog) { return dialog.exec(); }

Prompter &CurrentPrompter() { return g_current ? *g_current : g_default; }

void SetPrompter(Prompter *prompter) { g_current = prompter; }

int ExecDialog(QDialog &dialog) { return CurrentPrompter().execDialog(dialog); }

}  // namespace n27
