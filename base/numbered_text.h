#pragma once
// Texts looked up by number in the language text files "english.ini" / "chinese.ini" of the
// folder "language" beside the program. The section follows the number: up to 8999 "OTHER",
// 9000..9999 "Msg", 10000..29999 "CHBatch", 30000 and above "Others"; the key is the number
// in decimal.

#include <string>

namespace n27 {

// The text of that number in the current language; empty when the file or the key is
// missing. Texts longer than 255 characters are cut to 255.
std::string NumberedText(int number);
// The same for a given language index (1 or 2).
std::string NumberedText(int number, int language);

// The section a number is looked up in.
const char *NumberedTextSection(int number);

// The folder holding the language files: <ProgramFolder>/language unless set here (tests).
// An empty folder restores the default.
void SetLanguageFolder(const std::string &folder);
std::string LanguageFolder();

}  // namespace n27
