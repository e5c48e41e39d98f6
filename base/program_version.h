#pragma once
// The program's version as the About window shows it and every history entry records it, the
// same for the desktop program and n27-cli.

namespace n27 {

inline constexpr const char *kProgramVersion = "2.00";

}  // namespace n27
