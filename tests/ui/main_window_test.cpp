// The main window driven through its menus and toolbar, with the questions answered by the
// test: captions, the file questions, the language switch, Set COM, exit.

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>

#include "base/ini_file.h"
#include "app/ui/frmLanguage.h"
#include "app/ui/frmModelInfo.h"
#include "app/ui/qt_translations.h"
#include "base/ui/handler_guard.h"
#include "link/ui/FrmComSet.h"
#include "link/ui/radio_commands.h"
#include "ui_test_support.h"

namespace n27::test {
namespace {

QString panel(frmMain &m, const char *name) {
  return m.statusBar()->findChild<QLabel *>(name)->text();
}

int openEditors(frmMain &m) {
  int n = 0;
  for (QMdiSubWindow *sub : m.mdiArea()->subWindowList()) n += !sub->isHidden();
  return n;
}

void modify(Workspace &ws) { ws.working.function.squelch = static_cast<int16_t>(ws.working.function.squelch + 1); }

TEST_F(MainWindowTest, CaptionAfterNewSaveLoadAndRead) {
  frmMain &m = makeMain();
  EXPECT_EQ(m.windowTitle(), "N27[File Name:new.dat]");
  EXPECT_EQ(panel(m, "sbStatusBar_Panel2"), "[N27 400 - 490 MHz]");

  prompter.saveNames.push_back(QString::fromStdString(path("radio")));
  trigger("mnuFileSaveAs");
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][File Name:radio.dat]");

  prompter.answers = {Answer::Ok};
  trigger("mnuFileNew");
  EXPECT_EQ(m.windowTitle(), "N27[File Name:new.dat]");

  prompter.openNames.push_back(QString::fromStdString(path("radio.dat")));
  trigger("mnuFileOpen");
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][File Name:radio.dat]");

  // After a read the radio's firmware version follows, also when the language changes.
  ws.firmwareVersion = "V101";
  ws.fileName = "new.dat";
  m.showReadConfiguration();
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][File Name:new.dat] Ver:V101");
  SetLanguageIndex(kChinese);
  m.Change_Language();
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][文件名:new.dat] Ver:V101");
}

TEST_F(MainWindowTest, OpenOnAModifiedConfigurationAsksFirst) {
  frmMain &m = makeMain();
  modify(ws);
  prompter.answers = {Answer::Cancel};
  trigger("mnuFileOpen");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(prompter.questions[0], "File has been modify,save it now?");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
  EXPECT_EQ(m.windowTitle(), "N27[File Name:new.dat]");

  // The toolbar's Open asks the same, and so does its New ("All data will be cleared.").
  prompter.answers = {Answer::Cancel};
  trigger("打开");
  EXPECT_EQ(prompter.questions.back(), "File has been modify,save it now?");
  prompter.answers = {Answer::Cancel};
  trigger("新建");
  EXPECT_EQ(prompter.questions.back(), "All data will be cleared.");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
}

TEST_F(MainWindowTest, LanguageSwitchReappliesCaptionsAndReopensTheGrid) {
  frmMain &m = makeMain();
  registerFake(window::kChannelGrid);
  registerFake(window::kFunctionSetup);
  m.openEditor(window::kChannelGrid);
  m.openEditor(window::kFunctionSetup);
  ASSERT_EQ(openEditors(m), 2);
  const int gridsBefore = FakeEditor::created;

  // Choosing the language that is already active changes nothing and closes nothing.
  prompter.onDialog = [](QDialog &d) {
    static_cast<frmLanguage &>(d).findChild<QPushButton *>("Command1")->click();
    return d.result();
  };
  trigger("mnuLanguage");
  EXPECT_EQ(LanguageIndex(), kEnglish);
  EXPECT_EQ(openEditors(m), 2);
  EXPECT_EQ(FakeEditor::created, gridsBefore);

  prompter.onDialog = [](QDialog &d) {
    EXPECT_EQ(d.windowTitle(), "Set Language");
    auto *list = d.findChild<QComboBox *>("Combo1");
    EXPECT_EQ(list->itemText(0), "English");
    EXPECT_EQ(list->itemText(1), "Chinese");
    list->setCurrentIndex(1);
    d.findChild<QPushButton *>("Command1")->click();
    return d.result();
  };
  trigger("mnuLanguage");
  EXPECT_EQ(LanguageIndex(), kChinese);
  EXPECT_EQ(m.action("mnuFile")->text(), "文件(&F)");
  EXPECT_EQ(m.action("mnuFileOpen")->text(), "打开(&O)...");
  EXPECT_EQ(m.action("打开")->toolTip(), "打开");
  EXPECT_EQ(m.windowTitle(), "N27[文件名:new.dat]");
  EXPECT_EQ(panel(m, "sbStatusBar_Panel3"), "通信口1");
  EXPECT_EQ(m.tree()->topLevelItem(0)->child(0)->text(0), "信道信息");
  // Every editor closed, the grid opened again.
  EXPECT_EQ(openEditors(m), 1);
  EXPECT_TRUE(m.FindWindowByName(window::kChannelGrid));
  EXPECT_FALSE(m.FindWindowByName(window::kFunctionSetup));
  EXPECT_EQ(FakeEditor::created, gridsBefore + 1);

  // The dialog now lists the languages in Chinese.
  prompter.onDialog = [](QDialog &d) {
    auto *list = d.findChild<QComboBox *>("Combo1");
    EXPECT_EQ(list->itemText(0), "英语");
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(d.findChild<QPushButton *>("Command2")->text(), "取消(&C)");
    return QDialog::Rejected;
  };
  trigger("mnuLanguage");
  EXPECT_EQ(LanguageIndex(), kChinese);
}

