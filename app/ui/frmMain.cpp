#include "app/ui/frmMain.h"
#include "base/qt/qt_text.h"

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
#include <ctime>
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
#include "app/ui/help_key.h"
#include "app/ui/help_window.h"
#include "app/ui/frmLanguage.h"
#include "app/ui/frmMessages.h"
#include "app/ui/qt_translations.h"
#include "app/ui/frmModelInfo.h"
#include "base/ui/accessible_names.h"
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
#include "print/ui/FrmCompare.h"
#include "link/ui/trust_texts.h"

namespace n27 {

namespace {


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

}  // namespace

frmMain::frmMain(Workspace &ws, ShellOptions options, QWidget *parent)
    : QMainWindow(parent), ws_(ws), options_(std::move(options)) {
  channels_ = std::make_unique<ChannelContext>(ws, [this](const std::string &text, MessageIcon icon) {
    ShowMessage(this, QString::fromStdString(text),
                icon == MessageIcon::Warning ? BoxIcon::Warning : BoxIcon::None);
  });
  setObjectName("frmMain");
  setWindowIcon(ApplicationIcon());
  ApplyQtTranslations(LanguageIndex());  // Qt's own texts of the parts made below
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

  // Every status bar message and every message box goes into the Messages list.
  messages_ = new frmMessages(log_, this);
  addDockWidget(Qt::BottomDockWidgetArea, messages_);
  messages_->hide();
  log_.changed = [this] { messages_->refresh(); };
  SetMessageObserver([this](const QString &text) { log_.add(text.toStdString(), std::time(nullptr)); });

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
  // Every window's controls are named for screen readers when it is shown.
  new AccessibleNamer(this);
  // F1 opens the guide at the page of the window it is pressed in.
  new HelpKey([this](const HelpTopic &topic) { run("Help_KeyPress", [&] { showHelpPage(topic); }); }, this);
  Change_Language();
  openDefaultEditors();
}

frmMain::~frmMain() {
  ws_.history.changed = nullptr;  // the workspace outlives the window
  SetMessageObserver({});
  log_.changed = nullptr;
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
  tree_->setAccessibleName(qs(mainText::PlainCaption(Text(mainText::kTreeView))));
  messages_->applyLanguage();
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
  // A long message is cut in the status bar: its tooltip and the Messages list hold it whole.
  statusBar()->setToolTip(text);
  if (text.isEmpty()) {
    statusBar()->clearMessage();
    return;
  }
  statusBar()->showMessage(text);
  log_.add(text.toStdString(), std::time(nullptr));
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
    if (w && w->isWindow() && !w->isHidden() && !w->isModal() && w != help_ && w != messages_) w->close();
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

void frmMain::showHelp(int context) { showHelpPage(HelpTopicForContext(context)); }

HelpWindow *frmMain::helpWindow() const { return help_.data(); }

void frmMain::showHelpPage(const HelpTopic &topic) {
  if (!help_) {
    help_ = new HelpWindow(this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->showPage(LanguageIndex(), topic);
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

QAction *frmMain::action(const QString &name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

}  // namespace n27
