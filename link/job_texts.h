#pragma once
// Texts of the programming job and of the fleet run, in both languages. "%1", "%2" … are
// filled in by Fill().

#include "base/language.h"

namespace n27::jobText {

// Step names.
inline constexpr Tr kStepIdentify{"Identify", "识别"};
inline constexpr Tr kStepCheck{"Check", "检查"};
inline constexpr Tr kStepBackup{"Backup", "备份"};
inline constexpr Tr kStepWrite{"Write", "写入"};
inline constexpr Tr kStepVerify{"Verify", "校验"};

// Facts about one radio.
inline constexpr Tr kWrittenVerified{"written and verified", "已写入并校验"};
inline constexpr Tr kWrittenNotVerified{"written (not verified)", "已写入（未校验）"};
inline constexpr Tr kAlreadyDone{"already done", "已完成"};
inline constexpr Tr kNotIdentified{"the radio could not be identified (%1): not written",
                                   "无法识别对讲机（%1）：未写入"};
inline constexpr Tr kOtherModel{"radio model %1, configuration %2: not written",
                                "对讲机机型 %1，配置机型 %2：未写入"};
inline constexpr Tr kOtherBand{"radio %1, configuration %2: not written", "对讲机 %1，配置 %2：未写入"};
inline constexpr Tr kBandNumber{"band %1", "频段 %1"};
inline constexpr Tr kPlanBlocked{"the plan check found errors (%1): not written",
                                 "方案检查发现错误（%1）：未写入"};
inline constexpr Tr kPlanWarnings{"Plan check warnings: %1", "方案检查警告：%1"};
inline constexpr Tr kPlanOverridden{"Plan check errors overridden (%1), reason: %2",
                                    "已忽略方案检查错误（%1），原因：%2"};
inline constexpr Tr kNotBackedUp{"the radio's memory could not be backed up (%1): not written",
                                 "无法备份对讲机数据（%1）：未写入"};
inline constexpr Tr kOtherRadio{"another radio answered (serial number %1, not %2): stopped",
                                "应答的是另一台对讲机（序列号 %1，而非 %2）：已停止"};
inline constexpr Tr kOtherRadioTuning{
    "test mode: the tuning values were read from radio %1, not from this radio: not written",
    "测试模式：调试数据读自对讲机 %1，而非本机：未写入"};
inline constexpr Tr kNoOwnTuning{
    "test mode: this radio's own tuning values were not read (turn the backup on): not written",
    "测试模式：未读取本机自己的调试数据（请打开备份）：未写入"};
inline constexpr Tr kNoTuning{
    "test mode: no tuning values were read, loaded or typed for this radio: not written",
    "测试模式：未为本机读取、加载或输入调试数据：未写入"};
inline constexpr Tr kOwnTuningKept{
    "Test mode: the radio keeps its own tuning values (read before the write).",
    "测试模式：对讲机保留其自己的调试数据（写入前读取）。"};
inline constexpr Tr kWriteFailed{"the write did not complete (%1)", "写入未完成（%1）"};
inline constexpr Tr kNotReadBack{"written, but the radio could not be read back to verify (%1)",
                                 "已写入，但无法读回对讲机进行校验（%1）"};
inline constexpr Tr kVerifyFailed{"verify failed at %1", "校验失败，地址 %1"};
inline constexpr Tr kNoAnswer{"the radio did not answer", "对讲机无应答"};
inline constexpr Tr kCancelled{"cancelled", "已取消"};

}  // namespace n27::jobText
