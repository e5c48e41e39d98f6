#include "channels/channel_ops.h"

#include <algorithm>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/messages.h"
#include "base/paths.h"
#include "channels/channel_changes.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

int channelNumber(int group, int channel) {
  if (group < 1 || channel < 1 || channel > kChannelsPerGroup) return 0;
  long number = static_cast<long>(group - 1) * kChannelsPerGroup + channel;
  return number <= kMaxChannels ? static_cast<int>(number) : 0;
}


}  // namespace

EditStatus ChangeChannel(ChannelContext &ctx, int group, int channel, int field,
                         std::string_view text, bool refresh) {
  int number = channelNumber(group, channel);
  if (number == 0) return EditStatus::BadChannel;
  if (field < 1 || field > kFieldCount || field == 13) return EditStatus::NoField;
  // One undo step, unless the caller's step (detail dialog, batch, paste …) is open.
  EditStep undoStep(ctx.ws, step::EditChannel(number));
  std::string value(text);
  if ((field == kFieldRx || field == kFieldTx) && !value.empty())
    value = CheckFre(ctx, value, field, true);

  CodeplugData &data = ctx.ws.working;
  EditStatus status;
  if (int slot = data.findChannel(number)) {
    if (field == kFieldRx && value.empty()) {
      DeleteChannel(ctx, slot);
      status = EditStatus::Ok;
    } else {
      status = SetChannelValue(ctx, *data.slot(slot), field, value);
    }
  } else if (field == kFieldRx && !value.empty()) {
    status = AddChannel(ctx, group, channel, value);
  } else {
    return EditStatus::NoChannel;
  }
  undoStep.commit();  // recorded before the windows redraw from the notification
  ctx.notifyChannel(number, refresh);
  return status;
}

EditStatus AddChannel(ChannelContext &ctx, int group, int channel, std::string_view rxText) {
  int number = channelNumber(group, channel);
  if (number == 0) return EditStatus::BadChannel;
  CodeplugData &data = ctx.ws.working;
  if (data.channelCount >= kMaxChannels) return EditStatus::ListFull;
  ChannelRecord &e = data.channels[data.channelCount];
  e.number = static_cast<uint16_t>(number);
  e.inUse = 1;
  e.rx.assign(SaveFre(ctx, rxText));
  e.w18 = 0;
  e.tx.assign(SaveFre(ctx, FormatLimitedFre(ctx, rxText, 2)));
  e.txOff = 1;
  e.decode.assign(kToneOff);
  e.encode.assign(kToneOff);
  e.spUnmute = 0;
  e.power = 1;
  e.spacing = 1;
  e.busyLock = 0;
  e.pttId = 0;
  e.autodial = 0;
  e.specialDcs = 0;
  e.scanAdd = 1;
  e.w36 = 0;
  e.reverse = 0;
  e.talkaround = 0;
  e.optSignal = 0;
  e.relation = 0;
  e.call1 = 0;
  e.call2 = 0;
  // The slot may still hold a deleted channel's scramble and compander: a new channel starts
  // with them off.
  e.scramble = 0;
  e.scrambleFreq = 0;
  e.compander = 0;
  ++data.channelCount;
  RepairScanGroups(ctx);
  return EditStatus::Ok;
}

bool DeleteChannel(ChannelContext &ctx, int position) {
  CodeplugData &data = ctx.ws.working;
  if (position < 1 || position > data.channelCount || position > kMaxChannels) return false;
  for (int k = position; k < data.channelCount; ++k) data.channels[k - 1] = data.channels[k];
  --data.channelCount;
  RepairScanGroups(ctx);
  return true;
}

void RepairScanGroups(ChannelContext &ctx) {
  if (ctx.scanWindowReshows()) return;
  CodeplugData &data = ctx.ws.working;
  for (int g = 1; g <= kScanBanks; ++g) {
    int16_t &choice = data.scan.words[g];
    int remembered = kNoBankChannel;
    bool kept = false;
    for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) {
      int number = data.channels[k - 1].number;
      if (number < 1 || BankOf(number) != g) continue;
      remembered = PositionInBank(number);
      if (number == (g - 1) * kChannelsPerBank + choice) {
        kept = true;
        break;
      }
    }
    if (!kept) choice = static_cast<int16_t>(remembered);
  }
}

std::vector<int> FillGroupChannels(const CodeplugData &data, int bank) {
  std::vector<int> numbers;
  for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) {
    int number = data.channels[k - 1].number;
    if (number >= 1 && BankOf(number) == bank) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

void ReLimitTxFre(ChannelContext &ctx) {
  CodeplugData &data = ctx.ws.working;
  for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) {
    ChannelRecord &e = data.channels[k - 1];
    std::string shown = ShowFre(ctx, e.tx.text());
    if (IsNumeric(shown)) e.tx.assign(SaveFre(ctx, FormatLimitedFre(ctx, shown, 2)));
  }
  ctx.notifyAll();
}

bool ReadDecTable(ChannelContext &ctx) {
  return ReadDecTable(ctx, JoinPath(ctx.ws.programFolder, kDecTableFile));
}

bool ReadDecTable(ChannelContext &ctx, const std::string &path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->size() < static_cast<std::size_t>(kDecTableSize)) {
    ctx.show(msg::kReadDecTableError, MessageIcon::None);
    return false;
  }
  for (int i = 1; i <= kDecTableSize; ++i) {
    uint16_t v = static_cast<uint8_t>((*bytes)[i - 1]);
    ctx.decTable[i - 1] = static_cast<uint16_t>(i > 50 ? v + 256 : v);
  }
  return true;
}

}  // namespace n27
