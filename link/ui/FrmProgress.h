#pragma once
// FrmProgress: the modal window shown while a read or a write runs. It starts the transfer
// once it is on screen and closes when the transfer ends; the user cannot close it meanwhile
// (a transfer always ends by itself: on completion, or through the retry question).

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

namespace n27 {

class FrmProgress : public QDialog {
  Q_OBJECT

 public:
  // Backup and Verify are the reads before and after a write.
  enum class Kind { Read, Write, Backup, Verify };
  // `start` runs once the window is shown; it returns false when the transfer did not start
  // (the window then closes at once).
  FrmProgress(Kind kind, std::function<bool()> start, QWidget *parent = nullptr);

  // Sets the bar and the percentage text to a whole percentage (0..100).
  void SetProgressValue(int percent);
  // The step of a programming job above the bar ("2/3 Write"); hidden while empty.
  void setStep(const QString &text);
  QString step() const;
  int value() const;
  // Closes the window at the end of the transfer; exec() returns Accepted on success.
  void finish(bool success);

 protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void reject() override;

 private:
  void applyLanguage();
  std::function<bool()> start_;
  QProgressBar *bar_;
  QLabel *label1_;
  QLabel *label2_;
  QLabel *step_;
  Kind kind_;
  bool started_ = false;
  bool finishing_ = false;
};

}  // namespace n27
