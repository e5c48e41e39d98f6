#pragma once
// The rules of the test data window (FrmTestData) and of `n27-cli tuning`: how the factory
// tuning values are shown and typed, clamped, loaded from and saved to ".ted" files, and when
// a test-mode write must ask before it sends them.
//
// The window shows entries 0..13 in hexadecimal without leading zeros; entries 3 and 8 take
// two bytes in the radio's block (up to 400 hex), the others one byte (up to FF).

#include <array>
#include <cstdint>
#include <string>

#include "base/language.h"
#include "codeplug/tuning_file.h"
#include "codeplug/workspace.h"

namespace n27::link {

// The fields of the window: entries 0..13 (14 and 15 are not in the radio's block).
inline constexpr int kTestDataFields = 14;
// The largest value of the two-byte entries 3 and 8.
inline constexpr int kTwoByteEntryMax = 0x400;

// Characters a field accepts: 3, field 8: 4.
int TestDataMaxLength(int field);
// Entries 3 and 8 take two bytes in the block.
bool IsTwoByteEntry(int field);
// A typed character as the field takes it: 0-9 and A-F, a-f as A-F; 0 for anything else.
char TestDataTypedChar(char c);
// The 16-bit value in hexadecimal, upper case, without leading zeros ("0" for 0); a negative
// value shows as its 16-bit pattern ("FFFB").
std::string TestDataHex(int16_t value);
// The value a field's text stands for after the window's clamping: read as a hexadecimal
// number (not a number → 0; up to four digits form a signed 16-bit value, a negative one → 0);
// below 256 it stays; 256 or more → up to 400 hex for entries 3 and 8 (higher → 400), FF
// for the others.
int16_t ClampTestDataValue(int field, const std::string &text);
// The text a field shows after a change: the clamped value in hexadecimal.
std::string ClampTestDataText(int field, const std::string &text);

// What the window holds: a private copy of the tuning table, the field texts and where the
// values came from. OK hands the copy back; Cancel simply drops the form.
class TestDataForm {
 public:
  TestDataForm(const TuningTable &table, const TuningOrigin &origin);

  const std::string &text(int field) const { return texts_[static_cast<std::size_t>(field)]; }
  // The user changed a field's text: returns what the field shows now (clamped). A change
  // that alters a value counts as typed.
  std::string change(int field, const std::string &text);

  // Load: the 32 bytes of a ".ted" file into the private copy, fields shown again. On failure
  // nothing changes and `problem` says why ("file error." and the reason on the next line);
  // a file holding a value the fields would not take is refused naming the entry.
  bool load(const std::string &path, std::string &problem);
  // Save: the fields into the private copy, then the 32 bytes to `path`. On failure the file
  // is left as it was and `problem` says why.
  bool save(const std::string &path, std::string &problem);
  // OK: fields 0..13 into the private copy (14 and 15 keep their values), then all 16
  // entries and where they came from into the workspace.
  void accept(Workspace &ws);

  const TuningTable &table() const { return table_; }
  const TuningOrigin &origin() const { return origin_; }

 private:
  void show();  // the private copy into the field texts, clamped
  void take();  // the field texts into entries 0..13 of the private copy

  TuningTable table_;
  TuningOrigin origin_;
  std::array<std::string, kTestDataFields> texts_;
};

// One line saying where the tuning values came from, in the current language ("Tuning
// values: read from the radio", "… loaded from radio.ted, then edited", "… none read,
// loaded or typed (all 0)").
std::string TuningOriginText(const TuningOrigin &origin);

// A test-mode write would send a tuning block nobody read, loaded or typed: it must ask first
// (the radio's factory calibration would be overwritten with zeros).
bool TuningWriteNeedsConfirmation(const Workspace &ws);
// The text for that case: with the question "Write the zero tuning block anyway?" (the
// desktop asks) or without (the command line refuses).
std::string UnknownTuningWarning(bool asQuestion = true);

// `n27-cli tuning`: one "INDEX=HEX" setting. Index 0..13, the text as the field would take
// it (hexadecimal digits, a-f allowed, at most the field's length). False with a message.
bool ParseTuningSetting(const std::string &arg, int &index, std::string &text, std::string &error);

// "file error." with the reason on the next line, in the current language.
std::string FileErrorWithReason(const std::string &reason);

// Texts of the window.
namespace testDataText {
inline constexpr Tr kCaption{"Test Data", "测试数据"};
inline constexpr Tr kLoad{"&Load", "加载(&L)"};
inline constexpr Tr kSave{"&Save", "保存(&S)"};
inline constexpr Tr kFilterLabel{"Test Data File", "测试数据文件"};
inline constexpr Tr kEntry{"Entry", "项"};
}  // namespace testDataText

// The file dialog filter: "Test Data File (*.ted)".
std::string TestDataFileFilter();

}  // namespace n27::link
