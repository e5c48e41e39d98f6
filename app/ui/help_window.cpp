#include "app/ui/help_window.h"

#include <QDesktopServices>
#include <QScreen>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "base/language.h"
#include "base/main_window_texts.h"
#include "base/paths.h"
#include "base/ui/prompter.h"

namespace n27 {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmHelp");
  browser_ = new QTextBrowser;
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
    if (url.scheme() == "http" || url.scheme() == "https") QDesktopServices::openUrl(url);
  });
  auto *back = new QPushButton("<");
  auto *forward = new QPushButton(">");
  auto *home = new QPushButton("⌂");
  for (QPushButton *b : {back, forward, home}) b->setFixedWidth(36);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
  auto *bar = new QHBoxLayout;
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addWidget(home);
  bar->addStretch();
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_);
  resize(760, 620);
  // Esc closes the guide, like any other window a user reads and puts away.
  auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

QString HelpWindow::pagePath(int language) {
  return QString::fromStdString(
      ShippedPath(language == kChinese ? "help/zh/index.html" : "help/en/index.html"));
}

bool HelpWindow::showTopic(int language, int context) {
  setWindowTitle(QString::fromUtf8(mainText::kHelpTitle.at(language)));
  QString path = pagePath(language);
  // Windows with a page of their own in the guide.
  if (context == 3900) path = QFileInfo(path).dir().filePath("history.html");
  if (context == 4000) path = QFileInfo(path).dir().filePath("plan-check.html");
  if (!QFile::exists(path)) {
    ShowMessage(parentWidget(),
                QString::fromUtf8(Text(mainText::kHelpMissing)) + "\n" + path,
                BoxIcon::Warning);
    return false;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (context > 0) url.setFragment(QString("topic%1").arg(context));
  browser_->setSource(url);
  if (context > 0) browser_->scrollToAnchor(url.fragment());
  if (!isVisible() && parentWidget()) {
    // Over the main window, within its screen.
    QRect area = parentWidget()->screen()->availableGeometry();
    QRect r(QPoint(), size().boundedTo(area.size()));
    r.moveCenter(parentWidget()->geometry().center());
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() - r.height()));
    setGeometry(r);
  }
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace n27
