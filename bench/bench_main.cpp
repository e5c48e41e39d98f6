// n27-bench: the program's timing benchmarks. `make bench` runs them all.

#include <QApplication>
#include <QtGlobal>

#include <cstdio>
#include <string>

#include "base/file_io.h"
#include "bench/benchmark.h"

namespace n27::bench {
std::vector<Benchmark> &Benchmarks() {
  static std::vector<Benchmark> all;
  return all;
}
}  // namespace n27::bench

namespace {

// The windowless platform remarks on every window the grid benchmark sizes; the benchmark
// prints only its figures. Anything else still reaches stderr.
QtMessageHandler qtDefault = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text) {
  if (text.contains(QLatin1String("does not support propagateSizeHints"))) return;
  if (qtDefault) qtDefault(type, context, text);
}

}  // namespace

int main(int argc, char **argv) {
  n27::IgnoreFileSizeSignal();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtDefault = qInstallMessageHandler(quietPlatform);
  QApplication app(argc, argv);
  if (argc >= 2 && std::string(argv[1]) == "soak") return n27::bench::RunSoak(argc - 2, argv + 2);
  int failures = 0;
  for (const auto &b : n27::bench::Benchmarks()) {
    bool wanted = argc < 2;
    for (int i = 1; i < argc; ++i) wanted = wanted || std::string(argv[i]) == b.name;
    if (!wanted) continue;
    std::printf("== %s: %s\n", b.name, b.summary);
    std::fflush(stdout);
    if (b.run() != 0) ++failures;
  }
  return failures ? 1 : 0;
}
