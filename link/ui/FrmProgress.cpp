#include "link/ui/FrmProgress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/ui/handler_guard.h"
#include "link/ui/link_texts.h"
#include "link/ui/trust_texts.h"

namespace n27 {

FrmProgress::FrmProgress(Kind kind, std::function<bool()> start, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      start_(std::move(start)), kind_(kind) {
  setObjectName("FrmProgress");
  setModal(true);
  bar_ = new QProgressBar;
  bar_->setObjectName("ProgressBar1");
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(340);
  label1_ = new QLabel;
  label1_->setObjectName("Label1");
  label2_ = new QLabel;
  label2_->setObjectName("Label2");
  label2_->setMinimumWidth(label2_->fontMetrics().horizontalAdvance("100%") + 4);
  step_ = new QLabel;
  step_->setObjectName("StepLabel");
  step_->setAlignment(Qt::AlignCenter);
  step_->hide();

  RunGuarded("ProgressForm_LoadError", [this] {
    // Label1 ends just left of Label2: "Completion percentage: 37%".
    auto *text = new QHBoxLayout;
    text->addStretch();
    text->addWidget(label1_);
    text->addSpacing(1);
    text->addWidget(label2_);
    text->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->addWidget(step_);
    layout->addWidget(bar_);
    layout->addSpacing(8);
    layout->addLayout(text);
    applyLanguage();
    SetProgressValue(0);
  });
  setFixedSize(sizeHint());
}

void FrmProgress::applyLanguage() {
  RunGuarded("ProgressChangShowByLanguageError", [this] {
    const Tr &caption = kind_ == Kind::Read     ? linkText::kProgressRead
                        : kind_ == Kind::Write  ? linkText::kProgressWrite
                        : kind_ == Kind::Backup ? trustText::kProgressBackup
                                                : trustText::kProgressVerify;
    setWindowTitle(QString::fromUtf8(Text(caption)));
    label1_->setText(QString::fromUtf8(Text(linkText::kCompletion)));
  });
}

void FrmProgress::SetProgressValue(int percent) {
  RunGuarded("SetProgressValueError", [this, percent] {
    int p = std::clamp(percent, 0, 100);
    bar_->setValue(p);
    label2_->setText(QString::number(p) + "%");
  });
}

int FrmProgress::value() const { return bar_->value(); }

void FrmProgress::setStep(const QString &text) {
  step_->setText(text);
  if (step_->isVisibleTo(this) == !text.isEmpty()) return;
  step_->setVisible(!text.isEmpty());
  if (layout()) layout()->activate();
  setFixedSize(sizeHint());
}

QString FrmProgress::step() const { return step_->text(); }

void FrmProgress::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  // Start once the window is painted, from the event loop of exec().
  QTimer::singleShot(0, this, [this] {
    bool ok = false;
    RunGuarded("ProgressForm_LoadError", [&] { ok = start_ && start_(); });
    if (!ok) finish(false);
  });
}

void FrmProgress::finish(bool success) {
  finishing_ = true;
  done(success ? QDialog::Accepted : QDialog::Rejected);
}

void FrmProgress::closeEvent(QCloseEvent *event) {
  if (finishing_) QDialog::closeEvent(event);
  else event->ignore();
}

void FrmProgress::reject() {
  if (finishing_) QDialog::reject();
}

}  // namespace n27
