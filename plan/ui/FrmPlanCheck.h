#pragma once
// Tools > Check Plan: the findings of the plan check of the open configuration, checked again
// whenever the configuration or its licence changes. A double click on a finding opens the
// channel in the grid, or the window of the setting.

#include <QWidget>
#include <vector>

#include "base/ui/editor_window.h"
#include "channels/channel_context.h"
#include "plan/plan_gate.h"

class QLabel;
class QPushButton;
class QTimer;

namespace n27 {

class FindingsList;
class MainWindowHost;

class FrmPlanCheck : public QWidget, public EditorWindow, public ChannelListener {
  Q_OBJECT

 public:
  // A change is checked again this soon (changes that come together are checked once).
  static constexpr int kRecheckDelayMs = 40;

  explicit FrmPlanCheck(MainWindowHost &main, QWidget *parent = nullptr);
  ~FrmPlanCheck() override;

  // Checks the configuration now.
  void recheck();
  // What a double click on the finding of that row does.
  void openFinding(int row);

  const std::vector<PlanFinding> &findings() const { return findings_; }
  FindingsList *list() const { return list_; }
  QLabel *licenceLabel() const { return licence_; }
  int checks() const { return checks_; }
  // Wide enough for the message column; the main window shrinks it to its work area.
  QSize sizeHint() const override { return {880, 420}; }

  // ChannelListener: any change is checked again shortly.
  void channelChanged(int, bool) override { scheduleRecheck(); }
  void allChannelsChanged() override { scheduleRecheck(); }
  void settingsChanged() override { scheduleRecheck(); }
  void planChanged() override { scheduleRecheck(); }

 protected:
  // F1 opens the plan check's page of the guide (before the main window's own F1).
  bool event(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  void scheduleRecheck();
  void showLicence();
  const plan::AttachedLicence &currentLicence();

  MainWindowHost &main_;
  ChannelContext &ctx_;
  FindingsList *list_;
  QLabel *licence_;
  QLabel *summary_;
  QTimer *timer_;
  std::vector<PlanFinding> findings_;
  // The licence as last read from the workspace, kept while its text stays the same.
  std::string licenceText_, licenceProblem_, licenceFile_;
  bool licenceRead_ = false;
  plan::AttachedLicence licenceCache_;
  int checks_ = 0;
};

}  // namespace n27
