// The licence file: its columns, the rows it skips and why, matching within 5 Hz, and the
// licence kept beside a data file.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/file_io.h"
#include "common/test_folder.h"
#include "plan_test_support.h"
#include "plan/transmissions.h"
#include "print/licence_report.h"

namespace n27::plan::test {
namespace {

TEST(Licence, ReadsColumnsInAnyOrderAndSkipsBadRowsWithLineAndReason) {
  const LicenceParse p = ParseLicence(
      "\xEF\xBB\xBF"
      "reference,POWER,Frequency,bandwidth,Expires\n"
      "\"A,1\",0.5,462.5625,12.5,2027-02-28\n"
      "B,2,462.56250x,12.5,\n"     // line 3: frequency
      "C,0,462.6,12.5,\n"          // line 4: power 0
      "D,2,462.7,wide,\n"          // line 5: bandwidth
      "E,2,462.8,12.5,2027-02-29\n"  // line 6: no such day
      "F,,462.9,12.5,\n");         // line 7: a transmit line needs its power
  ASSERT_TRUE(p.licence) << p.error;
  ASSERT_EQ(p.licence->lines.size(), 1u);
  const LicenceLine &l = p.licence->lines[0];
  EXPECT_EQ(l.line, 2);
  EXPECT_EQ(l.frequencyHz, 462'562'500);
  EXPECT_EQ(l.bandwidthHz, 12'500);
  EXPECT_EQ(l.powerWatts, 0.5);
  EXPECT_EQ(l.reference, "A,1");
  EXPECT_EQ(l.expires->text(), "2027-02-28");
  std::vector<int> lines;
  for (const SkippedLine &s : p.licence->skipped) lines.push_back(s.line);
  EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 7}));
  EXPECT_EQ(p.licence->skipped[0].reason, "Frequency \"462.56250x\" is not a frequency in MHz");
  EXPECT_EQ(p.licence->skipped[3].reason, "Expires \"2027-02-29\" is no date of the form YYYY-MM-DD");
  // Only bad rows: still a licence, holding nothing — never no licence.
  const LicenceParse bad = ParseLicence("Frequency,Bandwidth,Power\nx,y,z\n");
  ASSERT_TRUE(bad.licence);
  EXPECT_TRUE(bad.licence->lines.empty());
  EXPECT_EQ(bad.licence->skipped.size(), 1u);
}

TEST(Licence, TextWithoutTheRequiredColumnsIsNoLicence) {
  EXPECT_EQ(ParseLicence("").error, "The file holds no header line: this is no licence.");
  EXPECT_EQ(ParseLicence("Frequency,Bandwidth\n446,12.5\n").error,
            "The header line has no Power column: this is no licence.");
  EXPECT_FALSE(ParseLicence("Location,Name,Frequency,Duplex\n1,A,446,\n").licence);
}

