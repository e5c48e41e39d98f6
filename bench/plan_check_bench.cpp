// How long the plan check takes: 128 channels against a 500-line licence, as the Check Plan
// window does after every edit and a write does before every radio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchmark.h"
#include "channels/channel_ops.h"
#include "channels/number_text.h"
#include "codeplug/configuration.h"
#include "plan/plan_rules.h"

namespace n27::bench {
namespace {

constexpr int kRuns = 200;
constexpr double kLimitMs = 5.0;

// Step k of 12.5 kHz above 440 MHz, as "440.01250" (whatever the locale).
std::string mhz(int k) { return FormatFixed(44'000'000 + k * 1'250, 5, 3); }

// 500 lines from 440 MHz in 12.5 kHz steps, with expiry dates, a licensee and a reference.
std::string licenceText() {
  std::string text = "Frequency,Bandwidth,Power,Use,Expires,Licensee,Reference\n";
  for (int i = 0; i < 500; ++i) {
    char rest[128];
    std::snprintf(rest, sizeof rest, ",%s,%d,%s,2099-12-%02d,Harbour Taxis Ltd,LIC-%04d\n", i % 3 ? "12.5" : "25",
                  1 + i % 5, i % 50 ? "TX/RX" : "RX", 1 + i % 28, i);
    text += mhz(i) + rest;
  }
  return text;
}

// 128 channels on licensed and unlicensed frequencies, some repeaters and duplicates.
void fillChannels(ChannelContext &ctx) {
  for (int n = 1; n <= kMaxChannels; ++n) {
    AddChannel(ctx, 1, n, mhz(n * 3 % 520));
    ChangeChannel(ctx, 1, n, kFieldTx, mhz((n * 3 + (n % 4 == 0 ? 40 : 0)) % 520), false);
  }
}

int RunPlanCheckBench() {
  Workspace ws;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ChannelContext ctx(ws);
  fillChannels(ctx);
  const std::string text = licenceText();

  std::vector<double> checks, withParse;
  std::size_t findings = 0;
  for (int i = 0; i < kRuns; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    const plan::Licence licence = *plan::ParseLicence(text).licence;
    const auto t1 = std::chrono::steady_clock::now();
    plan::PlanInputs in;
    in.licence = &licence;
    in.today = {2030, 1, 1};
    findings = plan::CheckPlan(ws.working, in).size();
    const auto t2 = std::chrono::steady_clock::now();
    checks.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    withParse.push_back(std::chrono::duration<double, std::milli>(t2 - t0).count());
  }
  std::printf("  channels            %d, licence lines 500, findings %zu\n", ws.working.channelCount, findings);
  std::printf("  check               median %.3f ms, worst %.3f ms (limit %.0f ms)\n", Median(checks),
              *std::max_element(checks.begin(), checks.end()), kLimitMs);
  std::printf("  read licence + check median %.3f ms, worst %.3f ms\n", Median(withParse),
              *std::max_element(withParse.begin(), withParse.end()));
  return Median(withParse) <= kLimitMs ? 0 : 1;
}

}  // namespace
N27_BENCHMARK("plan-check", "check 128 channels against a 500-line licence", RunPlanCheckBench);
}  // namespace n27::bench
