// Frames, password, tuning block, version table and port numbering, against bytes and texts
// written out by hand.

#include <gtest/gtest.h>

#include <set>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/messages.h"
#include "link/frames.h"
#include "link/password.h"
#include "link/port_directory.h"
#include "link/tuning_block.h"
#include "link/version_table.h"

namespace n27 {
namespace {

using link::Bytes;

std::string tempPath(const std::string &name) {
  return (std::filesystem::temp_directory_path() / ("n27_link_" + name)).string();
}

void writeFile(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(Frames, RequestsAndTheirReplyLengths) {
  EXPECT_EQ(link::ProgramRequest().bytes, (Bytes{0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D}));
  EXPECT_EQ(link::ProgramRequest().replyLength, 1u);
  EXPECT_EQ(link::IdentificationRequest().replyLength, 14u);
  EXPECT_EQ(link::ReadRequest(480).bytes, (Bytes{0x52, 0x01, 0xE0, 0x10}));
  EXPECT_EQ(link::ReadRequest(480).replyLength, 21u);
  EXPECT_EQ(link::EndRequest().bytes, Bytes{0x45});
}

TEST(Frames, DataFrameCarriesTheImageBlockAndItsChecksum) {
  RadioImage image;
  for (std::size_t i = 0; i < 16; ++i) image.set(2544 + i, static_cast<uint8_t>(0xF0 + i));
  Bytes f = link::DataFrame(image, 2544).bytes;
  // 57 09 F0 10 F0..FF: sum 0x160 + 0xF78 = 0x10D8 → D8
  Bytes expected = {0x57, 0x09, 0xF0, 0x10, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6,
                    0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF, 0xD8};
  EXPECT_EQ(f, expected);
}

TEST(Frames, StoringAFrameNeverLeavesTheImage) {
  RadioImage image;
  Bytes f(21, 0xAB);
  f[0] = 0x57;
  f[1] = 0x09;  // 2553: eight bytes fit, the rest would lie past 2560
  f[2] = 0xF9;
  f[3] = 0x10;
  link::StoreDataFrame(image, f);
  EXPECT_EQ(image.at(2553), 0xAB);
  EXPECT_EQ(image.at(2560), 0xAB);
  EXPECT_EQ(image.at(2552), 0x00);
  f[1] = 0xFF;  // 65520..: nothing at all
  link::StoreDataFrame(image, f);
  Bytes shortFrame = {0x57, 0x00, 0x00, 0x10, 0x01};
  link::StoreDataFrame(image, shortFrame);  // only the byte it has
  EXPECT_EQ(image.at(0), 0x01);
  EXPECT_EQ(image.at(1), 0x00);
}

TEST(Frames, IdentificationReply) {
  Bytes r = {0x50, 'N', '2', '7', 'P', 'R', 0x01, 0x33, 'V', '1', '0', '1', 0xC0, 0x00};
  ASSERT_TRUE(link::IsIdentificationReply(r));
  auto id = link::ParseIdentification(r);
  EXPECT_EQ(id.model, "N27PR");
  EXPECT_EQ(id.band, 1);
  EXPECT_EQ(id.firmware, "V101");
  EXPECT_TRUE(id.killed);
  EXPECT_TRUE(id.stunned);
  r[3] = ' ';
  r[4] = ' ';
  r[5] = ' ';
  EXPECT_EQ(link::ParseIdentification(r).model, "N2");  // trailing blanks removed
  r[12] = 0x3F;
  EXPECT_FALSE(link::ParseIdentification(r).killed);
  EXPECT_FALSE(link::ParseIdentification(r).stunned);
  r.pop_back();
  EXPECT_FALSE(link::IsIdentificationReply(r));
}

Bytes passwordFrame(std::initializer_list<uint8_t> last4) {
  Bytes f(21, 0xFF);
  f[0] = 0x57;
  f[1] = 0x01;
  f[2] = 0xE0;
  f[3] = 0x10;
  std::size_t i = 16;
  for (uint8_t b : last4) f[i++] = b;
  return f;
}

TEST(Password, CheckAgainstTheEnteredPassword) {
  EXPECT_TRUE(link::PasswordAccepted(passwordFrame({0xFF, 0xFF, 0xFF, 0xFF}), "anything"));
  EXPECT_TRUE(link::PasswordAccepted(passwordFrame({0x00, 'a', 'b', 'c'}), ""));
  EXPECT_EQ(link::RadioPassword(passwordFrame({'a', 'b', 0x00, 0xFF})), "ab");
  EXPECT_EQ(link::RadioPassword(passwordFrame({'a', ' ', ' ', 0xFF})), "a");
  EXPECT_TRUE(link::PasswordAccepted(passwordFrame({'a', 'b', 'c', 'd'}), "abcd"));
  EXPECT_FALSE(link::PasswordAccepted(passwordFrame({'a', 'b', 'c', 'd'}), "ABCD"));
  EXPECT_FALSE(link::PasswordAccepted(passwordFrame({'a', 'b', 'c', 'd'}), ""));
  EXPECT_EQ(link::CleanPassword(std::string("ab \0x", 5)), "ab");
}

TEST(TuningBlock, DecodeAndEncode) {
  Bytes f(21, 0);
  f[0] = 0x57;
  f[1] = 0x01;
  f[2] = 0xF0;
  f[3] = 0x10;
  const uint8_t data[16] = {0x11, 0x22, 0x33, 0x81, 0x23, 4, 5, 6, 7, 0x02, 0x10, 9, 10, 11, 12, 13};
  for (int i = 0; i < 16; ++i) f[4 + i] = data[i];
  auto t = link::DecodeTuningBlock(f);
  EXPECT_EQ(t[0], 0x11);
  EXPECT_EQ(t[3], 0x23);  // high byte with bit 7: the low byte alone
  EXPECT_EQ(t[4], 4);
  EXPECT_EQ(t[8], 0x210);
  EXPECT_EQ(t[9], 9);
  EXPECT_EQ(t[13], 13);
  EXPECT_EQ(t[14], 0);
  EXPECT_EQ(t[15], 0);

  t[3] = 0x1FF;
  t[15] = 77;  // not sent
  Bytes e = link::EncodeTuningBlock(t).bytes;
  ASSERT_EQ(e.size(), 21u);
  EXPECT_EQ((Bytes(e.begin(), e.begin() + 4)), (Bytes{0x57, 0x01, 0xF0, 0x10}));
  EXPECT_EQ(e[7], 0x01);
  EXPECT_EQ(e[8], 0xFF);
  EXPECT_EQ(e[13], 0x02);
  EXPECT_EQ(e[14], 0x10);
  EXPECT_EQ(e[19], 13);
  EXPECT_EQ(e[20], link::Checksum(e.data(), 20));
}

TEST(TestMode, MarkerFile) {
  const std::string folder = tempPath("testmode");
  std::filesystem::create_directories(folder);
  const std::string marker = folder + "/TestData.ini";
  std::remove(marker.c_str());
  EXPECT_FALSE(link::LoadTestModeFlag(folder));
  writeFile(marker, "N27-FACTORY-TUNE:7Q2K-WX93-HB6M!   \r\n");
  EXPECT_TRUE(link::LoadTestModeFlag(folder));
  writeFile(marker, std::string("N27-FACTORY-TUNE:7Q2K-WX93-HB6M!\0junk", 37));
  EXPECT_TRUE(link::LoadTestModeFlag(folder));
  writeFile(marker, "n27-factory-tune:7q2k-wx93-hb6m!");
  EXPECT_FALSE(link::LoadTestModeFlag(folder));
  writeFile(marker, "N27-FACTORY-TUNE:7Q2K-WX93-HB6M!x");
  EXPECT_FALSE(link::LoadTestModeFlag(folder));
  std::filesystem::remove_all(folder);
}

TEST(VersionTable, CompatibilityAndReleaseLookup) {
  const std::string path = tempPath("Version.ini");
  writeFile(path,
            "[Version]\nCurrentVersion=V200 beta\nSoftVersionCount=1\nFirmVersionCount=4\n"
            "[Soft]\nVersion0=V200\n"
            "[Firm]\nFirm0=V200V101\nFirm1=V200,V103\nFirm2=V300V102\nFirm3=V1\n");
  VersionTable t = VersionTable::Load(path);
  EXPECT_EQ(t.currentVersion(), "V200");
  EXPECT_EQ(t.softVersions(), std::vector<std::string>{"V200"});
  EXPECT_TRUE(t.compatible("V200", "V101"));
  EXPECT_TRUE(t.compatible("V200", "V103"));  // one data version, two firmware versions
  EXPECT_FALSE(t.compatible("V200", "V102"));
  EXPECT_FALSE(t.compatible("V1", "V1"));     // an entry too short never matches
  EXPECT_EQ(t.programVersionFor("V102"), "V300");
  EXPECT_EQ(t.programVersionFor("V999"), "");
  std::remove(path.c_str());

  VersionTable missing = VersionTable::Load(path);
  EXPECT_TRUE(missing.pairs().empty());
  EXPECT_FALSE(missing.compatible("V200", "V101"));

  writeFile(path, "[Version]\nFirmVersionCount=-3\n");
  EXPECT_TRUE(VersionTable::Load(path).pairs().empty());
  std::remove(path.c_str());
}

TEST(VersionTable, PathsAndDisplay) {
  EXPECT_EQ(VersionDisplay("V200"), "V2.00");
  EXPECT_EQ(VersionFilePath("/opt/n27/V200"), "/opt/n27/Version.ini");
  EXPECT_EQ(OtherReleaseProgram("/opt/n27/V200", "V300", "n27"), "/opt/n27/V300/n27");
}

TEST(PortDirectory, StableNumbersForDevices) {
  EXPECT_EQ(ComNumberForDevice("/dev/ttyS0"), 1);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyS63"), 64);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyS64"), 0);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyUSB0"), 65);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyACM1"), 130);
  EXPECT_EQ(ComNumberForDevice("/dev/rfcomm0"), 177);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyUSBx"), 0);
  EXPECT_EQ(ComNumberForDevice("/dev/pts/3"), 0);
  EXPECT_EQ(ParseComName(" com12 "), 12);
  EXPECT_EQ(ParseComName("COM0"), std::nullopt);
  EXPECT_EQ(ParseComName("COM256"), std::nullopt);
  EXPECT_EQ(ParseComName("COMx"), std::nullopt);
}

