// n27-cli output compared with texts written out by hand: the report of a channel whose
// fields all differ, and a FleetSync ID that cannot be stored.

#include <gtest/gtest.h>

#include "common/cli_run.h"
#include "common/test_folder.h"

namespace {

using GoldenCli = TestFolderFixture;

// Channel 7 with every field away from its default and no two values alike where they could
// be swapped.
const char *kChannel7 =
    "7 1 462.125 7 2 467.375 7 3 D023N 7 4 151.4 7 5 High 7 7 DTMF 7 8 EOT "
    "7 9 12.5K\\(Narrow\\) 7 10 'QT/DQT or Opt.Sig' 7 11 Repeater 7 15 0 7 16 1 7 18 1 "
    "7 19 4 7 20 9 7 21 2750 7 22 12 7 23 1 7 24 1 7 12 6";

TEST_F(GoldenCli, ReportOfAChannelWhoseFieldsAllDiffer) {
  ASSERT_EQ(Cli("new --band 0 --empty -o " + path("g.dat")).status, 0);
  CliRun r = Cli("edit " + path("g.dat") + " " + kChannel7);
  ASSERT_EQ(r.status, 0) << r.out;
  r = Cli("report " + path("g.dat") + " --items channel");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out,
            "N27 Radio Programming Information\n"
            "Channel Infomation    File Name: g.dat\n"
            "\n"
            "Channel 7\n"
            "    RX Frequency: 462.12500 MHz | TX Frequency: 467.37500 MHz\n"
            "    CTCSS/DCS Decode: D023N | CTCSS/DCS Encode: 151.4\n"
            "    Option Signaling: DTMF | SP Unmute: QT/DQT or Opt.Sig\n"
            "    TX Power: High | Channel Spacing: 12.5K(Narrow)\n"
            "    Busy Channel Lock-out: Repeater | PTT ID: EOT\n"
            "    Autodial Memory: 7 | Signal Relation: Or\n"
            "    Call 1: 5 | Call 2: 10\n"
            "    Scramble: Define | Define Scramble[Hz]: 2750\n"
            "    Scan Add: Off | TX<->RX: On\n"
            "    TX=RX: Off | Special DCS: On\n"
            "    Compander: On\n"
            " -1- \n"
            "\n");
  r = Cli("report " + path("g.dat") + " --items channel --chinese");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out,
            "N27 对讲机编程信息\n"
            "信道信息    文件名: g.dat\n"
            "\n"
            "信道 7\n"
            "    接收频率: 462.12500 MHz | 发射频率: 467.37500 MHz\n"
            "    CTCSS/DCS 解码: D023N | CTCSS/DCS 编码: 151.4\n"
            "    可选信令: DTMF | SP不静音: QT/DQT或可选信令\n"
            "    发射功率: 高 | 宽/窄带: 12.5K(窄带)\n"
            "    遇忙锁定: Repeater | PTT ID: EOT\n"
            "    自动拨号存储器: 7 | 信令关系: 或\n"
            "    呼叫1: 5 | 呼叫2: 10\n"
            "    扰频: Define | 自定义扰频[Hz]: 2750\n"
            "    扫描添加: 关 | 倒频: 开\n"
            "    脱网: 关 | 特殊DCS: 开\n"
            "    压扩: 开\n"
            " -1- \n"
            "\n");
}

TEST_F(GoldenCli, FleetIdThatWouldReadAsEmptyIsRefused) {
  ASSERT_EQ(Cli("new --band 0 -o " + path("f.dat")).status, 0);
  CliRun r = Cli("set " + path("f.dat") + " fleetsync.id1 1254");
  EXPECT_NE(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("1254"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("empty cell; nothing saved"), std::string::npos) << r.out;  // not "cell.;"
  r = Cli("set " + path("f.dat") + " fleetsync.id1 1253");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("fleetsync.id1 = 1253"), std::string::npos) << r.out;
}

}  // namespace
