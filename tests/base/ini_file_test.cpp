#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "base/ascii_case.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/language.h"

namespace n27 {
namespace {

std::string tempPath(const std::string &name) {
  return (std::filesystem::temp_directory_path() /
          ("n27_ini_" + std::to_string(::getpid()) + "_" + name))
      .string();
}

TEST(IniFile, KeysAndSectionsAreCaseInsensitiveAndOtherLinesSurviveAWrite) {
  std::string path = tempPath("a.ini");
  {
    std::ofstream out(path);
    out << "; a comment\n[Language]\r\nIsFirstRun = 1\ncomPort=3\n\n[Other]\nx=y\n";
  }
  IniFile ini(path);
  ASSERT_TRUE(ini.ok());
  EXPECT_EQ(ini.value("language", "COMPORT").value(), "3");
  EXPECT_EQ(ini.value("language", "isfirstrun").value(), "1");
  EXPECT_FALSE(ini.value("language", "x").has_value());

  ASSERT_TRUE(IniFile::write(path, "LANGUAGE", "comport", "7"));
  ASSERT_TRUE(IniFile::write(path, "language", "StopBit", "1"));
  ASSERT_TRUE(IniFile::write(path, "New", "k", "v"));
  IniFile again(path);
  EXPECT_EQ(again.value("language", "comPort").value(), "7");
  EXPECT_EQ(again.value("language", "StopBit").value(), "1");
  EXPECT_EQ(again.value("Other", "x").value(), "y");
  EXPECT_EQ(again.value("new", "K").value(), "v");
  auto text = ReadWholeFile(path).value();
  EXPECT_NE(text.find("; a comment"), std::string::npos);
  std::filesystem::remove(path);
}

// Keys, column headings and file endings fold only A–Z, whatever the user's locale: a byte
// above 0x7F (a Latin-1 "Ä", a UTF-8 lead byte) is never taken for a letter to fold.
TEST(AsciiCase, OnlyTheLettersAToZFold) {
  EXPECT_EQ(AsciiLower("FREQUENCY Skip-12.DAT"), "frequency skip-12.dat");
  EXPECT_EQ(AsciiLower("\xC4\xC3\x84I"), "\xC4\xC3\x84i");
  EXPECT_TRUE(AsciiEqualNoCase("TSQL", "tsql"));
  EXPECT_FALSE(AsciiEqualNoCase("\xC4", "\xE4"));
  EXPECT_FALSE(AsciiEqualNoCase("tsq", "tsql"));
}

TEST(IniFile, MissingFileIsEmptyAndWritingCreatesIt) {
  std::string path = tempPath("missing.ini");
  std::filesystem::remove(path);
  IniFile ini(path);
  EXPECT_FALSE(ini.ok());
  EXPECT_EQ(ini.value("a", "b", "fallback"), "fallback");
  ASSERT_TRUE(IniFile::write(path, "a", "b", "c"));
  EXPECT_EQ(IniFile::read(path, "a", "b").value(), "c");
  std::filesystem::remove(path);
}

TEST(Language, LocaleChoosesChineseOnlyForChina) {
  EXPECT_EQ(LanguageForLocale("zh_CN.UTF-8"), kChinese);
  EXPECT_EQ(LanguageForLocale("zh_CN"), kChinese);
  EXPECT_EQ(LanguageForLocale("zh_TW.UTF-8"), kEnglish);
  EXPECT_EQ(LanguageForLocale("de_DE.UTF-8"), kEnglish);
  EXPECT_EQ(LanguageForLocale("C"), kEnglish);
  EXPECT_EQ(LanguageForLocale(""), kEnglish);
}

TEST(Language, TextFollowsTheIndexAndOutOfRangeIndexAborts) {
  Tr t("Warning", "警告");
  SetLanguageIndex(kChinese);
  EXPECT_STREQ(t.get(), "警告");
  SetLanguageIndex(kEnglish);
  EXPECT_STREQ(t.get(), "Warning");
  EXPECT_DEATH(SetLanguageIndex(3), "out of range");
  EXPECT_DEATH(SetLanguageIndex(0), "out of range");
}

}  // namespace
}  // namespace n27
