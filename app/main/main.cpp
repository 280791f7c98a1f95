// Cihaz Test: start-up of the program with the device chosen on the command
// line (the built-in simulated device unless told otherwise).

#include <QApplication>
#include <cstdio>

#include "app/Startup.h"
#include "device/CommandLine.h"
#include "device/DeviceError.h"
#include "device/OpenDevice.h"
#include "device/RecordReports.h"
#include "device/SelfTest.h"
#include "device/TestRecorder.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

void Print(std::FILE* to, const QStringList& lines) {
  for (const QString& line : lines) std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
}

int ListDevicesProgram(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Print(stdout, ListDevices());
  return 0;
}

int SelfTestProgram(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::vector<TSelfTestRow> rows = RunSelfTest();
  Print(stdout, SelfTestTable(rows));
  return std::all_of(rows.begin(), rows.end(), [](const TSelfTestRow& r) { return r.passed; }) ? 0 : 1;
}

// Needs the application object: the default lies in the user's data folder.
QString RecordPath(const QString& option) {
  if (option == QLatin1String("none")) return {};
  return option.isEmpty() ? DefaultRecordFile() : option;
}

// The exports read a record another instance may be writing: WAL lets them.
int ExportProgram(int argc, char** argv, const TCommandLine& options) {
  QCoreApplication app(argc, argv);
  try {
    const TRecordStore store(RecordPath(options.record));
    ExportSessionsCsv(options.output, store, store.Sessions(options.serial));
  } catch (const ERecordError& e) {
    Print(stderr, {QStringLiteral("cihaz-test: ") + e.Message()});
    return 2;
  }
  return 0;
}

int ReportProgram(int argc, char** argv, const TCommandLine& options) {
  // The report is drawn with fonts but shows no window: no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    const TRecordStore store(RecordPath(options.record));
    const std::vector<TSessionRow> last = store.Sessions(options.serial, 1);
    if (last.empty()) throw ERecordError(QStringLiteral("no session of serial '%1' is recorded").arg(options.serial));
    WriteSessionReport(options.output, store, last.front());
  } catch (const ERecordError& e) {
    Print(stderr, {QStringLiteral("cihaz-test: ") + e.Message()});
    return 2;
  }
  return 0;
}

int MainProgram(int argc, char** argv, const TCommandLine& options) {
  QApplication app(argc, argv);
  // Lets the desktop match the windows to the installed desktop entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("cihaz-test"));
  SetRecordFile(RecordPath(options.record));
  try {
    RegisterDevice(options.device);
  } catch (const EDeviceError& e) {
    Print(stderr, {QStringLiteral("cihaz-test: ") + e.Message()});
    return 2;
  }
  return RunProgram();
}

}  // namespace

int main(int argc, char** argv) {
  const TCommandLine options = ParseCommandLine(Arguments(argc, argv), qEnvironmentVariable("CIHAZ_DEVICE"));
  if (!options.error.isEmpty()) {
    Print(stderr, {QStringLiteral("cihaz-test: ") + options.error});
    return 2;
  }
  switch (options.action) {
    case TCommandLine::caHelp:
      Print(stdout, HelpText());
      return 0;
    case TCommandLine::caVersion:
      Print(stdout, {VersionText()});
      return 0;
    case TCommandLine::caListDevices:
      return ListDevicesProgram(argc, argv);
    case TCommandLine::caSelfTest:
      return SelfTestProgram(argc, argv);
    case TCommandLine::caExportRecords:
      return ExportProgram(argc, argv, options);
    case TCommandLine::caReport:
      return ReportProgram(argc, argv, options);
    case TCommandLine::caRun:
      break;
  }
  return MainProgram(argc, argv, options);
}
