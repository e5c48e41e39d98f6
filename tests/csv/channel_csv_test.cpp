// CSV channel lists: every Duplex/Tone/CrossMode/polarity/power case of the community format,
// rows the radio cannot hold, placement, and export text and round trip.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "channels/channel_changes.h"
#include "channels/channel_csv.h"
#include "channels/channel_ops.h"
#include "channels/channel_test_util.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

using csv::ImportChannelCsv;
using csv::ImportOptions;
using csv::ImportReport;

const std::string kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

struct Csv : test::ChannelFixture {
  using ChannelFixture::ChannelFixture;
  ImportReport import(const std::string &text, ImportOptions o = {}) { return ImportChannelCsv(ctx, text, o); }
  // Decode (RX) and encode (TX) tone codes of a channel.
  std::pair<std::string, std::string> tones(int n) { return {channel(n).decode.text(), channel(n).encode.text()}; }
};

TEST(CsvImport, EveryToneAndCrossModeLandsOnTheRightSide) {
  Csv f;
  const std::string rows =
      // Loc,Name,Freq,Duplex,Offset,Tone,rTone,cTone,Dtcs,Pol,RxDtcs,CrossMode
      "1,,446.000000,,0,,88.5,88.5,023,NN,023,Tone->Tone,FM,,,5.0W,,,,,\n"
      "2,,446.000000,,0,Tone,88.5,100.0,023,NN,023,Tone->Tone,FM,,,5.0W,,,,,\n"
      "3,,446.000000,,0,TSQL,88.5,100.0,023,NN,023,Tone->Tone,FM,,,5.0W,,,,,\n"
      "4,,446.000000,,0,DTCS,88.5,88.5,023,NN,754,Tone->Tone,FM,,,5.0W,,,,,\n"
      "5,,446.000000,,0,Cross,88.5,100.0,023,NN,754,Tone->Tone,FM,,,5.0W,,,,,\n"
      "6,,446.000000,,0,Cross,88.5,100.0,023,NR,754,Tone->DTCS,FM,,,5.0W,,,,,\n"
      "7,,446.000000,,0,Cross,88.5,100.0,023,RN,754,DTCS->Tone,FM,,,5.0W,,,,,\n"
      "8,,446.000000,,0,Cross,88.5,100.0,023,NN,754,->Tone,FM,,,5.0W,,,,,\n"
      "9,,446.000000,,0,Cross,88.5,100.0,023,NR,754,->DTCS,FM,,,5.0W,,,,,\n"
      "10,,446.000000,,0,Cross,88.5,100.0,023,RN,754,DTCS->,FM,,,5.0W,,,,,\n"
      "11,,446.000000,,0,Cross,88.5,100.0,023,NN,754,Tone->,FM,,,5.0W,,,,,\n"
      "12,,446.000000,,0,Cross,88.5,100.0,023,RR,754,DTCS->DTCS,FM,,,5.0W,,,,,\n"
      "13,,446.000000,,0,Cross,123.4,67.0,023,NN,754,Tone->Tone,FM,,,5.0W,,,,,\n"
      "14,,446.000000,,0,tsql,88.5,254.1,023,NN,023,,FM,,,5.0W,,,,,\n";
  ImportReport r = f.import(kHeader + rows);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.skipped.empty()) << csv::ImportSummaryText(r);
  EXPECT_EQ(r.created, 14);
  using P = std::pair<std::string, std::string>;  // {decode (RX), encode (TX)}
  EXPECT_EQ(f.tones(1), P("FFFF", "FFFF"));
  EXPECT_EQ(f.tones(2), P("FFFF", "0108"));   // Tone: TX rToneFreq only
  EXPECT_EQ(f.tones(3), P("010C", "010C"));   // TSQL: cToneFreq both ways
  EXPECT_EQ(f.tones(4), P("0201", "0201"));   // DTCS: DtcsCode both ways
  EXPECT_EQ(f.tones(5), P("010C", "0108"));   // Tone->Tone
  EXPECT_EQ(f.tones(6), P("0372", "0108"));   // Tone->DTCS: RX RxDtcsCode, second polarity letter
  EXPECT_EQ(f.tones(7), P("010C", "0301"));   // DTCS->Tone: TX DtcsCode, first letter
  EXPECT_EQ(f.tones(8), P("010C", "FFFF"));   // ->Tone
  EXPECT_EQ(f.tones(9), P("0372", "FFFF"));   // ->DTCS
  EXPECT_EQ(f.tones(10), P("FFFF", "0301"));  // DTCS->
  EXPECT_EQ(f.tones(11), P("FFFF", "0108"));  // Tone->
  EXPECT_EQ(f.tones(12), P("0372", "0301"));  // DTCS->DTCS
  EXPECT_EQ(f.tones(13), P("0100", "84D2"));  // a tone outside the standard list: 123.4 Hz
  EXPECT_EQ(f.tones(14), P("0131", "0131"));  // words in any case
}

