#include "app/caption.h"

#include "base/messages.h"

namespace n27 {

std::string FileNameOnly(const std::string &path) {
  auto cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string MainCaption(CaptionForm form, const CaptionParts &parts, int language) {
  const std::string fileLabel =
      std::string("[") + msg::kFileName.at(language) + ":" + FileNameOnly(parts.fileName) + "]";
  if (form == CaptionForm::New) return "N27" + fileLabel;
  std::string caption = "N27[" + parts.modelFamily + ":" + parts.bandText + "]" + fileLabel;
  if (form == CaptionForm::Read) caption += " Ver:" + parts.firmware;
  return caption;
}

std::string StatusBandText(const std::string &bandText) { return "[N27 " + bandText + "]"; }

std::string StatusPortText(int port, int language) {
  return std::string(msg::kComLabel.at(language)) + std::to_string(port);
}

}  // namespace n27
