#include "features/setting.h"

#include <cctype>

#include "base/ascii_case.h"
#include "channels/channel_context.h"

namespace n27::features {

FeatureContext::FeatureContext(ChannelContext &c) : channels(c), ws(c.ws) {}

std::string SettingView::shownText() const {
  switch (kind) {
    case SettingKind::List:
      return shown >= 0 && shown < static_cast<int>(entries.size()) ? entries[static_cast<std::size_t>(shown)]
                                                                     : std::string();
    case SettingKind::Check:
      return checked ? kOn.get() : kOff.get();
    case SettingKind::Text:
      return text;
  }
  return {};
}

namespace {
}  // namespace

const Setting *Area::find(std::string_view k) const {
  for (const auto &s : settings)
    if (AsciiEqualNoCase(s.key, k)) return &s;
  return nullptr;
}

std::vector<std::string> Texts(const std::vector<Tr> &list) {
  std::vector<std::string> out;
  out.reserve(list.size());
  for (const auto &t : list) out.emplace_back(t.get());
  return out;
}

std::vector<std::string> NumberList(int first, int last, int step) {
  std::vector<std::string> out;
  if (step > 0 && last >= first) out.reserve(static_cast<std::size_t>((last - first) / step + 1));
  for (int v = first; v <= last; v += step) out.push_back(std::to_string(v));
  return out;
}

int NumberEntry(std::string_view text, int first, int last) {
  // Digits only, no leading zero, at most ten of them: nothing else is how a number is listed.
  if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0')) return -1;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value >= first && value <= last ? static_cast<int>(value - first) : -1;
}

std::vector<std::string> TenthsList(int firstTenths, int lastTenths, int stepTenths) {
  std::vector<std::string> out;
  for (int v = firstTenths; v <= lastTenths; v += stepTenths)
    out.push_back(std::to_string(v / 10) + "." + std::to_string(v % 10));
  return out;
}

std::function<std::vector<std::string>()> OffThen(std::vector<std::string> rest) {
  return [rest] {
    std::vector<std::string> v{kOff.get()};
    v.insert(v.end(), rest.begin(), rest.end());
    return v;
  };
}

SettingView ListView(std::vector<std::string> entries, int index) {
  SettingView v;
  v.kind = SettingKind::List;
  v.entries = std::move(entries);
  if (v.entries.empty())
    v.shown = -1;
  else
    v.shown = index >= 0 && index < static_cast<int>(v.entries.size()) ? index : 0;
  return v;
}

SettingView CheckView(bool checked) {
  SettingView v;
  v.kind = SettingKind::Check;
  v.checked = checked;
  return v;
}

SettingView TextView(std::string text, int maxLength) {
  SettingView v;
  v.kind = SettingKind::Text;
  v.text = std::move(text);
  v.maxLength = maxLength;
  return v;
}

int FindEntry(const std::vector<std::string> &entries, std::string_view text) {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == text) return static_cast<int>(i);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (AsciiEqualNoCase(entries[i], text)) return static_cast<int>(i);
  return -1;
}

std::optional<bool> ParseCheck(std::string_view text) {
  for (const char *on : {"on", "1", "yes", "true", "ticked", kOn.at(kChinese)})
    if (AsciiEqualNoCase(text, on)) return true;
  for (const char *off : {"off", "0", "no", "false", "unticked", kOff.at(kChinese)})
    if (AsciiEqualNoCase(text, off)) return false;
  return std::nullopt;
}

Setting IndexList(std::string key, std::string control, Tr label, std::function<std::vector<std::string>()> entries,
                  Field field) {
  Setting s{std::move(key), std::move(control), label, SettingKind::List, {}, {}};
  s.view = [entries, field](const Workspace &w) { return ListView(entries(), ReadField(field, w.working)); };
  s.choose = [entries, field](FeatureContext &c, const std::string &text) {
    int i = FindEntry(entries(), text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    field(c.ws.working) = static_cast<int16_t>(i);
    return ChooseResult{};
  };
  return s;
}

Setting CheckBox(std::string key, std::string control, Tr label, Field field) {
  Setting s{std::move(key), std::move(control), label, SettingKind::Check, {}, {}};
  s.view = [field](const Workspace &w) { return CheckView(ReadField(field, w.working) != 0); };
  s.choose = [field](FeatureContext &c, const std::string &text) {
    auto on = ParseCheck(text);
    if (!on) return ChooseResult::fail(ChooseStatus::NotOffered);
    field(c.ws.working) = *on ? 1 : 0;
    return ChooseResult{};
  };
  return s;
}

}  // namespace n27::features
