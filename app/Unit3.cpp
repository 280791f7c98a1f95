#include "app/Unit3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent)
    : TDiagramForm(QStringLiteral("4 hatlı Cihaz Bağlantısı"), DiagramPictures::FourLines, parent),
      Image3(Picture()),
      Label1(AddInscription(QStringLiteral("4 hatlı cihaz bağlantısı"), 131, 435)) {
  SetOuterSize(494, 530);
  Image3->OnClick = [this](TObject* Sender) { Image3Click(Sender); };
}

void TForm3::Image3Click(TObject*) { Close(); }
