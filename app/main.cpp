// n27: the N27 radio programmer's desktop program.
//
//   n27 [--port COMn|DEVICE] [--no-splash] [FILE.dat]
//
// --port chooses the serial port for this run: a "COM" number of the port list, or a device
// path (a simulated radio's pseudo-terminal, for instance). FILE.dat is opened at start.
// Settings go to ~/.config/n27 (XDG_CONFIG_HOME), the shipped data is only read.

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "base/file_io.h"
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

void describeOptions(QCommandLineParser &parser, QCommandLineOption &portOption,
                     QCommandLineOption &noSplash) {
  parser.setApplicationDescription(
      "N27 radio programmer: reads the radio's memory over a serial cable, edits channels,\n"
      "tones, keys, scan, DTMF, FleetSync and messages, saves and loads data files, prints,\n"
      "and writes the configuration back, in English or Chinese.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(portOption);
  parser.addOption(noSplash);
  parser.addPositionalArgument("file", "Data file (*.dat) to open.", "[file.dat]");
}

// --help and --version print their text and end; they need no display.
bool onlyPrintsText(int argc, char **argv) {
  for (int i = 1; i < argc; ++i)
    for (const char *o : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
      if (std::strcmp(argv[i], o) == 0) return true;
  return false;
}

// A display for the windows: X11, Wayland, or a platform chosen by the user (offscreen, vnc …).
bool hasDisplay(int argc, char **argv) {
  for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (const char *value = std::getenv(v); value && *value) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0) return true;
  return false;
}

void setApplicationNames() {
  // The per-user window settings (geometry, recent files) go to ~/.config/n27/n27.ini.
  QCoreApplication::setOrganizationName("n27");
  QCoreApplication::setApplicationName("n27");
  QCoreApplication::setApplicationVersion(kProgramVersion);
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
  IgnoreFileSizeSignal();
  QCommandLineParser parser;
  QCommandLineOption portOption(
      "port", "Serial port for this run: COMn as the port list shows it, or a device path.", "port");
  QCommandLineOption noSplash("no-splash", "Start without the splash picture.");
  describeOptions(parser, portOption, noSplash);
  if (onlyPrintsText(argc, argv)) {
    QCoreApplication textOnly(argc, argv);
    setApplicationNames();
    parser.process(textOnly);  // prints the text and ends the program
    return 0;
  }
  if (!hasDisplay(argc, argv)) {
    std::fprintf(stderr,
                 "n27: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "use n27-cli here, or start the programmer under xvfb-run.\n");
    return 1;
  }

  QApplication app(argc, argv);
  setApplicationNames();
  QApplication::setApplicationDisplayName("N27 Programmer");
  QApplication::setDesktopFileName("n27");
  parser.process(app);

  // Settings: the user's folder, completed from an older build's files or the shipped defaults.
  TakeOverSettings(CurrentSettingsOrigins());
  // A settings file that is a FIFO or huge is not read (Qt would wait or read it whole).
  SetLanguageIndex(LanguageForLocale(QLocale::system().name().toStdString()));
  const SettingsFileCheck settingsCheck = CheckSettingsFiles(ConfigDir(), std::time(nullptr));
  for (const std::string &note : settingsCheck.notes) std::fprintf(stderr, "n27: %s\n", note.c_str());
  QTemporaryDir runOnlySettings;  // the window settings of this run, when n27.ini cannot be used
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     settingsCheck.windowSettingsUsable ? QString::fromStdString(ConfigHome())
                                                        : runOnlySettings.path());

  // 1. The table of radio firmware that goes with this release.
  ShellOptions options;
  const std::string programFolder = ShippedDataDir();
  options.versions = VersionTable::Load(VersionFile());

  // 2. Numbers with "." in this process; the user's settings stay as they are.
  UseDotDecimal();

  // 3. The language follows the system locale (chosen above, before the settings notes);
  //    model, band and data version of a new start.
  Workspace ws;
  ws.programFolder = programFolder;
  ws.modelFamily = kModelCode;
  ws.modelName = kModelCode;
  ws.bandText = kBand400;
  ws.dataVersion = "V200";
  SetBandLimits(ws);
  // The factory test option: the marker file among the shipped data or in the user's settings.
  ws.testMode = link::LoadTestModeFlag(programFolder) || link::LoadTestModeFlag(ConfigDir());

  // 5.-7. The settings file: first-run mark and serial port.
  std::string setupFile = SetupFilePath();
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
  options.flagsFile = FlagsFilePath();
  // 10. The radio-information flags.
  ws.radioInfoFlags = ReadRadioInfoFlags(options.flagsFile);

  // 8. The splash picture, shown while the main window is made.
  std::unique_ptr<frmMain> main;
  const QStringList files = parser.positionalArguments();
  auto showMain = [&] {
    main->show();
    main->raise();
    main->activateWindow();
    if (!settingsCheck.notes.empty()) {
      std::string all;
      for (const std::string &note : settingsCheck.notes) all += (all.empty() ? "" : "\n\n") + note;
      QMessageBox::warning(main.get(), QApplication::applicationDisplayName(), QString::fromStdString(all));
    }
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
