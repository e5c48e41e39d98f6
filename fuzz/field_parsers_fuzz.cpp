// The channel field parsers fed arbitrary edits: frequency and tone texts and every other
// field, as the grid, the detail dialog and batch edit pass them. Whatever is typed, the
// channel list stays one the data file and the radio can hold.
//
// Input: a sequence of edits, each [field][channel][language+band][length][text …].

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "base/language.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/tone_list.h"
#include "codeplug/bands.h"
#include "fuzz/fuzz_check.h"

using namespace n27;

namespace {

bool Digits(const std::string &s, std::size_t n) {
  if (s.size() != n) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool HexCode(const std::string &s) {
  if (s.size() != 4) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

void CheckList(const ChannelContext &ctx) {
  const CodeplugData &d = ctx.ws.working;
  FUZZ_CHECK(d.channelCount <= kMaxChannels);
  std::set<int> numbers;
  for (int k = 0; k < d.channelCount; ++k) {
    const ChannelRecord &ch = d.channels[k];
    FUZZ_CHECK(ch.number >= 1 && ch.number <= kMaxChannels);
    FUZZ_CHECK(numbers.insert(ch.number).second);
    FUZZ_CHECK(Digits(ch.rx.raw(), 8));
    const std::string tx = ch.tx.raw();
    FUZZ_CHECK(tx == kNoTxFrequency || Digits(tx, 8));
    FUZZ_CHECK(HexCode(ch.decode.raw()) && HexCode(ch.encode.raw()));
    FUZZ_CHECK(ch.scrambleFreq == 0 || (ch.scrambleFreq >= 1300 && ch.scrambleFreq <= 4100));
    // The display form goes back to the same stored text.
    FUZZ_CHECK(SaveFre(ctx, ShowFre(ctx, ch.rx.raw())) == ch.rx.raw());
    for (int field = 1; field <= kFieldCount; ++field) (void)ValueToText(ctx, ch, field);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Workspace ws;
  ws.bandText = (size > 2 && (data[2] & 2)) ? kBand136 : kBand400;
  SetBandLimits(ws);
  ChannelContext ctx(ws);
  std::size_t at = 0;
  int edits = 0;
  while (at + 4 <= size && edits++ < 64) {
    const int field = data[at] % 26;
    const int channel = data[at + 1] % 131;
    SetLanguageIndex((data[at + 2] & 1) ? kChinese : kEnglish);
    ws.working.standAlone.bandExtension = (data[at + 2] & 4) ? 1 : 0;
    const std::size_t length = data[at + 3] % 24;
    at += 4;
    std::string text(reinterpret_cast<const char *>(data + at), std::min(length, size - at));
    at += text.size();

    // The parsers on their own.
    const std::string code = ToneToCode(text);
    FUZZ_CHECK(code.empty() || HexCode(code));
    if (!code.empty()) (void)ToneCodeText(code);
    (void)CheckFre(ctx, text, 1 + (field & 1), false);
    (void)SaveFre(ctx, text);
    (void)ShowFre(ctx, text);

    ChangeChannel(ctx, 1, channel, field, text);
    CheckList(ctx);
  }
  SetLanguageIndex(kEnglish);
  return 0;
}