TEST(Licence, MatchesWithinFiveHertz) {
  const Licence l = *ParseLicence("Frequency,Bandwidth,Power\n446.006255,12.5,2\n446.10,12.5,2\n446.10,25,5\n").licence;
  EXPECT_EQ(l.matching(446'006'250).size(), 1u);   // 5 Hz below the line
  EXPECT_EQ(l.matching(446'006'260).size(), 1u);   // 5 Hz above
  EXPECT_TRUE(l.matching(446'006'249).empty());    // 6 Hz
  EXPECT_EQ(l.matching(446'100'000).size(), 2u);   // both lines of the frequency, in file order
  EXPECT_EQ(l.matching(446'100'000)[0]->line, 3);
  // The line that allows the channel wins over one that does not.
  Transmission t{1, TransmitKind::Tx, 446'100'000, 25'000, 2, 5.0};
  EXPECT_EQ(BestLine(l, t, kToday).line->line, 4);
  EXPECT_EQ(BestLine(l, t, kToday).problems(), 0);
}

TEST(Licence, DatesAndFigures) {
  EXPECT_TRUE(ParseDate("2028-02-29"));
  EXPECT_FALSE(ParseDate("2100-02-29"));
  EXPECT_FALSE(ParseDate("2027-13-01"));
  EXPECT_FALSE(ParseDate("27-01-01"));
  EXPECT_EQ((Date{2027, 3, 1}.dayNumber() - Date{2027, 2, 28}.dayNumber()), 1);
  EXPECT_EQ(MhzText(462'562'500), "462.56250");
  EXPECT_EQ(MhzText(462'562'505), "462.562505");
  EXPECT_EQ(KhzText(12'500), "12.5");
  EXPECT_EQ(KhzText(25'000), "25");
}

class AttachedLicenceFile : public TestFolderFixture {};

TEST_F(AttachedLicenceFile, KeptBesideTheDataFileCarriedBySaveAsAndFoundOnOpen) {
  Workspace ws;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ChannelContext ctx(ws);
  AddChannel(ctx, 1, 1, "446.00625");
  ws.licenceText = kLicenceCsv;
  ASSERT_EQ(SaveDataFile(ws, path("site.dat")), FileStatus::Ok);
  EXPECT_EQ(ReadWholeFile(path("site.licence.csv")).value_or(""), kLicenceCsv);
  ASSERT_EQ(SaveDataFile(ws, path("copy.DAT")), FileStatus::Ok);  // Save As
  EXPECT_EQ(ReadWholeFile(path("copy.licence.csv")).value_or(""), kLicenceCsv);

  Workspace opened;
  ASSERT_EQ(LoadDataFile(opened, path("copy.DAT")), FileStatus::Ok);
  EXPECT_EQ(opened.licenceText, kLicenceCsv);
  EXPECT_TRUE(WorkspaceLicence(opened).licence);
  EXPECT_TRUE(FindAttachedLicence(path("site.dat")).licence);
  EXPECT_FALSE(FindAttachedLicence(path("other.dat")).attached);
  NewConfiguration(opened);
  EXPECT_FALSE(WorkspaceLicence(opened).attached);
}

TEST_F(AttachedLicenceFile, OneThatCannotBeReadIsAProblemNotNoLicence) {
  Workspace ws;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ASSERT_EQ(SaveDataFile(ws, path("site.dat")), FileStatus::Ok);
  ASSERT_EQ(::mkfifo(path("site.licence.csv").c_str(), 0600), 0);  // a pipe: never waited on
  ASSERT_EQ(LoadDataFile(ws, path("site.dat")), FileStatus::Ok);
  EXPECT_EQ(ws.licenceProblem, "not a regular file");
  EXPECT_TRUE(RulesGate(WorkspaceLicence(ws)).check(ws.working).blocked);
  // Saving does not replace the licence it could not read.
  ASSERT_EQ(SaveDataFile(ws, path("site.dat")), FileStatus::Ok);
  struct stat st{};
  ASSERT_EQ(::stat(path("site.licence.csv").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(FindAttachedLicence(path("site.dat")).problem, "not a regular file");
}

TEST(LicenceReport, EveryTransmittingChannelBesideItsLineAndTheFindings) {
  PlanFixture p;
  p.channel(3, "446.10000", "446.10000", 0, 0);
  const AttachedLicence attached = LicenceFromText("/x/site.licence.csv", kLicenceCsv, "");
  const auto pages = print::LicenceCheckPages(p.ctx, attached, kToday);
  ASSERT_EQ(pages.size(), 1u);
  const std::string text = print::ReportText({pages});
  EXPECT_NE(text.find("Licence: site.licence.csv | Checked on: 2030-06-01"), std::string::npos) << text;
  EXPECT_NE(text.find("Licensee: Harbour Taxis | Reference: LIC-1; LIC-2"), std::string::npos) << text;
  EXPECT_NE(text.find("Channel 1: 446.00625 MHz, 12.5K(Narrow), Low 1 W | Line 2: 446.00625 MHz, 12.5 kHz, 2 W, "
                      "until 2099-12-31"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Channel 3: 446.10000 MHz, 12.5K(Narrow), Low 1 W | Licence: No licence line holds this "
                      "frequency"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Error: Channel 3 transmits on 446.10000 MHz, which the licence does not hold."),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace n27::plan::test
