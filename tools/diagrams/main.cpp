// build/diagrams OUTDIR: writes the wiring pictures of the diagram windows
// and the help tab's thumbnails, ready to be embedded as resources.

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "Scenes.h"

namespace {

bool Write(const QDir& dir, const QString& file, const QImage& image) {
  const QString path = dir.filePath(file);
  QImageWriter writer(path);
  // JPEG quality high enough that the inscriptions stay crisp.
  if (file.endsWith(QStringLiteral(".jpg"))) writer.setQuality(92);
  // Bitmaps go out with 24 bits per pixel: drop the unused byte first.
  const QImage out = file.endsWith(QStringLiteral(".bmp")) ? image.convertToFormat(QImage::Format_RGB888) : image;
  if (!writer.write(out)) {
    std::fprintf(stderr, "diagrams: could not write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: diagrams OUTDIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "diagrams: cannot create %s\n", argv[1]);
    return 1;
  }
  const QImage single = SingleLineDiagram();
  const QImage internet = InternetLineDiagram();
  const bool ok = Write(dir, QStringLiteral("tek-hat.bmp"), single) &&
                  Write(dir, QStringLiteral("iki-hat.bmp"), TwoLineDiagram()) &&
                  Write(dir, QStringLiteral("dort-hat.bmp"), FourLineDiagram()) &&
                  Write(dir, QStringLiteral("splitter-nedir.jpg"), SplitterExplained()) &&
                  Write(dir, QStringLiteral("internet-hatti.jpg"), internet) &&
                  Write(dir, QStringLiteral("cihaz-kucuk.bmp"), Thumbnail(single)) &&
                  Write(dir, QStringLiteral("splitter-kucuk.bmp"), Thumbnail(internet));
  return ok ? 0 : 1;
}
