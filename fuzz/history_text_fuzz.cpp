// The texts the radio history takes from outside: the database location of n27.ini and the
// days of `--since`/`--until`. Whatever the text, the parser ends, a location it accepts is
// whole, and the password it holds never shows in a message.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "history/history_location.h"

using namespace n27::history;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::string why;
  if (auto loc = ParseLocation(text, "/default/history.sqlite", why)) {
    if (loc->kind == Location::Kind::SQLite) {
      FUZZ_CHECK(!loc->path.empty() && loc->path.front() == '/');
    } else {
      FUZZ_CHECK(loc->port >= 1 && loc->port <= 65535 && !loc->database.empty());
      // What is shown does not depend on the password (it may still show the same letters as
      // the user, host or database name typed).
      Location other = *loc;
      other.password += "x";
      FUZZ_CHECK(other.display() == loc->display());
    }
  } else {
    FUZZ_CHECK(!why.empty());
  }
  if (auto day = ParseDay(text)) FUZZ_CHECK(text.size() == 10 && *day >= 0 - 86400);
  return 0;
}
