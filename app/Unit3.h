#pragma once
// The four-line wiring diagram.

#include "app/DiagramForm.h"

class TForm3 : public TDiagramForm {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);

  TClickLabel* Image3;
  TClickLabel* Label1;

  void Image3Click(TObject* Sender);
};

extern TForm3* Form3;
