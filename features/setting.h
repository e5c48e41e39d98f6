#pragma once
// The presentation layer of the feature windows: one table of settings per window.
//
// Each setting knows its control (the window's objectName), its caption in both languages,
// how to build what its control shows from the configuration (`view`) and how to store the
// text a user chooses (`choose`). The windows only place a widget per setting and call these;
// the printout and `n27-cli show` / `n27-cli set` go through the same tables, so every rule
// ("a stored value outside the list shows the first entry", the revert list by priority mode,
// the Self ID check …) lives here once.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "codeplug/workspace.h"

namespace n27 {
class ChannelContext;
}

namespace n27::features {

enum class SettingKind { List, Check, Text };

// What one control shows.
struct SettingView {
  SettingKind kind = SettingKind::List;
  std::vector<std::string> entries;  // List: the entries in list order, current language
  int shown = -1;                    // List: the entry shown, -1 for none (an empty list)
  bool checked = false;              // Check
  std::string text;                  // Text: the box text
  int maxLength = 0;                 // Text: the most characters the box takes
  bool enabled = true;

  // The text the control shows: the entry, the language's "On"/"Off", or the box text.
  std::string shownText() const;
};

enum class ChooseStatus {
  Ok,
  NotOffered,  // the text is not an entry of the list (or not a check value)
  Invalid,     // a text the box refuses; `message` says why
  Disabled,    // the control is disabled
};

struct ChooseResult {
  ChooseStatus status = ChooseStatus::Ok;
  // For the user, in the current language (e.g. "Invalid Data"); may be set with Ok too.
  std::string message;
  bool ok() const { return status == ChooseStatus::Ok; }
  static ChooseResult fail(ChooseStatus s, std::string message = {}) { return {s, std::move(message)}; }
};

// What the settings work on. The GUI keeps one for the whole run beside its ChannelContext;
// the command line and the tests make their own.
struct FeatureContext {
  explicit FeatureContext(ChannelContext &channels);

  ChannelContext &channels;  // the band-extension box limits the channels' TX frequencies again
  Workspace &ws;             // channels.ws
  // Key codes were changed from outside the key window (the Alert Locked clean-up): an open
  // Key Setting window shows them again.
  std::function<void()> keysChanged;
};

struct Setting {
  std::string key;      // name inside its area for the command line, lower case ("tot")
  std::string control;  // objectName of the window's control ("Combo1_0")
  Tr label;             // caption beside the control
  SettingKind kind;
  std::function<SettingView(const Workspace &)> view;  // what the control shows
  // Stores what the user chose (a list entry, "On"/"Off", a box text). Empty: shown only.
  std::function<ChooseResult(FeatureContext &, const std::string &)> choose;
  bool printed = true;  // part of the printed section
  bool stored = true;   // kept in the configuration (false: held only while the program runs)
  // A cell of the window's grid (control "MSFlexGrid1"): row 1.., column 1..; 0 otherwise.
  int row = 0, column = 0;
  // For `set --list` when the choices depend on the configuration (channel lists).
  std::string choicesHint = {};
  // The text the control shows, worked out without building its list, for lists of thousands
  // of numbers that Compare and the printout would otherwise build for one entry. Empty: the
  // view's text.
  std::function<std::string(const Workspace &)> shown = {};

  std::string shownText(const Workspace &ws) const { return shown ? shown(ws) : view(ws).shownText(); }
};

struct Area {
  std::string key;      // "function"
  std::string window;   // "FrmOptFeatures"
  Tr caption;           // window caption
  std::vector<Setting> settings;
  Tr section = caption;  // title of the printed section (the print list's item name)

  const Setting *find(std::string_view key) const;  // case-insensitive; nullptr when absent
};

// The shared list texts.
inline constexpr Tr kOn{"On", "开"};
inline constexpr Tr kOff{"Off", "关"};

// ---- helpers for building the tables ----

// Entries in the current language.
std::vector<std::string> Texts(const std::vector<Tr> &list);
// "first", "first+step", … "last" as whole numbers.
std::vector<std::string> NumberList(int first, int last, int step = 1);
// Tenths "1.0", "1.5", … written with one decimal ("0.0" format), from first to last tenths.
std::vector<std::string> TenthsList(int firstTenths, int lastTenths, int stepTenths);

// The language's "Off" followed by the entries.
std::function<std::vector<std::string>()> OffThen(std::vector<std::string> rest);

// A list showing entry `index`, or the first entry when the index is outside the list.
SettingView ListView(std::vector<std::string> entries, int index);
SettingView CheckView(bool checked);
SettingView TextView(std::string text, int maxLength);

// The position of `text` in NumberList(first, last) (first >= 0): the number written as the list writes it;
// -1 for any other text.
int NumberEntry(std::string_view text, int first, int last);
// The position of `text` among `entries`: exact first, then ignoring case; -1 when absent.
int FindEntry(const std::vector<std::string> &entries, std::string_view text);
// A check box value typed by a user: On/Off in either language, 1/0, yes/no, true/false,
// ticked/unticked. Empty when it is none of these.
std::optional<bool> ParseCheck(std::string_view text);

// A 16-bit value of the configuration a setting shows and stores.
using Field = std::function<int16_t &(CodeplugData &)>;
// Reads a field for showing (the accessor only hands out the member; nothing is changed).
inline int16_t ReadField(const Field &field, const CodeplugData &data) {
  return field(const_cast<CodeplugData &>(data));
}

// A setting showing a fixed list; the index chosen is stored.
Setting IndexList(std::string key, std::string control, Tr label, std::function<std::vector<std::string>()> entries,
                  Field field);
// A check box stored as 1 (ticked) or 0.
Setting CheckBox(std::string key, std::string control, Tr label, Field field);

}  // namespace n27::features
