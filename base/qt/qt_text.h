#pragma once
// The model's texts (UTF-8) as Qt strings, for the windows and the Qt adapters.

#include <QString>
#include <string>

#include "base/language.h"

namespace n27 {

inline QString qs(const std::string &utf8) { return QString::fromStdString(utf8); }
inline QString qs(const char *utf8) { return QString::fromUtf8(utf8); }
inline QString qs(const Tr &text) { return QString::fromUtf8(text.get()); }

}  // namespace n27
