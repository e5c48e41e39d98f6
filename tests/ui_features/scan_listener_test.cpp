// The scan window follows the channel list while it is open: a channel created or deleted
// elsewhere shows in its bank lists at once, and the stored choices wait for the user.

#include <QComboBox>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

#include "base/language.h"
#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "features/ui/feature_windows.h"

namespace n27 {
namespace {

QStringList entries(QWidget &w, const char *name) {
  QStringList l;
  auto *combo = w.findChild<QComboBox *>(name);
  for (int i = 0; combo && i < combo->count(); ++i) l << combo->itemText(i);
  return l;
}

TEST(ScanWindowListener, ReshowsBankChoicesAndLeavesTheStoredOnesWhileOpen) {
  SetLanguageIndex(kEnglish);
  Workspace ws;
  NewConfiguration(ws);
  ws.bandText = kBand400;
  SetBandLimits(ws);
  ChannelContext ctx{ws};
  ws.working.channelCount = 0;
  for (int n : {3, 5}) ASSERT_EQ(AddChannel(ctx, 1, n, "446.00000"), EditStatus::Ok);
  ws.working.scan.words[1] = 5;  // bank 1: channel 5

  auto w = std::make_unique<FrmScanInfo>(ctx);
  w->show();
  auto *bank1 = w->findChild<QComboBox *>("Combo1_7");
  ASSERT_NE(bank1, nullptr);
  EXPECT_EQ(entries(*w, "Combo1_7"), (QStringList{"3", "5"}));
  EXPECT_EQ(bank1->currentText(), "5");

  // Deleting channel 5 from the grid: the list loses it, the stored choice stays.
  ChangeChannel(ctx, 1, 5, kFieldRx, "", true);
  EXPECT_EQ(entries(*w, "Combo1_7"), (QStringList{"3"}));
  EXPECT_EQ(ws.working.scan.words[1], 5);
  // A new channel of bank 1 and one of bank 2 appear in their lists.
  ChangeChannel(ctx, 1, 9, kFieldRx, "446", true);
  ChangeChannel(ctx, 1, 20, kFieldRx, "446", true);
  EXPECT_EQ(entries(*w, "Combo1_7"), (QStringList{"3", "9"}));
  EXPECT_EQ(entries(*w, "Combo1_8"), (QStringList{"20"}));
  EXPECT_EQ(ws.working.scan.words[2], 255) << "an open window repairs nothing";

  // Closed, the channel operations repair the choices again.
  w.reset();
  ChangeChannel(ctx, 1, 7, kFieldRx, "446", true);
  EXPECT_EQ(ws.working.scan.words[1], 7) << "the channel remembered last in list order";
  EXPECT_EQ(ws.working.scan.words[2], 4);
}

}  // namespace
}  // namespace n27
