#include "features/function_setup.h"

#include <algorithm>

#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/record_field.h"
#include "features/key_assignment.h"

namespace n27::features {

namespace {

using F = FunctionSetup;

template <int16_t FunctionSetup::*M>
constexpr FieldRef fn = Member<&CodeplugData::function, M>;
template <int16_t StandAloneValues::*M>
constexpr FieldRef sa = Member<&CodeplugData::standAlone, M>;

constexpr int kTotChoices = 6;  // 30 … 180 s

std::vector<std::string> totList() {
  std::vector<std::string> out;
  for (int i = 1; i <= kTotChoices; ++i) out.push_back(std::to_string(30 * i));
  return out;
}

// A list of language texts.
std::function<std::vector<std::string>()> texts(std::vector<Tr> list) {
  return [list] { return Texts(list); };
}
// The TOT warning list holds the numbers 5..10; a stored number shows its entry, anything
// else (among it 0, warning off) the first entry.
Setting totWarning() {
  Setting s{"totwarning", "Combo1_1", Tr{"TOT Warnig Time[s]", "超时定时器预警[秒]"}, SettingKind::List, {}, {}};
  s.view = [](const Workspace &w) {
    auto entries = NumberList(5, 10);
    return ListView(entries, FindEntry(entries, std::to_string(w.working.function.totWarning)));
  };
  s.choose = [](FeatureContext &c, const std::string &text) {
    auto entries = NumberList(5, 10);
    int i = FindEntry(entries, text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.function.totWarning = static_cast<int16_t>(5 + i);
    return ChooseResult{};
  };
  return s;
}

Setting channelBox(std::string key, std::string control, Tr label, Field field,
                   bool firstWhenAbsent) {
  Setting s{std::move(key), std::move(control), label, SettingKind::List, {}, {}};
  s.view = [field, firstWhenAbsent](const Workspace &w) {
    return ChannelBoxView(w.working, ReadField(field, w.working), firstWhenAbsent);
  };
  s.choose = [field](FeatureContext &c, const std::string &text) {
    auto names = ChannelsInUse(c.ws.working);
    int i = FindEntry(names, text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    field(c.ws.working) = static_cast<int16_t>(std::stoi(names[static_cast<std::size_t>(i)].substr(8)) - 1);
    return ChooseResult{};
  };
  s.choicesHint = "a channel in use: Channel-001 … Channel-128";
  return s;
}

// Alert Locked and Function Locked are held inverted: the flag is 1 while the box is NOT ticked.
Setting invertedCheck(std::string key, std::string control, Tr label, Field field,
                      bool alertLock) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Check, {}, {}};
  s.view = [field](const Workspace &w) { return CheckView(ReadField(field, w.working) == 0); };
  s.choose = [field, alertLock](FeatureContext &c, const std::string &text) {
    auto on = ParseCheck(text);
    if (!on) return ChooseResult::fail(ChooseStatus::NotOffered);
    field(c.ws.working) = *on ? 0 : 1;
    if (alertLock) {
      AlertLockedCleanUp(c.ws.working);
      if (c.keysChanged) c.keysChanged();
    }
    return ChooseResult{};
  };
  return s;
}

// The Call Response box is enabled by default; nothing in the program switches it off.
Setting callResponse() {
  return IndexList("callresponse", "Combo4", Tr{"Call Response", "呼叫响应"},
                   texts({kOff, Tr{"Vibration", "振动"}, Tr{"Chord1", "和弦1"}, Tr{"Chord2", "和弦2"},
                          Tr{"Vibration + Chord1", "振动+和弦1"}, Tr{"Vibration + Chord2", "振动+和弦2"}}),
                   fn<&F::callResponse>);
}

Setting bandExtension() {
  Setting s = CheckBox("bandextension", "Check6", Tr{"Freqency Band Extension", "频段扩展"}, sa<&StandAloneValues::bandExtension>);
  auto view = s.view;
  auto choose = s.choose;
  s.view = [view](const Workspace &w) {
    auto v = view(w);
    v.enabled = BandExtensionAvailable(w);
    return v;
  };
  s.choose = [choose](FeatureContext &c, const std::string &text) {
    if (!BandExtensionAvailable(c.ws)) return ChooseResult::fail(ChooseStatus::Disabled);
    auto r = choose(c, text);
    if (r.ok()) ReLimitTxFre(c.channels);  // the TX limit follows the box
    return r;
  };
  return s;
}

// A switch the program holds only while it runs (no byte of the radio, no field of the file).
Setting runSwitch(std::string key, std::string control, Tr label, bool Workspace::*member) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Check, {}, {}};
  s.view = [member](const Workspace &w) { return CheckView(w.*member); };
  s.choose = [member](FeatureContext &c, const std::string &text) {
    auto on = ParseCheck(text);
    if (!on) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.*member = *on;
    return ChooseResult{};
  };
  s.printed = false;
  s.stored = false;
  return s;
}

