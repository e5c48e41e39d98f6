// Saying what happened and help for everything: the Messages list and the status bar's
// tooltip, F1 in each window, the guide's pages in both languages covering every menu entry,
// and Qt's file dialogs in the language of the interface however it was chosen.

#include <QAction>
#include <QFile>
#include <QFileSystemModel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTest>
#include <QTreeView>

#include <cstdlib>
#include <set>

#include "app/ui/frmMessages.h"
#include "base/messages.h"
#include "channels/channel_ops.h"
#include "channels/ui/frmCommChInfo.h"
#include "link/ui/FrmPassWord.h"
#include "app/ui/help_window.h"
#include "base/help_topics.h"
#include "base/main_window_texts.h"
#include "base/ui/file_dialog.h"
#include "print/ui/FrmCompare.h"
#include "ui_test_support.h"

namespace n27::test {
namespace {

QString guidePage(int language, const std::string &page) {
  QFile f(QString(N27_SOURCE_DIR) + (language == kChinese ? "/help/zh/" : "/help/en/") + QString::fromStdString(page));
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST_F(MainWindowTest, StatusMessagesAndMessageBoxesAreKeptWholeInTheMessagesList) {
  frmMain &m = makeMain();
  const QString backedUp = "Blocks: 19. The radio's memory was backed up to /tmp/n27/backups/20261208-105448_N27SIM0000000001_read.img.";
  m.showStatus(backedUp);
  EXPECT_EQ(m.statusBar()->toolTip(), backedUp);  // the bar cuts it, its tooltip does not
  ShowMessage(&m, "Read Data Completed.");
  ASSERT_EQ(m.messageLog().entries().size(), 2u);
  EXPECT_EQ(QString::fromStdString(m.messageLog().entries()[0].text), backedUp);
  EXPECT_EQ(m.messageLog().entries()[1].text, "Read Data Completed.");

  trigger("mnuViewMessages");
  frmMessages *panel = m.messagesPanel();
  ASSERT_TRUE(panel->isVisible());
  ASSERT_EQ(panel->list()->rowCount(), 2);
  EXPECT_EQ(panel->list()->item(1, 1)->text(), "Read Data Completed.");
  EXPECT_TRUE(panel->selectedText().contains(backedUp));  // copied as it was said
  EXPECT_EQ(panel->list()->item(0, 1)->toolTip(), backedUp);
  EXPECT_TRUE(panel->selectedText().endsWith("  Read Data Completed."));
  m.showStatus("Write Data Completed.");  // a new message shows at once
  EXPECT_EQ(panel->list()->rowCount(), 3);
  // A read closes every window; the list stays.
  m.CloseCurAllWindows();
  EXPECT_TRUE(panel->isVisible());
  panel->close();
  EXPECT_FALSE(m.action("mnuViewMessages")->isChecked());
}

TEST_F(MainWindowTest, F1OpensThePageOfTheWindowItIsPressedIn) {
  qputenv("N27_DATA_DIR", N27_SOURCE_DIR);  // the guide's pages as they stand in help/
  frmMain &m = makeMain();
  QApplication::setActiveWindow(&m);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
  auto pressF1 = [&](QWidget *w) {
    QTest::keyClick(w, Qt::Key_F1);
    return m.helpWindow() ? QFileInfo(m.helpWindow()->shownFile()).fileName() : QString();
  };
  trigger("mnuViewMessages");
  EXPECT_EQ(pressF1(m.messagesPanel()->list()), "messages.html");
  trigger("mnuFileCompare");  // the file dialog is cancelled; the window stays
  auto *compare = m.findChild<FrmCompare *>("FrmCompare");
  ASSERT_NE(compare, nullptr);
  EXPECT_EQ(pressF1(compare->list()), "compare.html");
  compare->close();
  EXPECT_EQ(pressF1(m.tree()), "index.html");
  EXPECT_EQ(m.helpWindow()->windowTitle(), "N27 Help");
  qunsetenv("N27_DATA_DIR");
}

TEST(HelpGuide, EveryPageInBothLanguagesListedInTheContentsAndEveryWindowTopicAPage) {
  std::set<std::string> pages;
  for (const char *const *p = HelpPages(); *p; ++p) pages.insert(*p);
  for (int language : {kEnglish, kChinese}) {
    const QString contents = guidePage(language, "index.html");
    for (const std::string &page : pages) {
      const QString text = guidePage(language, page);
      EXPECT_FALSE(text.isEmpty()) << page << " " << language;
      if (page != "index.html") {
        EXPECT_TRUE(contents.contains(QString("href=\"%1\"").arg(QString::fromStdString(page)))) << page;
        EXPECT_TRUE(text.contains("href=\"index.html\"")) << page;  // and back to the contents
      }
    }
  }
  for (const char *window : {"FrmCompare", "frmMessages", "FrmImportChannels", "FrmGroupLog", "FrmTestData", "FrmCHBatch"}) {
    const auto topic = HelpTopicForWindow(window);
    ASSERT_TRUE(topic) << window;
    EXPECT_TRUE(pages.count(topic->page)) << window;
    if (!topic->anchor.empty()) {
      for (int language : {kEnglish, kChinese})
        EXPECT_TRUE(guidePage(language, topic->page).contains(QString::fromStdString("name=\"" + topic->anchor + "\"")))
            << window;
    }
  }
}

// Every entry of every menu is named in the guide of each language.
TEST_F(MainWindowTest, TheGuideCoversEveryMenuEntry) {
  frmMain &m = makeMain();
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    m.Change_Language();
    QString guide;
    for (const char *const *p = HelpPages(); *p; ++p) guide += guidePage(language, *p);
    for (QAction *a : MenuEntries(m.menuBar())) {
      if (a->objectName().startsWith("mnuFileRecent")) continue;
      const QString caption = QString::fromStdString(mainText::PlainCaption(a->text().toStdString()));
      EXPECT_TRUE(guide.contains(caption)) << a->objectName().toStdString() << ": \"" << caption.toStdString()
                                           << "\" is not in the guide of language " << language;
    }
  }
}

// Qt's file dialog shows sizes, dates and types in the interface language, the same after a
// switch at run time as after a start in that language.
TEST_F(MainWindowTest, FileDialogsSpeakTheInterfaceLanguage) {
  std::filesystem::create_directories(dir / "list");
  QFile f(QString::fromStdString((dir / "list" / "radio.dat").string()));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(9759, '\0'));
  f.close();
  const QFileInfo info(f.fileName());
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    ApplyQtTranslations(language);
    auto dialog = MakeFileDialog(nullptr, "Data File (*.dat)", QString::fromStdString((dir / "list").string()),
                                 QFileDialog::AcceptOpen);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    dialog->show();
    auto *view = dialog->findChild<QTreeView *>("treeView");
    ASSERT_NE(view, nullptr);
    QAbstractItemModel *files = view->model();
    QModelIndex row;
    for (int i = 0; i < 200 && !row.isValid(); ++i) {
      QTest::qWait(10);
      const QModelIndex root = view->rootIndex();
      for (int r = 0; r < files->rowCount(root); ++r)
        if (files->index(r, 0, root).data().toString() == "radio.dat") row = files->index(r, 0, root);
    }
    ASSERT_TRUE(row.isValid()) << language;
    const QLocale locale = InterfaceLocale();
    EXPECT_EQ(files->index(row.row(), 1, row.parent()).data().toString(), locale.formattedDataSize(9759));
    EXPECT_EQ(files->index(row.row(), 3, row.parent()).data().toString(),
              locale.toString(info.lastModified(), QLocale::ShortFormat));
    EXPECT_EQ(files->index(row.row(), 2, row.parent()).data().toString(),
              language == kChinese ? QString::fromUtf8("DAT 文件") : QString("DAT File"));
    if (language == kChinese) {
      EXPECT_EQ(locale.language(), QLocale::Chinese);
    }
    dialog->hide();
  }
}

}  // namespace
}  // namespace n27::test

