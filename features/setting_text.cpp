#include "features/setting_text.h"

#include <algorithm>

namespace n27::features {

std::size_t DisplayLength(const std::string &utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

void WriteAreaText(const Area &area, const Workspace &ws, std::ostream &out, const std::string &note) {
  out << area.section.get() << "\n";
  if (!note.empty()) out << "  " << note << "\n";
  std::size_t width = 0;
  for (const auto &s : area.settings)
    if (s.stored) width = std::max(width, DisplayLength(s.label.get()));
  for (const auto &s : area.settings) {
    if (!s.stored) continue;
    const SettingView v = s.view(ws);
    std::string label = s.label.get();
    out << "  " << label << std::string(width + 2 - DisplayLength(label), ' ') << v.shownText();
    if (!v.enabled) out << " (disabled)";
    out << "\n";
  }
}

std::string ChoicesText(const Setting &setting, const Workspace &ws) {
  if (setting.kind == SettingKind::Check) return std::string(kOn.get()) + " | " + kOff.get();
  if (setting.kind == SettingKind::Text) return setting.choicesHint;
  const auto entries = setting.view(ws).entries;
  if (entries.empty()) return setting.choicesHint;
  auto quoted = [](const std::string &e) { return e == " " ? std::string("\" \"") : e; };
  std::string out;
  const std::size_t n = entries.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (n > 12 && i == 4) {
      out += " | …";
      i = n - 3;
    }
    if (!out.empty()) out += " | ";
    out += quoted(entries[i]);
  }
  if (!setting.choicesHint.empty()) out += " (" + setting.choicesHint + ")";
  return out;
}

}  // namespace n27::features
