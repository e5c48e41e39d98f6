#pragma once
// frmMain: the program's main window. A multiple-document frame with the menus, the toolbar,
// the status bar and the tree of editors; the editors open as child windows inside it.

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <map>
#include <memory>

#include "app/caption.h"
#include "base/help_topics.h"
#include "base/language.h"
#include "base/message_log.h"
#include "app/shell_commands.h"
#include "base/ui/editor_window.h"
#include "codeplug/workspace.h"
#include "link/port_directory.h"
#include "link/version_table.h"
#include "link/ui/radio_commands.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;


namespace n27 {

class ChannelContext;
class RadioCommands;
class HelpWindow;
class frmMessages;

// What the main window needs from the start-up code.
struct ShellOptions {
  std::string setupFile;        // "mysetup.ini": the chosen port is written there
  std::string flagsFile;        // "Setting.ini": the radio-information flags, written at exit
  int comPort = 0;              // the port chosen at start
  PortEntry extraPort;          // a device given on the command line (number 0: none)
  VersionTable versions;        // which radio firmware goes with this release
  bool keepGeometry = true;     // position and size from and to the per-user settings
};

class frmMain : public QMainWindow, public RadioHost, private ShellHost {
  Q_OBJECT

 public:
  frmMain(Workspace &ws, ShellOptions options, QWidget *parent = nullptr);
  ~frmMain() override;

  Workspace &workspace() override { return ws_; }
  // The channel operations' context: the editors register as listeners there.
  ChannelContext &channels() override { return *channels_; }
  const EditorRegistry &editors() const { return editors_; }
  // Adds a window the main window can open (its menu entries and tree node become enabled).
  void registerEditor(EditorWindowEntry entry);

  // New configuration without a question (Model Information and the start use it).
  void LoadNewDoc();
  // Closes every window except the main window.
  void CloseCurAllWindows() override;
  // True when a window of that name is open.
  bool FindWindowByName(const QString &name) const;
  // Re-applies every caption of the main window in the current language and rebuilds the tree.
  void Change_Language();
  // Shows or hides the Channel Edit menu and its toolbar buttons (the channel grid calls it
  // when it gains or loses the focus).
  void ShowCHInfo(bool show) override;
  // Reads the radio's embedded information and shows it.
  void ReadRMGDataFromRadio();

  // Opens the editor of that name, or brings it to the front when it is open. Null when the
  // window does not exist in this program.
  QWidget *openEditor(const QString &name) override;
  // The open window of that name, or null.
  QWidget *findWindow(const QString &name) const;
  // Every open editor stores its pending input (before a write or a save).
  void storePendingInput() override;
  void cascade();

  // After a complete read from the radio: the new data shown, caption with the version.
  void showReadConfiguration() override;
  // Shows the caption for the configuration as it is now.
  void setCaptionForm(CaptionForm form) override;
  CaptionForm captionForm() const { return captionForm_; }

  // The chosen serial port: status bar panel 3 and the setting file.
  int comPort() const override { return comPort_; }
  void setComPort(int port, bool store) override;

  // The action of a menu entry or toolbar button, by its name ("mnuFileOpen", "打开").
  QAction *action(const QString &name) const;
  QTreeWidget *tree() const { return tree_; }
  QMdiArea *mdiArea() const { return mdi_; }
  // Makes a child window fit the work area: shrunk to it (the window scrolls inside itself)
  // and moved inside it.
  void fitInWorkArea(QMdiSubWindow *sub);
  const ShellOptions &options() const { return options_; }
  // The messages of this run (status bar and message boxes) and their list (View → Messages).
  const MessageLog &messageLog() const { return log_; }
  frmMessages *messagesPanel() const { return messages_; }
  RadioCommands &radio() override { return *radio_; }
  // RadioHost
  QWidget *hostWidget() override { return this; }
  const VersionTable &versions() const override { return options_.versions; }
  std::string setupFile() const override { return options_.setupFile; }
  PortEntry extraPort() const override { return options_.extraPort; }
  void showStatus(const QString &text) override;

  // The file commands (menu and toolbar).
  void fileNew();
  void fileOpen();
  void fileSave();
  void fileSaveAs();

