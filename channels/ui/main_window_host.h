#pragma once
// What an editor window may ask of the main window that hosts it. The main window (app/)
// implements it; the windows below app/ know only this interface, never the main window.

#include <QString>

class QWidget;

namespace n27 {

struct Workspace;
class ChannelContext;

class MainWindowHost {
 public:
  virtual ~MainWindowHost() = default;
  // The main window itself: the parent of dialogs opened on its behalf.
  virtual QWidget *hostWidget() = 0;
  virtual Workspace &workspace() = 0;
  // The channel operations' context: the editors register as listeners there.
  virtual ChannelContext &channels() = 0;
  // Every open editor stores the input it still holds (before a write, a save, a print).
  virtual void storePendingInput() = 0;
  // Help at a topic (0: the contents).
  virtual void showHelp(int context) = 0;
  // Shows or hides the Channel Edit menu and its toolbar buttons.
  virtual void ShowCHInfo(bool show) = 0;
  // Opens the editor of that name or brings it to the front; null when there is none.
  virtual QWidget *openEditor(const QString &name) = 0;
  // A line in the status bar ("" clears it).
  virtual void showStatus(const QString &text) = 0;
};

}  // namespace n27
