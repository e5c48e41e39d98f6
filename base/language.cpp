#include "base/language.h"

#include <cstdio>
#include <cstdlib>

namespace n27 {

namespace {
int g_language = kEnglish;

int checked(int language) {
  if (language != kEnglish && language != kChinese) {
    std::fprintf(stderr, "n27: language index %d out of range\n", language);
    std::abort();
  }
  return language;
}
}  // namespace

const char *Tr::get() const { return t[static_cast<std::size_t>(checked(g_language))]; }

const char *Tr::at(int language) const { return t[static_cast<std::size_t>(checked(language))]; }

int LanguageIndex() { return g_language; }

void SetLanguageIndex(int language) { g_language = checked(language); }

int LanguageForLocale(const std::string &name) {
  // "zh_CN", "zh_CN.UTF-8", "zh-CN", "zh_CN@…": language zh, territory CN.
  if (name.size() >= 5 && name.compare(0, 2, "zh") == 0 && (name[2] == '_' || name[2] == '-') &&
      name.compare(3, 2, "CN") == 0 && (name.size() == 5 || name[5] == '.' || name[5] == '@'))
    return kChinese;
  return kEnglish;
}

const char *LanguageFileName(int language) {
  return checked(language) == kChinese ? "chinese.ini" : "english.ini";
}

std::string FillPattern(std::string_view pattern, const std::vector<std::string> &args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      std::size_t k = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (k < args.size()) out += args[k];
      ++i;
      continue;
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace n27