TEST(CsvImport, DtcsPolarityLettersAreTxThenRx) {
  Csv f;
  ImportReport r = f.import(
      "Location,Frequency,Tone,DtcsCode,DtcsPolarity\n"
      "1,446,DTCS,23,NN\n2,446,DTCS,023,NR\n3,446,DTCS,D023,RN\n4,446,DTCS,023,rr\n5,446,DTCS,023,\n"
      "6,446,DTCS,023,NI\n7,446,DTCS,023,N\n");
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(f.tones(1), P("0201", "0201"));
  EXPECT_EQ(f.tones(2), P("0301", "0201"));
  EXPECT_EQ(f.tones(3), P("0201", "0301"));
  EXPECT_EQ(f.tones(4), P("0301", "0301"));
  EXPECT_EQ(f.tones(5), P("0201", "0201"));  // empty: normal both ways
  ASSERT_EQ(r.skipped.size(), 2u);
  EXPECT_EQ(r.skipped[0].line, 7);
  EXPECT_NE(r.skipped[0].reason.find("DtcsPolarity \"NI\""), std::string::npos);
  EXPECT_EQ(r.skipped[1].line, 8);
}

TEST(CsvImport, DuplexGivesTheTxFrequency) {
  Csv f;
  ImportReport r = f.import(
      "Location,Frequency,Duplex,Offset,Tone,rToneFreq\n"
      "1,462.562500,,0.000000,,\n"
      "2,442.000000,+,5.000000,,\n"
      "3,447.000000,-,5.000000,,\n"
      "4,446.012500,split,467.987500,,\n"
      "5,446.000000,off,0,Tone,88.5\n"
      "6,446.000000,+,,,\n");
  EXPECT_EQ(f.channel(1).tx.text(), "46256250");
  EXPECT_EQ(f.channel(2).tx.text(), "44700000");
  EXPECT_EQ(f.channel(3).tx.text(), "44200000");
  EXPECT_EQ(f.channel(4).rx.text(), "44601250");
  EXPECT_EQ(f.channel(4).tx.text(), "46798750");
  EXPECT_EQ(f.channel(5).tx.text(), "FFFFFFFF");
  EXPECT_EQ(f.channel(5).encode.text(), "FFFF");  // no TX: no tone to send
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].line, 7);
  EXPECT_NE(r.skipped[0].reason.find("needs an Offset"), std::string::npos);
}

