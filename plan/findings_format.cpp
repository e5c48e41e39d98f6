#include "plan/findings_format.h"

#include <cstdint>
#include <cstdio>

#include "plan/plan_rules.h"

namespace n27::plan {

std::string FindingLine(const PlanFinding &f) {
  return std::string(SeverityText(f.severity)) + " " + f.rule + ": " + f.message;
}

std::string FindingsText(const std::vector<PlanFinding> &findings) {
  std::string out;
  for (const PlanFinding &f : findings) out += FindingLine(f) + "\n";
  return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when there is none.
std::size_t utf8Length(const std::string &text, std::size_t i) {
  const unsigned char c = text[i];
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  uint32_t cp = n == 1 ? c : c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    const unsigned char d = text[i + k];
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string JsonString(const std::string &text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = text[i];
    const std::size_t n = utf8Length(text, i);
    if (n == 0) {
      out += "\\ufffd";  // a byte that is no UTF-8 (a licence file in another encoding)
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(text, i, n);
      i += n;
      continue;
    }
    ++i;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string FindingsJson(const std::vector<PlanFinding> &findings) {
  if (findings.empty()) return "[]\n";
  std::string out = "[\n";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const PlanFinding &f = findings[i];
    out += std::string("  {\"severity\": ") + (f.severity == FindingSeverity::Error ? "\"error\"" : "\"warning\"") +
           ", \"rule\": " + JsonString(f.rule) +
           ", \"channel\": " + (f.channel > 0 ? std::to_string(f.channel) : std::string("null")) +
           ", \"message\": " + JsonString(f.message) + "}" + (i + 1 < findings.size() ? ",\n" : "\n");
  }
  return out + "]\n";
}

}  // namespace n27::plan
