#include "device/WavFile.h"

#include <QFile>
#include <QtEndian>
#include <optional>

#include "device/DeviceError.h"

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 4;

// A little-endian field of the header. The callers check the lengths first;
// a field that would reach past the end reads as 0 instead of stray memory.
template <typename T>
T LittleEndianAt(const QByteArray& b, qsizetype at) {
  if (at < 0 || at > b.size() - qsizetype(sizeof(T))) return 0;
  return qFromLittleEndian<T>(b.constData() + at);
}

quint16 U16(const QByteArray& b, qsizetype at) { return LittleEndianAt<quint16>(b, at); }
quint32 U32(const QByteArray& b, qsizetype at) { return LittleEndianAt<quint32>(b, at); }

struct TFormat {
  quint16 tag = 0;
  quint16 channels = 0;
  quint32 rate = 0;
  quint16 bits = 0;
};

TFormat ReadFormat(const QByteArray& chunk, const QString& path) {
  if (chunk.size() < 16) throw EDeviceError(QStringLiteral("%1: broken WAV format chunk").arg(path));
  TFormat f{U16(chunk, 0), U16(chunk, 2), U32(chunk, 4), U16(chunk, 14)};
  // The extensible header names the real format in its sub-format's first two bytes.
  if (f.tag == kFormatExtensible && chunk.size() >= 26) f.tag = U16(chunk, 24);
  return f;
}

void CheckFormat(const TFormat& f, const QString& path) {
  if (f.tag != kFormatPcm || f.bits != 16 || f.rate != 8000 || f.channels < 1 || f.channels > kMaxChannels)
    throw EDeviceError(QStringLiteral("%1: needs 16-bit PCM at 8000 Hz with 1 to %2 channels "
                                      "(found format %3, %4 bits, %5 Hz, %6 channels)")
                           .arg(path)
                           .arg(kMaxChannels)
                           .arg(f.tag)
                           .arg(f.bits)
                           .arg(f.rate)
                           .arg(f.channels));
}

}  // namespace

TLineAudio ReadWav(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EDeviceError(QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString()));
  const QByteArray all = file.readAll();
  if (all.size() < 12 || !all.startsWith("RIFF") || all.mid(8, 4) != "WAVE")
    throw EDeviceError(QStringLiteral("%1: not a WAV file").arg(path));
  std::optional<TFormat> format;
  for (qsizetype at = 12; at + 8 <= all.size();) {
    const QByteArray id = all.mid(at, 4);
    const qsizetype size = U32(all, at + 4);
    const qsizetype body = at + 8;
    const QByteArray chunk = all.mid(body, size);  // shorter when the file was cut
    if (id == "fmt ") {
      format = ReadFormat(chunk, path);
    } else if (id == "data") {
      if (!format) throw EDeviceError(QStringLiteral("%1: data before the format chunk").arg(path));
      CheckFormat(*format, path);
      TLineAudio audio;
      audio.channels = format->channels;
      const qsizetype frames = chunk.size() / (2 * audio.channels);
      audio.samples.resize(size_t(frames * audio.channels));
      for (size_t i = 0; i < audio.samples.size(); ++i) audio.samples[i] = int16_t(U16(chunk, qsizetype(2 * i)));
      return audio;
    }
    at = body + size + (size & 1);  // chunks are padded to even lengths
  }
  throw EDeviceError(QStringLiteral("%1: no audio data in the WAV file").arg(path));
}

void WriteWav(const QString& path, const TLineAudio& audio) {
  const quint32 dataBytes = quint32(audio.samples.size() * 2);
  QByteArray out;
  auto u32 = [&out](quint32 v) { out.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 4); };
  auto u16 = [&out](quint16 v) { out.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 2); };
  out.append("RIFF");
  u32(36 + dataBytes);
  out.append("WAVEfmt ");
  u32(16);
  u16(kFormatPcm);
  u16(quint16(audio.channels));
  u32(quint32(audio.sampleRate));
  u32(quint32(audio.sampleRate * audio.channels * 2));
  u16(quint16(audio.channels * 2));
  u16(16);
  out.append("data");
  u32(dataBytes);
  for (int16_t s : audio.samples) u16(quint16(s));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
    throw EDeviceError(QStringLiteral("%1: cannot be written (%2)").arg(path, file.errorString()));
}
