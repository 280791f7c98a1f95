// cid-generate: a caller-ID burst as an exchange sends it, written to a WAV
// file (8 kHz, 16 bits) or played on an ALSA device, for testing caller-ID
// devices and the program's line-audio device.
//
//   cid-generate --standard bell202|v23|dtmf [--number N | --withheld P|O] [--name NAME]
//                [--date MMDDHHMM] [--sdmf] [--level DBM0] [--snr DB] [--seed N]
//                [--channels N --line L] (--out FILE.wav | --play PCM)
//
// Input the chosen standard cannot carry is refused with one line and status
// 2 rather than clipped, dropped or sent as something else.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

#include "device/AlsaPcm.h"
#include "device/CallerIdGenerator.h"
#include "device/DeviceError.h"
#include "device/WavFile.h"

namespace {

TSignalKind ParseStandard(const QString& text) {
  if (text == QLatin1String("bell202")) return TSignalKind::skBell202;
  if (text == QLatin1String("v23")) return TSignalKind::skV23;
  if (text == QLatin1String("dtmf")) return TSignalKind::skDtmf;
  throw EDeviceError(QStringLiteral("--standard must be bell202, v23 or dtmf, not '%1'").arg(text));
}

// What each standard carries: the longest number (Telcordia GR-30 for Bell
// 202, ETSI for V.23 and DTMF) and the longest name, 0 for none.
// The V.23 name stops at the generator's own 40 characters, under the
// standard's 50.
struct TStandardLimits {
  int number;
  int name;
};

TStandardLimits Limits(TSignalKind kind) {
  switch (kind) {
    case TSignalKind::skBell202:
      return {15, 15};
    case TSignalKind::skV23:
      return {20, 40};
    case TSignalKind::skDtmf:
      return {20, 0};
  }
  return {};
}

constexpr double kMinLevelDbm0 = -80;  // quieter bursts round to a few sample steps
constexpr double kMaxLevelDbm0 = 0;    // louder ones clip on a line

double ParseNumber(const QCommandLineParser& p, const QString& option) {
  bool ok = false;
  const double value = p.value(option).toDouble(&ok);
  if (!ok || !std::isfinite(value))
    throw EDeviceError(QStringLiteral("--%1 needs a number, not '%2'").arg(option, p.value(option)));
  return value;
}

// MMDDHHMM of a real day and time; February 29 stands, as no year is sent.
QString ParseDate(const QString& text) {
  static const QRegularExpression form(
      QRegularExpression::anchoredPattern(QStringLiteral("(\\d\\d)(\\d\\d)(\\d\\d)(\\d\\d)")));
  const QRegularExpressionMatch m = form.match(text);
  if (!m.hasMatch()) throw EDeviceError(QStringLiteral("--date must be MMDDHHMM, not '%1'").arg(text));
  const int month = m.captured(1).toInt(), day = m.captured(2).toInt();
  const int hour = m.captured(3).toInt(), minute = m.captured(4).toInt();
  if (!QDate::isValid(2000, month, day) || hour > 23 || minute > 59)
    throw EDeviceError(QStringLiteral("--date %1 is no date and time: month %2, day %3, %4:%5")
                           .arg(text, m.captured(1), m.captured(2), m.captured(3), m.captured(4)));
  return text;
}

void CheckCarried(const TBurstRequest& request, const QCommandLineParser& p) {
  const QString standard = p.value(QStringLiteral("standard"));
  const TStandardLimits limits = Limits(request.kind);
  if (request.number.size() > limits.number)
    throw EDeviceError(QStringLiteral("--number: %1 carries at most %2 characters, not %3")
                           .arg(standard)
                           .arg(limits.number)
                           .arg(request.number.size()));
  if (request.kind == TSignalKind::skDtmf) {
    if (p.isSet(QStringLiteral("name"))) throw EDeviceError(QStringLiteral("--name: DTMF carries no name"));
    if (p.isSet(QStringLiteral("date"))) throw EDeviceError(QStringLiteral("--date: DTMF carries no date"));
    if (p.isSet(QStringLiteral("sdmf"))) throw EDeviceError(QStringLiteral("--sdmf: DTMF has no message formats"));
  }
  if (request.name.size() > limits.name)
    throw EDeviceError(QStringLiteral("--name: %1 carries at most %2 characters, not %3")
                           .arg(standard)
                           .arg(limits.name)
                           .arg(request.name.size()));
  if (request.singleData && !request.name.isEmpty())
    throw EDeviceError(QStringLiteral("--sdmf carries the date and number only, no --name"));
}

int ParseCount(const QCommandLineParser& p, const QString& option, int low, int high) {
  const double value = ParseNumber(p, option);
  // The range first: a double beyond int does not convert.
  if (value < low || value > high || value != std::floor(value))
    throw EDeviceError(QStringLiteral("--%1 must be a whole number from %2 to %3").arg(option).arg(low).arg(high));
  return int(value);
}

TBurstRequest ReadRequest(const QCommandLineParser& p) {
  TBurstRequest request;
  request.kind = ParseStandard(p.value(QStringLiteral("standard")));
  request.number = p.value(QStringLiteral("number"));
  if (p.isSet(QStringLiteral("withheld"))) {
    if (p.isSet(QStringLiteral("number"))) throw EDeviceError(QStringLiteral("give --number or --withheld, not both"));
    const QString reason = p.value(QStringLiteral("withheld"));
    if (reason != QLatin1String("P") && reason != QLatin1String("O"))
      throw EDeviceError(QStringLiteral("--withheld must be P (private) or O (unavailable)"));
    request.number.clear();
    request.numberAbsent = reason[0];
  } else if (request.number.isEmpty()) {
    throw EDeviceError(QStringLiteral("give --number or --withheld"));
  }
  request.name = p.value(QStringLiteral("name"));
  request.dateTime = p.isSet(QStringLiteral("date"))
                         ? ParseDate(p.value(QStringLiteral("date")))
                         : QDateTime::currentDateTime().toString(QStringLiteral("MMddHHmm"));
  request.singleData = p.isSet(QStringLiteral("sdmf"));
  CheckCarried(request, p);
  if (p.isSet(QStringLiteral("level"))) {
    request.levelDbm0 = ParseNumber(p, QStringLiteral("level"));
    if (*request.levelDbm0 < kMinLevelDbm0 || *request.levelDbm0 > kMaxLevelDbm0)
      throw EDeviceError(QStringLiteral("--level must be from %1 to %2 dBm0 (above 0 the burst clips)")
                             .arg(kMinLevelDbm0)
                             .arg(kMaxLevelDbm0));
  }
  if (p.isSet(QStringLiteral("snr"))) request.snrDb = ParseNumber(p, QStringLiteral("snr"));
  if (p.isSet(QStringLiteral("seed"))) request.noiseSeed = ParseCount(p, QStringLiteral("seed"), 1, 1 << 30);
  return request;
}

// The burst on one channel of a recording with the given channel count.
TLineAudio OnLine(const std::vector<int16_t>& burst, int channels, int line) {
  TLineAudio audio;
  audio.channels = channels;
  audio.samples.assign(burst.size() * size_t(channels), 0);
  for (size_t i = 0; i < burst.size(); ++i) audio.samples[i * size_t(channels) + size_t(line - 1)] = burst[i];
  return audio;
}

int Generate(const QCommandLineParser& p) {
  if (!p.positionalArguments().isEmpty())
    throw EDeviceError(QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().constFirst()));
  const std::vector<int16_t> burst = GenerateBurst(ReadRequest(p));
  if (p.isSet(QStringLiteral("play"))) {
    PlayAlsa(p.value(QStringLiteral("play")), burst);
    return 0;
  }
  if (!p.isSet(QStringLiteral("out"))) throw EDeviceError(QStringLiteral("give --out FILE.wav or --play PCM"));
  const int channels = p.isSet(QStringLiteral("channels")) ? ParseCount(p, QStringLiteral("channels"), 1, 4) : 1;
  const int line = p.isSet(QStringLiteral("line")) ? ParseCount(p, QStringLiteral("line"), 1, channels) : 1;
  WriteWav(p.value(QStringLiteral("out")), OnLine(burst, channels, line));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationVersion(QStringLiteral(CIHAZ_VERSION));
  QCommandLineParser p;
  p.setApplicationDescription(
      QStringLiteral("Writes or plays a caller-ID burst (8 kHz, 16-bit) as an exchange sends it, for testing "
                     "caller-ID devices through a sound card and a line simulator."));
  p.addHelpOption();
  p.addVersionOption();
  p.addOptions({
      {QStringLiteral("standard"), QStringLiteral("bell202, v23 or dtmf (default: v23)."), QStringLiteral("standard"),
       QStringLiteral("v23")},
      {QStringLiteral("number"),
       QStringLiteral("The caller's number: at most 15 characters in bell202, 20 in v23 and dtmf."),
       QStringLiteral("number")},
      {QStringLiteral("withheld"), QStringLiteral("No number: P (private) or O (unavailable)."),
       QStringLiteral("reason")},
      {QStringLiteral("name"),
       QStringLiteral("The caller's name, plain ASCII: at most 15 characters in bell202, 40 in v23; "
                      "not in dtmf or with --sdmf."),
       QStringLiteral("name")},
      {QStringLiteral("date"), QStringLiteral("Month, day, hour and minute as MMDDHHMM (not in dtmf; default: now)."),
       QStringLiteral("date")},
      {QStringLiteral("sdmf"), QStringLiteral("Single data message format: date and number only.")},
      {QStringLiteral("level"), QStringLiteral("Level of the burst, -80 to 0 dBm0 (default: the transmitter's)."),
       QStringLiteral("dBm0")},
      {QStringLiteral("snr"), QStringLiteral("Add white noise this many dB below the burst."), QStringLiteral("dB")},
      {QStringLiteral("seed"), QStringLiteral("Seed of the noise."), QStringLiteral("n")},
      {QStringLiteral("channels"), QStringLiteral("Channels of the WAV file (1 to 4)."), QStringLiteral("n")},
      {QStringLiteral("line"), QStringLiteral("The channel that carries the burst."), QStringLiteral("n")},
      {QStringLiteral("out"), QStringLiteral("Write a WAV file."), QStringLiteral("file")},
      {QStringLiteral("play"), QStringLiteral("Play on this ALSA device."), QStringLiteral("pcm")},
  });
  // Errors of the command line end with status 2 like every other bad
  // input; process() would end with 1. It still answers --help and --version.
  if (!p.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "cid-generate: %s\n", qPrintable(p.errorText()));
    return 2;
  }
  p.process(app);
  try {
    return Generate(p);
  } catch (const EDeviceError& e) {
    std::fprintf(stderr, "cid-generate: %s\n", e.what());
    return 2;
  }
}
