#include "base/numbered_text.h"

#include "base/ini_file.h"
#include "base/language.h"
#include "base/paths.h"

namespace n27 {

namespace {

constexpr std::size_t kMaxTextCharacters = 255;

std::string &FolderOverride() {
  static std::string folder;
  return folder;
}

// Cuts a UTF-8 text after `count` characters without splitting a character.
std::string CutCharacters(const std::string &text, std::size_t count) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) != 0x80) {  // the first byte of a character
      if (characters == count) return text.substr(0, i);
      ++characters;
    }
  }
  return text;
}

}  // namespace

const char *NumberedTextSection(int number) {
  if (number <= 8999) return "OTHER";
  if (number <= 9999) return "Msg";
  if (number <= 29999) return "CHBatch";
  return "Others";
}

void SetLanguageFolder(const std::string &folder) { FolderOverride() = folder; }

std::string LanguageFolder() {
  if (!FolderOverride().empty()) return FolderOverride();
  return ShippedPath("language");
}

std::string NumberedText(int number, int language) {
  const std::string path = JoinPath(LanguageFolder(), LanguageFileName(language));
  auto text = IniFile::read(path, NumberedTextSection(number), std::to_string(number));
  return text ? CutCharacters(*text, kMaxTextCharacters) : std::string();
}

std::string NumberedText(int number) { return NumberedText(number, LanguageIndex()); }

}  // namespace n27
