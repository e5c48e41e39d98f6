#pragma once
// What the main window knows about the editor windows it opens (the channel grid, the
// feature windows, the print list …), and how they are made known to it.
//
// An editor window is a QWidget whose objectName() is its window name ("frmCommChInfo").
// It may also derive from EditorWindow to take part in the main window's commands.
// Each editor adds itself in RegisterEditorWindows() (app/ui/editor_windows.cpp), one line
// per window; a menu entry or tree node whose window is not registered stays disabled.

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace n27 {

class MainWindowHost;

enum class ChannelEditCommand {
  Cut, Copy, Paste, Delete,
  // Channel plan commands on the grid's selection.
  MoveUp, MoveDown, InsertRow, DeleteRow, SortAscending, SortDescending, Compact, Find,
};

// The keys of the channel plan commands (QKeySequence text; empty: none). The grid takes
// them itself; the Channel Edit menu shows them beside its entries. Sort and Compact use
// Ctrl+Shift with their menu letter: no other command or text box of the program uses those.
inline const char *ChannelPlanKeys(ChannelEditCommand command) {
  switch (command) {
    case ChannelEditCommand::MoveUp: return "Alt+Up";
    case ChannelEditCommand::MoveDown: return "Alt+Down";
    case ChannelEditCommand::InsertRow: return "Ins";
    case ChannelEditCommand::DeleteRow: return "Ctrl+Del";
    case ChannelEditCommand::SortAscending: return "Ctrl+Shift+A";
    case ChannelEditCommand::SortDescending: return "Ctrl+Shift+E";
    case ChannelEditCommand::Compact: return "Ctrl+Shift+O";
    case ChannelEditCommand::Find: return "Ctrl+F";
    default: return "";
  }
}

class EditorWindow {
 public:
  virtual ~EditorWindow() = default;
  // Stores the input the window still holds (an open cell editor, a box being typed in)
  // into the working data. Called before a write to the radio and before a file is saved.
  virtual void storePendingInput() {}
  // The Channel Edit menu and toolbar commands (the channel grid).
  virtual void channelEdit(ChannelEditCommand) {}
};

// How the main window shows a registered window.
enum class WindowPlacement {
  MdiChild,  // a child window inside the main window
  Modal,     // a modal dialog (the print list, the test data window)
  Modeless,  // a separate tool window
};

struct EditorWindowEntry {
  QString name;                                   // the window name, e.g. "frmCommChInfo"
  std::function<QWidget *(MainWindowHost &)> create;    // makes the window (parent set by the caller)
  WindowPlacement placement = WindowPlacement::MdiChild;
};

class EditorRegistry {
 public:
  void add(EditorWindowEntry entry);
  const EditorWindowEntry *find(const QString &name) const;
  const std::vector<EditorWindowEntry> &entries() const { return entries_; }

 private:
  std::vector<EditorWindowEntry> entries_;
};

// Adds every editor window the program has. Defined in app/ui/editor_windows.cpp.
void RegisterEditorWindows(EditorRegistry &registry);

// The window names of the editors the main window opens.
namespace window {
inline constexpr const char *kChannelGrid = "frmCommChInfo";
inline constexpr const char *kChannelDetail = "FrmCHInfoEdit";
inline constexpr const char *kFunctionSetup = "FrmOptFeatures";
inline constexpr const char *kKeySetting = "FrmKeyAssignm";
inline constexpr const char *kScanInformation = "FrmScanInfo";
inline constexpr const char *kDtmf = "FrmDTMF";
inline constexpr const char *kFleetSync = "FrmFleetSync";
inline constexpr const char *kEmbeddedMessage = "FrmEmbMsg";
inline constexpr const char *kRadioInformation = "FrmEMG";
inline constexpr const char *kBatchEdit = "FrmCHBatch";
inline constexpr const char *kPrintList = "FrmPrintList";
inline constexpr const char *kTestData = "FrmTestData";
}  // namespace window

}  // namespace n27
