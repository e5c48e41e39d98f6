// Fitting the report on paper: columns that make room for the widest label, text that shrinks
// in half points but never below 8 pt, pairs that go on rows of their own when even 8 pt is
// too wide, and how many channels a page takes. Measures are made up (6 units a character)
// and the expected numbers worked out by hand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/report.h"

namespace n27::print {
namespace {

// A page 600 wide and 800 high; title lines 30, text lines 12 at 10 pt. Rows go from
// 800 * 0.02 + 30 + 3 * 12 = 82 to 800 * 0.97 - 12 = 764: 682 units, 56 rows at 10 pt.
const PageMeasures kPage{600, 800, 30, 12};
double sixEach(const std::string &s) { return 6.0 * static_cast<double>(s.size()); }

ReportRow two(std::string l1, std::string v1, std::string l2, std::string v2) {
  return {{}, {{std::move(l1), std::move(v1)}, {std::move(l2), std::move(v2)}}};
}
ReportRow one(std::string l, std::string v) { return {{}, {{std::move(l), std::move(v)}}}; }

// A channel as the report prints it: its heading, ten rows of two pairs, one of one pair.
std::vector<ReportRow> channel(int number, const std::string &longestLabel = "RX Frequency") {
  std::vector<ReportRow> rows{{"Channel " + std::to_string(number), {}}};
  rows.push_back(two(longestLabel, "446.00000 MHz", "TX Frequency", "446.00000 MHz"));
  for (int i = 0; i < 9; ++i) rows.push_back(two("Call 1", "1", "Call 2", "2"));
  rows.push_back(one("Compander", "Off"));
  return rows;
}

std::string chars(int n) { return std::string(static_cast<std::size_t>(n), 'x'); }

TEST(PageFit, ColumnsKeepTheirPlaceUnlessALabelNeedsMoreRoom) {
  // Channel pages: 10/30/55/75 % of 600.
  SectionPlan plan = PlanSection(PageLayout::Channels, channel(1), kPage, sixEach);
  EXPECT_EQ(plan.points, 10);
  EXPECT_FALSE(plan.pairsApart);
  EXPECT_EQ(plan.left, (std::array<double, 4>{60, 180, 330, 450}));
  EXPECT_DOUBLE_EQ(plan.rowsTop, 82);
  EXPECT_DOUBLE_EQ(plan.rowsBottom, 764);
  EXPECT_EQ(plan.rowsPerPage, 56);

  // "Busy Channel Lock-out" (126 wide) pushes the first value to 60 + 126 + 12 = 198 (the gap
  // after a label is 2 % of the width).
  plan = PlanSection(PageLayout::Channels, channel(1, "Busy Channel Lock-out"), kPage, sixEach);
  EXPECT_EQ(plan.points, 10);
  EXPECT_EQ(plan.left, (std::array<double, 4>{60, 198, 330, 450}));

  // A label alone in its row counts for the first column too.
  plan = PlanSection(PageLayout::Settings, {one(chars(40), "x"), two("a", "b", "c", "d")}, kPage, sixEach);
  EXPECT_EQ(plan.left, (std::array<double, 4>{30, 282, 330, 450}));
}

TEST(PageFit, TextShrinksInHalfPointsButNotBelowEight) {
  // Two pairs fit when 210 + 12 + (value 1 + label 2 + value 2) * size / 10 + 12 <= 582:
  // 30 + 300 + 48 = 378 needs 9 pt (340.2 <= 348), 9.5 pt (359.1) is too wide.
  const std::vector<ReportRow> rows{two(chars(10), chars(5), chars(50), chars(8))};
  SectionPlan plan = PlanSection(PageLayout::Settings, rows, kPage, sixEach);
  EXPECT_EQ(plan.points, 9);
  EXPECT_FALSE(plan.pairsApart);
  EXPECT_NEAR(plan.left[0], 30, 1e-9);
  EXPECT_NEAR(plan.left[1], 210, 1e-9);
  EXPECT_NEAR(plan.left[2], 256.8, 1e-9);  // moved left of 330 for its 270-wide label
  EXPECT_NEAR(plan.left[3], 538.8, 1e-9);
  EXPECT_NEAR(plan.rowLine, 10.8, 1e-9);
  EXPECT_EQ(plan.rowsPerPage, 63);  // 682 / 10.8

  // Too wide at 8 pt as well (408 > 348): each pair on a row of its own at 10 pt.
  const std::vector<ReportRow> wide{two("a", "b", chars(40), chars(40)), one("c", "d")};
  plan = PlanSection(PageLayout::Settings, wide, kPage, sixEach);
  EXPECT_TRUE(plan.pairsApart);
  EXPECT_EQ(plan.points, 10);
  EXPECT_EQ(plan.left, (std::array<double, 4>{30, 282, 30, 282}));
  const std::vector<ReportRow> apart = PlannedRows(wide, plan);
  ASSERT_EQ(apart.size(), 3u);
  EXPECT_EQ(apart[1].pairs.at(0).label, chars(40));
  EXPECT_EQ(apart[2].pairs.at(0).label, "c");

  // A label longer than half the page shrinks its rows to 8 pt and no further.
  plan = PlanSection(PageLayout::Settings, {two("a", "b", chars(80), "c")}, kPage, sixEach);
  EXPECT_TRUE(plan.pairsApart);
  EXPECT_EQ(plan.points, 8);
  EXPECT_NEAR(plan.left[1], 30 + 384 + 12, 1e-9);

  // Whatever the texts, nothing is planned below 8 pt.
  for (int n : {1, 20, 45, 60, 100, 400}) {
    const SectionPlan p = PlanSection(PageLayout::Channels, {two(chars(n), chars(n), chars(n), chars(n))}, kPage,
                                      sixEach);
    EXPECT_GE(p.points, kSmallestPoints) << n;
  }
}

TEST(PageFit, ChannelsPerPageFollowsThePageAndTheTextSize) {
  std::vector<ReportRow> rows = channel(1);
  const std::vector<ReportRow> second = channel(2);
  rows.insert(rows.end(), second.begin(), second.end());
  // Twelve lines a channel, 56 rows: four channels.
  SectionPlan plan = PlanSection(PageLayout::Channels, rows, kPage, sixEach);
  EXPECT_EQ(ChannelsPerPage(plan, rows), 4);
  // On rows of their own a channel takes 1 + 20 + 1 = 22 lines: two channels.
  plan.pairsApart = true;
  EXPECT_EQ(ChannelsPerPage(plan, rows), 2);
  // At 8 pt (71 rows of 9.6) five channels of twelve lines.
  plan = PlanSection(PageLayout::Channels, {two(chars(10), chars(5), chars(50), chars(22))}, kPage, sixEach);
  ASSERT_EQ(plan.points, 8);
  EXPECT_EQ(plan.rowsPerPage, 71);
  EXPECT_EQ(ChannelsPerPage(plan, channel(1)), 5);
  // A page too small for one channel still takes one; a page four times as high, 246 rows.
  EXPECT_EQ(ChannelsPerPage(PlanSection(PageLayout::Channels, rows, {600, 100, 30, 12}, sixEach), rows), 1);
  EXPECT_EQ(ChannelsPerPage(PlanSection(PageLayout::Channels, rows, {600, 3200, 30, 12}, sixEach), rows), 20);
}

TEST(PageFit, ChannelPagesAreDividedAnewInChannelOrder) {
  Report report;
  ReportPage first{PrintItem::Channel, PageLayout::Channels, "T", "Channels", "a.dat", {}};
  ReportPage second = first;
  for (int n = 1; n <= 8; ++n) {
    auto rows = channel(n);
    first.rows.insert(first.rows.end(), rows.begin(), rows.end());
  }
  for (int n = 9; n <= 10; ++n) {
    auto rows = channel(n);
    second.rows.insert(second.rows.end(), rows.begin(), rows.end());
  }
  ReportPage function{PrintItem::FunctionSetup, PageLayout::Settings, "T", "Function Setup", "a.dat",
                      {one("TOT", "60")}};
  report.pages = {first, second, function};

  const Report out = RepaginateChannels(report, 3);
  ASSERT_EQ(out.pages.size(), 5u);
  std::vector<std::vector<std::string>> headings;
  for (const ReportPage &p : out.pages) {
    auto &h = headings.emplace_back();
    for (const ReportRow &r : p.rows)
      if (!r.heading.empty()) h.push_back(r.heading);
  }
  EXPECT_EQ(headings, (std::vector<std::vector<std::string>>{{"Channel 1", "Channel 2", "Channel 3"},
                                                             {"Channel 4", "Channel 5", "Channel 6"},
                                                             {"Channel 7", "Channel 8", "Channel 9"},
                                                             {"Channel 10"},
                                                             {}}));
  EXPECT_EQ(out.pages[3].rows.size(), 12u);  // channel 10 whole
  EXPECT_EQ(out.pages[1].caption, "Channels");
  EXPECT_EQ(out.pages[4].caption, "Function Setup");

  // The page that says there are no channels stays.
  Report none;
  none.pages = {{PrintItem::Channel, PageLayout::Channels, "T", "Channels", "", {{"No channels.", {}}}}};
  const Report still = RepaginateChannels(none, 3);
  ASSERT_EQ(still.pages.size(), 1u);
  EXPECT_EQ(still.pages[0].rows.at(0).heading, "No channels.");
}

}  // namespace
}  // namespace n27::print
