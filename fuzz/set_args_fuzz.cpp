// The arguments of `n27-cli set` fed arbitrary names and values (and the values each
// setting lists), applied one after another as the command applies them. A refused value
// changes nothing; an accepted one leaves a configuration the data file keeps, and choosing
// what the control shows afterwards changes nothing more.
//
// Input: per setting, [how][name or pick][value length][value …] …

#include <cstdint>
#include <string>

#include "base/language.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "features/feature_areas.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_workspace.h"

using namespace n27;
using namespace n27::features;

namespace {

Workspace Start() {
  return fuzz::NewWorkspace({{1, "446.00000"}, {2, "446.00000"}, {5, "446.00000"}, {16, "446.00000"},
                             {17, "446.00000"}, {40, "446.00000"}, {128, "446.00000"}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz::Input in{data, size};
  // The configuration every input starts from, made once in each language.
  static const Workspace start[2] = {[] {
                                       SetLanguageIndex(kEnglish);
                                       return Start();
                                     }(),
                                     [] {
                                       SetLanguageIndex(kChinese);
                                       return Start();
                                     }()};
  const bool chinese = in.byte() & 1;
  SetLanguageIndex(chinese ? kChinese : kEnglish);
  Workspace ws = start[chinese];
  ChannelContext channels(ws);
  FeatureContext ctx(channels);

  for (int settings = 0; settings < 8 && in.more(); ++settings) {
    const uint8_t how = in.byte();
    SettingRef ref;
    if (how & 1) {
      ref = FindSetting(in.bytes(in.byte() % 24));
      if (!ref.setting) continue;
    } else {
      const auto &areas = FeatureAreas();
      ref.area = areas[in.byte() % areas.size()];
      if (ref.area->settings.empty()) continue;
      ref.setting = &ref.area->settings[in.byte() % ref.area->settings.size()];
    }
    FUZZ_CHECK(FindSetting(ref.area->key + "." + ref.setting->key).setting == ref.setting);
    const Setting &s = *ref.setting;
    if (!s.choose || !s.stored) continue;
    std::string value = in.bytes(in.byte() % 40);
    if ((how & 6) == 2) {
      const SettingView shown = s.view(ws);
      if (!shown.entries.empty()) value = shown.entries[in.byte() % shown.entries.size()];
    }
    if ((how & 6) == 4) value = (how & 8) ? kOn.get() : kOff.get();

    const CodeplugData before = ws.working;
    const ChooseResult r = s.choose(ctx, value);
    if (!r.ok()) {
      FUZZ_CHECK(ws.working == before);
      continue;
    }
    CodeplugData back;
    FUZZ_CHECK(ParseDataFile(SerializeDataFile(ws.working), back) && back == ws.working);
    // What the control shows now, chosen again, is accepted and changes nothing.
    const CodeplugData chosen = ws.working;
    const SettingView after = s.view(ws);
    const std::string now = after.shownText();
    FUZZ_CHECK(s.shownText(ws) == now);
    if (after.enabled) {
      FUZZ_CHECK(s.choose(ctx, now).ok());
      FUZZ_CHECK(ws.working == chosen);
    }
  }
  return 0;
}
