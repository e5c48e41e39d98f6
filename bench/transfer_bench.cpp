// How close a read and a write come to the time the 38400-baud line itself needs.
//
// The simulated radio runs as its own process on a pseudo-terminal and paces its replies at
// 38400 baud with no turnaround delay (with real-time scheduling where permitted, so that it
// keeps time like hardware); the time each request needs on the line is accounted for before
// the reply starts. "wire" is every byte sent and received × 10 bits / 38400; the
// ratio shows what the programmer adds on top of the line.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/paths.h"
#include "bench/benchmark.h"
#include "codeplug/configuration.h"
#include "link/qt/serial_port.h"
#include "link/transfer_session.h"

namespace n27::bench {
namespace {

constexpr int kRuns = 5;
constexpr double kBaud = 38400.0;

class QuietUi : public TransferUi {
 public:
  bool askRetry(const std::string &) override { return false; }
  void askPassword(std::string &) override {}
  bool askSwitchRelease(const std::string &) override { return false; }
  void showMessage(const std::string &text, MessageIcon) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  void progress(int) override {}
  void finished(bool success) override { success_ = success; }
  void switchRelease(const std::string &) override {}
  bool success_ = false;
};

struct Run {
  double seconds = 0;
  double wire = 0;
};

bool transferOnce(SerialTransfer &line, QuietUi &ui, TransferType type, Run &out) {
  QEventLoop loop;
  auto c = QObject::connect(&line, &SerialTransfer::transferFinished, &loop, &QEventLoop::quit);
  const uint64_t sent0 = line.bytesSent(), received0 = line.bytesReceived();
  QElapsedTimer timer;
  timer.start();
  bool started = line.start(type);
  if (started) loop.exec();
  out.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  QObject::disconnect(c);
  const uint64_t bytes = line.bytesSent() - sent0 + line.bytesReceived() - received0;
  out.wire = static_cast<double>(bytes) * 10.0 / kBaud;
  return started && ui.success_;
}

void report(const char *what, std::vector<Run> runs) {
  std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
  const Run &median = runs[runs.size() / 2];
  std::printf("%-6s %6.3f s   wire %6.3f s   ratio %5.3f   (median of %zu; best %.3f s, worst %.3f s)\n",
              what, median.seconds, median.wire, median.seconds / median.wire, runs.size(),
              runs.front().seconds, runs.back().seconds);
}

int RunTransferBench() {
  QProcess sim;
  sim.setProgram(QString::fromStdString(JoinPath(ProgramFolder(), "n27-sim")));
  sim.setArguments({"--baud", "38400", "--turnaround", "0", "--realtime"});
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start();
  if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
    std::fprintf(stderr, "n27-bench: the simulated radio does not start\n");
    return 1;
  }
  const std::string device = sim.readLine().trimmed().toStdString();

  Workspace ws;
  ws.programFolder = ShippedDataDir();
  NewConfiguration(ws);
  VersionTable versions;
  versions.addPair(ws.dataVersion + "V101");
  QuietUi ui;
  SerialTransfer line(ws, versions, ui);
  PortOpenResult opened = line.openPort(device);
  int rc = 0;
  if (!opened.ok) {
    std::fprintf(stderr, "%s\n", opened.message.c_str());
    rc = 1;
  }
  std::vector<Run> reads, writes;
  for (int i = 0; i < kRuns && rc == 0; ++i) {
    Run r;
    PrepareRead(ws);
    if (!transferOnce(line, ui, TransferType::Read, r)) rc = 1;
    reads.push_back(r);
    PrepareWrite(ws);
    if (!transferOnce(line, ui, TransferType::Write, r)) rc = 1;
    writes.push_back(r);
  }
  if (rc == 0) {
    report("read", reads);
    report("write", writes);
  } else {
    std::fprintf(stderr, "n27-bench: a transfer failed\n");
  }
  line.closePort();
  sim.terminate();
  sim.waitForFinished(3000);
  return rc;
}

}  // namespace
N27_BENCHMARK("transfer", "read and write the simulated radio paced at 38400 baud over a pty",
              RunTransferBench);
}  // namespace n27::bench
