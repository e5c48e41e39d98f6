#pragma once
// The plan check's commands of the main window: File > Attach Licence…, Tools > Check Plan,
// and the review before a write.

#include <optional>
#include <string>
#include <vector>

#include "base/language.h"
#include "link/job_steps.h"

class QWidget;

namespace n27 {

class EditorRegistry;
class MainWindowHost;

namespace window {
inline constexpr const char *kPlanCheck = "FrmPlanCheck";
}

namespace plantext {
inline constexpr Tr kAttachLicenceMenu{"Attach &Licence...", "附加许可证(&L)..."};
inline constexpr Tr kCheckPlanMenu{"Check &Plan", "检查计划(&P)"};
}  // namespace plantext

// The help topic of the plan check.
inline constexpr int kHelpPlanCheck = 4000;

// File > Attach Licence…: asks for a licence file, reads it (a file that is no licence is
// refused with the reason), keeps it beside the data file as FILE.licence.csv (written beside
// and renamed; an untitled configuration keeps it until it is saved) and attaches it. Tells
// how many lines it holds and which were skipped. True when attached.
bool AttachLicenceCommand(MainWindowHost &main);
// The same with a file already chosen.
bool AttachLicenceFile(MainWindowHost &main, const std::string &path);

// Before a write: shows the findings of the plan check. Nothing to show (no finding) goes on
// at once with "". With errors the write goes on only with the reason the dealer types (the
// reason comes back); with warnings only, "" when the dealer goes on. Nothing when the dealer
// stops.
std::optional<std::string> ReviewPlanBeforeWrite(const std::vector<PlanFinding> &findings, QWidget *parent);

// Makes the Check Plan window known to the main window.
void RegisterPlanWindows(EditorRegistry &registry);

}  // namespace n27
