#include "codeplug/codeplug_data.h"

namespace n27 {

uint16_t *ChannelRecord::word(int k) {
  switch (k) {
    case 0: return &number;
    case 1: return &inUse;
    case 18: return &w18;
    case 19: return &txOff;
    case 28: return &spUnmute;
    case 29: return &power;
    case 30: return &spacing;
    case 31: return &busyLock;
    case 32: return &pttId;
    case 33: return &autodial;
    case 34: return &specialDcs;
    case 35: return &scanAdd;
    case 36: return &w36;
    case 37: return &reverse;
    case 38: return &talkaround;
    case 39: return &optSignal;
    case 40: return &relation;
    case 41: return &call1;
    case 42: return &call2;
    case 43: return &scramble;
    case 44: return &scrambleFreq;
    case 45: return &compander;
    default: return nullptr;
  }
}

const uint16_t *ChannelRecord::word(int k) const { return const_cast<ChannelRecord *>(this)->word(k); }

int CodeplugData::findChannel(int number) const {
  for (int k = 1; k <= channelCount && k <= kMaxChannels; ++k)
    if (channels[k - 1].number == number) return k;
  return 0;
}

}  // namespace n27
