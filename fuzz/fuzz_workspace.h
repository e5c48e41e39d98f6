#pragma once
// The configuration a harness starts from: a new one (no default file read), in a band when
// one is named, with channels of bank 1 at the numbers given.

#include <string>
#include <utility>
#include <vector>

#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"

namespace n27::fuzz {

inline Workspace NewWorkspace(const std::vector<std::pair<int, std::string>> &channels = {},
                              const std::string &bandText = {}) {
  Workspace ws;
  ws.loadDefaultFile = false;
  if (!bandText.empty()) ws.bandText = bandText;
  NewConfiguration(ws);
  ChannelContext ctx(ws);
  for (const auto &[number, rx] : channels) AddChannel(ctx, 1, number, rx);
  return ws;
}

}  // namespace n27::fuzz
