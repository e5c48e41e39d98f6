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

namespace {
constexpr Tr kBack{"Back", "后退"};
constexpr Tr kForward{"Forward", "前进"};
constexpr Tr kHome{"Contents", "目录"};
}  // namespace

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
  back->setObjectName("CommandBack");
  forward->setObjectName("CommandForward");
  home->setObjectName("CommandHome");
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

QString HelpWindow::pagePath(int language, const std::string &page) {
  return QString::fromStdString(ShippedPath((language == kChinese ? "help/zh/" : "help/en/") + page));
}

QString HelpWindow::shownFile() const { return browser_->source().toLocalFile(); }

bool HelpWindow::showTopic(int language, int context) {
  return showPage(language, HelpTopicForContext(context));
}

bool HelpWindow::showPage(int language, const HelpTopic &topic) {
  setWindowTitle(QString::fromUtf8(mainText::kHelpTitle.at(language)));
  // The arrow buttons by what they do, for the eye and for a screen reader.
  for (const auto &[name, text] : {std::pair{"CommandBack", &kBack}, {"CommandForward", &kForward}, {"CommandHome", &kHome}})
    if (auto *b = findChild<QPushButton *>(name)) {
      b->setToolTip(QString::fromUtf8(text->at(language)));
      b->setAccessibleName(b->toolTip());
    }
  QString path = pagePath(language, topic.page);
  if (!QFile::exists(path)) {
    ShowMessage(parentWidget(),
                QString::fromUtf8(Text(mainText::kHelpMissing)) + "\n" + path,
                BoxIcon::Warning);
    return false;
  }
  QUrl url = QUrl::fromLocalFile(path);
  const QString anchor = QString::fromStdString(topic.anchor);
  if (!anchor.isEmpty()) url.setFragment(anchor);
  browser_->setSource(url);
  if (!anchor.isEmpty()) browser_->scrollToAnchor(anchor);
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
