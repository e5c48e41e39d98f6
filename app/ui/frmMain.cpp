#include "app/ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <algorithm>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <string_view>
#include <tuple>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/main_window_texts.h"
#include "base/messages.h"
#include "base/settings.h"
#include "app/ui/about_dialog.h"
#include "app/ui/help_window.h"
#include "app/ui/frmLanguage.h"
#include "app/ui/qt_translations.h"
#include "app/ui/frmModelInfo.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "app/ui/toolbar_icons.h"
#include "app/recent_files.h"
#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/ui/FrmChannelList.h"
#include "channels/freq_codec.h"
#include "codeplug/configuration.h"
#include "link/ui/radio_commands.h"
#include "plan/ui/plan_commands.h"
#include "print/ui/FrmCompare.h"
#include "history/ui/FrmHistory.h"
#include "history/ui/history_texts.h"
#include "link/ui/trust_texts.h"

namespace n27 {

namespace {

QString qs(const char *utf8) { return QString::fromUtf8(utf8); }
QString qs(const std::string &utf8) { return QString::fromStdString(utf8); }

// Tree nodes: key, menu caption, window opened (empty: a command of its own).
struct TreeNode {
  const char *key;
  const Tr *caption;
  const char *window;
};
const TreeNode kTreeNodes[] = {
    {"N1", &mainText::kChannelInformation, window::kChannelGrid},
    {"N2", &mainText::kFunctionSetup, window::kFunctionSetup},
    {"N3", &mainText::kKeySetting, window::kKeySetting},
    {"N10", &mainText::kTestDataInformation, window::kTestData},
};

// Nodes that may exist in a tree and the windows they open.
const char *windowOfNode(const QString &key) {
  static const std::pair<const char *, const char *> nodes[] = {
      {"N1", window::kChannelGrid},     {"N2", window::kFunctionSetup},
      {"N3", window::kKeySetting},      {"N4", window::kScanInformation},
      {"N5", window::kDtmf},            {"N6", window::kFleetSync},
      {"N8", window::kEmbeddedMessage}, {"N10", window::kTestData},
  };
  for (const auto &[k, w] : nodes)
    if (key == k) return w;
  return nullptr;
}

constexpr const char *kSettingsGroup = "Settings";
constexpr const char *kRecentFilesKey = "Settings/RecentFiles";

// The status bar's first panel while the configuration differs from the saved copy.
constexpr Tr kModifiedPanel{"Modified", "已修改"};

}  // namespace

frmMain::frmMain(Workspace &ws, ShellOptions options, QWidget *parent)
    : QMainWindow(parent), ws_(ws), options_(std::move(options)) {
  channels_ = std::make_unique<ChannelContext>(ws, [this](const std::string &text, MessageIcon icon) {
    ShowMessage(this, QString::fromStdString(text),
                icon == MessageIcon::Warning ? BoxIcon::Warning : BoxIcon::None);
  });
  setObjectName("frmMain");
  setWindowIcon(ApplicationIcon());
  ReadDecTable(*channels_);
  RegisterEditorWindows(editors_);
  radio_ = std::make_unique<RadioCommands>(*this);
  comPort_ = options_.comPort;

  mdi_ = new QMdiArea;
  mdi_->setObjectName("MDIArea");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);

  buildTree();
  splitter_ = new QSplitter(Qt::Horizontal);
  splitter_->setObjectName("picSplitter");
  splitter_->addWidget(treePanel_);
  splitter_->addWidget(mdi_);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setCollapsible(1, false);
  splitter_->setSizes({230, 800});
  setCentralWidget(splitter_);

  buildMenus();
  buildToolbar();
  buildStatusBar();
  updateEditorAvailability();
  ShowCHInfo(false);

  if (options_.keepGeometry) restoreWindowGeometry();
  else resize(TwipsToPixels(WindowGeometry{}.width), TwipsToPixels(WindowGeometry{}.height));
  // The history tells when a step was recorded, undone or redone: the Undo/Redo entries and
  // the Modified panel follow.
  ws_.history.changed = [this] { updateHistoryState(); };
  setAcceptDrops(true);
  Change_Language();
  openDefaultEditors();
}

