// A new configuration: the settings it starts with, its radio information and the default
// file of its model and band.
#include <ctime>

#include "base/paths.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"

namespace n27 {

void LoadDefaultSettings(CodeplugData &data) {
  // Function setup. Everything a new configuration does not name explicitly starts at 0, so
  // that a new configuration is the same whatever was open before it.
  data.function = FunctionSetup{};
  FunctionSetup &f = data.function;
  f.tot = 3;  // 120 s
  f.totWarning = 5;
  f.squelch = 4;
  f.beep = 1;
  f.voxFunction = 1;
  f.voxLevel = 3;
  f.botCode.assign("12345");
  f.eotCode.assign("");

  data.keys.keys = {255, 1, 255, 255};
  data.scan.words = {0, 255, 255, 255, 255, 255, 255, 255, 255, 2, 2, 1, 3, 3};

  data.dtmf = DtmfSettings{};
  DtmfSettings &d = data.dtmf;
  d.speed = 1;
  d.firstDigitDelay = 10;
  d.sideTone = 1;
  d.selfId.assign("000");
  d.groupCode = 255;
  d.autoResetTimer = 10;
  d.stunCode.assign("");
  d.botCode.assign("");
  d.eotCode.assign("");
  d.stunDecode.assign("");
  d.killDecode.assign("");

  data.fleetSync = FleetSyncBlock{255, 0, 0, 400, 10, 1};
  data.fleetSyncExtra = 0;
  data.dtmfCodeCount = 0;
  data.dtmfCodes.fill(DtmfCodeEntry{});
  data.carriedCount = 0;
  data.carried.fill(CarriedEntry{});
  data.message1.assign("");
  data.message2.assign("");
  data.fleetCount = 0;
  data.fleets.fill(FleetEntry{});
  data.standAlone = StandAloneValues{};
}

RadioInformation DefaultRadioInformation(int year, int month, int day) {
  char compact[16], dashed[16];
  std::snprintf(compact, sizeof compact, "%04d%02d%02d", year, month, day);
  std::snprintf(dashed, sizeof dashed, "%04d-%02d-%02d", year, month, day);
  RadioInformation info;
  info.bandCode = 3;
  info.userCode = "001A";
  info.radioType = kModelCode;
  info.serialNumber = compact;
  info.manufactureCode = compact;
  info.productionDate = dashed;
  info.maintenanceDate = dashed;
  info.stockDate = dashed;
  info.sellDate = dashed;
  return info;
}

namespace {
RadioInformation TodaysRadioInformation() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DefaultRadioInformation(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}
}  // namespace

std::string DefaultDataFilePath(const Workspace &ws) {
  return JoinPath(ws.programFolder, "Init/" + ws.modelName + "_" +
                                        std::to_string(BandCode(ws.bandText)) + ".dat");
}

void NewConfiguration(Workspace &ws) {
  ws.history.documentReplaced();
  ws.untitled = true;
  ws.fileName = "new.dat";
  ws.licenceText.clear();  // a licence belongs to the configuration it was attached to
  ws.licenceProblem.clear();
  ws.working.channelCount = 0;
  LoadDefaultSettings(ws.working);
  EncodeModelRecord(ws);
  ws.radioInfo = TodaysRadioInformation();
  // A missing default file is not an error, and a damaged one is passed over quietly.
  if (ws.loadDefaultFile) LoadDefaultFile(ws, DefaultDataFilePath(ws));
  ws.saved = ws.working;
  ws.reference = ws.working;
}

}  // namespace n27
