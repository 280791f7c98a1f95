#pragma once
// How the internet line reaches the device: exchange, splitter, modem, device.

#include "app/DiagramForm.h"

class TADSlbag : public TDiagramForm {
  Q_OBJECT
 public:
  explicit TADSlbag(QWidget* parent = nullptr);

  TClickLabel* Image1;

  void Image1Click(TObject* Sender);
};

extern TADSlbag* ADSlbag;
