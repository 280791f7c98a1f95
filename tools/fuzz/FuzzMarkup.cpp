// The mark-up column's display painting fuzzed texts into a picture, with
// each wrap kind and cell place. Nothing a cell's text opens may reach the
// next cell: painting a text, another one, then the first again must give
// the same pixels twice (counted from the text's second painting).

#include <QImage>

#include "FuzzSupport.h"
#include "grid/ColumnClasses.h"
#include "grid/Displays.h"
#include "platform/Canvas.h"

namespace {

// Cells inside the picture, one reaching past its edges, one empty.
const TRect kCells[] = {TRect(4, 3, 154, 43), TRect(0, 0, 30, 16), TRect(-20, -5, 200, 90), TRect(50, 20, 50, 20)};

QImage Paint(THtmlColumn& column, const TRect& cell, const QString& markup) {
  QImage image(160, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TCanvas canvas(&image);
    TColumnDisplay* display = column.Display();
    display->Canvas = &canvas;
    display->CellRect = cell;
    display->TextValue = markup;
    canvas.Font()->Assign(column.Font());
    display->PaintValue();
    display->Canvas = nullptr;
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return -1;  // a cell's text, not a document
  FuzzInput in(data, size);
  const uint8_t setup = in.Byte();
  static THtmlColumn column;
  column.SetWrapKind(TWrapKind(setup % 3));
  const TRect cell = kCells[(setup >> 2) % std::size(kCells)];
  QString markup;
  if (setup & 0x80) {
    // Raw UTF-16, so that lone and swapped surrogates come too.
    const QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    markup = QString(reinterpret_cast<const QChar*>(raw.constData()), raw.size() / 2);
  } else {
    markup = in.Rest();
  }
  const QString other = QStringLiteral("<b><i><u><a href=x><font color=#FF0000 size=30 name=Courier>z");
  // Qt settles a font or glyph it meets for the first time (fallbacks) only
  // after the first layout, so the text is painted once before it counts.
  Paint(column, cell, markup);
  const QImage first = Paint(column, cell, markup);
  Paint(column, cell, other);
  if (Paint(column, cell, markup) != first)
    FuzzFailure(QStringLiteral("'%1' painted differently after another cell").arg(markup));
  return 0;
}
