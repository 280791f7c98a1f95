#pragma once
// The single-line wiring diagram. Unlike the others it closes on a click
// anywhere: picture, inscription or empty area.

#include "app/DiagramForm.h"

class TForm6 : public TDiagramForm {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* parent = nullptr);

  TClickLabel* Image3;
  TClickLabel* Label2;

  void Image3Click(TObject* Sender);
  void Label2Click(TObject* Sender);
  void FormClick(TObject* Sender);
};

extern TForm6* Form6;
