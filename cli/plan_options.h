#pragma once
// The plan check's options of the commands that check a plan (check, write, restore, fleet):
// the customer's licence to check against and the dealer's reason to write despite errors.

#include <memory>
#include <string>

#include "base/language.h"
#include "cli/cli_util.h"
#include "link/programming_job.h"
#include "plan/plan_gate.h"

namespace n27::cli {

inline const OptionDef kLicenceOption{{"--licence"}, true};
inline const OptionDef kOverrideOption{{"--override"}, true};
// The usage lines of --licence and --override for the commands that write.
extern const char *const kPlanOptionsUsage;

// Adds --licence and --override.
void AddPlanOptions(std::vector<OptionDef> &defs);

// The licence a command checks against: the file of --licence when given, otherwise the one
// attached to the loaded data file (FILE.licence.csv beside it; not attached when there is
// none). A licence that cannot be read or is no licence comes back with its problem.
plan::AttachedLicence CommandLicence(const Args &args, const Workspace &ws);
// The plan gate of a write: that licence and the reason of --override.
std::unique_ptr<plan::RulesGate> CommandPlanGate(const Args &args, const Workspace &ws);
// "" or why --override cannot be taken (a reason of blanks only would not count).
std::string OverrideProblem(const Args &args);

// The gate a writing command hands its jobs: the rules gate of the command's arguments, with
// the findings of a check that blocks a write printed one a line on stderr.
class ConsolePlanGate : public PlanGate {
 public:
  ConsolePlanGate(const Args &args, const Workspace &ws) : gate_(CommandPlanGate(args, ws)) {}
  PlanVerdict check(const CodeplugData &config) override;
  // The reason the errors were overridden with for the job that took `steps` ("" when its
  // plan was let through without errors, or not checked: refused before, or no check ran).
  std::string overrideReason(const std::vector<StepTime> &steps) const;

 private:
  std::unique_ptr<plan::RulesGate> gate_;
  PlanVerdict last_;
};

// A run of many radios (group, fleet) checks its configuration before the first radio: false
// (the findings and the refusal printed) when an error blocks every write of the run.
bool PlanAllowsRun(const std::string &command, ConsolePlanGate &gate, const Workspace &ws);

// "the plan check found errors: nothing was written. Give --override …": a write refused by
// the plan check, its findings printed before.
std::string PlanRefusedText();

// A job's outcome as the output line and the logs give it: `detail`, and the reason when the
// plan check's errors were overridden for that radio ("" reason: `detail` as it is), in the
// language of that index.
std::string WithOverrideReason(const std::string &detail, const std::string &reason,
                               int language = LanguageIndex());

}  // namespace n27::cli
