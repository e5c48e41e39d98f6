#include "history/history_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "codeplug/bands.h"

namespace n27::history {

namespace {

constexpr Tr kNoEntries{"No entries.", "没有记录。"};
constexpr Tr kPruned{"(pruned)", "（已清理）"};
constexpr Tr kNone{"(none)", "（无）"};
constexpr Tr kOk{"OK", "成功"};
constexpr Tr kFailed{"FAILED", "失败"};

struct Field {
  const char *key;
  std::string (*value)(const Entry &);
};

std::string bandOf(const Entry &e) { return e.band < 0 ? std::string() : BandText(e.band); }

const std::array<Field, 16> kFields{{
    {"id", [](const Entry &e) { return std::to_string(e.id); }},
    {"time", [](const Entry &e) { return IsoTimeText(e.time); }},
    {"operation", [](const Entry &e) { return std::string(OperationName(e.operation)); }},
    {"result", [](const Entry &e) { return std::string(e.ok ? "ok" : "failed"); }},
    {"reason", [](const Entry &e) { return e.reason; }},
    {"serial", [](const Entry &e) { return e.serial; }},
    {"model", [](const Entry &e) { return e.model; }},
    {"band", bandOf},
    {"firmware", [](const Entry &e) { return e.firmware; }},
    {"port", [](const Entry &e) { return e.port; }},
    {"file", [](const Entry &e) { return e.dataFile; }},
    {"backup", [](const Entry &e) { return e.stateBackup(); }},
    {"sha256", [](const Entry &e) { return e.sha256; }},
    {"user", [](const Entry &e) { return e.user; }},
    {"host", [](const Entry &e) { return e.host; }},
    {"customer", [](const Entry &e) { return e.customer; }},
}};

// The length of the UTF-8 sequence starting at text[i] when it is well formed, else 0.
std::size_t sequenceLength(const std::string &text, std::size_t i, uint32_t &code) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  code = n == 1 ? c : c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(i + k) & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kMin[n] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

// Terminal columns of a text: East Asian wide characters count two.
std::size_t columns(const std::string &text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    std::size_t n = sequenceLength(text, i, code);
    if (n == 0) n = 1, code = '?';
    const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                      (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                      (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                      (code >= 0xFFE0 && code <= 0xFFE6);
    width += wide ? 2 : 1;
    i += n;
  }
  return width;
}

std::string csvCell(std::string value) {
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

std::string jsonString(const std::string &value) {
  std::string out = "\"";
  for (std::size_t i = 0; i < value.size();) {
    uint32_t code = 0;
    const std::size_t n = sequenceLength(value, i, code);
    if (n == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      ++i;
      continue;
    }
    if (code == '"' || code == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(code));
    } else if (code < 0x20 || code == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
      out += escaped;
    } else {
      out.append(value, i, n);
    }
    i += n;
  }
  return out + "\"";
}

// One line of a table cell: line breaks and tabs become blanks.
std::string oneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  return text;
}

}  // namespace

std::string FormatTable(const std::vector<Entry> &entries) {
  if (entries.empty()) return std::string(kNoEntries.get()) + "\n";
  const std::array<Tr, 8> headers{Tr{"ID", "编号"},       Tr{"Time", "时间"},     Tr{"Operation", "操作"},
                                  Tr{"Result", "结果"},   Tr{"Serial", "序列号"}, Tr{"Customer", "客户"},
                                  Tr{"Port", "端口"},     Tr{"Reason", "原因"}};
  std::vector<std::array<std::string, 8>> rows;
  rows.reserve(entries.size() + 1);
  auto &head = rows.emplace_back();
  for (std::size_t c = 0; c < headers.size(); ++c) head[c] = headers[c].get();
  for (const Entry &e : entries)
    rows.push_back({std::to_string(e.id), LocalTimeText(e.time), OperationName(e.operation),
                    e.ok ? kOk.get() : kFailed.get(), oneLine(e.serial), oneLine(e.customer),
                    oneLine(e.port), oneLine(e.reason)});
  std::array<std::size_t, 8> width{};
  for (const auto &row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], columns(row[c]));
  std::string out;
  for (const auto &row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(width[c] - columns(row[c]) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}

std::string FormatCsv(const std::vector<Entry> &entries) {
  std::string out;
  for (std::size_t f = 0; f < kFields.size(); ++f) out += std::string(f ? "," : "") + kFields[f].key;
  out += "\r\n";
  for (const Entry &e : entries) {
    for (std::size_t f = 0; f < kFields.size(); ++f) out += (f ? "," : "") + csvCell(kFields[f].value(e));
    out += "\r\n";
  }
  return out;
}

std::string FormatJson(const std::vector<Entry> &entries) {
  std::string out = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out += i ? ",\n  {" : "\n  {";
    for (std::size_t f = 0; f < kFields.size(); ++f) {
      out += (f ? ", " : "") + jsonString(kFields[f].key) + ": ";
      out += f == 0 ? std::to_string(entries[i].id) : jsonString(kFields[f].value(entries[i]));
    }
    out += "}";
  }
  return out + (entries.empty() ? "]\n" : "\n]\n");
}

std::vector<std::string> RowHeaders() {
  std::vector<std::string> headers;
  for (const Tr &t : {Tr{"ID", "编号"}, Tr{"Time", "时间"}, Tr{"Operation", "操作"}, Tr{"Result", "结果"},
                      Tr{"Serial", "序列号"}, Tr{"Customer", "客户"}, Tr{"Port", "端口"}, Tr{"Backup", "备份"},
                      Tr{"Reason", "原因"}})
    headers.push_back(t.get());
  return headers;
}

std::vector<std::string> RowTexts(const Entry &e) {
  std::string backup = e.stateBackup();
  if (const auto slash = backup.rfind('/'); slash != std::string::npos) backup.erase(0, slash + 1);
  if (!backup.empty() && e.stateBackupPruned()) backup += std::string(" ") + kPruned.get();
  return {std::to_string(e.id), LocalTimeText(e.time), OperationText(e.operation), e.ok ? kOk.get() : kFailed.get(),
          oneLine(e.serial), oneLine(e.customer), oneLine(e.port), backup, oneLine(e.reason)};
}

std::string FormatDetails(const Entry &e) {
  const auto backup = [](const std::string &path, bool pruned) {
    if (path.empty()) return std::string(kNone.get());
    return pruned ? path + " " + kPruned.get() : path;
  };
  const std::pair<Tr, std::string> lines[] = {
      {Tr{"Entry", "记录"}, std::to_string(e.id)},
      {Tr{"Time", "时间"}, LocalTimeText(e.time)},
      {Tr{"Operation", "操作"}, OperationText(e.operation)},
      {Tr{"Result", "结果"}, e.ok ? kOk.get() : std::string(kFailed.get()) + (e.reason.empty() ? "" : ": " + e.reason)},
      {Tr{"Serial number", "序列号"}, e.serial},
      {Tr{"Model", "机型"}, e.model},
      {Tr{"Band", "频段"}, bandOf(e)},
      {Tr{"Firmware", "固件版本"}, e.firmware},
      {Tr{"Port", "端口"}, e.port},
      {Tr{"Data file", "数据文件"}, e.dataFile},
      {Tr{"Backup before", "写入前备份"}, backup(e.backupBefore, e.beforePruned)},
      {Tr{"Backup after", "写入后备份"}, backup(e.backupAfter, e.afterPruned)},
      {Tr{"SHA-256", "SHA-256"}, e.sha256},
      {Tr{"Customer", "客户"}, e.customer},
      {Tr{"Override reason", "强制写入原因"}, e.overrideReason},
      {Tr{"User", "用户"}, e.user + (e.host.empty() ? "" : " @ " + e.host)},
      {Tr{"Program version", "程序版本"}, e.programVersion},
  };
  std::string out;
  for (const auto &[label, value] : lines) out += std::string(label.get()) + ": " + value + "\n";
  return out;
}

}  // namespace n27::history
