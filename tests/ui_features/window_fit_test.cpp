// Every editor opens whole inside the main window at its default size, in both languages, and
// Tab visits each window's controls in the order they are seen. With N27_SHOT_DIR set, the
// main window is also saved as a picture with each editor open (for a look under a display).

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>

#include "base/ui/tab_order.h"
#include "channels/channel_ops.h"
#include "app/ui/frmLanguage.h"
#include "app/ui/frmModelInfo.h"
#include "channels/channel_context.h"
#include "channels/ui/FrmCHInfoEdit.h"
#include "link/ui/FrmComSet.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmTestData.h"
#include "print/ui/FrmPrintList.h"
#include "channels/ui/frmCommChInfo.h"
#include "features/ui/feature_windows.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

const char *const kEditors[] = {
    window::kChannelGrid, window::kFunctionSetup,   window::kKeySetting, window::kScanInformation,
    window::kDtmf,        window::kFleetSync,       window::kEmbeddedMessage,
    window::kRadioInformation, window::kBatchEdit,
};

QRect rectIn(QWidget *w, QWidget *top) { return QRect(w->mapTo(top, QPoint(0, 0)), w->size()); }

// Tabs through the window from its first control and checks that each step goes down, or
// right on the same line, or right into the next column — never back up and to the left.
// Returns the controls visited.
std::vector<QWidget *> tabThrough(QWidget *window, const std::string &what) {
  std::vector<QWidget *> visited;
  const auto order = VisualTabOrder(window);
  QWidget *first = nullptr;
  for (QWidget *w : order)
    if (w->isVisibleTo(window) && w->isEnabled()) {
      first = w;
      break;
    }
  if (!first) return visited;
  // A table's Tab moves between its cells; here Tab is to move on to the next control.
  for (auto *view : window->findChildren<QAbstractItemView *>()) view->setTabKeyNavigation(false);
  first->setFocus(Qt::TabFocusReason);
  QWidget *current = QApplication::focusWidget();
  EXPECT_EQ(current, first) << what;
  for (int step = 0; step < 200 && current; ++step) {
    // A list box's own line edit stands for the list box.
    QWidget *shown = current;
    if (auto *combo = qobject_cast<QComboBox *>(current->parentWidget())) shown = combo;
    if (!visited.empty() && shown == visited.front()) break;  // round again
    if (!visited.empty() && shown == visited.back()) break;   // the channel grid keeps Tab for its cells
    visited.push_back(shown);
    QTest::keyClick(current, Qt::Key_Tab);
    current = QApplication::focusWidget();
  }
  for (std::size_t i = 1; i < visited.size(); ++i) {
    const QRect a = rectIn(visited[i - 1], window), b = rectIn(visited[i], window);
    const bool lower = b.top() > a.center().y();
    const bool sameLineRight = b.top() <= a.bottom() && b.bottom() >= a.top() && b.left() >= a.right() - 2;
    const bool nextColumn = b.left() >= a.right() - 2;
    EXPECT_TRUE(lower || sameLineRight || nextColumn)
        << what << ": Tab goes back from " << visited[i - 1]->objectName().toStdString() << " ("
        << a.x() << "," << a.y() << ") to " << visited[i]->objectName().toStdString() << " (" << b.x()
        << "," << b.y() << ")";
  }
  return visited;
}

class WindowFitTest : public MainWindowTest {
 protected:
  static bool shooting() {
    const char *dirName = std::getenv("N27_SHOT_DIR");
    return dirName && *dirName;
  }
  void shoot(frmMain &m, const QString &name) {
    if (!shooting()) return;
    const char *dirName = std::getenv("N27_SHOT_DIR");
    QApplication::processEvents();
    m.grab().save(QString::fromUtf8(dirName) + "/" + name + ".png");
  }
  // `switched`: the program starts in English and Chinese is chosen with Set Language.
  void checkEveryEditor(int language, bool switched = false) {
    SetLanguageIndex(switched ? kEnglish : language);
    NewConfiguration(ws);
    frmMain &m = makeMain();
    if (switched) {
      prompter.onDialog = [](QDialog &d) {
        d.findChild<QComboBox *>("Combo1")->setCurrentIndex(1);
        d.findChild<QPushButton *>("Command1")->click();
        return int(d.result());
      };
      m.action("mnuLanguage")->trigger();
      ASSERT_EQ(LanguageIndex(), kChinese);
    }
    // Pictures are taken under a bare X server, where no window manager makes a window active:
    // Tab is checked on the offscreen platform.
    const bool tabs = !shooting();
    QApplication::setActiveWindow(&m);
    if (tabs) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    }
    const QString suffix = QString(language == kEnglish ? "-en" : "-zh") + (switched ? "-switched" : "");
    for (const char *name : kEditors) {
      m.CloseCurAllWindows();
      QWidget *w = m.openEditor(name);
      ASSERT_NE(w, nullptr) << name;
      auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
      ASSERT_NE(sub, nullptr) << name << " is not a child window";
      QApplication::processEvents();
      const QRect area = m.mdiArea()->viewport()->rect();
      EXPECT_TRUE(area.contains(sub->geometry()))
          << name << suffix.toStdString() << ": frame " << sub->width() << "x" << sub->height() << " at "
          << sub->x() << "," << sub->y() << " in " << area.width() << "x" << area.height();
      // Nothing is cut: the window got at least the least room it asks for.
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
      EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
      // Its buttons are in sight.
      for (auto *b : w->findChildren<QPushButton *>()) {
        if (!b->isVisibleTo(w)) continue;
        EXPECT_TRUE(area.contains(QRect(b->mapTo(m.mdiArea()->viewport(), QPoint(0, 0)), b->size())))
            << name << suffix.toStdString() << ": button " << b->objectName().toStdString() << " out of sight";
      }
      shoot(m, QString(name) + suffix);
      // Tab order, on every page of a window with tabs; at the default size no page needs
      // scrolling either.
      auto *pages = w->findChild<QTabWidget *>();
      for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
        if (pages) {
          pages->setCurrentIndex(page);
          QApplication::processEvents();
          if (page > 0) shoot(m, QString(name) + suffix + "-" + QString::number(page));
        }
        for (auto *scroll : w->findChildren<QScrollArea *>()) {
          EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << name << suffix.toStdString() << " page " << page;
          EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << name << suffix.toStdString() << " page " << page;
        }
        if (tabs) tabThrough(w, std::string(name) + " page " + std::to_string(page));
      }
    }
    m.CloseCurAllWindows();
  }
};

