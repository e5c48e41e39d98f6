#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <fstream>

#include "base/language.h"
#include "base/numbered_text.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

TEST(NumberedText, SectionFollowsTheNumberAndMissingKeysAreEmpty) {
  const fs::path folder = fs::temp_directory_path() / ("n27_numbered_text_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  {
    std::ofstream en(folder / "english.ini");
    en << "[OTHER]\n8999=other\n[Msg]\n9000=msg\n[CHBatch]\n29999=batch\n[Others]\n30000=others\n"
       << "9001=wrong section\n[Msg]\n9500=" << std::string(300, 'a') << "\n";
    std::ofstream zh(folder / "chinese.ini");
    std::string longChinese;
    for (int i = 0; i < 300; ++i) longChinese += "频";
    zh << "[Msg]\n9000=信息\n9500=" << longChinese << "\n";
  }
  SetLanguageFolder(folder.string());
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(NumberedText(8999), "other");
  EXPECT_EQ(NumberedText(9000), "msg");
  EXPECT_EQ(NumberedText(29999), "batch");
  EXPECT_EQ(NumberedText(30000), "others");
  EXPECT_EQ(NumberedText(9001), "");  // present, but in another section
  EXPECT_EQ(NumberedText(12345), "");
  EXPECT_EQ(NumberedText(9500).size(), 255u);

  SetLanguageIndex(kChinese);
  EXPECT_EQ(NumberedText(9000), "信息");
  EXPECT_EQ(NumberedText(9500).size(), 255u * 3);  // 255 characters, none split
  EXPECT_EQ(NumberedText(8999), "");
  SetLanguageIndex(kEnglish);

  SetLanguageFolder((folder / "missing").string());
  EXPECT_EQ(NumberedText(9000), "");
  SetLanguageFolder("");
  fs::remove_all(folder);
}

TEST(NumberedText, ShippedFilesHoldTheVersionTextsInBothLanguages) {
  SetLanguageFolder(std::string(N27_SOURCE_DIR) + "/language");
  for (int language : {kEnglish, kChinese})
    for (int number = 9060; number <= 9063; ++number)
      EXPECT_FALSE(NumberedText(number, language).empty()) << language << " " << number;
  SetLanguageFolder("");
}

}  // namespace
}  // namespace n27
