// The file and model commands of the main window, driven through a host that answers the
// questions the way a user would and records what was shown.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <unistd.h>
#include <filesystem>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "app/shell_commands.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/data_file_layout.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

struct FakeHost : ShellHost {
  std::deque<Answer> answers;                  // the user's answers, in order
  std::vector<std::string> questions;          // what was asked
  std::vector<std::string> messages;           // what was shown
  std::deque<std::optional<std::string>> openNames, saveNames;
  std::vector<std::string> proposedNames;
  std::vector<std::string> events;             // windows closed / opened, captions
  std::optional<CaptionForm> caption;

  Answer ask(const std::string &text, Prompt) override {
    questions.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return Answer::Cancel;
    }
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void showMessage(const std::string &text, BoxIcon) override { messages.push_back(text); }
  std::optional<std::string> chooseFileToOpen() override {
    events.push_back("open dialog");
    if (openNames.empty()) return std::nullopt;
    auto n = openNames.front();
    openNames.pop_front();
    return n;
  }
  std::optional<std::string> chooseFileToSave(const std::string &proposed) override {
    events.push_back("save dialog");
    proposedNames.push_back(proposed);
    if (saveNames.empty()) return std::nullopt;
    auto n = saveNames.front();
    saveNames.pop_front();
    return n;
  }
  void storePendingInput() override { events.push_back("store"); }
  void closeAllWindows() override { events.push_back("close"); }
  void openDefaultEditors() override { events.push_back("reopen"); }
  void setCaptionForm(CaptionForm form) override { caption = form; }
};

class ShellCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("n27_shell_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ws.programFolder = dir_.string();  // no default data file there
    NewConfiguration(ws);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string &name) const { return (dir_ / name).string(); }
  void modify() { ws.working.function.squelch = static_cast<int16_t>(ws.working.function.squelch + 1); }

  fs::path dir_;
  Workspace ws;
  FakeHost host;
};

TEST_F(ShellCommands, SaveOnAnUntitledConfigurationAsksForANameAndAddsTheExtension) {
  host.saveNames.push_back(path("first"));
  ASSERT_TRUE(FileSave(ws, host));
  EXPECT_TRUE(host.questions.empty());  // no overwrite question for a new name
  EXPECT_EQ(host.proposedNames.at(0), "new.dat");
  EXPECT_EQ(ws.fileName, path("first.dat"));
  EXPECT_FALSE(ws.untitled);
  EXPECT_EQ(fs::file_size(path("first.dat")), datafile::kFileSize);
  EXPECT_TRUE(fs::exists(path("first.NVD")));
  EXPECT_EQ(host.caption, CaptionForm::File);
  EXPECT_EQ(host.events.front(), "store");  // the editors' pending input goes in first

  // Saving again asks before overwriting; Cancel writes nothing.
  modify();
  host.answers = {Answer::Cancel};
  EXPECT_FALSE(FileSave(ws, host));
  EXPECT_EQ(host.questions.back(), "\"" + path("first.dat") + "\"file will be Overwrite,Continue?");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
  host.answers = {Answer::Ok};
  EXPECT_TRUE(FileSave(ws, host));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
}

TEST_F(ShellCommands, SaveAsCancelledChangesNothing) {
  modify();
  EXPECT_FALSE(FileSaveAs(ws, host));
  EXPECT_TRUE(ws.untitled);
  EXPECT_EQ(ws.fileName, "new.dat");
  EXPECT_FALSE(host.caption.has_value());
}

TEST_F(ShellCommands, OpenAsksOnlyWhenModified) {
  host.saveNames.push_back(path("a.dat"));
  ASSERT_TRUE(FileSaveAs(ws, host));

  // Saved and unchanged: no question.
  host.openNames.push_back(path("a.dat"));
  ASSERT_TRUE(FileOpen(ws, host));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(host.caption, CaptionForm::File);

  // Changed: the question; Cancel keeps everything and shows no dialog.
  modify();
  host.events.clear();
  host.answers = {Answer::Cancel};
  EXPECT_FALSE(FileOpen(ws, host));
  EXPECT_EQ(host.questions.back(), "File has been modify,save it now?");
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "open dialog"), 0);
  EXPECT_TRUE(IsModified(ws.working, ws.saved));

  // No: the changes are dropped for the file.
  host.answers = {Answer::No};
  host.openNames.push_back(path("a.dat"));
  EXPECT_TRUE(FileOpen(ws, host));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
}

TEST_F(ShellCommands, OpenWithYesSavesFirstAndStopsWhenTheSaveIsCancelled) {
  modify();
  const int16_t changed = ws.working.function.squelch;
  // Yes on an untitled configuration opens Save As; cancelling it cancels the open.
  host.answers = {Answer::Yes};
  EXPECT_FALSE(FileOpen(ws, host));
  EXPECT_EQ(ws.working.function.squelch, changed);
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "open dialog"), 0);

  // Yes on a titled configuration: the overwrite question, the save, then the other file.
  NewConfiguration(ws);
  host.saveNames.push_back(path("other.dat"));
  ASSERT_TRUE(FileSaveAs(ws, host));
  host.saveNames.push_back(path("kept.dat"));
  ASSERT_TRUE(FileSaveAs(ws, host));
  modify();
  host.answers = {Answer::Yes, Answer::Ok};
  host.openNames.push_back(path("other.dat"));
  EXPECT_TRUE(FileOpen(ws, host));
  EXPECT_EQ(host.questions.back(), "\"" + path("kept.dat") + "\"file will be Overwrite,Continue?");
  Workspace check;
  ASSERT_EQ(LoadDataFile(check, path("kept.dat")), FileStatus::Ok);
  EXPECT_EQ(check.working.function.squelch, changed);
  EXPECT_EQ(ws.fileName, path("other.dat"));
  EXPECT_NE(ws.working.function.squelch, changed);
}