TEST(CsvImport, PowerModeAndSkip) {
  using csv::ParsePower;
  EXPECT_EQ(ParsePower("5.0W"), 2);
  EXPECT_EQ(ParsePower("4 W"), 2);
  EXPECT_EQ(ParsePower("50W"), 2);
  EXPECT_EQ(ParsePower("3.75W"), 1);  // half-way goes down
  EXPECT_EQ(ParsePower("2.5W"), 1);
  EXPECT_EQ(ParsePower("2"), 1);
  EXPECT_EQ(ParsePower("1.75W"), 0);
  EXPECT_EQ(ParsePower("0.5w"), 0);
  EXPECT_EQ(ParsePower("Low"), 0);
  EXPECT_EQ(ParsePower("mid"), 1);
  EXPECT_EQ(ParsePower("Middle"), 1);
  EXPECT_EQ(ParsePower("HIGH"), 2);
  EXPECT_EQ(ParsePower("高"), 2);
  EXPECT_FALSE(ParsePower("0W"));
  EXPECT_FALSE(ParsePower("-1W"));
  EXPECT_FALSE(ParsePower("lots"));
  EXPECT_FALSE(ParsePower("W"));

  Csv f;
  ImportReport r = f.import(
      "Location,Frequency,Mode,Skip,Power\n"
      "1,446,FM,,1.0W\n2,446,NFM,S,2.5W\n3,446,nfm,P,High\n4,446,,,\n5,446,AM,,\n6,446,,X,\n7,446,,,lots\n");
  EXPECT_EQ(f.channel(1).spacing, 1);
  EXPECT_EQ(f.channel(1).power, 0);
  EXPECT_EQ(f.channel(1).scanAdd, 1);
  EXPECT_EQ(f.channel(2).spacing, 0);
  EXPECT_EQ(f.channel(2).power, 1);
  EXPECT_EQ(f.channel(2).scanAdd, 0);
  EXPECT_EQ(f.channel(3).power, 2);
  EXPECT_EQ(f.channel(3).scanAdd, 0);
  EXPECT_EQ(f.channel(4).power, 1);    // not given: a new channel's Middle
  EXPECT_EQ(f.channel(4).spacing, 1);  // and 25 kHz
  ASSERT_EQ(r.skipped.size(), 3u);
  EXPECT_NE(r.skipped[0].reason.find("Mode \"AM\""), std::string::npos);
  EXPECT_NE(r.skipped[1].reason.find("Skip \"X\""), std::string::npos);
  EXPECT_NE(r.skipped[2].reason.find("Power \"lots\""), std::string::npos);

  // A list without Skip, Mode and Power columns leaves them as they are.
  f.import("Location,Frequency\n2,447\n");
  EXPECT_EQ(f.channel(2).rx.text(), "44700000");
  EXPECT_EQ(f.channel(2).scanAdd, 0);
  EXPECT_EQ(f.channel(2).spacing, 0);
  EXPECT_EQ(f.channel(2).power, 1);
}

TEST(CsvImport, FileShapesOtherProgrammersWrite) {
  Csv f;
  // BOM, comments, CRLF, columns in another order with extra ones, quoted fields, a blank
  // spreadsheet row, and only an rToneFreq column serving TSQL.
  const std::string text =
      "\xEF\xBB\xBF# exported channel plan\r\n"
      "Frequency,Extra,location,Tone,rToneFreq,Name\r\n"
      "# a comment between rows\r\n"
      "\"462.562500\",\"a, b\",\"1\",TSQL,100.0,\"Repeater \"\"A\"\"\"\r\n"
      ",,,,,\r\n"
      "462.587500,x,2,Tone,67.0,\"two\nlines\"\r\n"
      "462.612500,y,3,,,last";
  ImportReport r = f.import(text);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.skipped.empty()) << csv::ImportSummaryText(r);
  EXPECT_EQ(r.rows, 3);
  EXPECT_EQ(f.channel(1).rx.text(), "46256250");
  EXPECT_EQ(f.tones(1), std::make_pair(std::string("010C"), std::string("010C")));
  EXPECT_EQ(f.channel(2).encode.text(), "0100");
  EXPECT_EQ(f.channel(3).rx.text(), "46261250");

  // A bad row after a quoted line end still names its own first line.
  Csv g;
  ImportReport s = g.import("Location,Name,Frequency\n1,\"a\nb\nc\",446\n2,x,999\n");
  ASSERT_EQ(s.skipped.size(), 1u);
  EXPECT_EQ(s.skipped[0].line, 5);
}

