#pragma once
// The plan check as a step of a programming job: the rules, the customer's licence and the
// dealer's override reason. An error stops the write unless a reason was given; warnings never
// do. Also where the licence of a configuration is found.

#include <optional>
#include <string>
#include <string_view>

#include "codeplug/workspace.h"
#include "link/job_steps.h"
#include "plan/licence.h"
#include "plan/plan_rules.h"

namespace n27::plan {

// The licence a check runs with.
struct AttachedLicence {
  bool attached = false;           // a licence is attached (or was given)
  std::string name;                // its file, as messages name it
  std::optional<Licence> licence;  // read and understood
  std::string problem;             // attached, but it cannot be read or is no licence: why
};

// The licence kept beside a data file (FILE.licence.csv); not attached when there is none.
AttachedLicence FindAttachedLicence(const std::string &dataPath);
// A licence file given by name (the command line's --licence, File > Attach Licence…).
AttachedLicence ReadLicenceFile(const std::string &path);
// The licence attached to the open configuration (the workspace's licence text and problem).
AttachedLicence WorkspaceLicence(const Workspace &ws);
// The same from a licence's text and the problem of reading it.
AttachedLicence LicenceFromText(const std::string &name, const std::string &text, const std::string &problem);

// What CheckPlan needs from an attached licence.
PlanInputs InputsFor(const AttachedLicence &licence, const Date &today);

// A reason counts when it holds more than blanks.
bool IsOverrideReason(std::string_view reason);
// The reason as it is kept: without the blanks and line ends around it.
std::string OverrideReasonText(std::string_view reason);

class RulesGate : public PlanGate {
 public:
  explicit RulesGate(AttachedLicence licence, std::string overrideReason = {});

  // The dealer's reason to write despite errors ("" none: errors block).
  void setOverrideReason(std::string reason) { overrideReason_ = std::move(reason); }
  // The day the licence's expiry dates are held against (the computer's date unless set).
  void setToday(const Date &today) { today_ = today; }
  const AttachedLicence &licence() const { return licence_; }

  PlanVerdict check(const CodeplugData &config) override;

 private:
  AttachedLicence licence_;
  std::string overrideReason_;
  std::optional<Date> today_;
};

}  // namespace n27::plan
