// The main window's menus, toolbar and status bar: every entry with its caption, key and
// command.

#include "app/ui/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <string_view>
#include <tuple>

#include "app/shell_commands.h"
#include "app/ui/frmMessages.h"
#include "app/ui/toolbar_icons.h"
#include "base/main_window_texts.h"
#include "channels/channel_ops.h"
#include "channels/ui/FrmChannelList.h"
#include "link/ui/radio_commands.h"
#include "link/ui/trust_texts.h"
#include "plan/ui/plan_commands.h"
#include "history/ui/FrmHistory.h"
#include "history/ui/history_texts.h"
#include "print/ui/FrmCompare.h"

namespace n27 {

QAction *frmMain::addAction(QMenu *menu, const char *name, std::function<void()> command) {
  auto *a = new QAction(this);
  a->setObjectName(name);
  menu->addAction(a);
  actions_[name] = a;
  if (command) {
    QString handler = QString(name) + "_Click";
    connect(a, &QAction::triggered, this, [this, handler, command] { run(handler, command); });
  }
  return a;
}

QAction *frmMain::addEditorAction(QMenu *menu, const char *name, const char *windowName) {
  QString w = windowName;
  auto *a = addAction(menu, name, [this, w] { openEditor(w); });
  editorOfAction_[name] = w;
  return a;
}

void frmMain::buildMenus() {
  auto menu = [this](const char *name, const Tr &caption) {
    QMenu *m = menuBar()->addMenu(QString());
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    actions_[name] = m->menuAction();
    captions_[name] = &caption;
    return m;
  };
  auto entry = [this](QMenu *m, const char *name, const Tr &caption, std::function<void()> f) {
    captions_[name] = &caption;
    return addAction(m, name, std::move(f));
  };
  auto editor = [this](QMenu *m, const char *name, const Tr &caption, const char *window) {
    captions_[name] = &caption;
    return addEditorAction(m, name, window);
  };
  auto inert = [this](QMenu *m, const char *name, const Tr &caption) {
    // An entry without a command of its own: shown, never enabled.
    captions_[name] = &caption;
    auto *a = addAction(m, name, {});
    a->setEnabled(false);
    return a;
  };

  QMenu *file = menu("mnuFile", mainText::kMenuFile);
  fileMenu_ = file;
  entry(file, "mnuFileNew", mainText::kNew, [this] { fileNew(); })->setShortcut(QKeySequence::New);
  entry(file, "mnuFileOpen", mainText::kOpen, [this] { fileOpen(); })
      ->setShortcut(QKeySequence::Open);
  entry(file, "mnuFileSave", mainText::kSave, [this] { fileSave(); })
      ->setShortcut(QKeySequence::Save);
  entry(file, "mnuFileSaveAs", mainText::kSaveAs, [this] { fileSaveAs(); });
  file->addSeparator();
  entry(file, "mnuFileImportChannels", csv::text::kImportMenu, [this] { ImportChannelsCommand(*this); });
  entry(file, "mnuFileExportChannels", csv::text::kExportMenu, [this] { ExportChannelsCommand(*this); });
  entry(file, "mnuFileCompare", print::difftext::kCompareMenu, [this] { CompareWithCommand(*this); });
  entry(file, "mnuFileAttachLicence", plantext::kAttachLicenceMenu, [this] { AttachLicenceCommand(*this); });
  file->addSeparator();
  entry(file, "mnuFileRestore", trustText::kRestoreMenu, [this] { radio_->restoreFromBackup(); });
  entry(file, "mnuFileBackupFolder", trustText::kOpenBackupFolder, [this] { radio_->openBackupFolder(); });
  file->addSeparator();
  editor(file, "mnuFilePrint", mainText::kPrint, window::kPrintList)
      ->setShortcut(QKeySequence::Print);
  recentAnchor_ = file->addSeparator();
  entry(file, "mnuFileExit", mainText::kExit, [this] { close(); });

  QMenu *model = menu("mnuModel", mainText::kMenuModel);
  entry(model, "mnuModelInfo", mainText::kModelInformation, [this] { showModelInformation(); });

  channelEditMenu_ = menu("mnuChannelEdit", mainText::kMenuChannelEdit);
  entry(channelEditMenu_, "mnuCHCut", mainText::kCut,
        [this] { channelEdit(ChannelEditCommand::Cut); });
  entry(channelEditMenu_, "mnuCHCopy", mainText::kCopy,
        [this] { channelEdit(ChannelEditCommand::Copy); });
  entry(channelEditMenu_, "mnuCHPaste", mainText::kPaste,
        [this] { channelEdit(ChannelEditCommand::Paste); });
  entry(channelEditMenu_, "mnuCHDelete", mainText::kDelete,
        [this] { channelEdit(ChannelEditCommand::Delete); });
  // The keys are shown beside the entries; the channel grid itself handles them.
  for (auto [name, key] : {std::pair{"mnuCHCut", QKeySequence::Cut}, {"mnuCHCopy", QKeySequence::Copy},
                           {"mnuCHPaste", QKeySequence::Paste}, {"mnuCHDelete", QKeySequence::Delete}}) {
    actions_[name]->setShortcut(key);
    actions_[name]->setShortcutContext(Qt::WidgetShortcut);
  }
  // The channel plan commands; the grid takes their keys itself, the menu only shows them.
  channelEditMenu_->addSeparator();
  for (const auto &[name, caption, command] :
       {std::tuple{"mnuCHMoveUp", &mainText::kMoveUp, ChannelEditCommand::MoveUp},
        std::tuple{"mnuCHMoveDown", &mainText::kMoveDown, ChannelEditCommand::MoveDown},
        std::tuple{"mnuCHInsertRow", &mainText::kInsertRow, ChannelEditCommand::InsertRow},
        std::tuple{"mnuCHDeleteRow", &mainText::kDeleteRow, ChannelEditCommand::DeleteRow},
        std::tuple{"mnuCHSortUp", &mainText::kSortAscending, ChannelEditCommand::SortAscending},
        std::tuple{"mnuCHSortDown", &mainText::kSortDescending, ChannelEditCommand::SortDescending},
        std::tuple{"mnuCHCompact", &mainText::kCompact, ChannelEditCommand::Compact},
        std::tuple{"mnuCHFind", &mainText::kFind, ChannelEditCommand::Find}}) {
    if (std::string_view(name) == "mnuCHSortUp" || std::string_view(name) == "mnuCHFind")
      channelEditMenu_->addSeparator();
    QAction *a = entry(channelEditMenu_, name, *caption, [this, c = command] { channelEdit(c); });
    a->setShortcut(QKeySequence(QString::fromLatin1(ChannelPlanKeys(command))));
    a->setShortcutContext(Qt::WidgetShortcut);
  }

  QMenu *edit = menu("mnuEdit", mainText::kMenuEdit);
  // Undo and Redo, named after the step they take back; also while an editor window or the
  // detail dialog has the focus (a text box being typed in keeps its own Ctrl+Z).
  QAction *undoEntry = addAction(edit, "mnuEditUndo", [this] { undo(); });
  undoEntry->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  undoEntry->setShortcutContext(Qt::ApplicationShortcut);
  QAction *redoEntry = addAction(edit, "mnuEditRedo", [this] { redo(); });
  redoEntry->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redoEntry->setShortcutContext(Qt::ApplicationShortcut);
  edit->addSeparator();
  connect(edit, &QMenu::aboutToShow, this, [this] { updateHistoryState(); });
  editor(edit, "mnuChInfo", mainText::kChannelInformation, window::kChannelGrid);
  editor(edit, "mnuOptFeatures", mainText::kFunctionSetup, window::kFunctionSetup);
  editor(edit, "mnuKeyAssign", mainText::kKeySetting, window::kKeySetting);
  editor(edit, "mnuScanInfo", mainText::kScanInformation, window::kScanInformation);
  editor(edit, "mnuDTMF", mainText::kDtmf, window::kDtmf);
  editor(edit, "mnuFleetSync", mainText::kFleetSync, window::kFleetSync);
  editor(edit, "mnuEmbMsg", mainText::kEmbeddedMessage, window::kEmbeddedMessage);
  entry(edit, "mnuEMG", mainText::kLocalMessage, [this] { ReadRMGDataFromRadio(); });
  edit->addSeparator();
  inert(edit, "mnuTestFre", mainText::kTestFrequence);
  editor(edit, "mnuTestData", mainText::kTestDataInformation, window::kTestData)
      ->setVisible(ws_.testMode);
  edit->addSeparator();
  editor(edit, "mnuCHBatch", mainText::kBatchChannelEdit, window::kBatchEdit);

  QMenu *program = menu("mnuProgram", mainText::kMenuProgram);
  entry(program, "mnuReadFromRadio", mainText::kReadFromRadio, [this] { radio_->readFromRadio(); });
  entry(program, "mnuWriteToRadio", mainText::kWriteToRadio, [this] { radio_->writeToRadio(); });
  entry(program, "mnuMWriteRadio", mainText::kWriteToGroup, [this] { radio_->writeToGroup(); });
  entry(program, "mnuFleet", trustText::kProgramSeveral, [this] { radio_->programSeveralRadios(); });
  entry(program, "mnuCustomer", trustText::kCustomerMenu, [this] { radio_->customerCommand(); });
  program->addSeparator();
  inert(program, "mnuTestMode", mainText::kTestMode);
  entry(program, "MnuProPassWord", mainText::kProgramPassword,
        [this] { radio_->programPassword(); });

  QMenu *tools = menu("mnuTools", mainText::kMenuTools);
  entry(tools, "mnuRadioInfo", mainText::kRadioInformation, [this] { radio_->radioInformation(); });
  inert(tools, "mnuSetRadioInfo", mainText::kSetRadioInformation);
  // Putting a radio back is a restore job of the session, recorded as an entry of its own.
  entry(tools, "mnuRadioHistory", historytext::kMenu, [this] {
    OpenRadioHistory(*this, [this](const std::string &image) { radio_->restoreImage(image); });
  });
  tools->addSeparator();
  editor(tools, "mnuCheckPlan", plantext::kCheckPlanMenu, window::kPlanCheck);

  QMenu *setting = menu("mnuSetting", mainText::kMenuSetting);
  entry(setting, "mnuComm", mainText::kSetCom, [this] { radio_->setCom(); });
  entry(setting, "mnuLanguage", mainText::kSetLanguage, [this] { showSetLanguage(); });
  setting->addSeparator();
  // Remembered per user; both on unless turned off.
  QAction *backup = entry(setting, "mnuBackupBeforeWrite", trustText::kBackupBeforeWrite, {});
  backup->setCheckable(true);
  backup->setChecked(RadioCommands::backupBeforeWrite());
  connect(backup, &QAction::toggled, this, [](bool on) { RadioCommands::setBackupBeforeWrite(on); });
  QAction *verify = entry(setting, "mnuVerifyAfterWrite", trustText::kVerifyAfterWrite, {});
  verify->setCheckable(true);
  verify->setChecked(RadioCommands::verifyAfterWrite());
  connect(verify, &QAction::toggled, this, [](bool on) { RadioCommands::setVerifyAfterWrite(on); });

  QMenu *view = menu("mnuView", mainText::kMenuView);
  auto toggle = [&](const char *name, const Tr &caption, std::function<void(bool)> apply) {
    QAction *a = entry(view, name, caption, {});
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, [apply](bool on) { apply(on); });
  };
  toggle("mnuViewTreeView", mainText::kTreeView, [this](bool on) { treePanel_->setVisible(on); });
  toggle("mnuViewToolbar", mainText::kToolbar, [this](bool on) { toolbar_->setVisible(on); });
  toggle("mnuViewStatusBar", mainText::kStatusBar, [this](bool on) { statusBar()->setVisible(on); });
  // The Messages list, hidden until asked for; closing it clears the tick.
  QAction *messages = entry(view, "mnuViewMessages", mainText::kMessages, {});
  messages->setCheckable(true);
  connect(messages, &QAction::toggled, this, [this](bool on) {
    messages_->setVisible(on);
    // A few lines high at first: the child windows keep most of the room.
    if (on) resizeDocks({messages_}, {messages_->fontMetrics().height() * 8}, Qt::Vertical);
  });
  connect(messages_, &QDockWidget::visibilityChanged, messages, [this, messages](bool) {
    messages->setChecked(!messages_->isHidden());
  });