TEST(CsvImport, ListCountedFromZeroMovesUpByOne) {
  Csv f;
  ImportReport r = f.import("Location,Frequency\n0,446.00625\n1,446.01875\n127,446.1\n128,446.2\n");
  EXPECT_TRUE(r.shiftedFromZero);
  EXPECT_EQ(f.channel(1).rx.text(), "44600625");
  EXPECT_EQ(f.channel(2).rx.text(), "44601875");
  EXPECT_EQ(f.channel(128).rx.text(), "44610000");
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].line, 5);
  EXPECT_NE(r.skipped[0].reason.find("channel 129 is outside 1–128"), std::string::npos);
  EXPECT_NE(csv::ImportSummaryText(r).find("Location 0"), std::string::npos);

  Csv g;
  EXPECT_FALSE(g.import("Location,Frequency\n1,446\n").shiftedFromZero);
  EXPECT_TRUE(g.exists(1));
}

TEST(CsvImport, RowsTheRadioCannotHoldAreSkippedWithLineAndReason) {
  Csv f;
  const std::string text =
      "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,CrossMode\n"
      "1,399.990000,,,,,,,\n"            // line 2: below the band
      "2,490.000010,,,,,,,\n"            // 3: above it
      "3,488,+,5,,,,,\n"                 // 4: TX above the band
      "4,446,,,Tone,300.0,,,\n"          // 5: no such CTCSS tone
      "5,446,,,DTCS,,,024,\n"            // 6: not a DCS code
      "6,446,,,DTCS,,,089,\n"            // 7: not octal
      "7,446,,,TSQL,,88.55,,\n"          // 8: finer than 0.1 Hz
      "129,446,,,,,,,\n"                 // 9: channel outside 1..128
      "abc,446,,,,,,,\n"                 // 10
      "10,44x,,,,,,,\n"                  // 11: not a number
      "11,446.000005,,,,,,,\n"           // 12: not on the 10 Hz raster
      "12,446,x,,,,,,\n"                 // 13
      "13,446,,,DTCS-R,,,,\n"            // 14
      "14,446,,,Cross,,,,Tone=>DTCS\n"   // 15
      ",,,,,,,,\n"                       // 16: blank spreadsheet row, ignored
      "16,,,,Tone,88.5,,,\n"             // 17: no frequency
      "17,446.5,,,,,,,\n"                // 18: fits
      "17,446.6,,,,,,,\n";               // 19: the same channel again
  ImportReport r = f.import(text);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.created, 1);
  EXPECT_TRUE(f.exists(17));
  EXPECT_EQ(f.channel(17).rx.text(), "44650000");
  EXPECT_EQ(f.ws.working.channelCount, 1);  // nothing was clamped into the band
  std::vector<std::pair<int, std::string>> expected = {
      {2, "RX frequency 399.990000 MHz is outside 400–490 MHz"},
      {3, "RX frequency 490.000010 MHz is outside 400–490 MHz"},
      {4, "TX frequency 493.000000 MHz is outside 400–490 MHz"},
      {5, "rToneFreq \"300.0\" is no CTCSS tone"},
      {6, "DtcsCode \"024\" is not in the radio's DCS code list"},
      {7, "DtcsCode \"089\""},
      {8, "cToneFreq \"88.55\""},
      {9, "channel 129 is outside 1–128"},
      {10, "Location \"abc\" is not a channel number"},
      {11, "Frequency \"44x\" is not a number"},
      {12, "Frequency 446.000005 MHz is not a multiple of 10 Hz"},
      {13, "Duplex \"x\""},
      {14, "Tone \"DTCS-R\""},
      {15, "CrossMode \"Tone=>DTCS\""},
      {17, "the Frequency is empty"},
      {19, "channel 17 is already given by line 18"},
  };
  ASSERT_EQ(r.skipped.size(), expected.size()) << csv::ImportSummaryText(r);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(r.skipped[i].line, expected[i].first) << r.skipped[i].reason;
    EXPECT_NE(r.skipped[i].reason.find(expected[i].second), std::string::npos) << r.skipped[i].reason;
  }
  EXPECT_TRUE(f.messages.empty());  // no "Frequency is out of range." box either
}

