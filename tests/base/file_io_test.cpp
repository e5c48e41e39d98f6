// Reading within a bound and saving without ever destroying the file being replaced.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/file_io.h"
#include "common/test_folder.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

class FileIo : public TestFolderFixture {
 protected:
  void TearDown() override {
    SetSaveFaultForTesting({});
    TestFolderFixture::TearDown();
  }
  static void put(const std::string &p, const std::string &bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  static std::string content(const std::string &p) { return ReadWholeFile(p).value_or("<none>"); }
  // Every name in the folder, to see that no temporary is left behind.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto &e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
};

TEST_F(FileIo, ReadsOnlyRegularFilesWithinTheBound) {
  put(path("ten"), "0123456789");
  EXPECT_EQ(ReadWholeFile(path("ten"), 10).bytes.value(), "0123456789");
  auto tooLong = ReadWholeFile(path("ten"), 9);
  EXPECT_FALSE(tooLong);
  EXPECT_EQ(tooLong.outcome.problem, FileProblem::TooLarge);
  EXPECT_EQ(tooLong.outcome.actualSize, 10u);

  EXPECT_EQ(ReadWholeFile(path("missing"), 10).outcome.reason(), "no such file");
  EXPECT_EQ(ReadWholeFile(dir.string(), 10).outcome.reason(), "is a folder");
  // A device that never ends and a pipe nobody writes to are refused at once.
  EXPECT_EQ(ReadWholeFile("/dev/zero", 10).outcome.problem, FileProblem::NotRegularFile);
  ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
  EXPECT_EQ(ReadWholeFile(path("pipe"), 10).outcome.problem, FileProblem::NotRegularFile);
  EXPECT_FALSE(ReadWholeFile(path("pipe")).has_value());

  // A 2 GiB sparse file is refused by its size, before anything is read.
  {
    std::ofstream(path("huge")).put('x');
  }
  ASSERT_EQ(::truncate(path("huge").c_str(), 2LL << 30), 0);
  auto huge = ReadWholeFile(path("huge"), 9759);
  EXPECT_EQ(huge.outcome.problem, FileProblem::TooLarge);
  EXPECT_EQ(huge.outcome.actualSize, 2ull << 30);
  EXPECT_FALSE(ReadWholeFile(path("huge")).has_value());
}

TEST_F(FileIo, SavesThroughALinkKeepingTheModeAndTheLink) {
  fs::create_directories(dir / "real");
  put(path("real/radio.dat"), "old");
  ASSERT_EQ(::chmod(path("real/radio.dat").c_str(), 0600), 0);
  fs::create_symlink("real/radio.dat", dir / "link.dat");  // relative to the link's folder

  ASSERT_TRUE(SaveFile(path("link.dat"), "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
  EXPECT_EQ(content(path("real/radio.dat")), "new");
  struct stat st {};
  ASSERT_EQ(::stat(path("real/radio.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  // A link to a file not there yet makes that file.
  fs::create_symlink("real/fresh.dat", dir / "fresh.dat");
  ASSERT_TRUE(SaveFile(path("fresh.dat"), "made").ok());
  EXPECT_EQ(content(path("real/fresh.dat")), "made");
  EXPECT_EQ(names(), (std::vector<std::string>{"fresh.dat", "link.dat", "real"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 2);
}

TEST_F(FileIo, RefusesReadOnlyFilesFoldersAndDevices) {
  put(path("locked.dat"), "keep");
  ASSERT_EQ(::chmod(path("locked.dat").c_str(), 0444), 0);
  FileOutcome o = SaveFile(path("locked.dat"), "lost");
  EXPECT_EQ(o.problem, FileProblem::ReadOnly);
  EXPECT_EQ(o.reason(), "read-only");
  EXPECT_EQ(content(path("locked.dat")), "keep");

  fs::create_directories(dir / "folder.dat");
  EXPECT_EQ(SaveFile(path("folder.dat"), "x").reason(), "is a folder");
  EXPECT_EQ(SaveFile(path("no/such/folder/a.dat"), "x").reason(), "no such file");
  EXPECT_EQ(SaveFile("/dev/null", "x").problem, FileProblem::NotRegularFile);
  EXPECT_EQ(names(), (std::vector<std::string>{"folder.dat", "locked.dat"}));
}

TEST_F(FileIo, ALongNameStillSaves) {
  const std::string name = std::string(247, 'n') + ".dat";  // 251 characters
  ASSERT_TRUE(SaveFile(path(name), "first").ok());
  ASSERT_TRUE(SaveFile(path(name), "second").ok());
  EXPECT_EQ(content(path(name)), "second");
  EXPECT_EQ(names(), std::vector<std::string>{name});
}

TEST_F(FileIo, AFailedSetLeavesEveryOldFileAndNoTemporary) {
  put(path("a.dat"), "old data");
  put(path("a.NVD"), "old side");
  // The disk fills up while the second file is written.
  SetSaveFaultForTesting([](const std::string &target) {
    return target.size() > 4 && target.substr(target.size() - 4) == ".NVD" ? ENOSPC : 0;
  });
  FileOutcome o = SaveFiles({{path("a.dat"), "new data"}, {path("a.NVD"), "new side"}});
  EXPECT_EQ(o.problem, FileProblem::DiskFull);
  EXPECT_EQ(o.reason(), "disk full");
  EXPECT_EQ(content(path("a.dat")), "old data");
  EXPECT_EQ(content(path("a.NVD")), "old side");
  EXPECT_EQ(names(), (std::vector<std::string>{"a.NVD", "a.dat"}));

  // The same set without a fault replaces both.
  SetSaveFaultForTesting({});
  ASSERT_TRUE(SaveFiles({{path("a.dat"), "new data"}, {path("a.NVD"), "new side"}}).ok());
  EXPECT_EQ(content(path("a.dat")), "new data");
  EXPECT_EQ(content(path("a.NVD")), "new side");
  EXPECT_EQ(names(), (std::vector<std::string>{"a.NVD", "a.dat"}));

  // A rename that fails after the first one worked puts the first file back: the second
  // target is a folder that appears between the checks and the renames.
  put(path("b.dat"), "old b");
  SetSaveFaultForTesting([this](const std::string &target) {
    if (target == path("b.NVD")) fs::create_directories(dir / "b.NVD" / "inside");
    return 0;
  });
  EXPECT_FALSE(SaveFiles({{path("b.dat"), "new b"}, {path("b.NVD"), "side"}}).ok());
  EXPECT_EQ(content(path("b.dat")), "old b");
  EXPECT_EQ(names(), (std::vector<std::string>{"a.NVD", "a.dat", "b.NVD", "b.dat"}));
}

TEST_F(FileIo, ReasonsNameTheSizeTheFormatWants) {
  FileOutcome o;
  o.problem = FileProblem::WrongSize;
  o.actualSize = 15;
  o.expectedSize = 9759;
  EXPECT_EQ(o.reason(), "wrong size 15 of 9759");
  EXPECT_EQ(FileOutcome::FromErrno(EACCES).reason(), "permission denied");
  EXPECT_EQ(FileOutcome::FromErrno(EROFS).reason(), "read-only");
  EXPECT_EQ(FileOutcome{}.reason(), "");
}

// One file under several names (a hard link, a symbolic link, "./", a link to a file not made
// yet) is one file; a set that names one file twice is refused before anything is written.
TEST_F(FileIo, SameFileSeesThroughLinksAndIsNeverSavedTwiceInOneSet) {
  put(path("a"), "a");
  put(path("b"), "b");
  ASSERT_EQ(::link(path("a").c_str(), path("hard").c_str()), 0);
  fs::create_symlink("a", dir / "soft");
  fs::create_symlink("later", dir / "dangling");
  EXPECT_TRUE(SameFile(path("a"), path("hard")));
  EXPECT_TRUE(SameFile(path("soft"), (dir / "." / "a").string()));
  EXPECT_TRUE(SameFile(path("dangling"), path("later")));
  EXPECT_FALSE(SameFile(path("a"), path("b")));
  EXPECT_FALSE(SameFile(path("later"), path("other")));

  FileOutcome o = SaveFiles({{path("a"), "one"}, {path("soft"), "two"}});
  EXPECT_EQ(o.reason(), path("soft") + ": is the same file as " + path("a"));
  EXPECT_EQ(content(path("a")), "a");
}

// Over the file size limit a save fails with its reason and leaves no temporary (the signal
// that would end the program is ignored, as every program does first).
TEST_F(FileIo, AFileSizeLimitIsAFailureWithItsReason) {
  put(path("a.dat"), "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    IgnoreFileSizeSignal();
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    FileOutcome o = SaveFiles({{path("a.dat"), std::string(5000, 'x')}, {path("a.NVD"), "side"}});
    ::_exit(o.reason() == "over the file size limit of this session (ulimit -f)" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(content(path("a.dat")), "old");
  EXPECT_EQ(names(), std::vector<std::string>{"a.dat"});
}

}  // namespace
}  // namespace n27
