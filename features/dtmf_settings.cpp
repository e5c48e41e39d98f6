#include "features/dtmf_settings.h"

#include <algorithm>
#include <array>

#include "base/messages.h"
#include "codeplug/record_field.h"
#include "features/key_filters.h"

namespace n27::features {

namespace {

using D = DtmfSettings;

template <int16_t DtmfSettings::*M>
constexpr FieldRef dt = Member<&CodeplugData::dtmf, M>;

constexpr Tr kTooLong{"Too many characters.", "字符太多。"};
constexpr Tr kNotAllowed{"Character not allowed here.", "不允许的字符。"};

// A box of DTMF characters stored as typed in a fixed text of N characters.
template <std::size_t N>
Setting codeBox(std::string key, std::string control, Tr label, FixedText<N> D::*member) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Text, {}, {}};
  s.view = [member](const Workspace &w) { return TextView((w.working.dtmf.*member).text(), static_cast<int>(N)); };
  s.choose = [member](FeatureContext &c, const std::string &text) {
    auto typed = FilterText(text, DtmfCodeKey);
    if (!typed) return ChooseResult::fail(ChooseStatus::Invalid, kNotAllowed.get());
    if (typed->size() > N) return ChooseResult::fail(ChooseStatus::Invalid, kTooLong.get());
    (c.ws.working.dtmf.*member).assign(*typed);
    return ChooseResult{};
  };
  s.choicesHint = "up to " + std::to_string(N) + " of 0-9 A-D * #";
  return s;
}

