// Start-up pieces: numbers with "." under a comma locale, the splash picture, the help pages.

#include <QLocale>
#include <QTextBrowser>
#include <QtTest/QTest>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/ui/help_window.h"
#include "app/ui/startup.h"
#include "ui_test_support.h"

namespace n27::test {
namespace {

// The shipped files lie in the build's program folder.
struct ProgramFolderScope {
  ProgramFolderScope() { setenv("N27_PROGRAM_DIR", N27_PROGRAM_DIR, 1); }
  ~ProgramFolderScope() { unsetenv("N27_PROGRAM_DIR"); }
};

std::string formatted(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", v);
  return buffer;
}

TEST(Startup, NumbersUseADotUnderACommaLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const QLocale beforeQt;
  bool comma = false;
  for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
    if (std::setlocale(LC_ALL, name)) {
      comma = true;
      break;
    }
  ASSERT_TRUE(comma) << "no comma-decimal locale installed (scripts/install-deps.sh makes one)";
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_EQ(formatted(446.5), "446,50");

  UseDotDecimal();
  EXPECT_EQ(formatted(446.5), "446.50");
  EXPECT_EQ(std::strtod("446.125", nullptr), 446.125);
  EXPECT_EQ(QLocale().toString(1234.5, 'f', 1), "1234.5");
  bool ok = false;
  EXPECT_EQ(QLocale().toDouble("439.25", &ok), 439.25);
  EXPECT_TRUE(ok);
  // Only the numbers changed: messages and dates still follow the user's locale.
  EXPECT_STRNE(std::setlocale(LC_MESSAGES, nullptr), "C");

  std::setlocale(LC_ALL, before.c_str());
  QLocale::setDefault(beforeQt);
}

TEST(Startup, SplashShowsThePictureOfTheLanguageAndGoesOnClickOrTimer) {
  ProgramFolderScope scope;
  EXPECT_TRUE(SplashWindow::picturePath(kEnglish).endsWith("/StartE.jpg"));
  EXPECT_TRUE(SplashWindow::picturePath(kChinese).endsWith("/StartC.jpg"));

  int done = 0;
  SplashWindow english(kEnglish, [&] { ++done; });
  EXPECT_TRUE(english.hasPicture());
  english.show();
  QTest::mouseClick(&english, Qt::LeftButton);
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(english.isVisible());
  english.finish();  // once only
  EXPECT_EQ(done, 1);

  SplashWindow chinese(kChinese, [&] { ++done; });
  EXPECT_TRUE(chinese.hasPicture());
  chinese.show();
  QTRY_COMPARE_WITH_TIMEOUT(done, 2, SplashWindow::kShowMs + 2000);
}

TEST(Startup, HelpOpensTheGuideOfTheLanguageAtATopic) {
  ProgramFolderScope scope;
  ScriptedPrompter prompter;
  SetPrompter(&prompter);
  HelpWindow help;
  ASSERT_TRUE(help.showTopic(kChinese, 3100));
  auto *browser = help.findChild<QTextBrowser *>("HelpBrowser");
  EXPECT_TRUE(browser->source().path().endsWith("help/zh/index.html"));
  EXPECT_EQ(browser->source().fragment(), "topic3100");
  EXPECT_TRUE(browser->toPlainText().contains("编辑信道"));
  ASSERT_TRUE(help.showTopic(kEnglish, 0));
  EXPECT_TRUE(browser->toPlainText().contains("Reading a radio"));
  EXPECT_TRUE(prompter.messages.empty());

  setenv("N27_PROGRAM_DIR", "/nonexistent", 1);
  EXPECT_FALSE(help.showTopic(kEnglish, 0));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].contains("/nonexistent/help/en/index.html"));
  SetPrompter(nullptr);
}

}  // namespace
}  // namespace n27::test