  // Shows help at a topic (0: the contents).
  void showHelp(int context = 0) override;
  // Shows a page of the guide (F1 in a window with a page of its own).
  void showHelpPage(const HelpTopic &topic);
  HelpWindow *helpWindow() const;
  // Loads a data file without the Open dialog (a file named on the command line).
  bool openFile(const std::string &path);
  // Offers to save a modified configuration; true when the caller may drop it.
  bool offerToSaveChanges() override;
  // Ends the program without asking about unsaved changes again (they were offered).
  void endApplication() override;

  // Edit → Undo / Redo: takes back or repeats the last step of the configuration's history;
  // every open window redraws from the change notifications.
  void undo();
  void redo();
  // The data files of File menu's recent list, most recent first.
  std::vector<std::string> recentFiles() const;
  // A recent file chosen from the File menu: a missing one is dropped from the list with a
  // message; otherwise the usual save offer, then it is opened. True when it was opened.
  bool openRecentFile(const std::string &path);
  // Data files dropped onto the window: the first ".dat" is opened after the save offer.
  bool openDroppedFiles(const QList<QUrl> &urls);

 protected:
  void closeEvent(QCloseEvent *event) override;
  void changeEvent(QEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

 private:
  // ShellHost
  Answer ask(const std::string &text, Prompt prompt) override;
  void showMessage(const std::string &text, BoxIcon icon) override;
  void showMessage(const std::string &text, BoxIcon icon, const std::string &detail) override;
  std::optional<std::string> chooseFileToOpen() override;
  std::optional<std::string> chooseFileToSave(const std::string &proposed) override;
  void closeAllWindows() override { CloseCurAllWindows(); }
  void openDefaultEditors() override;

  void buildMenus();
  void buildToolbar();
  void buildStatusBar();
  void buildTree();
  void rebuildTree();
  QAction *addAction(QMenu *menu, const char *name, std::function<void()> command);
  QAction *addEditorAction(QMenu *menu, const char *name, const char *windowName);
  void addToolButton(const char *key, const char *mirrors, std::function<void()> command);
  // Runs a command inside the handler guard, named after the action.
  void run(const QString &handler, const std::function<void()> &command);
  void updateEditorAvailability();
  void applyLanguageIfChanged();
  void treeItemActivated(QTreeWidgetItem *item);
  void tileVertically();
  void tileHorizontally();
  void tile(bool sideBySide);
  void arrangeIcons();
  void channelEdit(ChannelEditCommand command);
  void showAbout();
  void showModelInformation();
  void showSetLanguage();
  void restoreWindowGeometry();
  void saveWindowGeometry();
  QMdiSubWindow *subWindowOf(const QString &name) const;
  // The Undo/Redo entries and buttons named after the steps, and the status bar's first panel.
  void updateHistoryState();
  void updateModifiedPanel();
  void afterHistoryMove();
  void rememberRecentFile(const std::string &path);
  void storeRecentFiles(const std::vector<std::string> &list);
  void rebuildRecentMenu();

  Workspace &ws_;
  ShellOptions options_;
  std::unique_ptr<ChannelContext> channels_;
  EditorRegistry editors_;
  std::unique_ptr<RadioCommands> radio_;
  QPointer<HelpWindow> help_;
  MessageLog log_;
  frmMessages *messages_ = nullptr;

  QSplitter *splitter_ = nullptr;
  QWidget *treePanel_ = nullptr;
  QTreeWidget *tree_ = nullptr;
  QMdiArea *mdi_ = nullptr;
  QToolBar *toolbar_ = nullptr;
  QLabel *panel1_ = nullptr;
  QLabel *panel2_ = nullptr;
  QLabel *panel3_ = nullptr;
  QMenu *channelEditMenu_ = nullptr;
  QMenu *fileMenu_ = nullptr;
  QAction *recentAnchor_ = nullptr;               // the separator before Exit
  std::vector<QAction *> recentActions_;          // the recent files and their separator
  std::vector<QAction *> channelButtons_;        // toolbar buttons 10 to 14
  std::vector<QAction *> windowListActions_;     // the open windows in the Window menu
  std::map<QString, QAction *> actions_;          // by name
  std::map<QString, const Tr *> captions_;        // menu entry / menu name → caption text
  std::map<QString, QString> toolMirrors_;        // toolbar key → menu entry it mirrors
  std::map<QString, QString> editorOfAction_;     // action name → window name
  std::vector<QPointer<QWidget>> openWindows_;    // windows opened outside the MDI area

  CaptionForm captionForm_ = CaptionForm::New;
  int languageApplied_ = 0;
  int comPort_ = 0;
  bool closing_ = false;
};

}  // namespace n27
