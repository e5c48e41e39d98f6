#pragma once
// Workspace: everything the program holds for the whole run — the RadioImage, the working
// and saved CodeplugData, the file name, the model and band texts with their limits, the
// radio-information record, the tuning tables, the entered programming password.
// main() creates one and hands it to the main window, the CLI and the tests.

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/codeplug_data.h"
#include "codeplug/edit_history.h"
#include "codeplug/radio_image.h"
#include "codeplug/tuning_file.h"

namespace n27 {

struct Workspace {
  RadioImage image;
  CodeplugData working;
  CodeplugData saved;
  // What the grid's and the detail dialog's change marks compare with: the configuration as it
  // was last read from a radio, opened, created new or saved. After a read it is the radio's
  // data while `saved` still holds what was open before (so the read counts as modified).
  CodeplugData reference;

  std::string fileName = "new.dat";  // full path once loaded or saved
  bool untitled = true;

  std::string modelFamily = "N27PR";  // used in the main window caption
  std::string modelName = "N27PR";    // from the model record, cut at NUL
  std::string bandText = "400 - 490 MHz";
  double lowerLimit = 400.0;          // MHz
  double upperLimit = 490.0;          // MHz
  std::string dataVersion = "V200";
  std::string firmwareVersion;        // of the radio last read
  bool readNotSaved = false;          // the configuration is a read not yet saved to a file

  RadioInformation radioInfo;
  std::array<int16_t, 3> radioInfoFlags{};  // byte 432 bits 0..2, kept in "Setting.ini"

  bool testMode = false;
  std::array<int16_t, 16> tuning{};
  std::array<int16_t, 16> fileTuning{};
  TuningOrigin tuningOrigin;          // where `tuning` came from (radio, ".ted" file, typed)
  std::string tuningSerial;           // the serial number of the radio they were read from

  // The customer's licence attached to the configuration: the CSV text as attached, kept
  // beside the data file (FILE.licence.csv) and saved with it; "" when none is attached. When
  // one lies beside a loaded file but cannot be read, `licenceProblem` says why.
  std::string licenceText;
  std::string licenceProblem;

  std::string password;               // entered programming password
  bool reverseSwitch = false;         // held only while the program runs
  bool talkAroundSwitch = false;

  std::string programFolder = ".";    // where Init/, language/ … lie
  bool loadDefaultFile = true;        // NewConfiguration looks for Init/<model>_<band>.dat
  bool loadingFile = false;           // suppresses the out-of-range warning while loading

  // The undo history of the working data (see edit_history.h): one step per user action.
  EditHistory history;
};

}  // namespace n27
