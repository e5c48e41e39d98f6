// Filled by the feature settings work.
#include "codeplug/image_codec.h"

namespace n27 {

void DecodeFeatureSettings(const RadioImage &, CodeplugData &) {}
void EncodeFeatureSettings(RadioImage &, const CodeplugData &) {}
void DecodeRadioInfoFlags(const RadioImage &, std::array<int16_t, 3> &) {}
void DecodeRadioInformation(const RadioImage &, RadioInformation &) {}

}  // namespace n27
