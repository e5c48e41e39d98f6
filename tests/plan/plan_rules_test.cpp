// Each rule caught by a plan made for it, none raised by a clean plan, and the gate.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "plan/findings_format.h"
#include "plan/plan_rules.h"
#include "plan_test_support.h"

namespace n27::plan::test {
namespace {

std::set<std::string> rulesOf(const std::vector<PlanFinding> &findings) {
  std::set<std::string> out;
  for (const PlanFinding &f : findings) out.insert(f.rule);
  return out;
}

TEST(PlanRules, CleanPlanRaisesNothing) {
  PlanFixture p;
  EXPECT_TRUE(p.check().empty()) << FindingLine(p.check().front());
  // Receive-only channels and channels on the licence's RX-only line transmit nothing.
  p.channel(3, "446.03125", "", 2, 1);
  p.ws.working.scan.words[0] = 1;  // priority Fixd, bank 1 on channel 2
  p.ws.working.scan.words[1] = 2;
  EXPECT_TRUE(p.check().empty());
}

struct RuleCase {
  const char *name;
  std::function<void(PlanFixture &)> make;
  std::set<std::string> rules;
  int channel;  // of the first finding
  Date today = kToday;
};

TEST(PlanRules, EachRuleCaughtByAPlanMadeForIt) {
  const RuleCase cases[] = {
      {"unlicensed TX", [](PlanFixture &p) { p.channel(3, "446.10000", "446.10000", 0, 0); }, {"tx-not-licensed"}, 3},
      {"TX on an RX-only line", [](PlanFixture &p) { p.channel(4, "446.03125", "446.03125", 0, 0); },
       {"tx-on-rx-only-licence"}, 4},
      {"wide on 12.5 kHz", [](PlanFixture &p) { p.at(1).spacing = 1; }, {"bandwidth-over-licence"}, 1},
      {"Middle (2.5 W) on 2 W", [](PlanFixture &p) { p.at(1).power = 1; }, {"power-over-licence"}, 1},
      {"expired", [](PlanFixture &) {}, {"licence-expired"}, 1, {2100, 1, 1}},
      {"expires in 30 days", [](PlanFixture &) {}, {"licence-expires-soon"}, 1, {2099, 12, 2}},
      {"repeater RX not licensed", [](PlanFixture &p) { p.channel(5, "441.01875", "446.01875", 2, 1); },
       {"offset-not-licensed"}, 5},
      {"reverse transmits on RX",
       [](PlanFixture &p) { p.channel(6, "446.50000", "446.01875", 2, 1).reverse = 1; },
       {"tx-not-licensed", "offset-not-licensed"}, 6},
      {"bad licence line", [](PlanFixture &p) { p.licence = *ParseLicence(std::string(kLicenceCsv) + "abc,12.5,2\n").licence; },
       {"licence-bad-line"}, 0},
      {"no channel", [](PlanFixture &p) { p.ws.working.channelCount = 0; }, {"no-channels"}, 0},
      {"TX outside the band", [](PlanFixture &p) { p.channel(7, "446.10000", "446.10000", 0, 0).tx.assign("39000000"); },
       {"tx-out-of-band", "tx-not-licensed"}, 7},
      {"RX damaged", [](PlanFixture &p) { p.channel(8, "446.00625", "446.00625", 0, 0).rx.assign("44x00625"); },
       {"rx-out-of-band"}, 8},
      {"duplicate", [](PlanFixture &p) { p.channel(9, "446.00625", "446.00625", 0, 0); }, {"duplicate-channel"}, 9},
      {"priority on an empty channel",
       [](PlanFixture &p) { p.ws.working.scan.words = {2, 7, 255, 255, 255, 255, 255, 255, 255, 2, 2, 1, 3, 3}; },
       {"scan-empty-channel"}, 0},
      {"priority outside its bank",
       [](PlanFixture &p) { p.ws.working.scan.words = {1, 255, 255, 255, 255, 255, 255, 255, 17, 2, 2, 1, 3, 3}; },
       {"priority-not-in-bank"}, 0},
      {"priority not scanned",
       [](PlanFixture &p) {
         p.ws.working.scan.words[0] = 1;
         p.ws.working.scan.words[1] = 1;
         p.at(1).scanAdd = 0;
       },
       {"priority-not-in-bank"}, 0},
  };
  for (const RuleCase &c : cases) {
    PlanFixture p;
    c.make(p);
    const auto findings = p.check(c.today);
    EXPECT_EQ(rulesOf(findings), c.rules) << c.name;
    if (findings.empty()) continue;
    EXPECT_EQ(findings.front().channel, c.channel) << c.name;
    EXPECT_EQ(findings.front().severity, FindRule(findings.front().rule)->severity) << c.name;
    if (c.channel > 0) {
      EXPECT_NE(findings.front().message.find(std::to_string(c.channel)), std::string::npos) << c.name;
    }
  }
}

TEST(PlanRules, MessagesNameTheChannelAndLineInBothLanguages) {
  PlanFixture p;
  p.at(1).power = 2;
  EXPECT_EQ(p.check().front().message,
            "Channel 1 transmits at High power (5 W) on 446.00625 MHz; licence line 2 allows 2 W.");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(p.check().front().message, "信道 1 在 446.00625 MHz以高功率（5 W）发射，许可证第 2 行只允许 2 W。");
  SetLanguageIndex(kEnglish);
  // Talkaround sends on the RX frequency.
  p.channel(3, "446.20000", "446.00625", 0, 0).talkaround = 1;
  EXPECT_NE(FindingsText(p.check()).find("Channel 3 transmits on 446.20000 MHz in talkaround"), std::string::npos);
}

TEST(PlanGate, ErrorsBlockUnlessADealerGivesAReason) {
  PlanFixture p;
  AttachedLicence attached = LicenceFromText("site.licence.csv", kLicenceCsv, "");
  RulesGate gate(attached);
  gate.setToday(kToday);
  p.at(2).power = 2;  // 5 W on 5 W: fine
  EXPECT_FALSE(gate.check(p.ws.working).blocked);
  p.at(1).spacing = 1;
  PlanVerdict v = gate.check(p.ws.working);
  EXPECT_TRUE(v.blocked);
  EXPECT_EQ(v.overrideReason, "");
  gate.setOverrideReason("  \t ");
  EXPECT_TRUE(gate.check(p.ws.working).blocked);
  gate.setOverrideReason(" new licence LIC-9 granted, paper copy on file ");
  v = gate.check(p.ws.working);
  EXPECT_FALSE(v.blocked);
  EXPECT_EQ(v.overrideReason, "new licence LIC-9 granted, paper copy on file");
  EXPECT_EQ(v.findings.size(), 1u);
  // Warnings alone never block and carry no reason.
  p.at(1).spacing = 0;
  p.channel(9, "446.00625", "446.00625", 0, 0);
  v = gate.check(p.ws.working);
  EXPECT_FALSE(v.blocked);
  EXPECT_EQ(v.overrideReason, "");
  // A licence that cannot be read is an error, never no licence.
  RulesGate unreadable(LicenceFromText("site.licence.csv", "", "permission denied"));
  v = unreadable.check(p.ws.working);
  EXPECT_TRUE(v.blocked);
  EXPECT_EQ(v.findings.front().rule, "licence-unreadable");
  RulesGate notALicence(LicenceFromText("site.licence.csv", "Name,Phone\nBob,123\n", ""));
  EXPECT_TRUE(notALicence.check(p.ws.working).blocked);
}

TEST(PlanFindings, JsonHasTheKeysAndEscapes) {
  const std::vector<PlanFinding> findings = {
      {FindingSeverity::Error, "tx-not-licensed", 5, "Channel 5 \"x\"\\\n"},
      {FindingSeverity::Warning, "licence-bad-line", 0, "bad \xff byte, 信道"}};
  EXPECT_EQ(FindingsJson(findings),
            "[\n"
            "  {\"severity\": \"error\", \"rule\": \"tx-not-licensed\", \"channel\": 5, \"message\": "
            "\"Channel 5 \\\"x\\\"\\\\\\n\"},\n"
            "  {\"severity\": \"warning\", \"rule\": \"licence-bad-line\", \"channel\": null, \"message\": "
            "\"bad \\ufffd byte, 信道\"}\n"
            "]\n");
  EXPECT_EQ(FindingsJson({}), "[]\n");
}

}  // namespace
}  // namespace n27::plan::test