frmMain::~frmMain() {
  ws_.history.changed = nullptr;  // the workspace outlives the window
  // The editors listen to the channel context, a member: they go before the members do,
  // also those closed but not deleted yet.
  delete takeCentralWidget();
  const QObjectList kids = children();
  for (QObject *child : kids) {
    QPointer<QWidget> w = qobject_cast<QWidget *>(child);
    if (w && w->isWindow()) delete w.data();
  }
}

// ---------------------------------------------------------------------------------------
// Building the window

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
  program->addSeparator();
  inert(program, "mnuTestMode", mainText::kTestMode);
  entry(program, "MnuProPassWord", mainText::kProgramPassword,
        [this] { radio_->programPassword(); });

  QMenu *tools = menu("mnuTools", mainText::kMenuTools);
  entry(tools, "mnuRadioInfo", mainText::kRadioInformation, [this] { radio_->radioInformation(); });
  inert(tools, "mnuSetRadioInfo", mainText::kSetRadioInformation);
  // The restore goes through the desktop's restore command until the programming job takes it.
  entry(tools, "mnuRadioHistory", historytext::kMenu, [this] {
    OpenRadioHistory(*this, [this](const std::string &image) { RestoreWithBackupCommand(*this, image); });
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
  entry(help, "mnuHelpContents", mainText::kHelpTopics, [this] { showHelp(); })
      ->setShortcut(QKeySequence::HelpContents);
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

void frmMain::buildTree() {
  treePanel_ = new QWidget;
  treePanel_->setObjectName("picTree");
  auto *layout = new QVBoxLayout(treePanel_);
  layout->setContentsMargins(0, 0, 0, 0);
  tree_ = new QTreeWidget;
  tree_->setObjectName("tvTreeView");
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setMinimumWidth(120);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->header()->setStretchLastSection(false);
  layout->addWidget(tree_);
  connect(tree_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem *item) { treeItemActivated(item); });
  connect(tree_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem *item) { treeItemActivated(item); });
}

void frmMain::registerEditor(EditorWindowEntry entry) {
  editors_.add(std::move(entry));
  updateEditorAvailability();
  Change_Language();  // the tree shows the node enabled
}

void frmMain::updateEditorAvailability() {
  for (const auto &[actionName, windowName] : editorOfAction_)
    actions_[actionName]->setEnabled(editors_.find(windowName) != nullptr);
  // The test data window belongs to the factory's test mode only.
  if (!ws_.testMode) actions_["mnuTestData"]->setEnabled(false);
  actions_["打印"]->setEnabled(editors_.find(window::kPrintList) != nullptr);
  // The radio-information reads end by showing the radio-information window.
  const bool infoWindow = editors_.find(window::kRadioInformation) != nullptr;
  actions_["mnuEMG"]->setEnabled(infoWindow);
  actions_["mnuRadioInfo"]->setEnabled(infoWindow);
  for (const char *k : {"mnuCHCut", "mnuCHCopy", "mnuCHPaste", "mnuCHDelete", "CHCut", "CHCopy",
                        "CHPaste", "CHDelete", "mnuCHMoveUp", "mnuCHMoveDown", "mnuCHInsertRow",
                        "mnuCHDeleteRow", "mnuCHSortUp", "mnuCHSortDown", "mnuCHCompact", "mnuCHFind"})
    actions_[k]->setEnabled(editors_.find(window::kChannelGrid) != nullptr);
}

// ---------------------------------------------------------------------------------------
// Public operations

void frmMain::run(const QString &handler, const std::function<void()> &command) {
  RunHandler(this, handler, command);
}

void frmMain::Change_Language() {
  languageApplied_ = LanguageIndex();
  ApplyQtTranslations(languageApplied_);  // Qt's own dialogs and buttons speak it too
  for (const auto &[name, caption] : captions_)
    if (auto it = actions_.find(name); it != actions_.end()) it->second->setText(qs(Text(*caption)));
  for (const auto &[key, mirrored] : toolMirrors_) {
    auto caption = captions_.find(mirrored);
    if (caption != captions_.end())
      actions_[key]->setToolTip(qs(mainText::PlainCaption(Text(*caption->second))));
  }
  toolbar_->setWindowTitle(qs(mainText::PlainCaption(Text(mainText::kToolbar))));
  setCaptionForm(captionForm_);
  updateHistoryState();
  rebuildRecentMenu();
  setComPort(comPort_, false);

  rebuildTree();
}

