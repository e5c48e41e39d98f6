// The tone list and its codes, every entry written out: a tone swapped, changed or moved in
// the list changes what the radio receives.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/language.h"
#include "channel_test_util.h"
#include "channels/field_codec.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

// Position in the list = position here: the Off entry, 50 CTCSS tones, 116 DCS codes normal,
// the same 116 inverted.
const std::vector<std::pair<const char *, const char *>> kTones = {
    {"None", "FFFF"}, {"67.0", "0100"}, {"69.3", "0101"}, {"71.9", "0102"}, {"74.4", "0103"},
    {"77.0", "0104"}, {"79.7", "0105"}, {"82.5", "0106"}, {"85.4", "0107"}, {"88.5", "0108"},
    {"91.5", "0109"}, {"94.8", "010A"}, {"97.4", "010B"}, {"100.0", "010C"}, {"103.5", "010D"},
    {"107.2", "010E"}, {"110.9", "010F"}, {"114.8", "0110"}, {"118.8", "0111"}, {"123.0", "0112"},
    {"127.3", "0113"}, {"131.8", "0114"}, {"136.5", "0115"}, {"141.3", "0116"}, {"146.2", "0117"},
    {"151.4", "0118"}, {"156.7", "0119"}, {"159.8", "011A"}, {"162.2", "011B"}, {"165.5", "011C"},
    {"167.9", "011D"}, {"171.3", "011E"}, {"173.8", "011F"}, {"177.3", "0120"}, {"179.9", "0121"},
    {"183.5", "0122"}, {"186.2", "0123"}, {"189.9", "0124"}, {"192.8", "0125"}, {"196.6", "0126"},
    {"199.5", "0127"}, {"203.5", "0128"}, {"206.5", "0129"}, {"210.7", "012A"}, {"218.1", "012B"},
    {"225.7", "012C"}, {"229.1", "012D"}, {"233.6", "012E"}, {"241.8", "012F"}, {"250.3", "0130"},
    {"254.1", "0131"}, {"D017N", "0200"}, {"D023N", "0201"}, {"D025N", "0202"}, {"D026N", "0203"},
    {"D031N", "0204"}, {"D032N", "0205"}, {"D036N", "0206"}, {"D043N", "0207"}, {"D047N", "0208"},
    {"D050N", "0209"}, {"D051N", "020A"}, {"D053N", "020B"}, {"D054N", "020C"}, {"D055N", "020D"},
    {"D065N", "020E"}, {"D071N", "020F"}, {"D072N", "0210"}, {"D073N", "0211"}, {"D074N", "0212"},
    {"D114N", "0213"}, {"D115N", "0214"}, {"D116N", "0215"}, {"D122N", "0216"}, {"D125N", "0217"},
    {"D131N", "0218"}, {"D132N", "0219"}, {"D134N", "021A"}, {"D135N", "021B"}, {"D143N", "021C"},
    {"D145N", "021D"}, {"D152N", "021E"}, {"D155N", "021F"}, {"D156N", "0220"}, {"D162N", "0221"},
    {"D165N", "0222"}, {"D172N", "0223"}, {"D174N", "0224"}, {"D205N", "0225"}, {"D212N", "0226"},
    {"D217N", "0227"}, {"D223N", "0228"}, {"D225N", "0229"}, {"D226N", "022A"}, {"D243N", "022B"},
    {"D244N", "022C"}, {"D245N", "022D"}, {"D246N", "022E"}, {"D251N", "022F"}, {"D252N", "0230"},
    {"D254N", "0231"}, {"D255N", "0232"}, {"D261N", "0233"}, {"D263N", "0234"}, {"D265N", "0235"},
    {"D266N", "0236"}, {"D271N", "0237"}, {"D274N", "0238"}, {"D305N", "0239"}, {"D306N", "023A"},
    {"D311N", "023B"}, {"D315N", "023C"}, {"D325N", "023D"}, {"D331N", "023E"}, {"D332N", "023F"},
    {"D343N", "0240"}, {"D345N", "0241"}, {"D346N", "0242"}, {"D351N", "0243"}, {"D356N", "0244"},
    {"D364N", "0245"}, {"D365N", "0246"}, {"D371N", "0247"}, {"D411N", "0248"}, {"D412N", "0249"},
    {"D413N", "024A"}, {"D423N", "024B"}, {"D425N", "024C"}, {"D431N", "024D"}, {"D432N", "024E"},
    {"D445N", "024F"}, {"D446N", "0250"}, {"D452N", "0251"}, {"D454N", "0252"}, {"D455N", "0253"},
    {"D462N", "0254"}, {"D464N", "0255"}, {"D465N", "0256"}, {"D466N", "0257"}, {"D503N", "0258"},
    {"D506N", "0259"}, {"D516N", "025A"}, {"D523N", "025B"}, {"D526N", "025C"}, {"D532N", "025D"},
    {"D534N", "025E"}, {"D546N", "025F"}, {"D565N", "0260"}, {"D606N", "0261"}, {"D612N", "0262"},
    {"D624N", "0263"}, {"D627N", "0264"}, {"D631N", "0265"}, {"D632N", "0266"}, {"D645N", "0267"},
    {"D654N", "0268"}, {"D662N", "0269"}, {"D664N", "026A"}, {"D703N", "026B"}, {"D712N", "026C"},
    {"D723N", "026D"}, {"D731N", "026E"}, {"D732N", "026F"}, {"D734N", "0270"}, {"D743N", "0271"},
    {"D754N", "0272"}, {"D765N", "0273"}, {"D017I", "0300"}, {"D023I", "0301"}, {"D025I", "0302"},
    {"D026I", "0303"}, {"D031I", "0304"}, {"D032I", "0305"}, {"D036I", "0306"}, {"D043I", "0307"},
    {"D047I", "0308"}, {"D050I", "0309"}, {"D051I", "030A"}, {"D053I", "030B"}, {"D054I", "030C"},
    {"D055I", "030D"}, {"D065I", "030E"}, {"D071I", "030F"}, {"D072I", "0310"}, {"D073I", "0311"},
    {"D074I", "0312"}, {"D114I", "0313"}, {"D115I", "0314"}, {"D116I", "0315"}, {"D122I", "0316"},
    {"D125I", "0317"}, {"D131I", "0318"}, {"D132I", "0319"}, {"D134I", "031A"}, {"D135I", "031B"},
    {"D143I", "031C"}, {"D145I", "031D"}, {"D152I", "031E"}, {"D155I", "031F"}, {"D156I", "0320"},
    {"D162I", "0321"}, {"D165I", "0322"}, {"D172I", "0323"}, {"D174I", "0324"}, {"D205I", "0325"},
    {"D212I", "0326"}, {"D217I", "0327"}, {"D223I", "0328"}, {"D225I", "0329"}, {"D226I", "032A"},
    {"D243I", "032B"}, {"D244I", "032C"}, {"D245I", "032D"}, {"D246I", "032E"}, {"D251I", "032F"},
    {"D252I", "0330"}, {"D254I", "0331"}, {"D255I", "0332"}, {"D261I", "0333"}, {"D263I", "0334"},
    {"D265I", "0335"}, {"D266I", "0336"}, {"D271I", "0337"}, {"D274I", "0338"}, {"D305I", "0339"},
    {"D306I", "033A"}, {"D311I", "033B"}, {"D315I", "033C"}, {"D325I", "033D"}, {"D331I", "033E"},
    {"D332I", "033F"}, {"D343I", "0340"}, {"D345I", "0341"}, {"D346I", "0342"}, {"D351I", "0343"},
    {"D356I", "0344"}, {"D364I", "0345"}, {"D365I", "0346"}, {"D371I", "0347"}, {"D411I", "0348"},
    {"D412I", "0349"}, {"D413I", "034A"}, {"D423I", "034B"}, {"D425I", "034C"}, {"D431I", "034D"},
    {"D432I", "034E"}, {"D445I", "034F"}, {"D446I", "0350"}, {"D452I", "0351"}, {"D454I", "0352"},
    {"D455I", "0353"}, {"D462I", "0354"}, {"D464I", "0355"}, {"D465I", "0356"}, {"D466I", "0357"},
    {"D503I", "0358"}, {"D506I", "0359"}, {"D516I", "035A"}, {"D523I", "035B"}, {"D526I", "035C"},
    {"D532I", "035D"}, {"D534I", "035E"}, {"D546I", "035F"}, {"D565I", "0360"}, {"D606I", "0361"},
    {"D612I", "0362"}, {"D624I", "0363"}, {"D627I", "0364"}, {"D631I", "0365"}, {"D632I", "0366"},
    {"D645I", "0367"}, {"D654I", "0368"}, {"D662I", "0369"}, {"D664I", "036A"}, {"D703I", "036B"},
    {"D712I", "036C"}, {"D723I", "036D"}, {"D731I", "036E"}, {"D732I", "036F"}, {"D734I", "0370"},
    {"D743I", "0371"}, {"D754I", "0372"}, {"D765I", "0373"},
};

