#pragma once
// The radio history in a database through Qt SQL: an SQLite file (WAL, a busy timeout) or a
// PostgreSQL server, created and brought to the current schema when opened.
//
// An SQLite file that is not a database, or whose pages are damaged, is moved aside (kept as
// "<file>.damaged-YYYYMMDD-HHMMSS", with its -wal and -shm files) and a new one is started;
// notice() says where the old one went. A server that went away is reconnected on the next
// call. A database of a newer schema, or a read-only file, is read but not written.

#include <memory>
#include <string>

#include "history/history_location.h"
#include "history/history_schema.h"
#include "history/history_store.h"

namespace n27::history {

struct SqlOptions {
  int busyTimeoutMs = 2000;    // SQLite: how long a write waits for another program's
  int serverTimeoutS = 5;      // PostgreSQL: connecting, and each statement
};

class SqlStore : public Store {
 public:
  // nullptr with `why` when the database cannot be opened at all.
  static std::unique_ptr<SqlStore> open(const Location &location, std::string &why,
                                        const SqlOptions &options = {});
  ~SqlStore() override;

  int64_t add(const Entry &entry, const RadioImage *image, std::string &why) override;
  std::vector<Entry> query(const Filter &filter, int limit, std::string &why) override;
  std::optional<int64_t> count(const Filter &filter, std::string &why) override;
  std::optional<Entry> get(int64_t id, std::string &why) override;
  std::optional<RadioImage> image(int64_t id, std::string &why) override;
  std::optional<std::set<std::string>> latestBackups(const std::string &host, std::string &why) override;
  bool markPruned(const std::string &host, const std::vector<std::string> &images, std::string &why) override;
  int schemaVersion() const override { return schema_; }
  std::string where() const override { return location_.display(); }

  // "" or the message about a damaged database kept aside at opening.
  const std::string &notice() const { return notice_; }
  // Why entries cannot be added ("" when they can): a read-only file, a newer schema.
  const std::string &readOnlyReason() const { return readOnly_; }
  Dialect dialect() const { return dialect_; }
  // The Qt connection name (tests reach the same database through it).
  const std::string &connectionName() const { return name_; }

 private:
  SqlStore(const Location &location, const SqlOptions &options);
  struct Impl;
  bool connect(std::string &why);
  bool prepareSchema(std::string &why, bool &damaged);
  // Runs `step` once, and once more after reconnecting when a server connection broke.
  template <class Step>
  bool withConnection(std::string &why, Step step);

  Location location_;
  SqlOptions options_;
  Dialect dialect_;
  std::string name_;
  std::string notice_, readOnly_;
  bool lockedAtOpen_ = false;  // preparing the schema failed because another program held the file
  int schema_ = 0;
};

}  // namespace n27::history
