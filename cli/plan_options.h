#pragma once
// The plan check's options of the commands that check a plan (check, write, fleet): the
// customer's licence to check against and the dealer's reason to write despite errors.

#include <memory>

#include "cli/cli_util.h"
#include "plan/plan_gate.h"

namespace n27::cli {

inline const OptionDef kLicenceOption{{"--licence"}, true};
inline const OptionDef kOverrideOption{{"--override"}, true};

// The licence a command checks against: the file of --licence when given, otherwise the one
// attached to the loaded data file (FILE.licence.csv beside it; not attached when there is
// none). A licence that cannot be read or is no licence comes back with its problem.
plan::AttachedLicence CommandLicence(const Args &args, const Workspace &ws);
// The plan gate of a write: that licence and the reason of --override.
std::unique_ptr<plan::RulesGate> CommandPlanGate(const Args &args, const Workspace &ws);

}  // namespace n27::cli
