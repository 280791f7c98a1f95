#include "app/Unit6.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(QWidget* parent)
    : TDiagramForm(QStringLiteral("Tek Hatlı Caller ID Cihazı  Bağlantısı"), DiagramPictures::SingleLine, parent),
      Image3(Picture()),
      Label2(AddInscription(QStringLiteral("Tek hatlı cihaz bağlantısı"), 81, 358)) {
  SetOuterSize(426, 460);
  Image3->OnClick = [this](TObject* Sender) { Image3Click(Sender); };
  Label2->OnClick = [this](TObject* Sender) { Label2Click(Sender); };
  OnClick = [this](TObject* Sender) { FormClick(Sender); };
}

void TForm6::Image3Click(TObject*) { Close(); }

void TForm6::Label2Click(TObject*) { Close(); }

void TForm6::FormClick(TObject*) { Close(); }
