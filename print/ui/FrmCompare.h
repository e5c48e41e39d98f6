#pragma once
// File > Compare With…: the open configuration beside a data file, a radio image or the radio
// connected, as a list of differences (the model is print/config_diff.h).

#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

#include "codeplug/workspace.h"
#include "print/config_diff.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace n27 {

class RadioHost;

class FrmCompare : public QDialog {
  Q_OBJECT
 public:
  explicit FrmCompare(RadioHost &main);

  // Compares the open configuration with a data file or image; false (message shown) when the
  // file is neither.
  bool compareWithFile(const QString &path);
  // Reads the radio on the chosen port into a configuration of its own (the open one is not
  // touched) and compares with it.
  void compareWithRadio();
  // Compares again with what was compared last (after edits).
  void refresh();
  // Puts `first` (a kept configuration, say) in place of the open configuration on the left.
  void setFirst(std::unique_ptr<Workspace> first, const QString &name);
  // Compares with a configuration already at hand.
  void compareWith(std::unique_ptr<Workspace> other, const QString &name, print::CompareScope scope);
  // The open dialog for a data file or image, then the comparison.
  void chooseFile();

  QTreeWidget *list() const { return list_; }
  const std::vector<print::Difference> &differences() const { return diffs_; }

 private:
  void showDifferences(const Workspace &other, const QString &otherName, print::CompareScope scope);

  RadioHost &main_;
  QTreeWidget *list_;
  QLabel *status_;
  QPushButton *fileButton_;
  QPushButton *radioButton_;
  QPushButton *refreshButton_;
  std::unique_ptr<Workspace> first_, other_;
  QString firstName_, otherName_;
  print::CompareScope scope_ = print::CompareScope::Everything;
  std::vector<print::Difference> diffs_;
  bool reading_ = false;
};

// The menu command: choose a file, then show the window (one for the whole run).
void CompareWithCommand(RadioHost &main);

}  // namespace n27
