#include "app/ui/about_dialog.h"
#include "base/qt/qt_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "base/main_window_texts.h"
#include "base/messages.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "app/ui/toolbar_icons.h"

namespace n27 {

namespace {
}  // namespace

AboutDialog::AboutDialog(int language, QWidget *parent) : QDialog(parent) {
  setObjectName(language == kChinese ? "frmAboutC" : "frmAbout");
  setWindowTitle(qs(mainText::kAboutTitle.at(language)));

  auto *icon = new QLabel;
  icon->setPixmap(ApplicationIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignTop);

  auto *product = new QLabel(qs(mainText::kAboutProduct.at(language)));
  QFont big = product->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  product->setFont(big);
  auto *version = new QLabel(qs(mainText::kAboutVersion.at(language)) + kProgramVersion);
  version->setObjectName("lblVersion");
  auto *model = new QLabel(qs(mainText::kAboutModel.at(language)));
  auto *use = new QLabel(qs(mainText::kAboutUse.at(language)));
  use->setWordWrap(true);

  auto *text = new QVBoxLayout;
  text->addWidget(product);
  text->addWidget(version);
  text->addSpacing(8);
  text->addWidget(model);
  text->addWidget(use);
  text->addStretch();

  auto *top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto *buttons = new QDialogButtonBox;
  auto *ok = buttons->addButton(qs(msg::kOk.at(language)), QDialogButtonBox::AcceptRole);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  auto *sysInfo = buttons->addButton(qs(mainText::kSystemInfo.at(language)),
                                     QDialogButtonBox::ActionRole);
  sysInfo->setObjectName("cmdSysInfo");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(sysInfo, &QPushButton::clicked, this,
          [this] { RunHandler(this, "cmdSysInfo_Click", [this] { startSystemInformation(); }); });

  auto *layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addWidget(buttons);
  setMinimumWidth(440);
}

void AboutDialog::startSystemInformation() {
  // The desktop's own system information tool, whichever is installed.
  for (const char *tool : {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager",
                           "lxtask", "mate-system-monitor"}) {
    QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty() && QProcess::startDetached(path, {})) return;
  }
  ShowMessage(this, qs(Text(mainText::kSystemInfoUnavailable)), BoxIcon::Information);
}

}  // namespace n27
