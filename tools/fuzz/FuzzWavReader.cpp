// The WAV reader on arbitrary files: a clear error or whole frames of a
// format the line decoder takes, never more samples than the file holds.

#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "device/DeviceError.h"
#include "device/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.wav"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) FuzzFailure(QStringLiteral("cannot write %1").arg(path));
  file.write(reinterpret_cast<const char*>(data), qint64(size));
  file.close();
  try {
    const TLineAudio audio = ReadWav(path);
    if (audio.channels < 1 || audio.channels > 4 || audio.sampleRate != 8000)
      FuzzFailure(QStringLiteral("read %1 channels at %2 Hz").arg(audio.channels).arg(audio.sampleRate));
    if (audio.samples.size() % size_t(audio.channels) != 0) FuzzFailure(QStringLiteral("a frame cut in two"));
    if (audio.samples.size() * 2 > size) FuzzFailure(QStringLiteral("more samples than the file holds"));
  } catch (const EDeviceError&) {
  }
  return 0;
}
