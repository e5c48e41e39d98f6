#include "channels/freq_codec.h"

#include "base/messages.h"
#include "channels/number_text.h"
#include "codeplug/bands.h"

namespace n27 {
namespace {

constexpr int kFreqDecimals = 5;  // stored texts count 10 Hz = 0.00001 MHz
constexpr double kExtendedUpper = 490.0;

std::string display(int64_t units) { return FormatFixed(units, kFreqDecimals, 3); }

// Clamps an exact value to the field's limits; true when it had to.
bool clamp(const Workspace &ws, Decimal &value, int field) {
  Decimal lower = Decimal::fromDouble(LowerLimit(ws));
  Decimal upper = Decimal::fromDouble(UpperLimit(ws, field));
  if (value < lower) {
    value = lower;
    return true;
  }
  if (value > upper) {
    value = upper;
    return true;
  }
  return false;
}

void warnOutOfRange(const ChannelContext &ctx, bool warn) {
  if (warn && !ctx.ws.loadingFile) ctx.show(msg::kRange.get(), MessageIcon::Warning);
}

}  // namespace

double LowerLimit(const Workspace &ws) { return ws.lowerLimit; }

double UpperLimit(const Workspace &ws, int field) {
  if (ws.bandText == kBand400 && (field == 1 || ws.working.standAlone.bandExtension != 0))
    return kExtendedUpper;
  return ws.upperLimit;
}

std::string ShowFre(const ChannelContext &ctx, std::string_view stored) {
  if (stored.empty() || stored == kNoTxFrequency) return {};
  if (IsNumeric(stored)) {
    std::string pointed(stored.substr(0, 3));
    pointed += '.';
    if (stored.size() > 3) pointed += stored.substr(3);
    if (auto d = ParseDecimal(pointed))
      return display(RoundTo(*d, kFreqDecimals, Rounding::HalfAwayFromZero));
  }
  ctx.show(msg::kNotIsNumeric, MessageIcon::None);
  return PlainNumber(LowerLimit(ctx.ws));
}

std::string SaveFre(const ChannelContext &ctx, std::string_view text) {
  if (text.empty()) return {};
  auto d = ParseDecimal(text);
  // A text that is no number cannot be stored; the lower band limit stands in for it.
  if (!d) d = Decimal::fromDouble(LowerLimit(ctx.ws));
  else if (text.find('.') == std::string_view::npos) return std::string(text);
  std::string digits = FormatFixed(RoundTo(*d, kFreqDecimals, Rounding::HalfAwayFromZero), 0, 8);
  return digits;
}

double LimitFre(const ChannelContext &ctx, double mhz, int field) {
  double lower = LowerLimit(ctx.ws), upper = UpperLimit(ctx.ws, field);
  if (mhz < lower) return lower;
  if (mhz > upper) return upper;
  return mhz;
}

double LimitFreWarn(const ChannelContext &ctx, double mhz, int field, bool warn) {
  double limited = LimitFre(ctx, mhz, field);
  if (limited != mhz) warnOutOfRange(ctx, warn);
  return limited;
}

std::string CheckFre(const ChannelContext &ctx, std::string_view text, int field, bool warn) {
  auto d = ParseDecimal(text);
  Decimal value;
  if (!d) {
    value = Decimal::fromDouble(LowerLimit(ctx.ws));
    warnOutOfRange(ctx, warn);
  } else {
    value = *d;
    if (clamp(ctx.ws, value, field)) warnOutOfRange(ctx, warn);
  }
  return display(RoundTo(value, kFreqDecimals, Rounding::HalfAwayFromZero));
}

std::string FormatLimitedFre(const ChannelContext &ctx, std::string_view text, int field) {
  return CheckFre(ctx, text, field, false);
}

}  // namespace n27
