#include "app/Startup.h"

#include <cstdio>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "platform/Application.h"

QList<QWidget*> TForms::InCreationOrder() const {
  QList<QWidget*> all{Form1.get()};
  for (const auto& w : DiagramWindows) all << w.get();
  return all;
}

TForms::~TForms() {
  // The windows go before the application object that reports their errors.
  // A set of forms that was moved away owns nothing and leaves the globals.
  if (DiagramWindows.empty()) return;
  DiagramWindows.clear();
  Form1.reset();
  Form2 = nullptr;
  Form3 = nullptr;
  ADSlbag = nullptr;
  Form6 = nullptr;
  splnedir = nullptr;
}

namespace {

// Creates one diagram window, sets the unit's global to it and keeps it.
template <typename Form>
void CreateForm(TForms& forms, Form*& global) {
  auto form = std::make_unique<Form>();
  global = form.get();
  forms.DiagramWindows.push_back(std::move(form));
}

}  // namespace

TForms CreateForms() {
  TForms forms;
  forms.App = std::make_unique<TApplication>();
  forms.App->SetTitle(QStringLiteral("Caller ID Test"));
  forms.App->UseClassicLook();
  forms.Form1 = std::make_unique<TForm1>();
  forms.App->SetMainForm(forms.Form1.get());
  CreateForm(forms, Form2);
  CreateForm(forms, Form3);
  CreateForm(forms, ADSlbag);
  CreateForm(forms, Form6);
  CreateForm(forms, splnedir);
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
  // The tray icon may ask at start for the main window to stay hidden.
  if (Application->ShowMainForm()) forms.Form1->show();
  return forms.App->Run();
}
