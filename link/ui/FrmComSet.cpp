#include "link/ui/FrmComSet.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>

#include "base/messages.h"
#include "base/ui/dialog_support.h"
#include "base/ui/handler_guard.h"
#include "link/ui/link_texts.h"

namespace n27 {

namespace {
constexpr int kRefreshMs = 1000;
}

FrmComSet::FrmComSet(int chosenPort, PortLister listPorts, QWidget *parent)
    : QDialog(parent), listPorts_(std::move(listPorts)), chosen_(chosenPort) {
  setObjectName("FrmComSet");
  setWindowTitle(QString::fromUtf8(Text(msg::kSetCom)));
  auto *label = new QLabel(QString::fromUtf8(Text(msg::kCommPort)));
  label->setObjectName("Label1");
  combo_ = new QComboBox;
  combo_->setObjectName("Combo1");
  combo_->setMinimumWidth(150);
  label->setBuddy(combo_);
  device_ = new QLabel;
  device_->setObjectName("lblDevice");
  device_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette pal = device_->palette();
  pal.setColor(QPalette::WindowText, pal.color(QPalette::Disabled, QPalette::WindowText));
  device_->setPalette(pal);
  device_->setMinimumWidth(260);
  EnterMovesToNextControl(combo_);

  connect(combo_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) RunHandler(this, "Combo1_Click", [this] { selectionChanged(); });
  });

  // "Comm Port" just left of the list, the device under it.
  auto *grid = new QGridLayout;
  grid->addWidget(label, 0, 0, Qt::AlignRight);
  grid->addWidget(combo_, 0, 1);
  grid->addWidget(device_, 1, 1);
  grid->setColumnStretch(1, 1);
  LayOutDialog(this, grid, ButtonNames::OkCancel, [this] { ok(); });

  fill(chosen_);
  timer_ = new QTimer(this);
  timer_->setObjectName("ReShowComPortTimer");
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this,
          [this] { RunHandler(this, "ReShowComPortTimer_Timer", [this] { refresh(); }); });
  timer_->start();
}

void FrmComSet::fill(int select) {
  ports_ = listPorts_ ? listPorts_() : std::vector<PortEntry>{};
  filling_ = true;
  combo_->clear();
  int index = -1;
  for (std::size_t i = 0; i < ports_.size(); ++i) {
    combo_->addItem(QString::fromStdString(PortName(ports_[i].number)), ports_[i].number);
    if (ports_[i].number == select) index = static_cast<int>(i);
  }
  // The chosen port when it is there, else the first; nothing when the list is empty.
  if (index < 0 && !ports_.empty()) index = 0;
  combo_->setCurrentIndex(index);
  filling_ = false;
  selectionChanged();
}

void FrmComSet::refresh() {
  std::vector<PortEntry> now = listPorts_ ? listPorts_() : std::vector<PortEntry>{};
  bool same = now.size() == ports_.size();
  for (std::size_t i = 0; same && i < now.size(); ++i)
    same = now[i].number == ports_[i].number && now[i].device == ports_[i].device &&
           now[i].description == ports_[i].description;
  if (same) return;  // nothing plugged in or out: leave the open list alone
  fill(selected_);
}

void FrmComSet::selectionChanged() {
  int index = combo_->currentIndex();
  if (index < 0 || index >= static_cast<int>(ports_.size())) {
    selected_ = 0;
    device_->setText(QString::fromUtf8(Text(linkText::kNoPorts)));
    return;
  }
  const PortEntry &p = ports_[static_cast<std::size_t>(index)];
  selected_ = p.number;
  QString text = QString::fromStdString(p.device);
  if (!p.description.empty()) text += "  (" + QString::fromStdString(p.description) + ")";
  device_->setText(text);
}

void FrmComSet::ok() {
  // The number after "COM"; nothing selected or not a number gives 0.
  auto number = ParseComName(combo_->currentText().toStdString());
  chosen_ = combo_->currentIndex() >= 0 && number ? *number : 0;
  accept();
}

void FrmComSet::done(int result) {
  timer_->stop();
  QDialog::done(result);
}

}  // namespace n27
