#pragma once
// FrmCHInfoEdit: the channel detail dialog. Modeless, at most one, owned by the channel
// window whose current row it follows. It shows every field of one channel; each change goes
// through ChangeChannel and the dialog then reloads from the channel list.

#include <QDialog>
#include <array>
#include <functional>

#include "channels/channel_context.h"
#include "channels/ui/frmCommChInfo.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace n27 {

class FrmCHInfoEdit : public QDialog, public ChannelListener {
  Q_OBJECT

 public:
  static constexpr int kLists = 13;   // Combo2(0..12)
  static constexpr int kChecks = 5;   // Check1(0..4)

  FrmCHInfoEdit(ChannelContext &ctx, frmCommChInfo &grid, ChannelWindowHost host);
  ~FrmCHInfoEdit() override;

  // Reload. fromGrid: show the channel window's current row; otherwise make the channel
  // chosen in the channel list the window's current row.
  void SetGridEditData(bool fromGrid);
  void applyLanguage();
  // Applies what is typed in the text boxes and has not been taken yet.
  void storePendingInput();
  // The channel shown (1..128).
  int channel() const;

  // ChannelListener: every change of the channel list reloads the dialog.
  void channelChanged(int number, bool refresh) override;
  void allChannelsChanged() override;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void buildUi();
  // Marks the captions of the fields that differ from the saved channel.
  void markFields();
  void listChosen(int index);
  void textLeft(QLineEdit *box);
  void toneLeft(int index);
  void checkClicked(int index, bool checked);
  void apply(int field, const QString &text);
  bool run(const char *handler, const std::function<void()> &body);

  ChannelContext &ctx_;
  frmCommChInfo &grid_;
  ChannelWindowHost host_;

  QLabel *label1_ = nullptr;
  QComboBox *combo1_ = nullptr;
  QLineEdit *text1_ = nullptr;
  QLineEdit *text2_ = nullptr;
  QLineEdit *text3_ = nullptr;
  std::array<QLabel *, 15> label2_{};
  QLabel *label5_ = nullptr;
  std::array<QComboBox *, kLists> combo2_{};
  std::array<QCheckBox *, kChecks> check1_{};
  QPushButton *commandHelp_ = nullptr;
  QPushButton *commandClose_ = nullptr;

  bool ready_ = false;
  bool reloading_ = false;
  bool applying_ = false;
  // What the text boxes and tone lists showed at the last reload: leaving one applies it
  // only when it was changed.
  QString shown_[3];
  QString shownTone_[2];
};

}  // namespace n27