TEST(PortDirectory, ListWithConfiguredPortsAndStartupChoice) {
  const std::string path = tempPath("mysetup.ini");
  writeFile(path, "[language]\ncomPort=4\n[Ports]\nCOM250=/dev/pts/7\nCOM65=/dev/pts/9\nbad=/dev/x\n"
                  "COM9=\n");
  auto configured = ConfiguredPorts(path);
  ASSERT_EQ(configured.size(), 2u);
  std::vector<PortEntry> system = {{0, "/dev/ttyUSB0", "FT232R", false},
                                   {0, "/dev/ttyS4", "", false},
                                   {0, "/dev/ttyS2", "", false},
                                   {0, "/dev/weird", "", false}};
  auto ports = BuildPortList(system, configured);
  ASSERT_EQ(ports.size(), 5u);
  EXPECT_EQ(ports[0].number, 3);
  EXPECT_EQ(ports[1].number, 5);
  EXPECT_EQ(ports[2].number, 65);
  EXPECT_EQ(ports[2].device, "/dev/pts/9");  // the settings file wins
  EXPECT_EQ(ports[3].number, 233);           // a device of no known family still gets a number
  EXPECT_EQ(ports[3].device, "/dev/weird");
  EXPECT_EQ(ports[4].number, 250);

  EXPECT_EQ(ChooseStartupPort(ports, 4), 3);  // saved port gone: the first
  EXPECT_EQ(ChooseStartupPort(ports, 250), 250);
  EXPECT_EQ(ChooseStartupPort({}, 4), 0);
  EXPECT_EQ(ResolvePortArgument(ports, "COM250"), std::optional<std::string>("/dev/pts/7"));
  EXPECT_EQ(ResolvePortArgument(ports, "/dev/ttyUSB3"), std::optional<std::string>("/dev/ttyUSB3"));
  EXPECT_EQ(ResolvePortArgument(ports, "COM7"), std::nullopt);
  std::remove(path.c_str());
}

