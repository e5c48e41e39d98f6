// Pruning keeps every backup the history names as a radio's latest state, and recognises the
// after-write backups of verified writes beside the older names.

#include <gtest/gtest.h>

#include <fstream>

#include "common/test_folder.h"
#include "link/backup.h"

using namespace n27;

class BackupPruning : public TestFolderFixture {};

TEST_F(BackupPruning, KeepsProtectedImagesAndSaysWhatItRemoved) {
  const char *names[] = {"20260101-080000_SN-A_read", "20260102-080000_SN-A_before-write",
                         "20260102-080005_SN-A_after-write", "20260103-080000_no-serial_after-write-2",
                         "20260104-080000_SN-B_read"};
  for (const char *name : names)
    for (const char *ext : {".img", ".dat"}) std::ofstream(path(std::string(name) + ext)) << "x";
  std::ofstream(path("notes.img")) << "not a backup";
  const std::string oldest = path(std::string(names[0]) + ".img");
  // Given through another spelling of the same folder.
  const auto removed = PruneBackups(dir.string(), 2, {dir.string() + "/./" + names[0] + ".img"});
  EXPECT_EQ(removed, (std::vector<std::string>{path(std::string(names[2]) + ".img"), path(std::string(names[1]) + ".img")}));
  for (const std::string &kept : {oldest, path(std::string(names[3]) + ".dat"), path(std::string(names[4]) + ".img"),
                                 path("notes.img")})
    EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
  EXPECT_FALSE(std::filesystem::exists(path(std::string(names[2]) + ".dat")));
  EXPECT_EQ(BackupBaseName("A", BackupReason::AfterWrite, 0).substr(15), "_SN-A_after-write");
}
