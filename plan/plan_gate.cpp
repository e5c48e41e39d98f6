#include "plan/plan_gate.h"

#include <filesystem>

#include "codeplug/configuration.h"

namespace n27::plan {

AttachedLicence LicenceFromText(const std::string &name, const std::string &text, const std::string &problem) {
  AttachedLicence a;
  a.attached = true;
  a.name = name;
  if (!problem.empty()) {
    a.problem = problem;
    return a;
  }
  LicenceParse parsed = ParseLicence(text);
  if (parsed.licence) a.licence = std::move(parsed.licence);
  else a.problem = parsed.error;
  return a;
}

AttachedLicence FindAttachedLicence(const std::string &dataPath) {
  std::string text, problem;
  if (!ReadLicenceCompanion(dataPath, text, problem)) return {};
  return LicenceFromText(LicenceFilePath(dataPath), text, problem);
}

AttachedLicence ReadLicenceFile(const std::string &path) {
  std::string problem;
  const auto text = ReadLicenceText(path, problem);
  return LicenceFromText(path, text.value_or(""), problem);
}

AttachedLicence WorkspaceLicence(const Workspace &ws) {
  if (ws.licenceText.empty() && ws.licenceProblem.empty()) return {};
  // The file it is (or will be) kept in; an untitled configuration has none yet.
  const std::string name = ws.untitled ? std::string() : std::filesystem::path(LicenceFilePath(ws.fileName)).filename().string();
  return LicenceFromText(name, ws.licenceText, ws.licenceProblem);
}

PlanInputs InputsFor(const AttachedLicence &licence, const Date &today) {
  PlanInputs in;
  in.licence = licence.licence ? &*licence.licence : nullptr;
  in.licenceName = licence.name;
  in.licenceProblem = licence.problem;
  in.today = today;
  return in;
}

namespace {
constexpr const char *kBlanks = " \t\r\n";
}

bool IsOverrideReason(std::string_view reason) { return reason.find_first_not_of(kBlanks) != std::string_view::npos; }

std::string OverrideReasonText(std::string_view reason) {
  const auto first = reason.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return std::string(reason.substr(first, reason.find_last_not_of(kBlanks) - first + 1));
}

RulesGate::RulesGate(AttachedLicence licence, std::string overrideReason)
    : licence_(std::move(licence)), overrideReason_(std::move(overrideReason)) {}

PlanVerdict RulesGate::check(const CodeplugData &config) {
  PlanVerdict v;
  v.findings = CheckPlan(config, InputsFor(licence_, today_ ? *today_ : Today()));
  if (HasError(v.findings)) {
    if (IsOverrideReason(overrideReason_)) v.overrideReason = OverrideReasonText(overrideReason_);
    else v.blocked = true;
  }
  return v;
}

}  // namespace n27::plan
