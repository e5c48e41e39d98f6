#pragma once
// The language index and the two-language text tables.
//
// Every localised text is a table of three entries indexed by the language index:
// entry 0 is never used, 1 is English, 2 is Chinese. The language index is the one piece
// of process-wide state every text lookup reads; it is kept here with a setter.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace n27 {

enum Language : int { kEnglish = 1, kChinese = 2 };

// A text in both languages; element 0 unused.
struct Tr {
  std::array<const char *, 3> t;
  constexpr Tr(const char *english, const char *chinese) : t{"", english, chinese} {}
  // A text that is the same in both languages.
  constexpr explicit Tr(const char *both) : t{"", both, both} {}
  // The entry for the current language.
  const char *get() const;
  // The entry for a given language index (1 or 2).
  const char *at(int language) const;
  std::string str() const { return get(); }
};

// Current language index (1 or 2). Starts at 1.
int LanguageIndex();
// Sets the language index. Any value other than 1 or 2 is a programming error and aborts.
void SetLanguageIndex(int language);

// The language index a POSIX locale name selects at start: Chinese (China) gives 2,
// anything else 1. "zh_CN.UTF-8", "zh_CN", "zh-CN" all count as Chinese (China).
int LanguageForLocale(const std::string &localeName);

// File name of the language text file of a language index: "english.ini" or "chinese.ini".
const char *LanguageFileName(int language);

// Text of the current language (shorthand).
inline const char *Text(const Tr &tr) { return tr.get(); }

// Replaces %1, %2, … %9 in a text by the arguments in one pass (an argument that itself holds
// "%2" stays as it is); a mark without its argument is dropped.
std::string FillPattern(std::string_view pattern, const std::vector<std::string> &args);
// The same for the text of the current language.
inline std::string Fill(const Tr &text, const std::vector<std::string> &args) {
  return FillPattern(text.get(), args);
}

}  // namespace n27
