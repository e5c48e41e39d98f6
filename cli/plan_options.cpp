#include "cli/plan_options.h"

#include <iostream>

#include "base/language.h"
#include "codeplug/configuration.h"
#include "plan/findings_format.h"

namespace n27::cli {

const char *const kPlanOptionsUsage =
    "  --licence FILE     check the plan against this licence (CSV) instead of the one\n"
    "                     attached to the data file (FILE.licence.csv beside FILE.dat); an\n"
    "                     error of the plan check stops the write\n"
    "  --override REASON  write despite errors of the plan check; the reason goes into the\n"
    "                     output, the log and the radio history\n";

namespace {
constexpr Tr kOverriddenDetail{"%1 (plan errors overridden: %2)", "%1（已忽略方案错误：%2）"};
constexpr Tr kRunBlocked{"the plan check found errors: nothing was written. Give --override \"REASON\" to write all the same.",
                         "方案检查发现错误：未写入任何内容。如仍要写入，请给出 --override \"原因\"。"};
}  // namespace

void AddPlanOptions(std::vector<OptionDef> &defs) {
  defs.push_back(kLicenceOption);
  defs.push_back(kOverrideOption);
}

plan::AttachedLicence CommandLicence(const Args &args, const Workspace &ws) {
  if (args.has("--licence")) return plan::ReadLicenceFile(args.value("--licence"));
  plan::AttachedLicence attached = plan::WorkspaceLicence(ws);
  if (attached.attached) attached.name = LicenceFilePath(ws.fileName);  // the path the user can find
  return attached;
}

std::unique_ptr<plan::RulesGate> CommandPlanGate(const Args &args, const Workspace &ws) {
  return std::make_unique<plan::RulesGate>(CommandLicence(args, ws), args.value("--override"));
}

std::string OverrideProblem(const Args &args) {
  if (args.has("--override") && !plan::IsOverrideReason(args.value("--override")))
    return "--override wants the reason to write despite the plan check's errors";
  return {};
}

PlanVerdict ConsolePlanGate::check(const CodeplugData &config) {
  last_ = gate_->check(config);
  if (last_.blocked) std::cerr << plan::FindingsText(last_.findings) << std::flush;
  return last_;
}

std::string ConsolePlanGate::overrideReason(const std::vector<StepTime> &steps) const {
  // A single or group write checks one radio at a time, so the last verdict is its own; the
  // jobs of a fleet run interleave, but their plans differ only in the message lines, which no
  // rule looks at, so every verdict of the run is the same.
  for (const StepTime &step : steps)
    if (step.step == JobStep::Check && step.ok) return last_.overrideReason;
  return {};
}

bool PlanAllowsRun(const std::string &command, ConsolePlanGate &gate, const Workspace &ws) {
  if (!gate.check(ws.working).blocked) return true;
  Fail(command, PlanRefusedText());
  return false;
}

std::string PlanRefusedText() { return kRunBlocked.str(); }

std::string WithOverrideReason(const std::string &detail, const std::string &reason, int language) {
  // The job may name the reason in its fact itself: then it is not given twice.
  if (reason.empty() || detail.find(reason) != std::string::npos) return detail;
  return FillPattern(kOverriddenDetail.at(language), {detail, reason});
}

}  // namespace n27::cli