TEST(PortDirectory, EverySerialFamilyHasANumber) {
  EXPECT_EQ(ComNumberForDevice("/dev/ttyXRUSB0"), 193);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyXRUSB7"), 200);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyCH343USB1"), 202);
  EXPECT_EQ(ComNumberForDevice("/dev/ttymxc2"), 211);
  EXPECT_EQ(ComNumberForDevice("/dev/ttyXRUSB8"), 0);  // past its range: a named number
  EXPECT_EQ(ComNumberForDevice("/dev/ttyUSB+1"), 0);
  // A leading zero is no kernel name: such a device gets a named number, not another's.
  EXPECT_EQ(ComNumberForDevice("/dev/ttyXRUSB05"), 0);
  const auto both = BuildPortList({{0, "/dev/ttyXRUSB5", "", false}, {0, "/dev/ttyXRUSB05", "", false}}, {});
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].number, 198);
  EXPECT_EQ(both[1].number, NamedComNumber("/dev/ttyXRUSB05"));
  // Named numbers: FNV-1a of the name, 217 + hash % 33; the same on every machine.
  EXPECT_EQ(NamedComNumber("/dev/ttyTHS0"), 234);
  EXPECT_EQ(NamedComNumber("/dev/ttyTHS1"), 244);
  EXPECT_EQ(NamedComNumber("/dev/ttyXRUSB8"), 230);
  EXPECT_EQ(NamedComNumber("/dev/ttyS70"), 218);
  EXPECT_EQ(NamedComNumber("/dev/ttyCH9344USB0"), 218);

  for (const char *name : {"ttyS0", "ttyUSB12", "ttyACM0", "ttyAMA1", "rfcomm0", "ttyXRUSB3", "ttyCH343USB0",
                           "ttymxc4", "ttyTHS2", "ttySC1", "ttyCH9344USB5", "ttyO2", "ttyS70"})
    EXPECT_TRUE(IsSerialDeviceName(name)) << name;
  for (const char *name :
       {"ttyUSB", "tty5", "tty", "ptmx", "console", "ttyUSB0x", "ttyS-1", "ttyprintk", "pts", "ttyS00"})
    EXPECT_FALSE(IsSerialDeviceName(name)) << name;
  EXPECT_TRUE(IsPlaceholderUartName("ttyS3"));
  EXPECT_FALSE(IsPlaceholderUartName("ttySC3"));
  EXPECT_FALSE(IsPlaceholderUartName("ttyUSB0"));
}

