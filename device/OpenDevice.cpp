#include "device/OpenDevice.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include "device/AlsaPcm.h"
#include "device/AudioZarvo.h"
#include "device/SerialZarvo.h"
#include "device/SimulatedZarvo.h"

namespace {

std::unique_ptr<IZarvo> MakeControl(const TDeviceChoice& choice) {
  switch (choice.kind) {
    case TDeviceChoice::dkSerial:
      return std::make_unique<TSerialZarvo>(choice.ports);
    case TDeviceChoice::dkAudio:
      return std::make_unique<TAudioZarvo>(
          [choice] { return OpenAlsaCapture(choice.pcm, choice.channels); },
          QStringLiteral("Ses girişi %1 (%2 hat)").arg(choice.pcm).arg(choice.channels),
          QStringLiteral("ALSA %1").arg(choice.pcm), QStringLiteral("Ses girişi"),
          QStringLiteral("ALSA yakalama aygıtı %1, %2 kanal").arg(choice.pcm).arg(choice.channels));
    case TDeviceChoice::dkWav: {
      const TLineAudio recording = ReadWav(choice.file);
      const QString name = QFileInfo(choice.file).fileName();
      return std::make_unique<TAudioZarvo>([recording] { return std::make_unique<TPacedSource>(recording); },
                                           QStringLiteral("Kayıt %1 (%2 hat)").arg(name).arg(recording.channels),
                                           QStringLiteral("wav:%1").arg(name), QStringLiteral("WAV kaydı"),
                                           QFileInfo(choice.file).absoluteFilePath());
    }
    case TDeviceChoice::dkSimulated:
      break;
  }
  return nullptr;
}

}  // namespace

void RegisterDevice(const TDeviceChoice& choice) {
  if (choice.kind == TDeviceChoice::dkSimulated) return RegisterShippedZarvo();
  // The control made now is the one the main window hosts; a later window
  // would get a new one.
  auto opened = std::make_shared<std::unique_ptr<IZarvo>>(MakeControl(choice));
  RegisterZarvoClass(CLASS_Zarvo, [opened, choice] { return *opened ? std::move(*opened) : MakeControl(choice); });
}

QStringList ListDevices() {
  QStringList out{QStringLiteral("Serial ports (--device serial:PORT):")};
  const auto ports = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo& p : ports)
    out << QStringLiteral("  %1  %2")
               .arg(p.systemLocation(), QStringList{p.description(), p.manufacturer(), p.serialNumber()}
                                            .join(QLatin1Char(' '))
                                            .simplified());
  if (ports.isEmpty()) out << QStringLiteral("  (none found)");
  out << QStringLiteral("Capture devices (--device audio:PCM[:CHANNELS]):");
  const QStringList capture = AlsaCaptureDevices();
  for (const QString& c : capture) out << QStringLiteral("  ") + c;
  if (capture.isEmpty()) out << QStringLiteral("  (none found)");
  return out;
}
