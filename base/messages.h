#pragma once
// The common messages shown across the program, in both languages exactly as the radio's
// dealers know them (spelling included).

#include "base/language.h"

namespace n27::msg {

inline constexpr Tr kNoCallFunction{"Please select call function of option features!",
                                    "在可选功能中没有选中Call选项！"};
inline constexpr Tr kNothingToWrite{
    "Only when it at least has data of one channel,  can it be writed.",
    "至少需要存在一个信道数据，才能写入！"};
inline constexpr Tr kNewConfiguration{"All data will be cleared.", "所有数据将被清空。"};
inline constexpr Tr kFileFilterLabel{"Data File", "数据文件"};
inline constexpr Tr kFileError{"file error.", "文件错误。"};
inline constexpr Tr kFileVersionError{"file version error.", "文件版本错误。"};
inline constexpr Tr kPortError{"Cannot Open Communication Port.", "无法打开通信端口。"};
inline constexpr Tr kReadQuestion1{"Read data from radio.", "从对讲机读取数据。"};
inline constexpr Tr kReadQuestion2{"Do you wish continue?", "是否继续？"};
inline constexpr Tr kWriteQuestion1{"Write data to radio.", "向对讲机写入数据。"};
inline constexpr Tr kWriteQuestion2{"Do you wish continue?", "是否继续？"};
inline constexpr Tr kModified{"File has been modify,save it now?", "当前文件已被修改，是否现在保存？"};
inline constexpr Tr kOverwrite{"file will be Overwrite,Continue?", "文件将被覆盖，是否继续？"};
inline constexpr Tr kRetry{"Check Connection. Retry or Cancel?", "检测连接。重试或取消？"};
inline constexpr Tr kReadDone{"Read Data Completed.", "读取数据完成。"};
inline constexpr Tr kWriteDone{"Write Data Completed.", "写入数据完成。"};
inline constexpr Tr kVersion{"Version is wrong.", "版本错误。"};
inline constexpr Tr kModel{"Model type is wrong.", "机型类型错误。"};
inline constexpr Tr kBand{"Frequency band is different,Overwrite?", "与机器频段不同，是否覆盖？"};
// The test-frequency message is made of these pieces: first, a line break, second, third.
inline constexpr Tr kTestFrequency1{"Test Frequency nismatch.", "测试频率不匹配"};
inline constexpr Tr kTestFrequency2{"Execute read data from radio", "执行“从对讲机读取数据”"};
inline constexpr Tr kTestFrequency3{"or write to radio.", "或“向对讲机写入数据”。"};
inline constexpr Tr kFrequencyData{"Frequency data will be cleared.", "频率数据将被清除。"};
inline constexpr Tr kOk{"&OK", "确定(&O)"};
inline constexpr Tr kCancel{"&Cancel", "取消(&C)"};
inline constexpr Tr kFinish{"&Finish", "完成(&F)"};
inline constexpr Tr kWarning{"Warning", "警告"};
inline constexpr Tr kInvalidData{"Invalid Data", "无效数据"};
inline constexpr Tr kRange{"Frequency is out of range.", "频率超出范围。"};
inline constexpr Tr kNotNumeric{"is not numeric.", "不是有效数据。"};

// Not translated.
inline constexpr const char *kModelError = "Model Error!";
inline constexpr const char *kNotIsNumeric = "Not IsNumeric";
inline constexpr const char *kReadDecTableError = "Read dec.TBL File Error!";
inline constexpr const char *kPasswordFailure = "PassWord Failure!";

inline constexpr Tr kKilled{"Radio is killed,can't be written!", "对讲机被遥毙，不能写入！"};
inline constexpr Tr kStunned{"Radio is fainted,can't be written!", "对讲机被遥晕，不能写入！"};
inline constexpr Tr kAtLeastOneChannel{"At least one channel must be reserved", "至少要保留一个信道"};

// General texts of the tables.
inline constexpr Tr kModelInformation{"Model Information", "机型信息"};
inline constexpr Tr kModelLabel{"Model", "机型"};
inline constexpr Tr kFrequencyLabel{"Frequency", "频段"};
inline constexpr Tr kSetCom{"Set COM", "串口设置"};
inline constexpr Tr kComLabel{"COM", "通信口"};
inline constexpr Tr kCommPort{"Comm Port", "串口"};
inline constexpr Tr kLanguageSelect{"Language Select", "语言选择"};
inline constexpr Tr kEnglishName{"English", "英语"};
inline constexpr Tr kChineseName{"Chinese", "中文"};
inline constexpr Tr kSetLanguage{"Set Language", "设置语言"};
inline constexpr Tr kFileName{"File Name", "文件名"};

}  // namespace n27::msg