TEST(CsvImport, ALocationFarBeyondAnyChannelIsNoChannelNumber) {
  // 2^64 + 5 and 2^64 must not wrap into channel 5 and Location 0 (which would move the list).
  Csv f;
  ImportReport r = f.import("Location,Frequency\n18446744073709551621,446.1\n18446744073709551616,446.2\n"
                            "-18446744073709551615,446.3\n1,446.4\n2,446.5\n");
  EXPECT_FALSE(r.shiftedFromZero);
  EXPECT_EQ(r.created, 2);
  EXPECT_EQ(f.channel(1).rx.text(), "44640000");
  EXPECT_EQ(f.channel(2).rx.text(), "44650000");
  ASSERT_EQ(r.skipped.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r.skipped[i].line, i + 2);
    EXPECT_NE(r.skipped[i].reason.find("is not a channel number"), std::string::npos) << r.skipped[i].reason;
  }
}

TEST(CsvImport, HugeFilesAreRefusedAndTheSummaryStaysShort) {
  Csv f;
  std::string many = "Location,Frequency\n";
  for (int i = 0; i < 10001; ++i) many += "1,1\n";
  ImportReport r = f.import(many);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("more than 10000 rows"), std::string::npos) << r.error;
  EXPECT_NE(f.import(std::string((1 << 20) + 1, '\n')).error.find("1 MiB"), std::string::npos);
  EXPECT_EQ(f.ws.working.channelCount, 0);

  // 250 rows out of the band: 100 listed, the rest counted.
  std::string bad = "Location,Frequency\n";
  for (int i = 0; i < 250; ++i) bad += "1,999\n";
  r = f.import(bad);
  ASSERT_EQ(r.skipped.size(), 250u);
  const std::vector<std::string> lines = csv::SkippedRowLines(r);
  ASSERT_EQ(lines.size(), 101u);
  EXPECT_EQ(lines[99], "line 101: RX frequency 999.000000 MHz is outside 400–490 MHz");
  EXPECT_EQ(lines[100], "… and 150 more rows skipped.");
  const std::string summary = csv::ImportSummaryText(r);
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 103) << "head lines and 101";

  // A quote never closed swallows the rest of the file: one row, a short reason; a long cell
  // is cut in its reason.
  r = f.import("Location,Name,Frequency\n1,\"open," + std::string(100000, 'x') + "\n2,,446\n" +
               "3,," + std::string(5000, '4') + "x\n");
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].line, 2);
  EXPECT_NE(r.skipped[0].reason.find("never closed"), std::string::npos);
  r = f.import("Location,Frequency\n3," + std::string(5000, '4') + "x\n");
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_LT(r.skipped[0].reason.size(), 120u) << r.skipped[0].reason;
  EXPECT_NE(r.skipped[0].reason.find("4444…\" is not a number"), std::string::npos) << r.skipped[0].reason;
}

TEST(CsvImport, TheBandOfTheOpenConfigurationDecides) {
  Csv f(true);  // 136 - 174 MHz
  ImportReport r = f.import("Location,Frequency\n1,145.5\n2,446\n");
  EXPECT_TRUE(f.exists(1));
  EXPECT_FALSE(f.exists(2));
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_NE(r.skipped[0].reason.find("outside 136–174 MHz"), std::string::npos);
}

TEST(CsvImport, NoChannelListChangesNothing) {
  Csv f;
  ChangeChannel(f.ctx, 1, 1, 1, "450");
  const CodeplugData before = f.ws.working;
  for (const std::string &text : {std::string(), std::string("# only a comment\n"),
                                  std::string("Location,Name\n1,x\n"), std::string("\x01\x02\xff,\n\n")}) {
    ImportReport r = f.import(text);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
  }
  EXPECT_FALSE(f.import("Frequency\n446\n").ok);  // Location needed unless appended
  EXPECT_FALSE(f.import(std::string(csv::kMaxCsvBytes + 1, 'x')).ok);
  // Rows that all fail leave the plan alone, even when the list was to replace it.
  ImportOptions replace;
  replace.replaceAll = true;
  ImportReport r = f.import("Location,Frequency\n2,10\n", replace);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.imported(), 0);
  EXPECT_EQ(r.removed, 0);
  EXPECT_TRUE(f.ws.working == before);
}

