#include "app/ui/toolbar_icons.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "base/paths.h"

namespace n27 {

namespace {

constexpr int kSize = 32;
const QColor kInk(60, 64, 72);
const QColor kPaper(252, 252, 248);
const QColor kBlue(40, 110, 190);
const QColor kGreen(40, 150, 80);
const QColor kRed(200, 50, 50);
const QColor kAmber(225, 160, 40);

void page(QPainter &p, QRectF r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 7, r.top());
  path.lineTo(r.right(), r.top() + 7);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
  p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

// A handheld radio: body, antenna, display and keypad.
void radio(QPainter &p, QRectF body, const QColor &color) {
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(kInk);
  p.drawRect(QRectF(body.left() + body.width() * 0.15, body.top() - body.height() * 0.45,
                    body.width() * 0.18, body.height() * 0.45));
  p.setBrush(color);
  p.drawRoundedRect(body, 3, 3);
  p.setBrush(QColor(200, 230, 200));
  p.drawRect(QRectF(body.left() + 2.5, body.top() + 3, body.width() - 5, body.height() * 0.28));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 2; ++col)
      p.drawRect(QRectF(body.left() + 3.5 + col * (body.width() - 7) / 2,
                        body.top() + body.height() * 0.5 + row * body.height() * 0.2,
                        (body.width() - 9) / 2, body.height() * 0.12));
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &color) {
  p.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  QLineF line(to, from);
  QLineF a = line, b = line;
  a.setLength(6);
  b.setLength(6);
  a.setAngle(line.angle() + 35);
  b.setAngle(line.angle() - 35);
  p.drawLine(a);
  p.drawLine(b);
}

void computer(QPainter &p, QRectF r) {
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(210, 225, 245));
  p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.7));
  p.setBrush(kInk);
  p.drawRect(QRectF(r.center().x() - 2, r.top() + r.height() * 0.7, 4, r.height() * 0.15));
  p.drawRect(QRectF(r.left() + r.width() * 0.2, r.bottom() - 2, r.width() * 0.6, 2));
}

