#include "link/transfer_session.h"

#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"

namespace n27 {

void PrepareRead(Workspace &ws) { ws.image.fill(0, mem::kFillEnd, 0xFF); }

bool WriteAllowed(const Workspace &ws) { return ws.working.channelCount > 0; }

void PrepareWrite(Workspace &ws) {
  ws.image.fill(0, mem::kFillEnd, 0xFF);
  EncodeImage(ws);
}

void PrepareRadioInformationRead(Workspace &ws) { ws.image.fill(0, mem::kFillEnd, 0xFF); }

void CompleteRead(Workspace &ws, const link::Identification &radio) {
  if (radio.raw.size() == link::kIdentReplyLength) {
    for (std::size_t i = 0; i < mem::kModelNameLength; ++i)
      ws.image.set(mem::kModelName + i, radio.raw[1 + i]);
    ws.image.set(mem::kBandCode, static_cast<uint8_t>(radio.band));
  }
  ws.history.documentReplaced();  // a read starts a new history
  ws.loadingFile = true;
  DecodeImage(ws);
  ws.loadingFile = false;
  ws.firmwareVersion = radio.firmware;
  ws.fileName = "new.dat";
  ws.untitled = true;
}

void CompleteRadioInformationRead(Workspace &ws) { DecodeRadioInformation(ws.image, ws.radioInfo); }

}  // namespace n27
