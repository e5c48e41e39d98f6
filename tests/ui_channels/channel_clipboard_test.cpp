// The channel clipboard on the channel list, without the window.

#include "channels/channel_clipboard.h"

#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "codeplug/bands.h"

namespace n27 {
namespace {

class ChannelClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws.bandText = kBand400;
    SetBandLimits(ws);
  }
  Workspace ws;
  ChannelContext ctx{ws};
  ChannelClipboard clipboard;
};

TEST_F(ChannelClipboardTest, PasteKeepsTheTargetNumberAndRepairsTheScanBank) {
  AddChannel(ctx, 1, 2, "440.00000");
  ws.working.channels[0].power = 2;
  ws.working.scan.words[3] = kNoBankChannel;  // bank 3 (channels 33..48) has no channel
  ASSERT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Paste, 35),
            ChannelEditOutcome::EmptyClipboard);

  SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Copy, 2);
  EXPECT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Paste, 35), ChannelEditOutcome::Done);
  int slot = ws.working.findChannel(35);
  ASSERT_NE(slot, 0);
  EXPECT_EQ(ws.working.slot(slot)->power, 2);
  EXPECT_EQ(ws.working.slot(slot)->rx.text(), "44000000");
  EXPECT_EQ(ws.working.channelCount, 2);
  // The pasted channel becomes bank 3's choice (position 3 within the bank).
  EXPECT_EQ(ws.working.scan.words[3], 3);

  // Pasting over an existing channel replaces it in place.
  ws.working.slot(ws.working.findChannel(2))->power = 0;
  SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Copy, 2);
  SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Paste, 35);
  EXPECT_EQ(ws.working.findChannel(35), slot);
  EXPECT_EQ(ws.working.slot(slot)->power, 0);
}

TEST_F(ChannelClipboardTest, CutAndDeleteOfTheLastChannel) {
  AddChannel(ctx, 1, 20, "440.00000");
  EXPECT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Delete, 20),
            ChannelEditOutcome::LastChannel);
  EXPECT_EQ(ws.working.channelCount, 1);
  // Cut is allowed, and the bank choice that pointed at the channel goes with it.
  EXPECT_EQ(ws.working.scan.words[2], 4);
  EXPECT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Cut, 20), ChannelEditOutcome::Done);
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_EQ(ws.working.scan.words[2], kNoBankChannel);
  EXPECT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Copy, 0), ChannelEditOutcome::BadChannel);
  EXPECT_EQ(SetCHEdit(ctx, clipboard, ChannelEditCommandKey::Paste, 129), ChannelEditOutcome::BadChannel);
}

}  // namespace
}  // namespace n27
