#include "codeplug/tuning_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/bytes.h"
#include "base/language.h"

namespace n27 {

std::string TuningFilePath(const std::string &dataPath) {
  const auto slash = dataPath.find_last_of('/');
  const std::size_t nameLength = slash == std::string::npos ? dataPath.size() : dataPath.size() - slash - 1;
  if (nameLength <= 3) return {};
  return dataPath.substr(0, dataPath.size() - 4) + ".ted";
}

std::string TuningFileBytes(const TuningTable &table) {
  std::string bytes(kTuningFileSize, '\0');
  auto *p = reinterpret_cast<uint8_t *>(bytes.data());
  for (std::size_t i = 0; i < table.size(); ++i) put16le(p + 2 * i, static_cast<uint16_t>(table[i]));
  return bytes;
}

bool ParseTuningFile(const std::string &bytes, TuningTable &table) {
  if (bytes.size() != kTuningFileSize) return false;
  const auto *p = reinterpret_cast<const uint8_t *>(bytes.data());
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(get16le(p + 2 * i));
  return true;
}

bool ReadTuningFile(const std::string &path, TuningTable &table) {
  if (path.empty()) return false;
  auto bytes = ReadWholeFile(path, kTuningFileSize).bytes;
  return bytes && ParseTuningFile(*bytes, table);
}

bool WriteTuningFile(const std::string &path, const TuningTable &table) {
  return !path.empty() && WriteFileAtomically(path, TuningFileBytes(table));
}

namespace {

namespace fs = std::filesystem;

constexpr Tr kNoSuchFile{"No such file.", "文件不存在。"};
constexpr Tr kIsFolder{"This is a folder, not a file.", "这是一个文件夹，不是文件。"};
constexpr Tr kNotRegular{"This is not an ordinary file.", "这不是普通文件。"};
constexpr Tr kNoPermission{"Permission denied.", "没有访问权限。"};
constexpr Tr kWrongSize{"Wrong size: %1 bytes, a test data file holds 32.",
                        "大小错误：%1 字节，测试数据文件应为 32 字节。"};
constexpr Tr kNoFolder{"The folder does not exist.", "文件夹不存在。"};
constexpr Tr kReadOnly{"The file is read-only.", "文件为只读。"};
constexpr Tr kDiskFull{"The disk is full.", "磁盘已满。"};
constexpr Tr kNoName{"No file name.", "没有文件名。"};
constexpr Tr kEntryOutOfRange{"entry %1 holds %2 (hex); it takes 0 to %3",
                              "第 %1 项为 %2（十六进制）；其范围为 0 到 %3"};

std::string withNumber(const Tr &text, std::uintmax_t n) {
  std::string s = Text(text);
  auto at = s.find("%1");
  if (at != std::string::npos) s.replace(at, 2, std::to_string(n));
  return s;
}

}  // namespace

std::string TuningTableProblem(const TuningTable &table) {
  // Entries 0..13 are in the radio's block; 3 and 8 take two bytes there.
  for (int i = 0; i < 14; ++i) {
    const int value = table[static_cast<std::size_t>(i)];
    const int largest = (i == 3 || i == 8) ? 0x400 : 0xFF;
    if (value >= 0 && value <= largest) continue;
    char shown[16], range[8];
    std::snprintf(shown, sizeof shown, value < 0 ? "-%X" : "%X", static_cast<unsigned>(value < 0 ? -value : value));
    std::snprintf(range, sizeof range, "%X", static_cast<unsigned>(largest));
    return Fill(kEntryOutOfRange, {std::to_string(i), shown, range});
  }
  return {};
}

std::string TuningFileReadProblem(const std::string &path) {
  if (path.empty()) return Text(kNoName);
  std::error_code ec;
  auto st = fs::status(path, ec);
  if (ec || !fs::exists(st)) {
    if (ec && ec != std::errc::no_such_file_or_directory) return Text(kNoPermission);
    return Text(kNoSuchFile);
  }
  if (fs::is_directory(st)) return Text(kIsFolder);
  if (!fs::is_regular_file(st)) return Text(kNotRegular);
  if (::access(path.c_str(), R_OK) != 0) return Text(kNoPermission);
  auto size = fs::file_size(path, ec);
  if (ec) return Text(kNoPermission);
  if (size != kTuningFileSize) return withNumber(kWrongSize, size);
  return {};
}

std::string TuningFileWriteProblem(const std::string &path, int error) {
  if (path.empty()) return Text(kNoName);
  std::error_code ec;
  fs::path p(path);
  fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return Text(kNoFolder);
  if (fs::is_directory(p, ec)) return Text(kIsFolder);
  if (fs::exists(p, ec) && ::access(path.c_str(), W_OK) != 0) return Text(kReadOnly);
  if (::access(folder.c_str(), W_OK) != 0 || error == EACCES || error == EPERM)
    return Text(kNoPermission);
  if (error == ENOSPC || error == EDQUOT) return Text(kDiskFull);
  if (error == EROFS) return Text(kReadOnly);
  return error ? std::string(std::strerror(error)) : std::string();
}

}  // namespace n27
