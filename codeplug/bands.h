#pragma once
// The model and band table.

#include <cstdint>
#include <string>

#include "codeplug/workspace.h"

namespace n27 {

inline constexpr const char *kModelCode = "N27PR";
inline constexpr const char *kBand400 = "400 - 490 MHz";
inline constexpr const char *kBand136 = "136 - 174 MHz";
inline constexpr const char *kUnknownBand = "Unknown Band";

// The name a model code is shown with: "N27" for the programmer's own "N27PR", any other
// code as it stands.
std::string ModelDisplayName(const std::string &code);
// 0 → "400 - 490 MHz", 1 → "136 - 174 MHz", anything else → "Unknown Band".
std::string BandText(int code);
// "136 - 174 MHz" → 1, "400 - 490 MHz" → 0, any other text → 0.
int BandCode(const std::string &text);
// Lower limit := the number in characters 1..3 of the band text, upper := characters 7..9;
// non-numeric characters give 0.
void SetBandLimits(Workspace &ws);
// Model name text := model record name cut at NUL; band text := BandText(band code); limits.
void DecodeModelRecord(Workspace &ws);
// Model record name := model name text padded with NUL; band code := BandCode(band text).
void EncodeModelRecord(Workspace &ws);

}  // namespace n27
