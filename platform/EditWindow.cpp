#include "platform/EditWindow.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include "platform/Application.h"
#include "platform/Controls.h"

namespace {

// The Qt keys of the virtual keys the edit acts on by itself.
int EditKey(Word key) {
  switch (key) {
    case VK_LEFT:
      return Qt::Key_Left;
    case VK_RIGHT:
      return Qt::Key_Right;
    case VK_UP:
      return Qt::Key_Up;
    case VK_DOWN:
      return Qt::Key_Down;
    case VK_HOME:
      return Qt::Key_Home;
    case VK_END:
      return Qt::Key_End;
    case VK_DELETE:
      return Qt::Key_Delete;
    default:
      return 0;
  }
}

Qt::KeyboardModifiers ModifiersOf(TShiftState shift) {
  Qt::KeyboardModifiers m;
  if (shift & ssShift) m |= Qt::ShiftModifier;
  if (shift & ssCtrl) m |= Qt::ControlModifier;
  if (shift & ssAlt) m |= Qt::AltModifier;
  return m;
}

}  // namespace

TEditWindow::TEditWindow(TWinControl* host, uint32_t style) : QLineEdit(host), host_(host) {
  setFrame(false);
  setAcceptDrops(false);
  // Every change goes through the control's handlers and messages.
  setContextMenuPolicy(Qt::NoContextMenu);
  ApplyStyle(style);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (!quiet_) Dispatch(host_, [this] { host_->TextChanged(); });
  });
}

void TEditWindow::ApplyStyle(uint32_t style) {
  style_ = style;
  const Qt::Alignment horizontal = (style & ES_RIGHT)    ? Qt::AlignRight
                                   : (style & ES_CENTER) ? Qt::AlignHCenter
                                                         : Qt::AlignLeft;
  setAlignment(horizontal | (hasFormattingRect_ ? Qt::AlignTop : Qt::AlignVCenter));
  setReadOnly(style & ES_READONLY);
}

void TEditWindow::SetTextQuietly(const QString& text) {
  const QScopedValueRollback<bool> quiet(quiet_, true);
  setText(text);
}

bool TEditWindow::Handle(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result =
          DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | ((style_ & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
      return true;
    case WM_COPY:
      copy();
      return true;
    case WM_CUT:
      if (!hasSelectedText()) return true;
      copy();
      if (!isReadOnly()) del();
      return true;
    case WM_PASTE:
      if (!isReadOnly()) paste();
      return true;
    case EM_GETSEL: {
      const int start = hasSelectedText() ? selectionStart() : cursorPosition();
      Message.Result = LRESULT(MakeLong(uint16_t(start), uint16_t(start + selectedText().size())));
      return true;
    }
    case EM_SETSEL: {
      // -1 as start takes the selection away; -1 as end means the end.
      const int start = int(intptr_t(Message.WParam)), end = int(Message.LParam);
      const int length = int(text().size());
      if (start < 0) {
        deselect();
      } else {
        const int from = std::min(start, length);
        setSelection(from, (end < 0 ? length : std::min(end, length)) - from);
      }
      return true;
    }
    case EM_SETREADONLY:
      setReadOnly(Message.WParam != 0);
      Message.Result = 1;
      return true;
    case EM_SETRECTNP:
      SetFormattingRect(*reinterpret_cast<const TRect*>(Message.LParam));
      return true;
    default:
      return false;
  }
}

// The line edit keeps a margin of its own inside its text margins (2 pixels
// across, 1 down); the margins leave those out so that the text's line box
// starts exactly at the rectangle's corner.
void TEditWindow::SetFormattingRect(const TRect& r) {
  constexpr int kLineEditMarginX = 2, kLineEditMarginY = 1;
  hasFormattingRect_ = true;
  ApplyStyle(style_);
  setTextMargins(r.Left - kLineEditMarginX, r.Top - kLineEditMarginY, width() - r.Right - kLineEditMarginX,
                 height() - r.Bottom);
}

void TEditWindow::DefaultKeyDown(Word key, TShiftState shift) {
  // The clipboard keys go through the control's messages like their characters.
  if (key == VK_INSERT && (shift & ssShift)) {
    Clipboard(WM_PASTE);
  } else if (key == VK_INSERT && (shift & ssCtrl)) {
    Clipboard(WM_COPY);
  } else if (key == VK_DELETE && (shift & ssShift)) {
    Clipboard(WM_CUT);
  } else if (const int qtKey = EditKey(key)) {
    QKeyEvent press(QEvent::KeyPress, qtKey, ModifiersOf(shift));
    QLineEdit::keyPressEvent(&press);
  }
}

void TEditWindow::DefaultChar(QChar c) {
  switch (c.unicode()) {
    case 1:
      selectAll();
      return;
    case 3:
      Clipboard(WM_COPY);
      return;
    case 8:
      if (!isReadOnly()) backspace();
      return;
    case 22:
      Clipboard(WM_PASTE);
      return;
    case 24:
      Clipboard(WM_CUT);
      return;
    case 26:
      if (!isReadOnly()) undo();
      return;
    default:
      break;
  }
  if ((c.isPrint() || c == u'\t') && !isReadOnly()) insert(QString(c));
}

// A read-only text is only copied; the control may replace each message.
void TEditWindow::Clipboard(uint32_t message) {
  if (message == WM_COPY || !isReadOnly()) host_->Perform(message);
}

// ---- input, handed to the control ------------------------------------------

bool TEditWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
      // The control's own rules: its dialog code, Tab before focus moves.
      return host_->TakeKeyEvent(event) || QWidget::event(event);
    default:
      return QLineEdit::event(event);
  }
}

// The control draws over the text, as it would over the edit control's own
// painting.
void TEditWindow::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter p(this);
  Dispatch(host_, [&] { host_->EditWindowPainted(p); });
}

void TEditWindow::keyPressEvent(QKeyEvent* event) { host_->keyPressEvent(event); }

void TEditWindow::keyReleaseEvent(QKeyEvent* event) { host_->keyReleaseEvent(event); }

void TEditWindow::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  host_->focusInEvent(event);
}

void TEditWindow::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  host_->focusOutEvent(event);
}

// The control hears of the mouse in its own widget's coordinates.
void TEditWindow::ToHost(const QMouseEvent& event, void (TWinControl::*handler)(QMouseEvent*)) {
  QMouseEvent mapped(event.type(), mapTo(host_, event.position()), event.scenePosition(), event.globalPosition(),
                     event.button(), event.buttons(), event.modifiers(), event.pointingDevice());
  (host_->*handler)(&mapped);
}

// The edit places the caret first, then the control hears of the press.
void TEditWindow::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  ToHost(*event, &TWinControl::mousePressEvent);
}

void TEditWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  ToHost(*event, &TWinControl::mouseDoubleClickEvent);
}

void TEditWindow::mouseMoveEvent(QMouseEvent* event) {
  QLineEdit::mouseMoveEvent(event);
  ToHost(*event, &TWinControl::mouseMoveEvent);
}

void TEditWindow::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  ToHost(*event, &TWinControl::mouseReleaseEvent);
}

void TEditWindow::wheelEvent(QWheelEvent* event) { host_->wheelEvent(event); }
