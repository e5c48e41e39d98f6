#include "link/group_write.h"

#include <filesystem>

#include "base/file_io.h"
#include "base/language.h"
#include "base/paths.h"

namespace n27 {

namespace {

constexpr Tr kProgress{"%1 written, %2 failed. Connect the next radio.",
                       "已写入 %1，失败 %2 台。请连接下一台对讲机。"};
constexpr Tr kOneRadio{"1 radio", "1 台对讲机"};
constexpr Tr kRadios{"%1 radios", "%1 台对讲机"};
constexpr Tr kPrompt{"Press Enter for the next radio, q to finish",
                     "按 Enter 键写入下一台对讲机，按 q 结束"};
constexpr Tr kGroupDone{"Written and verified.", "已写入并校验。"};
constexpr Tr kSaved{"The group log was saved to %1.", "批量写入日志已保存到 %1。"};
constexpr Tr kNotSaved{"The group log could not be saved to %1: %2",
                       "无法将批量写入日志保存到 %1：%2"};
constexpr Tr kRunNotSaved{"The log could not be saved to %1: %2", "无法将日志保存到 %1：%2"};
constexpr Tr kTotals{"Radios: %1, written: %2, failed: %3.", "对讲机：%1 台，已写入：%2 台，失败：%3 台。"};
constexpr Tr kNoSerial{"(no serial number)", "（无序列号）"};


std::string localTime(std::time_t t, const char *format) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

}  // namespace

std::string LocalTimeText(std::time_t t) { return localTime(t, "%Y-%m-%d %H:%M:%S"); }

std::string CsvField(std::string value) {
  if (!value.empty() && (value[0] == '=' || value[0] == '+' || value[0] == '-' || value[0] == '@'))
    value.insert(value.begin(), '\'');
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

std::string GroupLogCsv(const std::vector<GroupWriteEntry> &entries) {
  std::string csv = "Number,Serial,Time,Result,Detail\r\n";
  for (const GroupWriteEntry &e : entries) {
    csv += std::to_string(e.number) + "," + CsvField(e.serial) + "," +
           localTime(e.time, "%Y-%m-%d %H:%M:%S") + "," + (e.success ? "OK" : "FAILED") + "," +
           CsvField(e.result) + "\r\n";
  }
  return csv;
}

std::string GroupLogText(const std::vector<GroupWriteEntry> &entries) {
  std::string text;
  int written = 0;
  for (const GroupWriteEntry &e : entries) {
    if (e.success) ++written;
    std::string line = std::to_string(e.number) + "  " + localTime(e.time, "%Y-%m-%d %H:%M:%S") +
                       "  " + (e.serial.empty() ? kNoSerial.str() : e.serial) + "  " +
                       (e.success ? "OK" : "FAILED") + "  " + e.result;
    // One line per radio: a reason that runs over several lines is joined.
    for (char &c : line)
      if (c == '\n' || c == '\r') c = ' ';
    text += line + "\n";
  }
  const int total = static_cast<int>(entries.size());
  return text + Fill(kTotals, {std::to_string(total), std::to_string(written),
                               std::to_string(total - written)}) + "\n";
}

std::string GroupLogPath(const std::string &dataFile, std::time_t start) {
  return RunLogPath(dataFile, start, "group");
}

std::string RunLogPath(const std::string &dataFile, std::time_t start, const std::string &kind,
                       const std::string &extension) {
  std::string folder, stem = "new";
  if (dataFile.empty()) {
    folder = DataDir();
  } else {
    const auto slash = dataFile.rfind('/');
    folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : dataFile.substr(0, slash));
    std::string name = slash == std::string::npos ? dataFile : dataFile.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    if (!name.empty()) stem = name;
  }
  return JoinPath(folder, stem + "-" + kind + "-" + localTime(start, "%Y%m%d-%H%M%S") + extension);
}

std::string GroupProgressText(int written, int failed) {
  const std::string radios =
      written == 1 ? kOneRadio.str() : Fill(kRadios, {std::to_string(written)});
  return Fill(kProgress, {radios, std::to_string(failed)});
}

std::string GroupNextPrompt() { return kPrompt.str(); }
std::string GroupRadioDoneText() { return kGroupDone.str(); }
std::string GroupLogSavedMessage(const std::string &path) { return Fill(kSaved, {path}); }
std::string GroupLogNotSavedMessage(const std::string &path, const std::string &reason) {
  return Fill(kNotSaved, {path, reason});
}

GroupLogSave SaveGroupLog(const std::vector<GroupWriteEntry> &entries, const std::string &dataFile,
                          std::time_t start) {
  return SaveRunLog(GroupLogCsv(entries), dataFile, start, "group");
}

GroupLogSave SaveRunLog(const std::string &csv, const std::string &dataFile, std::time_t start,
                        const std::string &kind) {
  GroupLogSave result;
  std::vector<std::string> places{RunLogPath(dataFile, start, kind)};
  if (!dataFile.empty()) places.push_back(RunLogPath("", start, kind));
  for (const std::string &path : places) {
    // The user's data folder may not exist yet; the data file's folder is never made.
    std::error_code ec;
    if (&path != &places.front() || dataFile.empty())
      std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FileOutcome saved = SaveFile(path, csv);
    if (saved.ok()) {
      result.ok = true;
      result.path = path;
      return result;
    }
    result.problems.push_back(kind == "group" ? GroupLogNotSavedMessage(path, saved.reason())
                                              : Fill(kRunNotSaved, {path, saved.reason()}));
  }
  return result;
}

}  // namespace n27
