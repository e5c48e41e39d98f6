#include "history/qt/sql_history_store.h"
#include "base/qt/qt_text.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <atomic>
#include <cstdio>
#include <chrono>
#include <ctime>
#include <thread>
#include <filesystem>

#include "base/file_io.h"
#include "base/language.h"
#include "base/paths.h"

namespace n27::history {

namespace {

namespace fs = std::filesystem;

constexpr Tr kLocked{"the history database %1 is locked by another program.",
                     "历史数据库 %1 被另一个程序锁定。"};
constexpr Tr kReadOnly{"the history database %1 is read-only.", "历史数据库 %1 是只读的。"};
constexpr Tr kFull{"the disk holding the history database %1 is full.", "存放历史数据库 %1 的磁盘已满。"};
constexpr Tr kDamaged{"the history database %1 is damaged.", "历史数据库 %1 已损坏。"};
constexpr Tr kCannotOpen{"the history database %1 cannot be opened: %2", "无法打开历史数据库 %1：%2"};
constexpr Tr kServerGone{"the history server %1 cannot be reached: %2", "无法连接历史数据库服务器 %1：%2"};
constexpr Tr kRefused{"the history database %1 refused it: %2", "历史数据库 %1 拒绝了操作：%2"};
constexpr Tr kNewer{"the history database %1 was made by a newer version of this program (schema %2; "
                    "this program knows %3), so it is only read.",
                    "历史数据库 %1 由本程序的较新版本创建（结构版本 %2；本程序支持 %3），因此只读取。"};
constexpr Tr kNoDriver{"the database driver %1 is not installed (Debian package %2).",
                       "未安装数据库驱动 %1（Debian 软件包 %2）。"};
constexpr Tr kMovedAside{"The history database %1 was damaged. It was kept as %2 and a new history was "
                         "started.",
                         "历史数据库 %1 已损坏。它已保存为 %2，并已新建历史数据库。"};
constexpr Tr kNotMoved{"the history database %1 is damaged and cannot be moved aside: %2",
                       "历史数据库 %1 已损坏，且无法移到一旁：%2"};
constexpr Tr kNoEntry{"there is no entry %1 in the history.", "历史中没有记录 %1。"};
constexpr Tr kNoImage{"entry %1 keeps no image.", "记录 %1 没有保存映像。"};
constexpr Tr kBadImage{"the image kept with entry %1 is damaged.", "记录 %1 保存的映像已损坏。"};

enum class Problem { Locked, ReadOnly, Full, Damaged, CannotOpen, ServerGone, Other };


Problem classify(Dialect dialect, const QSqlError &error) {
  const QString code = error.nativeErrorCode();
  if (dialect == Dialect::SQLite) {
    switch (code.toInt() & 0xFF) {
      case 5: case 6: return Problem::Locked;        // BUSY, LOCKED
      case 8: return Problem::ReadOnly;              // READONLY
      case 13: return Problem::Full;                 // FULL
      case 11: case 26: return Problem::Damaged;     // CORRUPT, NOTADB
      case 14: return Problem::CannotOpen;           // CANTOPEN
      default: return error.type() == QSqlError::ConnectionError ? Problem::CannotOpen : Problem::Other;
    }
  }
  if (code == "53100") return Problem::Full;                              // disk_full
  if (code == "25006") return Problem::ReadOnly;                          // read_only_sql_transaction
  if (code == "55P03" || code == "40P01") return Problem::Locked;         // lock_not_available, deadlock
  if (code.startsWith("08") || code.startsWith("57P") || error.type() == QSqlError::ConnectionError)
    return Problem::ServerGone;
  return Problem::Other;
}

std::string errorText(const QSqlError &error) {
  QString text = error.databaseText().trimmed();
  if (text.isEmpty()) text = error.driverText().trimmed();
  return text.toStdString();
}

std::string reasonOf(Dialect dialect, const std::string &where, const QSqlError &error) {
  switch (classify(dialect, error)) {
    case Problem::Locked: return Fill(kLocked, {where});
    case Problem::ReadOnly: return Fill(kReadOnly, {where});
    case Problem::Full: return Fill(kFull, {where});
    case Problem::Damaged: return Fill(kDamaged, {where});
    case Problem::CannotOpen: return Fill(kCannotOpen, {where, errorText(error)});
    case Problem::ServerGone: return Fill(kServerGone, {where, errorText(error)});
    case Problem::Other: break;
  }
  return Fill(kRefused, {where, errorText(error)});
}

QVariant text(const std::string &value) { return qs(value); }
QVariant number(int64_t value) { return QVariant::fromValue<qlonglong>(value); }

Entry readEntry(const QSqlQuery &q) {
  const auto s = [&](int i) { return q.value(i).toString().toStdString(); };
  Entry e;
  e.time = static_cast<std::time_t>(q.value(0).toLongLong());
  e.operation = OperationFromName(s(1)).value_or(JobOperation::Write);
  e.ok = q.value(2).toInt() != 0;
  e.reason = s(3);
  e.overrideReason = s(4);
  e.serial = s(5);
  e.model = s(7);
  e.band = q.value(8).toInt();
  e.firmware = s(9);
  e.port = s(10);
  e.dataFile = s(11);
  e.backupBefore = s(12);
  e.backupAfter = s(13);
  e.sha256 = s(14);
  e.hasImage = !q.value(15).isNull();
  e.user = s(16);
  e.host = s(17);
  e.programVersion = s(18);
  e.customer = s(19);
  e.id = q.value(21).toLongLong();
  e.beforePruned = q.value(22).toInt() != 0;
  e.afterPruned = q.value(23).toInt() != 0;
  return e;
}

void bindFilter(QSqlQuery &q, const FilterSql &sql) {
  std::size_t n = 0, t = 0;
  for (char kind : sql.kinds) q.addBindValue(kind == 'n' ? number(sql.numbers[n++]) : text(sql.texts[t++]));
}

std::atomic<int> g_connections{0};

}  // namespace

struct SqlStore::Impl {
  // A statement with its values; false with the reason when it fails.
  static bool run(SqlStore &s, QSqlQuery &q, const std::string &sql, const std::vector<QVariant> &values,
                  std::string &why) {
    if (!q.prepare(qs(sql))) {
      why = reasonOf(s.dialect_, s.where(), q.lastError());
      return false;
    }
    for (const QVariant &v : values) q.addBindValue(v);
    if (q.exec()) return true;
    why = reasonOf(s.dialect_, s.where(), q.lastError());
    return false;
  }
  // A statement without values, sent as it is (a server cannot prepare BEGIN or COMMIT).
  static bool plain(SqlStore &s, const std::string &sql, std::string &why) {
    QSqlQuery q(QSqlDatabase::database(qs(s.name_), false));
    if (q.exec(qs(sql))) return true;
    why = reasonOf(s.dialect_, s.where(), q.lastError());
    return false;
  }
  static bool begin(SqlStore &s, std::string &why) {
    return plain(s, s.dialect_ == Dialect::SQLite ? "BEGIN IMMEDIATE" : "BEGIN", why);
  }
  static void rollback(SqlStore &s) {
    std::string ignored;
    plain(s, "ROLLBACK", ignored);
  }
  static std::string readColumns(const SqlStore &s) {
    std::string columns = kEntryReadColumns;
    if (s.schema_ < 2) columns.replace(columns.find("before_pruned, after_pruned"), 27, "0, 0");
    return columns;
  }
};

SqlStore::SqlStore(const Location &location, const SqlOptions &options)
    : location_(location),
      options_(options),
      dialect_(location.kind == Location::Kind::SQLite ? Dialect::SQLite : Dialect::PostgreSQL),
      name_("n27-history-" + std::to_string(++g_connections)) {}

SqlStore::~SqlStore() {
  {
    QSqlDatabase db = QSqlDatabase::database(qs(name_), false);
    if (db.isValid()) db.close();
  }
  QSqlDatabase::removeDatabase(qs(name_));
}

bool SqlStore::connect(std::string &why) {
  const bool sqlite = dialect_ == Dialect::SQLite;
  const QString driver = sqlite ? "QSQLITE" : "QPSQL";
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    why = Fill(kNoDriver, {driver.toStdString(), sqlite ? "libqt6sql6-sqlite" : "libqt6sql6-psql"});
    return false;
  }
  QSqlDatabase db = QSqlDatabase::contains(qs(name_)) ? QSqlDatabase::database(qs(name_), false)
                                                      : QSqlDatabase::addDatabase(driver, qs(name_));
  db.close();
  if (sqlite) {
    // SQLite would open a pipe or a device and fail at the first step with "disk I/O error".
    std::error_code ec;
    const fs::file_status st = fs::status(location_.path, ec);
    if (!ec && fs::exists(st) && !fs::is_regular_file(st)) {
      const FileOutcome refused =
          FileOutcome::Of(fs::is_directory(st) ? FileProblem::IsFolder : FileProblem::NotRegularFile);
      why = Fill(kCannotOpen, {where(), refused.reason()});
      return false;
    }
    if (!MakeFolders(fs::path(location_.path).parent_path().string(), 0700)) {
      why = Fill(kCannotOpen, {where(), fs::path(location_.path).parent_path().string()});
      return false;
    }
    db.setDatabaseName(qs(location_.path));
    db.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(options_.busyTimeoutMs));
  } else {
    db.setDatabaseName(qs(location_.database));
    db.setHostName(qs(location_.host));
    db.setPort(location_.port);
    db.setUserName(qs(location_.user));
    db.setPassword(qs(location_.password));
    QString connect = QString("connect_timeout=%1;tcp_user_timeout=%2")
                          .arg(options_.serverTimeoutS)
                          .arg(options_.serverTimeoutS * 1000);
    for (const auto &[key, value] : location_.options)
      if (key != "connect_timeout") connect += ";" + qs(key) + "=" + qs(value);
    db.setConnectOptions(connect);
  }
  if (!db.open()) {
    why = sqlite ? Fill(kCannotOpen, {where(), errorText(db.lastError())})
                 : Fill(kServerGone, {where(), errorText(db.lastError())});
    return false;
  }
  if (!sqlite) {
    std::string ignored;
    Impl::plain(*this, "SET client_min_messages = warning", ignored);
    Impl::plain(*this, "SET statement_timeout = " + std::to_string(options_.serverTimeoutS * 1000), ignored);
  }
  return true;
}

