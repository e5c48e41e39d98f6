#include "base/message_log.h"

#include <gtest/gtest.h>

namespace n27 {
namespace {

TEST(MessageLog, KeepsTheNewestTwoHundredOldestFirst) {
  MessageLog log;
  int told = 0;
  log.changed = [&] { ++told; };
  for (int i = 1; i <= 205; ++i) ASSERT_TRUE(log.add("message " + std::to_string(i), 1000 + i));
  ASSERT_EQ(log.entries().size(), 200u);
  EXPECT_EQ(log.entries().front().text, "message 6");
  EXPECT_EQ(log.entries().back().text, "message 205");
  EXPECT_EQ(log.entries().back().time, 1205);
  EXPECT_EQ(told, 205);
}

TEST(MessageLog, OneLineEachAndNoEmptyOrRepeatedLines) {
  MessageLog log;
  EXPECT_FALSE(log.add(" \r\n ", 5));
  ASSERT_TRUE(log.add("  Model type is wrong.\r\nPC is N27\r\nRadio is X7  ", 5));
  EXPECT_EQ(log.entries().back().text, "Model type is wrong. PC is N27 Radio is X7");
  // The same text in the status bar and in a box at once is one line; a second later it is new.
  ASSERT_TRUE(log.add("Read Data Completed.", 7));
  EXPECT_FALSE(log.add("Read Data Completed.\n", 7));
  EXPECT_TRUE(log.add("Read Data Completed.", 8));
  EXPECT_EQ(log.entries().size(), 3u);
}

TEST(MessageLog, AHugeTextIsCutAtACharacterBoundary) {
  MessageLog log;
  std::string huge = "x";
  for (int i = 0; i < 3000; ++i) huge += "\xE4\xBF\xA1";  // 信
  ASSERT_TRUE(log.add(huge, 1));
  const std::string &kept = log.entries().back().text;
  EXPECT_LE(kept.size(), MessageLog::kMaxLength + 3);
  EXPECT_EQ(kept.substr(kept.size() - 3), "\u2026");
  EXPECT_EQ(kept.substr(kept.size() - 6, 3), "\xE4\xBF\xA1");  // no half character before it
}

TEST(MessageLog, LineTextStartsWithTheLocalTime) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 8;
  t.tm_hour = 10;
  t.tm_min = 54;
  t.tm_sec = 48;
  t.tm_isdst = -1;
  const std::time_t when = std::mktime(&t);
  EXPECT_EQ(MessageLog::lineText({when, "Blocks: 19."}), "10:54:48  Blocks: 19.");
}

}  // namespace
}  // namespace n27
