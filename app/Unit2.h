#pragma once
// The two-line wiring diagram.

#include "app/DiagramForm.h"

class TForm2 : public TDiagramForm {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  TClickLabel* Image1;
  TClickLabel* Label1;

  void Image1Click(TObject* Sender);
};

extern TForm2* Form2;
