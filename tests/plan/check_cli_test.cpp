// n27-cli check as a user runs it: the findings, the exit codes and the JSON keys.

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "common/cli_run.h"
#include "common/test_folder.h"
#include "plan_test_support.h"

namespace n27::plan::test {
namespace {

class CheckCli : public TestFolderFixture {
 protected:
  void SetUp() override {
    TestFolderFixture::SetUp();
    PlanFixture p;
    ASSERT_EQ(SaveDataFile(p.ws, path("clean.dat")), FileStatus::Ok);
    p.channel(3, "446.10000", "446.10000", 0, 0);  // not licensed
    p.channel(4, "446.10000", "446.10000", 0, 0);  // the same again
    ASSERT_EQ(SaveDataFile(p.ws, path("bad.dat")), FileStatus::Ok);
    ASSERT_TRUE(WriteFileAtomically(path("lic.csv"), kLicenceCsv));
  }
  std::string q(const std::string &name) const { return "'" + path(name) + "'"; }
};

TEST_F(CheckCli, ExitCodesFollowTheErrors) {
  CliRun r = Cli("check " + q("clean.dat") + " --licence " + q("lic.csv"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "No findings.\n");

  r = Cli("check " + q("bad.dat") + " --licence " + q("lic.csv"));
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("Error tx-not-licensed: Channel 3 transmits on 446.10000 MHz"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Warning duplicate-channel: Channel 4 is the same as channel 3"), std::string::npos) << r.out;

  // Without a licence only the plan rules run: a duplicate is a warning, exit 0.
  r = Cli("check " + q("bad.dat"));
  EXPECT_EQ(r.status, 0) << r.out;

  // The licence attached beside the data file is found as the desktop finds it.
  ASSERT_TRUE(WriteFileAtomically(path("bad.licence.csv"), kLicenceCsv));
  EXPECT_EQ(Cli("check " + q("bad.dat")).status, 1);
}

TEST_F(CheckCli, WrongUseAndUnreadableFilesAreTwo) {
  EXPECT_EQ(Cli("check").status, 2);
  EXPECT_EQ(Cli("check " + q("clean.dat") + " --format xml").status, 2);
  EXPECT_EQ(Cli("check " + q("missing.dat")).status, 2);
  EXPECT_EQ(Cli("check " + q("clean.dat") + " --licence " + q("missing.csv")).status, 2);
  ASSERT_TRUE(WriteFileAtomically(path("notes.csv"), "Name,Phone\nBob,1\n"));
  CliRun r = Cli("check " + q("clean.dat") + " --licence " + q("notes.csv"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("no Frequency column"), std::string::npos) << r.out;
  // An attached licence that cannot be read is never taken as no licence.
  std::filesystem::create_directory(path("clean.licence.csv"));
  EXPECT_EQ(Cli("check " + q("clean.dat")).status, 2);
}

TEST_F(CheckCli, JsonArrayOfFindings) {
  CliRun r = Cli("check " + q("bad.dat") + " --licence " + q("lic.csv") + " --format json");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.substr(0, 2), "[\n");
  EXPECT_NE(r.out.find("{\"severity\": \"error\", \"rule\": \"tx-not-licensed\", \"channel\": 3, \"message\": "
                       "\"Channel 3 transmits on 446.10000 MHz, which the licence does not hold.\"}"),
            std::string::npos)
      << r.out;
  ASSERT_TRUE(WriteFileAtomically(path("lic2.csv"), std::string(kLicenceCsv) + "x,1,1\n"));
  r = Cli("check " + q("clean.dat") + " --licence " + q("lic2.csv") + " --format json");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"rule\": \"licence-bad-line\", \"channel\": null"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace n27::plan::test
