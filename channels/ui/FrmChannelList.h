#pragma once
// File > Import Channels… and File > Export Channels…: a CSV channel list into the open
// configuration and back out. The rules live in channels/channel_csv.h; these windows only
// ask where and how, and show what happened.

#include <QDialog>

#include "channels/channel_csv.h"

class QCheckBox;
class QRadioButton;

namespace n27 {

class MainWindowHost;

// How to place the rows: at their Location or appended, and whether the list replaces the
// channel plan.
class FrmImportChannels : public QDialog {
  Q_OBJECT
 public:
  explicit FrmImportChannels(const QString &fileName, QWidget *parent = nullptr);
  csv::ImportOptions options() const;

 private:
  QRadioButton *atLocation_ = nullptr;
  QRadioButton *append_ = nullptr;
  QCheckBox *replaceAll_ = nullptr;
};

// What an import did: imported, replaced, removed, and each skipped row with its line and reason.
class FrmImportSummary : public QDialog {
  Q_OBJECT
 public:
  FrmImportSummary(const QString &fileName, const csv::ImportReport &report, QWidget *parent = nullptr);
};

// The menu commands.
void ImportChannelsCommand(MainWindowHost &main);
void ExportChannelsCommand(MainWindowHost &main);

}  // namespace n27
