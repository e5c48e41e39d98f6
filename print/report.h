#pragma once
// The printed report: the parts of the configuration a user ticks in the print list, laid out
// as pages of label/value rows. The texts are the ones the editor windows show (the feature
// settings tables and the channel field codec), in the current language.
//
// The report holds no positions; PlanSection below decides where the pairs of a row go for a
// given paper and font, and the painter draws them there.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/language.h"

namespace n27 {
class ChannelContext;
}

namespace n27::print {

// The print items in printing order. LicenceCheck is not one of the seven items of the print
// list: its pages follow them when the list's "Licence check" box is ticked.
enum class PrintItem { Channel, FunctionSetup, KeySetting, Scan, Dtmf, EmbeddedMessage, LocalMessage, LicenceCheck };
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

// Channels on a page of the built report: what an A4 page holds at 10 pt. The printout
// re-divides the channel pages for its paper and font (see ChannelsPerPage below).
inline constexpr int kChannelsPerPage = 4;

// Builds the pages of every ticked item, in printing order, from the working configuration.
Report BuildReport(const ChannelContext &ctx, const PrintSelection &selection,
                   int channelsPerPage = kChannelsPerPage);

// ---- Fitting the report on paper ------------------------------------------------------
// Plain numbers in the units of the page (device pixels, points …); the painter measures
// its fonts and asks these rules where the columns go, what size the text is and how many
// channels a page takes. Nothing prints below kSmallestPoints; a label never wraps.

inline constexpr double kTitlePoints = 25;
inline constexpr double kTextPoints = 10;
inline constexpr double kSmallestPoints = 8;
inline constexpr double kTitleTop = 0.02;    // of the page height, above the title
inline constexpr double kFooterLift = 0.03;  // of the page height, below the footer
inline constexpr double kRightEdge = 0.97;   // of the page width: where the text ends
inline constexpr double kColumnGap = 0.02;   // of the page width: space after a label or value

struct PageMeasures {
  double width = 0, height = 0;  // the printable page
  double titleLine = 0;          // line spacing of the title at kTitlePoints
  double textLine = 0;           // line spacing of the text at kTextPoints
};

// The width of a text at kTextPoints (the painter's font metrics; tests count characters).
using TextWidth = std::function<double(const std::string &)>;

struct SectionPlan {
  double points = kTextPoints;          // text size of the rows
  std::array<double, 4> left{};         // left edges of label 1, value 1, label 2, value 2
  bool pairsApart = false;              // every pair on a row of its own
  double rowsTop = 0, rowsBottom = 0;   // where rows may go: under the header, above the footer
  double rowLine = 0;                   // line spacing of a row at `points`
  int rowsPerPage = 0;                  // single-line rows between rowsTop and rowsBottom
};

// Columns and text size for rows. The preferred columns (settings 5/35/55/75 %, channels
// 10/30/55/75 % of the width) move right as far as the widest label or value before them
// needs (the second pair also moves left when its own label needs the room); when two pairs do not fit side by side at 10 pt the text shrinks in half points,
// not below 8 pt; when they do not fit at 8 pt either, each pair gets a row of its own at
// 10 pt (its value runs to the right edge and may wrap; its label does not).
SectionPlan PlanSection(PageLayout layout, const std::vector<ReportRow> &rows, const PageMeasures &page,
                        const TextWidth &width);

// The rows as printed under a plan: with pairsApart every two-pair row becomes two rows.
std::vector<ReportRow> PlannedRows(const std::vector<ReportRow> &rows, const SectionPlan &plan);

// How many channels fit on a page under a plan: the page's rows divided by the rows of the
// longest channel (its heading line and its rows). At least one.
int ChannelsPerPage(const SectionPlan &plan, const std::vector<ReportRow> &channelRows);

// The report with each run of channel pages divided anew, `channelsPerPage` channels a page
// (in channel order; the other pages as they were).
Report RepaginateChannels(const Report &report, int channelsPerPage);

// The rows of one section (the channel section: of all channels, without paging).
std::vector<ReportRow> SectionRows(const ChannelContext &ctx, PrintItem item);

// The report as plain text, one line per row, "label: value" pairs separated by " | ",
// pages separated by a line " -N- ".
std::string ReportText(const Report &report);

}  // namespace n27::print