Setting notPrinted(Setting s) {
  s.printed = false;
  return s;
}

std::vector<Setting> functionTable() {
  const Tr off = kOff, on = kOn;
  std::vector<Setting> t;
  // The printed settings first, in the order of the printout.
  t.push_back(IndexList("tot", "Combo1_0", Tr{"Time Out Timer(TOT)[s]", "超时定时器(TOT)[秒]"}, totList, fn<&F::tot>));
  t.push_back(totWarning());
  t.push_back(IndexList("squelch", "Combo1_2", Tr{"Squelch Level", "静噪等级"}, [] { return NumberList(0, 9); },
                        fn<&F::squelch>));
  t.push_back(IndexList("voiceprompt", "Combo1_4", Tr{"Voice Prompt", "提示音"}, texts({off, Tr{"English", "英文"}}),
                        fn<&F::voicePrompt>));
  t.push_back(callResponse());
  t.push_back(IndexList("micnoisereduction", "Combo1_5", Tr{"Mic Noise Reduction", "麦克风降噪"},
                        texts({Tr{"Through", "直通"}, Tr{"Low Noise Reduction", "降噪低"},
                               Tr{"High Noise Reduction", "降噪高"}}),
                        fn<&F::micNoiseReduction>));
  t.push_back(IndexList("batterysave", "Combo1_7", Tr{"Battery Save", "省电"},
                        texts({off, Tr{"1:2"}, Tr{"1:4"}, Tr{"1:8"}}), fn<&F::batterySave>));
  t.push_back(invertedCheck("alertlocked", "Check1_4", Tr{"Alert Locked", "报警锁定"},
                            sa<&StandAloneValues::alertLockedFlag>, true));
  t.push_back(bandExtension());
  t.push_back(CheckBox("resetallowed", "Check1_6", Tr{"Reset Allowed", "复位允许"}, fn<&F::resetAllowed>));
  t.push_back(IndexList("tailtype", "Combo1_8", Tr{"Tail Elimination Type", "CTCSS尾音消除方式"},
                        texts({Tr{"Silence", "静默"}, Tr{"120 Degree", "120度"}, Tr{"180 Degree", "180度"},
                               Tr{"240 Degree", "240度"}, Tr{"55Hz"}}),
                        fn<&F::ctcssTailType>));
  t.push_back(IndexList("squelchtail", "Combo1_6",
                        Tr{"Eliminate Squelch Tail When No CTCSS/DCS Signaling", "无信令时尾音消除"},
                        texts({off, Tr{"55.2 Hz"}, Tr{"259.2 Hz"}}), fn<&F::squelchTailNoSig>));
  t.push_back(CheckBox("voxfunction", "Check2_0", Tr{"VOX Function", "声控功能"}, fn<&F::voxFunction>));
  t.push_back(IndexList("voxlevel", "Combo3_0", Tr{"VOX Level", "声控等级"}, OffThen(NumberList(1, 9)), fn<&F::voxLevel>));
  t.push_back(IndexList("voxdelay", "Combo3_1", Tr{"VOX Delay Time[s]", "声控延时[秒]"},
                        [] { return TenthsList(5, 30, 5); }, fn<&F::voxDelay>));
  t.push_back(CheckBox("canceloperation", "Check2_1", Tr{"Cancel Operation", "取消操作"}, fn<&F::cancelOperation>));
  t.push_back(CheckBox("voxproceedtone", "Check2_2", Tr{"VOX Proceed Tone", "声控可进行音调"}, fn<&F::voxProceedTone>));

  // The rest of the window.
  t.push_back(notPrinted(IndexList("dcstailtype", "Combo1_9", Tr{"DCS Tail Elimination Type", "DCS尾音消除方式"},
                                   texts({Tr{"134.4"}, Tr{"55.0"}}), sa<&StandAloneValues::dcsTailType>)));
  t.push_back(notPrinted(channelBox("dwchannel", "Combo1_10", Tr{"DW Channel", "DW信道"}, fn<&F::dwChannel>, false)));
  t.push_back(notPrinted(IndexList("rb", "Combo1_11", Tr{"RB Setting", "RB设置"}, texts({off, on}), fn<&F::rbSetting>)));
  t.push_back(notPrinted(IndexList("scanmode", "Combo1_12", Tr{"Scan Mode", "扫描模式"},
                                   texts({Tr{"TO"}, Tr{"CO"}, Tr{"SE"}}), fn<&F::scanMode>)));
  t.push_back(notPrinted(IndexList("backlight", "Combo1_13", Tr{"Backlight Mode", "背光模式"},
                                   texts({on, off, Tr{"TIME"}}), fn<&F::backlightMode>)));
  t.push_back(notPrinted(channelBox("currentchannel", "Combo6", Tr{"Current Channel", "当前信道"},
                                    sa<&StandAloneValues::currentChannel>, true)));
  t.push_back(notPrinted(CheckBox("beep", "Check1_1", Tr{"Beep", "哗音"}, fn<&F::beep>)));
  t.push_back(notPrinted(CheckBox("channellocked", "Check1_7", Tr{"Channel Locked", "信道锁"},
                                  sa<&StandAloneValues::channelLocked>)));
  t.push_back(notPrinted(invertedCheck("functionlocked", "Check1_5", Tr{"Function Locked", "功能锁定"},
                                       sa<&StandAloneValues::functionLockedFlag>, false)));
  t.push_back(runSwitch("reverse", "Check7_0", Tr{"Reverse", "倒频功能"}, &Workspace::reverseSwitch));
  t.push_back(runSwitch("talkaround", "Check7_1", Tr{"Talk Around", "脱网功能"}, &Workspace::talkAroundSwitch));
  t.push_back(notPrinted(CheckBox("rrm", "Check7_2", Tr{" RRM"}, sa<&StandAloneValues::rrm>)));
  // "VOX" edits the same value as "VOX Function".
  t.push_back(notPrinted(CheckBox("vox", "Check7_3", Tr{"VOX", "VOX开关"}, fn<&F::voxFunction>)));
  t.push_back(notPrinted(CheckBox("lock", "Check7_4", Tr{"Lock", "锁定功能"}, sa<&StandAloneValues::keyLock>)));
  t.push_back(notPrinted(CheckBox("frequencyshow", "Check2_3", Tr{"Frequency Show", "频率显示"}, fn<&F::frequencyShow>)));
  t.push_back(notPrinted(CheckBox("clonemode", "Check3", Tr{"Clone Mode", "复制模式"}, fn<&F::cloneMode>)));
  t.push_back(notPrinted(CheckBox("compander", "Check5", Tr{"Compander", "压扩"}, fn<&F::compander>)));
  return t;
}

}  // namespace

