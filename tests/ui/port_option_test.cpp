// `n27 --port DEVICE` uses the device for that run only: the port the user saved stays in
// mysetup.ini for the next start.

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path &p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

using PortOption = TestFolderFixture;

TEST_F(PortOption, APortGivenOnTheCommandLineIsNotSaved) {
  // A program folder of its own, so the build's settings file stays untouched.
  const fs::path program = dir / "program";
  fs::create_directories(program);
  const fs::path built = N27_PROGRAM_DIR;
  for (const char *item : {"language", "Init", "help"})
    if (fs::exists(built / item)) fs::copy(built / item, program / item, fs::copy_options::recursive);
  for (const auto &e : fs::directory_iterator(built))
    if (e.is_regular_file() && e.path().extension() != "" && e.path().extension() != ".ini")
      fs::copy_file(e.path(), program / e.path().filename());
  const fs::path setup = program / "language" / "mysetup.ini";
  std::ofstream(setup) << "[language]\nIsFirstRun=1\ncomPort=200\n[Ports]\nCOM200=/dev/null\n";

  QProcess n27;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("N27_PROGRAM_DIR", QString::fromStdString(program.string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HOME", QString::fromStdString(dir.string()));
  // The program keeps the user's settings in their own folder and takes the old file over.
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir / "config").string()));
  const fs::path userSetup = dir / "config" / "n27" / "mysetup.ini";
  n27.setProcessEnvironment(env);
  n27.start(QString(N27_PROGRAM_DIR) + "/n27", {"--no-splash", "--port", "/dev/zero"});
  ASSERT_TRUE(n27.waitForStarted(10000));
  // The start-up writes the settings file once (the first-run mark goes to 0).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (readAll(userSetup).find("IsFirstRun=0") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  n27.terminate();
  if (!n27.waitForFinished(5000)) {
    n27.kill();
    n27.waitForFinished(5000);
  }
  const std::string text = readAll(userSetup);
  ASSERT_NE(text.find("IsFirstRun=0"), std::string::npos) << text;
  EXPECT_NE(text.find("comPort=200"), std::string::npos) << text;
  EXPECT_EQ(text.find("/dev/zero"), std::string::npos) << text;
}

}  // namespace