// Group Code: "Off" stores 255, a character its digit value.
Setting groupCode() {
  static const std::array<const char *, 6> chars = {"A", "B", "C", "D", "#", "*"};
  Setting s{"groupcode", "Combo2_0", Tr{"Group Code", "组呼码"}, SettingKind::List, {}, {}};
  auto entries = [] {
    std::vector<std::string> v{kOff.get()};
    v.insert(v.end(), chars.begin(), chars.end());
    return v;
  };
  s.view = [entries](const Workspace &w) {
    const int stored = w.working.dtmf.groupCode;
    int shown = 0;
    for (std::size_t i = 0; i < chars.size(); ++i)
      if (DtmfDigitValue(chars[i][0]) == stored) shown = static_cast<int>(i) + 1;
    return ListView(entries(), shown);
  };
  s.choose = [entries](FeatureContext &c, const std::string &text) {
    int i = FindEntry(entries(), text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.dtmf.groupCode = static_cast<int16_t>(i == 0 ? 255 : *DtmfDigitValue(chars[static_cast<std::size_t>(i - 1)][0]));
    return ChooseResult{};
  };
  return s;
}

Setting selfId() {
  Setting s{"selfid", "Text1_1", Tr{"Self ID", "自身ID码"}, SettingKind::Text, {}, {}};
  s.view = [](const Workspace &w) { return TextView(w.working.dtmf.selfId.text(), kSelfIdLength); };
  s.choose = [](FeatureContext &c, const std::string &text) { return CommitSelfId(c.ws.working, text); };
  s.choicesHint = "three digits";
  return s;
}

Setting memory(int number) {
  static const std::array<std::string, kMemoryNumbers> english = [] {
    std::array<std::string, kMemoryNumbers> a;
    for (int i = 0; i < kMemoryNumbers; ++i) a[static_cast<std::size_t>(i)] = "Autodial Memory " + std::to_string(i + 1);
    return a;
  }();
  static const std::array<std::string, kMemoryNumbers> chinese = [] {
    std::array<std::string, kMemoryNumbers> a;
    for (int i = 0; i < kMemoryNumbers; ++i) a[static_cast<std::size_t>(i)] = "自动拨号存储器 " + std::to_string(i + 1);
    return a;
  }();
  const auto i = static_cast<std::size_t>(number - 1);
  Setting s{"memory" + std::to_string(number), "MSFlexGrid1", Tr{english[i].c_str(), chinese[i].c_str()},
            SettingKind::Text, {}, {}};
  s.view = [number](const Workspace &w) { return TextView(MemoryCode(w.working, number), 16); };
  s.choose = [number](FeatureContext &c, const std::string &text) {
    auto typed = FilterText(text, DtmfCodeKey);
    if (!typed) return ChooseResult::fail(ChooseStatus::Invalid, kNotAllowed.get());
    if (typed->size() > 16) return ChooseResult::fail(ChooseStatus::Invalid, kTooLong.get());
    UpdateMemoryList(c.ws.working, number, *typed);
    return ChooseResult{};
  };
  s.choicesHint = "up to 16 of 0-9 A-D * #; empty clears the memory";
  s.row = number;
  s.column = 1;
  return s;
}

std::vector<Setting> dtmfTable() {
  const Tr off = kOff;
  std::vector<Setting> t;
  // Encode tab.
  t.push_back(IndexList("speed", "Combo1_0", Tr{"DTMF Speed[ms]", "DTMF 速率[毫秒]"}, [] { return NumberList(50, 500, 50); },
                        dt<&D::speed>));
  t.push_back(IndexList("firstdigittime", "Combo1_1", Tr{"First Digit Time[ms]", "首位数码时间[毫秒]"},
                        OffThen({"100", "500", "1000"}), dt<&D::firstDigitTime>));
  t.push_back(IndexList("firstdigitdelay", "Combo1_2", Tr{"First Digit Delay[ms]", "首位数码延迟[毫秒]"},
                        OffThen(NumberList(100, 2500, 100)), dt<&D::firstDigitDelay>));
  t.push_back(IndexList("starhashtone", "Combo1_3", Tr{"* and # Tone[ms]", "*和#音[毫秒]"},
                        OffThen({"100", "500", "1000"}), dt<&D::starHashTone>));
  t.push_back(IndexList("dcode", "Combo1_4", Tr{"D Code Assignment", "D键设定"},
                        [] {
                          std::vector<std::string> v{Tr{"D Code", "D 码"}.get()};
                          for (int i = 1; i <= 16; ++i) v.push_back(std::to_string(i) + "s");
                          return v;
                        },
                        dt<&D::dCode>));
  t.push_back(CheckBox("sidetone", "Check1", Tr{"DTMF Side Tone", "DTMF侧音"}, dt<&D::sideTone>));
  t.push_back(IndexList("pttid", "Combo1_6", Tr{"PTT ID"},
                        [off] { return Texts({off, Tr{"BOT", "发射开始"}, Tr{"EOT", "发射结束"}, Tr{"Both", "两者"}}); },
                        dt<&D::pttId>));
  t.push_back(codeBox("botcode", "Text1_0", Tr{"Begin of TX code", "传送ID信号的开始(BOT)"}, &D::botCode));
  t.push_back(codeBox("eotcode", "Text1_2", Tr{"End of TX code", "传送ID信号的结束(EOT)"}, &D::eotCode));
  // Decode tab.
  t.push_back(selfId());
  t.push_back(groupCode());
  t.push_back(IndexList("autoresettimer", "Combo2_1", Tr{"Auto Reset Timer[s]", "自动复位时间[秒]"},
                        OffThen(NumberList(1, 15)), dt<&D::autoResetTimer>));
  t.push_back(IndexList("callalert", "Combo2_2", Tr{"Call Alert", "呼叫告警"},
                        [off] { return Texts({off, Tr{"Normal", "常规"}, Tr{"Continuous", "连续"}}); },
                        dt<&D::callAlert>));
  t.push_back(IndexList("decodingresponse", "Combo2_3", Tr{"Decoding Response", "解码响应"},
                        [off] {
                          return Texts({off, Tr{"Shock", "震动"}, Tr{"Beep Tone", "提示音"},
                                        Tr{"Beep Tone & Response", "提示音+回复"}});
                        },
                        dt<&D::decodingResponse>));
  t.push_back(CheckBox("cleartotranspond", "Check2", Tr{"Clear to Transpond", "清除自动应答"}, dt<&D::clearToTranspond>));
  t.push_back(codeBox("stuncode", "Text2", Tr{"Stun Code", "遥毙码"}, &D::stunCode));
  t.push_back(IndexList("stuntype", "Combo3", Tr{"Stun Type", "遥毙类型"},
                        [] { return Texts({Tr{"TX Inhibit", "发射抑制"}, Tr{"TX/RX Inhibit", "发射/接收 抑制"}}); },
                        dt<&D::stunType>));
  t.push_back(codeBox("stun", "Text1_4", Tr{"Stun", "遥晕"}, &D::stunDecode));
  t.push_back(codeBox("kill", "Text1_5", Tr{"Kill", "遥毙"}, &D::killDecode));
  // Autodial Memory tab.
  for (int n = 1; n <= kMemoryNumbers; ++n) t.push_back(memory(n));
  return t;
}

}  // namespace

