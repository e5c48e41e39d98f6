#include "base/ini_file.h"
#include "base/ascii_case.h"

#include "base/file_io.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace n27 {

namespace {

std::string trim(const std::string &s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}


// "[name]" → name; otherwise nullopt.
std::optional<std::string> sectionName(const std::string &line) {
  std::string t = trim(line);
  if (t.size() >= 2 && t.front() == '[') {
    auto close = t.find(']');
    if (close != std::string::npos) return trim(t.substr(1, close - 1));
  }
  return std::nullopt;
}

// "key=value" → (key, value); comments and other lines → nullopt.
std::optional<std::pair<std::string, std::string>> keyValue(const std::string &line) {
  std::string t = trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#') return std::nullopt;
  auto eq = t.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return std::make_pair(trim(t.substr(0, eq)), trim(t.substr(eq + 1)));
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  auto text = ReadWholeFile(path_, kMaxBytes).bytes;
  if (!text) return;
  ok_ = true;
  parse(*text);
}

IniFile IniFile::FromText(const std::string &text, std::string path) {
  IniFile f{std::string()};
  f.path_ = std::move(path);
  f.ok_ = true;
  f.parse(text);
  return f;
}

void IniFile::parse(const std::string &text) {
  lines_.clear();
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(line);
  }
  buildIndex();
}

namespace {
std::string indexKey(const std::string &section, const std::string &key) {
  return AsciiLower(section) + '\n' + AsciiLower(key);
}
}  // namespace

void IniFile::buildIndex() {
  index_.clear();
  std::string section;
  bool inSection = false;
  for (const auto &line : lines_) {
    if (auto s = sectionName(line)) {
      section = *s;
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    if (auto kv = keyValue(line)) index_.emplace(indexKey(section, kv->first), kv->second);
  }
}

std::optional<std::string> IniFile::value(const std::string &section, const std::string &key) const {
  auto it = index_.find(indexKey(section, key));
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

std::string IniFile::value(const std::string &section, const std::string &key,
                           const std::string &fallback) const {
  auto v = value(section, key);
  return v ? *v : fallback;
}

std::vector<std::string> IniFile::keys(const std::string &section) const {
  std::vector<std::string> out;
  bool inSection = false;
  for (const auto &line : lines_) {
    if (auto s = sectionName(line)) {
      inSection = AsciiEqualNoCase(*s, section);
      continue;
    }
    if (inSection)
      if (auto kv = keyValue(line)) out.push_back(kv->first);
  }
  return out;
}

void IniFile::setValue(const std::string &section, const std::string &key, const std::string &value) {
  bool inSection = false;
  std::size_t sectionEnd = std::string::npos;  // index after the last line of the section
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (auto s = sectionName(lines_[i])) {
      if (inSection) break;
      inSection = AsciiEqualNoCase(*s, section);
      if (inSection) sectionEnd = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (auto kv = keyValue(lines_[i])) {
      if (AsciiEqualNoCase(kv->first, key)) {
        lines_[i] = kv->first + "=" + value;
        buildIndex();
        return;
      }
    }
    if (!trim(lines_[i]).empty()) sectionEnd = i + 1;
  }
  if (sectionEnd == std::string::npos) {
    if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.push_back("");
    lines_.push_back("[" + section + "]");
    lines_.push_back(key + "=" + value);
    buildIndex();
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd), key + "=" + value);
  buildIndex();
}

bool IniFile::save() const {
  std::string text;
  for (const auto &l : lines_) text += l + "\n";
  return WriteFileAtomically(path_, text);
}

std::optional<std::string> IniFile::read(const std::string &path, const std::string &section,
                                         const std::string &key) {
  return IniFile(path).value(section, key);
}

bool IniFile::write(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value) {
  IniFile f(path);
  f.setValue(section, key, value);
  return f.save();
}

}  // namespace n27
