#include "history/qt/history_database.h"

#include <QSettings>
#include <QString>

#include "base/paths.h"
#include "base/settings.h"

namespace n27::history {

std::string DefaultHistoryFile() { return JoinPath(DataDir(), "history.sqlite"); }

std::optional<Location> ConfiguredLocation(std::string &why) {
  QSettings settings(QString::fromStdString(WindowSettingsFilePath()), QSettings::IniFormat);
  const std::string text = settings.value("History/Database").toString().toStdString();
  return ParseLocation(text, DefaultHistoryFile(), why);
}

namespace {
OpenedHistory openAt(const std::optional<Location> &location, std::string why, const SqlOptions &options) {
  OpenedHistory opened;
  if (!location) {
    opened.error = why;
    return opened;
  }
  opened.store = SqlStore::open(*location, opened.error, options);
  if (opened.store) opened.notice = opened.store->notice();
  return opened;
}
}  // namespace

OpenedHistory OpenHistory(const std::string &text, const SqlOptions &options) {
  if (text.empty()) return OpenConfiguredHistory(options);
  std::string why;
  const auto location = ParseLocation(text, DefaultHistoryFile(), why);
  return openAt(location, why, options);
}

OpenedHistory OpenConfiguredHistory(const SqlOptions &options) {
  std::string why;
  const auto location = ConfiguredLocation(why);
  return openAt(location, why, options);
}

std::unique_ptr<Recorder> OpenHistoryRecorder(const std::string &programVersion, std::string &why,
                                              std::string &notice) {
  OpenedHistory opened = OpenConfiguredHistory();
  notice = opened.notice;
  if (!opened.store) {
    why = opened.error;
    return nullptr;
  }
  return std::make_unique<Recorder>(std::move(opened.store), CurrentOrigin(programVersion));
}

}  // namespace n27::history