TEST_F(MainWindowTest, SetComStoresThePortAndShowsItInTheStatusBar) {
  {
    std::ofstream out(options.setupFile);
    out << "[language]\ncomPort=1\n[Ports]\nCOM250=/dev/null\nCOM251=/dev/zero\n";
  }
  frmMain &m = makeMain();
  EXPECT_EQ(panel(m, "sbStatusBar_Panel3"), "COM1");
  prompter.onDialog = [](QDialog &d) {
    EXPECT_EQ(d.objectName(), "FrmComSet");
    auto *list = d.findChild<QComboBox *>("Combo1");
    int i = list->findText("COM251");
    EXPECT_GE(i, 0);
    list->setCurrentIndex(i);
    EXPECT_EQ(d.findChild<QLabel *>("lblDevice")->text(), "/dev/zero");
    d.findChild<QPushButton *>("CommandOK")->click();
    return d.result();
  };
  trigger("mnuComm");
  EXPECT_EQ(m.comPort(), 251);
  EXPECT_EQ(panel(m, "sbStatusBar_Panel3"), "COM251");
  EXPECT_EQ(IniFile::read(options.setupFile, "language", "comPort").value(), "251");

  // Cancel changes nothing.
  prompter.onDialog = [](QDialog &d) {
    d.findChild<QComboBox *>("Combo1")->setCurrentIndex(0);
    d.findChild<QPushButton *>("CommandCancel")->click();
    return d.result();
  };
  trigger("CommSet");
  EXPECT_EQ(m.comPort(), 251);
}

TEST_F(MainWindowTest, ConfiguredAndRunOnlyPortsLeaveTheListWhenTheirDeviceIsGone) {
  // A simulated radio's pseudo-terminal in [Ports] and one given with --port, both stand-ins.
  const std::string configured = (dir / "pts-7").string(), runOnly = (dir / "pts-9").string();
  std::ofstream(configured) << "";
  std::ofstream(runOnly) << "";
  {
    std::ofstream out(options.setupFile);
    out << "[language]\ncomPort=250\n[Ports]\nCOM250=" << configured << "\n";
  }
  options.extraPort = {255, runOnly, "", true};
  frmMain &m = makeMain();
  auto listed = [&](int number) { return FindPort(m.radio().ports(), number) != nullptr; };
  EXPECT_TRUE(listed(250));
  EXPECT_TRUE(listed(255));

  int refreshes = 0;
  prompter.onDialog = [&](QDialog &d) {
    auto &set = static_cast<FrmComSet &>(d);
    EXPECT_GE(set.list()->findText("COM255"), 0);
    // The radio ends while the dialog is open: the next refresh drops both.
    std::filesystem::remove(configured);
    std::filesystem::remove(runOnly);
    set.refresh();
    ++refreshes;
    EXPECT_EQ(set.list()->findText("COM250"), -1);
    EXPECT_EQ(set.list()->findText("COM255"), -1);
    set.findChild<QPushButton *>("CommandCancel")->click();
    return d.result();
  };
  trigger("mnuComm");
  EXPECT_EQ(refreshes, 1);
  EXPECT_FALSE(listed(250));
  EXPECT_FALSE(listed(255));
  // Back again (a new simulated radio on the same name): listed again under its number.
  std::ofstream(runOnly) << "";
  EXPECT_TRUE(listed(255));
}

