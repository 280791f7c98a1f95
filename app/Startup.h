#pragma once
// Program start: the application titled, the windows created in their order,
// only the main window shown, the message loop run until it closes.

#include <QList>
#include <QWidget>
#include <memory>

#include "app/Unit1.h"
#include "platform/Application.h"

struct TForms {
  TForms() = default;
  TForms(TForms&&) = default;
  TForms& operator=(TForms&&) = default;
  ~TForms();
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TForm1> Form1;
  // TForm2, TForm3, TADSlbag, TForm6, Tsplnedir: hidden until asked for.
  std::vector<std::unique_ptr<QWidget>> DiagramWindows;
  // Every window in creation order, the main window first.
  QList<QWidget*> InCreationOrder() const;
};

// Creates the application object and the windows; raises when the main
// window cannot be created (no device control).
TForms CreateForms();

// The whole program; answers the exit status. A start that fails prints one
// line on standard error and answers 1.
int RunProgram();
