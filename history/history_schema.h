#pragma once
// The tables of the radio history and the steps from each schema version to the next, as SQL
// that SQLite and PostgreSQL both run; the few words they spell differently come from the
// dialect.
//
//   n27_schema  (version)                          one row: the schema the database has
//   images      (id, digest, bytes)                each image once, under its whole-image SHA-256
//   entries     (id, time, operation, ok, …)       one row per recorded step; newest = highest
//                                                  time, then highest id

#include <cstdint>
#include <string>
#include <vector>

namespace n27::history {

enum class Dialect { SQLite, PostgreSQL };

// The statements that take a database from `version` to `version + 1` (version 0: empty).
std::vector<std::string> MigrationSteps(Dialect dialect, int version);

// The entry columns in the order the store writes and reads them (after id).
inline constexpr const char *kEntryColumns =
    "time, operation, ok, reason, override_reason, serial, serial_key, model, band, firmware, "
    "port, data_file, backup_before, backup_after, sha256, image_id, user_name, host, "
    "program_version, customer, customer_key";
// Read back: the columns above, then id and the two pruned marks.
inline constexpr const char *kEntryReadColumns =
    "time, operation, ok, reason, override_reason, serial, serial_key, model, band, firmware, "
    "port, data_file, backup_before, backup_after, sha256, image_id, user_name, host, "
    "program_version, customer, customer_key, id, before_pruned, after_pruned";

}  // namespace n27::history

namespace n27::history {

struct Filter;

// The WHERE clause of a filter ("" when it lets everything through) and its values: `kinds`
// has 'n' (the next of `numbers`) or 't' (the next of `texts`) for each '?' in order.
struct FilterSql {
  std::string where;
  std::vector<int64_t> numbers;
  std::vector<std::string> texts;
  std::string kinds;
};
FilterSql BuildFilterSql(const Filter &filter);

}  // namespace n27::history
