// Draws the program's icon at each size asked for, as the icon theme lays
// them out: DIR/hicolor/SIZExSIZE/apps/cihaz-test.png.

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

#include "app/AppIcon.h"

namespace {

constexpr int kLargest = 1024;

bool WriteIcon(const QString& themeDir, int size) {
  const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(themeDir).arg(size);
  const QString file = dir + QStringLiteral("/cihaz-test.png");
  if (QDir().mkpath(dir) && ProgramIconImage(size).save(file, "PNG")) return true;
  std::fprintf(stderr, "program-icons: cannot write %s\n", qPrintable(file));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments().mid(1);
  if (arguments.size() < 2) {
    std::fprintf(stderr, "usage: program-icons DIR SIZE...\n");
    return 2;
  }
  for (const QString& text : arguments.mid(1)) {
    bool number = false;
    const int size = text.toInt(&number);
    if (!number || size < 16 || size > kLargest) {
      std::fprintf(stderr, "program-icons: '%s' is not a size from 16 to %d\n", qPrintable(text), kLargest);
      return 2;
    }
    if (!WriteIcon(arguments.first(), size)) return 1;
  }
  return 0;
}