void frmMain::rebuildTree() {
  tree_->clear();
  auto *root = new QTreeWidgetItem(tree_, {qs(Text(mainText::kTreeRoot))});
  root->setData(0, Qt::UserRole, "N0");
  root->setIcon(0, ToolbarIcon("TreeRoot"));
  for (const auto &node : kTreeNodes) {
    if (QString(node.key) == "N10" && !ws_.testMode) continue;
    auto *item = new QTreeWidgetItem(root, {qs(mainText::PlainCaption(Text(*node.caption)))});
    item->setData(0, Qt::UserRole, node.key);
    item->setIcon(0, ToolbarIcon(node.key));
    if (!editors_.find(node.window)) {
      item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
      // Without the channel window the tree lists the channels of the configuration.
      if (QString(node.key) == "N1" && ws_.working.channelCount > 0) {
        item->setFlags(Qt::ItemIsEnabled);  // readable, but it opens nothing
        ChannelContext quiet(ws_);  // a damaged text shows as the band limit, without a box
        for (int k = 1; k <= ws_.working.channelCount && k <= kMaxChannels; ++k) {
          const ChannelRecord &ch = ws_.working.channels[k - 1];
          QString text = QString("%1  %2").arg(ch.number, 3, 10, QChar('0'))
                             .arg(qs(ShowFre(quiet, ch.rx.text())));
          std::string tx = ShowFre(quiet, ch.tx.text());
          if (tx != ShowFre(quiet, ch.rx.text())) text += " / " + (tx.empty() ? "–" : qs(tx));
          auto *channel = new QTreeWidgetItem(item, {text});
          channel->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        item->setExpanded(true);
      }
    }
  }
  root->setExpanded(true);
}

void frmMain::applyLanguageIfChanged() {
  if (languageApplied_ == LanguageIndex()) return;
  Change_Language();
  CloseCurAllWindows();
  openDefaultEditors();
}

void frmMain::setCaptionForm(CaptionForm form) {
  captionForm_ = form;
  CaptionParts parts{ws_.modelFamily, ws_.bandText, ws_.fileName, ws_.firmwareVersion};
  setWindowTitle(qs(MainCaption(form, parts, LanguageIndex())));
  panel2_->setText(qs(StatusBandText(ws_.bandText)));
  // After a load or a save: the file joins the recent list, and what counts as changed
  // (the grid's marks, the Modified panel) is measured against the new saved copy.
  if (form == CaptionForm::File && !ws_.untitled) {
    rememberRecentFile(ws_.fileName);
    if (channels_) channels_->notifyAll();
  }
  updateModifiedPanel();
}

void frmMain::setComPort(int port, bool store) {
  comPort_ = port;
  panel3_->setText(qs(StatusPortText(port, LanguageIndex())));
  if (store && !options_.setupFile.empty()) WriteSetupSettings(options_.setupFile, port, false);
}

void frmMain::showStatus(const QString &text) {
  if (text.isEmpty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(text);
}

void frmMain::ShowCHInfo(bool show) {
  channelEditMenu_->menuAction()->setVisible(show);
  for (QAction *a : channelButtons_) a->setVisible(show);
}

QMdiSubWindow *frmMain::subWindowOf(const QString &name) const {
  for (QMdiSubWindow *sub : mdi_->subWindowList())
    if (!sub->isHidden() && sub->widget() && sub->widget()->objectName() == name) return sub;
  return nullptr;
}

QWidget *frmMain::findWindow(const QString &name) const {
  if (QMdiSubWindow *sub = subWindowOf(name)) return sub->widget();
  for (const auto &w : openWindows_)
    if (w && !w->isHidden() && w->objectName() == name) return w;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w != this && !w->isHidden() && w->objectName() == name) return w;
  return nullptr;
}

bool frmMain::FindWindowByName(const QString &name) const { return findWindow(name) != nullptr; }

QWidget *frmMain::openEditor(const QString &name) {
  if (QMdiSubWindow *sub = subWindowOf(name)) {
    if (sub->isMinimized()) sub->showNormal();
    mdi_->setActiveSubWindow(sub);
    return sub->widget();
  }
  if (QWidget *open = findWindow(name)) {
    open->raise();
    open->activateWindow();
    return open;
  }
  const EditorWindowEntry *entry = editors_.find(name);
  if (!entry) return nullptr;
  QWidget *w = entry->create(*this);
  if (!w) return nullptr;
  if (w->objectName().isEmpty()) w->setObjectName(name);
  switch (entry->placement) {
    case WindowPlacement::MdiChild: {
      QMdiSubWindow *sub = mdi_->addSubWindow(w);
      sub->setAttribute(Qt::WA_DeleteOnClose);
      sub->setWindowIcon(w->windowIcon().isNull() ? ApplicationIcon() : w->windowIcon());
      w->show();
      sub->show();
      fitInWorkArea(sub);
      mdi_->setActiveSubWindow(sub);
      return w;
    }
    case WindowPlacement::Modal: {
      QPointer<QWidget> guard(w);
      if (auto *dialog = qobject_cast<QDialog *>(w)) {
        if (!dialog->parent()) dialog->setParent(this, dialog->windowFlags() | Qt::Dialog);
        ExecDialog(*dialog);
      }
      if (guard) guard->deleteLater();
      return nullptr;
    }
    case WindowPlacement::Modeless:
      if (!w->parent()) w->setParent(this, Qt::Tool);
      w->setAttribute(Qt::WA_DeleteOnClose);
      openWindows_.push_back(w);
      w->show();
      return w;
  }
  return nullptr;
}

void frmMain::fitInWorkArea(QMdiSubWindow *sub) {
  // A window opens whole inside the work area at the size it asks for, but no larger than the
  // area (a window that needs more scrolls inside itself), moved back in where it would reach
  // past an edge.
  // What the window asks for is known once its layouts have taken in the style and font it
  // got on showing.
  for (int i = 0; i < 4; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const QSize room = mdi_->viewport()->size();
  if (room.isEmpty()) return;
  const QSize size = sub->sizeHint().boundedTo(room).expandedTo(sub->minimumSize());
  if (size != sub->size()) sub->resize(size);
  const int x = std::clamp(sub->x(), 0, std::max(0, room.width() - sub->width()));
  const int y = std::clamp(sub->y(), 0, std::max(0, room.height() - sub->height()));
  if (x != sub->x() || y != sub->y()) sub->move(x, y);
}

void frmMain::CloseCurAllWindows() {
  for (QMdiSubWindow *sub : mdi_->subWindowList()) {
    if (!sub->close()) {
      sub->hide();  // a window that refused to close still goes away
      sub->deleteLater();
    }
  }
  for (auto &w : openWindows_)
    if (w) w->close();
  openWindows_.clear();
  // Modeless windows the editors opened themselves (the channel detail dialog).
  for (QObject *child : children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (w && w->isWindow() && !w->isHidden() && !w->isModal() && w != help_) w->close();
  }
  ShowCHInfo(false);
}

void frmMain::storePendingInput() {
  for (QMdiSubWindow *sub : mdi_->subWindowList())
    if (auto *editor = dynamic_cast<EditorWindow *>(sub->widget())) editor->storePendingInput();
  for (QObject *child : children())
    if (auto *editor = dynamic_cast<EditorWindow *>(child)) editor->storePendingInput();
}

void frmMain::openDefaultEditors() {
  if (editors_.find(window::kChannelGrid)) openEditor(window::kChannelGrid);
  else rebuildTree();
  cascade();
}

void frmMain::LoadNewDoc() { n27::LoadNewDoc(ws_, *this); }

void frmMain::showReadConfiguration() {
  CloseCurAllWindows();
  Change_Language();
  openDefaultEditors();
  setCaptionForm(CaptionForm::Read);
}

void frmMain::ReadRMGDataFromRadio() { radio_->readRadioInformationForWindow(); }

void frmMain::channelEdit(ChannelEditCommand command) {
  if (auto *grid = dynamic_cast<EditorWindow *>(findWindow(window::kChannelGrid)))
    grid->channelEdit(command);
}

// ---------------------------------------------------------------------------------------
// Child window arrangement

void frmMain::cascade() { mdi_->cascadeSubWindows(); }

namespace {
QList<QMdiSubWindow *> arrangeable(QMdiArea *mdi) {
  QList<QMdiSubWindow *> out;
  for (QMdiSubWindow *sub : mdi->subWindowList(QMdiArea::CreationOrder))
    if (!sub->isHidden() && !sub->isMinimized()) out << sub;
  return out;
}
}  // namespace

void frmMain::tileVertically() { tile(true); }
void frmMain::tileHorizontally() { tile(false); }

void frmMain::tile(bool sideBySide) {
  // Side by side, each the full height; or one above the other, each the full width.
  auto subs = arrangeable(mdi_);
  if (subs.isEmpty()) return;
  QRect area = mdi_->viewport()->rect();
  const int n = static_cast<int>(subs.size());
  for (int i = 0; i < n; ++i) {
    subs[i]->showNormal();
    if (sideBySide)
      subs[i]->setGeometry(i * area.width() / n, 0, area.width() / n, area.height());
    else
      subs[i]->setGeometry(0, i * area.height() / n, area.width(), area.height() / n);
  }
}

void frmMain::arrangeIcons() {
  // Minimised windows in a row along the bottom edge.
  QRect area = mdi_->viewport()->rect();
  int x = 0;
  for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (sub->isHidden() || !sub->isMinimized()) continue;
    QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) x = 0;
    sub->move(x, area.height() - size.height());
    x += size.width();
  }
}

