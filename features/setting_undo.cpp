#include "features/setting_undo.h"

#include "channels/channel_changes.h"

namespace n27::features {

ChooseResult ChooseSetting(FeatureContext &ctx, const Area &area, const Setting &setting,
                           const std::string &text) {
  if (!setting.choose) return ChooseResult::fail(ChooseStatus::Disabled);
  EditStep undoStep(ctx.ws, n27::step::Setting(area.caption, setting.label));
  return setting.choose(ctx, text);
}

}  // namespace n27::features
