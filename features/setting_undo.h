#pragma once
// A user's choice in a feature window as one undo step, named after the window and the
// setting ("Function Setup: Squelch Level" / "功能设定：静噪等级").

#include <string>

#include "features/setting.h"

namespace n27::features {

// Stores `text` through the setting's `choose` inside one undo step; a choice that changes
// nothing (or is refused) records no step.
ChooseResult ChooseSetting(FeatureContext &ctx, const Area &area, const Setting &setting,
                           const std::string &text);

}  // namespace n27::features
