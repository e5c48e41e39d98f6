#include "history/history_entry.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

#include "base/sha256.h"
#include "link/verify.h"

namespace n27::history {

namespace {

struct OperationInfo {
  JobOperation operation;
  const char *name;
  Tr text;
};
constexpr std::array<OperationInfo, 6> kOperations{{
    {JobOperation::Read, "read", Tr{"Read", "读取"}},
    {JobOperation::Write, "write", Tr{"Write", "写入"}},
    {JobOperation::Verify, "verify", Tr{"Verify", "校验"}},
    {JobOperation::Restore, "restore", Tr{"Restore", "恢复"}},
    {JobOperation::Group, "group", Tr{"Group write", "批量写入"}},
    {JobOperation::Fleet, "fleet", Tr{"Fleet write", "多线写入"}},
}};

const OperationInfo &info(JobOperation operation) {
  for (const OperationInfo &i : kOperations)
    if (i.operation == operation) return i;
  return kOperations[1];
}

std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char &c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string formatTime(std::time_t time, const char *format) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[64];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

}  // namespace

Origin CurrentOrigin(const std::string &programVersion) {
  Origin origin;
  origin.programVersion = programVersion;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0) origin.host = host;
  std::array<char, 4096> buffer;
  passwd pw{}, *found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found)
    origin.user = found->pw_name;
  else if (const char *name = std::getenv("USER"))
    origin.user = name;
  return origin;
}

Entry EntryFromRecord(const JobRecord &record, const Origin &origin) {
  Entry e;
  e.time = record.time;
  e.operation = record.operation;
  e.ok = record.ok;
  e.reason = record.reason;
  e.overrideReason = record.overrideReason;
  e.serial = record.radio.serial;
  e.model = record.radio.model;
  e.band = record.radio.bandCode;
  e.firmware = record.radio.firmware;
  e.port = record.port;
  e.dataFile = record.dataFile;
  e.backupBefore = record.backupBefore;
  e.backupAfter = record.backupAfter;
  e.customer = record.customer;
  e.hasImage = record.hasImage;
  if (record.hasImage) e.sha256 = ProgrammedBytesDigest(record.image);
  e.user = origin.user;
  e.host = origin.host;
  e.programVersion = origin.programVersion;
  return e;
}

std::string ProgrammedBytesDigest(const RadioImage &image) {
  Sha256 h;
  const auto &bytes = image.bytes();
  // The written addresses form runs; hash each run in one piece.
  std::size_t a = 0;
  while (a < bytes.size()) {
    if (!IsWrittenImageAddress(static_cast<int>(a))) {
      ++a;
      continue;
    }
    std::size_t end = a;
    while (end < bytes.size() && IsWrittenImageAddress(static_cast<int>(end))) ++end;
    h.add(bytes.data() + a, end - a);
    a = end;
  }
  return h.finishHex();
}

std::string WholeImageDigest(const RadioImage &image) {
  Sha256 h;
  h.add(image.bytes().data(), image.bytes().size());
  return h.finishHex();
}

const char *OperationName(JobOperation operation) { return info(operation).name; }

std::optional<JobOperation> OperationFromName(std::string_view name) {
  for (const OperationInfo &i : kOperations)
    if (name == i.name) return i.operation;
  return std::nullopt;
}

std::string OperationText(JobOperation operation) { return info(operation).text.str(); }

std::string SerialKey(std::string_view serial) {
  const auto first = serial.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = serial.find_last_not_of(" \t");
  return upperAscii(serial.substr(first, last - first + 1));
}

std::string CustomerKey(std::string_view customer) { return upperAscii(customer); }

std::string LocalTimeText(std::time_t time) { return formatTime(time, "%Y-%m-%d %H:%M:%S"); }

std::string IsoTimeText(std::time_t time) {
  std::string text = formatTime(time, "%Y-%m-%dT%H:%M:%S%z");  // …+0100
  if (text.size() >= 5) text.insert(text.size() - 2, ":");
  return text;
}

}  // namespace n27::history
