// The texts the device control takes in: command texts (through the main
// window's control and straight to the simulated device), the level texts
// of its signal event as the main window reads them, and the texts a modem
// sends (hexadecimal data messages, DTMF strings, dates) with the device
// option's text.
//
// The first byte chooses the kind; the rest is the text.

#include <QLabel>
#include <QProgressBar>

#include "FuzzSupport.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/zarvocallerid_TLB.h"
#include "device/CallerIdMessage.h"
#include "device/CommandLine.h"
#include "device/DeviceControl.h"
#include "device/DeviceError.h"
#include "device/SimulatedZarvo.h"
#include "platform/Exceptions.h"

namespace {

// The shipped device, keeping the event receiver the main window gives it.
class FuzzedZarvo : public TSimulatedZarvo {
 public:
  FuzzedZarvo() : TSimulatedZarvo(926) {}
  void Advise(IZarvoEvents* Sink) override {
    sink = Sink;
    TSimulatedZarvo::Advise(Sink);
  }
  IZarvoEvents* sink = nullptr;
};

struct Window {
  TForms forms;
  int errors = 0;
  FuzzedZarvo* device = nullptr;
};

Window& MainWindow() {
  static Window* window = [] {
    RegisterZarvoClass(CLASS_Zarvo, [] { return std::make_unique<FuzzedZarvo>(); });
    auto* w = new Window{CreateForms()};
    w->device = dynamic_cast<FuzzedZarvo*>(w->forms.Form1->Zarvo1->ControlInterface());
    if (!w->device || !w->device->sink) FuzzFailure(QStringLiteral("the main window does not host the device"));
    w->device->SetManualStepping(true);
    w->device->Start();
    auto report = Application->OnException;
    Application->OnException = [w, report](TObject* s, const Exception& e) {
      ++w->errors;
      if (report) report(s, e);
    };
    return w;
  }();
  return *window;
}

// All four levels are shown, each as an integer, or none is and one error
// is reported; the bars stay in their range.
void Levels(const QString& text) {
  Window& w = MainWindow();
  TForm1& form = *w.forms.Form1;
  const QList<QLabel*> labels{form.Label1, form.Label2, form.Label3, form.Label4};
  const QList<QProgressBar*> bars{form.ProgressBar1, form.ProgressBar2, form.ProgressBar3, form.ProgressBar4};
  for (QLabel* label : labels) label->setText(QStringLiteral("unset"));
  QStringList levels = text.split(QLatin1Char('|'));
  while (levels.size() < 8) levels << QStringLiteral("0");
  const int errorsBefore = w.errors;
  w.device->sink->Invoke(DISPID_OnSignalA, levels);
  int shown = 0;
  for (QLabel* label : labels) {
    if (label->text() == QLatin1String("unset")) continue;
    ++shown;
    bool ok = false;
    label->text().toInt(&ok);
    if (!ok) FuzzFailure(QStringLiteral("level label shows '%1' for '%2'").arg(label->text(), text));
  }
  const int errors = w.errors - errorsBefore;
  if (!((shown == 4 && errors == 0) || (shown == 0 && errors == 1)))
    FuzzFailure(QStringLiteral("'%1': %2 levels shown, %3 errors").arg(text).arg(shown).arg(errors));
  for (QProgressBar* bar : bars)
    if (bar->value() < bar->minimum() || bar->value() > bar->maximum())
      FuzzFailure(QStringLiteral("bar at %1 for '%2'").arg(bar->value()).arg(text));
}

// Known commands succeed on the simulated device, others fail; through the
// main window's control a failure is an error, never anything worse.
void Command(const QString& text) {
  Window& w = MainWindow();
  QString result;
  const HRESULT status = w.device->Command(text, result);
  QString argument;
  const TZarvoCommand command = ParseZarvoCommand(text, &argument);
  if ((status == S_OK) != (command != TZarvoCommand::zcUnknown))
    FuzzFailure(QStringLiteral("command '%1' answered %2").arg(text).arg(status));
  if (command == TZarvoCommand::zcDial && w.device->LastDialled() != argument)
    FuzzFailure(QStringLiteral("dialled '%1' for '%2'").arg(w.device->LastDialled(), text));
  for (int i = 0; i < 3; ++i) w.device->Step();
  try {
    w.forms.Form1->Zarvo1->Command(text);
  } catch (const Exception&) {
  }
}

// What a modem sends on its line, and the device option.
void ModemText(const QString& text) {
  if (const std::optional<QByteArray> bytes = ParseHexLine(text)) {
    if (ParseHexLine(HexText(*bytes)) != bytes)
      FuzzFailure(QStringLiteral("hex line '%1' does not read back").arg(text));
    const TFrameReading reading = ReadFrame(*bytes);
    if ((reading.check == TFrameCheck::fcGood) != reading.report.has_value())
      FuzzFailure(QStringLiteral("frame '%1': check and report disagree").arg(text));
    if (reading.report) FieldsText(*reading.report);
    CheckText(reading.check);
  }
  if (const auto report = DecodeDtmf(text)) {
    FieldsText(*report);
    if (!report->number.isEmpty() && !text.contains(report->number))
      FuzzFailure(QStringLiteral("DTMF '%1' gave number '%2'").arg(text, report->number));
  }
  const QString when = CallDateTimeText(text, QDateTime(QDate(2026, 2, 28), QTime(23, 59)));
  if (!QDateTime::fromString(when, QStringLiteral("dd.MM.yyyy HH:mm:ss")).isValid())
    FuzzFailure(QStringLiteral("date '%1' shown as '%2'").arg(text, when));
  try {
    const TDeviceChoice choice = ParseDeviceChoice(text);
    const bool sane = choice.kind == TDeviceChoice::dkSerial ? !choice.ports.isEmpty() && choice.ports.size() <= 4
                      : choice.kind == TDeviceChoice::dkAudio
                          ? !choice.pcm.isEmpty() && choice.channels >= 1 && choice.channels <= 4
                      : choice.kind == TDeviceChoice::dkWav ? !choice.file.isEmpty()
                                                            : true;
    if (!sane) FuzzFailure(QStringLiteral("device option '%1' taken with bad parts").arg(text));
  } catch (const EDeviceError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzApplication(argc, argv);
  MainWindow();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return -1;
  FuzzInput in(data, size);
  const uint8_t kind = in.Byte();
  const QString text = in.Rest();
  switch (kind % 3) {
    case 0:
      Levels(text);
      break;
    case 1:
      Command(text);
      break;
    case 2:
      ModemText(text);
      break;
  }
  return 0;
}
