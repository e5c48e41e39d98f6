// What the file commands refuse, and how they say why.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "common/cli_run.h"
#include "common/test_folder.h"

namespace {

namespace fs = std::filesystem;

using FileRefusals = TestFolderFixture;

std::string Image(const char *model, char band) {
  std::string image(2560, '\0');
  image.replace(417, 5, model, 5);
  image[422] = band;
  return image;
}

TEST_F(FileRefusals, DecodeRefusesAnotherModelAndAnUnknownBand) {
  std::ofstream(path("other.img"), std::ios::binary) << Image("X99ZZ", 0);
  CliRun r = Cli("decode " + path("other.img") + " -o " + path("other.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("Model Error!"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(path("other.dat")));

  std::ofstream(path("band.img"), std::ios::binary) << Image("N27PR", 5);
  r = Cli("decode " + path("band.img") + " -o " + path("band.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("band code 5"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("422"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(path("band.dat")));

  std::ofstream(path("good.img"), std::ios::binary) << Image("N27PR", 1);
  r = Cli("decode " + path("good.img") + " -o " + path("good.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
}

TEST_F(FileRefusals, APipeOrADeviceIsRefusedAtOnce) {
  ASSERT_EQ(::mkfifo(path("pipe.img").c_str(), 0600), 0);
  CliRun r = Cli("decode " + path("pipe.img") + " -o " + path("x.dat"));  // must not wait
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("not a regular file"), std::string::npos) << r.out;
  r = Cli("decode /dev/zero -o " + path("x.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(fs::exists(path("x.dat")));
}

TEST_F(FileRefusals, FileErrorIsFollowedByItsReason) {
  CliRun r = Cli("show " + path("missing.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("file error.\n  no such file"), std::string::npos) << r.out;
  std::ofstream(path("short.dat")) << "short";
  r = Cli("show " + path("short.dat"));
  EXPECT_NE(r.out.find("file error.\n  wrong size 5 of 9759"), std::string::npos) << r.out;

  ASSERT_EQ(Cli("new --band 0 --empty -o " + path("a.dat")).status, 0);
  r = Cli("new --band 0 --empty -o " + path("a.NVD"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("file error.\n  a data file name must not end in \"NVD\""), std::string::npos)
      << r.out;
  EXPECT_EQ(fs::file_size(path("a.NVD")), 6u);  // still the side file of a.dat

  ASSERT_EQ(::chmod(path("a.dat").c_str(), 0444), 0);
  r = Cli("new --band 0 --empty -o " + path("a.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("file error.\n  read-only"), std::string::npos) << r.out;
}

}  // namespace
