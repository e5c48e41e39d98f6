#pragma once
// What changed since the data was last read, opened, created or saved (the workspace's
// reference), channel by channel and field by field
// (the grid marks the CH cell of such a channel, the detail dialog its changed fields), the
// counts a batch edit will produce before it runs, and the undo steps of the channel editors.

#include <array>
#include <cstdint>
#include <string>

#include "channels/batch_engine.h"
#include "channels/channel_context.h"
#include "channels/field_codec.h"
#include "codeplug/edit_history.h"

namespace n27 {

enum class ChannelChange { Same, Added, Changed, Deleted };

// Compares channel `number` of the working data with the saved copy. Texts compare by their
// content (what lies after the terminating NUL does not count), as the modified check does.
ChannelChange CompareWithSaved(const CodeplugData &working, const CodeplugData &saved, int number);
// Field numbers 1..24 whose value differs from the saved channel (index = field number; all
// false when the channel is new, deleted or unchanged).
std::array<bool, kFieldCount + 1> ChangedFields(const CodeplugData &working,
                                                const CodeplugData &saved, int number);
// The marker shown before a changed channel number or field caption, and the tooltip texts.
inline constexpr const char *kChangeMarker = "\u25CF";  // ●
const char *ChangeText(ChannelChange change);  // "Changed since read, opened or saved" …

struct ChannelCounts {
  int created = 0;
  int changed = 0;
  int deleted = 0;
};
// Channels in `after` that `before` lacks, that differ, and that are gone.
ChannelCounts CountChannelChanges(const CodeplugData &before, const CodeplugData &after);

// What a batch edit with these items and inputs would do, found by running it on a copy of
// the configuration with the random source of `seed` (pass the same seed to the real run).
ChannelCounts PreviewBatch(const ChannelContext &ctx, const BatchItems &items,
                           const BatchInput &input, uint64_t seed);
// "Apply will create 20 channels and change 12 (channels 1–32)." in the current language;
// deletions by "clear outside the range" are named too.
std::string BatchQuestion(const ChannelCounts &counts, const BatchRange &range);

// The names of the channel editors' undo steps.
namespace step {
StepCaption EditChannel(int number);     // "Edit Channel 5" (a grid cell)
StepCaption ChannelDetails(int number);  // "Edit Channel 5 Details" (the detail dialog)
StepCaption CutChannel(int number);
StepCaption PasteChannel(int number);
StepCaption DeleteChannel(int number);
StepCaption BatchEdit();                 // "Batch Edit" / "批量编辑"
StepCaption ImportChannels();            // "Import Channels" / "导入信道"
// A feature window's setting: "Function Setup: Squelch Level" (units such as "[s]" left out).
StepCaption Setting(const Tr &window, const Tr &label);
StepCaption ModelInformation();          // "Model Information" / "机型信息"
}  // namespace step

// Undo / Redo of the last step, then every listener hears allChannelsChanged and
// settingsChanged (every channel and every setting may have changed). False when there was
// nothing to take back or repeat.
bool UndoEdit(ChannelContext &ctx);
bool RedoEdit(ChannelContext &ctx);

}  // namespace n27
