#pragma once
// n27-sim on a pseudo-terminal and n27-cli as a child process, for the end-to-end tests of the
// command line against the simulated radio.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace n27::e2e {

inline const QString kProgramDir = N27_PROGRAM_DIR;

// A simulated radio for one test; stopped when the test ends. Unpaced unless the arguments
// give --baud.
class Sim {
 public:
  explicit Sim(QStringList args) {
    args.prepend("0");
    args.prepend("--baud");
    process_.start(kProgramDir + "/n27-sim", args);
    if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
      device_ = process_.readLine().trimmed().toStdString();
  }
  ~Sim() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
  }
  const std::string &device() const { return device_; }
  QString port() const { return QString::fromStdString(device_); }
  void kill() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  // SIGTERM; true when the simulator ended by itself within `ms`.
  bool stop(int ms) {
    process_.terminate();
    return process_.waitForFinished(ms) && process_.exitStatus() == QProcess::NormalExit;
  }

 private:
  QProcess process_;
  std::string device_;
};

struct CliResult {
  int code = -1;
  std::string out, err;
};

// The reply timer the CLI suites shorten, so that a silent radio fails in a fraction of a second.
inline const QStringList kFast = {"--reply-timeout", "400"};

// How often a text occurs in another.
inline int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

inline CliResult finish(QProcess &p) {
  CliResult r;
  if (!p.waitForFinished(60000)) p.kill();
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput().toStdString();
  r.err = p.readAllStandardError().toStdString();
  return r;
}

inline void startCli(QProcess &p, QStringList args, const QProcessEnvironment &env) {
  p.setProcessEnvironment(env);
  p.start(kProgramDir + "/n27-cli", args);
}

inline CliResult cli(QStringList args,
                     QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  startCli(p, args, env);
  return finish(p);
}

inline std::string readFile(const QString &path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The image a simulated radio saves (--save) just after its last reply: waits up to 5 s for
// all 2561 bytes; what the file holds then.
inline std::string savedImage(const QString &path) {
  std::string bytes;
  for (int i = 0; i < 500 && (bytes = readFile(path)).size() != 2561u; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return bytes;
}

}  // namespace n27::e2e
