#pragma once
// The help window: the user guide shipped in help/ (help/en/ or help/zh/), opened at its
// contents or at the topic of a context number.

#include <QWidget>

class QTextBrowser;

namespace n27 {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget *parent = nullptr);
  // Shows the guide of the language at a topic (0: the contents). False when the guide
  // is missing (a message says where it was looked for).
  bool showTopic(int language, int context);
  // The page file of a language.
  static QString pagePath(int language);

 private:
  QTextBrowser *browser_;
};

}  // namespace n27
