#pragma once
// The captions of the channel windows in both languages: the channel grid, the channel detail
// dialog and the batch window. The value texts inside the lists come from the field codec.

#include <string>

#include "base/language.h"
#include "channels/grid_cursor.h"
#include "codeplug/codeplug_data.h"

namespace n27::chtext {

// Channel grid.
inline constexpr Tr kGridHeaders[kGridColumnCount] = {
    {"CH", "信道"},
    {"RX Frequency", "接收频率"},
    {"TX FreQuency", "发射频率"},
    {"CTCSS/DCS Decode", "解码"},
    {"CTCSS/DCS Encode", "编码"},
    {"TX Power", "发射功率"},
    {"Scan Add", "扫描添加"},
    {"Opt Signal", "可选信令"},
    Tr{"PTT ID"},
    {"Channel Spacing", "宽/窄带"},
    {"More", "更多"},
};
inline constexpr const char *kMoreCell = ">>";
inline constexpr Tr kGridCaption{"Channel Information[Channel -", "信道信息[信道 -"};
inline constexpr Tr kGroup{"Group", "组"};
inline constexpr Tr kChannelEdit{"Channel Edit", "信道编辑"};
// No Alt keys: Alt+C and Alt+H belong to the main window's menu bar.
inline constexpr Tr kClose{"Close", "关闭"};
inline constexpr Tr kHelp{"Help", "帮助"};

// "Channel Information[Channel - 5]".
std::string GridCaption(int row);

// Help topics of the channel windows.
inline constexpr int kHelpChannelWindow = 3100;
inline constexpr int kHelpFrequencyBase = 3101;  // + column (RX 3102, TX 3103)
inline constexpr int kHelpPower = 3106;
inline constexpr int kHelpSpacing = 3107;
inline constexpr int kHelpScanAdd = 3109;

// Channel detail dialog.
inline constexpr Tr kDetailTitle{"Channel Edit", "信道编辑"};
inline constexpr Tr kDetailChannel{"Channel", "信道"};
inline constexpr Tr kDetailLabels[15] = {
    {"RX Frequency", "接收频率"},
    {"TX Frequency", "发射频率"},
    {"CTCSS/DCS Decode", "CTCSS/DCS 解码"},
    {"CTCSS/DCS Encode", "CTCSS/DCS 编码"},
    {"Option Signaling", "可选信令"},
    {"SP Unmute", "SP不静音"},
    {"TX Power", "发射功率"},
    {"Channel Spacing", "宽/窄带"},
    {"Busy Channel Lock-out", "遇忙锁定"},
    Tr{"PTT ID"},
    {"Autodial Memory", "自动拨号存储器"},
    {"Signal Relation", "信令关系"},
    {"Call 1", "呼叫1"},
    {"Call 2", "呼叫2"},
    {"Scramble", "扰频"},
};
inline constexpr Tr kDefineScramble{"Define Scramble[Hz]", "自定义扰频[Hz]"};
inline constexpr Tr kDetailChecks[5] = {
    {"Scan Add", "扫描添加"},
    {"TX<->RX", "倒频"},
    {"TX=RX", "脱网"},
    {"Special DCS", "特殊DCS"},
    {"Compander", "压扩"},
};
// Scramble list: "Off", "1".."11", "Define"; the list position is stored.
inline constexpr Tr kScrambleOff{"Off", "关"};
inline constexpr Tr kScrambleDefine{"Define", "Define"};
inline constexpr int kScrambleNumbered = 11;
// The scramble frequency box shows a stored 0 as this (and a write sends it).
inline constexpr int kScrambleFreqShownForZero = kScrambleFreqForZero;
inline constexpr int kAutodialEntries = 8;
inline constexpr int kCallEntries = 16;

// Batch window.
inline constexpr Tr kBatchTitle{"Batch Channel Edit", "批量信道编辑"};
inline constexpr Tr kBatchRange{"Channel Range", "信道范围"};
inline constexpr Tr kBatchAll{"All Channels (1 - 32)", "全部信道 (1 - 32)"};
inline constexpr Tr kBatchFrom{"From Channel", "从信道"};
inline constexpr Tr kBatchTo{"To", "到"};
inline constexpr Tr kBatchClearOutside{"Clear channels outside the range", "清除范围以外的信道"};
inline constexpr Tr kBatchRx{"RX Frequency", "接收频率"};
inline constexpr Tr kBatchTx{"TX Frequency", "发射频率"};
inline constexpr Tr kBatchStartFreq{"Start Frequency[MHz]", "起始频率[MHz]"};
inline constexpr Tr kBatchStep{"Step[kHz]", "步进[kHz]"};
inline constexpr Tr kBatchIncreasing{"Increasing", "递增"};
inline constexpr Tr kBatchDecreasing{"Decreasing", "递减"};
inline constexpr Tr kBatchTxDefault{"Same as RX", "与接收相同"};
inline constexpr Tr kBatchTxOffset{"Offset[MHz]", "差频[MHz]"};
inline constexpr Tr kBatchTxStart{"Start Frequency", "起始频率"};
inline constexpr Tr kBatchPlus{"+ Offset", "加差频"};
inline constexpr Tr kBatchMinus{"- Offset", "减差频"};
inline constexpr Tr kBatchDecode{"CTCSS/DCS Decode", "CTCSS/DCS 解码"};
inline constexpr Tr kBatchEncode{"CTCSS/DCS Encode", "CTCSS/DCS 编码"};
inline constexpr Tr kBatchStartTone{"Start", "起始"};
inline constexpr Tr kBatchInterval{"Interval", "间隔"};
inline constexpr Tr kBatchRandom{"Random", "随机"};
inline constexpr Tr kBatchSameAsDecode{"Same as Decode", "与解码相同"};
inline constexpr Tr kBatchOther{"Channel Options", "信道选项"};
inline constexpr Tr kBatchSetItems{"Set Edit &Items", "设定编辑项目(&I)"};  // Alt+S is the Setting menu
inline constexpr Tr kBatchItemsTitle{"Edit Items", "编辑项目"};
inline constexpr Tr kBatchApply{"&Apply", "执行(&A)"};
inline constexpr Tr kBatchNoItem{"Tick the items to edit with \"Set Edit Items\".",
                                 "请用“设定编辑项目”选择要编辑的项目。"};
inline constexpr Tr kBatchNotInRecord{"This radio keeps no such value per channel.",
                                      "本机型的信道没有此项设置。"};
// Done message: "<n> channels set." / "已设定 <n> 个信道。"
std::string BatchDoneText(int channels);

// The item boxes Check2(0..21) in the order of the 20 item flags, with their captions.
struct BatchItemCaption {
  int box;  // index of Check2
  Tr caption;
};
inline constexpr BatchItemCaption kBatchItemBoxes[20] = {
    {0, {"RX Frequency", "接收频率"}},
    {1, {"TX Frequency", "发射频率"}},
    {2, {"CTCSS/DCS Decode", "CTCSS/DCS 解码"}},
    {3, {"CTCSS/DCS Encode", "CTCSS/DCS 编码"}},
    {6, {"TX Power", "发射功率"}},
    {7, {"Option Signaling", "可选信令"}},
    {8, Tr{"PTT ID"}},
    {9, {"Channel Spacing", "宽/窄带"}},
    {10, {"Busy Channel Lock-out", "遇忙锁定"}},
    {11, {"TX<->RX / TX=RX", "倒频 / 脱网"}},
    {13, {"Signal Relation", "信令关系"}},
    {12, {"Call 1", "呼叫1"}},
    {21, {"Call 2", "呼叫2"}},
    {14, {"Scan Add", "扫描添加"}},
    {15, {"Scramble", "扰频"}},
    {16, {"TX Inhibit", "禁止发射"}},
    {17, {"TX=RX", "脱网"}},
    {18, {"TX<->RX", "倒频"}},
    {19, {"Whisper", "耳语"}},
    {20, {"Voice Compander", "压扩"}},
};
// Captions of Check1(0..6).
inline constexpr Tr kBatchChecks[7] = {
    {"Scan Add", "扫描添加"}, {"Scramble", "扰频"},     {"TX Inhibit", "禁止发射"},
    {"TX=RX", "脱网"},        {"TX<->RX", "倒频"},      {"Whisper", "耳语"},
    {"Voice Compander", "压扩"},
};

}  // namespace n27::chtext