// ---------------------------------------------------------------------------------------
// Commands

bool frmMain::openFile(const std::string &path) {
  bool loaded = false;
  run("OpenFile", [&] { loaded = OpenDataFile(ws_, *this, path); });
  return loaded;
}

bool frmMain::offerToSaveChanges() { return OfferToSaveChanges(ws_, *this); }

void frmMain::endApplication() {
  closing_ = true;
  close();
}

void frmMain::fileNew() { FileNew(ws_, *this); }
void frmMain::fileOpen() { FileOpen(ws_, *this); }
void frmMain::fileSave() { FileSave(ws_, *this); }
void frmMain::fileSaveAs() { FileSaveAs(ws_, *this); }

void frmMain::treeItemActivated(QTreeWidgetItem *item) {
  if (!item || !(item->flags() & Qt::ItemIsEnabled)) return;
  QString key = item->data(0, Qt::UserRole).toString();
  if (key == "N1" && !editors_.find(window::kChannelGrid)) return;
  run("tvTreeView_NodeClick", [&] {
    if (key == "N9") {
      ReadRMGDataFromRadio();
    } else if (const char *w = windowOfNode(key)) {
      openEditor(w);
    }
  });
}

void frmMain::showAbout() {
  AboutDialog about(LanguageIndex(), this);
  ExecDialog(about);
}

