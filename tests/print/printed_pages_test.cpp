// The report as it lands on paper: every text at 8 pt or more, every label on one line, the
// channel pages divided so that each fits, in both languages. The pages are drawn on a paint
// device that records each piece of text with its font and place.

#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QPaintDevice>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextItem>

#include <map>
#include <set>

#include "channels/channel_ops.h"
#include "print/report.h"
#include "print/ui/report_painter.h"

namespace n27::print {
namespace {

struct DrawnText {
  QString text;
  double points;
  QPointF at;
  int page;
};

class RecordingEngine : public QPaintEngine {
 public:
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice *) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState &) override {}
  void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
  void drawTextItem(const QPointF &p, const QTextItem &item) override {
    texts.push_back({item.text(), item.font().pointSizeF(), p, page});
  }
  Type type() const override { return QPaintEngine::User; }
  std::vector<DrawnText> texts;
  int page = 1;
};

// An A4 page at 600 dots per inch with 10 mm margins, as a printer would give it.
class A4Recorder : public QPaintDevice {
 public:
  static constexpr int kDpi = 600;
  static constexpr int kWidth = 4488;   // (210 - 20) mm
  static constexpr int kHeight = 6780;  // (297 - 20) mm
  QPaintEngine *paintEngine() const override { return &engine; }
  mutable RecordingEngine engine;

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return kWidth;
      case PdmHeight: return kHeight;
      case PdmWidthMM: return 190;
      case PdmHeightMM: return 277;
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return kDpi;
      case PdmNumColors: return 0x7fffffff;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }
};

class PrintedPagesTest : public ::testing::Test {
 protected:
  Workspace ws;
  ChannelContext channels{ws};
  void TearDown() override { SetLanguageIndex(kEnglish); }

  void fill(int count) {
    for (int n = 1; n <= count; ++n)
      ASSERT_EQ(AddChannel(channels, 1, n, "446.00000"), EditStatus::Ok) << n;
  }
  static PrintSelection all() {
    PrintSelection s;
    s.fill(true);
    return s;
  }
  // The texts of each line (one baseline of one page), left to right, joined.
  static std::vector<QString> lines(const std::vector<DrawnText> &texts) {
    std::map<std::pair<int, int>, std::map<double, QString>> byLine;
    for (const DrawnText &t : texts) byLine[{t.page, qRound(t.at.y())}][t.at.x()] += t.text;
    std::vector<QString> out;
    for (const auto &[key, pieces] : byLine) {
      QString line;
      for (const auto &[x, text] : pieces) line += text;
      out.push_back(line);
    }
    return out;
  }
};

TEST_F(PrintedPagesTest, NoTextBelowEightPointsAndNoLabelWrapsInEitherLanguage) {
  fill(30);
  ws.working.message1.assign("HELLO DEALER");
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    const Report report = BuildReport(channels, all());
    A4Recorder device;
    int pages = 1;
    const int drawn = PaintReportOn(report, device, [&] { device.engine.page = ++pages; });
    ASSERT_GT(drawn, 0);
    EXPECT_EQ(drawn, pages);
    const std::vector<DrawnText> &texts = device.engine.texts;
    ASSERT_FALSE(texts.empty());
    for (const DrawnText &t : texts) {
      EXPECT_GE(t.points, kSmallestPoints) << language << " " << t.text.toStdString();
      EXPECT_GE(t.at.y(), 0);
      EXPECT_LE(t.at.y(), A4Recorder::kHeight);
    }

    // Each label is drawn whole on one line.
    const std::vector<QString> printed = lines(texts);
    std::set<std::string> labels;
    for (const ReportPage &page : report.pages)
      for (const ReportRow &row : page.rows)
        for (const ReportPair &pair : row.pairs) labels.insert(pair.label);
    for (const std::string &label : labels) {
      const QString l = QString::fromStdString(label).remove(' ');
      bool whole = false;
      for (const QString &line : printed) whole |= QString(line).remove(' ').contains(l);
      EXPECT_TRUE(whole) << language << ": \"" << label << "\" is not on one line";
    }

    // Thirty channels take as many pages as the page holds channels, then one page a section.
    std::map<int, int> channelsOnPage;
    for (const DrawnText &t : texts)
      if (t.text.startsWith(language == kEnglish ? "Channel " : "信道 ") && t.text.size() <= 11 &&
          !t.text.contains("Info") && !t.text.contains("信息"))
        ++channelsOnPage[t.page];
    int channelPages = 0, channelsPrinted = 0, most = 0;
    for (const auto &[page, count] : channelsOnPage) {
      ++channelPages;
      channelsPrinted += count;
      most = std::max(most, count);
    }
    EXPECT_EQ(channelsPrinted, 30) << language;
    EXPECT_GE(most, 3) << language;  // an A4 page holds at least three channels at 10 pt
    EXPECT_EQ(drawn, channelPages + 6) << language;
    std::printf("[ figures  ] %s A4: %d channels a page, 30 channels on %d pages, %d pages in all\n",
                language == kEnglish ? "English" : "Chinese", most, channelPages, drawn);
  }
}

// The report as PDF files in both languages (A4), for looking at the pages: written when
// N27_SHOT_DIR names a folder.
TEST_F(PrintedPagesTest, PdfPagesForTheEye) {
  const QString folder = qEnvironmentVariable("N27_SHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "N27_SHOT_DIR not set";
  fill(12);
  ws.working.message1.assign("HELLO DEALER");
  ws.radioInfo.maintenanceReason = "Replaced the antenna connector and the battery contacts; retuned the "
                                   "transmitter power on both bands after the repair of the final stage";
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    QPdfWriter pdf(folder + (language == kEnglish ? "/report-en.pdf" : "/report-zh.pdf"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    EXPECT_TRUE(PaintReport(BuildReport(channels, all()), pdf));
  }
}

}  // namespace
}  // namespace n27::print
