#pragma once
// Every event handler of a window runs inside RunHandler: a failure inside it shows a message
// made of the window name, an underscore and the handler name ("frmMain_mnuFileOpen_Click"),
// the handler ends there and the program goes on.

#include <QString>
#include <functional>

class QWidget;

namespace n27 {

// Runs body; on any exception shows `failureMessage` with an OK button. True when body ran to
// its end.
bool RunGuarded(const QString &failureMessage, const std::function<void()> &body);
// Runs body; on any exception shows "<window>_<handler>" with an OK button. True when body
// ran to its end.
bool RunHandler(const QString &window, const QString &handler, const std::function<void()> &body);
// The window's objectName() is the window name.
bool RunHandler(const QWidget *window, const QString &handler, const std::function<void()> &body);

}  // namespace n27
