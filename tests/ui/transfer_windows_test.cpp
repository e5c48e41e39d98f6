// The password and progress windows on their own.

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmProgress.h"
#include "ui_test_support.h"

namespace n27::test {
namespace {

TEST(FrmPassWordDialog, OkKeepsTheTypedPasswordCancelKeepsTheOldOne) {
  SetLanguageIndex(kEnglish);
  std::string password = "ab";
  {
    FrmPassWord dialog(password);
    EXPECT_EQ(dialog.windowTitle(), "Program PassWord");
    EXPECT_EQ(dialog.findChild<QLabel *>("Label1")->text(), "PassWord");
    EXPECT_EQ(dialog.entry()->text(), "ab");  // shown again
    EXPECT_EQ(dialog.entry()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.entry()->displayText(), "**");  // a "*" for each character
    dialog.entry()->clear();
    QTest::keyClicks(dialog.entry(), "Xy9 zz");  // at most four characters
    EXPECT_EQ(dialog.entry()->text(), "Xy9 ");
    dialog.entry()->setText("Xy9 ");
    dialog.findChild<QPushButton *>("CommandCancel")->click();
  }
  EXPECT_EQ(password, "ab");
  {
    FrmPassWord dialog(password);
    dialog.entry()->setText("Xy9 ");
    dialog.findChild<QPushButton *>("CommandOK")->click();
  }
  EXPECT_EQ(password, "Xy9");  // trailing blanks removed

  SetLanguageIndex(kChinese);
  FrmPassWord chinese(password);
  EXPECT_EQ(chinese.windowTitle(), "编程密码");
  EXPECT_EQ(chinese.findChild<QPushButton *>("CommandOK")->text(), "确定(&O)");
  SetLanguageIndex(kEnglish);
}

TEST(FrmProgressWindow, StartsOnceShownShowsThePercentageAndClosesAtTheEnd) {
  SetLanguageIndex(kEnglish);
  int starts = 0;
  FrmProgress *self = nullptr;
  FrmProgress window(FrmProgress::Kind::Write, [&] {
    ++starts;
    self->SetProgressValue(37);
    EXPECT_EQ(self->findChild<QLabel *>("Label2")->text(), "37%");
    EXPECT_EQ(self->findChild<QProgressBar *>("ProgressBar1")->value(), 37);
    QTimer::singleShot(0, self, [&] { self->finish(true); });
    return true;
  });
  self = &window;
  EXPECT_EQ(window.windowTitle(), "Write data to radio");
  EXPECT_EQ(window.findChild<QLabel *>("Label1")->text(), "Completion percentage:");
  EXPECT_EQ(window.findChild<QLabel *>("Label2")->text(), "0%");
  static_cast<QDialog &>(window).reject();  // the user cannot close it before the transfer ends
  EXPECT_EQ(window.exec(), QDialog::Accepted);
  EXPECT_EQ(starts, 1);

  // A transfer that cannot start closes the window at once.
  FrmProgress failed(FrmProgress::Kind::Read, [] { return false; });
  EXPECT_EQ(failed.exec(), QDialog::Rejected);
}

}  // namespace
}  // namespace n27::test
