#include "print/ui/report_painter.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace n27::print {

namespace {

constexpr double kTitlePoints = 25;
constexpr double kTextPoints = 10;
constexpr double kSmallestPoints = 5;  // a crowded channel page shrinks its text to no less
constexpr double kTitleTop = 0.02;     // of the page height
constexpr double kFooterLift = 0.03;   // of the page height, above the bottom

// Left edges of label 1, value 1, label 2, value 2 (fractions of the page width).
constexpr double kSettingColumns[4] = {0.05, 0.35, 0.55, 0.75};
constexpr double kChannelColumns[4] = {0.10, 0.30, 0.55, 0.75};
constexpr double kHeadingLeft = 0.05;
constexpr double kRight = 0.97;

QString q(const std::string &s) { return QString::fromStdString(s); }

// Chinese pages print in a font that holds both the Chinese and the Latin characters, so the
// mixed texts of a row keep one line height and baseline.
void chooseFont(QPainter &p) {
  if (LanguageIndex() != kChinese) return;
  const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QString chosen;
  for (const QString &f : families)
    if (f.contains("Sans", Qt::CaseInsensitive) && !f.contains("Mono", Qt::CaseInsensitive)) {
      chosen = f;
      break;
    }
  if (chosen.isEmpty() && !families.isEmpty()) chosen = families.front();
  if (chosen.isEmpty()) return;
  QFont f = p.font();
  f.setFamily(chosen);
  p.setFont(f);
}

class PagePainter {
 public:
  PagePainter(QPainter &p, double width, double height) : p_(p), w_(width), h_(height) {}

  // Title and caption; returns the top of the first row.
  double header(const ReportPage &page) {
    QFont title = p_.font();
    title.setPointSizeF(kTitlePoints);
    title.setBold(true);
    // A title wider than the page (a narrow paper) is set smaller to stay whole.
    const double titleWidth = QFontMetricsF(title, p_.device()).horizontalAdvance(q(page.title));
    if (titleWidth > w_ * 0.96) title.setPointSizeF(std::max(kSmallestPoints, kTitlePoints * w_ * 0.96 / titleWidth));
    p_.setFont(title);
    const QFontMetricsF tm(title, p_.device());
    double y = h_ * kTitleTop;
    p_.drawText(QRectF(0, y, w_, tm.height()), Qt::AlignHCenter | Qt::AlignTop, q(page.title));
    y += tm.lineSpacing();
    textFont(kTextPoints);
    const QFontMetricsF m(p_.font(), p_.device());
    p_.drawText(QRectF(w_ * kHeadingLeft, y, w_ * (kRight - kHeadingLeft), m.height()), Qt::AlignLeft | Qt::AlignTop,
                q(page.caption));
    if (!page.fileName.empty())
      p_.drawText(QRectF(w_ * kHeadingLeft, y, w_ * (kRight - kHeadingLeft), m.height()), Qt::AlignRight | Qt::AlignTop,
                  QString::fromUtf8(kFileName.get()) + ": " + q(page.fileName));
    return y + 3 * m.lineSpacing();  // the caption, then two line breaks
  }

  // The top of the footer: rows end above it.
  double bottom() const {
    const QFontMetricsF m(p_.font(), p_.device());
    return h_ * (1 - kFooterLift) - m.height();
  }

  void footer(int number) {
    const double points = p_.font().pointSizeF();
    textFont(kTextPoints);
    const QFontMetricsF m(p_.font(), p_.device());
    p_.drawText(QRectF(0, h_ * (1 - kFooterLift) - m.height(), w_, m.height()), Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral(" -%1- ").arg(number));
    textFont(points);
  }

  void textFont(double points) {
    QFont f = p_.font();
    f.setPointSizeF(points);
    f.setBold(false);
    p_.setFont(f);
  }

  // The cells of a row: left edge, width, text.
  struct Cell {
    double left, width;
    QString text;
  };
  std::vector<Cell> cells(const ReportRow &row, PageLayout layout) const {
    std::vector<Cell> out;
    if (!row.heading.empty()) {
      out.push_back({w_ * kHeadingLeft, w_ * (kRight - kHeadingLeft), q(row.heading)});
      return out;
    }
    const double *col = layout == PageLayout::Channels ? kChannelColumns : kSettingColumns;
    for (std::size_t i = 0; i < row.pairs.size() && i < 2; ++i) {
      const double labelEnd = col[2 * i + 1];
      // A pair alone in its row lets its value run to the right edge.
      const double valueEnd = i == 0 && row.pairs.size() == 2 ? col[2] : kRight;
      const double gap = w_ * 0.01;
      out.push_back({w_ * col[2 * i], w_ * (labelEnd - col[2 * i]) - gap, q(row.pairs[i].label)});
      out.push_back({w_ * labelEnd, w_ * (valueEnd - labelEnd) - gap, q(row.pairs[i].value)});
    }
    return out;
  }

  double rowHeight(const ReportRow &row, PageLayout layout) const {
    const QFontMetricsF m(p_.font(), p_.device());
    double height = m.lineSpacing();
    for (const Cell &c : cells(row, layout)) {
      const QRectF r = m.boundingRect(QRectF(0, 0, std::max(1.0, c.width), 1e6), Qt::TextWordWrap, c.text);
      height = std::max(height, r.height());
    }
    return height;
  }

  void drawRow(const ReportRow &row, PageLayout layout, double y, double height) {
    for (const Cell &c : cells(row, layout))
      p_.drawText(QRectF(c.left, y, std::max(1.0, c.width), height), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  c.text);
  }

 private:
  QPainter &p_;
  double w_, h_;
};

}  // namespace

bool PaintReport(const Report &report, QPagedPaintDevice &device) {
  QPainter p;
  if (!p.begin(&device)) return false;
  chooseFont(p);
  const double width = device.width(), height = device.height();
  PagePainter page(p, width, height);
  int number = 0;
  bool first = true;
  auto newPage = [&] {
    if (!first) device.newPage();
    first = false;
  };
  for (const ReportPage &r : report.pages) {
    newPage();
    double y = page.header(r);
    if (r.layout == PageLayout::Channels) {
      // Eight channels share a page: a page that would run over the footer prints smaller.
      double needed = 0;
      for (const ReportRow &row : r.rows) needed += page.rowHeight(row, r.layout);
      const double room = page.bottom() - y;
      if (needed > room && needed > 0)
        page.textFont(std::max(kSmallestPoints, kTextPoints * room / needed));
    }
    const double firstRow = y;
    for (const ReportRow &row : r.rows) {
      const double h = page.rowHeight(row, r.layout);
      if (y + h > page.bottom() && y > firstRow) {
        // Runs over: the rest goes on a further page under the same title.
        const double points = p.font().pointSizeF();
        page.footer(++number);
        newPage();
        y = page.header(r);
        page.textFont(points);
      }
      page.drawRow(row, r.layout, y, h);
      y += h;
    }
    page.textFont(kTextPoints);
    page.footer(++number);
  }
  return p.end();
}

}  // namespace n27::print
