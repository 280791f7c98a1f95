#pragma once
// Standard controls with the platform's click events: labels and pictures,
// edit fields, buttons and OK-style buttons with their glyph. Every click
// handler runs inside the exception boundary.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Classes.h"

class QMouseEvent;

// A click: the left button pressed on a control and released over it.
class TClickTracker {
 public:
  void Press(const QMouseEvent& event);
  // True when this release completes a click inside `area`.
  bool Release(const QMouseEvent& event, const QRect& area);

 private:
  bool pressed_ = false;
};

// A label or picture that reports clicks.
class TClickLabel : public QLabel, public TObject {
 public:
  explicit TClickLabel(QWidget* parent);

  TNotifyEvent OnClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void DoClick();
  TClickTracker click_;
};

// An edit field that reports clicks.
class TEdit : public QLineEdit, public TObject {
 public:
  explicit TEdit(QWidget* parent, const QString& text = QString());

  TNotifyEvent OnClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TClickTracker click_;
};

// A push button. Enter on the focused button presses it, as on the desktop.
class TButton : public QPushButton, public TObject {
 public:
  TButton(QWidget* parent, const QString& caption);

  // The window's default button: framed and announced as the default
  // (isDefault()) wherever the focus is. The window decides what Enter in
  // its other controls does.
  bool Default() const { return default_; }
  void SetDefault(bool value);

  TNotifyEvent OnClick;

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool default_ = false;
};

enum TBitBtnKind { bkCustom, bkOK };

// A button with a glyph; bkOK shows the green check mark.
class TBitBtn : public TButton {
 public:
  TBitBtn(QWidget* parent, const QString& caption, TBitBtnKind kind);
  TBitBtnKind Kind() const { return kind_; }

 private:
  TBitBtnKind kind_;
};

// The OK glyph: a green check mark, 18 pixels square.
QIcon OkGlyph();
