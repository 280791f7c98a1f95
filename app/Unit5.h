#pragma once
// What an ADSL splitter is, and how it differs from a junction box.

#include "app/DiagramForm.h"

class Tsplnedir : public TDiagramForm {
  Q_OBJECT
 public:
  explicit Tsplnedir(QWidget* parent = nullptr);

  TClickLabel* Image1;

  void Image1Click(TObject* Sender);
};

extern Tsplnedir* splnedir;
