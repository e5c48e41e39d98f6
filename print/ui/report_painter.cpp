#include "print/ui/report_painter.h"
#include "base/qt/qt_text.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace n27::print {

namespace {

constexpr double kHeadingLeft = 0.05;
constexpr double kMaxLineSpacing = 1.3;  // times the font size


// Chinese pages print in a font that holds both the Chinese and the Latin characters, so the
// mixed texts of a row keep one line height and baseline.
QFont baseFont(const QFont &deviceFont) {
  QFont f = deviceFont;
  if (LanguageIndex() != kChinese) return f;
  const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QString chosen;
  for (const QString &family : families)
    if (family.contains("Sans", Qt::CaseInsensitive) && !family.contains("Mono", Qt::CaseInsensitive)) {
      chosen = family;
      break;
    }
  if (chosen.isEmpty() && !families.isEmpty()) chosen = families.front();
  if (!chosen.isEmpty()) f.setFamily(chosen);
  return f;
}

QFont sized(QFont f, double points, bool bold = false) {
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

class PagePainter {
 public:
  PagePainter(QPainter &p, const QFont &base) : p_(p), base_(base) {
    w_ = p.device()->width();
    h_ = p.device()->height();
  }

  // The line spacing of a font size: the font's own, but no more than 1.3 times the size (the
  // Chinese fonts ask for nearly 1.5, which spreads a channel over half a page).
  double lineSpacing(double points, bool bold = false) const {
    const double own = QFontMetricsF(sized(base_, points, bold), p_.device()).lineSpacing();
    return std::min(own, points * kMaxLineSpacing * p_.device()->logicalDpiY() / 72.0);
  }

  PageMeasures measures() const {
    PageMeasures m;
    m.width = w_;
    m.height = h_;
    m.titleLine = lineSpacing(kTitlePoints, true);
    m.textLine = lineSpacing(kTextPoints);
    return m;
  }

  TextWidth textWidth() const {
    auto metrics = std::make_shared<QFontMetricsF>(sized(base_, kTextPoints), p_.device());
    return [metrics](const std::string &text) { return metrics->horizontalAdvance(qs(text)); };
  }

  // Title and caption at their own sizes.
  void header(const ReportPage &page) {
    QFont title = sized(base_, kTitlePoints, true);
    // A title wider than the page (a narrow paper) is set smaller to stay whole.
    const double titleWidth = QFontMetricsF(title, p_.device()).horizontalAdvance(qs(page.title));
    if (titleWidth > w_ * 0.96)
      title.setPointSizeF(std::max(kSmallestPoints, kTitlePoints * w_ * 0.96 / titleWidth));
    p_.setFont(title);
    const QFontMetricsF tm(title, p_.device());
    double y = h_ * kTitleTop;
    p_.drawText(QRectF(0, y, w_, tm.height()), Qt::AlignHCenter | Qt::AlignTop, qs(page.title));
    y += lineSpacing(kTitlePoints, true);
    p_.setFont(sized(base_, kTextPoints));
    const QFontMetricsF m(p_.font(), p_.device());
    const QRectF line(w_ * kHeadingLeft, y, w_ * (kRightEdge - kHeadingLeft), m.height());
    p_.drawText(line, Qt::AlignLeft | Qt::AlignTop, qs(page.caption));
    if (!page.fileName.empty())
      p_.drawText(line, Qt::AlignRight | Qt::AlignTop, QString::fromUtf8(kFileName.get()) + ": " + qs(page.fileName));
  }

  void footer(int number) {
    p_.setFont(sized(base_, kTextPoints));
    const QFontMetricsF m(p_.font(), p_.device());
    p_.drawText(QRectF(0, h_ * (1 - kFooterLift) - m.height(), w_, m.height()), Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral(" -%1- ").arg(number));
  }

  // The cells of a row: left edge, width, text, whether it may wrap (values only).
  struct Cell {
    double left, width;
    QString text;
    bool wraps;
  };
  std::vector<Cell> cells(const ReportRow &row, const SectionPlan &plan) const {
    std::vector<Cell> out;
    const double right = w_ * kRightEdge, gap = w_ * kColumnGap;
    if (!row.heading.empty()) {
      out.push_back({w_ * kHeadingLeft, right - w_ * kHeadingLeft, qs(row.heading), true});
      return out;
    }
    for (std::size_t i = 0; i < row.pairs.size() && i < 2; ++i) {
      const double label = plan.left[2 * i], value = plan.left[2 * i + 1];
      // A pair alone in its row lets its value run to the right edge.
      const double valueEnd = i == 0 && row.pairs.size() == 2 ? plan.left[2] - gap : right;
      // A label is never wrapped: its cell reaches to the value's column.
      out.push_back({label, std::max(1.0, value - label), qs(row.pairs[i].label), false});
      out.push_back({value, std::max(1.0, valueEnd - value), qs(row.pairs[i].value), true});
    }
    return out;
  }

  // The lines of a value that wraps in its cell (at word boundaries, else anywhere), spaced
  // at the row spacing.
  std::unique_ptr<QTextLayout> wrapped(const Cell &c, double rowLine) const {
    auto layout = std::make_unique<QTextLayout>(c.text, p_.font(), p_.device());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    for (double y = 0;; y += rowLine) {
      QTextLine line = layout->createLine();
      if (!line.isValid()) break;
      line.setLineWidth(c.width);
      line.setPosition(QPointF(0, y));
    }
    layout->endLayout();
    return layout;
  }

  bool fits(const Cell &c) const { return QFontMetricsF(p_.font(), p_.device()).horizontalAdvance(c.text) <= c.width; }

  double rowHeight(const ReportRow &row, const SectionPlan &plan) const {
    int lines = 1;
    for (const Cell &c : cells(row, plan))
      if (c.wraps && !fits(c)) lines = std::max(lines, wrapped(c, plan.rowLine)->lineCount());
    return lines * plan.rowLine;
  }

  void drawRow(const ReportRow &row, const SectionPlan &plan, double y) {
    const QFont font = p_.font();
    if (!row.heading.empty()) p_.setFont(sized(font, font.pointSizeF(), true));  // a channel's name line
    const QFontMetricsF m(p_.font(), p_.device());
    // The glyphs sit in the middle of the row's line.
    const double top = y + (plan.rowLine - m.ascent() - m.descent()) / 2;
    for (const Cell &c : cells(row, plan)) {
      if (c.wraps && !fits(c)) wrapped(c, plan.rowLine)->draw(&p_, QPointF(c.left, top));
      else p_.drawText(QPointF(c.left, top + m.ascent()), c.text);
    }
    p_.setFont(font);
  }

  QPainter &painter() { return p_; }
  const QFont &base() const { return base_; }

 private:
  QPainter &p_;
  QFont base_;
  double w_ = 0, h_ = 0;
};

}  // namespace

int PaintReportOn(const Report &report, QPaintDevice &device, const std::function<void()> &newPage) {
  QPainter p;
  if (!p.begin(&device)) return 0;
  PagePainter page(p, baseFont(p.font()));
  const PageMeasures measures = page.measures();
  const TextWidth width = page.textWidth();

  // The channel pages share one plan, made from all their rows, and are divided anew so that
  // every channel page fits at that size.
  std::vector<ReportRow> channelRows;
  for (const ReportPage &r : report.pages)
    if (r.layout == PageLayout::Channels) channelRows.insert(channelRows.end(), r.rows.begin(), r.rows.end());
  const SectionPlan channelPlan = PlanSection(PageLayout::Channels, channelRows, measures, width);
  const Report pages = RepaginateChannels(report, ChannelsPerPage(channelPlan, channelRows));

  int number = 0;
  auto startPage = [&] {
    if (number > 0) newPage();
    ++number;
  };
  for (const ReportPage &r : pages.pages) {
    const SectionPlan plan =
        r.layout == PageLayout::Channels ? channelPlan : PlanSection(r.layout, r.rows, measures, width);
    startPage();
    page.header(r);
    p.setFont(sized(page.base(), plan.points));
    double y = plan.rowsTop;
    for (const ReportRow &row : PlannedRows(r.rows, plan)) {
      const double h = page.rowHeight(row, plan);
      if (y + h > plan.rowsBottom && y > plan.rowsTop) {
        // Runs over (values that wrap): the rest goes on a further page under the same title.
        page.footer(number);
        startPage();
        page.header(r);
        p.setFont(sized(page.base(), plan.points));
        y = plan.rowsTop;
      }
      page.drawRow(row, plan, y);
      y += h;
    }
    page.footer(number);
  }
  return p.end() ? number : 0;
}

bool PaintReport(const Report &report, QPagedPaintDevice &device) {
  return PaintReportOn(report, device, [&device] { device.newPage(); }) > 0;
}

}  // namespace n27::print