bool SqlStore::prepareSchema(std::string &why, bool &damaged) {
  damaged = false;
  lockedAtOpen_ = false;
  QSqlDatabase db = QSqlDatabase::database(qs(name_), false);
  const auto failed = [&](const QSqlQuery &q) {
    damaged = classify(dialect_, q.lastError()) == Problem::Damaged;
    lockedAtOpen_ = classify(dialect_, q.lastError()) == Problem::Locked;
    why = reasonOf(dialect_, where(), q.lastError());
    return false;
  };
  if (dialect_ == Dialect::SQLite) {
    QSqlQuery wal(db);
    if (!wal.exec("PRAGMA journal_mode = WAL")) {
      if (classify(dialect_, wal.lastError()) != Problem::ReadOnly) return failed(wal);
      readOnly_ = Fill(kReadOnly, {where()});
    }
    // In WAL mode a commit then waits for no disk flush: a crash of the program loses nothing,
    // a power cut at most the last steps, and the file is never damaged by it.
    QSqlQuery(db).exec("PRAGMA synchronous = NORMAL");
  }
  const std::string exists =
      dialect_ == Dialect::SQLite
          ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'n27_schema'"
          : "SELECT COUNT(*) FROM information_schema.tables WHERE table_name = 'n27_schema' AND "
            "table_schema = current_schema()";
  const auto version = [&](int &value) {
    QSqlQuery q(db);
    if (!q.exec(qs(exists))) return failed(q);
    value = 0;
    if (q.next() && q.value(0).toInt() > 0) {
      QSqlQuery v(db);
      if (!v.exec("SELECT version FROM n27_schema")) return failed(v);
      if (v.next()) value = v.value(0).toInt();
    }
    return true;
  };
  if (!version(schema_)) return false;
  if (schema_ > kSchemaVersion) {
    readOnly_ = Fill(kNewer, {where(), std::to_string(schema_), std::to_string(kSchemaVersion)});
    return true;
  }
  if (schema_ == kSchemaVersion || !readOnly_.empty()) return true;
  // Another program may be doing the same: one of them migrates, the other sees the result.
  // A file that cannot be written stays as it is and is only read.
  const auto step = [&](const std::string &sql) {
    QSqlQuery q(db);
    if (q.exec(qs(sql))) return true;
    if (classify(dialect_, q.lastError()) == Problem::ReadOnly) readOnly_ = Fill(kReadOnly, {where()});
    lockedAtOpen_ = classify(dialect_, q.lastError()) == Problem::Locked;
    why = reasonOf(dialect_, where(), q.lastError());
    if (sql.rfind("BEGIN", 0) != 0) Impl::rollback(*this);
    return false;
  };
  if (!step(dialect_ == Dialect::SQLite ? "BEGIN IMMEDIATE" : "BEGIN")) return !readOnly_.empty();
  if (dialect_ == Dialect::PostgreSQL && !step("SELECT pg_advisory_xact_lock(2717027)")) return false;
  int current = 0;
  if (!version(current)) {
    Impl::rollback(*this);
    return false;
  }
  if (current > kSchemaVersion) {
    Impl::rollback(*this);
    schema_ = current;
    readOnly_ = Fill(kNewer, {where(), std::to_string(current), std::to_string(kSchemaVersion)});
    return true;
  }
  for (; current < kSchemaVersion; ++current) {
    for (const std::string &sql : MigrationSteps(dialect_, current))
      if (!step(sql)) return !readOnly_.empty();
    if (!step("UPDATE n27_schema SET version = " + std::to_string(current + 1))) return !readOnly_.empty();
  }
  if (!Impl::plain(*this, "COMMIT", why)) {
    Impl::rollback(*this);
    return false;
  }
  schema_ = current;
  return true;
}