  QMenu *win = menu("mnuWindow", mainText::kMenuWindow);
  entry(win, "mnuWindowCascade", mainText::kCascade, [this] { cascade(); });
  entry(win, "mnuWindowTileVertical", mainText::kTileVertically, [this] { tileVertically(); });
  entry(win, "mnuWindowTileHorizontal", mainText::kTileHorizontally,
        [this] { tileHorizontally(); });
  entry(win, "mnuWindowArrangeIcons", mainText::kArrangeIcons, [this] { arrangeIcons(); });
  win->addSeparator();
  entry(win, "mnuWindowCloseAll", mainText::kCloseAllWindows, [this] { CloseCurAllWindows(); });
  // The open windows, listed below the commands; the active one ticked.
  connect(win, &QMenu::aboutToShow, this, [this, win] {
    for (QAction *a : windowListActions_) {
      win->removeAction(a);
      a->deleteLater();
    }
    windowListActions_.clear();
    int n = 0;
    for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
      if (sub->isHidden()) continue;
      if (n == 0) windowListActions_.push_back(win->addSeparator());
      ++n;
      QString text = (n < 10 ? QString("&%1 ").arg(n) : QString("%1 ").arg(n)) + sub->windowTitle();
      QAction *a = win->addAction(text);
      a->setCheckable(true);
      a->setChecked(sub == mdi_->activeSubWindow());
      connect(a, &QAction::triggered, this, [this, sub] {
        if (sub->isMinimized()) sub->showNormal();
        mdi_->setActiveSubWindow(sub);
      });
      windowListActions_.push_back(a);
    }
  });

  QMenu *help = menu("mnuHelp", mainText::kMenuHelp);
  // F1 is shown beside the entry; the key itself opens the page of the window it is pressed
  // in (HelpKey), the contents from the main window.
  QAction *contents = entry(help, "mnuHelpContents", mainText::kHelpTopics, [this] { showHelp(); });
  contents->setShortcut(QKeySequence::HelpContents);
  contents->setShortcutContext(Qt::WidgetShortcut);
  help->addSeparator();
  entry(help, "mnuHelpAbout", mainText::kAbout, [this] { showAbout(); });
}

