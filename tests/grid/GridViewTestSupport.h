#pragma once
// A shown grid view of text columns with a log of its events, driven by real
// mouse and key events.

#include <QApplication>
#include <QTest>

#include "ManualClock.h"
#include "TestSupport.h"
#include "grid/CellEditors.h"
#include "grid/ColumnClasses.h"
#include "grid/GridView.h"

class TLoggedGridView : public TGridView {
 public:
  QStringList log;
  int paintedCells = 0;

  TLoggedGridView() {
    RegisterCellEditors();
    SetBorderStyle(bsNone);
    OnSelectCell = [this](TObject*, int c, int r) { log << QStringLiteral("select %1,%2").arg(c).arg(r); };
    OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { log << QStringLiteral("down"); };
    OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { log << QStringLiteral("up"); };
    OnCellClick = [this](TObject*, int c, int r) { log << QStringLiteral("click %1,%2").arg(c).arg(r); };
    OnBeforeEdit = [this](TObject*, int c, int r, bool&) { log << QStringLiteral("before %1,%2").arg(c).arg(r); };
    OnEdit = [this](TObject*, int c, int r, const QString& v) {
      log << QStringLiteral("edit %1,%2 %3").arg(c).arg(r).arg(v);
    };
    OnAfterEdit = [this](TObject*, int c, int r, const QString& v, bool&) {
      log << QStringLiteral("after %1,%2 %3").arg(c).arg(r).arg(v);
    };
    OnChange = [this](TObject*, int c, int r) { log << QStringLiteral("change %1,%2").arg(c).arg(r); };
    OnInputAccept = [this](TObject*, bool&) { log << QStringLiteral("accept"); };
    OnKeyDown = [this](TObject*, Word& key, TShiftState) { log << QStringLiteral("key %1").arg(key); };
  }

  TTextualColumn* AddText(const QString& caption, int width, TColumnOptions options = {}) {
    auto* c = new TTextualColumn;
    c->SetWidth(width);
    c->Header()->SetCaption(caption);
    c->SetOptions(c->Options() | options);
    Columns()->Add(c);
    return c;
  }

  void Fill(int rows) {
    const int first = RowCount();
    AddRows(rows);
    for (int r = first; r < RowCount(); ++r)
      for (int c = 0; c < Columns()->Count(); ++c) SetCellText(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
  }

  void ShowAt(int width, int height) {
    SetBounds(0, 0, width, height);
    (void)ShowFocused(*this, *this, 1000);
    QApplication::processEvents();
    Repaint();
  }

  TPoint CellCenter(int c, int r) {
    const TRect cell = GetCellRect(c, r);
    return TPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  }
  QPoint At(TPoint p) const { return p.ToQt() + ClientOrigin().ToQt(); }
  void Click(TPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(this, Qt::LeftButton, mods, At(p));
  }
  void Press(TPoint p) { QTest::mousePress(this, Qt::LeftButton, Qt::NoModifier, At(p)); }
  void Release(TPoint p) { QTest::mouseRelease(this, Qt::LeftButton, Qt::NoModifier, At(p)); }
  // Sent straight to the grid: on a real display a moved cursor reports
  // back only later.
  void MoveTo(TPoint p) {
    QMouseEvent move(QEvent::MouseMove, At(p), mapToGlobal(At(p)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(this, &move);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QTest::keyClick(target, key, mods);
  }
  void Type(const QString& text) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QTest::keyClicks(target, text);
  }
  TColor Pixel(int x, int y) const { return FromQColor(QColor::fromRgb(Image().pixel(x, y))); }

  void PaintCell(int ACol, int ARow) override {
    ++paintedCells;
    TGridView::PaintCell(ACol, ARow);
  }
  int PaintInvalid() {
    paintedCells = 0;
    Update();
    return paintedCells;
  }
};
