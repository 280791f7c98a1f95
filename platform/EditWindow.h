#pragma once
// The platform's edit control: the window of a windowed control whose
// creation parameters name the edit class (wcEdit). It keeps the text, the
// caret, the selection, the clipboard and the scrolling of one line. The
// control's handlers see every key and character first (WM_KEYDOWN,
// WM_CHAR); the edit does only what they leave, and takes the edit
// messages (EM_*, WM_COPY, WM_CUT, WM_PASTE) through the control's window
// procedure, so a control can replace any of them.

#include <QLineEdit>

#include "platform/Messages.h"
#include "platform/Types.h"

class TWinControl;
using Word = uint16_t;

class TEditWindow : public QLineEdit {
 public:
  TEditWindow(TWinControl* host, uint32_t style);

  // Alignment and read-only from the ES_* styles.
  void ApplyStyle(uint32_t style);
  // Answers the edit messages; false for any other.
  bool Handle(TMessage& Message);
  // What the edit does with a key its control's handlers left.
  void DefaultKeyDown(Word key, TShiftState shift);
  // What the edit does with a character: 1 select all, 3 copy, 8 backspace,
  // 22 paste, 24 cut, 26 undo; tab and printable characters are typed.
  void DefaultChar(QChar c);
  // Sets the text without the change notice; the control gives its own.
  void SetTextQuietly(const QString& text);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Clipboard(uint32_t message);
  void ToHost(const QMouseEvent& event, void (TWinControl::*handler)(QMouseEvent*));
  void SetFormattingRect(const TRect& r);

  TWinControl* host_;
  uint32_t style_ = 0;
  bool quiet_ = false;
  bool hasFormattingRect_ = false;  // the text sits at its rectangle's top
};
