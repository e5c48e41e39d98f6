#pragma once
// A workspace in a chosen band with a message recorder, for the channel tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/language.h"
#include "channels/channel_context.h"
#include "codeplug/bands.h"
#include "codeplug/workspace.h"

namespace n27::test {

struct ChannelFixture {
  Workspace ws;
  std::vector<std::string> messages;
  ChannelContext ctx{ws, [this](const std::string &text, MessageIcon) { messages.push_back(text); }};

  explicit ChannelFixture(bool band136 = false) {
    SetLanguageIndex(kEnglish);
    ws.bandText = band136 ? kBand136 : kBand400;
    ws.lowerLimit = band136 ? 136.0 : 400.0;
    ws.upperLimit = band136 ? 174.0 : 490.0;
    ws.working.channelCount = 0;
    for (int g = 1; g <= 8; ++g) ws.working.scan.words[g] = 255;
  }
  // The channel with that number; a missing one fails the test (and gives a blank record)
  // rather than crashing it.
  ChannelRecord &channel(int number) {
    if (ChannelRecord *e = ws.working.slot(ws.working.findChannel(number))) return *e;
    ADD_FAILURE() << "channel " << number << " does not exist";
    missing = ChannelRecord{};
    return missing;
  }
  bool exists(int number) const { return ws.working.findChannel(number) != 0; }

 private:
  ChannelRecord missing;
};

}  // namespace n27::test
