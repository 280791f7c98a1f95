// The main window's screens, with the simulated device connected.

#include "Snapshot.h"

#include "app/Startup.h"
#include "app/Unit1.h"
#include "device/SimulatedZarvo.h"

#include <QTabWidget>

namespace {

// Renders the main window with the device answering and page shown.
QImage RenderMain(int page) {
  RegisterShippedZarvo(926);
  TForms forms = CreateForms();
  TForm1& form = *forms.Form1;
  auto* device = dynamic_cast<TSimulatedZarvo*>(form.Zarvo1->ControlInterface());
  device->SetManualStepping(true);
  form.FormShow(nullptr);
  for (int i = 0; i < 4; ++i) device->Step();
  form.Timer1Timer(nullptr);
  form.PageControl1->setCurrentIndex(page);
  return form.grab().toImage();
}

SNAPSHOT_SCREEN("main-test.png", [] { return RenderMain(0); });

}  // namespace
