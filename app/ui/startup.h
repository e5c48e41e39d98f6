#pragma once
// Pieces of the start-up: numbers written and read with "." and the splash window.

#include <QWidget>
#include <functional>

class QTimer;

namespace n27 {

// Numbers are formatted and parsed with "." in this process whatever the user's locale; the
// user's own settings are not touched (only this process's numeric locale changes).
void UseDotDecimal();

// The splash picture: "StartE.jpg" (English) or "StartC.jpg" (Chinese) from the program
// folder. It closes itself when its timer fires or when it is clicked, and then runs `done`.
class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShowMs = 2000;
  SplashWindow(int language, std::function<void()> done, QWidget *parent = nullptr);
  // The picture file of a language.
  static QString picturePath(int language);
  bool hasPicture() const { return hasPicture_; }
  // Stops the timer, closes and runs `done` (once).
  void finish();

 protected:
  void mousePressEvent(QMouseEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

 private:
  QPixmap picture_;
  QTimer *timer_;
  std::function<void()> done_;
  bool hasPicture_ = false;
};

}  // namespace n27
