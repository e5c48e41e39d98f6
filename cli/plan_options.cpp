#include "cli/plan_options.h"

#include "codeplug/configuration.h"

namespace n27::cli {

plan::AttachedLicence CommandLicence(const Args &args, const Workspace &ws) {
  if (args.has("--licence")) return plan::ReadLicenceFile(args.value("--licence"));
  plan::AttachedLicence attached = plan::WorkspaceLicence(ws);
  if (attached.attached) attached.name = LicenceFilePath(ws.fileName);  // the path the user can find
  return attached;
}

std::unique_ptr<plan::RulesGate> CommandPlanGate(const Args &args, const Workspace &ws) {
  return std::make_unique<plan::RulesGate>(CommandLicence(args, ws), args.value("--override"));
}

}  // namespace n27::cli
