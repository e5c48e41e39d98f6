#include "features/setting_undo.h"

#include "channels/channel_changes.h"

namespace n27::features {

ChooseResult ChooseSetting(FeatureContext &ctx, const Area &area, const Setting &setting,
                           const std::string &text) {
  if (!setting.choose) return ChooseResult::fail(ChooseStatus::Disabled);
  ChooseResult result;
  {
    EditStep undoStep(ctx.ws, n27::step::Setting(area.caption, setting.label));
    result = setting.choose(ctx, text);
  }
  ctx.channels.notifyPlanChanged();
  return result;
}

}  // namespace n27::features