std::unique_ptr<SqlStore> SqlStore::open(const Location &location, std::string &why, const SqlOptions &options) {
  std::unique_ptr<SqlStore> store(new SqlStore(location, options));
  if (!store->connect(why)) return nullptr;
  bool damaged = false;
  // Two programs opening a new SQLite file at once: switching it to WAL needs the file to
  // itself, and SQLite answers "locked" at once rather than waiting. Try again for as long as
  // a locked step may wait.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(store->options_.busyTimeoutMs);
  bool prepared = store->prepareSchema(why, damaged);
  while (!prepared && store->lockedAtOpen_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    why.clear();
    prepared = store->prepareSchema(why, damaged);
  }
  if (prepared) return store;
  if (!damaged || store->dialect_ != Dialect::SQLite) return nullptr;

  // Keep the damaged file (and its journal) beside, under a name of its own; start anew.
  QSqlDatabase::database(qs(store->name_), false).close();
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  std::string kept = location.path + ".damaged-" + stamp;
  for (int n = 2; fs::exists(fs::symlink_status(kept)) && n < 1000; ++n)
    kept = location.path + ".damaged-" + stamp + "-" + std::to_string(n);
  std::error_code ec;
  fs::rename(location.path, kept, ec);
  if (ec) {
    why = Fill(kNotMoved, {location.path, ec.message()});
    return nullptr;
  }
  for (const char *suffix : {"-wal", "-shm"})
    if (fs::exists(fs::symlink_status(location.path + suffix))) fs::rename(location.path + suffix, kept + suffix, ec);
  store->schema_ = 0;
  store->readOnly_.clear();
  if (!store->connect(why) || !store->prepareSchema(why, damaged)) return nullptr;
  store->notice_ = Fill(kMovedAside, {location.path, kept});
  return store;
}