TEST(FrmComSetList, FollowsPortsThatComeAndGo) {
  std::vector<PortEntry> ports = {{3, "/dev/ttyS2", "", false}, {5, "/dev/ttyS4", "", false}};
  FrmComSet dialog(5, [&] { return ports; });
  EXPECT_EQ(dialog.list()->currentText(), "COM5");
  EXPECT_EQ(dialog.refreshTimer()->interval(), 1000);
  EXPECT_TRUE(dialog.refreshTimer()->isActive());

  // The selected port is pulled out: the first remaining one is selected.
  ports.erase(ports.begin() + 1);
  dialog.refresh();
  EXPECT_EQ(dialog.list()->currentText(), "COM3");
  EXPECT_EQ(dialog.selectedPort(), 3);

  // A new one plugged in keeps the selection.
  ports.push_back({65, "/dev/ttyUSB0", "USB serial", false});
  dialog.refresh();
  EXPECT_EQ(dialog.list()->count(), 2);
  EXPECT_EQ(dialog.selectedPort(), 3);

  // No ports at all: nothing selected, OK chooses 0.
  ports.clear();
  dialog.refresh();
  EXPECT_EQ(dialog.list()->currentIndex(), -1);
  EXPECT_EQ(dialog.selectedPort(), 0);
  dialog.findChild<QPushButton *>("CommandOK")->click();
  EXPECT_EQ(dialog.chosenPort(), 0);
  EXPECT_FALSE(dialog.refreshTimer()->isActive());
}

TEST_F(MainWindowTest, SetComWithNoPortsShowsComZeroAndStoresNothing) {
  {
    std::ofstream out(options.setupFile);
    out << "[language]\ncomPort=7\n";
  }
  frmMain &m = makeMain();
  prompter.onDialog = [](QDialog &d) {
    auto *list = d.findChild<QComboBox *>("Combo1");
    list->setCurrentIndex(-1);
    d.findChild<QPushButton *>("CommandOK")->click();
    return d.result();
  };
  trigger("mnuComm");
  EXPECT_EQ(panel(m, "sbStatusBar_Panel3"), "COM0");
  EXPECT_EQ(IniFile::read(options.setupFile, "language", "comPort").value(), "7");
}

TEST_F(MainWindowTest, ExitWithUnsavedChangesAsks) {
  frmMain &m = makeMain();
  modify(ws);
  prompter.answers = {Answer::Cancel};
  EXPECT_FALSE(m.close());
  EXPECT_TRUE(m.isVisible());
  EXPECT_EQ(prompter.questions.back(), "File has been modify,save it now?");

  // Yes saves under a new name, then the window closes and the flags are written.
  ws.radioInfoFlags = {1, 0, 1};
  prompter.answers = {Answer::Yes};
  prompter.saveNames.push_back(QString::fromStdString(path("kept.dat")));
  EXPECT_TRUE(m.close());
  EXPECT_TRUE(std::filesystem::exists(path("kept.dat")));
  EXPECT_EQ(std::filesystem::file_size(options.flagsFile), 16u);
  main.reset();
}

TEST_F(MainWindowTest, GeometryIsKeptUnlessMinimised) {
  options.keepGeometry = true;
  frmMain &m = makeMain();
  m.resize(800, 600);
  m.move(150, 120);
  ASSERT_TRUE(m.close());
  main.reset();
  QSettings s;
  EXPECT_EQ(s.value("Settings/MainWidth").toInt(), 800 * 15);
  EXPECT_EQ(s.value("Settings/MainHeight").toInt(), 600 * 15);

  frmMain &again = makeMain();
  EXPECT_EQ(again.size(), QSize(800, 600));
  again.showMinimized();
  s.setValue("Settings/MainWidth", 12345);
  ASSERT_TRUE(again.close());
  main.reset();
  EXPECT_EQ(QSettings().value("Settings/MainWidth").toInt(), 12345);
}

TEST_F(MainWindowTest, ChineseInterfaceGivesQtsOwnDialogsChineseTexts) {
  const QString qm = QtTranslationsFile(kChinese);
  if (!QFileInfo::exists(qm))
    GTEST_SKIP() << "Qt's Chinese translations are not installed (" << qm.toStdString()
                 << " is missing; Debian package qt6-translations-l10n)";
  auto buttonTexts = [] {
    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    return std::pair{box.button(QDialogButtonBox::Save)->text(), box.button(QDialogButtonBox::Cancel)->text()};
  };
  SetLanguageIndex(kChinese);
  frmMain &m = makeMain();  // the start in Chinese
  EXPECT_EQ(buttonTexts(), std::pair(QString("保存"), QString("取消")));

  // Set Language at run time removes Qt's Chinese texts and puts them back.
  prompter.onDialog = [](QDialog &d) {
    d.findChild<QComboBox *>("Combo1")->setCurrentIndex(0);
    d.findChild<QPushButton *>("Command1")->click();
    return d.result();
  };
  trigger("mnuLanguage");
  ASSERT_EQ(LanguageIndex(), kEnglish);
  EXPECT_EQ(buttonTexts(), std::pair(QString("Save"), QString("Cancel")));
  prompter.onDialog = [](QDialog &d) {
    d.findChild<QComboBox *>("Combo1")->setCurrentIndex(1);
    d.findChild<QPushButton *>("Command1")->click();
    return d.result();
  };
  trigger("mnuLanguage");
  EXPECT_EQ(buttonTexts().second, QString("取消"));
  (void)m;
}

