// `n27-cli read --password` against a simulated radio whose password is "ab": only "ab" reads.

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

#include "base/messages.h"

namespace {

const QString kProgramDir = N27_PROGRAM_DIR;

TEST(PasswordCli, OnlyTheExactPasswordReads) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QProcess sim;
  sim.start(kProgramDir + "/n27-sim", {"--baud", "0", "--password", "ab"});
  ASSERT_TRUE(sim.waitForStarted(5000));
  ASSERT_TRUE(sim.waitForReadyRead(5000));
  const QString port = QString::fromUtf8(sim.readLine().trimmed());
  ASSERT_FALSE(port.isEmpty());

  auto read = [&](const QString &password, const QString &out) {
    QProcess cli;
    cli.start(kProgramDir + "/n27-cli",
              {"read", "--port", port, "-o", out, "--password", password, "--reply-timeout", "400"});
    if (!cli.waitForFinished(60000)) cli.kill();
    return std::pair{cli.exitCode(), cli.readAllStandardError().toStdString()};
  };
  for (const char *nearMiss : {"a", "abc", "abcd", "AB"}) {
    const QString out = dir.filePath(QString("miss-%1.dat").arg(nearMiss));
    auto [code, err] = read(nearMiss, out);
    EXPECT_EQ(code, 1) << nearMiss;
    EXPECT_NE(err.find(n27::msg::kPasswordFailure), std::string::npos) << nearMiss << ": " << err;
    EXPECT_FALSE(QFile::exists(out)) << nearMiss;
  }
  auto [code, err] = read("ab", dir.filePath("right.dat"));
  EXPECT_EQ(code, 0) << err;
  EXPECT_TRUE(QFile::exists(dir.filePath("right.dat")));

  sim.terminate();
  if (!sim.waitForFinished(3000)) sim.kill();
}

}  // namespace