TEST(PortDirectory, RefreshesFollowTheDevicesThatComeAndGo) {
  std::set<std::string> present = {"/dev/pts/7"};
  const DeviceExists exists = [&](const std::string &d) { return present.count(d) > 0; };
  const std::vector<PortEntry> configured = {{250, "/dev/pts/7", "", true}, {251, "/dev/pts/99", "", true}};
  auto numbers = [](const std::vector<PortEntry> &ports) {
    std::vector<std::pair<int, std::string>> out;
    for (const PortEntry &p : ports) out.emplace_back(p.number, p.device);
    return out;
  };
  using List = std::vector<std::pair<int, std::string>>;
  PortDirectory dir;

  // An adapter seen twice (its /dev name and its /dev/serial/by-id link), a board UART; the
  // configured pseudo-terminal that is not there is not offered.
  auto ports = dir.refresh({{0, "/dev/ttyUSB0", "", false},
                            {0, "/dev/ttyUSB0", "usb-FTDI_FT232R-if00-port0", false},
                            {0, "/dev/ttyTHS0", "", false}},
                           configured, exists);
  EXPECT_EQ(numbers(ports), (List{{65, "/dev/ttyUSB0"}, {234, "/dev/ttyTHS0"}, {250, "/dev/pts/7"}}));
  EXPECT_EQ(ports[0].description, "usb-FTDI_FT232R-if00-port0");

  // The adapter pulled out, another plugged in, the simulated radio ended.
  present.clear();
  ports = dir.refresh({{0, "/dev/ttyCH343USB0", "", false}, {0, "/dev/ttyTHS0", "", false}}, configured, exists);
  EXPECT_EQ(numbers(ports), (List{{201, "/dev/ttyCH343USB0"}, {234, "/dev/ttyTHS0"}}));

  // Two names on one first choice: the one that came first keeps it for the run, also while
  // it is unplugged; a fresh start gives it to the first name in alphabetical order.
  ports = dir.refresh({{0, "/dev/ttyS70", "", false}}, {}, exists);
  EXPECT_EQ(numbers(ports), (List{{218, "/dev/ttyS70"}}));
  ports = dir.refresh({{0, "/dev/ttyCH9344USB0", "", false}, {0, "/dev/ttyS70", "", false}}, {}, exists);
  EXPECT_EQ(numbers(ports), (List{{218, "/dev/ttyS70"}, {219, "/dev/ttyCH9344USB0"}}));
  ports = dir.refresh({{0, "/dev/ttyCH9344USB0", "", false}}, {}, exists);
  EXPECT_EQ(numbers(ports), (List{{219, "/dev/ttyCH9344USB0"}}));
  ports = dir.refresh({{0, "/dev/ttyS70", "", false}, {0, "/dev/ttyCH9344USB0", "", false}}, {}, exists);
  EXPECT_EQ(numbers(ports), (List{{218, "/dev/ttyS70"}, {219, "/dev/ttyCH9344USB0"}}));
  EXPECT_EQ(numbers(BuildPortList({{0, "/dev/ttyS70", "", false}, {0, "/dev/ttyCH9344USB0", "", false}}, {})),
            (List{{218, "/dev/ttyCH9344USB0"}, {219, "/dev/ttyS70"}}));

  // 33 other named devices at once: the number kept for the unplugged one is given out too.
  PortDirectory crowded;
  crowded.refresh({{0, "/dev/ttyS70", "", false}}, {}, exists);
  std::vector<PortEntry> many;
  for (int i = 0; i < 33; ++i) many.push_back({0, "/dev/ttyTHS" + std::to_string(i), "", false});
  ports = crowded.refresh(many, {}, exists);
  ASSERT_EQ(ports.size(), 33u);
  EXPECT_EQ(ports.front().number, 217);
  EXPECT_EQ(ports.back().number, 249);
  many.push_back({0, "/dev/ttyTHS33", "", false});
  EXPECT_EQ(crowded.refresh(many, {}, exists).size(), 33u);  // no number left for a 34th

  // A configured entry naming a system device shows it once, under the configured number.
  present = {"/dev/ttyUSB1"};
  ports = dir.refresh({{0, "/dev/ttyUSB1", "CP2102", false}}, {{9, "/dev/ttyUSB1", "", true}}, exists);
  EXPECT_EQ(numbers(ports), (List{{9, "/dev/ttyUSB1"}}));
}

TEST(PortDirectory, OpenErrorCarriesTheReason) {
  std::string text = PortOpenErrorText(PortProblem::NoPermission, "/dev/ttyUSB0", "dialout");
  EXPECT_EQ(text.rfind(msg::kPortError.str() + "\n", 0), 0u);
  EXPECT_NE(text.find("/dev/ttyUSB0"), std::string::npos);
  EXPECT_NE(text.find("usermod -aG dialout"), std::string::npos);
  EXPECT_NE(PortOpenErrorText(PortProblem::Busy, "/dev/ttyS0").find("in use"), std::string::npos);
  EXPECT_NE(PortOpenErrorText(PortProblem::Missing, "/dev/ttyS0").find("does not exist"),
            std::string::npos);
  EXPECT_NE(PortOpenErrorText(PortProblem::Other, "/dev/x", "", "I/O error").find("I/O error"),
            std::string::npos);
}

}  // namespace
}  // namespace n27
