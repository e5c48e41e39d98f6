#include "features/key_assignment.h"

#include <array>

namespace n27::features {

namespace {

const std::array<Tr, 8> kFunctionNames = {
    Tr{"None", "无"},         Tr{"Squelch Off", "取消静噪"}, Tr{"RRM", "RRM"},
    Tr{"Power Change", "功率切换"}, Tr{"CALL TONE", "呼叫音"},   Tr{"VOX ON / OF", "VOX 开/关"},
    Tr{"TX=RX", "脱网"},       Tr{"TX<->RX", "倒频"},
};

const std::array<std::vector<int>, 4> kKeyCodes = {
    std::vector<int>{0, 1, 2},        // Key Function1, Press
    std::vector<int>{0, 3, 4},        // Key Function2, Press
    std::vector<int>{0, 2, 3, 4, 5},  // Key Function1, Hold
    std::vector<int>{0, 2, 6, 7},     // Key Function2, Hold
};

// The window shows a group per key ("Key Function1") with a "Press" and a "Hold" label.
constexpr Tr kKeyLabels[4] = {
    Tr{"Key Function1 Press", "按键功能1 短按"},
    Tr{"Key Function2 Press", "按键功能2 短按"},
    Tr{"Key Function1 Hold", "按键功能1 长按"},
    Tr{"Key Function2 Hold", "按键功能2 长按"},
};

std::vector<std::string> keyEntries(int key) {
  std::vector<std::string> out;
  for (int code : kKeyCodes[static_cast<std::size_t>(key)]) out.emplace_back(kFunctionNames[static_cast<std::size_t>(code)].get());
  return out;
}

Setting keySetting(int key, const char *name) {
  Setting s{name, "Combo1_" + std::to_string(key), kKeyLabels[key], SettingKind::List, {}, {}};
  s.view = [key](const Workspace &w) {
    const int code = w.working.keys.keys[static_cast<std::size_t>(key)];
    const auto &codes = kKeyCodes[static_cast<std::size_t>(key)];
    int shown = 0;  // 255, a code without a name and a code this key does not offer show "None"
    for (std::size_t i = 0; i < codes.size(); ++i)
      if (codes[i] == code) shown = static_cast<int>(i);
    return ListView(keyEntries(key), shown);
  };
  s.choose = [key](FeatureContext &c, const std::string &text) {
    int i = FindEntry(keyEntries(key), text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.keys.keys[static_cast<std::size_t>(key)] =
        static_cast<int16_t>(kKeyCodes[static_cast<std::size_t>(key)][static_cast<std::size_t>(i)]);
    return ChooseResult{};
  };
  return s;
}

}  // namespace

std::vector<std::string> FunctionNames() {
  std::vector<std::string> out;
  for (const auto &t : kFunctionNames) out.emplace_back(t.get());
  return out;
}

const std::vector<int> &KeyFunctionCodes(int key) { return kKeyCodes.at(static_cast<std::size_t>(key)); }

bool AlertLockedCleanUp(CodeplugData &data) {
  if (data.standAlone.alertLockedFlag != 0) return false;  // the box is not ticked
  bool changed = false;
  for (auto &k : data.keys.keys)
    if (k == kAlertLockedFunctionCode) {
      k = 0;
      changed = true;
    }
  return changed;
}

const Area &KeyAssignmentArea() {
  static const Area area{"key", "FrmKeyAssignm", Tr{"Key Setting", "键设置"},
                         {keySetting(0, "key1press"),
                          keySetting(1, "key2press"),
                          keySetting(2, "key1hold"),
                          keySetting(3, "key2hold")}};
  return area;
}

}  // namespace n27::features
