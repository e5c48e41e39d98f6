#pragma once
// The radio history the user configured: n27.ini ([History] Database=…, see
// history/history_location.h) in the user's settings folder, else the SQLite file
// $XDG_DATA_HOME/n27/history.sqlite. One call gives the programs their store or recorder.

#include <memory>
#include <optional>
#include <string>

#include "history/history_location.h"
#include "history/history_recorder.h"
#include "history/qt/sql_history_store.h"

namespace n27::history {

// $XDG_DATA_HOME/n27/history.sqlite
std::string DefaultHistoryFile();
// The location n27.ini names (or the default); nullopt with the reason when it is not
// understood.
std::optional<Location> ConfiguredLocation(std::string &why);

struct OpenedHistory {
  std::unique_ptr<SqlStore> store;  // null when it could not be opened
  std::string error;                // why not (current language)
  std::string notice;               // a damaged database was kept aside: where it went
};
// Opens the history at `text` (a Database= value; "" the default), or the configured one.
OpenedHistory OpenHistory(const std::string &text, const SqlOptions &options = {});
OpenedHistory OpenConfiguredHistory(const SqlOptions &options = {});

// The job's recorder over the configured history, recording as this user on this computer
// with `programVersion`. Null with `why` when the history cannot be opened; `notice` as above.
std::unique_ptr<Recorder> OpenHistoryRecorder(const std::string &programVersion, std::string &why,
                                              std::string &notice);

}  // namespace n27::history