namespace n27::test {
namespace {

// Pictures for checking by eye, written when N27_SHOT_DIR names a folder: the tone editor with
// its text selected, the password box, the Messages list, the empty Compare window, a page of
// the guide and the Open dialog, in both languages.
TEST_F(MainWindowTest, DealersDayScreenshots) {
  const char *folder = std::getenv("N27_SHOT_DIR");
  if (!folder || !*folder) GTEST_SKIP() << "N27_SHOT_DIR is not set";
  qputenv("N27_DATA_DIR", N27_SOURCE_DIR);
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    const QString suffix = language == kEnglish ? "-en.png" : "-zh.png";
    auto save = [&](QWidget *w, const char *name) {
      QApplication::processEvents();
      w->grab().save(QString(folder) + "/" + name + suffix);
    };
    NewConfiguration(ws);
    frmMain &m = makeMain();
    ChangeChannel(m.channels(), 1, 1, kFieldRx, "446.00625");
    auto *grid = qobject_cast<frmCommChInfo *>(m.findWindow(window::kChannelGrid));
    grid->grid()->setCurrentCell(0, kColDecode);
    QTest::keyClick(grid->grid(), Qt::Key_Return);
    m.showStatus(QString::fromUtf8(language == kEnglish ? "Read Data Completed. The radio's memory was backed up to /home/dealer/.local/share/n27/backups/20261208-105448_N27SIM0000000001_read.img."
                                                        : "读取数据完成。对讲机的存储器已备份到 /home/dealer/.local/share/n27/backups/20261208-105448_N27SIM0000000001_read.img。"));
    ShowMessage(&m, QString::fromUtf8(Text(msg::kReadDone)));
    trigger("mnuViewMessages");
    save(&m, "main-messages");
    trigger("mnuFileCompare");
    if (auto *compare = m.findChild<FrmCompare *>("FrmCompare")) save(compare, "compare-empty");
    std::string password = "ab";
    FrmPassWord pw(password);
    pw.show();
    save(&pw, "password");
    m.showHelpPage({"grid.html", "hide"});
    save(m.helpWindow(), "help-grid");
    auto dialog = MakeFileDialog(nullptr, QString::fromUtf8(Text(msg::kFileFilterLabel)) + " (*.dat)",
                                 QString(N27_SOURCE_DIR) + "/Init", QFileDialog::AcceptOpen);
    dialog->resize(760, 420);
    dialog->show();
    QTest::qWait(300);
    save(dialog.get(), "open-dialog");
    prompter.answers = {Answer::No, Answer::No};
    main->endApplication();
    main.reset();
  }
  qunsetenv("N27_DATA_DIR");
}

}  // namespace
}  // namespace n27::test
