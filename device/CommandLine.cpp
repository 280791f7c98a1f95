#include "device/CommandLine.h"

#include <optional>

#include "device/DeviceError.h"

namespace {

const QString kUsage = QStringLiteral("use sim, serial:PORT[,PORT...], audio:PCM[:CHANNELS] or wav:FILE");

// ALSA plugins whose first argument is a card number: "hw:1" names card 1.
const QStringList kCardPlugins{QStringLiteral("hw"),    QStringLiteral("plughw"), QStringLiteral("sysdefault"),
                               QStringLiteral("front"), QStringLiteral("dsnoop"), QStringLiteral("default"),
                               QStringLiteral("dmix"),  QStringLiteral("hdmi")};

bool TakesCardNumber(const QString& plugin) {
  return kCardPlugins.contains(plugin) || plugin.startsWith(QLatin1String("surround"));
}

EDeviceError NoDeviceValue() { return EDeviceError(QStringLiteral("--device needs a value: %1").arg(kUsage)); }

[[noreturn]] void Bad(const QString& choice, const QString& why) {
  throw EDeviceError(QStringLiteral("bad device '%1': %2").arg(choice, why));
}

TDeviceChoice SerialChoice(const QString& choice, const QString& rest) {
  TDeviceChoice d;
  d.kind = TDeviceChoice::dkSerial;
  d.ports = rest.split(QLatin1Char(','));
  if (d.ports.contains(QString())) Bad(choice, QStringLiteral("a serial port name is empty"));
  if (d.ports.size() > TDeviceChoice::kMaxLines)
    Bad(choice, QStringLiteral("at most %1 serial ports").arg(TDeviceChoice::kMaxLines));
  if (d.ports.removeDuplicates() > 0) Bad(choice, QStringLiteral("a serial port is named twice"));
  return d;
}

// "PCM[:CHANNELS]": a number after the last colon is the channel count,
// except where ALSA itself reads it as a card number ("hw:1").
TDeviceChoice AudioChoice(const QString& choice, const QString& rest) {
  TDeviceChoice d;
  d.kind = TDeviceChoice::dkAudio;
  d.pcm = rest;
  const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
  bool number = false;
  const int channels = colon > 0 ? rest.mid(colon + 1).toInt(&number) : 0;
  if (number && !TakesCardNumber(rest.left(colon))) {
    d.pcm = rest.left(colon);
    d.channels = channels;
  }
  if (d.pcm.isEmpty()) Bad(choice, QStringLiteral("the capture device is missing"));
  if (d.channels < 1 || d.channels > TDeviceChoice::kMaxLines)
    Bad(choice, QStringLiteral("1 to %1 channels").arg(TDeviceChoice::kMaxLines));
  return d;
}

}  // namespace

TDeviceChoice ParseDeviceChoice(const QString& text) {
  if (text == QLatin1String("sim")) return {};
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  const QString kind = text.left(colon);
  const QString rest = colon < 0 ? QString() : text.mid(colon + 1);
  if (colon < 0) Bad(text, kUsage);
  if (kind == QLatin1String("serial")) return SerialChoice(text, rest);
  if (kind == QLatin1String("audio")) return AudioChoice(text, rest);
  if (kind == QLatin1String("wav")) {
    if (rest.isEmpty()) Bad(text, QStringLiteral("the file is missing"));
    TDeviceChoice d;
    d.kind = TDeviceChoice::dkWav;
    d.file = rest;
    return d;
  }
  Bad(text, kUsage);
}