TEST(CsvImport, OverwritesReplacesAndAppends) {
  Csv f;
  for (int n : {1, 2, 3, 10}) ChangeChannel(f.ctx, 1, n, 1, "450");
  ChangeChannel(f.ctx, 1, 2, kFieldScramble, "4");

  // At Location: channel 2 is overwritten (its scramble, which a list does not carry, stays).
  ImportReport r = f.import("Location,Frequency\n2,451\n5,452\n");
  EXPECT_EQ(r.created, 1);
  EXPECT_EQ(r.replaced, 1);
  EXPECT_EQ(f.channel(2).rx.text(), "45100000");
  EXPECT_EQ(f.channel(2).scramble, 4);
  EXPECT_EQ(f.ws.working.channelCount, 5);

  // Append: after the highest channel in use, in file order; Location is ignored.
  ImportOptions append;
  append.placement = csv::Placement::Append;
  r = f.import("Frequency,Location\n460,1\n461,1\n", append);
  EXPECT_EQ(r.channels, (std::vector<int>{11, 12}));
  EXPECT_EQ(f.channel(11).rx.text(), "46000000");

  // Replace the plan: channels the list does not fill go.
  ImportOptions replace;
  replace.replaceAll = true;
  r = f.import("Location,Frequency\n3,470\n4,471\n", replace);
  EXPECT_EQ(r.removed, 6);
  EXPECT_EQ(r.replaced, 1);
  EXPECT_EQ(r.created, 1);
  EXPECT_EQ(f.ws.working.channelCount, 2);
  EXPECT_TRUE(f.exists(3) && f.exists(4));

  // Append replacing the plan starts at channel 1; the gaps below the highest channel are
  // used once the channels above it run out.
  append.replaceAll = true;
  r = f.import("Frequency\n480\n481\n", append);
  EXPECT_EQ(r.channels, (std::vector<int>{1, 2}));
  EXPECT_EQ(f.ws.working.channelCount, 2);

  ImportOptions fill;
  fill.placement = csv::Placement::Append;
  Csv g;
  ChangeChannel(g.ctx, 1, 127, 1, "450");
  ChangeChannel(g.ctx, 1, 5, 1, "450");
  r = g.import("Frequency\n401\n402\n403\n", fill);
  EXPECT_EQ(r.channels, (std::vector<int>{128, 1, 2}));
}

TEST(CsvImport, AppendReportsRowsBeyondTheLastFreeChannel) {
  Csv f;
  for (int n = 1; n <= 127; ++n) ChangeChannel(f.ctx, 1, n, 1, "450");
  ImportOptions append;
  append.placement = csv::Placement::Append;
  ImportReport r = f.import("Frequency\n401\n402\n", append);
  EXPECT_EQ(r.channels, (std::vector<int>{128}));
  ASSERT_EQ(r.skipped.size(), 1u);
  EXPECT_EQ(r.skipped[0].line, 3);
  EXPECT_EQ(r.skipped[0].reason, "no free channel left");
}

TEST(CsvImport, ChannelsGoThroughTheChannelOperations) {
  Csv f;
  struct Listener : ChannelListener {
    int all = 0;
    void allChannelsChanged() override { ++all; }
  } listener;
  f.ctx.addListener(&listener);
  EXPECT_EQ(f.ws.working.scan.words[2], 255);
  f.import("Location,Frequency\n20,446\n");
  EXPECT_EQ(f.ws.working.scan.words[2], 4);  // scan bank 2 now holds channel 20 (position 4)
  EXPECT_EQ(listener.all, 1);                // the windows redraw once
  f.ctx.removeListener(&listener);
}

