#pragma once
// F1 anywhere in the program opens the user guide at the page of the window it was pressed in:
// the innermost window around the focus that has a page of its own (a dialog, a child
// window, the Messages list), else the contents. A control that answers F1 itself (the
// channel grid, which opens the topic of its column) carries the property kOwnHelpKey
// (base/help_topics.h).

#include <QObject>
#include <functional>

#include "base/help_topics.h"

class QWidget;

namespace n27 {

class HelpKey : public QObject {
 public:
  // Installs itself on the application; `show` opens the guide at a topic.
  HelpKey(std::function<void(const HelpTopic &)> show, QObject *parent);
  ~HelpKey() override;

  // The topic of the window `w` lies in.
  static HelpTopic topicFor(const QWidget *w);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  std::function<void(const HelpTopic &)> show_;
};

}  // namespace n27
