#include "link/backup_list.h"
#include "base/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>

#include "base/file_io.h"
#include "base/language.h"
#include "codeplug/memory_map.h"
#include "codeplug/image_codec.h"
#include "codeplug/radio_image.h"

namespace n27 {

namespace {

constexpr Tr kRead{"read", "读取"};
constexpr Tr kBeforeWrite{"before write", "写入前"};
constexpr Tr kAfterWrite{"after write", "写入后"};

}  // namespace

std::string BackupReasonText(BackupReason reason) {
  switch (reason) {
    case BackupReason::Read: return kRead.str();
    case BackupReason::BeforeWrite: return kBeforeWrite.str();
    case BackupReason::AfterWrite: return kAfterWrite.str();
  }
  return {};
}

std::vector<BackupEntry> ListBackups(const std::string &folder, std::size_t limit) {
  namespace fs = std::filesystem;
  // date-time _ serial _ reason [-N] .img, as KeepBackup names them.
  static const std::regex name(
      R"(^(\d{4})(\d\d)(\d\d)-(\d\d)(\d\d)(\d\d)_(SN-[A-Za-z0-9._-]+|no-serial)_(read|before-write|after-write)(-([0-9]{1,4}))?\.img$)");
  struct Found {
    std::string key;  // date-time and count, for the order
    BackupEntry entry;
  };
  std::vector<Found> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    std::smatch m;
    if (!std::regex_match(file, m, name) || !fs::is_regular_file(it->symlink_status(ec))) continue;
    Found f;
    char count[8];
    std::snprintf(count, sizeof count, "%04d", m[10].matched ? std::stoi(m[10].str()) : 1);
    f.key = m[1].str() + m[2].str() + m[3].str() + m[4].str() + m[5].str() + m[6].str() + count;
    f.entry.path = it->path().string();
    f.entry.stamp = m[1].str() + "-" + m[2].str() + "-" + m[3].str() + " " + m[4].str() + ":" +
                    m[5].str() + ":" + m[6].str();
    f.entry.reason = m[8].str() == "read"           ? BackupReason::Read
                     : m[8].str() == "before-write" ? BackupReason::BeforeWrite
                                                    : BackupReason::AfterWrite;
    found.push_back(std::move(f));
  }
  std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.key > b.key; });
  if (found.size() > limit) found.resize(limit);
  std::vector<BackupEntry> out;
  for (Found &f : found) {
    BackupEntry &e = f.entry;
    ReadResult read = ReadWholeFile(e.path, RadioImage::kSize);
    if (!read.bytes || read.bytes->size() < mem::kTransferEnd) {
      e.readable = false;
    } else {
      // The channels as a read of the image would find them.
      Workspace ws;
      ws.loadDefaultFile = false;
      ws.loadingFile = true;
      for (std::size_t a = 0; a < read.bytes->size(); ++a) ws.image.set(a, static_cast<uint8_t>((*read.bytes)[a]));
      DecodeImage(ws);
      e.serial = RadioSerialNumber(ws.image);
      e.bandCode = ws.image.at(mem::kBandCode);
      e.channels = ws.working.channelCount;
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<BackupEntry> FilterBackups(const std::vector<BackupEntry> &all, const std::string &text) {
  const std::string wanted = AsciiLower(text);
  std::vector<BackupEntry> out;
  for (const BackupEntry &e : all)
    if (AsciiLower(e.serial).find(wanted) != std::string::npos) out.push_back(e);
  return out;
}

}  // namespace n27
