// The main window's screens, with the simulated device connected.

#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>

#include "Snapshot.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "device/SimulatedZarvo.h"
#include "platform/Sound.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

namespace {

// Steps the device until it has reported this many calls; the calls are
// received on a clock that runs with the device's steps from a fixed moment.
void ReceiveCalls(TForm1& form, TSimulatedZarvo& device, int calls) {
  int steps = 0;
  form.Clock = [&steps] {
    return EncodeDate(2026, 12, 8) + EncodeTime(14, 0, 0, 0) + steps * TSimulatedZarvo::kStepMs / kMSecsPerDay;
  };
  Sound::SetBeepHook([](uint32_t, uint32_t) {});
  for (; form.CallCounter() < calls; ++steps) device.Step();
  Sound::SetBeepHook(nullptr);
  form.Clock = Now;
}

// Renders the main window with the device answering and page shown.
QImage RenderMain(int page, bool lineControl = false, int calls = 0) {
  RegisterShippedZarvo(926);
  TForms forms = CreateForms();
  TForm1& form = *forms.Form1;
  auto* device = dynamic_cast<TSimulatedZarvo*>(form.Zarvo1->ControlInterface());
  device->SetManualStepping(true);
  form.FormShow(nullptr);
  for (int i = 0; i < 4; ++i) device->Step();
  form.Timer1Timer(nullptr);
  if (calls > 0) {
    // The list sizes its columns to the window once the window exists.
    form.show();
    QCoreApplication::processEvents();
    ReceiveCalls(form, *device, calls);
  }
  form.PageControl1->setCurrentIndex(page);
  if (lineControl) {
    form.Edit1->setText(QStringLiteral("926"));
    form.BitBtn1Click(nullptr);
  }
  return form.grab().toImage();
}

SNAPSHOT_SCREEN("main-test.png", [] { return RenderMain(0); });
SNAPSHOT_SCREEN("main-calls.png", [] { return RenderMain(0, false, TForm1::kCallListRows); });
SNAPSHOT_SCREEN("main-help.png", [] { return RenderMain(1); });
SNAPSHOT_SCREEN("main-question.png", [] { return RenderMain(3); });
SNAPSHOT_SCREEN("main-linecontrol.png", [] { return RenderMain(3, true); });

}  // namespace