TEST(ToneTablePin, EveryEntryHasItsPlaceTextAndCode) {
  SetLanguageIndex(kEnglish);
  ASSERT_EQ(kTones.size(), 283u);
  ASSERT_EQ(ToneList().size(), 283u);
  for (std::size_t i = 0; i < kTones.size(); ++i) {
    const auto &[text, code] = kTones[i];
    EXPECT_EQ(ToneListEntry(static_cast<int>(i)), text) << "entry " << i;
    EXPECT_EQ(ToneList()[i], text) << "entry " << i;
    EXPECT_EQ(ToneToCode(text), code) << text;
    EXPECT_EQ(ToneCodeText(code), text) << code;
    EXPECT_EQ(FindToneEntry(text), static_cast<int>(i)) << text;
  }
}

TEST(ToneTablePin, TheOffEntryFollowsTheLanguage) {
  SetLanguageIndex(kChinese);
  EXPECT_EQ(ToneListEntry(0), "无");
  EXPECT_EQ(ToneToCode("无"), "FFFF");
  EXPECT_EQ(ToneCodeText("FFFF"), "无");
  EXPECT_EQ(ToneToCode("None"), "") << "the Off text of the other language is not a tone";
  EXPECT_EQ(ToneListEntry(1), "67.0");
  SetLanguageIndex(kEnglish);
}

