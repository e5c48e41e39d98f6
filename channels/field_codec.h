#pragma once
// The field codec: every editable channel field has a number, shared by the grid (as its
// column), the detail dialog, batch edit, printing and the command line. ValueToText gives a
// field's text, SetChannelValue takes a text back into the channel entry.
//
// Texts are the current language's (app/language.h); SetChannelValue also understands the
// other language's texts, so a text typed in English still works in the Chinese interface.

#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "channels/channel_context.h"
#include "codeplug/codeplug_data.h"

namespace n27 {

// Field numbers (13 is not used).
inline constexpr int kFieldRx = 1;
inline constexpr int kFieldTx = 2;
inline constexpr int kFieldDecode = 3;
inline constexpr int kFieldEncode = 4;
inline constexpr int kFieldPower = 5;
inline constexpr int kFieldScanAdd = 6;        // "Add" / "Del"
inline constexpr int kFieldOptSignal = 7;
inline constexpr int kFieldPttId = 8;
inline constexpr int kFieldSpacing = 9;
inline constexpr int kFieldSpUnmute = 10;
inline constexpr int kFieldBusyLock = 11;
inline constexpr int kFieldAutodial = 12;
inline constexpr int kFieldWord36 = 14;
inline constexpr int kFieldScanAddCheck = 15;  // scan add as a check box value 0/1
inline constexpr int kFieldReverse = 16;
inline constexpr int kFieldTalkaround = 17;
inline constexpr int kFieldRelation = 18;
inline constexpr int kFieldCall1 = 19;
inline constexpr int kFieldCall2 = 20;
inline constexpr int kFieldScrambleFreq = 21;
inline constexpr int kFieldScramble = 22;
inline constexpr int kFieldCompander = 23;
inline constexpr int kFieldSpecialDcs = 24;
inline constexpr int kFieldCount = 24;

inline constexpr int kScrambleFreqMin = kScrambleFreqLowest;  // Hz
inline constexpr int kScrambleFreqMax = kScrambleFreqHighest;

// Value texts, value order.
inline constexpr Tr kPowerTexts[] = {{"Low", "低"}, {"Middle", "中"}, {"High", "高"}};
inline constexpr Tr kScanAddTexts[] = {{"Del", "删除"}, {"Add", "添加"}};
inline constexpr Tr kOptSignalTexts[] = {{"None", "无"}, Tr{"DTMF"}, Tr{"FleetSync"}};
inline constexpr Tr kPttIdTexts[] = {Tr{"Off", "关"}, Tr{"BOT"}, Tr{"EOT"}, Tr{"Both"}};
inline constexpr Tr kSpacingTexts[] = {{"12.5K(Narrow)", "12.5K(窄带)"}, {"25K(Wide)", "25K(宽带)"}};
inline constexpr Tr kBusyLockTexts[] = {
    {"Off", "关"}, {"Carrier", "载波"}, Tr{"Repeater"}, {"Option Signalling", "可选信令"}};
inline constexpr Tr kOnOffTexts[] = {{"Off", "关"}, {"On", "开"}};
// SP unmute: one table while the channel has no decode tone, another while it has one.
inline constexpr Tr kSpUnmuteNoToneTexts[] = {
    {"Carrier", "BUSY"}, {"Carrier + Opt.Sig.", "载波+可选信令"}, {"Carrier or Opt.Sig", "载波或可选信令"}};
inline constexpr Tr kSpUnmuteToneTexts[] = {
    {"QT/DQT", "REPEAT"}, {"QT/DQT + Opt.Sig.", "QT/DQT +可选信令"}, {"QT/DQT or Opt.Sig", "QT/DQT或可选信令"}};
inline constexpr Tr kRelationTexts[] = {{"And", "与"}, {"Or", "或"}};

// True when the channel has a decode tone (its decode code is not "FFFF").
bool HasDecodeTone(const ChannelRecord &entry);

// The stored value of a field as text:
//   1, 2   ShowFre of the frequency text ("" for no TX frequency);
//   3, 4   ToneCodeText of the code;
//   5..11  the table text of the value (scan add: "Add"/"Del"; SP unmute by tone case);
//   12     value + 1;
//   others the stored number.
// A value outside its table is shown as its number.
std::string ValueToText(const ChannelContext &ctx, const ChannelRecord &entry, int field);

// The texts a list of that field offers, value order: the tone list for 3 and 4, the table
// texts for 5..11 (SP unmute for the given entry's tone case, all three; busy lock-out the
// first three), "And"/"Or" for 18, "1".."16" for 19 and 20. Empty for other fields.
std::vector<std::string> FieldChoices(int field, const ChannelRecord &entry);
// The detail dialog's dependent lists: SP unmute offers only its first entry while optional
// signalling is None; busy lock-out offers "Repeater" only with a decode tone.
std::vector<std::string> SpUnmuteChoices(const ChannelRecord &entry);
std::vector<std::string> BusyLockChoices(const ChannelRecord &entry);
// The busy lock-out value the dialog shows: 0 when the stored value is above what the
// channel allows (3 with decode tone and optional signalling, 2 with one of them, 1 with
// neither).
int ShownBusyLock(const ChannelRecord &entry);

enum class EditStatus {
  Ok,
  Unmatched,     // the text is not one of the field's texts or not a tone; the entry got the
                 // field's fallback (unchanged, or 0/1 where the field has one)
  NotNumeric,    // an integer field got a non-numeric text; nothing changed
  OutOfRange,    // an integer outside the field's values; nothing changed
  NoField,       // not a field number (13, or outside 1..24)
  NoChannel,     // ChangeChannel: the channel has no entry and the edit does not create one
  BadChannel,    // ChangeChannel: group/channel do not give a channel number 1..128
  ListFull,      // AddChannel: the channel list already holds 128 entries
};

// Takes a text into one field of an entry (RX/TX texts must already be display texts from
// CheckFre; ChangeChannel does that). Rules beyond the plain value:
//   2  an empty text clears the TX frequency ("FFFFFFFF", transmit-off mark 1, encode tone
//      Off, reverse off); a frequency sets the transmit-off mark to 0;
//   3  a decode tone also becomes the encode tone when both were Off (and 4 the other way);
//      a text that is no tone keeps the old code;
//   7  None also resets busy lock-out 3 and SP unmute 1/2 to 0;
//   21 only numbers change it, limited to 1300..4100 Hz.
EditStatus SetChannelValue(const ChannelContext &ctx, ChannelRecord &entry, int field,
                           std::string_view text);

}  // namespace n27
