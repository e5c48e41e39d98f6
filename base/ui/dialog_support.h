#pragma once
// Helpers every dialog uses when it loads.

#include <functional>

class QDialog;
class QLayout;
class QWidget;

namespace n27 {

// The names of a dialog's two buttons: "Command1" / "Command2" or "CommandOK" / "CommandCancel".
enum class ButtonNames { Command12, OkCancel };

// Lays out a small dialog: `body` on top, OK and Cancel at the bottom right, the size fixed
// to fit, the button captions in the current language. OK runs `ok` inside the handler guard
// (no `ok`: the dialog is accepted); Cancel rejects.
void LayOutDialog(QDialog *dialog, QLayout *body, ButtonNames names,
                  const std::function<void()> &ok = {});

// Sets the captions of the dialog's buttons named "Command1" and "Command2", and of those
// named "CommandOK" and "CommandCancel", to the OK and Cancel texts of the current language.
void SetDialogButtons(QWidget *dialog);
// In the given box, the Enter key moves the focus to the next control instead of acting.
void EnterMovesToNextControl(QWidget *box);

}  // namespace n27
