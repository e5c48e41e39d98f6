#include "codeplug/tuning_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/bytes.h"
#include "base/language.h"

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

std::string withNumber(const Tr &text, std::uintmax_t n) {
  std::string s = Text(text);
  auto at = s.find("%1");
  if (at != std::string::npos) s.replace(at, 2, std::to_string(n));
  return s;
}

}  // namespace

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