void frmMain::showModelInformation() {
  frmModelInfo dialog(ws_, this);
  if (ExecDialog(dialog) != QDialog::Accepted) return;
  ApplyModelInformation(ws_, *this, dialog.modelText().toStdString(),
                        dialog.bandText().toStdString());
}

void frmMain::showSetLanguage() {
  frmLanguage dialog(this);
  ExecDialog(dialog);
  applyLanguageIfChanged();
}

void frmMain::showHelp(int context) {
  if (!help_) {
    help_ = new HelpWindow(this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->showTopic(LanguageIndex(), context);
}

// ---------------------------------------------------------------------------------------
// ShellHost

Answer frmMain::ask(const std::string &text, Prompt prompt) { return Ask(this, qs(text), prompt); }

void frmMain::showMessage(const std::string &text, BoxIcon icon) {
  ShowMessage(this, qs(text), icon);
}

void frmMain::showMessage(const std::string &text, BoxIcon icon, const std::string &detail) {
  CurrentPrompter().message(this, qs(text), icon, qs(detail));
}

namespace {
QString folderOf(const Workspace &ws) {
  if (ws.untitled) {
    QSettings settings;
    return settings.value("Settings/LastFolder", QDir::homePath()).toString();
  }
  return QFileInfo(QString::fromStdString(ws.fileName)).absolutePath();
}
void rememberFolder(const QString &path) {
  QSettings settings;
  settings.setValue("Settings/LastFolder", QFileInfo(path).absolutePath());
}
}  // namespace

std::optional<std::string> frmMain::chooseFileToOpen() {
  auto name = CurrentPrompter().openFileName(this, qs(DataFileFilter()), folderOf(ws_));
  if (!name) return std::nullopt;
  rememberFolder(*name);
  return name->toStdString();
}

std::optional<std::string> frmMain::chooseFileToSave(const std::string &proposed) {
  QString start = QDir(folderOf(ws_)).filePath(qs(FileNameOnly(proposed)));
  auto name = CurrentPrompter().saveFileName(this, qs(DataFileFilter()), start);
  if (!name) return std::nullopt;
  rememberFolder(*name);
  return name->toStdString();
}

// ---------------------------------------------------------------------------------------
// Window events

void frmMain::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) applyLanguageIfChanged();
}

