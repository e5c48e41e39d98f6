// The programming job against simulated radios paced at 38400 baud: one radio's job against
// the time its bytes need on the line, three radios on three cables against one, the
// program's CPU per cable, and how quickly the fleet window answers input while four cables
// transfer.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/paths.h"
#include "bench/benchmark.h"
#include "codeplug/configuration.h"
#include "link/qt/job_line.h"
#include "link/transfer_session.h"
#include "link/ui/FrmFleet.h"

namespace n27::bench {
namespace {

constexpr double kBaud = 38400.0;

struct Sims {
  std::vector<std::unique_ptr<QProcess>> processes;
  std::vector<std::string> devices;
  bool start(int n) {
    for (int i = 0; i < n; ++i) {
      auto sim = std::make_unique<QProcess>();
      sim->setProgram(QString::fromStdString(JoinPath(ProgramFolder(), "n27-sim")));
      sim->setArguments({"--baud", "38400", "--turnaround", "0", "--realtime", "--serial",
                         QString("BENCH-%1").arg(i + 1)});
      sim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
      sim->start();
      if (!sim->waitForStarted(5000) || !sim->waitForReadyRead(5000)) return false;
      devices.push_back(sim->readLine().trimmed().toStdString());
      processes.push_back(std::move(sim));
    }
    return true;
  }
  ~Sims() {
    for (auto &p : processes) {
      p->terminate();
      p->waitForFinished(3000);
    }
  }
};

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Jobs on `n` cables at once; the seconds until the last ends, the wire seconds of one.
struct Parallel {
  double seconds = 0, wire = 0, cpu = 0;
  bool ok = true;
  std::vector<StepTime> steps;  // of the job that ended last
};

Parallel runJobs(const Workspace &config, const VersionTable &versions, const std::vector<std::string> &devices) {
  struct Counter : JobListener {
    int left = 0;
    bool ok = true;
    std::vector<StepTime> steps;
    double seconds = 0;
    QEventLoop loop;
    void jobEnded(const JobResult &r) override {
      ok = ok && r.outcome == JobOutcome::Done;
      steps = r.steps;
      seconds = r.seconds;
      if (--left == 0) loop.quit();
    }
  } counter;
  std::vector<std::unique_ptr<SerialJobLine>> lines;
  std::vector<std::unique_ptr<ProgrammingJob>> jobs;
  JobOptions options;
  options.backupFolder = JoinPath(DataDir(), "bench-backups");
  for (const std::string &device : devices) {
    lines.push_back(std::make_unique<SerialJobLine>(device, versions));
    jobs.push_back(std::make_unique<ProgrammingJob>(*lines.back(), counter, config, options));
  }
  counter.left = static_cast<int>(jobs.size());
  Parallel out;
  const double cpu0 = cpuSeconds();
  QElapsedTimer timer;
  timer.start();
  for (auto &job : jobs) job->start();
  counter.loop.exec();
  out.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  out.cpu = cpuSeconds() - cpu0;
  out.ok = counter.ok;
  out.steps = counter.steps;
  out.wire = static_cast<double>(lines.front()->bytesSent() + lines.front()->bytesReceived()) * 10.0 / kBaud;
  return out;
}

// The fleet window on four cables: synthetic key presses every 20 ms while the radios are
// written; the longest and the 99th-percentile wait until the window handles one.
struct Probe : QObject {
  std::vector<double> waits;
  QElapsedTimer clock;
  qint64 postedAt = -1;
  bool eventFilter(QObject *, QEvent *e) override {
    if (e->type() == QEvent::KeyPress && postedAt >= 0) {
      waits.push_back(static_cast<double>(clock.nsecsElapsed() - postedAt) / 1e6);
      postedAt = -1;
    }
    return false;
  }
};

// A bare read and write of the same radio (no job around them), each the median of three.
struct Bare : TransferUi {
  bool ok = false;
  QEventLoop *loop = nullptr;
  bool askRetry(const std::string &) override { return false; }
  void askPassword(std::string &) override {}
  bool askSwitchRelease(const std::string &) override { return false; }
  void showMessage(const std::string &, MessageIcon) override {}
  void progress(int) override {}
  void finished(bool success) override {
    ok = success;
    if (loop) loop->quit();
  }
  void switchRelease(const std::string &) override {}
};

double bareTransfers(Workspace ws, const VersionTable &versions, const std::string &device) {
  Bare ui;
  SerialTransfer line(ws, versions, ui);
  line.setDevice(device);
  auto once = [&](TransferType type) {
    QEventLoop loop;
    ui.loop = &loop;
    QElapsedTimer timer;
    timer.start();
    if (line.start(type)) loop.exec();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
  };
  std::vector<double> reads, writes;
  for (int i = 0; i < 3; ++i) {
    PrepareRead(ws);
    reads.push_back(once(TransferType::Read));
    PrepareWrite(ws);
    writes.push_back(once(TransferType::Write));
  }
  std::sort(reads.begin(), reads.end());
  std::sort(writes.begin(), writes.end());
  return 2 * reads[1] + writes[1];
}

int RunJobBench() {
  Sims sims;
  if (!sims.start(4)) {
    std::fprintf(stderr, "n27-bench: the simulated radios do not start\n");
    return 1;
  }
  Workspace config;
  config.programFolder = ShippedDataDir();
  NewConfiguration(config);
  VersionTable versions;
  versions.addPair(config.dataVersion + "V101");

  std::vector<Parallel> ones, threes;
  for (int i = 0; i < 3; ++i) {
    ones.push_back(runJobs(config, versions, {sims.devices[0]}));
    threes.push_back(runJobs(config, versions, {sims.devices[0], sims.devices[1], sims.devices[2]}));
  }
  auto median = [](std::vector<Parallel> v) {
    std::sort(v.begin(), v.end(), [](const Parallel &a, const Parallel &b) { return a.seconds < b.seconds; });
    return v[v.size() / 2];
  };
  const Parallel one = median(ones), three = median(threes);
  if (!one.ok || !three.ok) {
    std::fprintf(stderr, "n27-bench: a job failed\n");
    return 1;
  }
  std::printf("one radio   %6.3f s   wire %6.3f s   ratio %5.3f   (identify, backup, write, verify; median of 3)\n",
              one.seconds, one.wire, one.seconds / one.wire);
  std::string steps;
  double inSteps = 0;
  for (const StepTime &t : one.steps) {
    char text[48];
    std::snprintf(text, sizeof text, "%s%s %.3f s", steps.empty() ? "" : ", ", JobStepName(t.step).c_str(), t.seconds);
    steps += text;
    inSteps += t.seconds;
  }
  std::printf("             steps: %s; between steps %.3f s\n", steps.c_str(), one.seconds - inSteps);
  const double bare = bareTransfers(config, versions, sims.devices[3]);
  std::printf("             against its transfers run alone (two reads and a write, %.3f s): ratio %5.3f\n",
              bare, one.seconds / bare);
  std::printf("three radios %5.3f s   one radio %6.3f s   ratio %5.3f   (three cables at once)\n",
              three.seconds, one.seconds, three.seconds / one.seconds);
  std::printf("cpu per cable %5.1f %% of a core   (three cables: %.3f s of CPU in %.3f s)\n",
              three.cpu / three.seconds / 3.0 * 100.0, three.cpu, three.seconds);

  // The window: four cables, four radios waiting on them.
  std::vector<PortEntry> ports;
  for (std::size_t i = 0; i < sims.devices.size(); ++i)
    ports.push_back({static_cast<int>(240 + i), sims.devices[i], "", true});
  JobOptions job;
  job.backupFolder = JoinPath(DataDir(), "bench-backups");
  FrmFleet window(config, versions, ports, job, std::chrono::milliseconds(kReplyTimeoutMs));
  window.show();
  for (int i = 0; i < window.cableList()->count(); ++i) window.cableList()->item(i)->setCheckState(Qt::Checked);
  Probe probe;
  QWidget *target = window.cableList();
  target->installEventFilter(&probe);
  probe.clock.start();
  QTimer keys;
  keys.setInterval(20);
  QObject::connect(&keys, &QTimer::timeout, [&] {
    if (probe.postedAt >= 0) return;
    probe.postedAt = probe.clock.nsecsElapsed();
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
  });
  QElapsedTimer runTime;
  runTime.start();
  const double cpu0 = cpuSeconds();
  window.startButton()->click();
  keys.start();
  QEventLoop loop;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if ((window.run() && window.run()->done() >= 4) || runTime.elapsed() > 60000) loop.quit();
  });
  watch.start(50);
  loop.exec();
  keys.stop();
  const double seconds = static_cast<double>(runTime.nsecsElapsed()) / 1e9, cpu = cpuSeconds() - cpu0;
  window.startButton()->click();  // stop
  QElapsedTimer settle;
  settle.start();
  while (window.run() && !window.run()->ended() && settle.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  std::sort(probe.waits.begin(), probe.waits.end());
  if (probe.waits.empty() || window.run()->done() < 4) {
    std::fprintf(stderr, "n27-bench: the fleet window did not program four radios\n");
    return 1;
  }
  const double p99 = probe.waits[probe.waits.size() * 99 / 100], worst = probe.waits.back();
  std::printf("fleet window input: 99%% within %.1f ms, worst %.1f ms   (%zu key presses while four cables transfer)\n",
              p99, worst, probe.waits.size());
  std::printf("fleet window cpu per cable %5.1f %% of a core   (four cables, %.3f s of CPU in %.3f s)\n",
              cpu / seconds / 4.0 * 100.0, cpu, seconds);
  return 0;
}

}  // namespace
N27_BENCHMARK("job", "programming jobs at 38400 baud: one radio, three cables at once, the fleet window",
              RunJobBench);
}  // namespace n27::bench
