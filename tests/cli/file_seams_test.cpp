// Where the command line meets files: an output never replaces an input, a name without
// ".dat", the radio information of a new configuration, a file size limit, a UTF-8 password.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/wait.h>

#include "base/file_io.h"
#include "common/cli_run.h"
#include "common/test_folder.h"

namespace {

namespace fs = std::filesystem;

class FileSeams : public TestFolderFixture {
 protected:
  // n27-cli run from the test's folder through the shell, after `prefix` (a ulimit, say).
  CliRun run(const std::string &args, const std::string &prefix = "") const {
    const std::string cmd = "cd '" + dir.string() + "' && " + prefix + std::string(N27_PROGRAM_DIR) +
                            "/n27-cli " + args + " 2>&1";
    CliRun r{-1, {}};
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
  }
  // Every entry of the folder with its content ("->" and the target for a link).
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> out;
    for (const auto &e : fs::directory_iterator(dir)) {
      const std::string name = e.path().filename().string();
      out[name] = e.is_symlink() ? "->" + fs::read_symlink(e.path()).string()
                                 : n27::ReadWholeFile(e.path().string()).value_or("?");
    }
    return out;
  }
};

TEST_F(FileSeams, AnOutputNeverReplacesAnInputOrAnotherOutput) {
  ASSERT_EQ(run("new --band 0 -o e.dat").status, 0);
  ASSERT_EQ(run("encode e.dat -o i.img").status, 0);
  std::ofstream(path("l.csv")) << "Location,Frequency\n1,446.00625\n";
  fs::create_symlink("e.NVD", dir / "side.csv");
  const auto before = snapshot();
  for (const char *args : {"export e.dat -o e.dat", "export e.dat -o ./e.NVD", "export e.dat -o side.csv",
                           "encode e.dat -o e.dat", "decode i.img -o i.img", "import e.dat l.csv -o l.csv",
                           "read --port none -o s.dat --image-out ./s.dat"}) {
    CliRun r = run(args);
    EXPECT_EQ(r.status, 1) << args << "\n" << r.out;
    EXPECT_NE(r.out.find("would replace the"), std::string::npos) << args << "\n" << r.out;
  }
  EXPECT_EQ(snapshot(), before);
  // A data file saved in place, an image encoded onto itself: what these commands are for.
  EXPECT_EQ(run("edit e.dat 1 1 446.1").status, 0);
  EXPECT_EQ(run("encode e.dat --base i.img -o i.img").status, 0);
}

TEST_F(FileSeams, ANameWithoutDatGetsItAndTheReportShowsTheRadioInformation) {
  fs::create_directory(dir / "folder");
  CliRun r = run("new --band 0 -o folder/ab");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(fs::file_size(dir / "folder/ab.dat"), 9759u);
  EXPECT_EQ(fs::file_size(dir / "folder/ab.NVD"), 6u);
  EXPECT_FALSE(fs::exists(dir / "folderNVD"));

  // A data file holds no radio information: the report shows a new configuration's, as the
  // desktop's printout does.
  r = run("report folder/ab.dat --items local");
  ASSERT_EQ(r.status, 0) << r.out;
  std::time_t now = std::time(nullptr);
  char today[16];
  std::strftime(today, sizeof today, "%Y%m%d", std::localtime(&now));
  EXPECT_NE(r.out.find(std::string("Serial Number: ") + today), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("User Code: 001A"), std::string::npos) << r.out;
}

TEST_F(FileSeams, AFileSizeLimitEndsASaveWithItsReasonAndNothingHalfMade) {
  ASSERT_EQ(run("new --band 0 -o f.dat").status, 0);
  const auto before = snapshot();
  CliRun r = run("set f.dat function.squelch 2", "ulimit -f 4; ");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("over the file size limit"), std::string::npos) << r.out;
  EXPECT_EQ(snapshot(), before);
}

TEST_F(FileSeams, APasswordArgumentIsUtf8) {
  // "ééé": three characters, three bytes for the radio (six bytes of UTF-8).
  CliRun r = run("read --port ./none -o x.dat --password '\xC3\xA9\xC3\xA9\xC3\xA9'");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_EQ(r.out.find("at most 4 characters"), std::string::npos) << r.out;
  r = run("read --port ./none -o x.dat --password '\xC4\x81'");  // ā is no single byte
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find("U+0101"), std::string::npos) << r.out;
}

}  // namespace
