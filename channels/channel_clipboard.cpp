#include "channels/channel_clipboard.h"

#include "channels/channel_changes.h"

#include "channels/channel_ops.h"

namespace n27 {

namespace {

void take(const CodeplugData &data, ChannelClipboard &clipboard, int slot) {
  clipboard.filled = true;
  const ChannelRecord *e = data.slot(slot);
  if (e && e->inUse)
    clipboard.channel = *e;
  else
    clipboard.channel.reset();
}

}  // namespace

ChannelEditOutcome SetCHEdit(ChannelContext &ctx, ChannelClipboard &clipboard,
                             ChannelEditCommandKey command, int number) {
  if (number < 1 || number > kMaxChannels) return ChannelEditOutcome::BadChannel;
  CodeplugData &data = ctx.ws.working;
  const int slot = data.findChannel(number);
  // Cut, Paste and Delete are one undo step each (Copy changes nothing, so records none).
  EditStep undoStep(ctx.ws, command == ChannelEditCommandKey::Cut     ? step::CutChannel(number)
                        : command == ChannelEditCommandKey::Paste ? step::PasteChannel(number)
                                                                  : step::DeleteChannel(number));
  switch (command) {
    case ChannelEditCommandKey::Copy:
      take(data, clipboard, slot);
      return ChannelEditOutcome::Done;  // nothing changed: no listener needs to hear it
    case ChannelEditCommandKey::Cut:
      take(data, clipboard, slot);
      if (slot)
        DeleteChannel(ctx, slot);
      else
        RepairScanGroups(ctx);
      break;
    case ChannelEditCommandKey::Paste:
      if (!clipboard.filled) return ChannelEditOutcome::EmptyClipboard;
      if (!clipboard.channel) {
        if (slot) DeleteChannel(ctx, slot);
      } else if (slot) {
        ChannelRecord &e = *data.slot(slot);
        e = *clipboard.channel;
        e.number = static_cast<uint16_t>(number);
      } else if (data.channelCount < kMaxChannels) {
        ChannelRecord &e = data.channels[data.channelCount];
        e = *clipboard.channel;
        e.number = static_cast<uint16_t>(number);
        e.inUse = 1;
        ++data.channelCount;
        // A channel pasted into an empty scan bank becomes that bank's choice, as a typed one.
        RepairScanGroups(ctx);
      }
      break;
    case ChannelEditCommandKey::Delete:
      if (data.channelCount == 1) return ChannelEditOutcome::LastChannel;
      if (slot) DeleteChannel(ctx, slot);
      break;
  }
  undoStep.commit();
  ctx.notifyChannel(number, true);
  return ChannelEditOutcome::Done;
}

}  // namespace n27
