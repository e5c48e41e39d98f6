#pragma once
// n27-bench runs every benchmark registered here (or those named on its command line).
// A benchmark lives in its own bench/*_bench.cpp file and registers itself:
//   N27_BENCHMARK("transfer", "read and write the simulated radio at 38400 baud", RunTransfer);
// It prints its own figures on stdout and returns 0 when it could run.

#include <algorithm>
#include <vector>

namespace n27::bench {

// The middle value of a set of timings.
inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Benchmark {
  const char *name;
  const char *summary;
  int (*run)();
};

std::vector<Benchmark> &Benchmarks();

// `n27-bench soak [options]`: write/read cycles on a noisy simulated line (not part of the
// default run: it takes minutes). argv holds the options after "soak".
int RunSoak(int argc, char **argv);

struct Registrar {
  explicit Registrar(Benchmark b) { Benchmarks().push_back(b); }
};

}  // namespace n27::bench

#define N27_BENCH_CONCAT2(a, b) a##b
#define N27_BENCH_CONCAT(a, b) N27_BENCH_CONCAT2(a, b)
#define N27_BENCHMARK(NAME, SUMMARY, FN) \
  static ::n27::bench::Registrar N27_BENCH_CONCAT(n27_bench_registrar_, __LINE__)({NAME, SUMMARY, FN})
