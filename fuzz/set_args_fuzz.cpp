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

using namespace n27;
using namespace n27::features;

namespace {

struct Input {
  const uint8_t *p;
  std::size_t n, i = 0;
  bool more() const { return i < n; }
  uint8_t byte() { return i < n ? p[i++] : 0; }
  std::string bytes(std::size_t count) {
    count = std::min(count, n - i);
    std::string s(reinterpret_cast<const char *>(p + i), count);
    i += count;
    return s;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Input in{data, size};
  SetLanguageIndex(in.byte() & 1 ? kChinese : kEnglish);
  Workspace ws;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ChannelContext channels(ws);
  for (int n : {1, 2, 5, 16, 17, 40, 128}) AddChannel(channels, 1, n, "446.00000");
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
