// Numbers far beyond any channel plan in a channel list: the row is skipped with the number
// as it was written, never a wrapped one.

#include <gtest/gtest.h>

#include "channels/channel_csv.h"
#include "channels/channel_test_util.h"

namespace n27 {
namespace {

TEST(CsvHugeNumbers, AFrequencyFarOutOfRangeIsNamedAsWritten) {
  test::ChannelFixture f;
  const auto r = csv::ImportChannelCsv(f.ctx, "Location,Frequency\n1,44073709551621\n", {});
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].reason, "RX frequency 44073709551621.000000 MHz is outside 400–490 MHz");
  EXPECT_EQ(f.ws.working.channelCount, 0);
}

}  // namespace
}  // namespace n27
