#pragma once
// FrmTestData: the factory tuning values of the test mode (Edit → Test Data Information).
// Fourteen hexadecimal boxes Text1(0..13) over a private copy of the tuning table, Load and
// Save of ".ted" files (Command1(0), Command1(1)), a line saying where the values came from,
// OK (the copy becomes the tuning table a test-mode write sends) and Cancel (nothing changes).
// The rules live in link/test_data.h; the window only places the boxes and hands keys on.

#include <QDialog>
#include <array>

#include "link/test_data.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace n27 {

class EditorRegistry;

class FrmTestData : public QDialog {
  Q_OBJECT

 public:
  explicit FrmTestData(Workspace &ws, QWidget *parent = nullptr);

  QLineEdit *field(int i) const { return text1_[static_cast<std::size_t>(i)]; }
  QLabel *originLabel() const { return origin_; }
  const link::TestDataForm &form() const { return form_; }

  // The Load and Save buttons.
  void loadFile();
  void saveFile();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void showFields();
  void fieldChanged(int i, const QString &text);
  void showOrigin();
  QString fileFolder() const;

  Workspace &ws_;
  link::TestDataForm form_;
  std::array<QLineEdit *, link::kTestDataFields> text1_{};
  QLabel *origin_ = nullptr;
  QPushButton *load_ = nullptr;
  QPushButton *save_ = nullptr;
  bool updating_ = false;
};

// Makes the window known to the main window (Edit → Test Data Information, tree node N10).
void RegisterTestDataWindow(EditorRegistry &registry);

}  // namespace n27