void frmMain::closeEvent(QCloseEvent *event) {
  bool mayClose = true;
  run("Form_Unload", [&] {
    if (!closing_ && (radio_->busy() || !OfferToSaveChanges(ws_, *this))) {
      mayClose = false;
      return;
    }
    if (options_.keepGeometry && !isMinimized()) saveWindowGeometry();
    if (!options_.flagsFile.empty()) WriteRadioInfoFlags(options_.flagsFile, ws_.radioInfoFlags);
  });
  if (!mayClose) {
    event->ignore();
    return;
  }
  if (help_) help_->close();
  CloseCurAllWindows();
  event->accept();
}

void frmMain::restoreWindowGeometry() {
  QSettings settings;
  settings.beginGroup(kSettingsGroup);
  WindowGeometry g;
  g.left = settings.value("MainLeft", g.left).toInt();
  g.top = settings.value("MainTop", g.top).toInt();
  g.width = settings.value("MainWidth", g.width).toInt();
  g.height = settings.value("MainHeight", g.height).toInt();
  QRect r(TwipsToPixels(g.left), TwipsToPixels(g.top), TwipsToPixels(g.width),
          TwipsToPixels(g.height));
  // A window saved on a screen that is no longer there comes back on the primary one.
  if (QScreen *screen = QApplication::primaryScreen()) {
    QRect avail = screen->availableGeometry();
    bool onScreen = false;
    for (QScreen *s : QApplication::screens()) onScreen |= s->availableGeometry().intersects(r);
    if (!onScreen) r.moveTopLeft(avail.topLeft() + QPoint(20, 20));
    r.setWidth(std::min(std::max(r.width(), 400), avail.width()));
    r.setHeight(std::min(std::max(r.height(), 300), avail.height()));
  }
  resize(r.size());
  move(r.topLeft());
  // A window closed maximised opens maximised; the size above is what un-maximising gives.
  if (settings.value("MainMaximized", false).toBool())
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::saveWindowGeometry() {
  QRect r = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  QSettings settings;
  settings.beginGroup(kSettingsGroup);
  settings.setValue("MainLeft", PixelsToTwips(r.left()));
  settings.setValue("MainTop", PixelsToTwips(r.top()));
  settings.setValue("MainWidth", PixelsToTwips(r.width()));
  settings.setValue("MainHeight", PixelsToTwips(r.height()));
  settings.setValue("MainMaximized", isMaximized());
}

// ---------------------------------------------------------------------------------------
// Undo history, modified state, recent files, dropped files

void frmMain::updateHistoryState() {
  const int lang = LanguageIndex();
  const EditHistory &h = ws_.history;
  const QString undoText = qs(UndoMenuText(h.undoCaption(), lang));
  const QString redoText = qs(RedoMenuText(h.redoCaption(), lang));
  actions_["mnuEditUndo"]->setText(undoText);
  actions_["mnuEditRedo"]->setText(redoText);
  for (const char *name : {"mnuEditUndo", "Undo"}) {
    actions_[name]->setToolTip(undoText);
    actions_[name]->setEnabled(h.canUndo());
  }
  for (const char *name : {"mnuEditRedo", "Redo"}) {
    actions_[name]->setToolTip(redoText);
    actions_[name]->setEnabled(h.canRedo());
  }
  updateModifiedPanel();
}

void frmMain::updateModifiedPanel() {
  const bool modified = IsModified(ws_.working, ws_.saved);
  panel1_->setText(qs(Text(modified ? kModifiedPanel : mainText::kReady)));
  QFont f = panel1_->font();
  f.setBold(modified);
  panel1_->setFont(f);
}

void frmMain::afterHistoryMove() {
  // A band switch taken back or repeated brings back another file name and band.
  if (ws_.untitled && captionForm_ == CaptionForm::File) captionForm_ = CaptionForm::New;
  if (!ws_.untitled && captionForm_ != CaptionForm::File) captionForm_ = CaptionForm::File;
  setCaptionForm(captionForm_);
  if (!editors_.find(window::kChannelGrid)) rebuildTree();
  updateHistoryState();
}

void frmMain::undo() {
  run("mnuEditUndo_Click", [this] {
    storePendingInput();  // typed input still open is stored first, so it cannot land later
    if (UndoEdit(*channels_)) afterHistoryMove();
  });
}

void frmMain::redo() {
  run("mnuEditRedo_Click", [this] {
    storePendingInput();
    if (RedoEdit(*channels_)) afterHistoryMove();
  });
}

std::vector<std::string> frmMain::recentFiles() const {
  std::vector<std::string> list;
  for (const QString &p : QSettings().value(kRecentFilesKey).toStringList()) list.push_back(p.toStdString());
  return CleanRecentFiles(list);
}

void frmMain::storeRecentFiles(const std::vector<std::string> &list) {
  QStringList out;
  for (const auto &p : list) out << qs(p);
  QSettings().setValue(kRecentFilesKey, out);
  rebuildRecentMenu();
}

void frmMain::rememberRecentFile(const std::string &path) {
  const std::string full = QFileInfo(qs(path)).absoluteFilePath().toStdString();
  auto list = recentFiles();
  if (!list.empty() && list.front() == full) return;
  storeRecentFiles(AddRecentFile(list, full));
}

void frmMain::rebuildRecentMenu() {
  if (!fileMenu_ || !recentAnchor_) return;
  for (QAction *a : recentActions_) {
    fileMenu_->removeAction(a);
    a->setObjectName(QString());  // gone from the menu now, deleted once its signal returns
    a->deleteLater();
  }
  recentActions_.clear();
  const auto list = recentFiles();
  for (std::size_t i = 0; i < list.size(); ++i) {
    auto *a = new QAction(qs(RecentFileMenuText(i, list[i])), fileMenu_);
    a->setObjectName(QString("mnuFileRecent%1").arg(i + 1));
    a->setToolTip(qs(list[i]));
    const std::string path = list[i];
    connect(a, &QAction::triggered, this,
            [this, path] { run("mnuFileRecent_Click", [&] { openRecentFile(path); }); });
    fileMenu_->insertAction(recentAnchor_, a);
    recentActions_.push_back(a);
  }
  if (!list.empty()) {
    QAction *sep = fileMenu_->insertSeparator(recentActions_.front());
    recentActions_.push_back(sep);
  }
}

bool frmMain::openRecentFile(const std::string &path) {
  if (RecentFileGone(path)) {
    showMessage(MissingRecentFileText(path, LanguageIndex()), BoxIcon::Warning);
    storeRecentFiles(RemoveRecentFile(recentFiles(), path));
    return false;
  }
  if (radio_->busy() || !OfferToSaveChanges(ws_, *this)) return false;
  return OpenDataFile(ws_, *this, path);
}

bool frmMain::openDroppedFiles(const QList<QUrl> &urls) {
  for (const QUrl &url : urls) {
    const QString path = url.toLocalFile();
    if (path.isEmpty() || !path.endsWith(".dat", Qt::CaseInsensitive)) continue;
    bool opened = false;
    run("Form_OLEDragDrop", [&] {
      if (radio_->busy() || !OfferToSaveChanges(ws_, *this)) return;
      opened = OpenDataFile(ws_, *this, path.toStdString());
    });
    return opened;
  }
  return false;
}

namespace {
bool holdsDataFile(const QMimeData *mime) {
  if (!mime || !mime->hasUrls()) return false;
  for (const QUrl &url : mime->urls())
    if (url.isLocalFile() && url.toLocalFile().endsWith(".dat", Qt::CaseInsensitive)) return true;
  return false;
}
}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent *event) {
  if (holdsDataFile(event->mimeData())) event->acceptProposedAction();
  else event->ignore();
}

void frmMain::dropEvent(QDropEvent *event) {
  if (!holdsDataFile(event->mimeData())) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  const QList<QUrl> urls = event->mimeData()->urls();
  // Open after the drop has finished: the save question is a modal box.
  QMetaObject::invokeMethod(this, [this, urls] { openDroppedFiles(urls); }, Qt::QueuedConnection);
}

QAction *frmMain::action(const QString &name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

}  // namespace n27
