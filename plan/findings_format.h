#pragma once
// Findings written out for the command line: one a line, or a JSON array.

#include <string>
#include <vector>

#include "link/job_steps.h"

namespace n27::plan {

// "Error tx-not-licensed: Channel 5 transmits on …" (severity in the current language).
std::string FindingLine(const PlanFinding &finding);
// Every finding on a line of its own.
std::string FindingsText(const std::vector<PlanFinding> &findings);
// [{"severity":"error","rule":"tx-not-licensed","channel":5,"message":"…"}, …] with
// "warning" for a warning and null for a finding about a setting; one object a line.
std::string FindingsJson(const std::vector<PlanFinding> &findings);
// A text as a JSON string literal, quotes included.
std::string JsonString(const std::string &text);

}  // namespace n27::plan
