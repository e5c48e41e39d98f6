// Model Information with a band the table does not know: the box shows "Unknown Band", and
// OK with it builds nothing.

#include <QComboBox>
#include <gtest/gtest.h>

#include "app/shell_commands.h"
#include "app/ui/frmModelInfo.h"
#include "base/language.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"

namespace n27 {
namespace {

struct CountingHost : ShellHost {
  int questions = 0, newDocs = 0;
  Answer ask(const std::string &, Prompt) override {
    ++questions;
    return Answer::Ok;
  }
  void showMessage(const std::string &, BoxIcon) override {}
  std::optional<std::string> chooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const std::string &) override { return std::nullopt; }
  void storePendingInput() override {}
  void closeAllWindows() override { ++newDocs; }
  void openDefaultEditors() override {}
  void setCaptionForm(CaptionForm) override {}
};

TEST(ModelInformation, AnUnknownBandIsShownAsItIs) {
  SetLanguageIndex(kEnglish);
  Workspace ws;
  NewConfiguration(ws);
  ws.working.bandCode = 7;
  ws.bandText = BandText(7);
  SetBandLimits(ws);
  ASSERT_EQ(ws.bandText, "Unknown Band");

  frmModelInfo dialog(ws);
  EXPECT_EQ(dialog.bandBox()->currentText(), "Unknown Band");
  EXPECT_EQ(dialog.bandText(), "Unknown Band");
  EXPECT_GE(dialog.bandBox()->findText("400 - 490 MHz"), 0);
  EXPECT_GE(dialog.bandBox()->findText("136 - 174 MHz"), 0);

  CountingHost host;
  EXPECT_FALSE(ApplyModelInformation(ws, host, "N27", "Unknown Band"));
  EXPECT_EQ(host.newDocs, 0);
  EXPECT_EQ(ws.working.bandCode, 7);
  // Choosing a real band still builds a configuration for it.
  EXPECT_TRUE(ApplyModelInformation(ws, host, "N27", "136 - 174 MHz"));
  EXPECT_EQ(ws.bandText, "136 - 174 MHz");

  // A known band offers only the two bands.
  frmModelInfo known(ws);
  EXPECT_EQ(known.bandBox()->count(), 2);
  EXPECT_EQ(known.bandBox()->currentText(), "136 - 174 MHz");
}

}  // namespace
}  // namespace n27
