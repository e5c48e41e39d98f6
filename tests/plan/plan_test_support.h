#pragma once
// A plan and a licence to check it against, for the plan check tests.

#include <string>

#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "plan/plan_gate.h"

namespace n27::plan::test {

// Line 2 licenses 446.00625 MHz at 12.5 kHz / 2 W until the end of 2099, line 3 446.01875 MHz
// at 25 kHz / 5 W, line 4 446.03125 MHz for receiving only.
inline const char *kLicenceCsv =
    "Frequency (MHz),Bandwidth (kHz),Power (W),Use,Expires,Licensee,Reference\r\n"
    "446.00625,12.5,2,TX/RX,2099-12-31,Harbour Taxis,LIC-1\r\n"
    "446.01875,25 kHz,5W,,,Harbour Taxis,LIC-2\r\n"
    "446.03125,,,RX,,,\r\n";

inline const Date kToday{2030, 6, 1};

// A configuration with channel 1 (446.00625, narrow, Low) and channel 2 (446.01875, wide,
// High): clean against kLicenceCsv.
struct PlanFixture {
  Workspace ws;
  ChannelContext ctx{ws};
  Licence licence = *ParseLicence(kLicenceCsv).licence;

  PlanFixture() {
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    channel(1, "446.00625", "446.00625", 0, 0);
    channel(2, "446.01875", "446.01875", 2, 1);
  }
  ChannelRecord &channel(int n, const char *rx, const char *tx, int power, int spacing) {
    AddChannel(ctx, 1, n, rx);
    ChangeChannel(ctx, 1, n, kFieldTx, tx);
    ChannelRecord &e = *ws.working.slot(ws.working.findChannel(n));
    e.power = static_cast<uint16_t>(power);
    e.spacing = static_cast<uint16_t>(spacing);
    return e;
  }
  ChannelRecord &at(int n) { return *ws.working.slot(ws.working.findChannel(n)); }
  std::vector<PlanFinding> check(const Date &today = kToday) {
    PlanInputs in;
    in.licence = &licence;
    in.licenceName = "site.licence.csv";
    in.today = today;
    return CheckPlan(ws.working, in);
  }
};

}  // namespace n27::plan::test
