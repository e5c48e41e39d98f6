#include "codeplug/configuration.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "base/ascii_case.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/language.h"
#include "base/messages.h"
#include "base/paths.h"
#include "codeplug/bands.h"
#include "base/bytes.h"
#include "codeplug/data_file_layout.h"
#include "codeplug/tuning_file.h"

namespace n27 {

namespace df = datafile;

// ---------------------------------------------------------------------------------------------
// Modified check

namespace {

// Texts compare by their content: what lies after the terminating NUL does not count.
template <std::size_t N>
void Normalise(FixedText<N> &t) {
  t.assign(t.raw());
}

void NormaliseTexts(CodeplugData &d) {
  for (auto &ch : d.channels) {
    Normalise(ch.rx);
    Normalise(ch.tx);
    Normalise(ch.decode);
    Normalise(ch.encode);
  }
  Normalise(d.modelName);
  Normalise(d.function.botCode);
  Normalise(d.function.eotCode);
  for (auto *t : {&d.dtmf.selfId, &d.dtmf.stunCode}) Normalise(*t);
  for (auto *t : {&d.dtmf.botCode, &d.dtmf.eotCode, &d.dtmf.stunDecode, &d.dtmf.killDecode})
    Normalise(*t);
  for (auto &e : d.dtmfCodes) Normalise(e.code);
  for (auto &e : d.carried) {
    Normalise(e.text1);
    Normalise(e.text2);
  }
  Normalise(d.message1);
  Normalise(d.message2);
}

bool SameChannels(const CodeplugData &w, const CodeplugData &s) {
  if (w.channelCount != s.channelCount) return false;
  const int count = std::min<int>(w.channelCount, kMaxChannels);
  for (int k = 1; k <= count; ++k) {
    const ChannelRecord &saved = s.channels[k - 1];
    int j = w.channels[k - 1].number == saved.number ? k : w.findChannel(saved.number);
    if (j == 0 || !(w.channels[j - 1] == saved)) return false;
  }
  return true;
}

bool SameDtmfCodes(const CodeplugData &w, const CodeplugData &s) {
  if (w.dtmfCodeCount != s.dtmfCodeCount) return false;
  const int count = std::min<int>(w.dtmfCodeCount, kMaxDtmfCodes);
  for (int k = 0; k < count; ++k) {
    const DtmfCodeEntry &saved = s.dtmfCodes[k];
    const DtmfCodeEntry *match = nullptr;
    for (int j = 0; j < count && !match; ++j)
      if (w.dtmfCodes[j].position == saved.position) match = &w.dtmfCodes[j];
    if (!match || !(*match == saved)) return false;
  }
  return true;
}

template <class T, std::size_t N>
bool SameFirst(const std::array<T, N> &a, const std::array<T, N> &b, int count) {
  for (int k = 0; k < count && k < static_cast<int>(N); ++k)
    if (!(a[k] == b[k])) return false;
  return true;
}

}  // namespace

bool IsModified(const CodeplugData &working, const CodeplugData &saved) {
  CodeplugData w = working, s = saved;
  NormaliseTexts(w);
  NormaliseTexts(s);
  if (!SameChannels(w, s)) return true;
  if (!SameDtmfCodes(w, s)) return true;
  if (w.carriedCount != s.carriedCount || !SameFirst(w.carried, s.carried, w.carriedCount))
    return true;
  if (!(w.message1 == s.message1) || !(w.message2 == s.message2)) return true;
  if (!(w.modelName == s.modelName) || w.bandCode != s.bandCode) return true;
  if (!(w.function == s.function) || !(w.keys == s.keys) || !(w.scan == s.scan) ||
      !(w.dtmf == s.dtmf) || !(w.fleetSync == s.fleetSync) || w.fleetSyncExtra != s.fleetSyncExtra)
    return true;
  if (w.fleetCount != s.fleetCount || !SameFirst(w.fleets, s.fleets, w.fleetCount)) return true;
  return !(w.standAlone == s.standAlone);
}

// ---------------------------------------------------------------------------------------------
// The data file

namespace {

// One walk over every field of the file at its offset, shared by writing and reading so the
// layout is written down once.
struct FileWriter {
  uint8_t *p;
  template <class T>
  void num16(std::size_t at, const T &v) { put16le(p + at, static_cast<uint16_t>(v)); }
  void num32(std::size_t at, const uint32_t &v) { put32le(p + at, v); }
  template <std::size_t N>
  void text(std::size_t at, const FixedText<N> &t) {
    for (std::size_t i = 0; i < N; ++i) p[at + i] = static_cast<uint8_t>(t.bytes[i]);
  }
};

struct FileReader {
  const uint8_t *p;
  template <class T>
  void num16(std::size_t at, T &v) { v = static_cast<T>(get16le(p + at)); }
  void num32(std::size_t at, uint32_t &v) { v = get32le(p + at); }
  template <std::size_t N>
  void text(std::size_t at, FixedText<N> &t) {
    for (std::size_t i = 0; i < N; ++i) t.bytes[i] = static_cast<char>(p[at + i]);
  }
};

template <class Io, class Data>
void VisitDataFile(Io &io, Data &d) {
  io.num16(df::kChannelCount, d.channelCount);
  for (std::size_t k = 0; k < kMaxChannels; ++k) {
    auto &ch = d.channels[k];
    const std::size_t s = df::kChannelSlots + k * df::kSlotSize;
    io.num16(s + df::kSlotNumber, ch.number);
    io.num16(s + df::kSlotInUse, ch.inUse);
    io.text(s + df::kSlotRx, ch.rx);
    io.text(s + df::kSlotTx, ch.tx);
    io.num16(s + df::kSlotWord18, ch.w18);
    io.num16(s + df::kSlotWord19, ch.txOff);
    io.text(s + df::kSlotDecode, ch.decode);
    io.text(s + df::kSlotEncode, ch.encode);
    for (int w = 28; w <= 45; ++w)
      io.num16(s + df::kSlotWord28 + 2 * static_cast<std::size_t>(w - 28), *ch.word(w));
  }
  io.text(df::kModelName, d.modelName);
  io.num16(df::kBandCode, d.bandCode);

  auto &f = d.function;
  std::size_t at = df::kFunctionWordsA;
  for (auto *v : {&f.tot, &f.totWarning, &f.squelch, &f.micSensitivity, &f.voicePrompt,
                  &f.batterySave, &f.beep, &f.scanSwitch, &f.scramblerBackup, &f.pttIdSignalling,
                  &f.pttIdType}) {
    io.num16(at, *v);
    at += 2;
  }
  io.text(df::kFunctionBotCode, f.botCode);
  io.text(df::kFunctionEotCode, f.eotCode);
  at = df::kFunctionWordsB;
  for (auto *v : {&f.voxFunction, &f.voxLevel, &f.voxDelay, &f.cancelOperation, &f.voxProceedTone,
                  &f.frequencyShow, &f.cloneMode, &f.squelchTailNoSig, &f.ctcssTailType,
                  &f.callResponse, &f.compander, &f.micNoiseReduction, &f.resetAllowed, &f.spare,
                  &f.dwChannel, &f.rbSetting, &f.scanMode, &f.backlightMode}) {
    io.num16(at, *v);
    at += 2;
  }

  for (std::size_t i = 0; i < d.keys.keys.size(); ++i) io.num16(df::kKeys + 2 * i, d.keys.keys[i]);
  for (std::size_t i = 0; i < d.scan.words.size(); ++i) io.num16(df::kScan + 2 * i, d.scan.words[i]);

  auto &t = d.dtmf;
  at = df::kDtmfWordsA;
  for (auto *v : {&t.speed, &t.firstDigitTime, &t.firstDigitDelay, &t.starHashTone, &t.dCode,
                  &t.sideTone}) {
    io.num16(at, *v);
    at += 2;
  }
  io.text(df::kDtmfSelfId, t.selfId);
  at = df::kDtmfWordsB;
  for (auto *v : {&t.groupCode, &t.autoResetTimer, &t.callAlert, &t.decodingResponse,
                  &t.clearToTranspond}) {
    io.num16(at, *v);
    at += 2;
  }
  io.text(df::kDtmfStunCode, t.stunCode);
  io.num16(df::kDtmfWordsC, t.stunType);
  io.num16(df::kDtmfWordsC + 2, t.pttId);
  io.text(df::kDtmfBotCode, t.botCode);
  io.text(df::kDtmfEotCode, t.eotCode);
  io.text(df::kDtmfStunDecode, t.stunDecode);
  io.text(df::kDtmfKillDecode, t.killDecode);

  auto &fs = d.fleetSync;
  io.num16(df::kFleetSync + df::kFsFleetOwn, fs.fleetOwn);
  io.num32(df::kFleetSync + df::kFsIdOwn, fs.idOwn);
  io.num16(df::kFleetSync + df::kFsBaudRate, fs.baudRate);
  io.num32(df::kFleetSync + df::kFsModulationDelay, fs.modulationDelay);
  io.num16(df::kFleetSync + df::kFsMessageTimer, fs.messageTimer);  // 0..300 fits 16 bits
  io.num16(df::kFleetSync + df::kFsSideTone, fs.sideTone);
  io.num16(df::kFleetSyncExtra, d.fleetSyncExtra);

  io.num16(df::kDtmfCodeCount, d.dtmfCodeCount);
  for (std::size_t k = 0; k < kMaxDtmfCodes; ++k) {
    const std::size_t e = df::kDtmfCodes + k * df::kDtmfCodeSize;
    io.num16(e + df::kDtmfCodePosition, d.dtmfCodes[k].position);
    io.text(e + df::kDtmfCodeText, d.dtmfCodes[k].code);
  }
  io.num16(df::kCarriedCount, d.carriedCount);
  for (std::size_t k = 0; k < kMaxCarriedEntries; ++k) {
    const std::size_t e = df::kCarried + k * df::kCarriedSize;
    auto &c = d.carried[k];
    io.num16(e + df::kCarriedPosition, c.position);
    io.text(e + df::kCarriedText1, c.text1);
    io.text(e + df::kCarriedText2, c.text2);
    io.num16(e + df::kCarriedValue1, c.value1);
    io.num16(e + df::kCarriedValue2, c.value2);
  }
  io.text(df::kMessage1, d.message1);
  io.text(df::kMessage2, d.message2);
  io.num16(df::kFleetCount, d.fleetCount);
  for (std::size_t k = 0; k < kMaxFleetEntries; ++k) {
    const std::size_t e = df::kFleets + k * df::kFleetSize;
    io.num16(e + df::kFleetEntryFleet, d.fleets[k].fleet);  // bytes 2..3 stay 0
    io.num32(e + df::kFleetEntryId, d.fleets[k].id);
  }

  auto &a = d.standAlone;
  at = df::kStandAlone;
  for (auto *v : {&a.rrm, &a.byte12, &a.currentChannel, &a.keyLock, &a.channelLocked,
                  &a.dcsTailType, &a.alertLockedFlag, &a.functionLockedFlag, &a.bandExtension}) {
    io.num16(at, *v);
    at += 2;
  }
}

// The three side values: the last three stand-alone values.
std::array<int16_t *, 3> SideValues(CodeplugData &d) {
  return {&d.standAlone.alertLockedFlag, &d.standAlone.functionLockedFlag,
          &d.standAlone.bandExtension};
}

// Reads the side file into data when it exists and is exactly six bytes long. Otherwise the
// values the data file itself holds stand (they are written to both files on every save).
void ReadSideFile(const std::string &dataPath, CodeplugData &data) {
  auto read = ReadWholeFile(SideFilePath(SaveTarget(dataPath)), df::kSideFileSize);
  if (!read.bytes || read.bytes->size() != df::kSideFileSize) return;
  const auto *p = reinterpret_cast<const uint8_t *>(read.bytes->data());
  auto values = SideValues(data);
  for (std::size_t i = 0; i < values.size(); ++i) *values[i] = static_cast<int16_t>(get16le(p + 2 * i));
}

std::string SideFileBytes(CodeplugData &data) {
  std::string bytes(df::kSideFileSize, '\0');
  auto *p = reinterpret_cast<uint8_t *>(bytes.data());
  auto values = SideValues(data);
  for (std::size_t i = 0; i < values.size(); ++i) put16le(p + 2 * i, static_cast<uint16_t>(*values[i]));
  return bytes;
}

bool ValidCounts(const CodeplugData &d) {
  if (d.channelCount > kMaxChannels || d.dtmfCodeCount > kMaxDtmfCodes ||
      d.carriedCount > kMaxCarriedEntries || d.fleetCount > kMaxFleetEntries)
    return false;
  std::array<bool, kMaxChannels + 1> seen{};
  for (int k = 0; k < d.channelCount; ++k) {
    const int n = d.channels[k].number;
    if (n < 1 || n > kMaxChannels || seen[n]) return false;
    seen[n] = true;
  }
  // DTMF memories are found by their position 1..16: a repeated or impossible one would make
  // two entries stand for one memory (and a loaded file count as changed at once).
  std::array<bool, kMaxDtmfCodes + 1> position{};
  for (int k = 0; k < d.dtmfCodeCount; ++k) {
    const int n = d.dtmfCodes[k].position;
    if (n < 1 || n > static_cast<int>(kMaxDtmfCodes) || position[n]) return false;
    position[n] = true;
  }
  return true;
}

// Reads and checks a data file; nullopt (and why) when it cannot be read or is damaged.
// Anything but a regular file of the right size is refused before it is read, so picking a
// large file, a folder or a device by mistake costs nothing.
std::optional<CodeplugData> ReadDataFile(const std::string &path, FileOutcome &why) {
  auto read = ReadWholeFile(path, df::kFileSize);
  if (!read.bytes) {
    why = read.outcome;
    if (why.problem == FileProblem::TooLarge) why.problem = FileProblem::WrongSize;
    why.expectedSize = df::kFileSize;
    return std::nullopt;
  }
  if (read.bytes->size() != df::kFileSize) {
    why.problem = FileProblem::WrongSize;
    why.actualSize = read.bytes->size();
    why.expectedSize = df::kFileSize;
    return std::nullopt;
  }
  CodeplugData data;
  if (!ParseDataFile(*read.bytes, data)) {
    why.problem = FileProblem::Damaged;
    return std::nullopt;
  }
  ReadSideFile(path, data);
  return data;
}

bool EndsWithNvd(const std::string &path) {
  if (path.size() < 3) return false;
  std::string tail = path.substr(path.size() - 3);
  for (char &c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == "NVD";
}

constexpr Tr kSideFileName{"a data file name must not end in \"NVD\": that is the name of its side file",
                           "数据文件名不能以“NVD”结尾：这是其附属文件的名称"};

}  // namespace

std::string SerializeDataFile(const CodeplugData &data) {
  std::string bytes(df::kFileSize, '\0');
  FileWriter writer{reinterpret_cast<uint8_t *>(bytes.data())};
  VisitDataFile(writer, data);
  return bytes;
}

bool ParseDataFile(const std::string &bytes, CodeplugData &out) {
  if (bytes.size() != df::kFileSize) return false;
  CodeplugData data;
  FileReader reader{reinterpret_cast<const uint8_t *>(bytes.data())};
  VisitDataFile(reader, data);
  if (!ValidCounts(data)) return false;
  out = data;
  return true;
}

std::string LicenceFilePath(const std::string &dataPath) {
  std::string base = dataPath;
  if (base.size() > 4) {
    if (AsciiLower(base.substr(base.size() - 4)) == ".dat") base.resize(base.size() - 4);
  }
  return base + ".licence.csv";
}

bool ReadLicenceCompanion(const std::string &dataPath, std::string &text, std::string &problem) {
  text.clear();
  problem.clear();
  ReadResult r = ReadWholeFile(LicenceFilePath(SaveTarget(dataPath)), kMaxLicenceBytes);
  if (r) {
    text = std::move(*r.bytes);
    return true;
  }
  if (r.outcome.problem == FileProblem::NotFound) return false;
  problem = r.outcome.reason();
  return true;
}

std::string SideFilePath(const std::string &dataPath) {
  // A name shorter than three characters keeps its folder: "folder/ab" → "folder/abNVD".
  const auto slash = dataPath.find_last_of('/');
  const std::size_t nameLength = slash == std::string::npos ? dataPath.size() : dataPath.size() - slash - 1;
  if (nameLength < 3) return dataPath + "NVD";
  return dataPath.substr(0, dataPath.size() - 3) + "NVD";
}

std::vector<std::string> DataFileCompanions(const std::string &path, bool testMode) {
  const std::string target = SaveTarget(path);
  std::vector<std::string> out{SideFilePath(target)};
  if (testMode && !TuningFilePath(target).empty()) out.push_back(TuningFilePath(target));
  return out;
}

namespace {

// A companion that failed is named in the reason: "/x/radio.ted: read-only".
FileStatus CompanionFailed(FileOutcome &outcome, const std::string &companion) {
  if (outcome.note.rfind(companion + ":", 0) != 0) outcome.note = companion + ": " + outcome.reason();
  outcome.file = companion;
  return FileStatus::FileError;
}

// The ".ted" companion of a data file into `table`; a missing one leaves it as it was.
// False (and why) when it is there but cannot be read, is not 32 bytes long or holds a value
// the test data window would not take.
bool ReadTuningCompanion(const std::string &ted, TuningTable &table, bool &found, FileOutcome &why) {
  found = false;
  auto read = ReadWholeFile(ted, kTuningFileSize);
  if (!read.bytes) {
    if (read.outcome.problem == FileProblem::NotFound) return true;
    why = read.outcome;
    if (why.problem == FileProblem::TooLarge) why.problem = FileProblem::WrongSize;
    why.expectedSize = kTuningFileSize;
    return false;
  }
  TuningTable loaded{};
  if (!ParseTuningFile(*read.bytes, loaded)) {
    why.problem = FileProblem::WrongSize;
    why.actualSize = read.bytes->size();
    why.expectedSize = kTuningFileSize;
    return false;
  }
  if (std::string problem = TuningTableProblem(loaded); !problem.empty()) {
    why.problem = FileProblem::Damaged;
    why.note = problem;
    return false;
  }
  table = loaded;
  found = true;
  return true;
}

}  // namespace

FileStatus SaveDataFile(Workspace &ws, const std::string &path, FileOutcome *why) {
  FileOutcome ignored;
  FileOutcome &outcome = why ? *why : ignored;
  outcome = {};
  // The companions lie beside the file really written: through a link, beside its target.
  const std::string target = SaveTarget(path);
  // A name ending in "NVD" is its own side file: the six side bytes would replace the data.
  if (EndsWithNvd(path) || EndsWithNvd(target) || (ws.testMode && TuningFilePath(target) == target)) {
    outcome.problem = FileProblem::BadName;
    if (EndsWithNvd(path) || EndsWithNvd(target)) outcome.note = Text(kSideFileName);
    return FileStatus::FileError;
  }
  EncodeModelRecord(ws);
  // The saved copy follows only a save that worked: after a failed save the configuration
  // still counts as modified, and the files it should have replaced are left whole. The data
  // file, its side file, (in test mode) its tuning values and the attached licence are replaced
  // together, so a new one never stands beside an old one.
  std::vector<std::pair<std::string, std::string>> files{
      {path, SerializeDataFile(ws.working)}, {SideFilePath(target), SideFileBytes(ws.working)}};
  // Tuning values nobody read, loaded or typed are not made into a ".ted": loaded back they
  // would count as known and be sent to a radio as its calibration without a question.
  const bool keepTuning = ws.testMode && ws.tuningOrigin.known();
  const std::string ted = keepTuning ? TuningFilePath(target) : std::string();
  if (!ted.empty()) files.emplace_back(ted, TuningFileBytes(ws.tuning));
  // The attached licence goes with the data file, so Save As carries it to the new name.
  if (!ws.licenceText.empty()) files.emplace_back(LicenceFilePath(target), ws.licenceText);
  outcome = SaveFiles(files);
  if (!outcome.ok()) {
    if (!outcome.file.empty() && outcome.file != path) return CompanionFailed(outcome, outcome.file);
    return FileStatus::FileError;
  }
  if (!ted.empty()) ws.fileTuning = ws.tuning;
  ws.saved = ws.working;
  ws.reference = ws.working;
  ws.untitled = false;
  ws.fileName = path;
  return FileStatus::Ok;
}

FileStatus LoadDataFile(Workspace &ws, const std::string &path, FileOutcome *why) {
  FileOutcome ignored;
  FileOutcome &outcome = why ? *why : ignored;
  outcome = {};
  auto data = ReadDataFile(path, outcome);
  if (!data) return FileStatus::FileError;
  // The model field holds five characters: "N27PRO" written by another tool reads "N27PR".
  if (data->modelName.raw() != kModelCode) return FileStatus::ModelError;
  // The file carries no version of its own: every data file is taken as this program's data
  // version, so the version check has nothing to compare and passes.
  TuningTable table = ws.tuning;
  bool tedFound = false;
  const std::string ted = ws.testMode ? TuningFilePath(SaveTarget(path)) : std::string();
  if (!ted.empty() && !ReadTuningCompanion(ted, table, tedFound, outcome))
    return CompanionFailed(outcome, ted);
  if (tedFound) {
    ws.fileTuning = table;
    ws.tuning = table;
    ws.tuningOrigin = {TuningSource::File, ted, false};
  }
  std::string licence, licenceProblem;
  ReadLicenceCompanion(path, licence, licenceProblem);
  ws.history.documentReplaced();
  ws.saved = *data;
  ws.working = *data;
  ws.reference = *data;
  ws.licenceText = std::move(licence);
  ws.licenceProblem = std::move(licenceProblem);
  DecodeModelRecord(ws);
  ws.untitled = false;
  ws.fileName = path;
  return FileStatus::Ok;
}

bool LoadDefaultFile(Workspace &ws, const std::string &path) {
  FileOutcome why;
  auto data = ReadDataFile(path, why);
  if (!data) return false;
  ws.saved = *data;
  ws.working = *data;
  return true;
}

const char *FileStatusText(FileStatus status) {
  switch (status) {
    case FileStatus::Ok: return "";
    case FileStatus::ModelError: return msg::kModelError;
    case FileStatus::FileError: break;
  }
  return Text(msg::kFileError);
}

}  // namespace n27
