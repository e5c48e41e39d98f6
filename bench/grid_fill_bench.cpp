// How long the channel window takes to show 128 channels: opening it on a full channel list,
// and refilling it after a read has replaced every channel (what the user waits for).

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchmark.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/ui/frmCommChInfo.h"
#include "codeplug/bands.h"
#include "codeplug/workspace.h"

namespace n27::bench {
namespace {

constexpr int kRuns = 20;

// 128 channels with tones of every kind, some without TX.
void fillChannels(ChannelContext &ctx) {
  const char *tones[] = {"67.0", "D023N", "D754I", "123.4", "None"};
  for (int n = 1; n <= kMaxChannels; ++n) {
    char rx[16];
    std::snprintf(rx, sizeof rx, "%03d.%05d", 400 + n % 90, (n * 625) % 100000);
    AddChannel(ctx, 1, n, rx);
    ChangeChannel(ctx, 1, n, kFieldDecode, tones[n % 5], false);
    if (n % 7 == 0) ChangeChannel(ctx, 1, n, kFieldTx, "", false);
  }
}

int RunGridFillBench() {
  Workspace ws;
  ws.bandText = kBand400;
  SetBandLimits(ws);
  ChannelContext ctx(ws);
  fillChannels(ctx);

  std::vector<double> opens, refills;
  for (int i = 0; i < kRuns; ++i) {
    QElapsedTimer t;
    t.start();
    frmCommChInfo window(ctx);
    window.show();
    QApplication::processEvents();
    opens.push_back(t.nsecsElapsed() / 1e6);

    t.restart();
    ctx.notifyAll();  // what a read or a batch edit does: every row refilled
    QApplication::processEvents();
    refills.push_back(t.nsecsElapsed() / 1e6);
  }
  std::printf("  channels            %d\n", ws.working.channelCount);
  std::printf("  open window + fill  median %.2f ms, worst %.2f ms\n", Median(opens),
              *std::max_element(opens.begin(), opens.end()));
  std::printf("  refill 128 rows     median %.2f ms, worst %.2f ms (limit 100 ms)\n",
              Median(refills), *std::max_element(refills.begin(), refills.end()));
  return Median(refills) < 100.0 ? 0 : 1;
}

}  // namespace
N27_BENCHMARK("grid-fill", "fill the channel grid with 128 channels", RunGridFillBench);
}  // namespace n27::bench
