#pragma once
// One window class for all feature editors: it places a control per setting of an area
// (label + list box, check box or text box), stores every change through the setting's
// `choose` at once and then shows every setting again, so enabling rules and lists that depend
// on other values follow each choice. Grid cells of an area (settings with a row and column)
// go into one table, after its fixed "No." column of row numbers.

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/language.h"
#include "base/ui/editor_window.h"
#include "channels/channel_context.h"
#include "features/key_filters.h"
#include "features/setting.h"

class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace n27 {

class ChannelContext;

// Where the settings of a window go: a section is a tab or a group box holding the named
// controls. Controls not named in any section stay on the window's first page.
struct FeatureSection {
  Tr title;
  bool tab = false;                   // a tab page; otherwise a group box on the current page
  std::vector<std::string> controls;  // objectNames of the settings placed in it
  bool grid = false;                  // the page holding the grid (tab only)
};

struct FeatureLayout {
  std::vector<FeatureSection> sections;
  std::vector<Tr> gridColumns;  // captions of the grid's columns after the "No." column
  Tr gridNumber{"No.", "编号"};  // the caption of the grid's fixed first column of row numbers
  // Captions the window shows instead of a setting's own label (the "Press" and "Hold" rows of
  // the Key Setting groups; the printout keeps the full labels).
  std::map<std::string, Tr> labels;
  // The keystroke filter of each text box by control name; the grid's cells use gridFilter.
  std::map<std::string, features::KeyFilter> filters;
  features::KeyFilter gridFilter = nullptr;
  int helpContext = 0;  // 0: no Help button
  // Runs before the values are shown, on opening and on every refresh (the Key Setting
  // window's Alert Locked clean-up).
  std::function<void(features::FeatureContext &)> beforeShowing;
  int columns = 2;      // columns of label/box pairs on a page
  int checkColumns = 1;  // loose check boxes side by side in a column of the page
};

class FeatureWindow : public QWidget, public EditorWindow, public ChannelListener {
  Q_OBJECT

 public:
  FeatureWindow(const features::Area &area, ChannelContext &channels, FeatureLayout layout,
                std::function<void(int)> showHelp = {}, QWidget *parent = nullptr);
  ~FeatureWindow() override;

  // Shows every setting again from the working configuration.
  void refresh();
  void storePendingInput() override;
  // ChannelListener: after an undo or redo every value is shown again; the lists of channels
  // (DW channel, scan banks) follow changes of the channel list too.
  void settingsChanged() override { refresh(); }
  void allChannelsChanged() override { refresh(); }

  const features::Area &area() const { return area_; }
  features::FeatureContext &context() { return *context_; }

  // Shows the stored values again in every open window of the given name (the Key Setting
  // window after the Alert Locked clean-up).
  static void RefreshOpenWindows(const QString &windowName);

 private:
  struct Control {
    const features::Setting *setting = nullptr;
    QLabel *label = nullptr;
    QComboBox *combo = nullptr;
    QCheckBox *check = nullptr;
    QLineEdit *edit = nullptr;
    std::string shown;  // the text last shown (a text box stores only what was changed)
    std::vector<std::string> entries;  // the list last shown
  };

  void build();
  QWidget *makeControl(Control &c);
  void setCaptions();
  void showControl(Control &c);
  void showGrid();
  // Stores a user's choice and shows everything again; a message of the model is shown.
  void choose(const features::Setting &setting, const std::string &text, const QString &handler);
  void commitText(Control &c);
  void commitCell(int row, int column);

  const features::Area &area_;
  std::unique_ptr<features::FeatureContext> context_;
  FeatureLayout layout_;
  std::function<void(int)> showHelp_;
  std::vector<Control> controls_;
  std::vector<const features::Setting *> cells_;
  QTabWidget *tabs_ = nullptr;
  std::vector<std::pair<QWidget *, Tr>> captions_;  // tab pages and group boxes with their titles
  QTableWidget *grid_ = nullptr;
  QPushButton *help_ = nullptr;
  QPushButton *close_ = nullptr;
  bool busy_ = false;  // a choice is being stored (a message box takes the focus meanwhile)
};

}  // namespace n27
