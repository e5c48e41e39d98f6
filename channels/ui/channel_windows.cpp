#include "channels/ui/channel_windows.h"

#include <memory>

#include "base/paths.h"
#include "base/ui/editor_window.h"
#include "channels/ui/main_window_host.h"
#include "channels/batch_engine.h"
#include "channels/ui/FrmCHBatch.h"
#include "channels/ui/frmCommChInfo.h"

namespace n27 {

namespace {
ChannelWindowHost hostOf(MainWindowHost &main) {
  ChannelWindowHost host;
  host.showChannelMenu = [&main](bool show) { main.ShowCHInfo(show); };
  host.showHelp = [&main](int topic) { main.showHelp(topic); };
  return host;
}
}  // namespace

void RegisterChannelWindows(EditorRegistry &registry) {
  registry.add({window::kChannelGrid,
                [](MainWindowHost &main) { return new frmCommChInfo(main.channels(), hostOf(main)); }});

  // The batch item boxes of this run of the program: read from "BatchFun.ini" at start (the
  // defaults are written when it is missing), written back at every change of a box.
  const std::string folder = WritableFolder();
  auto items = std::make_shared<BatchItems>(LoadBatchItems(folder));
  registry.add({window::kBatchEdit, [items, folder](MainWindowHost &main) {
                  return new FrmCHBatch(main.channels(), *items, folder, hostOf(main));
                }});
}

}  // namespace n27
