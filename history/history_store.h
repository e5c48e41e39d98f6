#pragma once
// What the radio history asks of a database: add an entry, find entries newest first, get one
// with its image, the backups that show each radio's latest state (pruning keeps them) and the
// marks of backups pruned since. The SQLite and PostgreSQL stores (history/qt/) implement it.
//
// No call throws. A call that fails says why in `why` (the current language): "the history
// database is locked by another program", "… is read-only", "the disk … is full", "the
// history server cannot be reached …".

#include <cstdint>
#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "history/history_entry.h"

namespace n27::history {

struct Filter {
  std::string serial;       // "" any; compared as SerialKey()
  bool serialPrefix = false;  // the serial number starts with `serial` (the window, as typed)
  std::string customer;     // "" any; else the customer text contains it (ASCII case ignored)
  std::optional<std::time_t> since;   // time >= since
  std::optional<std::time_t> before;  // time < before
  std::optional<bool> ok;   // only steps that worked / failed
};

// The latest schema this program writes. A database of a later schema is only read.
inline constexpr int kSchemaVersion = 2;

class Store {
 public:
  virtual ~Store() = default;
  // Adds an entry and, when given, its image. Returns the new entry's id; 0 with `why`.
  virtual int64_t add(const Entry &entry, const RadioImage *image, std::string &why) = 0;
  // Entries that pass the filter, newest first (by time, then by the order they were added),
  // at most `limit` (0: all).
  virtual std::vector<Entry> query(const Filter &filter, int limit, std::string &why) = 0;
  // How many entries pass the filter.
  virtual std::optional<int64_t> count(const Filter &filter, std::string &why) = 0;
  virtual std::optional<Entry> get(int64_t id, std::string &why) = 0;
  // The image kept with an entry; nullopt with `why` when it has none or it cannot be read.
  virtual std::optional<RadioImage> image(int64_t id, std::string &why) = 0;
  // For every radio the backups recorded on `host` show: the backup that shows its latest
  // state (the newest entry that names a backup: its image after, else its image before).
  virtual std::optional<std::set<std::string>> latestBackups(const std::string &host, std::string &why) = 0;
  // Marks the entries of `host` that name one of `images` as pruned.
  virtual bool markPruned(const std::string &host, const std::vector<std::string> &images, std::string &why) = 0;
  // The schema version of the database.
  virtual int schemaVersion() const = 0;
  // Where the history is, for messages: a file path, or the server without its password.
  virtual std::string where() const = 0;
};

}  // namespace n27::history
