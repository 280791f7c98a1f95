#include "Scenes.h"

#include <vector>

#include "Shapes.h"

using namespace shapes;

namespace {

const QPointF kUp(0, -1);
const QPointF kDown(0, 1);
const QPointF kLeft(-1, 0);
const QPointF kRight(1, 0);

const QString kFeedNote = QStringLiteral(
    "Hatta internet (ADSL) varsa cihaz, ADSL splitter'ın TELEFON (PHONE) çıkışından beslenir. "
    "İnternet yoksa hat, cihaza doğrudan bağlanır.");

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kPaper);
  return image;
}

void Smooth(QPainter& p) { p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing); }

// A cable from a wall socket plugged into a device socket from above.
void LineCable(QPainter& p, QPointF wall, QPointF socket) {
  Cable(p, wall, kDown, socket, kUp, kLineCable);
  TelephonePlug(p, wall, 0.9);
  TelephonePlug(p, socket);
}

void Label(QPainter& p, const QRectF& box, const QString& text, int flags = Qt::AlignCenter) {
  BackedText(p, box, text, kInk, 11.5, true, flags | Qt::TextWordWrap);
}

void RedLabel(QPainter& p, const QRectF& box, const QString& text, int flags = Qt::AlignLeft | Qt::AlignVCenter) {
  BackedText(p, box, text, kRed, 10.5, true, flags | Qt::TextWordWrap);
}

void FeedNote(QPainter& p, const QRectF& box) {
  p.setPen(QPen(kRed, 1.2));
  p.setBrush(QColor(255, 244, 242));
  p.drawRoundedRect(box, 6, 6);
  Text(p, QRectF(box.left() + 8, box.top() + 5, 40, 14), QStringLiteral("NOT:"), kRed, 11, true);
  Text(p, box.adjusted(8, 20, -8, -4), kFeedNote, kRed, 10.5);
}

// A row of boxes joined by arrows, left to right, centred across the picture.
void WiringOrder(QPainter& p, double top, const std::vector<QString>& steps) {
  const double boxWidth = 72;
  const double gap = 28;
  const double width = steps.size() * boxWidth + (steps.size() - 1) * gap;
  double left = (p.device()->width() - width) / 2;
  for (size_t i = 0; i < steps.size(); ++i) {
    const QRectF box(left, top, boxWidth, 22);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(244, 246, 248));
    p.drawRoundedRect(box, 4, 4);
    Text(p, box, steps[i], kInk, 11, true, Qt::AlignCenter);
    const double y = box.center().y();
    if (i + 1 < steps.size()) Arrow(p, QPointF(box.right() + 4, y), QPointF(box.right() + gap - 4, y), kRed);
    left += boxWidth + gap;
  }
}

}  // namespace

QImage SingleLineDiagram() {
  QImage image = Canvas(410, 320);
  QPainter p(&image);
  Smooth(p);
  const QPointF wall = WallSocket(p, QRectF(24, 26, 46, 46));
  FeedNote(p, QRectF(176, 10, 222, 80));
  const Panel panel = DevicePanel(p, QRectF(92, 124, 224, 64), {QStringLiteral("1"), QStringLiteral("2")});
  const QRectF phone(22, 232, 84, 62);
  const QRectF laptop(292, 214, 106, 78);

  LineCable(p, wall, panel.sockets[0]);
  Cable(p, panel.sockets[1], kDown, QPointF(phone.left() + 8, phone.bottom() - 8), kLeft, kLineCable);
  TelephonePlug(p, panel.sockets[1]);
  Cable(p, panel.usb, kDown, QPointF(laptop.left() + 6, laptop.top() + 66), kLeft, kUsbCable);
  UsbPlug(p, panel.usb);
  Telephone(p, phone);
  Laptop(p, laptop);

  Label(p, QRectF(8, 4, 120, 18), QStringLiteral("Telefon hattı"), Qt::AlignLeft | Qt::AlignVCenter);
  Label(p, QRectF(92, 192, 224, 16), QStringLiteral("Cihazın arka paneli"));
  Label(p, QRectF(phone.left() - 10, 298, phone.width() + 20, 16), QStringLiteral("Telefon"));
  Label(p, QRectF(laptop.left() - 10, 298, laptop.width() + 20, 16), QStringLiteral("Bilgisayar"));
  RedLabel(p, QRectF(80, 96, 110, 16), QStringLiteral("1: HAT GİRİŞİ"));
  RedLabel(p, QRectF(160, 222, 110, 16), QStringLiteral("2: TELEFON"));
  RedLabel(p, QRectF(226, 252, 60, 16), QStringLiteral("USB"), Qt::AlignRight | Qt::AlignVCenter);
  return image;
}

