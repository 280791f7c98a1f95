#include "platform/StdCtrls.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Application.h"

// ---- TClickTracker ---------------------------------------------------------

void TClickTracker::Press(const QMouseEvent& event) {
  if (event.button() == Qt::LeftButton) pressed_ = true;
}

bool TClickTracker::Release(const QMouseEvent& event, const QRect& area) {
  if (event.button() != Qt::LeftButton || !pressed_) return false;
  pressed_ = false;
  return area.contains(event.position().toPoint());
}

// ---- TClickLabel -----------------------------------------------------------

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent) {}

void TClickLabel::mousePressEvent(QMouseEvent* event) {
  click_.Press(*event);
  // Taken here, so that the window under the label does not see a click too.
  event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (click_.Release(*event, rect())) Dispatch(this, [this] { DoClick(); });
}

void TClickLabel::DoClick() {
  if (OnClick) OnClick(this);
}

// ---- TEdit -----------------------------------------------------------------

TEdit::TEdit(QWidget* parent, const QString& text) : QLineEdit(text, parent) {}

void TEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  click_.Press(*event);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (click_.Release(*event, rect()) && OnClick) Dispatch(this, [this] { OnClick(this); });
}

// ---- TButton ---------------------------------------------------------------

TButton::TButton(QWidget* parent, const QString& caption) : QPushButton(caption, parent) {
  setAutoDefault(true);
  QObject::connect(this, &QPushButton::clicked, this, [this] {
    if (OnClick) Dispatch(this, [this] { OnClick(this); });
  });
}

void TButton::SetDefault(bool value) {
  default_ = value;
  setDefault(value);
}

void TButton::focusOutEvent(QFocusEvent* event) {
  QPushButton::focusOutEvent(event);
  // Outside a dialog Qt clears an auto-default button's mark when its focus
  // goes; the window's default button keeps it.
  if (default_) setDefault(true);
}

TBitBtn::TBitBtn(QWidget* parent, const QString& caption, TBitBtnKind kind) : TButton(parent, caption), kind_(kind) {
  if (kind == bkOK) {
    setIcon(OkGlyph());
    setIconSize(QSize(18, 18));
  }
}

QIcon OkGlyph() {
  QImage image(18, 18, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(3, 9), QPointF(7, 14), QPointF(15, 4)}));
  return QIcon(QPixmap::fromImage(image));
}