void draw(QPainter &p, const QString &key) {
  if (key == "新建") {
    page(p, QRectF(7, 3, 18, 26));
    p.setPen(QPen(kAmber, 2));
    p.drawLine(QPointF(22, 18), QPointF(30, 26));
    p.drawLine(QPointF(30, 18), QPointF(22, 26));
    p.drawLine(QPointF(26, 17), QPointF(26, 27));
  } else if (key == "打开") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kAmber.darker(110));
    p.drawRect(QRectF(3, 8, 24, 18));
    p.drawRect(QRectF(3, 6, 9, 3));
    QPolygonF front({QPointF(7, 13), QPointF(30, 13), QPointF(26, 26), QPointF(3, 26)});
    p.setBrush(kAmber);
    p.drawPolygon(front);
  } else if (key == "保存") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 4, 16, 9));
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(9, 18, 14, 10));
    p.setBrush(kInk);
    p.drawRect(QRectF(18, 6, 3, 5));
  } else if (key == "打印") {
    p.setPen(QPen(kInk, 1.5));
    page(p, QRectF(9, 3, 14, 10));
    p.setBrush(QColor(170, 175, 185));
    p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 19, 16, 10));
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
  } else if (key == "ReadRadio") {
    radio(p, QRectF(3, 12, 11, 18), QColor(80, 84, 92));
    computer(p, QRectF(17, 6, 13, 16));
    arrow(p, QPointF(12, 8), QPointF(22, 8), kGreen);
  } else if (key == "WriteRadio") {
    radio(p, QRectF(18, 12, 11, 18), QColor(80, 84, 92));
    computer(p, QRectF(2, 6, 13, 16));
    arrow(p, QPointF(10, 8), QPointF(20, 8), kRed);
  } else if (key == "MWriteRadio") {
    radio(p, QRectF(4, 13, 9, 16), QColor(80, 84, 92));
    radio(p, QRectF(12, 13, 9, 16), QColor(100, 104, 112));
    radio(p, QRectF(20, 13, 9, 16), QColor(120, 124, 132));
  } else if (key == "FleetRadio") {
    // Radios on cables of their own, all written at once.
    computer(p, QRectF(2, 3, 12, 12));
    for (int i = 0; i < 3; ++i) {
      radio(p, QRectF(15 + i * 5.5, 14, 5, 15), QColor(80 + i * 20, 84 + i * 20, 92 + i * 20));
      p.setPen(QPen(kRed, 1.2));
      p.drawLine(QPointF(14, 9), QPointF(17.5 + i * 5.5, 14));
    }
  } else if (key == "CommSet") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kBlue);
    QPolygonF d({QPointF(3, 9), QPointF(29, 9), QPointF(25, 21), QPointF(7, 21)});
    p.drawPolygon(d);
    p.setBrush(kPaper);
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8.5 + i * 3.75, 13), 1.2, 1.2);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10.5 + i * 3.75, 17), 1.2, 1.2);
    p.setPen(QPen(kInk, 2.5));
    p.drawLine(QPointF(16, 21), QPointF(16, 30));
  } else if (key == "CHCut") {
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 24), 4, 4);
    p.drawEllipse(QPointF(23, 24), 4, 4);
    p.drawLine(QPointF(11, 21), QPointF(22, 3));
    p.drawLine(QPointF(21, 21), QPointF(10, 3));
  } else if (key == "CHCopy") {
    page(p, QRectF(4, 3, 16, 20));
    page(p, QRectF(12, 9, 16, 20));
  } else if (key == "CHPaste") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kAmber.darker(120));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(170, 175, 185));
    p.drawRect(QRectF(10, 3, 8, 5));
    page(p, QRectF(13, 12, 15, 18));
  } else if (key == "CHDelete") {
    p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
  } else if (key == "Undo" || key == "Redo") {
    // A curved arrow turning back (undo) or forward (redo).
    const bool back = key == "Undo";
    p.save();
    if (!back) {
      p.translate(32, 0);
      p.scale(-1, 1);
    }
    p.setPen(QPen(kBlue, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(8, 13);
    path.cubicTo(14, 6, 28, 8, 26, 19);
    path.cubicTo(25, 24, 20, 27, 15, 26);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPolygonF head;
    head << QPointF(3, 15) << QPointF(12, 6) << QPointF(13, 17);
    p.drawPolygon(head);
    p.restore();
  } else if (key == "About") {
    p.setPen(QPen(kBlue.darker(120), 1.5));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1, 1);
  } else if (key == "TreeRoot" || key == "App") {
    radio(p, QRectF(9, 11, 14, 20), key == "App" ? kBlue.darker(130) : QColor(80, 84, 92));
  } else if (key == "N1") {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 5, 24, 22));
    p.setBrush(QColor(200, 215, 240));
    p.drawRect(QRectF(4, 5, 24, 5));
    for (int y = 15; y < 27; y += 5) p.drawLine(QPointF(4, y), QPointF(28, y));
    p.drawLine(QPointF(12, 5), QPointF(12, 27));
  } else if (key == "N2") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(170, 175, 185));
    QPainterPath gear;
    for (int i = 0; i < 8; ++i) {
      p.save();
      p.translate(16, 16);
      p.rotate(i * 45);
      p.drawRect(QRectF(-2.5, -13, 5, 6));
      p.restore();
    }
    p.drawEllipse(QPointF(16, 16), 9, 9);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
  } else if (key == "N3") {
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kAmber);
    p.drawEllipse(QPointF(10, 16), 7, 7);
    p.drawRect(QRectF(16, 14, 13, 4));
    p.drawRect(QRectF(23, 18, 3, 5));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8.5, 16), 2, 2);
  } else if (key == "N10") {
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(4, 4), QPointF(4, 28));
    p.drawLine(QPointF(4, 28), QPointF(28, 28));
    p.setPen(QPen(kGreen, 2.5));
    p.drawPolyline(QPolygonF({QPointF(6, 22), QPointF(12, 14), QPointF(18, 19), QPointF(26, 7)}));
  }
}

QPixmap render(const QString &key, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / double(kSize), size / double(kSize));
  draw(p, key);
  return pm;
}

}  // namespace

QIcon ToolbarIcon(const QString &key) {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) icon.addPixmap(render(key, size));
  return icon;
}

QIcon ApplicationIcon() {
  // The shipped icon when it is there (the same picture the desktop menu shows).
  QString shipped = QString::fromStdString(ShippedPath("n27.png"));
  if (QFile::exists(shipped)) return QIcon(shipped);
  return ToolbarIcon("App");
}

}  // namespace n27
