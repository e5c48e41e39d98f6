#pragma once
// The feature editor windows, each a FeatureWindow over its table of settings: Function Setup,
// Key Setting, Scan Information, DTMF, FleetSync, Embedded Message and, after a radio-information
// read, the radio information (FrmEMG) open as child windows of the main window.

#include <functional>

#include "features/ui/FeatureWindow.h"

namespace n27 {

class EditorRegistry;

using ShowHelp = std::function<void(int)>;

class FrmOptFeatures : public FeatureWindow {
 public:
  explicit FrmOptFeatures(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

class FrmKeyAssignm : public FeatureWindow {
 public:
  explicit FrmKeyAssignm(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

// While open, the scan window listens to the channel list: a channel created or deleted
// reshows its bank choices, and the stored choices are left for the user to pick.
class FrmScanInfo : public FeatureWindow {
 public:
  explicit FrmScanInfo(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
  bool reshowScanChoices() override;
};

class FrmDTMF : public FeatureWindow {
 public:
  explicit FrmDTMF(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

class FrmFleetSync : public FeatureWindow {
 public:
  explicit FrmFleetSync(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

class FrmEmbMsg : public FeatureWindow {
 public:
  explicit FrmEmbMsg(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

// The radio's identity and service record, shown only: its boxes take no typing and look so.
class FrmEMG : public FeatureWindow {
 public:
  explicit FrmEMG(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
};

// Adds the feature windows to the main window's editors.
void RegisterFeatureWindows(EditorRegistry &registry);

}  // namespace n27
