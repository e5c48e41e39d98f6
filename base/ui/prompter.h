#pragma once
// Every question, message box, file dialog and modal dialog of the program goes through the
// current Prompter, so a test can answer them in place of a user.

#include <QString>
#include <functional>
#include <optional>

#include "base/message_icon.h"

class QDialog;
class QWidget;

namespace n27 {

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A question with the buttons and icon of prompt, in the current language.
  virtual Answer ask(QWidget *parent, const QString &text, Prompt prompt);
  // A message with an OK button.
  virtual void message(QWidget *parent, const QString &text, BoxIcon icon);
  // A message with an OK button and a detail under the text (the reason of an error). A
  // prompter that answers in place of a user and does not take details gets the text with
  // the detail on the next line.
  virtual void message(QWidget *parent, const QString &text, BoxIcon icon, const QString &detail);
  // The Open and Save dialogs; nullopt when cancelled.
  virtual std::optional<QString> openFileName(QWidget *parent, const QString &filter,
                                              const QString &folder);
  virtual std::optional<QString> saveFileName(QWidget *parent, const QString &filter,
                                              const QString &proposed);
  // Runs a modal dialog; returns QDialog::exec()'s result.
  virtual int execDialog(QDialog &dialog);
};

// The prompter in use (a Prompter by default, or the one installed).
Prompter &CurrentPrompter();
// Installs another prompter (tests); nullptr restores the default. Not owned.
void SetPrompter(Prompter *prompter);
// Told the text of every message box shown (with its detail on the next line), whichever
// prompter answers it; an empty function stops it.
void SetMessageObserver(std::function<void(const QString &text)> observer);

// Shorthands.
inline Answer Ask(QWidget *parent, const QString &text, Prompt prompt) {
  return CurrentPrompter().ask(parent, text, prompt);
}
inline void ShowMessage(QWidget *parent, const QString &text,
                        BoxIcon icon = BoxIcon::None) {
  CurrentPrompter().message(parent, text, icon);
}
int ExecDialog(QDialog &dialog);

}  // namespace n27
