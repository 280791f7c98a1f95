// cid-generate: a caller-ID burst as an exchange sends it, written to a WAV
// file (8 kHz, 16 bits) or played on an ALSA device, for testing caller-ID
// devices and the program's line-audio device.
//
//   cid-generate --standard bell202|v23|dtmf [--number N | --withheld P|O] [--name NAME]
//                [--date MMDDHHMM] [--sdmf] [--level DBM0] [--snr DB] [--seed N]
//                [--channels N --line L] (--out FILE.wav | --play PCM)

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
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

double ParseNumber(const QCommandLineParser& p, const QString& option) {
  bool ok = false;
  const double value = p.value(option).toDouble(&ok);
  if (!ok) throw EDeviceError(QStringLiteral("--%1 needs a number, not '%2'").arg(option, p.value(option)));
  return value;
}

int ParseCount(const QCommandLineParser& p, const QString& option, int low, int high) {
  const double value = ParseNumber(p, option);
  if (value != int(value) || value < low || value > high)
    throw EDeviceError(QStringLiteral("--%1 must be a whole number from %2 to %3").arg(option).arg(low).arg(high));
  return int(value);
}

TBurstRequest ReadRequest(const QCommandLineParser& p) {
  TBurstRequest request;
  request.kind = ParseStandard(p.value(QStringLiteral("standard")));
  request.number = p.value(QStringLiteral("number"));
  if (p.isSet(QStringLiteral("withheld"))) {
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
                         ? p.value(QStringLiteral("date"))
                         : QDateTime::currentDateTime().toString(QStringLiteral("MMddHHmm"));
  request.singleData = p.isSet(QStringLiteral("sdmf"));
  if (p.isSet(QStringLiteral("level"))) request.levelDbm0 = ParseNumber(p, QStringLiteral("level"));
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
  QCommandLineParser p;
  p.setApplicationDescription(QStringLiteral("Writes or plays a caller-ID burst (8 kHz, 16-bit)."));
  p.addHelpOption();
  p.addOptions({
      {QStringLiteral("standard"), QStringLiteral("bell202, v23 or dtmf."), QStringLiteral("standard"),
       QStringLiteral("v23")},
      {QStringLiteral("number"), QStringLiteral("The caller's number."), QStringLiteral("number")},
      {QStringLiteral("withheld"), QStringLiteral("No number: P (private) or O (unavailable)."),
       QStringLiteral("reason")},
      {QStringLiteral("name"), QStringLiteral("The caller's name (FSK only)."), QStringLiteral("name")},
      {QStringLiteral("date"), QStringLiteral("MMDDHHMM (FSK only; default: now)."), QStringLiteral("date")},
      {QStringLiteral("sdmf"), QStringLiteral("Single data message format: date and number only.")},
      {QStringLiteral("level"), QStringLiteral("Level of the burst in dBm0 (default: the transmitter's)."),
       QStringLiteral("dBm0")},
      {QStringLiteral("snr"), QStringLiteral("Add white noise this many dB below the burst."), QStringLiteral("dB")},
      {QStringLiteral("seed"), QStringLiteral("Seed of the noise."), QStringLiteral("n")},
      {QStringLiteral("channels"), QStringLiteral("Channels of the WAV file (1 to 4)."), QStringLiteral("n")},
      {QStringLiteral("line"), QStringLiteral("The channel that carries the burst."), QStringLiteral("n")},
      {QStringLiteral("out"), QStringLiteral("Write a WAV file."), QStringLiteral("file")},
      {QStringLiteral("play"), QStringLiteral("Play on this ALSA device."), QStringLiteral("pcm")},
  });
  p.process(app);
  try {
    return Generate(p);
  } catch (const EDeviceError& e) {
    std::fprintf(stderr, "cid-generate: %s\n", e.what());
    return 2;
  }
}
