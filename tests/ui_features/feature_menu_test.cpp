// The feature windows open from the main window's Edit menu and tree, and the radio
// information shows modally.

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

TEST_F(MainWindowTest, RadioInformationShowsTheRecordReadOnly) {
  frmMain &m = makeMain();
  ws.radioInfo.serialNumber = "SN-0042";
  QString shown;
  bool readOnly = false;
  prompter.onDialog = [&](QDialog &d) {
    auto *box = d.findChild<QLineEdit *>("Text1_1");
    if (box) {
      shown = box->text();
      readOnly = box->isReadOnly();
    }
    // A pick in the band list is undone: the window only shows the record.
    auto *band = d.findChild<QComboBox *>("Combo1_1");
    if (band && band->count() > 1) {
      const int before = band->currentIndex();
      band->setCurrentIndex(1 - before);
      emit band->activated(1 - before);
      EXPECT_EQ(band->currentIndex(), before);
    } else {
      ADD_FAILURE() << "no band list";
    }
    return int(QDialog::Accepted);
  };
  m.openEditor(window::kRadioInformation);
  EXPECT_EQ(prompter.dialogs, (std::vector<QString>{"FrmEMG"}));
  EXPECT_EQ(shown, "SN-0042");
  EXPECT_TRUE(readOnly);
}

}  // namespace
}  // namespace n27::test