TEST_F(MainWindowTest, MaximisedStateIsKeptWithItsNormalSize) {
  options.keepGeometry = true;
  frmMain &m = makeMain();
  m.resize(700, 500);
  m.move(60, 40);
  QApplication::processEvents();
  m.showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(m.isMaximized());
  ASSERT_TRUE(m.close());
  main.reset();
  QSettings s;
  EXPECT_TRUE(s.value("Settings/MainMaximized").toBool());
  EXPECT_EQ(s.value("Settings/MainWidth").toInt(), 700 * 15);  // the normal size, not the screen's

  // The next start opens maximised; un-maximising gives the size it had before.
  frmMain &again = makeMain();
  QApplication::processEvents();
  EXPECT_TRUE(again.isMaximized());
  again.showNormal();
  QApplication::processEvents();
  EXPECT_EQ(again.size(), QSize(700, 500));
  ASSERT_TRUE(again.close());
  main.reset();
  EXPECT_FALSE(QSettings().value("Settings/MainMaximized").toBool());
  frmMain &third = makeMain();
  EXPECT_FALSE(third.isMaximized());
  EXPECT_EQ(third.size(), QSize(700, 500));
}

TEST_F(MainWindowTest, EntriesOfMissingWindowsAreDisabledAndChannelEditFollowsTheGrid) {
  ws.testMode = true;  // shows the test data entry and node
  frmMain &m = makeMain();
  EXPECT_TRUE(m.action("mnuTestData")->isEnabled());
  EXPECT_FALSE(m.action("mnuTestMode")->isEnabled());
  EXPECT_TRUE(m.action("mnuReadFromRadio")->isEnabled());
  QTreeWidgetItem *node = m.tree()->topLevelItem(0)->child(3);  // test data
  EXPECT_TRUE(node->flags() & Qt::ItemIsEnabled);

  // The channel window opened at the start makes way for a fake one.
  m.CloseCurAllWindows();
  registerFake(window::kChannelGrid);
  EXPECT_TRUE(m.action("mnuChInfo")->isEnabled());
  node = m.tree()->topLevelItem(0)->child(0);
  EXPECT_TRUE(node->flags() & Qt::ItemIsEnabled);
  emit m.tree()->itemClicked(node, 0);
  EXPECT_TRUE(m.FindWindowByName(window::kChannelGrid));

  // The Channel Edit menu and toolbar buttons 10 to 14 show only while the grid asks.
  EXPECT_FALSE(m.action("mnuChannelEdit")->isVisible());
  EXPECT_FALSE(m.action("CHCut")->isVisible());
  m.ShowCHInfo(true);
  EXPECT_TRUE(m.action("mnuChannelEdit")->isVisible());
  EXPECT_TRUE(m.action("CHDelete")->isVisible());
  trigger("CHPaste");
  trigger("mnuCHDelete");
  EXPECT_EQ(FakeEditor::commands,
            (std::vector<ChannelEditCommand>{ChannelEditCommand::Paste, ChannelEditCommand::Delete}));
  m.CloseCurAllWindows();
  EXPECT_FALSE(m.FindWindowByName(window::kChannelGrid));
  EXPECT_FALSE(m.action("mnuChannelEdit")->isVisible());
}

TEST_F(MainWindowTest, ModelInformationSwitchesTheBandOfANewConfiguration) {
  frmMain &m = makeMain();
  prompter.onDialog = [](QDialog &d) {
    auto &dialog = static_cast<frmModelInfo &>(d);
    EXPECT_EQ(dialog.modelBox()->currentText(), "N27");
    EXPECT_EQ(dialog.bandBox()->currentText(), "400 - 490 MHz");
    dialog.bandBox()->setCurrentIndex(dialog.bandBox()->findText("136 - 174 MHz"));
    d.accept();
    return d.result();
  };
  prompter.answers = {Answer::Ok};
  trigger("mnuModelInfo");
  EXPECT_EQ(prompter.questions.back(), "Frequency data will be cleared.");
  EXPECT_EQ(ws.bandText, "136 - 174 MHz");
  EXPECT_EQ(panel(m, "sbStatusBar_Panel2"), "[N27 136 - 174 MHz]");
}

TEST_F(MainWindowTest, AFailingHandlerShowsItsNameAndTheProgramGoesOn) {
  frmMain &m = makeMain();
  bool ran = RunHandler(&m, "mnuTest_Click", [] { throw std::runtime_error("broken"); });
  EXPECT_FALSE(ran);
  EXPECT_EQ(prompter.messages.back(), "frmMain_mnuTest_Click");
  EXPECT_TRUE(m.isVisible());
}

}  // namespace
}  // namespace n27::test