// The channel detail dialog goes down its first column (RX, TX frequency, then the lists below
// them) before the second; Define Scramble comes last of the second column.
TEST_F(WindowFitTest, ChannelDetailDialogTabsDownEachColumn) {
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    NewConfiguration(ws);
    frmMain &m = makeMain();
    QApplication::setActiveWindow(&m);
    AddChannel(m.channels(), 1, 1, "440.00000");
    m.CloseCurAllWindows();
    auto *grid = dynamic_cast<frmCommChInfo *>(m.openEditor(window::kChannelGrid));
    ASSERT_NE(grid, nullptr);
    grid->findChild<QPushButton *>("CommandCHInfoEdit")->click();
    FrmCHInfoEdit *detail = grid->detailDialog();
    ASSERT_NE(detail, nullptr);
    if (shooting()) {
      QApplication::processEvents();
      detail->grab().save(QString::fromUtf8(std::getenv("N27_SHOT_DIR")) + "/FrmCHInfoEdit-" +
                          (language == kEnglish ? "en" : "zh") + ".png");
    } else {
      QApplication::setActiveWindow(detail);
      ASSERT_TRUE(QTest::qWaitForWindowActive(detail));
    }
    const auto visited = shooting() ? VisualTabOrder(detail) : tabThrough(detail, "detail dialog");
    QStringList names;
    for (QWidget *w : visited) names << w->objectName();
    const int tx = names.indexOf("Text2");
    ASSERT_GE(tx, 0) << names.join(" ").toStdString();
    ASSERT_LT(tx + 1, names.size());
    EXPECT_EQ(names[tx + 1], "Combo2_0");
    EXPECT_LT(names.indexOf("Combo2_12"), names.indexOf("Text3"));
    // Shown whole on the screen of the default main window.
    EXPECT_LE(detail->frameGeometry().width(), 966);
    EXPECT_LE(detail->frameGeometry().height(), 700);
    prompter.answers = {Answer::No, Answer::No};
    main->endApplication();
    main.reset();
  }
}

// In a main window made small, an editor still opens inside the work area, its buttons in
// sight, and its settings scroll inside it.
TEST_F(WindowFitTest, AWindowLargerThanTheWorkAreaScrollsInsideItself) {
  frmMain &m = makeMain();
  m.resize(640, 420);
  QApplication::processEvents();
  for (const char *name : {window::kFunctionSetup, window::kBatchEdit, window::kRadioInformation}) {
    m.CloseCurAllWindows();
    QWidget *w = m.openEditor(name);
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    const QRect area = m.mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(sub->geometry())) << name;
    auto *close = w->findChild<QPushButton *>("CommandClose");
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(area.contains(QRect(close->mapTo(m.mdiArea()->viewport(), QPoint(0, 0)), close->size()))) << name;
    auto *scroll = w->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr) << name;
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible() || scroll->horizontalScrollBar()->isVisible()) << name;
  }
}

// The dialogs go through their controls as they are seen too.
TEST_F(WindowFitTest, DialogsTabInTheOrderTheyAreSeen) {
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    ChannelContext channels(ws);
    std::string password = "1234";
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<FrmPrintList>(channels));
    dialogs.push_back(std::make_unique<FrmComSet>(1, [] { return std::vector<PortEntry>{}; }));
    dialogs.push_back(std::make_unique<FrmPassWord>(password));
    dialogs.push_back(std::make_unique<frmLanguage>());
    dialogs.push_back(std::make_unique<frmModelInfo>(ws));
    dialogs.push_back(std::make_unique<FrmTestData>(ws));
    for (auto &d : dialogs) {
      d->show();
      QApplication::setActiveWindow(d.get());
      ASSERT_TRUE(QTest::qWaitForWindowActive(d.get())) << d->objectName().toStdString();
      const auto visited = tabThrough(d.get(), d->objectName().toStdString());
      EXPECT_GE(visited.size(), 2u) << d->objectName().toStdString();
      d->hide();
    }
  }
}

TEST_F(WindowFitTest, EveryEditorOpensWholeInTheDefaultMainWindowInEnglish) { checkEveryEditor(kEnglish); }
TEST_F(WindowFitTest, EveryEditorOpensWholeInTheDefaultMainWindowInChinese) { checkEveryEditor(kChinese); }
TEST_F(WindowFitTest, EveryEditorOpensWholeAfterSwitchingToChinese) { checkEveryEditor(kChinese, true); }

}  // namespace
}  // namespace n27::test
