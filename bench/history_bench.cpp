// The radio history at the scale of a busy shop: 100,000 entries in the SQLite file (or in the
// database N27_BENCH_HISTORY names, e.g. a PostgreSQL server shared by the benches). Prints
// how long a filter by serial number, opening the history window and one recorded step take.

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ui/frmMain.h"
#include "base/paths.h"
#include "bench/benchmark.h"
#include "codeplug/configuration.h"
#include "history/history_recorder.h"
#include "history/qt/sql_history_store.h"
#include "history/ui/FrmHistory.h"

namespace n27::bench {
namespace {

constexpr int kEntries = 100000;
constexpr int kRadios = 5000;
constexpr int kRuns = 20;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string serialOf(int radio) { return "SN" + std::to_string(100000 + radio); }

// 100,000 entries in one transaction: 20 steps of each of 5,000 radios over two years, a few
// hundred distinct images.
bool fill(history::SqlStore &store) {
  QSqlDatabase db = QSqlDatabase::database(QString::fromStdString(store.connectionName()));
  std::string why;
  RadioImage image;
  history::Entry e;
  e.hasImage = true;
  e.serial = "seed";
  if (store.add(e, &image, why) == 0) return std::fprintf(stderr, "%s\n", why.c_str()), false;
  if (!QSqlQuery(db).exec("BEGIN")) return false;
  QSqlQuery q(db);
  q.prepare(QString("INSERT INTO entries (") + history::kEntryColumns +
            ") VALUES (?, ?, ?, '', '', ?, ?, 'N27PR', 0, 'V101', '/dev/ttyUSB0', '', '', ?, ?, 1, 'dealer', "
            "'bench-1', '2.00', ?, ?)");
  const char *customers[] = {"Harbour police", "City fire brigade", "Taxi Co", "Security Ltd"};
  for (int i = 0; i < kEntries; ++i) {
    const int radio = (i * 7919) % kRadios;
    q.addBindValue(QVariant::fromValue<qlonglong>(1700000000LL + i * 600LL));
    q.addBindValue(i % 3 ? "write" : "read");
    q.addBindValue(i % 50 ? 1 : 0);
    q.addBindValue(QString::fromStdString(serialOf(radio)));
    q.addBindValue(QString::fromStdString(serialOf(radio)));
    q.addBindValue(QString::fromStdString("/backups/" + std::to_string(i) + "_after-write.img"));
    q.addBindValue(QString(64, QChar('a' + i % 26)));
    q.addBindValue(customers[radio % 4]);
    q.addBindValue(QString(customers[radio % 4]).toUpper());
    if (!q.exec()) return std::fprintf(stderr, "fill: %s\n", q.lastError().text().toUtf8().constData()), false;
  }
  return QSqlQuery(db).exec("COMMIT");
}

int RunHistory() {
  const char *shared = std::getenv("N27_BENCH_HISTORY");
  const std::string folder = JoinPath(DataDir(), "bench-history");
  std::filesystem::remove_all(folder);
  const std::string text = shared ? shared : folder + "/history.sqlite";
  std::string why;
  auto location = history::ParseLocation(text, "", why);
  auto store = location ? history::SqlStore::open(*location, why) : nullptr;
  if (!store) return std::fprintf(stderr, "history: %s\n", why.c_str()), 1;
  QElapsedTimer clock;
  clock.start();
  if (!fill(*store)) return 1;
  std::printf("history: %d entries of %d radios made in %.1f s (%s)\n", kEntries, kRadios, clock.elapsed() / 1000.0,
              store->where().c_str());

  std::vector<double> filter;
  for (int r = 0; r < kRuns; ++r) {
    clock.restart();
    const auto found = store->query({.serial = serialOf(r * 37), .serialPrefix = false, .customer = {}, .since = {},
                                     .before = {}, .ok = {}},
                                    0, why);
    filter.push_back(clock.nsecsElapsed() / 1e6);
    if (found.size() != kEntries / kRadios) return std::fprintf(stderr, "history: %zu entries found\n", found.size()), 1;
  }
  std::printf("history: filter by serial number: %.2f ms (median of %d; at most 50 ms)\n", median(filter), kRuns);

  Workspace ws;
  ws.programFolder = ProgramFolder();
  NewConfiguration(ws);
  ShellOptions options;
  options.keepGeometry = false;
  frmMain main(ws, options);
  std::vector<double> open;
  for (int r = 0; r < 5; ++r) {
    auto again = history::SqlStore::open(*location, why);
    clock.restart();
    FrmHistory window(main, std::move(again));
    window.show();
    QApplication::processEvents();
    open.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::printf("history: window open with %d entries: %.1f ms (median of 5; at most 300 ms)\n", kEntries, median(open));

  history::Recorder recorder(std::move(store), history::CurrentOrigin("2.00"));
  JobRecord record;
  record.radio.serial = serialOf(1);
  record.hasImage = true;
  std::vector<double> add;
  for (int r = 0; r < kRuns; ++r) {
    record.time = 1800000000 + r;
    record.image.set(100, static_cast<uint8_t>(r));  // a new image each time
    clock.restart();
    const std::string reason = recorder.record(record);
    add.push_back(clock.nsecsElapsed() / 1e6);
    if (!reason.empty()) return std::fprintf(stderr, "history: %s\n", reason.c_str()), 1;
  }
  std::printf("history: one recorded step with its image: %.2f ms (median of %d; at most 5 ms)\n", median(add), kRuns);
  if (!shared) std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace
N27_BENCHMARK("history", "the radio history with 100,000 entries: filter, window, record", RunHistory);
}  // namespace n27::bench
