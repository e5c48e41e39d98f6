#include "channels/channel_window_texts.h"

namespace n27::chtext {

std::string GridCaption(int row) {
  return std::string(kGridCaption.get()) + " " + std::to_string(row) + "]";
}

std::string BatchDoneText(int channels) {
  if (LanguageIndex() == kChinese) return "已设定 " + std::to_string(channels) + " 个信道。";
  return std::to_string(channels) + (channels == 1 ? " channel set." : " channels set.");
}

}  // namespace n27::chtext
