#include "app/Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent)
    : TDiagramForm(QStringLiteral("2 Hatlı Cihaz Bağlantısı"), DiagramPictures::TwoLines, parent),
      Image1(Picture()),
      Label1(AddInscription(QStringLiteral("2 hatlı cihaz bağlantısı"), 123, 361)) {
  SetOuterSize(496, 449);
  Image1->OnClick = [this](TObject* Sender) { Image1Click(Sender); };
}

void TForm2::Image1Click(TObject*) { Close(); }
