// The wiring-diagram windows: geometry, pictures, modality and closing.

#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>

#include "TestSupport.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "platform/Application.h"
#include "platform/Graphics.h"

namespace {

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<TDiagramForm>()> make;
  QString caption;
  QSize outer;
  QSize client;
  std::optional<QPoint> position;  // outer top-left; none: centred on the screen
  QString picture;
  QSize pictureSize;
};

template <typename TWindow>
std::unique_ptr<TDiagramForm> Make() {
  return std::make_unique<TWindow>();
}

const WindowCase kWindows[] = {
    {"Form6",
     Make<TForm6>,
     QStringLiteral("Tek Hatlı Caller ID Cihazı  Bağlantısı"),
     {426, 460},
     {418, 426},
     std::nullopt,
     DiagramPictures::SingleLine,
     {410, 320}},
    {"Form2",
     Make<TForm2>,
     QStringLiteral("2 Hatlı Cihaz Bağlantısı"),
     {496, 449},
     {488, 415},
     std::nullopt,
     DiagramPictures::TwoLines,
     {478, 322}},
    {"Form3",
     Make<TForm3>,
     QStringLiteral("4 hatlı Cihaz Bağlantısı"),
     {494, 530},
     {486, 496},
     std::nullopt,
     DiagramPictures::FourLines,
     {478, 400}},
    {"splnedir",
     Make<Tsplnedir>,
     QStringLiteral("ADSL splitter nedir ?"),
     {421, 374},
     {413, 340},
     std::nullopt,
     DiagramPictures::SplitterExplained,
     {413, 340}},
    {"ADSlbag",
     Make<TADSlbag>,
     QStringLiteral("İnternet hattı cihaza nasıl bağlanır ?  (ADSL hattı)"),
     {580, 421},
     {572, 387},
     QPoint(352, 350),
     DiagramPictures::InternetLine,
     {572, 387}},
};

// Shows the window modally and runs whileOpen inside its modal loop; a
// window still open afterwards is closed, so a failing test cannot hang.
void RunModal(TDiagramForm& window, const std::function<void()>& whileOpen) {
  QTimer::singleShot(0, &window, [&] {
    whileOpen();
    if (window.isVisible()) window.Close();
  });
  window.ShowModal();
}

// Clicks at `at` inside the modal loop; returns whether the window was still open after the click.
bool StaysOpenAfterClick(TDiagramForm& window, QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  bool open = true;
  RunModal(window, [&] {
    QTest::mouseClick(target, button, {}, at);
    open = window.isVisible();
  });
  return open;
}

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

QPoint ExpectedPosition(const WindowCase& c) {
  if (c.position) return *c.position;
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  return QPoint((screen.width() - c.outer.width()) / 2, (screen.height() - c.outer.height()) / 2);
}

class DiagramWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(DiagramWindow, HasItsCaptionSizeAndPlace) {
  const WindowCase& c = GetParam();
  auto window = c.make();
  EXPECT_EQ(window->Caption(), c.caption);
  EXPECT_EQ(QSize(window->Width(), window->Height()), c.outer);
  EXPECT_EQ(QSize(window->ClientWidth(), window->ClientHeight()), c.client);
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user cannot resize it";
  EXPECT_EQ(QPoint(window->Left(), window->Top()), ExpectedPosition(c));
  EXPECT_FALSE(window->isVisible()) << "created hidden";
}

TEST_P(DiagramWindow, ShowsItsPictureAtTheTopLeft) {
  const WindowCase& c = GetParam();
  auto window = c.make();
  TClickLabel* picture = window->Picture();
  EXPECT_EQ(picture->geometry(), QRect(QPoint(0, 0), c.pictureSize));
  const QImage shown = Rgb(picture->pixmap().toImage());
  EXPECT_EQ(shown.size(), c.pictureSize);
  EXPECT_TRUE(shown == Rgb(QImage(c.picture))) << "not the picture of this window";
}

TEST_P(DiagramWindow, IsModalAndClosesOnAPictureClick) {
  const WindowCase& c = GetParam();
  auto window = c.make();
  for (int showing = 1; showing <= 2; ++showing) {
    bool modal = false;
    bool closed = false;
    RunModal(*window, [&] {
      modal = QApplication::activeModalWidget() == window.get() && window->windowModality() == Qt::ApplicationModal;
      QTest::mouseClick(window->Picture(), Qt::LeftButton, {}, QPoint(12, 12));
      closed = !window->isVisible();
    });
    EXPECT_TRUE(modal) << "showing " << showing;
    EXPECT_TRUE(closed) << "showing " << showing;
    // Hidden, not destroyed: the next showing finds it in the same place.
    EXPECT_EQ(QPoint(window->Left(), window->Top()), ExpectedPosition(c));
    EXPECT_EQ(QSize(window->Width(), window->Height()), c.outer);
  }
}

