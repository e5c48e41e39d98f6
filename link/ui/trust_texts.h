#pragma once
// Texts of backups, verify after write, restore and writing a group of radios in the desktop
// program, in both languages. "%1", "%2" … are filled in by Fill().

#include "base/language.h"

namespace n27::trustText {

// Menu entries.
inline constexpr Tr kRestoreMenu{"&Restore Radio from Backup...", "从备份恢复对讲机(&R)..."};
inline constexpr Tr kOpenBackupFolder{"Open &Backup Folder", "打开备份文件夹(&B)"};
inline constexpr Tr kBackupBeforeWrite{"&Back Up Radio Before Writing", "写入前备份对讲机(&B)"};
inline constexpr Tr kVerifyAfterWrite{"&Verify After Writing", "写入后校验(&V)"};

// Progress window captions of the reads around a write.
inline constexpr Tr kProgressBackup{"Back up the radio's memory", "备份对讲机数据"};
inline constexpr Tr kProgressVerify{"Verify the written data", "校验写入的数据"};

// The status bar while they run.
inline constexpr Tr kBackingUp{"Backing up the radio's memory before writing...",
                               "正在写入前备份对讲机数据..."};
inline constexpr Tr kVerifying{"Reading the radio back to verify the write...",
                               "正在读回对讲机以校验写入..."};

// The backup read did not complete: the reason given to the refusal of the write.
inline constexpr Tr kRadioNotRead{"the radio's memory could not be read.", "无法读取对讲机的数据。"};
// A completed write whose read-back did not complete.
inline constexpr Tr kVerifyNotRead{
    "The data were written, but the radio could not be read back to verify them. "
    "Write the radio again.",
    "数据已写入，但无法读回对讲机进行校验。请重新写入对讲机。"};
// A write that did not complete (the transfer's own message said why).
inline constexpr Tr kWriteNotCompleted{"The write did not complete.", "写入未完成。"};
inline constexpr Tr kWrittenNotVerified{"Written (not verified).", "已写入（未校验）。"};
inline constexpr Tr kBackupWarning{"The data were read, but the backup was not kept:",
                                   "数据已读取，但未能保存备份："};

// Restore.
inline constexpr Tr kImageFilter{"Radio Image (*.img);;All Files (*)", "对讲机映像 (*.img);;所有文件 (*)"};
inline constexpr Tr kRestoreQuestion{
    "Write the backup\n%1\nto the radio?\n\nKept: %2\nRadio serial number: %3\n\n"
    "Everything the radio holds is replaced by the backup.",
    "将备份\n%1\n写入对讲机吗？\n\n备份时间：%2\n对讲机序列号：%3\n\n对讲机中的全部数据将被备份替换。"};
inline constexpr Tr kUnknownSerial{"(none)", "（无）"};
inline constexpr Tr kRestoreCompleted{"The backup was written to the radio.", "备份已写入对讲机。"};
inline constexpr Tr kFolderNotOpened{"The backup folder could not be opened:\n%1",
                                     "无法打开备份文件夹：\n%1"};
inline constexpr Tr kFolderNotCreated{"The backup folder could not be created:\n%1",
                                      "无法创建备份文件夹：\n%1"};

// Program Several Radios (the fleet window).
inline constexpr Tr kProgramSeveral{"Program &Several Radios...", "同时写入多台对讲机(&S)..."};

// Write to Group of Radios.
inline constexpr Tr kGroupStart{
    "Write the open configuration to one radio after another.\n"
    "Each radio is backed up, written and verified as the Setting menu asks.\n\n"
    "Connect the first radio.",
    "将当前配置依次写入多台对讲机。\n每台对讲机按“设置”菜单的选择先备份、再写入并校验。\n\n"
    "请连接第一台对讲机。"};
inline constexpr Tr kGroupRadioDone{"Radio %1 (serial number %2): %3", "第 %1 台对讲机（序列号 %2）：%3"};
inline constexpr Tr kGroupRadioFailed{"Radio %1 (serial number %2) FAILED:\n%3",
                                      "第 %1 台对讲机（序列号 %2）写入失败：\n%3"};
inline constexpr Tr kGroupFinishHint{"OK: write the next radio.  Finish: end and show the log.",
                                     "确定：写入下一台对讲机。  完成：结束并显示日志。"};
inline constexpr Tr kGroupLogTitle{"Write to Group of Radios - Log", "批量写入对讲机 - 日志"};
inline constexpr Tr kLogNumber{"No.", "序号"};
inline constexpr Tr kLogSerial{"Serial Number", "序列号"};
inline constexpr Tr kLogTime{"Time", "时间"};
inline constexpr Tr kLogResult{"Result", "结果"};
inline constexpr Tr kLogOk{"OK", "成功"};
inline constexpr Tr kLogFailed{"FAILED", "失败"};
inline constexpr Tr kClose{"&Close", "关闭(&C)"};

// The customer or job label of the session, and the plan check's reason in a status line.
inline constexpr Tr kCustomerMenu{"Customer or &Job...", "客户或工单(&J)..."};
inline constexpr Tr kCustomerTitle{"Customer or Job", "客户或工单"};
inline constexpr Tr kCustomerLabel{"&Customer or job:", "客户或工单(&C)："};
inline constexpr int kCustomerMaxLength = 120;
inline constexpr Tr kCustomerSet{"Customer or job: %1", "客户或工单：%1"};
inline constexpr Tr kCustomerNone{"Customer or job: none (Program > Customer or Job... sets one)",
                                  "客户或工单：无（可用“编程 > 客户或工单...”设置）"};
inline constexpr Tr kPlanStopped{"The write was stopped at the plan check: nothing was written.",
                                 "写入在方案检查时被停止：未写入任何内容。"};
inline constexpr Tr kOverrideNoted{"Plan errors overridden, reason: %1", "已忽略方案错误，原因：%1"};

}  // namespace n27::trustText
