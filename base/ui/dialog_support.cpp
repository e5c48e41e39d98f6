#include "base/ui/dialog_support.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "base/messages.h"
#include "base/ui/handler_guard.h"
#include "base/ui/tab_order.h"

namespace n27 {

namespace {

class EnterFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    auto *box = qobject_cast<QWidget *>(watched);
    if (auto *combo = qobject_cast<QComboBox *>(watched); combo && combo->view()->isVisible())
      return false;  // Enter in the open list picks the entry
    if (!box) return false;
    // Tab is what moves the focus on; the box handles it like a typed Tab.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &tab);
    return true;
  }
};

void setCaption(QWidget *dialog, const char *name, const Tr &text) {
  if (auto *button = dialog->findChild<QAbstractButton *>(name))
    button->setText(QString::fromUtf8(Text(text)));
}

}  // namespace

void SetDialogButtons(QWidget *dialog) {
  setCaption(dialog, "Command1", msg::kOk);
  setCaption(dialog, "Command2", msg::kCancel);
  setCaption(dialog, "CommandOK", msg::kOk);
  setCaption(dialog, "CommandCancel", msg::kCancel);
}

void LayOutDialog(QDialog *dialog, QLayout *body, ButtonNames names,
                  const std::function<void()> &ok) {
  const bool command12 = names == ButtonNames::Command12;
  auto *okButton = new QPushButton;
  okButton->setObjectName(command12 ? "Command1" : "CommandOK");
  okButton->setDefault(true);
  auto *cancelButton = new QPushButton;
  cancelButton->setObjectName(command12 ? "Command2" : "CommandCancel");
  QObject::connect(okButton, &QPushButton::clicked, dialog, [dialog, ok, okButton] {
    RunHandler(dialog, okButton->objectName() + "_Click", [&] {
      if (ok) ok();
      else dialog->accept();
    });
  });
  QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  auto *layout = new QVBoxLayout(dialog);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(body);
  layout->addSpacing(10);
  layout->addLayout(buttons);
  // Wide enough for the title on any window manager.
  layout->addSpacerItem(new QSpacerItem(300, 0, QSizePolicy::Fixed, QSizePolicy::Fixed));
  SetDialogButtons(dialog);
  ApplyVisualTabOrder(dialog);
}

void EnterMovesToNextControl(QWidget *box) { box->installEventFilter(new EnterFilter(box)); }

}  // namespace n27
