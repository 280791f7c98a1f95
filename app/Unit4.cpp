#include "app/Unit4.h"

TADSlbag* ADSlbag = nullptr;

TADSlbag::TADSlbag(QWidget* parent)
    : TDiagramForm(QStringLiteral("İnternet hattı cihaza nasıl bağlanır ?  (ADSL hattı)"),
                   DiagramPictures::InternetLine, parent),
      Image1(Picture()) {
  FitToPicture();
  SetDesignedPosition(352, 350);
  Image1->OnClick = [this](TObject* Sender) { Image1Click(Sender); };
}

void TADSlbag::Image1Click(TObject*) { Close(); }