QImage TwoLineDiagram() {
  QImage image = Canvas(478, 322);
  QPainter p(&image);
  Smooth(p);
  const QPointF wall1 = WallSocket(p, QRectF(30, 30, 46, 46));
  const QPointF wall2 = WallSocket(p, QRectF(158, 30, 46, 46));
  FeedNote(p, QRectF(244, 10, 224, 80));
  const Panel panel = DevicePanel(p, QRectF(66, 124, 334, 64),
                                  {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
  const QRectF phone1(20, 232, 82, 60);
  const QRectF phone2(186, 232, 82, 60);
  const QRectF laptop(362, 216, 106, 78);

  LineCable(p, wall1, panel.sockets[0]);
  LineCable(p, wall2, panel.sockets[2]);
  Cable(p, panel.sockets[1], kDown, QPointF(phone1.left() + 8, phone1.bottom() - 8), kLeft, kLineCable);
  Cable(p, panel.sockets[3], kDown, QPointF(phone2.left() + 8, phone2.bottom() - 8), kLeft, kLineCable);
  TelephonePlug(p, panel.sockets[1]);
  TelephonePlug(p, panel.sockets[3]);
  Cable(p, panel.usb, kDown, QPointF(laptop.left() + 6, laptop.top() + 66), kLeft, kUsbCable);
  UsbPlug(p, panel.usb);
  Telephone(p, phone1);
  Telephone(p, phone2);
  Laptop(p, laptop);

  Label(p, QRectF(13, 6, 80, 18), QStringLiteral("Hat 1"));
  Label(p, QRectF(141, 6, 80, 18), QStringLiteral("Hat 2"));
  Label(p, QRectF(66, 192, 334, 16), QStringLiteral("Cihazın arka paneli"));
  Label(p, QRectF(phone1.left() - 10, 298, phone1.width() + 20, 16), QStringLiteral("Telefon 1"));
  Label(p, QRectF(phone2.left() - 10, 298, phone2.width() + 20, 16), QStringLiteral("Telefon 2"));
  Label(p, QRectF(laptop.left() - 10, 298, laptop.width() + 20, 16), QStringLiteral("Bilgisayar"));
  RedLabel(p, QRectF(20, 96, 100, 16), QStringLiteral("Hat 1 → 1"), Qt::AlignRight | Qt::AlignVCenter);
  RedLabel(p, QRectF(196, 96, 100, 16), QStringLiteral("Hat 2 → 3"));
  RedLabel(p, QRectF(102, 214, 110, 16), QStringLiteral("2 → Telefon 1"));
  RedLabel(p, QRectF(268, 214, 110, 16), QStringLiteral("4 → Telefon 2"));
  return image;
}

QImage FourLineDiagram() {
  QImage image = Canvas(478, 400);
  QPainter p(&image);
  Smooth(p);
  const Panel panel = DevicePanel(p, QRectF(124, 176, 340, 64),
                                  {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
  const double plateX[] = {52, panel.sockets[1].x() - 23, panel.sockets[2].x() - 23, panel.sockets[3].x() - 23};
  QPointF walls[4];
  for (int i = 0; i < 4; ++i) walls[i] = WallSocket(p, QRectF(plateX[i], 34, 46, 46));
  // Line 1 is shared with the telephone through a doubler at the wall.
  const auto [toPhone, toDevice] = Doubler(p, QRectF(walls[0].x() - 26, walls[0].y() - 10, 52, 22));
  const QRectF phone(14, 292, 84, 62);
  const QRectF laptop(362, 290, 106, 78);

  LineCable(p, toDevice, panel.sockets[0]);
  for (int i = 1; i < 4; ++i) LineCable(p, walls[i], panel.sockets[size_t(i)]);
  Cable(p, toPhone, kDown, QPointF(phone.left() + 10, phone.top() + 40), kUp, kLineCable);
  TelephonePlug(p, toPhone, 0.75);
  Cable(p, panel.usb, kDown, QPointF(laptop.left() + 6, laptop.top() + 66), kLeft, kUsbCable);
  UsbPlug(p, panel.usb);
  FeedNote(p, QRectF(118, 282, 226, 86));
  Telephone(p, phone);
  Laptop(p, laptop);

  for (int i = 0; i < 4; ++i) Label(p, QRectF(plateX[i] - 17, 10, 80, 18), QStringLiteral("Hat %1").arg(i + 1));
  Label(p, QRectF(124, 244, 340, 16), QStringLiteral("Cihazın arka paneli: 4 hat girişi"));
  Label(p, QRectF(phone.left() - 10, 358, phone.width() + 20, 16), QStringLiteral("Telefon"));
  Label(p, QRectF(laptop.left() - 10, 372, laptop.width() + 20, 16), QStringLiteral("Bilgisayar"));
  RedLabel(p, QRectF(4, 102, 120, 16), QStringLiteral("İkili çoklayıcı"));
  Arrow(p, QPointF(40, 100), QPointF(walls[0].x() - 20, walls[0].y() + 14), kRed);
  return image;
}

QImage SplitterExplained() {
  QImage image = Canvas(413, 340);
  QPainter p(&image);
  Smooth(p);
  Text(p, QRectF(12, 8, 389, 24), QStringLiteral("ADSL splitter nedir ?"), kInk, 18, true);

  const QRectF photo1(12, 40, 186, 112);
  const QRectF photo2(215, 40, 186, 112);
  for (const QRectF& r : {photo1, photo2}) {
    QLinearGradient backdrop(r.topLeft(), r.bottomLeft());
    backdrop.setColorAt(0, QColor(236, 238, 240));
    backdrop.setColorAt(1, QColor(196, 200, 206));
    p.setPen(QPen(QColor(150, 154, 160), 1));
    p.setBrush(backdrop);
    p.drawRect(r);
  }
  Splitter(p, QRectF(34, 56, 142, 82), 1.25);
  JunctionBox(p, QRectF(270, 64, 76, 64));
  Label(p, QRectF(12, 154, 186, 16), QStringLiteral("ADSL splitter"));
  Label(p, QRectF(215, 154, 186, 16), QStringLiteral("Telefon buatı (ek kutusu)"));
  RedLabel(p, QRectF(215, 170, 186, 14), QStringLiteral("Splitter değildir !"), Qt::AlignCenter);

  Text(p, QRectF(12, 190, 389, 48),
       QStringLiteral("ADSL splitter, telefon hattındaki internet (ADSL) sinyallerini süzer. PHONE çıkışına "
                      "yalnızca telefon sesi ve arayan numara bilgisi geçer."),
       kInk, 11.5);
  Text(p, QRectF(12, 238, 389, 34),
       QStringLiteral("Düz bir telefon buatı hattı sadece çoğaltır, hiçbir sinyali süzmez; splitter yerine "
                      "kullanılamaz."),
       kInk, 11.5);
  Text(p, QRectF(12, 272, 389, 34),
       QStringLiteral("Santral varsa splitter santralden ÖNCE takılır: hat LINE girişine, cihaz PHONE "
                      "çıkışına, santral de cihazın telefon çıkışına bağlanır."),
       kRed, 11.5, true);
  WiringOrder(p, 312,
              {QStringLiteral("Hat"), QStringLiteral("Splitter"), QStringLiteral("Cihaz"), QStringLiteral("Santral")});
  return image;
}

QImage InternetLineDiagram() {
  QImage image = Canvas(572, 387);
  QPainter p(&image);
  Smooth(p);
  const QPointF wall = WallSocket(p, QRectF(34, 46, 50, 50));
  const SplitterPorts ports = Splitter(p, QRectF(196, 30, 172, 78), 1.25);
  const QPointF modemPort = Modem(p, QRectF(436, 148, 120, 46));
  const Panel panel = DevicePanel(p, QRectF(150, 206, 230, 64), {QStringLiteral("1"), QStringLiteral("2")});
  const QRectF phone(36, 296, 86, 62);
  const QRectF laptop(450, 270, 108, 80);

  Cable(p, wall, kDown, ports.line, kDown, kLineCable);
  TelephonePlug(p, wall, 1.0);
  TelephonePlug(p, ports.line, 1.06);
  Cable(p, ports.modem, kDown, modemPort, kLeft, kLineCable);
  TelephonePlug(p, ports.modem, 1.06);
  Cable(p, ports.phone, kDown, panel.sockets[0], kUp, kLineCable);
  TelephonePlug(p, ports.phone, 1.06);
  TelephonePlug(p, panel.sockets[0]);
  Cable(p, panel.sockets[1], kDown, QPointF(phone.left() + 8, phone.bottom() - 8), kLeft, kLineCable);
  TelephonePlug(p, panel.sockets[1]);
  Cable(p, panel.usb, kDown, QPointF(laptop.left() + 6, laptop.top() + 68), kLeft, kUsbCable);
  UsbPlug(p, panel.usb);
  Telephone(p, phone);
  Laptop(p, laptop);

  Text(p, QRectF(392, 8, 172, 100),
       QStringLiteral("İnternet hattı cihaza doğrudan bağlanmaz. Cihaz, splitter'ın PHONE çıkışından bağlanır."), kRed,
       11.5, true, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
  Label(p, QRectF(6, 4, 160, 34), QStringLiteral("Santralden gelen hat (internet var)"),
        Qt::AlignLeft | Qt::AlignVCenter);
  Label(p, QRectF(436, 198, 120, 16), QStringLiteral("Modem"));
  Label(p, QRectF(150, 274, 230, 16), QStringLiteral("Caller ID cihazı"));
  Label(p, QRectF(phone.left() - 10, 362, phone.width() + 20, 16), QStringLiteral("Telefon"));
  Label(p, QRectF(laptop.left() - 10, 354, laptop.width() + 20, 16), QStringLiteral("Bilgisayar"));
  RedLabel(p, QRectF(60, 128, 160, 16), QStringLiteral("LINE: hat girişi"));
  RedLabel(p, QRectF(330, 122, 100, 30), QStringLiteral("MODEM çıkışı → modem"));
  RedLabel(p, QRectF(264, 160, 110, 30), QStringLiteral("PHONE çıkışı → cihaz"));
  return image;
}

QImage Thumbnail(const QImage& picture) {
  // A key colour that the miniature never contains; the card's edges are
  // drawn crisp so that no pixel blends into it.
  const QColor key(255, 0, 255);
  QImage image(96, 68, QImage::Format_RGB32);
  image.fill(key);
  const QImage mini = picture.scaled(88, 60, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  const QRect card((96 - mini.width()) / 2 - 2, (68 - mini.height()) / 2 - 2, mini.width() + 4, mini.height() + 4);
  QPainter p(&image);
  p.fillRect(card.translated(1, 1), QColor(128, 128, 128));
  p.fillRect(card, QColor(96, 96, 96));
  p.fillRect(card.adjusted(1, 1, -1, -1), kPaper);
  p.drawImage(card.topLeft() + QPoint(2, 2), mini);
  return image;
}
