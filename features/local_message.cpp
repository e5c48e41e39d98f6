#include "features/local_message.h"

#include "codeplug/ansi_text.h"
#include "features/key_filters.h"

namespace n27::features {

namespace {

constexpr Tr kOnlyAscii{"Only characters with a code up to 127 can be stored.", "只能保存编码不大于127的字符。"};

Setting line(std::string key, std::string control, Tr label, FixedText<32> CodeplugData::*member) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Text, {}, {}};
  s.view = [member](const Workspace &w) { return TextView(AnsiToUtf8((w.working.*member).raw()), kMessageLength); };
  s.choose = [member](FeatureContext &c, const std::string &text) {
    return CommitMessageLine(c.ws.working.*member, text);
  };
  s.choicesHint = "up to 32 characters (codes 32..126)";
  return s;
}

}  // namespace

ChooseResult CommitMessageLine(FixedText<32> &lineText, std::string_view text) {
  auto typed = FilterText(text, MessageKey);
  if (!typed) return ChooseResult::fail(ChooseStatus::Invalid, kOnlyAscii.get());
  lineText.assign(*typed);  // cut to 32
  return ChooseResult{};
}

const Area &LocalMessageArea() {
  static const Area area{"message",
                         "FrmEmbMsg",
                         Tr{"Embedded Message", "嵌入信息"},
                         {line("line1", "Text1_0", Tr{"Message Line 1", "信息 1"}, &CodeplugData::message1),
                          line("line2", "Text1_1", Tr{"Message Line 2", "信息 2"}, &CodeplugData::message2)}};
  return area;
}

}  // namespace n27::features
