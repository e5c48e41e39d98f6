#include "history/kept_configuration.h"

#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"

namespace n27::history {

void DecodeKeptImage(Workspace &ws, const RadioImage &image) {
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ws.image = image;
  DecodeImage(ws);
  ws.untitled = true;
}

}  // namespace n27::history
