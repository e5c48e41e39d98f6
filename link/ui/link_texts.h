#pragma once
// Texts of the transfer windows in both languages.

#include "base/language.h"

namespace n27::linkText {

inline constexpr Tr kPasswordTitle{"Program PassWord", "编程密码"};
inline constexpr Tr kPasswordLabel{"PassWord", "密码"};

inline constexpr Tr kProgressRead{"Read data from radio", "从对讲机读取数据"};
inline constexpr Tr kProgressWrite{"Write data to radio", "向对讲机写入数据"};
inline constexpr Tr kCompletion{"Completion percentage:", "完成进度:"};

inline constexpr Tr kNoPorts{"No serial port found.", "未找到串口。"};
inline constexpr Tr kReadingInformation{"Reading the radio information...", "正在读取对讲机信息..."};

inline constexpr Tr kReleaseNotStarted{"The programmer for this radio could not be started:",
                                       "无法启动适用于此对讲机的编程软件："};

}  // namespace n27::linkText
