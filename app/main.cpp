// n27: the N27 radio programmer's desktop program.
//
//   n27 [--port COMn|DEVICE] [--no-splash] [FILE.dat]
//
// --port chooses the serial port for this run: a "COM" number of the port list, or a device
// path (a simulated radio's pseudo-terminal, for instance). FILE.dat is opened at start.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <memory>

#include "base/language.h"
#include "base/paths.h"
#include "base/settings.h"
#include "app/ui/about_dialog.h"
#include "app/ui/frmMain.h"
#include "app/ui/startup.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "link/port_directory.h"
#include "link/qt/serial_port.h"
#include "link/tuning_block.h"
#include "link/version_table.h"

using namespace n27;

namespace {

// The settings file the program writes: its own copy in the writable folder, started from
// the shipped one so that nothing in it is lost.
std::string writableSetupFile() {
  std::string target = JoinPath(WritableFolder(), kSetupFile);
  std::string shipped = JoinPath(ProgramFolder(), kSetupFile);
  if (target != shipped && !QFile::exists(QString::fromStdString(target))) {
    QDir().mkpath(QFileInfo(QString::fromStdString(target)).absolutePath());
    QFile::copy(QString::fromStdString(shipped), QString::fromStdString(target));
  }
  return target;
}

// The port given with --port: its number in the list, or a number of its own for a device
// the list does not hold (kept for this run only).
int portFromArgument(const std::vector<PortEntry> &ports, const QString &argument,
                     PortEntry &extra) {
  std::string arg = argument.trimmed().toStdString();
  if (auto number = ParseComName(arg)) return FindPort(ports, *number) ? *number : 0;
  for (const auto &p : ports)
    if (p.device == arg) return p.number;
  for (int n = kMaxPortNumber; n > 0; --n)
    if (!FindPort(ports, n)) {
      extra.number = n;
      extra.device = arg;
      extra.configured = true;
      return n;
    }
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("N27");
  QApplication::setApplicationName("N27 Programmer");
  QApplication::setApplicationVersion(kProgramVersion);
  QApplication::setDesktopFileName("n27");

  QCommandLineParser parser;
  parser.setApplicationDescription("N27 radio programmer");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption portOption("port", "Serial port for this run: COMn or a device path.",
                                "port");
  QCommandLineOption noSplash("no-splash", "Start without the splash picture.");
  parser.addOption(portOption);
  parser.addOption(noSplash);
  parser.addPositionalArgument("file", "Data file (*.dat) to open.", "[file.dat]");
  parser.process(app);

  // 1. The table of radio firmware that goes with this release.
  ShellOptions options;
  const std::string programFolder = ProgramFolder();
  options.versions = VersionTable::Load(VersionFilePath(programFolder));

  // 2. Numbers with "." in this process; the user's settings stay as they are.
  UseDotDecimal();

  // 3. The language follows the system locale; model, band and data version of a new start.
  SetLanguageIndex(LanguageForLocale(QLocale::system().name().toStdString()));
  Workspace ws;
  ws.programFolder = programFolder;
  ws.modelFamily = kModelCode;
  ws.modelName = kModelCode;
  ws.bandText = kBand400;
  ws.dataVersion = "V200";
  SetBandLimits(ws);
  ws.testMode = link::LoadTestModeFlag(programFolder);

  // 5.-7. The settings file: first-run mark and serial port.
  std::string setupFile = writableSetupFile();
  SetupSettings setup = ReadSetupSettings(setupFile);
  std::vector<PortEntry> ports = ListSerialPorts(setupFile);
  int port = ChooseStartupPort(ports, setup.comPort);
  WriteSetupSettings(setupFile, port, setup.isFirstRun);
  // A port given on the command line is for this run only: the saved choice stays.
  if (parser.isSet(portOption))
    port = portFromArgument(ports, parser.value(portOption), options.extraPort);
  options.setupFile = setupFile;
  options.comPort = port;

  // The new configuration.
  NewConfiguration(ws);
  options.flagsFile = JoinPath(WritableFolder(), kFlagsFile);
  // 10. The radio-information flags.
  ws.radioInfoFlags = ReadRadioInfoFlags(ReadablePath(kFlagsFile));

  // 8. The splash picture, shown while the main window is made.
  std::unique_ptr<frmMain> main;
  const QStringList files = parser.positionalArguments();
  auto showMain = [&] {
    main->show();
    main->raise();
    main->activateWindow();
    if (!files.isEmpty()) main->openFile(files.first().toStdString());
  };
  SplashWindow *splash = nullptr;
  if (!parser.isSet(noSplash)) {
    splash = new SplashWindow(LanguageIndex(), showMain);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    QApplication::processEvents();
  }

  // 9. The main window (it loads the DCS table and opens the channel grid).
  main = std::make_unique<frmMain>(ws, options);
  if (!splash) showMain();
  return app.exec();
}
