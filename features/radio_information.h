#pragma once
// Radio information (FrmEMG): the radio's identity and service record, shown only.

#include <string>
#include <vector>

#include "features/setting.h"

namespace n27::features {

// The band box: the band list with the entry at the stored code; a code without an entry
// shows the first entry.
SettingView RadioBandView(int bandCode);

const Area &RadioInformationArea();

}  // namespace n27::features
