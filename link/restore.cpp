#include "link/restore.h"

#include <cstdio>

#include "base/file_io.h"
#include "base/language.h"
#include "base/messages.h"
#include "codeplug/bands.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"

namespace n27 {

namespace {

constexpr Tr kWrongSize{"%1: an image holds 2560 or 2561 bytes; this file holds %2.",
                        "%1：映像文件应为 2560 或 2561 字节；此文件为 %2 字节。"};
constexpr Tr kUnreadable{"%1 cannot be read: %2", "无法读取 %1：%2"};
constexpr Tr kImageOtherModel{"%1 is not an image of this radio model (its model record says \"%2\").",
                         "%1 不是本机型的映像（其机型记录为“%2”）。"};
constexpr Tr kBandNotKnown{"%1 holds an unknown band code %2 (image byte 422).",
                          "%1 中的频段代码 %2 未知（映像字节 422）。"};
constexpr Tr kNoChannel{"%1 holds no channel; there is nothing to restore.",
                        "%1 中没有任何信道，无法恢复。"};
constexpr Tr kTestMode{
    "A restore is not possible in the factory test mode: an image does not hold the radio's "
    "tuning values, and the write would replace them.",
    "工厂测试模式下无法恢复：映像不包含对讲机的调试数据，写入会将其覆盖。"};


}  // namespace

std::optional<std::string> PrepareRestore(Workspace &ws, const std::string &imagePath) {
  if (ws.testMode) return kTestMode.str();
  ReadResult read = ReadWholeFile(imagePath, RadioImage::kSize);
  if (read.outcome.problem == FileProblem::TooLarge)
    return Fill(kWrongSize, {imagePath, std::to_string(read.outcome.actualSize)});
  if (!read.bytes) return Fill(kUnreadable, {imagePath, read.outcome.reason()});
  const std::string &bytes = *read.bytes;
  if (bytes.size() != mem::kTransferEnd && bytes.size() != RadioImage::kSize)
    return Fill(kWrongSize, {imagePath, std::to_string(bytes.size())});

  Workspace scratch;
  scratch.programFolder = ws.programFolder;
  scratch.loadDefaultFile = false;
  // Byte 2560 is never sent; a 2560-byte image leaves it at FF like an erased radio.
  scratch.image.fill(0, mem::kImageSize - 1, 0xFF);
  for (std::size_t a = 0; a < bytes.size(); ++a) scratch.image.set(a, static_cast<uint8_t>(bytes[a]));

  std::string model;
  for (std::size_t i = 0; i < mem::kModelNameLength; ++i) {
    const uint8_t b = scratch.image.at(mem::kModelName + i);
    if (b == 0x00 || b == 0xFF) break;
    model.push_back(static_cast<char>(b >= 0x20 && b < 0x7F ? b : '?'));
  }
  if (model != kModelCode) return Fill(kImageOtherModel, {imagePath, model});
  const int band = scratch.image.at(mem::kBandCode);
  if (band != 0 && band != 1) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%02X", band);
    return Fill(kBandNotKnown, {imagePath, code});
  }
  scratch.loadingFile = true;
  DecodeImage(scratch);  // the channels the image holds, and its model record
  scratch.loadingFile = false;
  if (scratch.working.channelCount <= 0) return Fill(kNoChannel, {imagePath});

  ws.image = scratch.image;
  ws.working.modelName = scratch.working.modelName;
  ws.working.bandCode = scratch.working.bandCode;
  DecodeModelRecord(ws);
  return std::nullopt;
}

}  // namespace n27
