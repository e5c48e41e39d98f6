#pragma once
// A scratch folder of one test's own: named after the test and the process, because ctest
// runs tests side by side and other builds on the machine may run the same tests at the same
// time. Created empty by the fixture's SetUp, removed by its TearDown.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

class TestFolderFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("n27_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
           "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string path(const std::string &name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};