TEST(CsvImport, TheWholeImportIsOneUndoStep) {
  Csv f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "450");
  const CodeplugData before = f.ws.working;
  const std::size_t steps = f.ws.history.undoCount();
  ImportOptions replace;
  replace.replaceAll = true;
  f.import("Location,Frequency\n2,446\n3,447\n", replace);
  EXPECT_EQ(f.ws.history.undoCount(), steps + 1);
  ASSERT_TRUE(UndoEdit(f.ctx));
  EXPECT_TRUE(f.ws.working == before);
}

// An open scan window only shows the import's result: the priority channels follow as they do
// with the window closed, and undo gives back the plan as it was.
TEST(CsvImport, AnOpenScanWindowChangesNothingOfTheImport) {
  struct OpenScanWindow : ChannelListener {
    bool reshowScanChoices() override { return true; }
  } window;
  ImportOptions replace;
  replace.replaceAll = true;
  Csv closed, open;
  for (Csv *f : {&closed, &open}) {
    for (int n : {33, 40}) ChangeChannel(f->ctx, 1, n, kFieldRx, "450");
    f->ws.working.scan.words[3] = 8;  // channel 40, which the list removes
  }
  const CodeplugData before = open.ws.working;
  open.ctx.addListener(&window);
  const std::string list = "Location,Frequency\n1,446\n35,447\n";
  closed.import(list, replace);
  open.import(list, replace);
  EXPECT_EQ(closed.ws.working.scan.words[3], 3) << "channel 35";
  EXPECT_TRUE(open.ws.working == closed.ws.working);
  ASSERT_TRUE(UndoEdit(open.ctx));
  EXPECT_TRUE(open.ws.working == before);
}

TEST(CsvImport, SummaryInChinese) {
  Csv f;
  SetLanguageIndex(kChinese);
  ImportReport r = f.import("Location,Frequency\n0,446\n1,500\n");
  const std::string s = csv::ImportSummaryText(r);
  SetLanguageIndex(kEnglish);
  EXPECT_NE(s.find("已导入信道：1 个"), std::string::npos) << s;
  EXPECT_NE(s.find("第 3 行：接收频率 500.000000 MHz 超出 400–490 MHz"), std::string::npos) << s;
}

// ---- export ----

TEST(CsvExport, WritesTheFullHeaderFillersAndWatts) {
  Csv f;
  f.import(kHeader +
           "1,,462.562500,,0,,,,,,,,NFM,,,1W,,,,,\n"
           "2,,446.000000,+,5.000000,Tone,67.0,,,,,,FM,,S,2.5W,,,,,\n"
           "3,,446.006250,-,1.500000,TSQL,,123.0,,,,,FM,,,5W,,,,,\n"
           "4,,446.012500,,0,DTCS,,,754,RN,,,FM,,,5W,,,,,\n"
           "5,,446.025000,off,0,Cross,,100.0,,NN,,->Tone,FM,,,5W,,,,,\n"
           "6,,446.050000,split,447.050000,Cross,,,023,NR,754,DTCS->DTCS,FM,,,5W,,,,,\n"
           "9,,446.062500,,0,Cross,71.9,,,RN,025,Tone->DTCS,FM,,,5W,,,,,\n"
           "128,,489.999990,,0,Cross,88.5,123.4,,,,Tone->Tone,FM,,,5W,,,,,\n");
  std::vector<std::string> warnings;
  const std::string expected =
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
      "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
      "1,CH001,462.562500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,1.0W,,,,,\r\n"
      "2,CH002,446.000000,+,5.000000,Tone,67.0,88.5,023,NN,023,Tone->Tone,FM,5.00,S,2.5W,,,,,\r\n"
      "3,CH003,446.006250,-,1.500000,TSQL,88.5,123.0,023,NN,023,Tone->Tone,FM,6.25,,5.0W,,,,,\r\n"
      "4,CH004,446.012500,,0.000000,DTCS,88.5,88.5,754,RN,023,Tone->Tone,FM,6.25,,5.0W,,,,,\r\n"
      "5,CH005,446.025000,off,0.000000,Cross,88.5,100.0,023,NN,023,->Tone,FM,5.00,,5.0W,,,,,\r\n"
      "6,CH006,446.050000,+,1.000000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,FM,5.00,,5.0W,,,,,\r\n"
      "9,CH009,446.062500,,0.000000,Cross,71.9,88.5,023,NN,025,Tone->DTCS,FM,6.25,,5.0W,,,,,\r\n"
      "128,CH128,489.999990,,0.000000,Cross,88.5,123.4,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n";
  EXPECT_EQ(csv::ExportChannelCsv(f.ctx, &warnings), expected);
  EXPECT_TRUE(warnings.empty());
}

