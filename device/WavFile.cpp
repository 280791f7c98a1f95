#include "device/WavFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <optional>

#include "device/DeviceError.h"

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 4;
// A recording is held in memory: about four hours of one line at most.
constexpr qint64 kMaxWavBytes = qint64(256) << 20;
constexpr qint64 kReadBlock = qint64(64) << 10;
// The format chunk's fields all lie in its first 40 bytes, whatever size it claims.
constexpr qint64 kFormatBytesRead = 40;

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

// Reads the data chunk's whole frames straight into the samples, in blocks.
TLineAudio ReadSamples(QFile& file, qint64 bytes, int channels) {
  TLineAudio audio;
  audio.channels = channels;
  const qint64 frames = bytes / (2 * channels);
  audio.samples.resize(size_t(frames * channels));
  char* out = reinterpret_cast<char*>(audio.samples.data());
  const qint64 wanted = qint64(audio.samples.size()) * 2;
  for (qint64 done = 0; done < wanted;) {
    const qint64 got = file.read(out + done, std::min(kReadBlock, wanted - done));
    if (got <= 0) {
      audio.samples.resize(size_t(done / (2 * channels) * channels));
      break;
    }
    done += got;
  }
  for (int16_t& s : audio.samples) s = qFromLittleEndian(s);
  return audio;
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
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) throw EDeviceError(QStringLiteral("%1: not a regular file").arg(path));
  if (info.size() > kMaxWavBytes)
    throw EDeviceError(QStringLiteral("%1: larger than %2 MiB").arg(path).arg(kMaxWavBytes >> 20));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EDeviceError(QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString()));
  const QByteArray riff = file.read(12);
  if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
    throw EDeviceError(QStringLiteral("%1: not a WAV file").arg(path));
  std::optional<TFormat> format;
  for (QByteArray header = file.read(8); header.size() == 8; header = file.read(8)) {
    const QByteArray id = header.left(4);
    const qint64 size = U32(header, 4);
    const qint64 body = file.pos();
    if (id == "fmt ") {
      format = ReadFormat(file.read(std::min<qint64>(size, kFormatBytesRead)), path);
    } else if (id == "data") {
      if (!format) throw EDeviceError(QStringLiteral("%1: data before the format chunk").arg(path));
      CheckFormat(*format, path);
      // A recording cut short is refused like one without data: what is left may end mid-call.
      if (size > file.size() - body)
        throw EDeviceError(
            QStringLiteral("%1: the data chunk runs past the end of the file (a cut recording)").arg(path));
      TLineAudio audio = ReadSamples(file, size, format->channels);
      if (audio.samples.empty()) throw EDeviceError(QStringLiteral("%1: no samples in the WAV file").arg(path));
      return audio;
    }
    if (!file.seek(body + size + (size & 1))) break;  // chunks are padded to even lengths
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
