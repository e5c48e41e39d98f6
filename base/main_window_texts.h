#pragma once
// The main window's texts in both languages: menu captions ("&" marks the keyboard
// accelerator), tree node texts, toolbar tooltips, the About and help texts.

#include <string>

#include "base/language.h"

namespace n27::mainText {

// Menus
inline constexpr Tr kMenuFile{"&File", "文件(&F)"};
inline constexpr Tr kNew{"&New", "新建(&N)"};
inline constexpr Tr kOpen{"&Open...", "打开(&O)..."};
inline constexpr Tr kSave{"&Save", "保存(&S)"};
inline constexpr Tr kSaveAs{"Save &As...", "另存为(&A)..."};
inline constexpr Tr kPrint{"&Print...", "打印(&P)..."};
inline constexpr Tr kExit{"E&xit", "退出(&X)"};

inline constexpr Tr kMenuModel{"&Model", "机型(&M)"};
inline constexpr Tr kModelInformation{"&Model Information", "机型信息(&M)"};

inline constexpr Tr kMenuChannelEdit{"&Channel Edit", "信道编辑(&C)"};
inline constexpr Tr kCut{"Cut(&X)", "剪切(&X)"};
inline constexpr Tr kCopy{"Copy(&C)", "复制(&C)"};
inline constexpr Tr kPaste{"Paste(&V)", "粘帖(&V)"};
inline constexpr Tr kDelete{"Delete(&D)", "删除(&D)"};
inline constexpr Tr kMoveUp{"Move &Up", "上移(&U)"};
inline constexpr Tr kMoveDown{"Move Do&wn", "下移(&W)"};
inline constexpr Tr kInsertRow{"&Insert Row", "插入行(&I)"};
inline constexpr Tr kDeleteRow{"Delete &Row", "删除行(&R)"};
inline constexpr Tr kSortAscending{"Sort &Ascending (RX)", "按接收频率升序排序(&A)"};
inline constexpr Tr kSortDescending{"Sort D&escending (RX)", "按接收频率降序排序(&E)"};
inline constexpr Tr kCompact{"C&ompact Channels", "整理信道(&O)"};
inline constexpr Tr kFind{"&Find...", "查找(&F)..."};

inline constexpr Tr kMenuEdit{"&Edit", "编辑(&E)"};
inline constexpr Tr kChannelInformation{"&Channel Information", "信道信息(&C)"};
inline constexpr Tr kFunctionSetup{"&Function Setup", "功能设定(&F)"};
inline constexpr Tr kKeySetting{"&Key Setting", "键设置(&K)"};
inline constexpr Tr kScanInformation{"&Scan Information", "扫描信息(&S)"};
inline constexpr Tr kDtmf{"&DTMF", "DTMF(&D)"};
inline constexpr Tr kFleetSync{"Fleet S&ync", "FleetSync(&Y)"};
inline constexpr Tr kEmbeddedMessage{"&Embedded Message", "嵌入信息(&E)"};
inline constexpr Tr kLocalMessage{"&Local Message", "本机信息(&L)"};
inline constexpr Tr kTestFrequence{"Test FreQuence", "测试频率"};
inline constexpr Tr kTestDataInformation{"Test Data &Information", "测试数据信息(&I)"};
inline constexpr Tr kBatchChannelEdit{"&Batch ChannelEdit", "批量信道编辑(&B)"};

inline constexpr Tr kMenuProgram{"&Program", "编程(&P)"};
inline constexpr Tr kReadFromRadio{"&Read from Radio", "从对讲机读取数据(&R)"};
inline constexpr Tr kWriteToRadio{"&Write to Radio", "向对讲机写入数据(&W)"};
inline constexpr Tr kWriteToGroup{"Write to &Group of Radios", "批量写入对讲机(&G)"};
inline constexpr Tr kTestMode{"&Test Mode", "测试模式(&T)"};
inline constexpr Tr kProgramPassword{"Program &PassWord", "编程密码(&P)"};

inline constexpr Tr kMenuTools{"&Tools", "工具(&T)"};
inline constexpr Tr kRadioInformation{"&Radio Information", "对讲机信息(&R)"};
inline constexpr Tr kSetRadioInformation{"&Set Radio Information", "设置对讲机信息(&S)"};

inline constexpr Tr kMenuSetting{"&Setting", "设置(&S)"};
inline constexpr Tr kSetCom{"Set &COM", "串口设置(&C)"};
inline constexpr Tr kSetLanguage{"Set &Language", "设置语言(&L)"};

inline constexpr Tr kMenuView{"&View", "查看(&V)"};
inline constexpr Tr kTreeView{"&Tree View", "树形视图(&T)"};
inline constexpr Tr kToolbar{"Tool&bar", "工具栏(&B)"};
inline constexpr Tr kStatusBar{"&Status Bar", "状态栏(&S)"};
inline constexpr Tr kMessages{"&Messages", "消息(&M)"};

inline constexpr Tr kMenuWindow{"&Window", "窗口(&W)"};
inline constexpr Tr kCascade{"&Cascade", "层叠(&C)"};
inline constexpr Tr kTileVertically{"Tile Windows &Vertically", "垂直平铺(&V)"};
inline constexpr Tr kTileHorizontally{"Tile Windows &Horizontally", "水平平铺(&H)"};
inline constexpr Tr kArrangeIcons{"&Arrange Icons", "排列图标(&A)"};
inline constexpr Tr kCloseAllWindows{"C&lose All Windows", "关闭所有窗口(&L)"};

inline constexpr Tr kMenuHelp{"&Help", "帮助(&H)"};
inline constexpr Tr kHelpTopics{"&Help topics", "帮助主题(&H)"};
inline constexpr Tr kAbout{"&About N27", "关于 N27(&A)"};

// Tree root ("N0")
inline constexpr Tr kTreeRoot{"N27 Radio", "N27 对讲机"};

// About window
inline constexpr Tr kAboutTitle{"About N27", "关于 N27"};
inline constexpr Tr kAboutProduct{"N27 Radio Programming Software", "N27 对讲机编程软件"};
inline constexpr Tr kAboutVersion{"Version ", "版本 "};
inline constexpr Tr kAboutModel{"Model N27PR, 400 - 490 MHz and 136 - 174 MHz",
                                "机型 N27PR，400 - 490 MHz 与 136 - 174 MHz"};
inline constexpr Tr kAboutUse{
    "Reads, edits, saves and writes the configuration of the N27 handheld FM radio.",
    "读取、编辑、保存并写入 N27 手持调频对讲机的配置。"};
inline constexpr Tr kSystemInfo{"&System Info...", "系统信息(&S)..."};
inline constexpr Tr kSystemInfoUnavailable{"System information is unavailable at this time.",
                                           "此时系统信息不可用"};
inline constexpr Tr kHelpTitle{"N27 Help", "N27 帮助"};
inline constexpr Tr kHelpMissing{"The help pages could not be found:", "找不到帮助文件："};
// The Close and Help buttons of the child windows: no Alt keys, which belong to the menu bar.
inline constexpr Tr kClose{"Close", "关闭"};
inline constexpr Tr kHelpButton{"Help", "帮助"};

// Message box buttons besides the common OK and Cancel
inline constexpr Tr kYes{"&Yes", "是(&Y)"};
inline constexpr Tr kNo{"&No", "否(&N)"};
// Title of message boxes that are not warnings
inline constexpr Tr kAppTitle{"N27"};

// Status bar panel 1 while nothing else is shown
inline constexpr Tr kReady{"Ready", "就绪"};

// A menu caption as a plain label: the accelerator mark removed. "Save &As..." gives
// "Save As", "信道信息(&C)" gives "信道信息", "&&" gives "&". A trailing "..." is dropped.
std::string PlainCaption(const std::string &caption);

}  // namespace n27::mainText