std::string ChannelName(int number) {
  std::string digits = std::to_string(number);
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return "Channel-" + digits;
}

std::vector<std::string> ChannelsInUse(const CodeplugData &data) {
  std::vector<int> numbers;
  for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) {
    const auto &ch = data.channels[static_cast<std::size_t>(k - 1)];
    if (ch.number >= 1 && ch.number <= kMaxChannels) numbers.push_back(ch.number);
  }
  std::sort(numbers.begin(), numbers.end());
  std::vector<std::string> names;
  for (int n : numbers) names.push_back(ChannelName(n));
  return names;
}

SettingView ChannelBoxView(const CodeplugData &data, int storedIndex, bool firstWhenAbsent) {
  auto names = ChannelsInUse(data);
  int shown = -1;
  if (storedIndex >= 0 && storedIndex < kMaxChannels) shown = FindEntry(names, ChannelName(storedIndex + 1));
  if (shown < 0 && firstWhenAbsent && !names.empty()) shown = 0;
  SettingView v = ListView(std::move(names), 0);
  v.shown = shown;
  return v;
}

bool BandExtensionAvailable(const Workspace &ws) { return ws.bandText == kBand400; }

const Area &FunctionSetupArea() {
  static const Area area{"function", "FrmOptFeatures", Tr{"Function Setup", "功能设定"}, functionTable()};
  return area;
}

}  // namespace n27::features
