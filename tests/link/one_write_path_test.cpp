// Every write of a radio goes through the programming job: no program starts a write transfer
// of its own. (The end-to-end tests show the job's facts coming out of each program.)

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

TEST(OneWritePath, OnlyTheJobStartsAWriteAndBothProgramsRunTheJob) {
  const fs::path root = N27_SOURCE_DIR;
  // A write transfer started by hand: the engine's or the line's start with the write type.
  const std::regex ownWrite(R"((start|startTransfer|RunTransfer)\s*\([^;\n]*TransferType::Write)");
  std::set<std::string> runJob;
  for (const char *area : {"app", "cli", "link", "base", "codeplug", "channels", "features", "print"}) {
    for (const auto &entry : fs::recursive_directory_iterator(root / area)) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || !(name.ends_with(".cpp") || name.ends_with(".h"))) continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      const std::string code = text.str();
      if (name != "programming_job.cpp") {
        EXPECT_FALSE(std::regex_search(code, ownWrite)) << entry.path() << " writes a radio without the job";
      }
      if (code.find("ProgrammingJob") != std::string::npos) runJob.insert(fs::relative(entry.path(), root).string());
    }
  }
  // The command line (write, restore, --group, fleet) and the desktop program (Write,
  // Restore, Write to Group of Radios, Program Several Radios) both run it.
  EXPECT_TRUE(runJob.count("cli/job_console.cpp"));
  EXPECT_TRUE(runJob.count("link/ui/write_commands.cpp"));
  EXPECT_TRUE(runJob.count("link/fleet_run.cpp"));
  EXPECT_FALSE(fs::exists(root / "cli" / "write_steps.cpp"));
}

}  // namespace
