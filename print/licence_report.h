#pragma once
// The "Licence check" pages of the printout, a sheet for the customer's file: the licence,
// every transmitting channel beside the licence line it falls under, and the findings of the
// plan check.

#include <vector>

#include "base/language.h"
#include "plan/plan_gate.h"
#include "print/report.h"

namespace n27 {
class ChannelContext;
}

namespace n27::print {

inline constexpr Tr kLicenceCheckItem{"Licence check", "许可证检查"};

// The pages (one; the printout continues it on further pages as it needs) of the working
// configuration checked against `licence` on `today`.
std::vector<ReportPage> LicenceCheckPages(const ChannelContext &ctx, const plan::AttachedLicence &licence,
                                          const plan::Date &today);

}  // namespace n27::print
