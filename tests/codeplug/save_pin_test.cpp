// A save replaces the data file and its side file by new files: a reader that still holds the
// old file sees the old bytes whole, never a half-written mix.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "codeplug/configuration.h"
#include "common/test_folder.h"

namespace n27 {
namespace {

using SavePin = TestFolderFixture;

std::string readFd(int fd) {
  std::string out;
  char buf[4096];
  lseek(fd, 0, SEEK_SET);
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  return out;
}

TEST_F(SavePin, SavingWritesBesideAndRenames) {
  Workspace ws;
  NewConfiguration(ws);
  const std::string dat = path("radio.dat");
  ASSERT_EQ(SaveDataFile(ws, dat), FileStatus::Ok);
  const std::string nvd = path("radio.NVD");
  std::ifstream side(nvd);
  ASSERT_TRUE(side.good()) << "the side file is beside the data file";

  const int oldDat = open(dat.c_str(), O_RDONLY);
  const int oldNvd = open(nvd.c_str(), O_RDONLY);
  ASSERT_GE(oldDat, 0);
  ASSERT_GE(oldNvd, 0);
  const std::string before = readFd(oldDat), beforeNvd = readFd(oldNvd);
  ASSERT_EQ(before.size(), 9759u);

  ws.working.message1.assign("CHANGED");
  ws.working.standAlone.bandExtension = ws.working.standAlone.bandExtension ? 0 : 1;
  ASSERT_EQ(SaveDataFile(ws, dat), FileStatus::Ok);
  EXPECT_EQ(readFd(oldDat), before) << "the old data file was written in place";
  EXPECT_EQ(readFd(oldNvd), beforeNvd) << "the old side file was written in place";
  close(oldDat);
  close(oldNvd);

  std::ifstream now(dat, std::ios::binary);
  std::string after((std::istreambuf_iterator<char>(now)), std::istreambuf_iterator<char>());
  EXPECT_NE(after, before);
  EXPECT_NE(after.find("CHANGED"), std::string::npos);
}

}  // namespace
}  // namespace n27
