// The help window closes with Esc; the progress window offers no buttons it cannot honour.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "app/ui/help_window.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmProgress.h"
#include <QLineEdit>
#include <QPushButton>

namespace n27 {
namespace {

TEST(WindowKeys, HelpClosesWithEscape) {
  HelpWindow help;
  help.show();
  QApplication::setActiveWindow(&help);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &help, Qt::Key_Escape);
  EXPECT_FALSE(help.isVisible());
}

TEST(WindowKeys, ProgressWindowHasOnlyItsTitle) {
  FrmProgress progress(FrmProgress::Kind::Read, [] { return false; });
  const Qt::WindowFlags f = progress.windowFlags();
  EXPECT_TRUE(f & Qt::CustomizeWindowHint);
  EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(f & Qt::WindowCloseButtonHint);
}

// Types characters QTest's key table does not know (it maps only ASCII to keys).
void typeText(QWidget *widget, const QString &text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

TEST(WindowKeys, PasswordTypedReplacesTheRememberedOneAndTakesLatin1) {
  std::string password = "12";
  {
    FrmPassWord dialog(password);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.entry()->setFocus();
    QTest::keyClicks(dialog.entry(), "5678");
    EXPECT_EQ(dialog.entry()->text(), "5678");
    dialog.findChild<QPushButton *>("CommandOK")->click();
  }
  EXPECT_EQ(password, "5678");
  {
    FrmPassWord dialog(password);
    dialog.entry()->clear();
    typeText(dialog.entry(), QString::fromUtf8("é\u00FEa"));
    EXPECT_EQ(dialog.entry()->text(), QString::fromUtf8("é\u00FEa"));
    typeText(dialog.entry(), QString::fromUtf8("中"));  // not a single-byte character
    EXPECT_EQ(dialog.entry()->text().size(), 3);
    dialog.findChild<QPushButton *>("CommandOK")->click();
  }
  EXPECT_EQ(password, "\xE9\xFE" "a");
}

}  // namespace
}  // namespace n27