void frmMain::addToolButton(const char *key, const char *mirrors, std::function<void()> command) {
  auto *a = new QAction(ToolbarIcon(key), QString(), this);
  a->setObjectName(key);
  toolbar_->addAction(a);
  actions_[key] = a;
  toolMirrors_[key] = mirrors;
  if (command)
    connect(a, &QAction::triggered, this,
            [this, command] { run("tbToolBar_ButtonClick", command); });
}

void frmMain::buildToolbar() {
  toolbar_ = addToolBar(QString());
  toolbar_->setObjectName("tbToolBar");
  toolbar_->setMovable(false);
  toolbar_->setIconSize(QSize(24, 24));
  toolbar_->toggleViewAction()->setVisible(false);
  // Buttons 1 to 17 in order; separators count as buttons.
  addToolButton("新建", "mnuFileNew", [this] { FileNew(ws_, *this); });
  addToolButton("打开", "mnuFileOpen", [this] { FileOpen(ws_, *this); });
  addToolButton("保存", "mnuFileSave", [this] { FileSave(ws_, *this); });
  toolbar_->addSeparator();
  addToolButton("打印", "mnuFilePrint", [this] { openEditor(window::kPrintList); });
  toolbar_->addSeparator();
  addToolButton("ReadRadio", "mnuReadFromRadio", [this] { radio_->readFromRadio(); });
  addToolButton("CommSet", "mnuComm", [this] { radio_->setCom(); });
  addToolButton("WriteRadio", "mnuWriteToRadio", [this] { radio_->writeToRadio(); });
  channelButtons_.push_back(toolbar_->addSeparator());
  addToolButton("CHCut", "mnuCHCut", [this] { channelEdit(ChannelEditCommand::Cut); });
  addToolButton("CHCopy", "mnuCHCopy", [this] { channelEdit(ChannelEditCommand::Copy); });
  addToolButton("CHPaste", "mnuCHPaste", [this] { channelEdit(ChannelEditCommand::Paste); });
  addToolButton("CHDelete", "mnuCHDelete", [this] { channelEdit(ChannelEditCommand::Delete); });
  for (const char *k : {"CHCut", "CHCopy", "CHPaste", "CHDelete"}) channelButtons_.push_back(actions_[k]);
  toolbar_->addSeparator();
  addToolButton("MWriteRadio", "mnuMWriteRadio", [this] { radio_->writeToGroup(); });
  addToolButton("About", "mnuHelpAbout", [this] { showAbout(); });
  // After the seventeen buttons of old, so their numbers stay as they were.
  toolbar_->addSeparator();
  addToolButton("Undo", "", [this] { undo(); });
  addToolButton("Redo", "", [this] { redo(); });
  addToolButton("FleetRadio", "mnuFleet", [this] { radio_->programSeveralRadios(); });
}

void frmMain::buildStatusBar() {
  QStatusBar *bar = statusBar();
  bar->setObjectName("sbStatusBar");
  panel1_ = new QLabel;
  panel1_->setObjectName("sbStatusBar_Panel1");
  panel2_ = new QLabel;
  panel2_->setObjectName("sbStatusBar_Panel2");
  panel3_ = new QLabel;
  panel3_->setObjectName("sbStatusBar_Panel3");
  for (QLabel *p : {panel2_, panel3_}) {
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Sunken);
    p->setMinimumWidth(130);
    p->setContentsMargins(6, 0, 6, 0);
  }
  bar->addWidget(panel1_, 1);
  bar->addPermanentWidget(panel2_);
  bar->addPermanentWidget(panel3_);
}

}  // namespace n27
