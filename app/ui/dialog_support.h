#pragma once
// Helpers every dialog uses when it loads.

class QWidget;

namespace n27 {

// Sets the captions of the dialog's buttons named "Command1" and "Command2", and of those
// named "CommandOK" and "CommandCancel", to the OK and Cancel texts of the current language.
void SetDialogButtons(QWidget *dialog);
// In the given box, the Enter key moves the focus to the next control instead of acting.
void EnterMovesToNextControl(QWidget *box);

}  // namespace n27