TEST(CsvExport, WhatExportWritesImportReadsBackToTheSameChannels) {
  Csv a;
  a.import(kHeader +
           "1,,400.000000,,0,DTCS,,,017,RR,,,NFM,,S,1W,,,,,\n"
           "2,,490.000000,-,0.012340,Tone,254.1,,,,,,FM,,,2.5W,,,,,\n"
           "7,,446.000000,off,0,TSQL,,50.0,,,,,FM,,,5W,,,,,\n"
           "8,,446.000000,,0,Cross,,,765,NR,017,DTCS->DTCS,FM,,P,5W,,,,,\n"
           "9,,446.000000,,0,Cross,260.0,,765,RN,017,Tone->DTCS,FM,,,5W,,,,,\n"
           "64,,433.123450,+,10,Cross,,69.3,023,RN,,DTCS->Tone,FM,,,Low,,,,,\n"
           "65,,433.123450,,0,Cross,,,023,RN,,DTCS->,FM,,,Mid,,,,,\n"
           "66,,433.123450,,0,Cross,,,,NR,754,->DTCS,NFM,,,High,,,,,\n"
           "67,,433.123450,,0,Cross,77.0,,,,,Tone->,NFM,,,High,,,,,\n");
  ASSERT_EQ(a.ws.working.channelCount, 9);
  const std::string first = csv::ExportChannelCsv(a.ctx);

  Csv b;
  ImportReport r = b.import(first);
  EXPECT_TRUE(r.skipped.empty()) << csv::ImportSummaryText(r);
  ASSERT_EQ(b.ws.working.channelCount, a.ws.working.channelCount);
  for (int k = 1; k <= a.ws.working.channelCount; ++k) {
    const ChannelRecord &e = *a.ws.working.slot(k);
    EXPECT_TRUE(b.channel(e.number) == e) << "channel " << e.number;
  }
  EXPECT_EQ(csv::ExportChannelCsv(b.ctx), first);
}

TEST(CsvExport, UnreadableStoredValuesAreNamedNotInvented) {
  Csv f;
  ChangeChannel(f.ctx, 1, 1, 1, "450");
  ChangeChannel(f.ctx, 1, 2, 1, "451");
  f.channel(1).encode.assign("ZZZZ");
  f.channel(2).rx.assign("4x000000");
  std::vector<std::string> warnings;
  const std::string text = csv::ExportChannelCsv(f.ctx, &warnings);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_NE(warnings[0].find("channel 1: its encode tone code \"ZZZZ\""), std::string::npos);
  EXPECT_NE(warnings[1].find("channel 2"), std::string::npos);
  EXPECT_EQ(text.find("CH002"), std::string::npos);
}

TEST(CsvFile, ReadsRegularFilesOnly) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("n27_csvfile_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string text, error;
  EXPECT_FALSE(csv::ReadChannelCsvFile((dir / "missing.csv").string(), text, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(csv::ReadChannelCsvFile(dir.string(), text, error));
  std::ofstream((dir / "big.csv").string()) << std::string(csv::kMaxCsvBytes + 1, ',');
  EXPECT_FALSE(csv::ReadChannelCsvFile((dir / "big.csv").string(), text, error));
  std::ofstream((dir / "ok.csv").string()) << "Location,Frequency\n1,446\n";
  EXPECT_TRUE(csv::ReadChannelCsvFile((dir / "ok.csv").string(), text, error));
  EXPECT_EQ(text, "Location,Frequency\n1,446\n");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace n27
