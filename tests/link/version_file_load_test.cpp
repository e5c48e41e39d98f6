// A damaged Version.ini: large counts and many lines load in one pass, within bounds.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "common/test_folder.h"
#include "link/version_table.h"

namespace n27 {
namespace {

using VersionFileLoad = TestFolderFixture;

TEST_F(VersionFileLoad, LargeCountsLoadQuicklyAndFindTheRightPairs) {
  {
    std::ofstream out(path("Version.ini"));
    out << "[Version]\nCurrentVersion=V200\nSoftVersionCount=99999999\nFirmVersionCount=99999999\n";
    out << "[Soft]\n";
    for (int i = 0; i < 10000; ++i) out << "Version" << i << "=V" << (100 + i % 900) << "\n";
    out << "[Firm]\n";
    for (int i = 0; i < 10000; ++i) out << "Firm" << i << "=V200" << (i == 9999 ? "V777" : "V1" + std::to_string(10 + i % 90)) << "\n";
    out << "Firm5=V300V999\n";  // a repeated key: the first one counts
  }
  const auto start = std::chrono::steady_clock::now();
  VersionTable t = VersionTable::Load(path("Version.ini"));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 2.0);  // each lookup used to read the whole file again: ~10 s here
  ASSERT_EQ(t.pairs().size(), 10000u);  // the count is bounded
  EXPECT_EQ(t.softVersions().size(), 10000u);
  EXPECT_TRUE(t.compatible("V200", "V777"));
  EXPECT_EQ(t.programVersionFor("V999"), "");
  EXPECT_EQ(t.pairs()[5].firmwareVersion, "V115");

  // Anything but a regular file is no table at all.
  EXPECT_TRUE(VersionTable::Load(dir.string()).pairs().empty());
  EXPECT_TRUE(VersionTable::Load("/dev/zero").pairs().empty());
}

}  // namespace
}  // namespace n27
