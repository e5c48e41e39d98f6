// Frequency and tone texts: exact values, band limits, messages, and "." whatever the locale.

#include <clocale>
#include <gtest/gtest.h>
#include <string>

#include "channel_test_util.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

using test::ChannelFixture;

TEST(NumberText, ParsesOnlyPlainDecimalTexts) {
  for (const char *yes : {"462.125", " 12 ", "462.", ".5", "-3", "+7", "1e3", "0"})
    EXPECT_TRUE(IsNumeric(yes)) << yes;
  for (const char *no : {"", ".", "1,5", "12a", "inf", "nan", "1e", "--1", "1.2.3", "D023N"})
    EXPECT_FALSE(IsNumeric(no)) << no;
  EXPECT_EQ(RoundTo(*ParseDecimal("462.125"), 5, Rounding::HalfAwayFromZero), 46212500);
  // Halves: to even when asked, away from zero otherwise; a digit beyond the half counts.
  EXPECT_EQ(RoundTo(*ParseDecimal("2.5"), 0, Rounding::HalfEven), 2);
  EXPECT_EQ(RoundTo(*ParseDecimal("3.5"), 0, Rounding::HalfEven), 4);
  EXPECT_EQ(RoundTo(*ParseDecimal("2.5"), 0, Rounding::HalfAwayFromZero), 3);
  EXPECT_EQ(RoundTo(*ParseDecimal("2.5000000000000000001"), 0, Rounding::HalfEven), 3);
  EXPECT_EQ(RoundTo(*ParseDecimal("-2.5"), 0, Rounding::HalfAwayFromZero), -3);
  EXPECT_EQ(FormatFixed(-1234567, 5, 3), "-012.34567");
  EXPECT_EQ(PlainNumber(400.0), "400");
  // Absurd magnitudes saturate instead of overflowing.
  EXPECT_GT(RoundTo(*ParseDecimal("1e400"), 5, Rounding::HalfEven), 0);
  EXPECT_EQ(ParseInteger("1e400"), std::nullopt);
}

TEST(FrequencyCodec, StoredAndDisplayForms) {
  ChannelFixture f;
  EXPECT_EQ(CheckFre(f.ctx, "462.125", 1, true), "462.12500");
  EXPECT_EQ(SaveFre(f.ctx, "462.12500"), "46212500");
  EXPECT_EQ(ShowFre(f.ctx, "46212500"), "462.12500");
  EXPECT_EQ(ShowFre(f.ctx, "FFFFFFFF"), "");
  EXPECT_EQ(ShowFre(f.ctx, ""), "");
  EXPECT_EQ(SaveFre(f.ctx, ""), "");
  // A decoded TX value 0 is the text "0".
  EXPECT_EQ(ShowFre(f.ctx, "0"), "000.00000");
  // Rounding to 10 Hz only; no channel raster.
  EXPECT_EQ(CheckFre(f.ctx, "462.123456", 1, true), "462.12346");
  EXPECT_EQ(CheckFre(f.ctx, "462.000005", 1, true), "462.00001");
  EXPECT_TRUE(f.messages.empty());
}

TEST(FrequencyCodec, ClampsToTheBandWithTheMessage) {
  ChannelFixture f(true);  // 136 - 174 MHz
  EXPECT_EQ(SaveFre(f.ctx, CheckFre(f.ctx, "100", 1, true)), "13600000");
  EXPECT_EQ(CheckFre(f.ctx, "abc", 1, true), "136.00000");
  EXPECT_EQ(CheckFre(f.ctx, "174.00001", 2, true), "174.00000");
  EXPECT_EQ(f.messages, std::vector<std::string>(3, "Frequency is out of range."));
  f.messages.clear();
  EXPECT_EQ(CheckFre(f.ctx, "174.000001", 2, true), "174.00000");  // above, though it rounds to it
  EXPECT_EQ(f.messages.size(), 1u);
  f.messages.clear();
  // No message without the warn flag or while a data file loads; the value is clamped anyway.
  EXPECT_EQ(CheckFre(f.ctx, "500", 1, false), "174.00000");
  f.ws.loadingFile = true;
  EXPECT_EQ(CheckFre(f.ctx, "500", 1, true), "174.00000");
  EXPECT_DOUBLE_EQ(LimitFreWarn(f.ctx, 100.0, 1, true), 136.0);
  EXPECT_TRUE(f.messages.empty());
  f.ws.loadingFile = false;
  EXPECT_DOUBLE_EQ(LimitFreWarn(f.ctx, 150.0, 1, true), 150.0);
  EXPECT_DOUBLE_EQ(LimitFreWarn(f.ctx, 180.0, 2, true), 174.0);
  EXPECT_EQ(f.messages.size(), 1u);

  ChannelFixture u;  // 400 - 490 MHz
  EXPECT_EQ(CheckFre(u.ctx, "399.99999", 1, false), "400.00000");
  EXPECT_EQ(CheckFre(u.ctx, "491", 2, false), "490.00000");
  EXPECT_DOUBLE_EQ(UpperLimit(u.ws, 2), 490.0);
}

