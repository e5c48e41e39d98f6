#pragma once
// Private-profile style INI files: case-insensitive sections and keys; writing a key keeps
// every other line of the file as it was.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace n27 {

class IniFile {
 public:
  // Reads the file; a missing or unreadable file gives an empty document (ok() false), and
  // so does anything but a regular file of at most kMaxBytes.
  explicit IniFile(std::string path);
  // A document from text already in memory (ok() true), saved to path.
  static IniFile FromText(const std::string &text, std::string path = {});

  static constexpr std::size_t kMaxBytes = 1u << 20;

  bool ok() const { return ok_; }
  const std::string &path() const { return path_; }

  // The value of section/key, blanks around it trimmed; nullopt when absent.
  std::optional<std::string> value(const std::string &section, const std::string &key) const;
  std::string value(const std::string &section, const std::string &key,
                    const std::string &fallback) const;
  // Keys of a section in file order.
  std::vector<std::string> keys(const std::string &section) const;

  // Sets section/key in memory (adding the section or key at its end when missing).
  void setValue(const std::string &section, const std::string &key, const std::string &value);
  // Writes the document back (beside the file, then renamed). False on failure.
  bool save() const;

  // One-shot helpers.
  static std::optional<std::string> read(const std::string &path, const std::string &section,
                                         const std::string &key);
  static bool write(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value);

 private:
  void parse(const std::string &text);
  void buildIndex();

  std::string path_;
  std::vector<std::string> lines_;
  // Section and key (lower case, joined by a line break) → the first value, so a lookup
  // costs the same however long the file is.
  std::unordered_map<std::string, std::string> index_;
  bool ok_ = false;
};

}  // namespace n27