template <class Step>
bool SqlStore::withConnection(std::string &why, Step step) {
  if (step(why)) return true;
  if (dialect_ != Dialect::PostgreSQL) return false;
  // A server that restarted or a connection that broke: connect again and try once more.
  QSqlQuery probe(QSqlDatabase::database(qs(name_), false));
  if (probe.exec("SELECT 1")) return false;
  std::string again;
  if (!connect(again)) {
    why = again;
    return false;
  }
  why.clear();
  return step(why);
}

int64_t SqlStore::add(const Entry &e, const RadioImage *image, std::string &why) {
  if (!readOnly_.empty()) {
    why = readOnly_;
    return 0;
  }
  int64_t id = 0;
  withConnection(why, [&](std::string &w) {
    QSqlDatabase db = QSqlDatabase::database(qs(name_), false);
    if (!Impl::begin(*this, w)) return false;
    QVariant imageId(QMetaType(QMetaType::LongLong));
    if (image) {
      const auto &bytes = image->bytes();
      const std::string digest = WholeImageDigest(*image);
      QSqlQuery put(db), find(db);
      if (!Impl::run(*this, put, "INSERT INTO images (digest, bytes) VALUES (?, ?) ON CONFLICT (digest) DO NOTHING",
                     {text(digest), QByteArray(reinterpret_cast<const char *>(bytes.data()), bytes.size())}, w) ||
          !Impl::run(*this, find, "SELECT id FROM images WHERE digest = ?", {text(digest)}, w) || !find.next()) {
        Impl::rollback(*this);
        return false;
      }
      imageId = number(find.value(0).toLongLong());
    }
    QSqlQuery q(db);
    const std::vector<QVariant> values{
        number(e.time), text(OperationName(e.operation)), number(e.ok ? 1 : 0), text(e.reason),
        text(e.overrideReason), text(e.serial), text(SerialKey(e.serial)), text(e.model), number(e.band),
        text(e.firmware), text(e.port), text(e.dataFile), text(e.backupBefore), text(e.backupAfter),
        text(image ? e.sha256 : std::string()), imageId, text(e.user), text(e.host), text(e.programVersion),
        text(e.customer), text(CustomerKey(e.customer))};
    if (!Impl::run(*this, q,
                   std::string("INSERT INTO entries (") + kEntryColumns +
                       ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id",
                   values, w) ||
        !q.next()) {
      Impl::rollback(*this);
      return false;
    }
    id = q.value(0).toLongLong();
    q.finish();
    if (!Impl::plain(*this, "COMMIT", w)) {
      Impl::rollback(*this);
      id = 0;
      return false;
    }
    return true;
  });
  return id;
}

