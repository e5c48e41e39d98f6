#include "link/verify.h"

#include <cstdio>

#include "base/language.h"
#include "codeplug/memory_map.h"
#include "link/frames.h"
#include "link/tuning_block.h"

namespace n27 {

namespace {

constexpr Tr kVerifyMismatch{
    "Verify failed: the radio holds different data at address %1 than was written to it. "
    "The write did not succeed; write the radio again.",
    "校验失败：对讲机在地址 %1 处保存的数据与写入的数据不同。写入未成功，请重新写入对讲机。"};
constexpr Tr kVerified{"Verified: the radio holds the data written to it.",
                       "校验通过：对讲机保存的数据与写入的数据相同。"};

bool inTuningBlock(int address) {
  return address >= static_cast<int>(mem::kTuningBlock) &&
         address < static_cast<int>(mem::kTuningBlock + mem::kBlockLength);
}

}  // namespace

bool IsWrittenImageAddress(int address) {
  if (address < 0 || address >= static_cast<int>(mem::kTransferEnd)) return false;
  return address < static_cast<int>(mem::kWriteSkipFrom) ||
         address >= static_cast<int>(mem::kWriteSkipTo);
}

bool IsWrittenAddress(int address, bool testMode) {
  return IsWrittenImageAddress(address) || (testMode && inTuningBlock(address));
}

std::optional<int> FirstWriteDifference(const RadioImage &sent, const RadioImage &readBack,
                                        bool testMode) {
  (void)testMode;  // the tuning block is not carried by the image
  for (int a = 0; a < static_cast<int>(mem::kTransferEnd); ++a)
    if (IsWrittenImageAddress(a) && sent.at(a) != readBack.at(a)) return a;
  return std::nullopt;
}

std::optional<int> FirstWriteDifference(const Workspace &sent, const Workspace &readBack) {
  if (sent.testMode) {
    // Compare the data bytes of the tuning frame each table makes: what the radio stores.
    const link::Bytes a = link::EncodeTuningBlock(sent.tuning).bytes;
    const link::Bytes b = link::EncodeTuningBlock(readBack.tuning).bytes;
    for (std::size_t i = 0; i < mem::kBlockLength; ++i) {
      const std::size_t at = link::kFrameDataOffset + i;
      if (at < a.size() && at < b.size() && a[at] != b[at])
        return static_cast<int>(mem::kTuningBlock + i);
    }
  }
  return FirstWriteDifference(sent.image, readBack.image, sent.testMode);
}

std::string VerifyFailedMessage(int address) {
  char where[32];
  std::snprintf(where, sizeof where, "0x%04X (%d)", address, address);
  return Fill(kVerifyMismatch, {where});
}

std::string VerifiedMessage() { return kVerified.str(); }

}  // namespace n27
