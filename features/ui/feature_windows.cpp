#include "features/ui/feature_windows.h"

#include "base/ui/editor_window.h"
#include "channels/ui/main_window_host.h"
#include "features/dtmf_settings.h"
#include "features/fleet_sync.h"
#include "features/function_setup.h"
#include "features/key_assignment.h"
#include "features/key_filters.h"
#include "features/local_message.h"
#include "features/radio_information.h"
#include "features/scan_settings.h"

namespace n27 {

namespace {

FeatureLayout functionSetupLayout() {
  FeatureLayout l;
  l.sections = {
      {Tr{"VOX Setting", "声控设置"}, false, {"Check2_0", "Combo3_0", "Combo3_1", "Check2_2"}},
      {Tr{"Mode", "模式"}, false, {"Check7_0", "Check7_1", "Check7_2", "Check7_3", "Check7_4"}},
  };
  l.checkColumns = 2;  // the window fits the main window's work area without scrolling
  l.helpContext = 3200;
  return l;
}

// A group per programmable key, each with its "Press" and "Hold" row.
FeatureLayout keyLayout() {
  FeatureLayout l;
  l.sections = {
      {Tr{"Key Function1", "按键功能1"}, false, {"Combo1_0", "Combo1_2"}},
      {Tr{"Key Function2", "按键功能2"}, false, {"Combo1_1", "Combo1_3"}},
  };
  const Tr press{"Press", "短按"}, hold{"Hold", "长按"};
  l.labels = {{"Combo1_0", press}, {"Combo1_1", press}, {"Combo1_2", hold}, {"Combo1_3", hold}};
  l.helpContext = 3400;
  // The Alert Locked clean-up runs before the keys are shown.
  l.beforeShowing = [](features::FeatureContext &c) { features::AlertLockedCleanUp(c.ws.working); };
  return l;
}

FeatureLayout scanLayout() {
  FeatureLayout l;
  l.helpContext = 3500;
  return l;
}

FeatureLayout dtmfLayout() {
  FeatureLayout l;
  l.sections = {
      {Tr{"Encode", "编码"},
       true,
       {"Combo1_0", "Combo1_1", "Combo1_2", "Combo1_3", "Combo1_4", "Combo1_6", "Check1", "Text1_0", "Text1_2"}},
      {Tr{"Decode", "解码"}, true, {"Text1_1", "Combo2_0", "Combo2_1", "Combo2_2", "Combo2_3", "Check2", "Text1_4", "Text1_5"}},
      {Tr{"Stun", "遥晕"}, false, {"Text2", "Combo3"}},
      {Tr{"Autodial Memory", "自动拨号存储器"}, true, {}, true},
  };
  l.gridColumns = {Tr{"Code", "代码"}};
  l.filters = {{"Text1_0", features::DtmfCodeKey}, {"Text1_2", features::DtmfCodeKey},
               {"Text1_4", features::DtmfCodeKey}, {"Text1_5", features::DtmfCodeKey},
               {"Text2", features::DtmfCodeKey},   {"Text1_1", features::DigitKey}};
  l.gridFilter = features::DtmfCodeKey;
  l.helpContext = 3600;
  return l;
}

FeatureLayout fleetLayout() {
  FeatureLayout l;
  l.sections = {
      {Tr{"FleetSync", "队列同步"}, true, {}},
      {Tr{"Fleet List", "队列表"}, true, {}, true},
  };
  l.columns = 1;
  l.gridColumns = {Tr{"Fleet", "队列"}, Tr{"ID", "ID"}};
  l.gridFilter = features::FleetCellKey;
  return l;
}

FeatureLayout messageLayout() {
  FeatureLayout l;
  l.columns = 1;
  l.filters = {{"Text1_0", features::MessageKey}, {"Text1_1", features::MessageKey}};
  l.helpContext = 3700;
  return l;
}

FeatureLayout radioInformationLayout() {
  FeatureLayout l;
  l.sections = {{Tr{"Description", "Description"}, false, {"Text1_8", "Text1_9", "Text1_10", "Text1_11"}}};
  l.helpContext = 3800;
  return l;
}

ShowHelp helpOf(MainWindowHost &main) {
  return [&main](int topic) { main.showHelp(topic); };
}

}  // namespace

FrmOptFeatures::FrmOptFeatures(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::FunctionSetupArea(), channels, functionSetupLayout(), std::move(help), parent) {}

FrmKeyAssignm::FrmKeyAssignm(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::KeyAssignmentArea(), channels, keyLayout(), std::move(help), parent) {}

FrmScanInfo::FrmScanInfo(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::ScanSettingsArea(), channels, scanLayout(), std::move(help), parent) {}

bool FrmScanInfo::reshowScanChoices() {
  refresh();
  return true;
}

FrmDTMF::FrmDTMF(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::DtmfArea(), channels, dtmfLayout(), std::move(help), parent) {}

FrmFleetSync::FrmFleetSync(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::FleetSyncArea(), channels, fleetLayout(), std::move(help), parent) {}

FrmEmbMsg::FrmEmbMsg(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::LocalMessageArea(), channels, messageLayout(), std::move(help), parent) {}

FrmEMG::FrmEMG(ChannelContext &channels, ShowHelp help, QWidget *parent)
    : FeatureWindow(features::RadioInformationArea(), channels, radioInformationLayout(), std::move(help), parent) {}

void RegisterFeatureWindows(EditorRegistry &registry) {
  registry.add({window::kFunctionSetup, [](MainWindowHost &m) { return new FrmOptFeatures(m.channels(), helpOf(m)); }});
  registry.add({window::kKeySetting, [](MainWindowHost &m) { return new FrmKeyAssignm(m.channels(), helpOf(m)); }});
  registry.add({window::kScanInformation, [](MainWindowHost &m) { return new FrmScanInfo(m.channels(), helpOf(m)); }});
  registry.add({window::kDtmf, [](MainWindowHost &m) { return new FrmDTMF(m.channels(), helpOf(m)); }});
  registry.add({window::kFleetSync, [](MainWindowHost &m) { return new FrmFleetSync(m.channels(), helpOf(m)); }});
  registry.add({window::kEmbeddedMessage, [](MainWindowHost &m) { return new FrmEmbMsg(m.channels(), helpOf(m)); }});
  registry.add({window::kRadioInformation, [](MainWindowHost &m) { return new FrmEMG(m.channels(), helpOf(m)); }});
}

}  // namespace n27