std::vector<Entry> SqlStore::query(const Filter &filter, int limit, std::string &why) {
  std::vector<Entry> entries;
  if (schema_ == 0) return entries;
  withConnection(why, [&](std::string &w) {
    entries.clear();
    const FilterSql sql = BuildFilterSql(filter);
    QSqlQuery q(QSqlDatabase::database(qs(name_), false));
    q.setForwardOnly(true);
    std::string text = "SELECT " + Impl::readColumns(*this) + " FROM entries" + sql.where +
                       " ORDER BY time DESC, id DESC";
    if (limit > 0) text += " LIMIT " + std::to_string(limit);
    if (!q.prepare(qs(text))) {
      w = reasonOf(dialect_, where(), q.lastError());
      return false;
    }
    bindFilter(q, sql);
    if (!q.exec()) {
      w = reasonOf(dialect_, where(), q.lastError());
      return false;
    }
    while (q.next()) entries.push_back(readEntry(q));
    return true;
  });
  return entries;
}

std::optional<int64_t> SqlStore::count(const Filter &filter, std::string &why) {
  if (schema_ == 0) return 0;
  std::optional<int64_t> result;
  withConnection(why, [&](std::string &w) {
    const FilterSql sql = BuildFilterSql(filter);
    QSqlQuery q(QSqlDatabase::database(qs(name_), false));
    if (!q.prepare(qs("SELECT COUNT(*) FROM entries" + sql.where))) {
      w = reasonOf(dialect_, where(), q.lastError());
      return false;
    }
    bindFilter(q, sql);
    if (!q.exec() || !q.next()) {
      w = reasonOf(dialect_, where(), q.lastError());
      return false;
    }
    result = q.value(0).toLongLong();
    return true;
  });
  return result;
}

