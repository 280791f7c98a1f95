// Renders every registered screen offscreen from a fixed, reproducible state.

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <map>

#include "Snapshot.h"
#include "platform/Application.h"
#include "platform/SysUtils.h"

namespace {
std::map<QString, TScreenRenderer>& Screens() {
  static std::map<QString, TScreenRenderer> screens;
  return screens;
}
}  // namespace

bool RegisterScreen(const QString& fileName, TScreenRenderer render) {
  Screens()[fileName] = std::move(render);
  return true;
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: snapshot DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "snapshot: cannot create %s\n", argv[1]);
    return 1;
  }
  TApplication application;
  FormatSettings = TFormatSettings::Turkish();
  int failures = 0;
  for (const auto& [file, render] : Screens()) {
    const QImage image = render();
    const QString path = dir.filePath(file);
    if (image.isNull() || !image.save(path)) {
      std::fprintf(stderr, "snapshot: could not write %s\n", qPrintable(path));
      ++failures;
    } else {
      std::printf("%s\n", qPrintable(path));
    }
  }
  return failures ? 1 : 0;
}
