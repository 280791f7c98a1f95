#include "device/OpenDevice.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include "device/AlsaPcm.h"
#include "device/AudioZarvo.h"
#include "device/SerialZarvo.h"
#include "device/SimulatedZarvo.h"

namespace {

std::unique_ptr<IZarvo> MakeControl(const TDeviceSpec& spec) {
  switch (spec.kind) {
    case TDeviceSpec::dkSerial:
      return std::make_unique<TSerialZarvo>(spec.ports);
    case TDeviceSpec::dkAudio:
      return std::make_unique<TAudioZarvo>([spec] { return OpenAlsaCapture(spec.pcm, spec.channels); },
                                           QStringLiteral("Ses girişi %1 (%2 hat)").arg(spec.pcm).arg(spec.channels),
                                           QStringLiteral("ALSA %1").arg(spec.pcm));
    case TDeviceSpec::dkWav: {
      const TLineAudio recording = ReadWav(spec.file);
      const QString name = QFileInfo(spec.file).fileName();
      return std::make_unique<TAudioZarvo>([recording] { return std::make_unique<TPacedSource>(recording); },
                                           QStringLiteral("Kayıt %1 (%2 hat)").arg(name).arg(recording.channels),
                                           QStringLiteral("wav:%1").arg(name));
    }
    case TDeviceSpec::dkSimulated:
      break;
  }
  return nullptr;
}

}  // namespace

void RegisterDevice(const TDeviceSpec& spec) {
  if (spec.kind == TDeviceSpec::dkSimulated) return RegisterShippedZarvo();
  // The control made now is the one the main window hosts; a later window
  // would get a new one.
  auto opened = std::make_shared<std::unique_ptr<IZarvo>>(MakeControl(spec));
  RegisterZarvoClass(CLASS_Zarvo, [opened, spec] { return *opened ? std::move(*opened) : MakeControl(spec); });
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
