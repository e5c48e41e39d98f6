// Tools > Radio History: the table follows the filters in both languages, and an entry's
// configuration opens, compares and goes back to the radio as it was kept.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

#include "history/qt/sql_history_store.h"
#include "history/ui/FrmHistory.h"
#include "history/kept_configuration.h"
#include "history/ui/FrmKeptConfiguration.h"
#include "base/file_io.h"
#include "history_support.h"
#include "link/transfer_session.h"
#include "print/ui/FrmCompare.h"
#include "ui/ui_test_support.h"

using namespace n27;
using namespace n27::history;

namespace {

class HistoryWindow : public n27::test::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Workspace radio;
    radio.programFolder = N27_PROGRAM_DIR;
    NewConfiguration(radio);
    PrepareWrite(radio);
    first = radio.image;
    second = first;
    second.set(mem::kChannels + 3, static_cast<uint8_t>(second.at(mem::kChannels + 3) ^ 0x11));  // channel 1 RX
    std::string why;
    store = SqlStore::open(*ParseLocation((dir / "h.sqlite").string(), "", why), why);
    ASSERT_TRUE(store) << why;
    Entry e = n27::history::test::SampleEntry("ABC100", 1000, JobOperation::Read, true, "Harbour");
    store->add(e, &first, why);
    e = n27::history::test::SampleEntry("ABC100", 2000, JobOperation::Write, true, "Harbour");
    store->add(e, &second, why);
    e = n27::history::test::SampleEntry("XYZ9", 3000, JobOperation::Write, false, "City");
    store->add(e, nullptr, why);
  }
  void TearDown() override {
    history.reset();  // a child of the main window: gone before it
    MainWindowTest::TearDown();
  }
  FrmHistory &window() {
    history = std::make_unique<FrmHistory>(makeMain(), std::move(store));
    history->setRestore([this](const std::string &path) { restored = path; });
    return *history;
  }
  void select(std::initializer_list<int> rows) {
    history->table()->clearSelection();
    for (int r : rows) history->table()->selectionModel()->select(
        history->table()->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  template <class W>
  W *newest() {
    const auto all = history->findChildren<W *>();
    return all.empty() ? nullptr : all.back();
  }
  RadioImage first, second;
  std::unique_ptr<SqlStore> store;
  std::unique_ptr<FrmHistory> history;
  std::string restored;
};

}  // namespace

TEST_F(HistoryWindow, TheTableFollowsTheFiltersInBothLanguages) {
  SetLanguageIndex(kChinese);
  FrmHistory &w = window();
  EXPECT_EQ(w.table()->horizontalHeaderItem(4)->text(), "序列号");
  ASSERT_EQ(w.table()->rowCount(), 3);
  EXPECT_EQ(w.table()->item(0, 4)->text(), "XYZ9");  // newest first
  EXPECT_EQ(w.status()->text(), "共 3 条记录。");
  w.findChild<QLineEdit *>("TextSerial")->setText("abc");
  ASSERT_EQ(w.table()->rowCount(), 2);
  EXPECT_EQ(w.table()->item(0, 2)->text(), "写入");
  w.findChild<QLineEdit *>("TextCustomer")->setText("city");
  EXPECT_EQ(w.table()->rowCount(), 0);
}

TEST_F(HistoryWindow, AnEntryOpensComparesAndGoesBackToTheRadioAsKept) {
  FrmHistory &w = window();
  select({1});  // the write of ABC100
  w.openSelected();
  FrmKeptConfiguration *view = newest<FrmKeptConfiguration>();
  ASSERT_TRUE(view);
  EXPECT_GT(view->tree()->topLevelItemCount(), 3);

  select({1, 2});
  w.compareSelectedEntries();
  const auto compares = main->findChildren<FrmCompare *>();
  ASSERT_EQ(compares.size(), 1);
  FrmCompare *compare = compares[0];
  ASSERT_EQ(compare->differences().size(), 1u);
  EXPECT_EQ(compare->differences()[0].channel, 1);
  compare->close();

  select({1});
  prompter.answers = {Answer::No};  // the open configuration is not saved
  w.openSelectedAsNew();
  Workspace expected;
  expected.programFolder = ws.programFolder;
  DecodeKeptImage(expected, second);
  EXPECT_FALSE(IsModified(ws.working, expected.working));
  EXPECT_TRUE(ws.untitled);

  w.putRadioBack();
  ASSERT_FALSE(restored.empty());
  const auto bytes = ReadWholeFile(restored, RadioImage::kSize);
  ASSERT_TRUE(bytes.bytes);
  EXPECT_EQ(*bytes.bytes, std::string(second.bytes().begin(), second.bytes().end()));

  select({0});  // a failed write that kept nothing: nothing to open
  EXPECT_FALSE(w.findChild<QPushButton *>("CommandOpen")->isEnabled());
}
