// n27-bench soak: many write/read cycles against the simulated radio on a noisy line.
//
// Each cycle writes a fresh random memory to n27-sim (running with --random-faults: replies
// dropped, garbled, a bit flipped, or the radio silent until the next program request), reads
// it back and compares what was read with what was written. The retry question is answered
// Retry (up to kRetriesPerTransfer times per transfer), as a patient user would. Reported:
// cycles, faults the line injected, transfers that recovered from them, transfers that gave
// up, and wrong data — a read that completed with bytes other than those written, which must
// never happen — plus the resident memory and open files of both processes at start and end.

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "base/paths.h"
#include "bench/benchmark.h"
#include "codeplug/configuration.h"
#include "codeplug/memory_map.h"
#include "link/qt/serial_port.h"
#include "link/transfer_session.h"
#include "link/verify.h"

namespace n27::bench {
namespace {

constexpr int kRetriesPerTransfer = 20;

class PatientUi : public TransferUi {
 public:
  bool askRetry(const std::string &) override { return retriesLeft-- > 0; }
  void askPassword(std::string &) override {}
  bool askSwitchRelease(const std::string &) override { return false; }
  void showMessage(const std::string &text, MessageIcon) override {
    std::fprintf(stderr, "n27-bench soak: %s\n", text.c_str());
  }
  void progress(int) override {}
  void finished(bool ok) override { success = ok; }
  void switchRelease(const std::string &) override {}
  int retriesLeft = 0;
  bool success = false;
};

struct ProcessUse {
  long rssKb = -1;
  long files = -1;
};

ProcessUse use(long pid) {
  ProcessUse u;
  const std::string base = "/proc/" + (pid ? std::to_string(pid) : std::string("self"));
  std::ifstream status(base + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) u.rssKb = std::atol(line.c_str() + 6);
  QDir fd(QString::fromStdString(base + "/fd"));
  if (fd.exists()) u.files = static_cast<long>(fd.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
  return u;
}

bool transfer(SerialTransfer &line, PatientUi &ui, TransferType type) {
  ui.retriesLeft = kRetriesPerTransfer;
  ui.success = false;
  QEventLoop loop;
  auto c = QObject::connect(&line, &SerialTransfer::transferFinished, &loop, &QEventLoop::quit);
  if (line.start(type) && line.running()) loop.exec();
  QObject::disconnect(c);
  return ui.success;
}

bool recovered(const TransferSummary &s) { return s.rerequests > 0 || s.restarts > 0 || s.timeouts > 0; }

long countFaults(const std::string &tracePath) {
  std::ifstream in(tracePath);
  long n = 0;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("fault ", 0) == 0) ++n;
  return n;
}

bool number(const char *text, long &out) {
  const char *end = text + std::char_traits<char>::length(text);
  auto [p, ec] = std::from_chars(text, end, out);
  return ec == std::errc() && p == end && out >= 0;
}

}  // namespace

int RunSoak(int argc, char **argv) {
  long cycles = 200, seed = 1, timeoutMs = 250;
  double rate = 0.002;
  for (int i = 0; i < argc; ++i) {
    std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = hasValue;
    if (a == "--cycles" && hasValue) ok = number(argv[++i], cycles) && cycles > 0;
    else if (a == "--seed" && hasValue) ok = number(argv[++i], seed);
    else if (a == "--reply-timeout" && hasValue) ok = number(argv[++i], timeoutMs) && timeoutMs > 0;
    else if (a == "--rate" && hasValue) {
      char *end = nullptr;
      rate = std::strtod(argv[++i], &end);
      ok = *end == '\0' && rate >= 0 && rate <= 0.5;
    } else ok = false;
    if (!ok) {
      std::fprintf(stderr,
                   "Usage: n27-bench soak [--cycles N] [--seed S] [--rate P] [--reply-timeout MS]\n"
                   "  N write/read cycles (default 200) against n27-sim with random faults on\n"
                   "  each reply with chance P (default 0.002), seeded with S (default 1).\n");
      return 2;
    }
  }

  QTemporaryDir dir;
  const std::string trace = dir.filePath("trace").toStdString();
  QProcess sim;
  sim.setProgram(QString::fromStdString(JoinPath(ProgramFolder(), "n27-sim")));
  sim.setArguments({"--baud", "0", "--random-faults", QString::number(rate, 'g', 6), "--seed",
                    QString::number(seed), "--trace", QString::fromStdString(trace)});
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start();
  if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
    std::fprintf(stderr, "n27-bench soak: the simulated radio does not start\n");
    return 1;
  }
  const std::string device = sim.readLine().trimmed().toStdString();
  const long simPid = static_cast<long>(sim.processId());

