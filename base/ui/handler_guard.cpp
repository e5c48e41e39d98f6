#include "base/ui/handler_guard.h"

#include <QWidget>

#include "base/ui/prompter.h"

namespace n27 {

bool RunHandler(const QString &window, const QString &handler,
                const std::function<void()> &body) {
  return RunGuarded(window + "_" + handler, body);
}

bool RunGuarded(const QString &name, const std::function<void()> &body) {
  try {
    body();
    return true;
  } catch (...) {
  }
  // Showing the message must not throw out of the handler either.
  try {
    ShowMessage(nullptr, name, BoxIcon::Critical);
  } catch (...) {
  }
  return false;
}

bool RunHandler(const QWidget *window, const QString &handler,
                const std::function<void()> &body) {
  return RunHandler(window ? window->objectName() : QString("frmMain"), handler, body);
}

}  // namespace n27
