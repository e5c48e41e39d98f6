// n27-sim as a process: a stop request ends it while nobody reads its replies, and --link
// never replaces or removes a file it did not make.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/sim_cli.h"

namespace n27 {
namespace {

using namespace e2e;
namespace fs = std::filesystem;

std::string linkTarget(const std::string &path) {
  std::error_code ec;
  return fs::read_symlink(path, ec).string();
}

TEST(SimRunner, EndsOnSigtermWhileItsRepliesFillTheLine) {
  Sim sim({});
  ASSERT_FALSE(sim.device().empty());
  const int fd = ::open(sim.device().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  // Identification requests nobody reads the answers to (14 bytes back for each byte sent),
  // until the simulator, its answers stuck on the full line, stops taking requests.
  const std::string requests = "PROGRAM" + std::string(1 << 20, '\x02');
  std::size_t sent = 0;
  for (pollfd p{fd, POLLOUT, 0}; sent < requests.size() && ::poll(&p, 1, 500) > 0;) {
    const ssize_t n = ::write(fd, requests.data() + sent, requests.size() - sent);
    if (n > 0) sent += static_cast<std::size_t>(n);
  }
  ASSERT_LT(sent, requests.size());
  EXPECT_TRUE(sim.stop(2000)) << "n27-sim did not end on SIGTERM";
  ::close(fd);
}

TEST(SimRunner, LinkNeverReplacesOrRemovesWhatItDidNotMake) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("file").toStdString(), link = dir.filePath("radio").toStdString();
  { std::ofstream(file) << "mine"; }
  QProcess refused;
  refused.start(kProgramDir + "/n27-sim", {"--baud", "0", "--link", QString::fromStdString(file)});
  ASSERT_TRUE(refused.waitForFinished(5000));
  EXPECT_EQ(refused.exitCode(), 1);
  EXPECT_NE(refused.readAllStandardError().toStdString().find("not replaced"), std::string::npos);
  EXPECT_EQ(readFile(QString::fromStdString(file)), "mine");

  // A link a killed simulator left behind (its pseudo-terminal is gone) is taken over.
  fs::create_symlink("/dev/pts/987654", link);
  Sim first({"--link", QString::fromStdString(link)});
  ASSERT_FALSE(first.device().empty());
  EXPECT_EQ(linkTarget(link), first.device());
  // A second simulator leaves the first one's link alone.
  QProcess second;
  second.start(kProgramDir + "/n27-sim", {"--baud", "0", "--link", QString::fromStdString(link)});
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 1);
  EXPECT_EQ(linkTarget(link), first.device());
  // Pointed elsewhere meanwhile, the link is no longer the first one's to remove.
  fs::remove(link);
  fs::create_symlink(file, link);
  ASSERT_TRUE(first.stop(3000));
  EXPECT_EQ(linkTarget(link), file);

  // Its own link goes with it.
  const std::string own = dir.filePath("own").toStdString();
  Sim third({"--link", QString::fromStdString(own)});
  ASSERT_TRUE(fs::is_symlink(own));
  ASSERT_TRUE(third.stop(3000));
  EXPECT_FALSE(fs::exists(fs::symlink_status(own)));
}

}  // namespace
}  // namespace n27
