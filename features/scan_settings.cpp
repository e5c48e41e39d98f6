#include "features/scan_settings.h"

#include <array>

#include "channels/channel_ops.h"

namespace n27::features {

namespace {

constexpr Tr kRevertFull[4] = {Tr{"Selected", "选定"}, Tr{"Selected+Talk Back", "选定+当前通话"},
                               Tr{"Priority", "优先"}, Tr{"Priority+Talk Back", "优先+当前通话"}};

// The first position of the full revert list a mode offers, and how many it offers.
int revertFirst(PriorityMode m) { return m == PriorityMode::Selected ? 2 : 0; }
int revertCount(PriorityMode m) { return m == PriorityMode::Fixed ? 4 : 2; }

int16_t &word(CodeplugData &d, int index) { return d.scan.words[static_cast<std::size_t>(index)]; }

// The time lists: 1.0 … 5.0 s in steps of 0.5, the index stored. The look-back times are
// used only with a priority mode (`needsPriority`).
Setting timeList(std::string key, std::string control, Tr label, int index, bool needsPriority) {
  Setting s = IndexList(std::move(key), std::move(control), label, [] { return TenthsList(10, 50, 5); },
                        [index](CodeplugData &d) -> int16_t & { return word(d, index); });
  if (!needsPriority) return s;
  auto view = s.view;
  auto choose = s.choose;
  s.view = [view](const Workspace &w) {
    auto v = view(w);
    v.enabled = ShownPriorityMode(w.working.scan) != PriorityMode::None;
    return v;
  };
  s.choose = [choose](FeatureContext &c, const std::string &text) {
    if (ShownPriorityMode(c.ws.working.scan) == PriorityMode::None) return ChooseResult::fail(ChooseStatus::Disabled);
    return choose(c, text);
  };
  return s;
}

std::vector<std::string> bankEntries(const CodeplugData &d, int bank) {
  std::vector<std::string> out;
  for (int n : FillGroupChannels(d, bank)) out.push_back(std::to_string(n));
  return out;
}

// Priority Channel h: the word is the chosen channel's position in its bank (1..16).
Setting bankChannel(int bank) {
  const std::array<Tr, kScanBanks> labels = {
      Tr{"Priority Channel 1", "优先信道 1"}, Tr{"Priority Channel 2", "优先信道 2"},
      Tr{"Priority Channel 3", "优先信道 3"}, Tr{"Priority Channel 4", "优先信道 4"},
      Tr{"Priority Channel 5", "优先信道 5"}, Tr{"Priority Channel 6", "优先信道 6"},
      Tr{"Priority Channel 7", "优先信道 7"}, Tr{"Priority Channel 8", "优先信道 8"}};
  Setting s{"bank" + std::to_string(bank), "Combo1_" + std::to_string(6 + bank),
            labels[static_cast<std::size_t>(bank - 1)], SettingKind::List, {}, {}};
  const int base = (bank - 1) * kChannelsPerBank;
  s.view = [bank, base](const Workspace &w) {
    auto entries = bankEntries(w.working, bank);
    const int stored = w.working.scan.words[static_cast<std::size_t>(bank)];
    return ListView(entries, FindEntry(entries, std::to_string(stored + base)));
  };
  s.choose = [bank, base](FeatureContext &c, const std::string &text) {
    auto entries = bankEntries(c.ws.working, bank);
    int i = FindEntry(entries, text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    word(c.ws.working, bank) = static_cast<int16_t>(std::stoi(entries[static_cast<std::size_t>(i)]) - base);
    return ChooseResult{};
  };
  s.choicesHint = "a channel in use of channels " + std::to_string(base + 1) + " … " + std::to_string(base + kChannelsPerBank);
  return s;
}

Setting revert() {
  Setting s{"revert", "Combo1_4", Tr{"Revert Channel", "返回信道"}, SettingKind::List, {}, {}};
  s.view = [](const Workspace &w) {
    const PriorityMode m = ShownPriorityMode(w.working.scan);
    return ListView(RevertEntries(m), RevertShown(m, w.working.scan.words[11]));
  };
  s.choose = [](FeatureContext &c, const std::string &text) {
    const PriorityMode m = ShownPriorityMode(c.ws.working.scan);
    int i = FindEntry(RevertEntries(m), text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    word(c.ws.working, 11) = static_cast<int16_t>(RevertStoredValue(m, i));
    return ChooseResult{};
  };
  s.choicesHint = "under None: Selected, Selected+Talk Back; under Fixd: all four; under Selected: "
                  "Priority, Priority+Talk Back";
  return s;
}

std::vector<Setting> scanTable() {
  std::vector<Setting> t;
  t.push_back(IndexList("priority", "Combo1_0", Tr{"Priority", "优先"},
                        [] { return Texts({Tr{"None", "无"}, Tr{"Fixd", "固定"}, Tr{"Selected", "选定"}}); },
                        [](CodeplugData &d) -> int16_t & { return word(d, 0); }));
  for (int h = 1; h <= kScanBanks; ++h) t.push_back(bankChannel(h));
  t.push_back(timeList("lookbacka", "Combo1_2", Tr{"Look Back Time A[s]", "回扫时间A[秒]"}, 9, true));
  t.push_back(timeList("lookbackb", "Combo1_3", Tr{"Look Back Time B[s]", "回扫时间B[秒]"}, 10, true));
  t.push_back(revert());
  t.push_back(timeList("dropoutdelay", "Combo1_5", Tr{"Dropout Delay Time[s]", "扫描接收恢复延迟时间[秒]"}, 12, false));
  t.push_back(timeList("txdwell", "Combo1_6", Tr{"TX Dwell Time[s]", "扫描发射恢复延迟时间[秒]"}, 13, false));
  return t;
}

}  // namespace

PriorityMode ShownPriorityMode(const ScanRecord &scan) {
  const int v = scan.words[0];
  return v >= 0 && v <= 2 ? static_cast<PriorityMode>(v) : PriorityMode::None;
}

std::vector<std::string> RevertEntries(PriorityMode mode) {
  std::vector<std::string> out;
  for (int i = 0; i < revertCount(mode); ++i) out.emplace_back(kRevertFull[revertFirst(mode) + i].get());
  return out;
}

int RevertShown(PriorityMode mode, int stored) {
  if (mode == PriorityMode::Fixed) return stored >= 0 && stored <= 3 ? stored : 0;
  return stored & 1;
}

int RevertStoredValue(PriorityMode mode, int entry) { return revertFirst(mode) + entry; }

const Area &ScanSettingsArea() {
  static const Area area{"scan", "FrmScanInfo", Tr{"Scan Information", "扫描信息"}, scanTable()};
  return area;
}

}  // namespace n27::features
