#pragma once
// The main window caption and the status bar panel texts.

#include <string>

namespace n27 {

// Which of the three caption forms the main window shows.
enum class CaptionForm {
  New,   // N27[File Name:new.dat]
  File,  // N27[N27PR:400 - 490 MHz][File Name:a.dat]   (after a load or save)
  Read,  // N27[N27PR:400 - 490 MHz][File Name:new.dat] Ver:V101   (after a read)
};

struct CaptionParts {
  std::string modelFamily;  // "N27PR"
  std::string bandText;     // "400 - 490 MHz"
  std::string fileName;     // a path; only the name after the last folder separator is shown
  std::string firmware;     // the radio's firmware version text, after a read
};

// The caption in the given language (1 English, 2 Chinese; only the "File Name" label changes).
std::string MainCaption(CaptionForm form, const CaptionParts &parts, int language);

// The name of a file without its folder; both "/" and "\" separate folders.
std::string FileNameOnly(const std::string &path);

// Status bar panel 2: "[N27 " + band text + "]".
std::string StatusBandText(const std::string &bandText);
// Status bar panel 3: the localised "COM" label followed by the port number.
std::string StatusPortText(int port, int language);

}  // namespace n27
