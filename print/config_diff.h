#pragma once
// Two configurations side by side: what differs, channel by channel and field by field (by
// the captions of the channel detail dialog) and setting by setting (by the captions of the
// feature windows), in the current language. The command line's `diff` and the Compare
// window show the same list.

#include <string>
#include <vector>

#include "base/language.h"
#include "codeplug/workspace.h"

namespace n27::print {

struct Difference {
  std::string section;  // "Channel 5", "Function Setup", "Model"
  std::string item;     // field or setting caption; empty: the channel exists on one side only
  std::string first;    // what the first configuration shows ("" when it has no such channel)
  std::string second;
  int channel = 0;      // the channel number for a channel difference, else 0
};

enum class CompareScope {
  Everything,   // every value a data file keeps
  RadioMemory,  // only what the radio's memory holds: both sides are first encoded into a radio
                // image and decoded back, as a write and a read would (use it when one side is
                // a radio or an image: values only a data file keeps are no difference then)
};

// Every difference, channels first (ascending), then the band, then the feature windows'
// settings in window order. Only what a user sees counts: hidden bookkeeping words of a
// channel and the slot order of the channel table do not.
std::vector<Difference> CompareConfigurations(const Workspace &first, const Workspace &second,
                                              CompareScope scope = CompareScope::Everything);

// A configuration to compare: a data file (9759 bytes, with its side file) or a raw radio
// image (2560 or 2561 bytes, decoded as a read would; `isImage` is then set). The
// `ws.programFolder` should be set. False with the reason (current language) when the file is
// neither.
bool LoadComparable(Workspace &ws, const std::string &path, std::string &error, bool *isImage = nullptr);

// The list as text, one difference per line, then a count line:
//   Channel 3: TX Power: High → Low
//   Channel 9: only in the first (462.56250 MHz)
std::string DifferencesText(const std::vector<Difference> &diffs, const std::string &firstName,
                            const std::string &secondName);

namespace difftext {
inline constexpr Tr kCompareMenu{"Co&mpare With...", "比较(&M)..."};
inline constexpr Tr kCompareTitle{"Compare", "比较"};
inline constexpr Tr kFilter{"Data File or Radio Image (*.dat *.img *.bin);;All Files (*)",
                            "数据文件或对讲机映像 (*.dat *.img *.bin);;所有文件 (*)"};
inline constexpr Tr kSection{"Where", "位置"};
inline constexpr Tr kItem{"Item", "项目"};
inline constexpr Tr kOpenConfiguration{"Open configuration", "当前配置"};
inline constexpr Tr kRadio{"Radio", "对讲机"};
inline constexpr Tr kNoChannel{"(no channel)", "（无信道）"};
inline constexpr Tr kChannel{"Channel", "信道"};
inline constexpr Tr kModel{"Model", "机型"};
inline constexpr Tr kBand{"Band", "频段"};
inline constexpr Tr kEqual{"No differences.", "没有差异。"};
inline constexpr Tr kCount{"Differences: %1.", "差异：%1 处。"};
inline constexpr Tr kOnlyIn{"only in %1", "仅在 %1 中"};
inline constexpr Tr kNotConfiguration{
    "%1 is neither a data file (9759 bytes) nor a radio image (2560 or 2561 bytes).",
    "%1 既不是数据文件（9759 字节），也不是对讲机映像（2560 或 2561 字节）。"};
inline constexpr Tr kUnreadable{"%1 cannot be read.", "无法读取 %1。"};
inline constexpr Tr kNotRegular{"%1 is not a regular file.", "%1 不是普通文件。"};
inline constexpr Tr kRadioScope{"Only what the radio's memory holds is compared.",
                                 "仅比较对讲机存储器中保存的内容。"};
inline constexpr Tr kCompareRadio{"Compare with &Radio", "与对讲机比较(&R)"};
inline constexpr Tr kCompareFile{"Compare with &File...", "与文件比较(&F)..."};
}  // namespace difftext

}  // namespace n27::print