std::optional<Entry> SqlStore::get(int64_t id, std::string &why) {
  std::optional<Entry> found;
  if (schema_ > 0)
    withConnection(why, [&](std::string &w) {
      QSqlQuery q(QSqlDatabase::database(qs(name_), false));
      if (!Impl::run(*this, q, "SELECT " + Impl::readColumns(*this) + " FROM entries WHERE id = ?", {number(id)}, w))
        return false;
      if (q.next()) found = readEntry(q);
      return true;
    });
  if (!found && why.empty()) why = Fill(kNoEntry, {std::to_string(id)});
  return found;
}

std::optional<RadioImage> SqlStore::image(int64_t id, std::string &why) {
  std::optional<RadioImage> found;
  bool entry = false;
  if (schema_ > 0)
    withConnection(why, [&](std::string &w) {
      QSqlQuery q(QSqlDatabase::database(qs(name_), false));
      if (!Impl::run(*this, q,
                     "SELECT i.bytes FROM entries e LEFT JOIN images i ON i.id = e.image_id WHERE e.id = ?",
                     {number(id)}, w))
        return false;
      if (!q.next()) return true;
      entry = true;
      if (q.value(0).isNull()) return true;
      const QByteArray bytes = q.value(0).toByteArray();
      if (bytes.size() != static_cast<qsizetype>(RadioImage::kSize)) {
        w = Fill(kBadImage, {std::to_string(id)});
        return false;
      }
      RadioImage image;
      for (std::size_t a = 0; a < RadioImage::kSize; ++a) image.set(a, static_cast<uint8_t>(bytes[a]));
      found = image;
      return true;
    });
  if (!found && why.empty()) why = Fill(entry ? kNoImage : kNoEntry, {std::to_string(id)});
  return found;
}

std::optional<std::set<std::string>> SqlStore::latestBackups(const std::string &host, std::string &why) {
  std::optional<std::set<std::string>> paths;
  if (schema_ == 0) return std::set<std::string>{};
  withConnection(why, [&](std::string &w) {
    QSqlQuery q(QSqlDatabase::database(qs(name_), false));
    q.setForwardOnly(true);
    if (!Impl::run(*this, q,
                   "SELECT backup_before, backup_after FROM entries WHERE id IN (SELECT MAX(id) FROM entries "
                   "WHERE host = ? AND serial_key <> '' AND (backup_before <> '' OR backup_after <> '') "
                   "GROUP BY serial_key)",
                   {text(host)}, w))
      return false;
    paths.emplace();
    while (q.next()) {
      const std::string before = q.value(0).toString().toStdString(), after = q.value(1).toString().toStdString();
      paths->insert(after.empty() ? before : after);
    }
    return true;
  });
  return paths;
}

bool SqlStore::markPruned(const std::string &host, const std::vector<std::string> &images, std::string &why) {
  if (!readOnly_.empty()) {
    why = readOnly_;
    return false;
  }
  if (images.empty() || schema_ < 2) return true;
  return withConnection(why, [&](std::string &w) {
    if (!Impl::begin(*this, w)) return false;
    QSqlDatabase db = QSqlDatabase::database(qs(name_), false);
    for (const std::string &image : images)
      for (const char *sql : {"UPDATE entries SET before_pruned = 1 WHERE host = ? AND backup_before = ?",
                              "UPDATE entries SET after_pruned = 1 WHERE host = ? AND backup_after = ?"}) {
        QSqlQuery q(db);
        if (!Impl::run(*this, q, sql, {text(host), text(image)}, w)) {
          Impl::rollback(*this);
          return false;
        }
      }
    if (Impl::plain(*this, "COMMIT", w)) return true;
    Impl::rollback(*this);
    return false;
  });
}

}  // namespace n27::history
