// The printed report: which pages come out in which order, and the texts on them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "print/report.h"

namespace n27::print {
namespace {

class ReportTest : public ::testing::Test {
 protected:
  Workspace ws;
  ChannelContext channels{ws};

  void TearDown() override { SetLanguageIndex(kEnglish); }

  void addChannels(std::initializer_list<int> numbers) {
    for (int n : numbers) ASSERT_EQ(AddChannel(channels, 1, n, "446.00000"), EditStatus::Ok) << n;
  }
  static PrintSelection only(PrintItem item) {
    PrintSelection s{};
    s[static_cast<int>(item)] = true;
    return s;
  }
  static PrintSelection all() {
    PrintSelection s;
    s.fill(true);
    return s;
  }
  static std::vector<std::string> headings(const ReportPage &page) {
    std::vector<std::string> out;
    for (const ReportRow &r : page.rows)
      if (!r.heading.empty()) out.push_back(r.heading);
    return out;
  }
  // The value printed beside a label on a page ("" when the label is absent).
  static const ReportPair *find(const ReportPage &page, const std::string &label, int nth = 0) {
    for (const ReportRow &r : page.rows)
      for (const ReportPair &p : r.pairs)
        if (p.label == label && nth-- == 0) return &p;
    return nullptr;
  }
};

TEST_F(ReportTest, SectionsComeInPrintingOrderWithTheirCaptions) {
  addChannels({1});
  ws.working.message1.assign("HELLO DEALER");
  ws.radioInfo.serialNumber = "SN-0042";
  ws.fileName = "/home/dealer/sites/site-a.dat";
  const Report report = BuildReport(channels, all());
  ASSERT_EQ(report.pages.size(), 7u);
  const std::vector<PrintItem> order = {PrintItem::Channel, PrintItem::FunctionSetup, PrintItem::KeySetting,
                                        PrintItem::Scan,    PrintItem::Dtmf,          PrintItem::EmbeddedMessage,
                                        PrintItem::LocalMessage};
  const std::vector<std::string> captions = {"Channel Infomation", "Function Setup",   "Key Setting", "Scan Information",
                                             "DTMF",               "Embedded Message", "Local Message"};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(report.pages[i].item, order[i]) << i;
    EXPECT_EQ(report.pages[i].caption, captions[i]) << i;
    EXPECT_EQ(report.pages[i].title, "N27 Radio Programming Information");
    EXPECT_FALSE(report.pages[i].rows.empty()) << i;
    EXPECT_EQ(report.pages[i].fileName, "site-a.dat");
  }
  ASSERT_NE(find(report.pages[5], "Message Line 1"), nullptr);
  EXPECT_EQ(find(report.pages[5], "Message Line 1")->value, "HELLO DEALER");
  ASSERT_NE(find(report.pages[6], "Serial Number"), nullptr);
  EXPECT_EQ(find(report.pages[6], "Serial Number")->value, "SN-0042");

