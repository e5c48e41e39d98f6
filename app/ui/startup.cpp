#include "app/ui/startup.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <clocale>

#include "base/language.h"
#include "base/paths.h"

namespace n27 {

void UseDotDecimal() {
  std::setlocale(LC_NUMERIC, "C");
  QLocale dot = QLocale::c();
  dot.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
  QLocale::setDefault(dot);
}

QString SplashWindow::picturePath(int language) {
  return QString::fromStdString(
      ShippedPath(language == kChinese ? "StartC.jpg" : "StartE.jpg"));
}

SplashWindow::SplashWindow(int language, std::function<void()> done, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      done_(std::move(done)) {
  setObjectName("frmSplash");
  hasPicture_ = picture_.load(picturePath(language));
  if (!hasPicture_) {
    // Without the picture a plain panel with the program's name stands in.
    picture_ = QPixmap(480, 300);
    picture_.fill(QColor(30, 60, 100));
    QPainter p(&picture_);
    p.setPen(Qt::white);
    QFont f = font();
    f.setPointSize(28);
    f.setBold(true);
    p.setFont(f);
    p.drawText(picture_.rect(), Qt::AlignCenter, "N27");
  }
  setFixedSize(picture_.size());
  setCursor(Qt::PointingHandCursor);
  if (QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(kShowMs);
  connect(timer_, &QTimer::timeout, this, &SplashWindow::finish);
  timer_->start();
}

void SplashWindow::finish() {
  timer_->stop();
  close();
  if (auto done = std::move(done_)) {
    done_ = nullptr;
    done();
  }
}

void SplashWindow::mousePressEvent(QMouseEvent *) { finish(); }

void SplashWindow::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.drawPixmap(0, 0, picture_);
}

}  // namespace n27
