#pragma once
// FrmComSet: the serial port dialog. Lists the ports as "COM" + number (the device beside
// the list), refreshed every second so that a cable plugged in or pulled out shows at once.
// OK makes the selected port the chosen one.

#include <QDialog>
#include <functional>
#include <vector>

#include "link/port_directory.h"

class QComboBox;
class QLabel;
class QTimer;

namespace n27 {

class FrmComSet : public QDialog {
  Q_OBJECT

 public:
  using PortLister = std::function<std::vector<PortEntry>()>;
  FrmComSet(int chosenPort, PortLister listPorts, QWidget *parent = nullptr);

  // The port chosen with OK (0: none).
  int chosenPort() const { return chosen_; }
  // The number of the selected entry (0: none).
  int selectedPort() const { return selected_; }
  QComboBox *list() const { return combo_; }
  QTimer *refreshTimer() const { return timer_; }
  // Rebuilds the list keeping the selected port (the timer does this every second).
  void refresh();

 protected:
  void done(int result) override;

 private:
  void fill(int select);
  void selectionChanged();
  void ok();

  PortLister listPorts_;
  std::vector<PortEntry> ports_;
  QComboBox *combo_;
  QLabel *device_;
  QTimer *timer_;
  int selected_ = 0;
  int chosen_ = 0;
  bool filling_ = false;
};

}  // namespace n27