TEST_P(DiagramWindow, RendersItselfWithItsFrame) {
  const WindowCase& c = GetParam();
  auto window = c.make();
  const QImage image = window->RenderImage();
  EXPECT_EQ(image.size(), c.outer);
  const QImage picture = QImage(c.picture);
  // The client area starts inside the border and below the caption bar.
  EXPECT_EQ(QColor(image.pixel(4 + 40, 30 + 40)), QColor(picture.pixel(40, 40)));
  EXPECT_EQ(QColor(image.pixel(4 + 200, 30 + 100)), QColor(picture.pixel(200, 100)));
  // The caption bar begins inside the border in the active caption colour.
  const QColor bar(image.pixel(kFrameBorder, 16));
  const QColor caption = ToQColor(clActiveCaption);
  EXPECT_LE(std::abs(bar.red() - caption.red()) + std::abs(bar.green() - caption.green()) +
                std::abs(bar.blue() - caption.blue()),
            6);
  EXPECT_EQ(QColor(image.pixel(2, 16)), ToQColor(clBtnFace)) << "the border";
}

INSTANTIATE_TEST_SUITE_P(Windows, DiagramWindow, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

struct InscriptionCase {
  const char* name;
  std::function<std::unique_ptr<TDiagramForm>()> make;
  QString text;
  QPoint position;
};

const InscriptionCase kInscriptions[] = {
    {"Form6", Make<TForm6>, QStringLiteral("Tek hatlı cihaz bağlantısı"), {81, 358}},
    {"Form2", Make<TForm2>, QStringLiteral("2 hatlı cihaz bağlantısı"), {123, 361}},
    {"Form3", Make<TForm3>, QStringLiteral("4 hatlı cihaz bağlantısı"), {131, 435}},
};

void PrintTo(const InscriptionCase& c, std::ostream* os) { *os << c.name; }

class DiagramInscription : public ::testing::TestWithParam<InscriptionCase> {};

TEST_P(DiagramInscription, SitsBelowThePictureIn24PixelType) {
  const InscriptionCase& c = GetParam();
  auto window = c.make();
  const QList<QLabel*> labels = window->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 2);
  const QLabel* label = labels[0] == window->Picture() ? labels[1] : labels[0];
  EXPECT_EQ(label->text(), c.text);
  EXPECT_EQ(label->pos(), c.position);
  EXPECT_EQ(label->font().pixelSize(), 24);
  EXPECT_GE(label->y(), window->Picture()->height());
  EXPECT_LE(label->geometry().right(), window->ClientWidth() - 1) << "cut off at the right";
  EXPECT_LE(label->geometry().bottom(), window->ClientHeight() - 1) << "cut off at the bottom";
  // Elsewhere the window keeps the default 8-point type.
  EXPECT_EQ(window->font().pixelSize(), 11);
}

INSTANTIATE_TEST_SUITE_P(Windows, DiagramInscription, ::testing::ValuesIn(kInscriptions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DiagramWindows, SizedToTheirPictureHaveNoInscription) {
  Tsplnedir splitter;
  TADSlbag internet;
  EXPECT_EQ(splitter.findChildren<QLabel*>().size(), 1);
  EXPECT_EQ(internet.findChildren<QLabel*>().size(), 1);
}

TEST(DiagramWindows, SingleLineClosesOnItsInscriptionAndEmptyArea) {
  TForm6 window;
  EXPECT_FALSE(StaysOpenAfterClick(window, window.Label2, QPoint(5, 5)));
  EXPECT_FALSE(StaysOpenAfterClick(window, &window, QPoint(414, 200))) << "right of the picture";
  EXPECT_FALSE(StaysOpenAfterClick(window, &window, QPoint(30, 400))) << "below the inscription";
}

TEST(DiagramWindows, OthersStayOpenOnClicksBesideThePicture) {
  TForm2 two;
  EXPECT_TRUE(StaysOpenAfterClick(two, &two, QPoint(483, 100))) << "right of the picture";
  EXPECT_TRUE(StaysOpenAfterClick(two, &two, QPoint(20, 340))) << "below the picture";
  EXPECT_TRUE(StaysOpenAfterClick(two, two.Label1, QPoint(5, 5))) << "on the inscription";
  TForm3 four;
  EXPECT_TRUE(StaysOpenAfterClick(four, &four, QPoint(482, 50)));
  EXPECT_TRUE(StaysOpenAfterClick(four, four.Label1, QPoint(5, 5)));
}

TEST(DiagramWindows, EscapeDoesNotCloseThem) {
  TForm6 window;
  bool open = false;
  RunModal(window, [&] {
    QTest::keyClick(&window, Qt::Key_Escape);
    open = window.isVisible();
  });
  EXPECT_TRUE(open);
}

TEST(DiagramWindows, OnlyACompleteLeftClickOnThePictureCloses) {
  TForm6 window;
  EXPECT_TRUE(StaysOpenAfterClick(window, window.Image3, QPoint(12, 12), Qt::RightButton));
  bool open = false;
  RunModal(window, [&] {
    // Pressed on the picture, released away from it: no click.
    QTest::mousePress(window.Image3, Qt::LeftButton, {}, QPoint(12, 12));
    QTest::mouseRelease(window.Image3, Qt::LeftButton, {}, QPoint(600, 12));
    open = window.isVisible();
  });
  EXPECT_TRUE(open);
}

TEST(DiagramWindows, AnErrorInAClickHandlerGoesToTheApplicationReport) {
  TForm2 window;
  QStringList reported;
  Application->OnException = [&](TObject*, const Exception& e) { reported << e.Message(); };
  window.Image1->OnClick = [](TObject*) { throw EInvalidOperation(QStringLiteral("broken handler")); };
  EXPECT_TRUE(StaysOpenAfterClick(window, window.Image1, QPoint(12, 12)));
  Application->OnException = nullptr;
  EXPECT_EQ(reported, QStringList{QStringLiteral("broken handler")});
}

TEST(DiagramWindows, AMissingPictureIsAClearError) {
  struct TBrokenForm : TDiagramForm {
    TBrokenForm() : TDiagramForm(QStringLiteral("x"), QStringLiteral(":/app/diagrams/missing.bmp"), nullptr) {}
  };
  try {
    TBrokenForm form;
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("missing.bmp")));
  }
}

