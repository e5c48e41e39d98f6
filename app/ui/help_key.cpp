#include "app/ui/help_key.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace n27 {

HelpKey::HelpKey(std::function<void(const HelpTopic &)> show, QObject *parent)
    : QObject(parent), show_(std::move(show)) {
  QCoreApplication::instance()->installEventFilter(this);
}

HelpKey::~HelpKey() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

HelpTopic HelpKey::topicFor(const QWidget *w) {
  for (; w; w = w->parentWidget())
    if (auto topic = HelpTopicForWindow(w->objectName().toStdString())) return *topic;
  return HelpTopicForContext(0);
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
      static_cast<QKeyEvent *>(event)->modifiers() != Qt::NoModifier)
    return false;
  auto *widget = qobject_cast<QWidget *>(watched);
  if (!widget) return false;
  for (const QWidget *w = widget; w; w = w->parentWidget())
    if (w->property(kOwnHelpKey).toBool()) return false;
  show_(topicFor(widget));
  return true;
}

}  // namespace n27