TEST(FrequencyCodec, NonNumericStoredTextShowsTheLowerLimit) {
  ChannelFixture f;
  EXPECT_EQ(ShowFre(f.ctx, "4621250X"), "400");
  EXPECT_EQ(f.messages, std::vector<std::string>{"Not IsNumeric"});
  // Never a short stored text standing for a wrong frequency.
  EXPECT_EQ(SaveFre(f.ctx, "garbage"), "40000000");
  EXPECT_EQ(SaveFre(f.ctx, "462.125"), "46212500");
}

TEST(ToneCodec, TextsAndCodes) {
  SetLanguageIndex(kEnglish);
  const std::pair<const char *, const char *> cases[] = {
      {"67.0", "0100"},  {"100.0", "010C"}, {"254.1", "0131"}, {"D023N", "0201"},
      {"D765I", "0373"}, {"100", "83E8"},   {"40", "0100"},    {"300", "0131"},
      {"D999N", "0200"}, {"D017I", "0300"}, {"None", "FFFF"},  {"d023n", ""},
      {"", ""},          {"xyz", ""},       {"123.45", "84D2"}, {"99.95", "83E8"},
  };
  for (auto [text, code] : cases) EXPECT_EQ(ToneToCode(text), code) << text;
  // Back to texts.
  EXPECT_EQ(ToneCodeText("FFFF"), "None");
  EXPECT_EQ(ToneCodeText("010C"), "100.0");
  EXPECT_EQ(ToneCodeText("0201"), "D023N");
  EXPECT_EQ(ToneCodeText("0373"), "D765I");
  EXPECT_EQ(ToneCodeText("83E8"), "100.0");
  EXPECT_EQ(ToneCodeText("84D2"), "123.4");
  // Codes from a damaged file are shown as they are, never looked up outside the list.
  EXPECT_EQ(ToneCodeText("02FF"), "02FF");
  EXPECT_EQ(ToneCodeText("12"), "12");
  EXPECT_EQ(ToneCodeText("ZZZZ"), "ZZZZ");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(ToneToCode("无"), "FFFF");
  EXPECT_EQ(ToneToCode("None"), "");
  EXPECT_EQ(ToneCodeText("FFFF"), "无");
  SetLanguageIndex(kEnglish);
}

TEST(ToneCodec, EveryListEntryRoundTrips) {
  SetLanguageIndex(kEnglish);
  auto list = ToneList();
  ASSERT_EQ(list.size(), 283u);
  EXPECT_EQ(list[0], "None");
  EXPECT_EQ(list[50], "254.1");
  EXPECT_EQ(list[51], "D017N");
  EXPECT_EQ(list[166], "D765N");
  EXPECT_EQ(list[167], "D017I");
  for (int i = 0; i < 283; ++i) EXPECT_EQ(ToneCodeText(ToneToCode(list[i])), list[i]) << i;
}

// A comma-decimal locale (as a German or French desktop has) must change nothing.
TEST(CommaLocale, TextsKeepThePoint) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  const char *chosen = nullptr;
  for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
    if (std::setlocale(LC_ALL, name)) {
      chosen = name;
      break;
    }
  if (!chosen) GTEST_SKIP() << "no comma-decimal locale installed (scripts/install-deps.sh makes one)";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  ChannelFixture f;
  EXPECT_EQ(CheckFre(f.ctx, "462.125", 1, true), "462.12500");
  EXPECT_EQ(SaveFre(f.ctx, "462.12500"), "46212500");
  EXPECT_EQ(ShowFre(f.ctx, "46212500"), "462.12500");
  EXPECT_EQ(CheckFre(f.ctx, "462,125", 1, true), "400.00000");  // a comma is no number here
  EXPECT_EQ(ToneToCode("100.0"), "010C");
  EXPECT_EQ(ToneToCode("123.4"), "84D2");
  EXPECT_EQ(ToneCodeText("84D2"), "123.4");
  EXPECT_EQ(PlainNumber(136.5), "136.5");
  std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
}  // namespace n27
