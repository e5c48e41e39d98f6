// The INI reader (settings, language texts, Version.ini) fed arbitrary text: every key it
// lists can be looked up, a value written reads back, and the version table loads.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/ini_file.h"
#include "link/version_table.h"
#include "fuzz/fuzz_check.h"

using namespace n27;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  IniFile ini = IniFile::FromText(text);
  for (const char *section : {"Version", "Soft", "Firm", "Msg", "OTHER", "Ports", "Setting"})
    for (const auto &key : ini.keys(section)) FUZZ_CHECK(ini.value(section, key).has_value());

  VersionTable table = VersionTable::FromIni(ini);
  FUZZ_CHECK(table.pairs().size() <= 10000 && table.softVersions().size() <= 10000);
  for (const auto &p : table.pairs())
    if (p.usable) FUZZ_CHECK(table.compatible(p.dataVersion, p.firmwareVersion));

  // A plain value written into the document reads back as written.
  ini.setValue("Setting", "Key1", "value 1");
  FUZZ_CHECK(ini.value("setting", "KEY1").value_or("") == "value 1");
  return 0;
}
