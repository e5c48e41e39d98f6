#include "history/history_recorder.h"

#include <exception>

namespace n27::history {

namespace {
constexpr Tr kNotRecorded{"This step was not recorded in the radio history: %1",
                          "此步骤未记录到对讲机历史中：%1"};
constexpr Tr kUnexpected{"unexpected error (%1).", "意外错误（%1）。"};
}  // namespace

std::string NotRecordedMessage(const std::string &why) { return Fill(kNotRecorded, {why}); }

Recorder::Recorder(std::unique_ptr<Store> store, Origin origin)
    : store_(std::move(store)), origin_(std::move(origin)) {}

std::string Recorder::record(const JobRecord &record) {
  std::string why;
  try {
    const Entry entry = EntryFromRecord(record, origin_);
    const int64_t id = store_->add(entry, record.hasImage ? &record.image : nullptr, why);
    if (id > 0) {
      lastId_ = id;
      return {};
    }
  } catch (const std::exception &e) {
    why = Fill(kUnexpected, {e.what()});
  } catch (...) {
    why = Fill(kUnexpected, {"?"});
  }
  return NotRecordedMessage(why);
}

std::optional<std::set<std::string>> Recorder::protectedBackups() {
  std::string why;
  try {
    return store_->latestBackups(origin_.host, why);
  } catch (...) {
    return std::nullopt;
  }
}

void Recorder::backupsPruned(const std::vector<std::string> &images) {
  if (images.empty()) return;
  std::string why;
  try {
    store_->markPruned(origin_.host, images, why);
  } catch (...) {
  }
}

}  // namespace n27::history
