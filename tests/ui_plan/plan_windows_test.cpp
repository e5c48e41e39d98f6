// The plan check in the desktop program: the Check Plan window following edits, a double
// click and F1, File > Attach Licence…, the review before a write and the printed sheet.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "channels/ui/frmCommChInfo.h"
#include "features/scan_settings.h"
#include "features/setting_undo.h"
#include "plan/ui/FrmPlanCheck.h"
#include "plan/ui/FrmPlanReview.h"
#include "plan/ui/findings_list.h"
#include "plan/ui/plan_commands.h"
#include "print/ui/FrmPrintList.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

constexpr const char *kLicence =
    "Frequency,Bandwidth,Power\n446.00625,12.5,5\nnot a number,12.5,5\n";

class PlanWindows : public MainWindowTest {
 protected:
  FrmPlanCheck &openCheck() {
    trigger("mnuCheckPlan");
    auto *w = qobject_cast<FrmPlanCheck *>(main->findWindow(window::kPlanCheck));
    EXPECT_NE(w, nullptr);
    return *w;
  }
  std::vector<std::string> rules(const FrmPlanCheck &w) {
    std::vector<std::string> out;
    for (const PlanFinding &f : w.findings()) out.push_back(f.rule);
    return out;
  }
};

TEST_F(PlanWindows, CheckPlanFollowsEditsAndSettingsAndOpensTheChannel) {
  makeMain();
  ChannelContext &ctx = main->channels();
  ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
  ChangeChannel(ctx, 1, 5, kFieldRx, "446.00625");
  FrmPlanCheck &w = openCheck();
  EXPECT_EQ(rules(w), std::vector<std::string>{"duplicate-channel"});
  EXPECT_EQ(w.list()->topLevelItem(0)->text(2), "5");

  ChangeChannel(ctx, 1, 5, kFieldRx, "446.50000");
  QTRY_VERIFY_WITH_TIMEOUT(w.findings().empty(), 2000);
  ChangeChannel(ctx, 1, 7, kFieldRx, "446.00625");
  QTRY_COMPARE_WITH_TIMEOUT(rules(w), std::vector<std::string>{"duplicate-channel"}, 2000);
  w.openFinding(0);  // the grid opens on channel 7's row
  auto *grid = qobject_cast<frmCommChInfo *>(main->findWindow(window::kChannelGrid));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->currentRow(), 7);

  // A setting chosen in a feature window is checked again too.
  ws.working.scan.words[1] = 9;  // bank 1 names channel 9, which is empty
  features::FeatureContext fctx(ctx);
  const features::Area &scan = features::ScanSettingsArea();
  features::ChooseSetting(fctx, scan, *scan.find("priority"), "Fixd");
  QTRY_COMPARE_WITH_TIMEOUT(rules(w), (std::vector<std::string>{"duplicate-channel", "scan-empty-channel"}), 2000);
}

TEST_F(PlanWindows, F1OpensThePlanCheckPage) {
  qputenv("N27_DATA_DIR", N27_PROGRAM_DIR);  // the guide shipped in the build
  makeMain();
  FrmPlanCheck &w = openCheck();
  // With the main window active its own F1 (the guide's contents) would take the key.
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  w.list()->setFocus();
  QTest::keyClick(w.list(), Qt::Key_F1);
  auto *browser = main->findChild<QTextBrowser *>("HelpBrowser");
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->source().path().endsWith("/help/en/plan-check.html"))
      << browser->source().toString().toStdString();
  EXPECT_EQ(browser->source().fragment(), "topic4000");
  qunsetenv("N27_DATA_DIR");
}

TEST_F(PlanWindows, AttachLicenceKeepsItBesideTheDataFile) {
  ASSERT_EQ(SaveDataFile(ws, path("site.dat")), FileStatus::Ok);
  makeMain();
  ASSERT_TRUE(WriteFileAtomically(path("customer.csv"), kLicence));
  FrmPlanCheck &w = openCheck();
  prompter.openNames = {QString::fromStdString(path("customer.csv"))};
  trigger("mnuFileAttachLicence");
  EXPECT_EQ(ReadWholeFile(path("site.licence.csv")).value_or(""), kLicence);
  EXPECT_EQ(ws.licenceText, kLicence);
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_TRUE(prompter.messages.back().contains("Lines: 1.")) << prompter.messages.back().toStdString();
  EXPECT_TRUE(prompter.messages.back().contains("line 3: Frequency \"not a number\"")) << prompter.messages.back().toStdString();
  QTRY_VERIFY_WITH_TIMEOUT(w.licenceLabel()->text().contains("site.licence.csv"), 2000);

  // A file that is no licence is refused and the attached one stays.
  ASSERT_TRUE(WriteFileAtomically(path("notes.csv"), "Name,Phone\n"));
  prompter.openNames = {QString::fromStdString(path("notes.csv"))};
  trigger("mnuFileAttachLicence");
  EXPECT_TRUE(prompter.messages.back().contains("no Frequency column"));
  EXPECT_EQ(ReadWholeFile(path("site.licence.csv")).value_or(""), kLicence);
}

TEST_F(PlanWindows, ReviewBeforeWriteWantsAReasonForErrors) {
  makeMain();
  const std::vector<PlanFinding> errors = {{FindingSeverity::Error, "tx-not-licensed", 3, "Channel 3 …"}};
  auto review = [&](const std::vector<PlanFinding> &findings, const QString &reason, bool write) {
    prompter.onDialog = [&](QDialog &d) {
      auto &dialog = static_cast<FrmPlanReview &>(d);
      if (dialog.reasonBox()) {
        EXPECT_FALSE(dialog.writeButton()->isEnabled());
        dialog.reasonBox()->setText(reason);
      }
      if (!write || !dialog.writeButton()->isEnabled()) return int(QDialog::Rejected);
      dialog.writeButton()->click();
      return dialog.result();
    };
    return ReviewPlanBeforeWrite(findings, main.get());
  };
  EXPECT_EQ(review(errors, "   ", true), std::nullopt);
  EXPECT_EQ(review(errors, " licence LIC-9 granted ", true), "licence LIC-9 granted");
  EXPECT_EQ(review(errors, "reason", false), std::nullopt);
  EXPECT_EQ(review({{FindingSeverity::Warning, "duplicate-channel", 4, "…"}}, "", true), "");
  prompter.dialogs.clear();
  EXPECT_EQ(review({}, "", false), "");  // nothing found: no dialog
  EXPECT_TRUE(prompter.dialogs.empty());
}

TEST_F(PlanWindows, PrintListPrintsTheLicenceSheetAlone) {
  makeMain();
  ChangeChannel(main->channels(), 1, 1, kFieldRx, "446.00625");
  FrmPrintList list(main->channels(), main.get());
  list.findChild<QCheckBox *>("CheckLicence")->setChecked(true);
  prompter.saveNames = {QString::fromStdString(path("sheet.pdf"))};
  ASSERT_TRUE(list.saveTickedAsPdf());
  const std::string pdf = ReadWholeFile(path("sheet.pdf")).value_or("");
  std::size_t pages = 0;
  for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
  EXPECT_EQ(pages, 1u);
}

}  // namespace
}  // namespace n27::test