TEST(ToneTablePin, TextsOutsideTheListByHand) {
  SetLanguageIndex(kEnglish);
  const std::vector<std::pair<const char *, const char *>> typed = {
      {"100", "83E8"},   {"40", "0100"},   {"300", "0131"}, {"D999N", "0200"}, {"D999I", "0300"},
      {"d023n", ""},     {"abc", ""},      {"", ""},        {"151.6", "85EC"}, {"67", "829E"},
      {"50", "81F4"},    {"260", "8A28"},  {"49.9", "0100"}, {"260.1", "0131"}, {"100.05", "83E8"},
      {"100.15", "83EA"}};
  for (const auto &[text, code] : typed) EXPECT_EQ(ToneToCode(text), code) << '"' << text << '"';
  // Custom codes shown with one decimal.
  EXPECT_EQ(ToneCodeText("83E8"), "100.0");
  EXPECT_EQ(ToneCodeText("85EC"), "151.6");
  EXPECT_EQ(ToneCodeText("81F4"), "50.0");
}

TEST(ToneTablePin, AChannelStoresTheCodeOfTheChosenTone) {
  test::ChannelFixture f;
  ChannelRecord e;
  e.decode.assign("FFFF");
  e.encode.assign("FFFF");
  for (const auto &[text, code] : kTones) {
    SetChannelValue(f.ctx, e, kFieldDecode, text);
    EXPECT_EQ(e.decode.text(), code) << text;
    EXPECT_EQ(ValueToText(f.ctx, e, kFieldDecode), text) << code;
  }
}

}  // namespace
}  // namespace n27

namespace n27 {
namespace {

TEST(ChannelTextsPin, PttIdOffAndScrambleDefineInChinese) {
  test::ChannelFixture f;
  SetLanguageIndex(kChinese);
  ChannelRecord e;
  e.pttId = 0;
  EXPECT_EQ(ValueToText(f.ctx, e, kFieldPttId), "关");
  e.pttId = 3;
  EXPECT_EQ(ValueToText(f.ctx, e, kFieldPttId), "Both");
  ASSERT_EQ(SetChannelValue(f.ctx, e, kFieldPttId, "关"), EditStatus::Ok);
  EXPECT_EQ(e.pttId, 0);
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(ValueToText(f.ctx, e, kFieldPttId), "Off");
}

}  // namespace
}  // namespace n27
