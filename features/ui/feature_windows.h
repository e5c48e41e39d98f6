#pragma once
// The feature editor windows, each a FeatureWindow over its table of settings: Function Setup,
// Key Setting, Scan Information, DTMF, FleetSync and Embedded Message open as child windows of
// the main window; the radio information (FrmEMG) opens as a modal dialog after the radio
// information is read.

#include <QDialog>
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

// The radio's identity and service record, shown only, in a modal dialog.
class FrmEMG : public QDialog {
 public:
  explicit FrmEMG(ChannelContext &channels, ShowHelp help = {}, QWidget *parent = nullptr);
  FeatureWindow &view() { return *view_; }

 private:
  FeatureWindow *view_;
};

// Adds the feature windows to the main window's editors.
void RegisterFeatureWindows(EditorRegistry &registry);

}  // namespace n27
