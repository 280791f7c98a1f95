#include "app/Unit5.h"

Tsplnedir* splnedir = nullptr;

Tsplnedir::Tsplnedir(QWidget* parent)
    : TDiagramForm(QStringLiteral("ADSL splitter nedir ?"), DiagramPictures::SplitterExplained, parent),
      Image1(Picture()) {
  FitToPicture();
  Image1->OnClick = [this](TObject* Sender) { Image1Click(Sender); };
}

void Tsplnedir::Image1Click(TObject*) { Close(); }
