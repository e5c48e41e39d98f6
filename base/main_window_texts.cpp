#include "base/main_window_texts.h"

namespace n27::mainText {

std::string PlainCaption(const std::string &caption) {
  std::string s = caption;
  // A Chinese caption carries its accelerator as "(&X)" at the end.
  if (auto open = s.rfind("(&"); open != std::string::npos && open + 4 <= s.size() &&
                                 s[open + 3] == ')')
    s.erase(open, 4);
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += s[i];
  }
  if (out.size() >= 3 && out.compare(out.size() - 3, 3, "...") == 0) out.resize(out.size() - 3);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace n27::mainText
