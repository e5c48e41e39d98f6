#pragma once
// The main window's file and model commands as plain rules: File New, Open, Save, Save As,
// the save offer before the configuration is dropped (Open, Exit, switching to another
// release) and the Model Information choice. The window supplies a ShellHost that asks the
// questions and shows the windows; the rules decide what happens.

#include <optional>
#include <string>

#include "app/caption.h"
#include "base/message_icon.h"
#include "codeplug/workspace.h"

namespace n27 {

class ShellHost {
 public:
  virtual ~ShellHost() = default;
  virtual Answer ask(const std::string &text, Prompt prompt) = 0;
  // A message with an OK button.
  virtual void showMessage(const std::string &text, BoxIcon icon) = 0;
  // A message with a detail below it (the reason of a "file error."); a host without a place
  // for details shows it on the next line.
  virtual void showMessage(const std::string &text, BoxIcon icon, const std::string &detail) {
    showMessage(detail.empty() ? text : text + "\n" + detail, icon);
  }
  // The Open and Save dialogs with the data file filter; nullopt when cancelled.
  virtual std::optional<std::string> chooseFileToOpen() = 0;
  virtual std::optional<std::string> chooseFileToSave(const std::string &proposed) = 0;
  // Every open editor stores the input it still holds into the working data.
  virtual void storePendingInput() = 0;
  virtual void closeAllWindows() = 0;
  // Opens the editors that show a configuration (the channel grid) and arranges them.
  virtual void openDefaultEditors() = 0;
  virtual void setCaptionForm(CaptionForm form) = 0;
};

// The filter of the Open and Save dialogs: "Data File (*.dat)" in the current language.
std::string DataFileFilter();
// A chosen file name without an extension gets ".dat" (the side file is named from it).
std::string WithDataExtension(const std::string &path);

// New configuration without a question: close the editors, NewConfiguration, reopen.
void LoadNewDoc(Workspace &ws, ShellHost &host);
// File New (menu and toolbar alike): asks "All data will be cleared." first.
bool FileNew(Workspace &ws, ShellHost &host);
// File Open: offers to save changes, asks for a file, loads it. True when a file was loaded.
bool FileOpen(Workspace &ws, ShellHost &host);
// Loads a named data file (File Open after its dialog, or a file given at start): closes the
// editors, loads, reopens them. True when the file was loaded.
bool OpenDataFile(Workspace &ws, ShellHost &host, const std::string &path);
// File Save: Save As when untitled, else the overwrite question. True when saved.
bool FileSave(Workspace &ws, ShellHost &host);
// File Save As: asks for a name (proposing the current one) and saves. True when saved.
bool FileSaveAs(Workspace &ws, ShellHost &host);
// Before the configuration is dropped: when it is modified asks "File has been modify,save
// it now?" (Yes, No, Cancel). Yes saves. True when the caller may go on: not modified, No,
// or Yes and the save succeeded.
bool OfferToSaveChanges(Workspace &ws, ShellHost &host);

// Model Information OK with the texts of the model and band boxes: asks "Frequency data will
// be cleared." (always, since the model box shows "N27" rather than "N27PR"); OK sets the
// model and band and creates a new configuration for them. True when it did.
bool ApplyModelInformation(Workspace &ws, ShellHost &host, const std::string &modelText,
                           const std::string &bandText);

}  // namespace n27
