#pragma once
// Channel lists in the community CSV format that other channel-list programmers read and
// write: one row per channel, columns matched by their header names.
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// Import checks every row against what the radio can hold (the band limits of the open
// configuration, the tone list, channel numbers 1..128) before anything changes; a row that
// does not fit is skipped with its line number and the reason, never bent into range. The
// rows that fit are then stored through the channel operations, as if typed into the grid,
// so scan bank choices are repaired and open windows redraw.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "channels/channel_context.h"

namespace n27::csv {

// The 21 columns of the format, in the order export writes them.
inline constexpr int kColumnCount = 21;
extern const char *const kColumns[kColumnCount];

// Nominal output of the three power levels, in watts. A wattage in a list goes to the
// nearest level; exactly half-way goes to the lower one.
inline constexpr double kWattsLow = 1.0;
inline constexpr double kWattsMiddle = 2.5;
inline constexpr double kWattsHigh = 5.0;

// A channel list is a few kilobytes (128 channels of this radio, or a few thousand of another
// radio's list); files far larger are refused before anything is done with them: larger than
// this unread, with more data rows than kMaxCsvRows after reading.
inline constexpr std::size_t kMaxCsvBytes = 1u << 20;
inline constexpr std::size_t kMaxCsvRows = 10000;
// The summary lists this many skipped rows and counts the rest.
inline constexpr std::size_t kSkippedRowsListed = 100;

enum class Placement {
  AtLocation,  // each row to the channel its Location names
  Append,      // rows in file order to the free channels (after the highest channel in use,
               // then the gaps from channel 1)
};

struct ImportOptions {
  Placement placement = Placement::AtLocation;
  // The list replaces the whole channel plan: channels the list does not fill are removed.
  bool replaceAll = false;
};

struct SkippedRow {
  int line = 0;        // line of the file where the row starts (1 = first line)
  std::string reason;  // in the current language; a cell it quotes is cut to a few dozen characters
};

struct ImportReport {
  bool ok = false;          // false: the file is no channel list; nothing changed
  std::string error;        // why not (current language)
  int rows = 0;             // data rows read (comment and empty lines not counted)
  int created = 0;          // channels that were free before
  int replaced = 0;         // channels that held a channel and were overwritten
  int removed = 0;          // channels removed because the list replaces the plan
  bool shiftedFromZero = false;  // the list counted from Location 0: all moved up by one
  std::vector<int> channels;     // the channel numbers written, in file order
  std::vector<SkippedRow> skipped;

  int imported() const { return created + replaced; }
};

// Reads `text` as a channel list and stores the rows that fit into the working
// configuration. Nothing changes when the file is no channel list or no row fits.
// The whole import is this one call (one step for an edit history).
ImportReport ImportChannelCsv(ChannelContext &ctx, std::string_view text, const ImportOptions &options);

// True when the text has a header line with a Frequency column (and is not too large);
// otherwise false with the reason. ImportChannelCsv checks the same first.
bool IsChannelList(std::string_view text, std::string &error);

// The summary shown after an import, several lines, current language: the head (counts, the
// move from Location 0, how many rows were skipped), then the skipped rows' lines.
std::string ImportSummaryText(const ImportReport &report);
std::string ImportSummaryHead(const ImportReport &report);
std::string SkippedRowText(const SkippedRow &row);  // "line 7: channel 129 is outside 1–128"
// One line per skipped row for the first kSkippedRowsListed of them, then "… and 12 more
// rows skipped." when there are more.
std::vector<std::string> SkippedRowLines(const ImportReport &report);

// Every channel in use, lowest number first, with the full header. Values a row does not use
// carry the usual fillers (tones "88.5", DCS "023", polarity "NN", CrossMode "Tone->Tone"),
// Name is "CH001"…, Comment and the D-STAR columns are empty. Lines end with CR LF.
// A channel whose stored frequency or tone cannot be read is written without that value
// (or left out, when it is the RX frequency) and named in `warnings`.
std::string ExportChannelCsv(const ChannelContext &ctx, std::vector<std::string> *warnings = nullptr);

// The level (0 Low, 1 Middle, 2 High) for a Power cell: a wattage ("5.0W", "4 W", "0.5") or
// Low / Mid / Middle / High in either language, any case. Nothing for any other text.
std::optional<int> ParsePower(std::string_view text);
// "1.0W", "2.5W", "5.0W".
std::string PowerWatts(int level);

// Reads a channel list file: a regular file of at most kMaxCsvBytes. False with the reason
// (current language) otherwise.
bool ReadChannelCsvFile(const std::string &path, std::string &text, std::string &error);

// Texts of the import and export commands (the windows and the command line share them).
namespace text {
inline constexpr Tr kImportMenu{"&Import Channels...", "导入信道(&I)..."};
inline constexpr Tr kExportMenu{"&Export Channels...", "导出信道(&E)..."};
inline constexpr Tr kFilter{"Channel List (*.csv)", "信道列表 (*.csv)"};
inline constexpr Tr kImportTitle{"Import Channels", "导入信道"};
inline constexpr Tr kExportTitle{"Export Channels", "导出信道"};
inline constexpr Tr kAtLocation{"Put each channel at its &Location", "每个信道放到其位置编号(&L)"};
inline constexpr Tr kAppend{"&Append to the free channels", "追加到空闲信道(&A)"};
inline constexpr Tr kReplaceAll{"&Remove the channels the list does not fill",
                                "删除列表未填的信道(&R)"};
// "Channels exported: 12 (to /home/…/plan.csv)."
inline constexpr Tr kExported{"Channels exported: %1 (to %2).", "已导出信道：%1 个（到 %2）。"};
inline constexpr Tr kNoChannelsToExport{"There are no channels to export.", "没有可导出的信道。"};
inline constexpr Tr kWriteFailed{"The file could not be written: %1", "无法写入文件：%1"};
}  // namespace text

// Replaces %1, %2, … in a text by the arguments.
std::string Fill(std::string_view pattern, const std::vector<std::string> &args);

}  // namespace n27::csv
