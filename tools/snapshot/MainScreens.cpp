// The main window's screens, with the simulated device connected.

#include <QLineEdit>
#include <QTabWidget>

#include "Snapshot.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "device/SimulatedZarvo.h"
#include "platform/StdCtrls.h"

namespace {

// Renders the main window with the device answering and page shown.
QImage RenderMain(int page, bool lineControl = false) {
  RegisterShippedZarvo(926);
  TForms forms = CreateForms();
  TForm1& form = *forms.Form1;
  auto* device = dynamic_cast<TSimulatedZarvo*>(form.Zarvo1->ControlInterface());
  device->SetManualStepping(true);
  form.FormShow(nullptr);
  for (int i = 0; i < 4; ++i) device->Step();
  form.Timer1Timer(nullptr);
  form.PageControl1->setCurrentIndex(page);
  if (lineControl) {
    form.Edit1->setText(QStringLiteral("926"));
    form.BitBtn1Click(nullptr);
  }
  return form.grab().toImage();
}

SNAPSHOT_SCREEN("main-test.png", [] { return RenderMain(0); });
SNAPSHOT_SCREEN("main-help.png", [] { return RenderMain(1); });
SNAPSHOT_SCREEN("main-question.png", [] { return RenderMain(3); });
SNAPSHOT_SCREEN("main-linecontrol.png", [] { return RenderMain(3, true); });

}  // namespace
