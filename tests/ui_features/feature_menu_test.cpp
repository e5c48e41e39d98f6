// The feature windows open from the main window's Edit menu and tree, and the radio
// information shows in a child window of its own.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include "features/ui/feature_windows.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

QWidget *openWindow(frmMain &m, const char *name) {
  for (QMdiSubWindow *sub : m.mdiArea()->subWindowList())
    if (sub->widget() && sub->widget()->objectName() == name) return sub->widget();
  return nullptr;
}

TEST_F(MainWindowTest, EachFeatureWindowOpensFromTheEditMenu) {
  frmMain &m = makeMain();
  const std::pair<const char *, const char *> entries[] = {
      {"mnuOptFeatures", window::kFunctionSetup}, {"mnuKeyAssign", window::kKeySetting},
      {"mnuScanInfo", window::kScanInformation},  {"mnuDTMF", window::kDtmf},
      {"mnuFleetSync", window::kFleetSync},       {"mnuEmbMsg", window::kEmbeddedMessage},
  };
  for (const auto &[action, name] : entries) {
    trigger(action);
    QWidget *w = openWindow(m, name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_NE(dynamic_cast<FeatureWindow *>(w), nullptr) << name;
    EXPECT_NE(qobject_cast<QMdiSubWindow *>(w->parentWidget()), nullptr) << name;
  }
  // Choosing an open window again brings it forward rather than opening a second one.
  const int open = static_cast<int>(m.mdiArea()->subWindowList().size());
  trigger("mnuOptFeatures");
  EXPECT_EQ(static_cast<int>(m.mdiArea()->subWindowList().size()), open);
}

TEST_F(MainWindowTest, RadioInformationShowsTheRecordReadOnlyInAChildWindow) {
  frmMain &m = makeMain();
  ws.radioInfo.serialNumber = "SN-0042";
  ws.firmwareVersion = "V101";  // the radio last read; the record itself names no version
  QWidget *w = m.openEditor(window::kRadioInformation);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_EQ(openWindow(m, window::kRadioInformation), w);
  EXPECT_EQ(qobject_cast<QMdiSubWindow *>(w->parentWidget()), m.mdiArea()->activeSubWindow());
  EXPECT_EQ(w->findChild<QComboBox *>("Combo1_0")->currentText(), "N27");
  EXPECT_EQ(w->findChild<QLineEdit *>("Text1_5")->text(), "V101");
  // Every box only shows, and looks so: the window's own background instead of a white field.
  for (auto *box : w->findChildren<QLineEdit *>()) {
    EXPECT_TRUE(box->isReadOnly()) << box->objectName().toStdString();
    EXPECT_EQ(box->palette().color(QPalette::Base), box->palette().color(QPalette::Window))
        << box->objectName().toStdString();
  }
  for (auto *box : w->findChildren<QComboBox *>())
    EXPECT_EQ(box->palette().color(QPalette::Button), box->palette().color(QPalette::Window))
        << box->objectName().toStdString();
  EXPECT_EQ(w->findChild<QLineEdit *>("Text1_1")->text(), "SN-0042");
  // A pick in the band list is undone: the window only shows the record.
  auto *band = w->findChild<QComboBox *>("Combo1_1");
  ASSERT_TRUE(band && band->count() > 1);
  const int before = band->currentIndex();
  band->setCurrentIndex(1 - before);
  emit band->activated(1 - before);
  EXPECT_EQ(band->currentIndex(), before);
  // The version the radio-information read reported wins over that of the last read.
  m.CloseCurAllWindows();
  ws.radioInfo.version = "V205";
  w = m.openEditor(window::kRadioInformation);
  EXPECT_EQ(w->findChild<QLineEdit *>("Text1_5")->text(), "V205");
}

}  // namespace
}  // namespace n27::test
