#pragma once
// Tools > Radio History: the history of every radio this program (or every bench sharing the
// database) has read or written, newest first, filtered by serial number, customer, days and
// result; for an entry: its configuration as it was (read-only, or as a new file), compared
// with another entry, the open configuration or the radio, and put back into the radio.

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/history_store.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace n27 {

class RadioHost;
struct Workspace;

class FrmHistory : public QDialog {
  Q_OBJECT
 public:
  // The window shows at most this many entries at once (the newest that pass the filter).
  static constexpr int kShownMax = 1000;

  FrmHistory(RadioHost &main, std::unique_ptr<history::Store> store, QWidget *parent = nullptr);
  ~FrmHistory() override;

  // Writes the image at the given path back to the radio with the ordinary checks; the
  // button is disabled while this is not set.
  void setRestore(std::function<void(const std::string &imagePath)> restore);

  // Reads the entries that pass the filter boxes again.
  void refresh();
  // The entries shown, in table order.
  const std::vector<history::Entry> &entries() const { return entries_; }
  QTableWidget *table() const { return table_; }
  QLabel *status() const { return status_; }

  // The commands on the selected entries.
  void openSelected();
  void openSelectedAsNew();
  void compareSelectedEntries();
  void compareWithOpenConfiguration();
  void compareWithRadio();
  void putRadioBack();

 protected:
  void keyPressEvent(QKeyEvent *event) override;

 private:
  history::Filter filter() const;
  std::vector<const history::Entry *> selected() const;
  // The configuration an entry kept, decoded; null (message shown) when it has none.
  std::unique_ptr<Workspace> kept(const history::Entry &entry);
  QString entryName(const history::Entry &entry) const;
  void updateButtons();

  RadioHost &main_;
  std::unique_ptr<history::Store> store_;
  std::function<void(const std::string &)> restore_;
  std::vector<history::Entry> entries_;
  QLineEdit *serial_, *customer_;
  QCheckBox *fromOn_, *toOn_;
  QDateEdit *from_, *to_;
  QComboBox *result_;
  QTableWidget *table_;
  QLabel *status_;
  QPushButton *open_, *openNew_, *compareEntries_, *compareOpen_, *compareRadio_, *putBack_;
};

// The menu command: opens the configured history (or says why not) and shows the window,
// one for the whole run. `restore` is handed to the window (see setRestore).
void OpenRadioHistory(RadioHost &main, std::function<void(const std::string &)> restore);

}  // namespace n27