namespace {

// The value of option at arguments[i], given as "--option VALUE" or
// "--option=VALUE"; nullopt when arguments[i] is another option.
std::optional<QString> OptionValue(const QStringList& arguments, qsizetype& i, const QString& option) {
  const QString& a = arguments[i];
  if (a.startsWith(option + QLatin1Char('='))) return a.mid(option.size() + 1);
  if (a != option) return std::nullopt;
  if (++i == arguments.size()) throw EDeviceError(QStringLiteral("%1 needs a value").arg(option));
  return arguments[i];
}

QString NonEmpty(const QString& value, const QString& option) {
  if (value.isEmpty()) throw EDeviceError(QStringLiteral("%1 needs a value").arg(option));
  return value;
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments, const QString& deviceVariable) {
  TCommandLine result;
  QString device = deviceVariable;
  bool serialGiven = false;
  try {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
      const QString& a = arguments[i];
      if (a == QLatin1String("--device") || a.startsWith(QLatin1String("--device="))) {
        const bool separate = a == QLatin1String("--device");
        if (separate && ++i == arguments.size()) throw NoDeviceValue();
        device = separate ? arguments[i] : a.mid(9);
        // An empty value would quietly mean the simulated device and hide CIHAZ_DEVICE.
        if (device.isEmpty()) throw NoDeviceValue();
      } else if (const auto record = OptionValue(arguments, i, QStringLiteral("--record"))) {
        result.record = NonEmpty(*record, QStringLiteral("--record"));
      } else if (const auto file = OptionValue(arguments, i, QStringLiteral("--export-records"))) {
        result.action = TCommandLine::caExportRecords;
        result.output = NonEmpty(*file, QStringLiteral("--export-records"));
      } else if (const auto serial = OptionValue(arguments, i, QStringLiteral("--serial"))) {
        result.serial = NonEmpty(*serial, QStringLiteral("--serial"));
        serialGiven = true;
      } else if (a == QLatin1String("--report")) {
        if (i + 2 >= arguments.size()) throw EDeviceError(QStringLiteral("--report needs a serial and a file"));
        result.action = TCommandLine::caReport;
        result.serial = NonEmpty(arguments[++i], QStringLiteral("--report"));
        result.output = NonEmpty(arguments[++i], QStringLiteral("--report"));
      } else if (a == QLatin1String("--list-devices")) {
        result.action = TCommandLine::caListDevices;
      } else if (a == QLatin1String("--self-test")) {
        result.action = TCommandLine::caSelfTest;
      } else if (a == QLatin1String("--help") || a == QLatin1String("--version")) {
        result.action = a == QLatin1String("--help") ? TCommandLine::caHelp : TCommandLine::caVersion;
        return result;
      } else if (a.startsWith(QLatin1String("--"))) {
        throw EDeviceError(QStringLiteral("unknown option '%1'").arg(a));
      }
    }
    if (serialGiven && result.action != TCommandLine::caExportRecords)
      throw EDeviceError(QStringLiteral("--serial goes with --export-records"));
    if (result.record == QLatin1String("none") &&
        (result.action == TCommandLine::caExportRecords || result.action == TCommandLine::caReport))
      throw EDeviceError(QStringLiteral("--record none keeps no record to read"));
    if (!device.isEmpty()) result.device = ParseDeviceChoice(device);
  } catch (const EDeviceError& e) {
    result.error = e.Message();
  }
  return result;
}

QStringList HelpText() {
  return {
      QStringLiteral("Usage: cihaz-test [OPTION]..."),
      QStringLiteral("Bench tool for caller-ID devices: connection, calls, line signals."),
      QString(),
      QStringLiteral("  --device DEVICE   the device to host: sim (the built-in simulated device,"),
      QStringLiteral("                    the default), serial:PORT[,PORT...], audio:PCM[:CHANNELS]"),
      QStringLiteral("                    or wav:FILE"),
      QStringLiteral("  --record FILE     keep the test record in FILE (default: kayit.sqlite in the"),
      QStringLiteral("                    user's data folder); --record none keeps no record"),
      QStringLiteral("  --export-records FILE.csv [--serial S]"),
      QStringLiteral("                    write the recorded sessions (of serial S) to FILE.csv"),
      QStringLiteral("                    and their calls to FILE-cagrilar.csv"),
      QStringLiteral("  --report SERIAL FILE.pdf"),
      QStringLiteral("                    write the test report of SERIAL's last session"),
      QStringLiteral("  --list-devices    print the serial ports and capture devices found"),
      QStringLiteral("  --self-test       send a burst of each caller-ID standard through the"),
      QStringLiteral("                    decoding and print what came back"),
      QStringLiteral("  --help            print this help"),
      QStringLiteral("  --version         print the version"),
      QString(),
      QStringLiteral("CIHAZ_DEVICE gives the device when --device does not."),
  };
}

QString VersionText() { return QStringLiteral("cihaz-test " CIHAZ_VERSION); }