  Workspace written, read;
  for (Workspace *ws : {&written, &read}) {
    ws->programFolder = ProgramFolder();
    NewConfiguration(*ws);
  }
  VersionTable versions;
  versions.addPair(written.dataVersion + "V101");
  PatientUi ui;
  SerialTransfer writer(written, versions, ui), reader(read, versions, ui);
  for (SerialTransfer *line : {&writer, &reader})
    line->setReplyTimeout(std::chrono::milliseconds(timeoutMs));
  if (PortOpenResult r = writer.openPort(device); !r.ok) {
    std::fprintf(stderr, "%s\n", r.message.c_str());
    return 1;
  }
  writer.closePort();

  const ProcessUse selfStart = use(0), simStart = use(simPid);
  std::mt19937 random(static_cast<unsigned>(seed));
  long recoveries = 0, gaveUp = 0, wrong = 0, compared = 0, rerequests = 0, restarts = 0;
  for (long cycle = 1; cycle <= cycles; ++cycle) {
    // A new memory each cycle, in every block a write sends.
    for (std::size_t a = 0; a < mem::kTransferEnd; ++a)
      written.image.set(a, static_cast<uint8_t>(random()));
    if (PortOpenResult r = writer.openPort(device); !r.ok) return 1;
    const bool wrote = transfer(writer, ui, TransferType::Write);
    if (PortOpenResult r = reader.openPort(device); !r.ok) return 1;
    PrepareRead(read);
    const bool readOk = wrote && transfer(reader, ui, TransferType::Read);
    for (const TransferSummary &s : {writer.engine().summary(), reader.engine().summary()}) {
      rerequests += s.rerequests;
      restarts += s.restarts;
    }
    if (wrote && recovered(writer.engine().summary())) ++recoveries;
    if (readOk && recovered(reader.engine().summary())) ++recoveries;
    if (!wrote || !readOk) {
      ++gaveUp;
      continue;
    }
    ++compared;
    for (std::size_t a = 0; a < mem::kTransferEnd; ++a) {
      if (!IsWrittenImageAddress(static_cast<int>(a))) continue;
      if (read.image.at(a) != written.image.at(a)) {
        std::fprintf(stderr, "n27-bench soak: cycle %ld: byte %zu read %02X, written %02X\n", cycle,
                     a, read.image.at(a), written.image.at(a));
        ++wrong;
        break;
      }
    }
  }
  const ProcessUse selfEnd = use(0), simEnd = use(simPid);
  sim.terminate();
  sim.waitForFinished(3000);
  const long faults = countFaults(trace);

  std::printf("cycles %ld (compared %ld), faults injected %ld, recoveries %ld, re-requests %ld, "
              "restarts %ld, transfers given up %ld, wrong data %ld\n",
              cycles, compared, faults, recoveries, rerequests, restarts, gaveUp, wrong);
  std::printf("programmer: RSS %ld kB -> %ld kB, open files %ld -> %ld\n", selfStart.rssKb,
              selfEnd.rssKb, selfStart.files, selfEnd.files);
  std::printf("simulator:  RSS %ld kB -> %ld kB, open files %ld -> %ld\n", simStart.rssKb,
              simEnd.rssKb, simStart.files, simEnd.files);
  std::fflush(stdout);
  return wrong == 0 && compared > 0 ? 0 : 1;
}

}  // namespace n27::bench