TEST_F(ShellCommands, AFileOfAnotherModelIsRefusedAndThePreviousDataStay) {
  host.saveNames.push_back(path("good.dat"));
  ASSERT_TRUE(FileSaveAs(ws, host));
  std::string bytes = ReadWholeFile(path("good.dat")).value();
  bytes.replace(datafile::kModelName, 5, "X99ZZ");
  ASSERT_TRUE(WriteFileAtomically(path("bad.dat"), bytes));
  modify();
  CodeplugData before = ws.working;

  host.answers = {Answer::No};
  host.openNames.push_back(path("bad.dat"));
  host.events.clear();
  EXPECT_FALSE(FileOpen(ws, host));
  EXPECT_EQ(host.messages.back(), "Model Error!");
  EXPECT_TRUE(ws.working == before);
  EXPECT_EQ(ws.fileName, path("good.dat"));
  // The editors were closed for the load and come back with the previous data.
  EXPECT_EQ(host.events.back(), "reopen");

  // A file that is not a data file at all.
  ASSERT_TRUE(WriteFileAtomically(path("short.dat"), "not a data file"));
  host.openNames.push_back(path("short.dat"));
  host.answers = {Answer::No};
  EXPECT_FALSE(FileOpen(ws, host));
  // "file error." keeps its words; the reason is its detail.
  EXPECT_EQ(host.messages.back(), "file error.\nwrong size 15 of 9759");
  EXPECT_TRUE(ws.working == before);
}

TEST_F(ShellCommands, NewAsksFirstAndCancelKeepsTheData) {
  modify();
  host.answers = {Answer::Cancel};
  EXPECT_FALSE(FileNew(ws, host));
  EXPECT_EQ(host.questions.back(), "All data will be cleared.");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));

  host.answers = {Answer::Ok};
  EXPECT_TRUE(FileNew(ws, host));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  EXPECT_TRUE(ws.untitled);
  EXPECT_EQ(host.caption, CaptionForm::New);
  EXPECT_EQ(host.events, (std::vector<std::string>{"close", "reopen"}));
}

TEST_F(ShellCommands, TheSaveOfferBeforeDroppingTheConfiguration) {
  EXPECT_TRUE(OfferToSaveChanges(ws, host));  // unmodified: no question
  EXPECT_TRUE(host.questions.empty());
  modify();
  host.answers = {Answer::Cancel};
  EXPECT_FALSE(OfferToSaveChanges(ws, host));
  host.answers = {Answer::No};
  EXPECT_TRUE(OfferToSaveChanges(ws, host));
  host.answers = {Answer::Yes};  // and the Save As dialog is cancelled
  EXPECT_FALSE(OfferToSaveChanges(ws, host));
  host.answers = {Answer::Yes};
  host.saveNames.push_back(path("exit.dat"));
  EXPECT_TRUE(OfferToSaveChanges(ws, host));
  EXPECT_TRUE(fs::exists(path("exit.dat")));
}

TEST_F(ShellCommands, ModelInformationAlwaysAsksAndSwitchesTheBand) {
  // The model box shows "N27", which differs from "N27PR": the question comes even unchanged.
  host.answers = {Answer::Cancel};
  EXPECT_FALSE(ApplyModelInformation(ws, host, "N27", "400 - 490 MHz"));
  EXPECT_EQ(host.questions.back(), "Frequency data will be cleared.");
  EXPECT_EQ(ws.bandText, "400 - 490 MHz");

  host.answers = {Answer::Ok};
  EXPECT_TRUE(ApplyModelInformation(ws, host, "N27", "136 - 174 MHz"));
  EXPECT_EQ(ws.bandText, "136 - 174 MHz");
  EXPECT_EQ(ws.modelFamily, "N27PR");
  EXPECT_DOUBLE_EQ(ws.lowerLimit, 136.0);
  EXPECT_DOUBLE_EQ(ws.upperLimit, 174.0);
  EXPECT_EQ(ws.working.bandCode, 1);
  EXPECT_TRUE(ws.untitled);
  EXPECT_EQ(host.caption, CaptionForm::New);
}

TEST(DataFileNames, TheFilterAndTheExtension) {
  EXPECT_EQ(DataFileFilter(), "Data File (*.dat)");
  EXPECT_EQ(WithDataExtension("/a/radio"), "/a/radio.dat");
  EXPECT_EQ(WithDataExtension("/a.b/radio"), "/a.b/radio.dat");
  EXPECT_EQ(WithDataExtension("/a/radio.DAT"), "/a/radio.DAT");
}

}  // namespace
}  // namespace n27
