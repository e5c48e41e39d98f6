#pragma once
// Runs n27-cli from the build's program folder with an argument list (no shell), keeping its
// standard error apart, for the tests that check what a command said.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

struct CliProcessRun {
  int exitCode = -1;  // -1 when it did not end within 30 s
  std::string err;
};

inline CliProcessRun runCli(const QStringList &args) {
  QProcess p;
  p.start(QString(N27_PROGRAM_DIR) + "/n27-cli", args);
  CliProcessRun r;
  if (!p.waitForFinished(30000)) return r;
  r.exitCode = p.exitCode();
  r.err = p.readAllStandardError().toStdString();
  return r;
}
