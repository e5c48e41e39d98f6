#pragma once
// The printed report: the parts of the configuration a user ticks in the print list, laid out
// as pages of label/value rows. The texts are the ones the editor windows show (the feature
// settings tables and the channel field codec), in the current language.
//
// The report holds no positions; the painter places the pairs of a row at fixed fractions of
// the page width (settings pages 5/35/55/75 %, channel pages 10/30/55/75 %).

#include <array>
#include <string>
#include <vector>

#include "base/language.h"

namespace n27 {
class ChannelContext;
}

namespace n27::print {

// The print items in printing order.
enum class PrintItem { Channel, FunctionSetup, KeySetting, Scan, Dtmf, EmbeddedMessage, LocalMessage };
inline constexpr int kPrintItemCount = 7;

struct PrintItemInfo {
  PrintItem item;
  int box;      // index of the print list's check box Check1(box)
  Tr caption;   // the check box caption
};
// In printing order (the boxes are numbered differently: DTMF is Check1(6)).
extern const std::array<PrintItemInfo, kPrintItemCount> kPrintItems;

// Ticks by printing order (index = static_cast<int>(PrintItem)).
using PrintSelection = std::array<bool, kPrintItemCount>;

inline constexpr Tr kPrintListTitle{"Print List", "打印列表"};
inline constexpr Tr kSelectAll{"Select &All", "选择所有(&A)"};
inline constexpr Tr kClearAll{"&Clear All", "清除所有(&C)"};
inline constexpr Tr kSet{"&Set", "设置(&S)"};
inline constexpr Tr kFileName{"File Name", "文件名"};
inline constexpr Tr kReportTitle{"N27 Radio Programming Information", "N27 对讲机编程信息"};
inline constexpr Tr kSelectItems{"Please select printing items.", "请选择打印项目。"};
inline constexpr Tr kNoChannels{"No channels.", "没有信道。"};

struct ReportPair {
  std::string label;
  std::string value;
};

// One printed line: a heading (a channel's name line) or one or two label/value pairs.
struct ReportRow {
  std::string heading;
  std::vector<ReportPair> pairs;  // at most two
};

enum class PageLayout { Settings, Channels };

// One page of a section: the report title, the section caption and its rows. A settings
// section is one page (the painter continues it on a further page should it not fit).
struct ReportPage {
  PrintItem item;
  PageLayout layout = PageLayout::Settings;
  std::string title;
  std::string caption;
  std::string fileName;  // name of the data file the configuration belongs to, no folder
  std::vector<ReportRow> rows;
};

struct Report {
  std::vector<ReportPage> pages;
};

inline constexpr int kChannelsPerPage = 8;

// Builds the pages of every ticked item, in printing order, from the working configuration.
Report BuildReport(const ChannelContext &ctx, const PrintSelection &selection);

// The rows of one section (the channel section: of all channels, without paging).
std::vector<ReportRow> SectionRows(const ChannelContext &ctx, PrintItem item);

// The report as plain text, one line per row, "label: value" pairs separated by " | ",
// pages separated by a line " -N- ".
std::string ReportText(const Report &report);

}  // namespace n27::print
