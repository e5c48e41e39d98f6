#include "link/test_data.h"

#include <cerrno>
#include <filesystem>

#include "base/bytes.h"
#include "base/messages.h"

namespace n27::link {

namespace {

constexpr Tr kOriginPrefix{"Tuning values: ", "调谐数据："};
constexpr Tr kOriginNone{"none read, loaded or typed (all 0)", "未读取、未加载、未输入（全为 0）"};
constexpr Tr kOriginTyped{"typed in this window", "在本窗口中输入"};
constexpr Tr kOriginRadio{"read from the radio", "从对讲机读取"};
constexpr Tr kOriginFile{"loaded from ", "加载自 "};
constexpr Tr kOriginEdited{", then edited", "，之后已修改"};

constexpr Tr kUnknownTuning{
    "No tuning values were read from a radio, loaded from a \".ted\" file or typed in Test "
    "Data Information. A write now sends a tuning block of zeros and replaces the radio's "
    "factory calibration.",
    "调谐数据尚未从对讲机读取、从“.ted”文件加载或在测试数据信息中输入。现在写入将发送全 0 "
    "的调谐数据并覆盖对讲机的出厂校准值。"};
constexpr Tr kUnknownTuningQuestion{"Write the zero tuning block anyway?",
                                    "仍要写入全 0 的调谐数据吗？"};

}  // namespace

int TestDataMaxLength(int field) { return field == 8 ? 4 : 3; }

bool IsTwoByteEntry(int field) { return field == 3 || field == 8; }

char TestDataTypedChar(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return c;
  if (c >= 'a' && c <= 'f') return static_cast<char>(c - 'a' + 'A');
  return 0;
}

std::string TestDataHex(int16_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  unsigned v = static_cast<uint16_t>(value);
  std::string s;
  do {
    s.insert(s.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v);
  return s;
}

int16_t ClampTestDataValue(int field, const std::string &text) {
  // The leading hexadecimal digits; none at all is not a number.
  long value = 0;
  std::size_t digits = 0;
  for (char c : text) {
    int d = HexDigitValue(c);
    if (d < 0) break;
    if (value < 0x100000) value = value * 16 + d;  // anything this large clamps the same
    ++digits;
  }
  if (digits == 0) return 0;
  // Up to four digits make a signed 16-bit number: 8000..FFFF are negative.
  if (digits <= 4 && value >= 0x8000) return 0;
  if (value < 256) return static_cast<int16_t>(value);
  if (IsTwoByteEntry(field)) return static_cast<int16_t>(value > kTwoByteEntryMax ? kTwoByteEntryMax : value);
  return 255;
}

std::string ClampTestDataText(int field, const std::string &text) {
  return TestDataHex(ClampTestDataValue(field, text));
}

// ---------------------------------------------------------------------------------------

TestDataForm::TestDataForm(const TuningTable &table, const TuningOrigin &origin)
    : table_(table), origin_(origin) {
  show();
}

void TestDataForm::show() {
  for (int i = 0; i < kTestDataFields; ++i)
    texts_[static_cast<std::size_t>(i)] = ClampTestDataText(i, TestDataHex(table_[static_cast<std::size_t>(i)]));
}

void TestDataForm::take() {
  for (int i = 0; i < kTestDataFields; ++i)
    table_[static_cast<std::size_t>(i)] = ClampTestDataValue(i, texts_[static_cast<std::size_t>(i)]);
}

std::string TestDataForm::change(int field, const std::string &text) {
  if (field < 0 || field >= kTestDataFields) return text;
  std::string &shown = texts_[static_cast<std::size_t>(field)];
  std::string clamped = ClampTestDataText(field, text);
  if (ClampTestDataValue(field, clamped) != ClampTestDataValue(field, shown)) origin_.edited = true;
  shown = clamped;
  return shown;
}

bool TestDataForm::load(const std::string &path, std::string &problem) {
  problem.clear();
  // The file is checked before it is opened: a FIFO or a huge file is never read.
  std::string reason = TuningFileReadProblem(path);
  TuningTable table{};
  if (!reason.empty() || !ReadTuningFile(path, table)) {
    if (reason.empty()) reason = TuningFileReadProblem(path);  // it changed meanwhile
    problem = FileErrorWithReason(reason);
    return false;
  }
  // A value the fields would not take is not shown clamped and then sent as it stands.
  if (std::string bad = TuningTableProblem(table); !bad.empty()) {
    problem = FileErrorWithReason(bad);
    return false;
  }
  table_ = table;
  origin_ = {TuningSource::File, path, false};
  show();
  return true;
}

bool TestDataForm::save(const std::string &path, std::string &problem) {
  problem.clear();
  take();
  errno = 0;
  if (!WriteTuningFile(path, table_)) {
    problem = FileErrorWithReason(TuningFileWriteProblem(path, errno));
    return false;
  }
  return true;
}

void TestDataForm::accept(Workspace &ws) {
  take();
  ws.tuning = table_;
  ws.tuningOrigin = origin_;
}

// ---------------------------------------------------------------------------------------

std::string TuningOriginText(const TuningOrigin &origin) {
  std::string s = Text(kOriginPrefix);
  switch (origin.source) {
    case TuningSource::None:
      s += Text(origin.edited ? kOriginTyped : kOriginNone);
      return s;
    case TuningSource::Radio: s += Text(kOriginRadio); break;
    case TuningSource::File:
      s += Text(kOriginFile);
      s += std::filesystem::path(origin.file).filename().string();
      break;
  }
  if (origin.edited) s += Text(kOriginEdited);
  return s;
}

bool TuningWriteNeedsConfirmation(const Workspace &ws) {
  return ws.testMode && !ws.tuningOrigin.known();
}

std::string UnknownTuningWarning(bool asQuestion) {
  std::string s = Text(kUnknownTuning);
  if (asQuestion) s += std::string("\n") + Text(kUnknownTuningQuestion);
  return s;
}

bool ParseTuningSetting(const std::string &arg, int &index, std::string &text, std::string &error) {
  auto eq = arg.find('=');
  if (eq == std::string::npos || eq == 0) {
    error = "\"" + arg + "\" is not INDEX=HEX";
    return false;
  }
  const std::string key = arg.substr(0, eq);
  index = -1;
  if (key.size() <= 2 && key.find_first_not_of("0123456789") == std::string::npos)
    index = std::stoi(key);
  if (index < 0 || index >= kTestDataFields) {
    error = "\"" + key + "\": the index is a number from 0 to 13 (entries 14 and 15 are not "
            "in the radio's tuning block)";
    return false;
  }
  text.clear();
  for (char c : arg.substr(eq + 1)) {
    char t = TestDataTypedChar(c);
    if (!t) {
      error = "entry " + key + ": \"" + arg.substr(eq + 1) + "\" is not hexadecimal (0-9, A-F)";
      return false;
    }
    text += t;
  }
  if (text.empty() || static_cast<int>(text.size()) > TestDataMaxLength(index)) {
    error = "entry " + key + " takes 1 to " + std::to_string(TestDataMaxLength(index)) +
            " hexadecimal digits";
    return false;
  }
  return true;
}

std::string FileErrorWithReason(const std::string &reason) {
  std::string s = Text(msg::kFileError);
  if (!reason.empty()) s += "\n" + reason;
  return s;
}

std::string TestDataFileFilter() { return std::string(Text(testDataText::kFilterLabel)) + " (*.ted)"; }

}  // namespace n27::link
