#include "codeplug/tuning_file.h"

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/bytes.h"

namespace n27 {

std::string TuningFilePath(const std::string &dataPath) {
  if (dataPath.size() <= 3) return {};
  return dataPath.substr(0, dataPath.size() - 4) + ".ted";
}

bool ReadTuningFile(const std::string &path, TuningTable &table) {
  if (path.empty()) return false;
  auto bytes = ReadWholeFile(path, kTuningFileSize).bytes;
  if (!bytes || bytes->size() != kTuningFileSize) return false;
  const auto *p = reinterpret_cast<const uint8_t *>(bytes->data());
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(get16le(p + 2 * i));
  return true;
}

bool WriteTuningFile(const std::string &path, const TuningTable &table) {
  if (path.empty()) return false;
  std::string bytes(kTuningFileSize, '\0');
  auto *p = reinterpret_cast<uint8_t *>(bytes.data());
  for (std::size_t i = 0; i < table.size(); ++i) put16le(p + 2 * i, static_cast<uint16_t>(table[i]));
  return WriteFileAtomically(path, bytes);
}

}  // namespace n27