// ---- the picture files ------------------------------------------------------

struct BitmapCase {
  QString path;
  QSize size;
};

TEST(DiagramPictures, BitmapsAre24BitsPerPixel) {
  const BitmapCase bitmaps[] = {{DiagramPictures::SingleLine, {410, 320}},
                                {DiagramPictures::TwoLines, {478, 322}},
                                {DiagramPictures::FourLines, {478, 400}},
                                {DiagramPictures::DeviceThumbnail, {96, 68}},
                                {DiagramPictures::SplitterThumbnail, {96, 68}}};
  for (const BitmapCase& b : bitmaps) {
    QFile file(b.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << b.path.toStdString();
    const QByteArray header = file.read(54);
    ASSERT_EQ(header.size(), 54);
    // The file header, then the info header's width, height, planes and bits.
    QDataStream in(header);
    in.setByteOrder(QDataStream::LittleEndian);
    qint32 width = 0, height = 0;
    quint16 planes = 0, bits = 0;
    in.skipRawData(18);
    in >> width >> height >> planes >> bits;
    EXPECT_EQ(header.left(2), QByteArray("BM")) << b.path.toStdString();
    EXPECT_EQ(bits, 24) << b.path.toStdString();
    EXPECT_EQ(QSize(width, height), b.size) << b.path.toStdString();
  }
}

TEST(DiagramPictures, PhotographsAreDecodedAsJpeg) {
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
  const BitmapCase photos[] = {{DiagramPictures::SplitterExplained, {413, 340}},
                               {DiagramPictures::InternetLine, {572, 387}}};
  for (const BitmapCase& photo : photos) {
    QImageReader reader(photo.path);
    EXPECT_EQ(reader.format(), QByteArray("jpeg")) << photo.path.toStdString();
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), photo.size);
  }
}

TEST(DiagramPictures, ThumbnailBackgroundIsTheirTransparentColour) {
  for (const QString& path : {DiagramPictures::DeviceThumbnail, DiagramPictures::SplitterThumbnail}) {
    TBitmap thumbnail;
    thumbnail.LoadFromFile(path);
    thumbnail.SetTransparent(true);
    const QImage masked = thumbnail.MaskedImage();
    ASSERT_EQ(masked.size(), QSize(96, 68));
    // The whole edge is background and vanishes; the miniature in the middle stays.
    for (int x = 0; x < 96; ++x) {
      EXPECT_EQ(qAlpha(masked.pixel(x, 0)), 0) << path.toStdString() << " x " << x;
      EXPECT_EQ(qAlpha(masked.pixel(x, 67)), 0) << path.toStdString() << " x " << x;
    }
    for (int y = 0; y < 68; ++y) {
      EXPECT_EQ(qAlpha(masked.pixel(0, y)), 0) << path.toStdString() << " y " << y;
      EXPECT_EQ(qAlpha(masked.pixel(95, y)), 0) << path.toStdString() << " y " << y;
    }
    int opaque = 0;
    for (int y = 8; y < 60; ++y)
      for (int x = 12; x < 84; ++x) opaque += qAlpha(masked.pixel(x, y)) == 255;
    EXPECT_EQ(opaque, 52 * 72) << path.toStdString();
  }
}

}  // namespace
