// The licence reader fed arbitrary text: every row becomes a line or a skipped row with its
// reason, the lines hold what a licence can, matching finds only lines within 5 Hz, and a plan
// checked against it (and printed as JSON) never breaks.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "fuzz/fuzz_check.h"
#include "plan/findings_format.h"
#include "plan/plan_rules.h"

using namespace n27;

namespace {

// A plan of a few channels on the frequencies the seeds use, some repeaters, one reversed.
const CodeplugData &SomePlan() {
  static const CodeplugData plan = [] {
    Workspace ws;
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    ChannelContext ctx(ws);
    const char *rx[] = {"446.00625", "446.01875", "462.56250", "467.56250", "450.00000"};
    for (int n = 1; n <= 5; ++n) AddChannel(ctx, 1, n, rx[n - 1]);
    ChangeChannel(ctx, 1, 4, kFieldTx, "462.56250");
    ws.working.channels[3].reverse = 1;
    ws.working.scan.words[0] = 1;
    ws.working.scan.words[1] = 9;
    return ws.working;
  }();
  return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > kMaxLicenceBytes) return 0;
  const std::string text(reinterpret_cast<const char *>(data), size);
  const plan::LicenceParse parsed = plan::ParseLicence(text);
  FUZZ_CHECK(parsed.licence.has_value() != !parsed.error.empty());
  if (!parsed.licence) return 0;
  const plan::Licence &l = *parsed.licence;
  int last = 1;
  for (const plan::LicenceLine &line : l.lines) {
    FUZZ_CHECK(line.line > last && line.frequencyHz > 0);
    FUZZ_CHECK(line.receiveOnly || (line.bandwidthHz > 0 && line.powerWatts > 0));
    for (const plan::LicenceLine *m : l.matching(line.frequencyHz))
      FUZZ_CHECK(m->frequencyHz >= line.frequencyHz - plan::kMatchToleranceHz &&
                 m->frequencyHz <= line.frequencyHz + plan::kMatchToleranceHz);
    last = line.line;
  }
  for (const plan::SkippedLine &s : l.skipped) FUZZ_CHECK(s.line >= 2 && !s.reason.empty());

  plan::PlanInputs in;
  in.licence = &l;
  in.today = {2030, 1, 1};
  const auto findings = plan::CheckPlan(SomePlan(), in);
  const std::string json = plan::FindingsJson(findings);
  FUZZ_CHECK(json.front() == '[' && json.back() == '\n');
  for (const PlanFinding &f : findings) FUZZ_CHECK(plan::FindRule(f.rule) != nullptr && !f.message.empty());
  return 0;
}
