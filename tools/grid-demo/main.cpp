// build/grid-demo [ROWS]: the grid suite on its own, over generated rows.

#include <QApplication>
#include <cstdio>
#include <optional>

#include "GridDemoWindow.h"
#include "platform/Application.h"

namespace {

// The row count asked for, or none when the arguments make no sense.
std::optional<int> RowsArgument(int argc, char** argv) {
  if (argc == 1) return TGridDemoWindow::kDefaultRows;
  if (argc > 2) return std::nullopt;
  bool number = false;
  const int rows = QString::fromLocal8Bit(argv[1]).toInt(&number);
  if (!number || rows < 0 || rows > TGridDemoWindow::kMaxRows) return std::nullopt;
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int> rows = RowsArgument(argc, argv);
  if (!rows) {
    std::fprintf(stderr, "usage: grid-demo [ROWS]  (ROWS a whole number from 0 to %d)\n", TGridDemoWindow::kMaxRows);
    return 2;
  }
  QApplication app(argc, argv);
  TApplication application;
  application.SetTitle(QStringLiteral("Izgara Gösterimi"));
  application.UseClassicLook();
  try {
    TGridDemoWindow window(*rows);
    application.SetMainForm(&window);
    window.show();
    return application.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "grid-demo: %s\n", e.what());
    return 1;
  }
}
