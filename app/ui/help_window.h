#pragma once
// The help window: the user guide shipped in help/ (help/en/ or help/zh/), opened at its
// contents, at the topic of a context number, or at a page of the guide.

#include <QWidget>

#include "base/help_topics.h"

class QTextBrowser;

namespace n27 {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget *parent = nullptr);
  // Shows the guide of the language at a topic (0: the contents). False when the guide
  // is missing (a message says where it was looked for).
  bool showTopic(int language, int context);
  // Shows a page of the guide of the language, at its anchor.
  bool showPage(int language, const HelpTopic &topic);
  // The file of a page of the guide of a language (the start page by default).
  static QString pagePath(int language, const std::string &page = "index.html");
  // The page shown (its file), for the tests.
  QString shownFile() const;

 private:
  QTextBrowser *browser_;
};

}  // namespace n27
