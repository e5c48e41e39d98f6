#pragma once
// The rules a plan is checked against before it reaches a radio. Each rule has an id, a
// severity and a message in both languages naming the channel or setting; an error stops a
// write unless the dealer gives a reason, a warning is shown and does not.
//
// The licence rules run only when a licence is attached; the others always.

#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "link/job_steps.h"
#include "plan/licence.h"

namespace n27::plan {

// Where a finding is mended: the channel grid, the scan window, or the licence file itself.
enum class RulePlace { Channel, Scan, Licence, Plan };

struct Rule {
  const char *id;
  FindingSeverity severity;
  RulePlace place;
  Tr summary;  // what the rule looks for, one line
};

namespace rule {
// Licence rules.
inline constexpr const char *kTxNotLicensed = "tx-not-licensed";
inline constexpr const char *kTxOnRxOnly = "tx-on-rx-only-licence";
inline constexpr const char *kBandwidthOver = "bandwidth-over-licence";
inline constexpr const char *kPowerOver = "power-over-licence";
inline constexpr const char *kExpired = "licence-expired";
inline constexpr const char *kExpiresSoon = "licence-expires-soon";
inline constexpr const char *kOffsetNotLicensed = "offset-not-licensed";
inline constexpr const char *kLicenceUnreadable = "licence-unreadable";
inline constexpr const char *kLicenceBadLine = "licence-bad-line";
// Plan rules.
inline constexpr const char *kNoChannels = "no-channels";
inline constexpr const char *kTxOutOfBand = "tx-out-of-band";
inline constexpr const char *kRxOutOfBand = "rx-out-of-band";
inline constexpr const char *kDuplicateChannel = "duplicate-channel";
inline constexpr const char *kScanEmptyChannel = "scan-empty-channel";
inline constexpr const char *kPriorityNotInBank = "priority-not-in-bank";
}  // namespace rule

// Every rule, licence rules first.
const std::vector<Rule> &Rules();
// The rule of an id; nullptr for an unknown one.
const Rule *FindRule(std::string_view id);

// Skipped licence lines named one by one; the rest are counted in one more finding.
inline constexpr int kMaxBadLineFindings = 20;

struct PlanInputs {
  const Licence *licence = nullptr;  // the attached licence; nullptr: none
  std::string licenceName;           // its file, as messages name it
  std::string licenceProblem;        // a licence is attached but cannot be read: why
  Date today;
};

// Checks a configuration: the findings in the current language, the licence's own first, then
// by channel, then the scan settings.
std::vector<PlanFinding> CheckPlan(const CodeplugData &config, const PlanInputs &in);

bool HasError(const std::vector<PlanFinding> &findings);
int CountOf(const std::vector<PlanFinding> &findings, FindingSeverity severity);

// "Error" / "错误", "Warning" / "警告".
const char *SeverityText(FindingSeverity severity);
// "2 errors, 1 warning." / "No findings." in the current language.
std::string FindingsSummary(const std::vector<PlanFinding> &findings);

}  // namespace n27::plan