  // Only what is ticked is printed.
  const Report keys = BuildReport(channels, only(PrintItem::KeySetting));
  ASSERT_EQ(keys.pages.size(), 1u);
  EXPECT_EQ(keys.pages[0].item, PrintItem::KeySetting);
  EXPECT_TRUE(BuildReport(channels, PrintSelection{}).pages.empty());
}

TEST_F(ReportTest, ChannelsPrintSoManyToAPageInChannelOrder) {
  addChannels({12, 3, 40, 7, 1, 9, 25, 2, 30, 5});  // stored in the order they were added
  const Report report = BuildReport(channels, only(PrintItem::Channel), 8);
  ASSERT_EQ(report.pages.size(), 2u);
  EXPECT_EQ(headings(report.pages[0]),
            (std::vector<std::string>{"Channel 1", "Channel 2", "Channel 3", "Channel 5", "Channel 7", "Channel 9",
                                      "Channel 12", "Channel 25"}));
  EXPECT_EQ(headings(report.pages[1]), (std::vector<std::string>{"Channel 30", "Channel 40"}));
  for (const ReportPage &p : report.pages) EXPECT_EQ(p.layout, PageLayout::Channels);

  // A full last page gets no empty page after it; no channels still prints the section.
  addChannels({41, 42, 43, 44, 45, 46});
  EXPECT_EQ(BuildReport(channels, only(PrintItem::Channel), 8).pages.size(), 2u);
  EXPECT_EQ(BuildReport(channels, only(PrintItem::Channel)).pages.size(), 4u);  // four to an A4 page
  addChannels({47});
  EXPECT_EQ(BuildReport(channels, only(PrintItem::Channel), 8).pages.size(), 3u);
  EXPECT_EQ(BuildReport(channels, only(PrintItem::Channel), 0).pages.size(), 17u);  // never fewer than one
  Workspace empty;
  ChannelContext none(empty);
  const Report blank = BuildReport(none, only(PrintItem::Channel));
  ASSERT_EQ(blank.pages.size(), 1u);
  EXPECT_EQ(headings(blank.pages[0]), std::vector<std::string>{"No channels."});
}

TEST_F(ReportTest, ChannelValuesAreTheDetailDialogTexts) {
  addChannels({4});
  ChannelRecord &e = *ws.working.slot(1);
  e.compander = 1;
  e.scanAdd = 0;
  ASSERT_EQ(SetChannelValue(channels, e, kFieldTx, ""), EditStatus::Ok);  // receive only
  ReportPage page = BuildReport(channels, only(PrintItem::Channel)).pages.at(0);
  ASSERT_NE(find(page, "RX Frequency"), nullptr);
  EXPECT_EQ(find(page, "RX Frequency")->value, "446.00000 MHz");
  EXPECT_EQ(find(page, "TX Frequency")->value, "");  // no " MHz" after nothing
  EXPECT_EQ(find(page, "CTCSS/DCS Encode")->value, "");
  EXPECT_EQ(find(page, "Compander")->value, "On");
  EXPECT_EQ(find(page, "Scan Add")->value, "Off");
  EXPECT_EQ(find(page, "TX<->RX")->value, "Off");
  EXPECT_EQ(find(page, "Define Scramble[Hz]")->value, "3400");

  ASSERT_EQ(SetChannelValue(channels, e, kFieldTx, "456.12500"), EditStatus::Ok);
  page = BuildReport(channels, only(PrintItem::Channel)).pages.at(0);
  EXPECT_EQ(find(page, "TX Frequency")->value, "456.12500 MHz");
}

TEST_F(ReportTest, FunctionSetupPrintsItsRowsInTheirFixedPairs) {
  const ReportPage page = BuildReport(channels, only(PrintItem::FunctionSetup)).pages.at(0);
  std::vector<std::vector<std::string>> labels;
  for (const ReportRow &r : page.rows) {
    auto &row = labels.emplace_back();
    for (const ReportPair &p : r.pairs) row.push_back(p.label);
  }
  const std::vector<std::vector<std::string>> expected = {
      {"Time Out Timer(TOT)[s]", "TOT Warnig Time[s]"},
      {"Squelch Level", "Voice Prompt"},
      {"Call Response"},
      {"Mic Noise Reduction", "Battery Save"},
      {"Alert Locked", "Freqency Band Extension"},
      {"Reset Allowed"},
      {"Tail Elimination Type", "Eliminate Squelch Tail When No CTCSS/DCS Signaling"},
      {"VOX Function"},
      {"VOX Level", "VOX Delay Time[s]"},
      {"Cancel Operation", "VOX Proceed Tone"},
  };
  EXPECT_EQ(labels, expected);
  // Check boxes print the language's On/Off.
  ws.working.function.voxFunction = 1;
  ws.working.function.cancelOperation = 0;
  const ReportPage again = BuildReport(channels, only(PrintItem::FunctionSetup)).pages.at(0);
  EXPECT_EQ(find(again, "VOX Function")->value, "On");
  EXPECT_EQ(find(again, "Cancel Operation")->value, "Off");
}

TEST_F(ReportTest, TheReportUsesTheCurrentLanguage) {
  addChannels({1});
  ws.working.function.voxFunction = 1;
  SetLanguageIndex(kChinese);
  const Report report = BuildReport(channels, all());
  EXPECT_EQ(report.pages.at(0).title, "N27 对讲机编程信息");
  EXPECT_EQ(report.pages.at(0).caption, "信道信息");
  EXPECT_EQ(headings(report.pages.at(0)), std::vector<std::string>{"信道 1"});
  ASSERT_NE(find(report.pages.at(1), "声控功能"), nullptr);
  EXPECT_EQ(find(report.pages.at(1), "声控功能")->value, "开");
  EXPECT_EQ(report.pages.at(6).caption, "本机信息");
}

TEST_F(ReportTest, LongTextsTakeARowOfTheirOwn) {
  ws.radioInfo.maintenanceReason = std::string(90, 'x');
  for (PrintItem item : {PrintItem::EmbeddedMessage, PrintItem::LocalMessage, PrintItem::Dtmf, PrintItem::Scan}) {
    const ReportPage page = BuildReport(channels, only(item)).pages.at(0);
    for (const ReportRow &r : page.rows) {
      ASSERT_LE(r.pairs.size(), 2u);
      for (const ReportPair &p : r.pairs) {
        if (p.value.size() > 16 || p.label.rfind("Message Line", 0) == 0 || p.label == "Maintained") {
          EXPECT_EQ(r.pairs.size(), 1u) << p.label;
        }
      }
    }
  }
}

}  // namespace
}  // namespace n27::print
