// Shared main of every test executable: a QApplication on the offscreen platform (widget
// tests need one; model tests do not mind), then GoogleTest.

// The user's settings and data folders are a private temporary folder of each test process,
// so no test reads or writes the settings of the person running it.

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char **argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  char home[] = "/tmp/n27-test-home-XXXXXX";
  const bool ownHome = mkdtemp(home) != nullptr;
  if (ownHome) {
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
  }
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  int rc = 0;
  {
    QApplication app(argc, argv);
    rc = RUN_ALL_TESTS();
  }
  std::error_code ec;
  if (ownHome) std::filesystem::remove_all(home, ec);
  return rc;
}
