#include "app/Startup.h"

#include "app/Unit1.h"
#include "platform/Application.h"

#include <cstdio>

QList<QWidget*> TForms::InCreationOrder() const {
  QList<QWidget*> all{Form1.get()};
  for (const auto& w : DiagramWindows) all << w.get();
  return all;
}

TForms CreateForms() {
  TForms forms;
  forms.App = std::make_unique<TApplication>();
  forms.App->SetTitle(QStringLiteral("Caller ID Test"));
  forms.App->UseClassicLook();
  forms.Form1 = std::make_unique<TForm1>();
  forms.App->SetMainForm(forms.Form1.get());
  return forms;
}

int RunProgram() {
  TForms forms;
  try {
    forms = CreateForms();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cihaz-test: the main window cannot be created: %s\n", e.what());
    return 1;
  }
  forms.Form1->show();
  return forms.App->Run();
}