std::optional<int> DtmfDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'D') return c - 'A' + 10;
  if (c == '*') return 14;
  if (c == '#') return 15;
  return std::nullopt;
}

std::string DtmfToHexText(std::string_view code) {
  std::string out(code);
  for (char &c : out) c = c == '*' ? 'E' : c == '#' ? 'F' : c;
  return out;
}

std::string HexTextToDtmf(std::string_view hexText) {
  std::string out(hexText);
  for (char &c : out) c = c == 'E' ? '*' : c == 'F' ? '#' : c;
  return out;
}

std::string MemoryCode(const CodeplugData &data, int number) {
  const int count = std::min<int>(data.dtmfCodeCount, kMaxDtmfCodes);
  for (int i = 0; i < count; ++i)
    if (data.dtmfCodes[static_cast<std::size_t>(i)].position == number)
      return HexTextToDtmf(data.dtmfCodes[static_cast<std::size_t>(i)].code.raw());
  return {};
}

void UpdateMemoryList(CodeplugData &data, int number, std::string_view code) {
  const int count = std::min<int>(data.dtmfCodeCount, kMaxDtmfCodes);
  std::string hex = DtmfToHexText(code.substr(0, 16));
  for (int i = 0; i < count; ++i) {
    auto &entry = data.dtmfCodes[static_cast<std::size_t>(i)];
    if (entry.position != number) continue;
    if (hex.empty()) {
      for (int j = i; j + 1 < count; ++j)
        data.dtmfCodes[static_cast<std::size_t>(j)] = data.dtmfCodes[static_cast<std::size_t>(j + 1)];
      data.dtmfCodeCount = static_cast<uint16_t>(count - 1);
    } else {
      entry.code.assign(hex);
    }
    return;
  }
  if (hex.empty() || count >= kMaxDtmfCodes) return;
  auto &entry = data.dtmfCodes[static_cast<std::size_t>(count)];
  entry.position = static_cast<uint16_t>(number);
  entry.code.assign(hex);
  data.dtmfCodeCount = static_cast<uint16_t>(count + 1);
}

ChooseResult CommitSelfId(CodeplugData &data, std::string_view text) {
  auto digits = FilterText(text, DigitKey);
  if (!digits || digits->size() != static_cast<std::size_t>(kSelfIdLength)) {
    data.dtmf.selfId.assign("000");
    return ChooseResult::fail(ChooseStatus::Invalid, msg::kInvalidData.get());
  }
  data.dtmf.selfId.assign(*digits);
  return ChooseResult{};
}

const Area &DtmfArea() {
  static const Area area{"dtmf", "FrmDTMF", Tr{"DTMF", "DTMF(双音多频)"}, dtmfTable()};
  return area;
}

}  // namespace n27::features
