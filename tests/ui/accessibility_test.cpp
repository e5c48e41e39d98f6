// Screen readers: every control of every window has an accessible name and description in the
// current language, and the channel grid's cells are named by their row and column captions.
// The windows are found as a user finds them: every editor the main window can open, every
// window or dialog a menu command opens, the channel detail dialog, and the dialogs that only
// a transfer or an import shows, made here directly.

#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include <set>

#include "base/ui/accessible_names.h"
#include "channels/channel_ops.h"
#include "channels/ui/FrmChannelList.h"
#include "channels/ui/frmCommChInfo.h"
#include "link/ui/FrmGroupLog.h"
#include "link/ui/FrmProgress.h"
#include "ui_test_support.h"

namespace n27::test {
namespace {

bool hasChinese(const QString &text) {
  for (QChar c : text)
    if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
  return false;
}

class AccessibilityTest : public MainWindowTest {
 protected:
  // Questions are answered with Cancel, dialogs are shown (that names them) and walked.
  class Answering : public ScriptedPrompter {
   public:
    Answer ask(QWidget *, const QString &, Prompt) override { return Answer::Cancel; }
  };

  void SetUp() override {
    MainWindowTest::SetUp();
    SetPrompter(&answering);
    answering.onDialog = [this](QDialog &d) {
      d.show();
      walk(&d, d.objectName());
      d.hide();
      return int(QDialog::Rejected);
    };
  }

  // Every control of a window: a name and a description, in Chinese with a Chinese description.
  void walk(QWidget *window, const QString &what) {
    ++walked;
    for (QWidget *w : window->findChildren<QWidget *>()) {
      if (!IsNamedControl(w) || !w->isVisibleTo(window)) continue;
      QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
      ASSERT_NE(a, nullptr);
      const QString where = what + " " + w->metaObject()->className() + " " + w->objectName();
      if (!qobject_cast<QTabBar *>(w)) {
        check(a, where);
        continue;
      }
      for (int i = 0; i < a->childCount(); ++i)  // a tab bar has no description: each tab has
        if (a->child(i)->role() == QAccessible::PageTab) check(a->child(i), where + " tab");
    }
  }

  void check(QAccessibleInterface *a, const QString &what) {
    {
      // A list box says its value as its name; its label comes as the "labelled by" relation.
      QString name = a->text(QAccessible::Name);
      for (const auto &[label, relation] : a->relations(QAccessible::Label)) name += " " + label->text(QAccessible::Name);
      const QString description = a->text(QAccessible::Description);
      const std::string where = what.toStdString();
      EXPECT_FALSE(name.trimmed().isEmpty()) << where << " has no name";
      EXPECT_FALSE(description.trimmed().isEmpty()) << where << " (" << name.toStdString() << ") has no description";
      if (LanguageIndex() == kChinese)
        EXPECT_TRUE(hasChinese(description)) << where << ": \"" << description.toStdString() << "\" is not Chinese";
      else
        EXPECT_FALSE(hasChinese(name + description)) << where << ": " << name.toStdString();
    }
  }

  void walkTopLevels() {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (w->isVisible() && w != main.get() && !qobject_cast<QMenu *>(w)) walk(w, w->objectName());
  }

  Answering answering;
  int walked = 0;
};

TEST_F(AccessibilityTest, EveryControlOfEveryWindowIsNamedInTheCurrentLanguage) {
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    NewConfiguration(ws);
    frmMain &m = makeMain();
    AddChannel(m.channels(), 1, 1, "440.00000");
    // Every editor the main window can open.
    for (const EditorWindowEntry &e : m.editors().entries()) {
      m.CloseCurAllWindows();
      if (QWidget *w = m.openEditor(e.name)) walk(w, e.name);
    }
    // The detail dialog, from the grid.
    m.CloseCurAllWindows();
    auto *grid = qobject_cast<frmCommChInfo *>(m.openEditor(window::kChannelGrid));
    ASSERT_NE(grid, nullptr);
    grid->findChild<QPushButton *>("CommandCHInfoEdit")->click();
    walkTopLevels();
    m.CloseCurAllWindows();
    // Every menu command but those that leave the program or start another one.
    const std::set<QString> skip{"mnuFileExit", "mnuFileBackupFolder"};
    for (QAction *a : MenuEntries(m.menuBar())) {
      if (!a->isEnabled() || skip.count(a->objectName())) continue;
      if (a->isCheckable() && a->objectName() != "mnuViewMessages") continue;
      a->trigger();
      walkTopLevels();
    }
    walk(&m, "frmMain");  // toolbar, tree, the windows still open, the Messages list
    // Dialogs that only a transfer, a group write or an import shows.
    FrmProgress progress(FrmProgress::Kind::Read, [] { return true; });
    FrmGroupLog log({}, "saved");
    FrmImportChannels import("a.csv");
    FrmImportSummary summary("a.csv", csv::ImportReport{});
    for (QDialog *d : std::initializer_list<QDialog *>{&progress, &log, &import, &summary}) {
      d->show();
      walk(d, d->objectName());
      d->hide();
    }
    // The grid's cells: row and column captions, and the cell's text.
    grid = qobject_cast<frmCommChInfo *>(m.openEditor(window::kChannelGrid));
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid->grid());
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface *cell = table->tableInterface()->cellAt(0, kColRx);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), language == kEnglish ? "CH 1, RX Frequency: 440.00000"
                                                                 : QString::fromUtf8("信道 1, 接收频率: 440.00000"));
    EXPECT_EQ(table->tableInterface()->cellAt(4, kColPower)->text(QAccessible::Name),
              language == kEnglish ? "CH 5, TX Power" : QString::fromUtf8("信道 5, 发射功率"));
    prompter.answers = {Answer::No, Answer::No};
    main->endApplication();
    main.reset();
  }
  EXPECT_GT(walked, 40);
}

}  // namespace
}  // namespace n27::test
