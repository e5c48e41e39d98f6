#include "channels/channel_changes.h"

#include <memory>
#include <vector>

#include "base/language.h"

namespace n27 {

namespace {

const ChannelRecord *find(const CodeplugData &data, int number) {
  const int slot = data.findChannel(number);
  return slot ? data.slot(slot) : nullptr;
}

// Every word of the channel, texts by their content.
bool sameChannel(const ChannelRecord &a, const ChannelRecord &b) {
  if (!a.rx.sameText(b.rx) || !a.tx.sameText(b.tx) || !a.decode.sameText(b.decode) ||
      !a.encode.sameText(b.encode))
    return false;
  for (int k : {0, 1, 18, 19})
    if (*a.word(k) != *b.word(k)) return false;
  for (int k = 28; k <= 45; ++k)
    if (*a.word(k) != *b.word(k)) return false;
  return true;
}

// The words each field number shows (beside the texts of fields 1..4).
std::vector<int> wordsOf(int field) {
  switch (field) {
    case kFieldTx: return {19};
    case kFieldPower: return {29};
    case kFieldScanAdd:
    case kFieldScanAddCheck: return {35};
    case kFieldOptSignal: return {39};
    case kFieldPttId: return {32};
    case kFieldSpacing: return {30};
    case kFieldSpUnmute: return {28};
    case kFieldBusyLock: return {31};
    case kFieldAutodial: return {33};
    case kFieldWord36: return {36};
    case kFieldReverse: return {37};
    case kFieldTalkaround: return {38};
    case kFieldRelation: return {40};
    case kFieldCall1: return {41};
    case kFieldCall2: return {42};
    case kFieldScrambleFreq: return {44};
    case kFieldScramble: return {43};
    case kFieldCompander: return {45};
    case kFieldSpecialDcs: return {34};
    default: return {};
  }
}

StepCaption numbered(const char *english, const char *chinese, int number, const char *chineseAfter = "") {
  const std::string n = std::to_string(number);
  return {std::string(english) + " " + n, std::string(chinese) + n + chineseAfter};
}

// "Time Out Timer(TOT)[s]" → "Time Out Timer(TOT)"; " RRM" → "RRM".
std::string plainLabel(std::string text) {
  if (!text.empty() && text.back() == ']') {
    const auto open = text.rfind('[');
    if (open != std::string::npos && open > 0) text.erase(open);
  }
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

ChannelChange CompareWithSaved(const CodeplugData &working, const CodeplugData &saved, int number) {
  const ChannelRecord *now = find(working, number);
  const ChannelRecord *was = find(saved, number);
  if (!now && !was) return ChannelChange::Same;
  if (!was) return ChannelChange::Added;
  if (!now) return ChannelChange::Deleted;
  return sameChannel(*now, *was) ? ChannelChange::Same : ChannelChange::Changed;
}

std::array<bool, kFieldCount + 1> ChangedFields(const CodeplugData &working,
                                                const CodeplugData &saved, int number) {
  std::array<bool, kFieldCount + 1> out{};
  const ChannelRecord *now = find(working, number);
  const ChannelRecord *was = find(saved, number);
  if (!now || !was) return out;
  out[kFieldRx] = !now->rx.sameText(was->rx);
  out[kFieldTx] = !now->tx.sameText(was->tx);
  out[kFieldDecode] = !now->decode.sameText(was->decode);
  out[kFieldEncode] = !now->encode.sameText(was->encode);
  for (int field = 1; field <= kFieldCount; ++field)
    for (int w : wordsOf(field))
      if (*now->word(w) != *was->word(w)) out[static_cast<std::size_t>(field)] = true;
  return out;
}

const char *ChangeText(ChannelChange change) {
  static constexpr Tr kAdded{"Added since read, opened or saved", "读取、打开或保存后新增"};
  static constexpr Tr kChanged{"Changed since read, opened or saved", "读取、打开或保存后已修改"};
  static constexpr Tr kDeleted{"Deleted since read, opened or saved", "读取、打开或保存后已删除"};
  switch (change) {
    case ChannelChange::Added: return kAdded.get();
    case ChannelChange::Changed: return kChanged.get();
    case ChannelChange::Deleted: return kDeleted.get();
    default: return "";
  }
}

ChannelCounts CountChannelChanges(const CodeplugData &before, const CodeplugData &after) {
  ChannelCounts counts;
  for (int number = 1; number <= kMaxChannels; ++number) {
    const ChannelRecord *was = find(before, number);
    const ChannelRecord *now = find(after, number);
    if (now && !was) ++counts.created;
    else if (was && !now) ++counts.deleted;
    else if (was && now && !sameChannel(*was, *now)) ++counts.changed;
  }
  return counts;
}

ChannelCounts PreviewBatch(const ChannelContext &ctx, const BatchItems &items,
                           const BatchInput &input, uint64_t seed) {
  // The copy is large (the whole configuration): keep it off the stack.
  auto copy = std::make_unique<Workspace>(ctx.ws);
  ChannelContext quiet(*copy);
  quiet.decTable = ctx.decTable;
  BatchInput in = input;
  ApplyBatch(quiet, items, in, SeededRandom(seed));
  return CountChannelChanges(ctx.ws.working, copy->working);
}

std::string BatchQuestion(const ChannelCounts &c, const BatchRange &range) {
  // Only the counts that are not zero are named; the first carries the word "channel(s)".
  const bool chinese = LanguageIndex() == 2;
  std::vector<std::string> parts;
  auto part = [&](int count, const char *verb, const char *verbZh) {
    if (count <= 0) return;
    const std::string n = std::to_string(count);
    if (chinese)
      parts.push_back(verbZh + (" " + n) + (parts.empty() ? " 个信道" : " 个"));
    else
      parts.push_back(verb + (" " + n) + (parts.empty() ? (count == 1 ? " channel" : " channels") : ""));
  };
  part(c.created, "create", "新建");
  part(c.changed, "change", "修改");
  part(c.deleted, "delete", "删除");
  const std::string channels = std::to_string(range.from) + "–" + std::to_string(range.to);
  if (chinese) {
    if (parts.empty()) return "应用不会更改任何信道（信道 " + channels + "）。";
    std::string text = "应用将";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? "、" : "") + parts[i];
    return text + "（信道 " + channels + "）。";
  }
  if (parts.empty()) return "Apply will change no channel (channels " + channels + ").";
  std::string text = "Apply will " + parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) text += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
  return text + " (channels " + channels + ").";
}

namespace step {
StepCaption EditChannel(int n) { return numbered("Edit Channel", "编辑信道", n); }
StepCaption ChannelDetails(int n) { return {"Edit Channel " + std::to_string(n) + " Details", "编辑信道" + std::to_string(n) + "详细信息"}; }
StepCaption CutChannel(int n) { return numbered("Cut Channel", "剪切信道", n); }
StepCaption PasteChannel(int n) { return numbered("Paste Channel", "粘贴信道", n); }
StepCaption DeleteChannel(int n) { return numbered("Delete Channel", "删除信道", n); }
StepCaption BatchEdit() { return {"Batch Edit", "批量编辑"}; }
StepCaption ImportChannels() { return {"Import Channels", "导入信道"}; }
StepCaption Setting(const Tr &window, const Tr &label) {
  std::string en = plainLabel(label.at(1)), zh = plainLabel(label.at(2));
  StepCaption c{window.at(1), window.at(2)};
  if (!en.empty()) c.english += ": " + en;
  if (!zh.empty()) c.chinese += "：" + zh;
  return c;
}
StepCaption ModelInformation() { return {"Model Information", "机型信息"}; }
}  // namespace step

bool UndoEdit(ChannelContext &ctx) {
  if (!Undo(ctx.ws)) return false;
  ctx.notifyAll();
  ctx.notifySettings();
  return true;
}

bool RedoEdit(ChannelContext &ctx) {
  if (!Redo(ctx.ws)) return false;
  ctx.notifyAll();
  ctx.notifySettings();
  return true;
}

}  // namespace n27
