#pragma once
// What the batch window's build and its inputs share: which value list and which check box
// each batch item has, and the items the channel list keeps no value for.

#include "channels/batch_engine.h"

namespace n27::batchui {

// The value list of each item (index of Combo1), -1 for none.
inline constexpr int kListOfItem[kBatchItemCount] = {-1, -1, -1, -1, 2, 3, 4, 5, 6, -1,
                                                     9,  8,  10, -1, -1, -1, -1, -1, -1, -1};
// The check box of each item (index of Check1), -1 for none.
inline constexpr int kCheckOfItem[kBatchItemCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                                      -1, -1, -1, 0,  1,  2,  3,  4,  5,  6};
// Items the channel list has no value for: their boxes are kept (the file holds them) but
// cannot be ticked, and they offer no input.
inline bool noChannelValue(int item) {
  return item == kItemReverseGroup || item == kItemScramble || item == kItemTxInhibit ||
         item == kItemWhisper;
}

}  // namespace n27::batchui
