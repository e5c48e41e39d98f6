#include "link/transfer_session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "base/language.h"
#include "codeplug/bands.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "link/backup.h"

namespace n27 {

void PrepareRead(Workspace &ws) { ws.image.fill(0, mem::kFillEnd, 0xFF); }

bool WriteAllowed(const Workspace &ws) { return ws.working.channelCount > 0; }

void PrepareWrite(Workspace &ws) {
  ws.image.fill(0, mem::kFillEnd, 0xFF);
  // The model record follows the model and band texts, so the band byte sent is the band the
  // identification check compared with the radio's.
  EncodeModelRecord(ws);
  EncodeImage(ws);
}

void PrepareRadioInformationRead(Workspace &ws) { ws.image.fill(0, mem::kFillEnd, 0xFF); }

void CompleteRead(Workspace &ws, const link::Identification &radio) {
  // The image is the radio's memory as it was read, 416..431 included (the block at 416 came
  // after the identification reply and replaced its copy): backups and restore carry the
  // radio's own bytes, and the model record is decoded from them.
  ws.history.documentReplaced();  // a read starts a new history
  ws.loadingFile = true;
  DecodeImage(ws);
  ws.loadingFile = false;
  ws.reference = ws.working;  // the changed marks start from what the radio held
  ws.firmwareVersion = radio.firmware;
  // Tuning values read from a radio belong to that radio alone.
  if (ws.testMode && ws.tuningOrigin.source == TuningSource::Radio && !ws.tuningOrigin.edited)
    ws.tuningSerial = RadioSerialNumber(ws.image);
  ws.fileName = "new.dat";
  ws.untitled = true;
  ws.readNotSaved = true;
  ws.licenceText.clear();  // the radio's configuration is not the file the licence was attached to
  ws.licenceProblem.clear();
}

void CompleteRadioInformationRead(Workspace &ws, const link::Identification &radio) {
  DecodeRadioInformation(ws.image, ws.radioInfo);
  ws.radioInfo.version = radio.firmware;
}

namespace {

constexpr Tr kImageKept{"The data read from the radio were kept in %1.",
                   "从对讲机读取的数据已保存在 %1。"};
constexpr Tr kImageNotKept{"The data read from the radio could not be kept in %1 either.",
                      "从对讲机读取的数据也无法保存到 %1。"};

std::string withPath(const Tr &text, const std::string &path) {
  std::string s = text.str();
  if (auto at = s.find("%1"); at != std::string::npos) s.replace(at, 2, path);
  return s;
}

// Creates `path` exclusively and writes all of `bytes` to disk. False when the name is taken
// (errno EEXIST) or on any failure (nothing is left behind).
bool writeNewFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bool ok = done == bytes.size() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

}  // namespace

std::string RecoveryFolder() {
  const char *data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::string(data) + "/n27";
  const char *home = std::getenv("HOME");
  return std::string(home && home[0] ? home : "/tmp") + "/.local/share/n27";
}

std::optional<std::string> KeepRadioImage(const Workspace &ws, std::time_t now) {
  const std::string folder = RecoveryFolder();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const auto &bytes = ws.image.bytes();
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  for (int n = 1; n <= 100; ++n) {
    std::string path = folder + "/recovered-" + stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".img";
    if (writeNewFile(path, data)) return path;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

std::string KeptImageMessage(const std::string &path) { return withPath(kImageKept, path); }

std::string KeepReadAfterFailedSave(const Workspace &ws) {
  if (!ws.readNotSaved) return {};
  if (auto path = KeepRadioImage(ws, std::time(nullptr))) return KeptImageMessage(*path);
  return withPath(kImageNotKept, RecoveryFolder());
}

}  // namespace n27
