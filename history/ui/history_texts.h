#pragma once
// The texts of the radio history window, in both languages.

#include "base/language.h"

namespace n27::historytext {

inline constexpr Tr kMenu{"Radio &History...", "对讲机历史(&H)..."};
inline constexpr Tr kTitle{"Radio History", "对讲机历史"};
inline constexpr Tr kSerial{"&Serial number:", "序列号(&S)："};
inline constexpr Tr kCustomer{"&Customer:", "客户(&C)："};
inline constexpr Tr kFrom{"&From:", "从(&F)："};
inline constexpr Tr kTo{"&To:", "到(&T)："};
inline constexpr Tr kResult{"&Result:", "结果(&R)："};
inline constexpr Tr kAll{"All", "全部"};
inline constexpr Tr kOk{"OK", "成功"};
inline constexpr Tr kFailed{"Failed", "失败"};
inline constexpr Tr kOpen{"&Open", "打开(&O)"};
inline constexpr Tr kOpenAsNew{"Open as &New File", "作为新文件打开(&N)"};
inline constexpr Tr kCompareEntries{"Compare &Entries", "比较记录(&E)"};
inline constexpr Tr kCompareOpen{"Compare with Open &Configuration", "与当前配置比较(&G)"};
inline constexpr Tr kCompareRadio{"Compare with Ra&dio", "与对讲机比较(&D)"};
inline constexpr Tr kPutBack{"&Put This Radio Back to This State...", "将对讲机恢复到此状态(&P)..."};
inline constexpr Tr kClose{"C&lose", "关闭(&L)"};
inline constexpr Tr kHelp{"&Help", "帮助(&H)"};
inline constexpr Tr kCount{"%1 entries.", "共 %1 条记录。"};
inline constexpr Tr kCountLimited{"%1 entries; the newest %2 are shown: narrow the filter to see older ones.",
                                  "共 %1 条记录；只显示最新的 %2 条：请缩小筛选范围以查看更早的记录。"};
inline constexpr Tr kWhere{"History: %1", "历史：%1"};
inline constexpr Tr kNotOpened{"The radio history cannot be opened: %1", "无法打开对讲机历史：%1"};
inline constexpr Tr kNoImage{"This entry keeps no configuration: %1", "此记录没有保存配置：%1"};
inline constexpr Tr kEntryName{"Entry %1 (%2)", "记录 %1（%2）"};
inline constexpr Tr kKeptTitle{"Configuration of entry %1 - %2", "记录 %1 的配置 - %2"};
inline constexpr Tr kSaveAs{"&Save As...", "另存为(&S)..."};
inline constexpr Tr kDataFilter{"Data File (*.dat)", "数据文件 (*.dat)"};
inline constexpr Tr kSaved{"The configuration was saved as %1.", "配置已保存为 %1。"};
inline constexpr Tr kNotSaved{"The configuration could not be saved as %1: %2", "无法将配置保存为 %1：%2"};
inline constexpr Tr kImageNotWritten{"The image of entry %1 could not be kept for the restore: %2",
                                     "无法为恢复保存记录 %1 的映像：%2"};
inline constexpr Tr kNoRestore{"Putting a radio back is not available here.", "此处无法恢复对讲机。"};
inline constexpr Tr kReadOnly{"Read-only: %1", "只读：%1"};

// The context number of the history window's help page.
inline constexpr int kHelpContext = 3900;

}  // namespace n27::historytext
