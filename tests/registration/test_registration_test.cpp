// Every GoogleTest case of the test programs runs in exactly one CTest test: a suite left out
// of the registration would never run, and `make test` would still say 100 %.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

QByteArray output(const QString &program, const QStringList &args) {
  QProcess p;
  p.setWorkingDirectory(N27_BINARY_DIR);
  p.start(program, args);
  p.waitForFinished(60000);
  return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

TEST(TestRegistration, EveryCaseRunsInExactlyOneCTestTest) {
  const QString ctest = QFileInfo(N27_CMAKE_COMMAND).dir().filePath("ctest");
  const QJsonDocument listed = QJsonDocument::fromJson(output(ctest, {"--show-only=json-v1"}));
  std::map<QString, std::vector<QString>> filters;  // test program → the filters CTest runs it with
  for (const auto &test : listed["tests"].toArray()) {
    const QJsonArray command = test.toObject()["command"].toArray();
    ASSERT_EQ(command.size(), 2) << test.toObject()["name"].toString().toStdString();
    filters[command[0].toString()].push_back(command[1].toString().section('=', 1));
  }
  ASSERT_EQ(filters.size(), 4u);
  int cases = 0;
  for (const auto &[program, programFilters] : filters) {
    QString suite;
    for (QString line : QString(output(program, {"--gtest_list_tests"})).split('\n')) {
      line = line.section("  #", 0, 0);  // "  # GetParam() = …" after a parameterised case
      if (line.isEmpty()) continue;
      if (!line.startsWith(' ')) {
        suite = line.trimmed();  // "Suite."
        continue;
      }
      const QString name = suite + line.trimmed();
      if (name.contains("DISABLED_")) continue;  // GoogleTest leaves them out of any filter
      const int runs = static_cast<int>(std::count_if(programFilters.begin(), programFilters.end(),
          [&](const QString &f) { return f == name || f == suite + "*"; }));
      EXPECT_EQ(runs, 1) << name.toStdString();
      ++cases;
    }
  }
  EXPECT_GT(cases, 500);
}

}  // namespace
