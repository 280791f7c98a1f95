#pragma once
// The grid's in-place editors: the editor base the grid drives, a text
// editor whose text sits in a computed formatting rectangle, a text editor
// with a small button and a popup, and the small buttons and spin buttons
// the editors carry.
//
// Map: TCellEditor (contract, border, change notices) · TTextualEditor
// (formatting rectangle, keys, preview box) · TCustomButtonCellEditor (button
// and popup made once the editor is whole, CloseUp) · TSmallButton and its
// two looks · TSpinButtons (press, delay, repeat).

#include <QImage>
#include <memory>

#include "grid/PopupView.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Timers.h"

// Cursor shown where a click selects the whole text.
constexpr int crReversedArrow = 100;

enum TDropDownStyle : uint8_t { dsDropDown, dsDropDownList };

// Edited text stays wide: a name typed in any script reaches the grid whole.
using TEditEvent = std::function<void(TObject* Sender, const QString& Value)>;
using TCustomPreviewDrawEvent = std::function<void(TObject* Sender, const TRect& PreviewRect)>;
using TSpinEvent = std::function<void(TObject* Sender, int Part)>;

// Makes the editor classes known to the columns that name them.
void RegisterCellEditors();

class TCellEditor : public TWinControl {
  Q_OBJECT
 public:
  explicit TCellEditor(QWidget* AParent = nullptr);
  TCellEditor(TComponentBase* AOwner, QWidget* AParent);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);

  // Typed access; a class without a kind of value raises the abstract-call
  // error.
  virtual bool GetAsBoolean();
  virtual double GetAsFloat();
  virtual TDateTime GetAsDate();
  virtual QString GetAsText();
  virtual void SetAsBoolean(bool b);
  virtual void SetAsDate(TDateTime d);
  virtual void SetAsFloat(double x);
  virtual void SetAsText(const QString& s);
  // Called once the editor is placed, shown and focused.
  virtual void StartEdit() {}
  virtual void Clear() {}
  virtual void SelectAll() {}

  // The editor's drawing canvas; also gives the text metrics.
  TCanvas* Canvas() { return &canvas_; }

  TNotifyEvent OnChange;
  TEditEvent OnEdit;

 protected:
  // Drawn over the editor after every paint of its window, in client
  // coordinates.
  virtual void PaintEditor() {}
  virtual void DoChange();
  virtual void DoEdit(const QString& Value);

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void WMNCPaint(TCanvas& WindowCanvas) override;
  void EditWindowPainted(QPainter& p) override;
  void PaintClientArea(QPainter& p) override;
  void FontChanged() override;
  // Repaints r of the client area, window and edit window alike.
  void InvalidateClientRect(const TRect& r);

 private:
  // Draws PaintEditor's picture into the overlay and then onto p.
  void PaintOverlay(QPainter& p);
  void RepaintEditor();

  TAlignment alignment_ = taLeftJustify;
  TBorderStyle borderStyle_ = bsSingle;
  int margin_ = 0;
  TVerticalAlignment verticalAlignment_ = vaMiddle;
  QImage overlay_;
  TCanvas canvas_;
};

class TTextualEditor : public TCellEditor {
  Q_OBJECT
 public:
  explicit TTextualEditor(QWidget* AParent = nullptr);
  TTextualEditor(TComponentBase* AOwner, QWidget* AParent);

  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool ShowPreview() const { return showPreview_; }
  void SetShowPreview(bool v);
  TDropDownStyle Style() const { return style_; }

  QString GetAsText() override;
  void SetAsText(const QString& s) override;
  void StartEdit() override;
  void Clear() override;
  void SelectAll() override;

  // The formatting rectangle in client coordinates.
  virtual void GetEditRect(TRect& R);
  int TextHeight();
  int SelStart();
  int SelLength();
  void SetCaret(int Position);

  TCustomPreviewDrawEvent OnCustomPreviewDraw;

 protected:
  virtual void PaintPreview(const TRect& R);
  virtual void DoCustomPreviewDraw(const TRect& R);
  void ApplyEditRect();
  // The cursor the editor shows away from its left edge.
  void SetOwnCursor(TCursor c);

  TDropDownStyle style_ = dsDropDown;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Resize() override;
  void FontChanged() override;
  void DoEnter() override;
  void KeyPress(QChar& Key) override;
  void TextChanged() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void PaintEditor() override;

 private:
  bool autoSelect_ = false;
  bool readOnly_ = false;
  bool showPreview_ = false;
  TCursor ownCursor_ = crDefault;
};

class TCustomButtonCellEditor;

// The button at an editor's right edge: pressed on mouse down, released on
// the following mouse up wherever the pointer went.
class TSmallButton : public TCustomControl {
  Q_OBJECT
 public:
  explicit TSmallButton(QWidget* AParent = nullptr);

  bool Down() const { return down_; }
  void SetDown(bool b);
  bool Hot() const { return hot_; }
  void SetHot(bool b);
  TCustomButtonCellEditor* Editor() const { return editor_; }
  void SetEditor(TCustomButtonCellEditor* e) { editor_ = e; }

  TNotifyEvent OnPress;
  TNotifyEvent OnRelease;

 protected:
  // 3 down, 2 hot, 1 normal: the themed state of the button.
  int StateNumber() const { return down_ ? 3 : hot_ ? 2 : 1; }
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  bool down_ = false;
  bool hot_ = false;
  TCustomButtonCellEditor* editor_ = nullptr;
};

class TExecuteButton : public TSmallButton {
  Q_OBJECT
 public:
  explicit TExecuteButton(QWidget* AParent = nullptr);
  TBitmap* Glyph() { return &glyph_; }

 protected:
  void Paint() override;

 private:
  TBitmap glyph_;
};

class TDropDownButton : public TSmallButton {
  Q_OBJECT
 public:
  explicit TDropDownButton(QWidget* AParent = nullptr);

 protected:
  void Paint() override;
};

// A class reference: makes an instance of a class chosen by an overridable
// operation.
template <class Base>
using TClassOf = std::unique_ptr<Base> (*)();
template <class Base, class T>
std::unique_ptr<Base> NewInstance() {
  return std::make_unique<T>();
}

class TCustomButtonCellEditor : public TTextualEditor {
  Q_OBJECT
 public:
  explicit TCustomButtonCellEditor(QWidget* AParent = nullptr);
  TCustomButtonCellEditor(TComponentBase* AOwner, QWidget* AParent);
  ~TCustomButtonCellEditor() override;

  void SetStyle(TDropDownStyle v);
  // Made on first need, once the editor is whole, from GetButtonClass and
  // GetPopupClass.
  TSmallButton* Button();
  TPopupView* Popup();

  void GetEditRect(TRect& R) override;
  void StartEdit() override;
  // The popup's value: the editor's text, one more edit notice, the button up.
  virtual void CloseUp(const QString& Value);

  TNotifyEvent OnButtonClick;

 protected:
  virtual TClassOf<TSmallButton> GetButtonClass() { return &NewInstance<TSmallButton, TExecuteButton>; }
  virtual TClassOf<TPopupView> GetPopupClass() { return &NewInstance<TPopupView, TPopupView>; }
  // Fills and sizes the popup before it opens.
  virtual void PrepareDropDown() {}
  virtual void ButtonClick();
  virtual void DropDown() {}

  void CreateWnd() override;
  void Resize() override;
  void WndProc(TMessage& Message) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  struct TParts {
    std::unique_ptr<TSmallButton> Button;
    std::unique_ptr<TPopupView> Popup;
  };
  std::unique_ptr<TParts> MakeParts();
  void PlaceButton();

  TMadeOnFirstNeed<TParts> parts_;
};

// An up and a down half: a press steps at once, then, held, every 20 ms
// from the 400 ms mark until the release.
class TSpinButtons : public TCustomControl {
  Q_OBJECT
 public:
  explicit TSpinButtons(QWidget* AParent = nullptr);

  TTimer* DelayTimer() const { return delayTimer_.get(); }
  TTimer* RepeatTimer() const { return repeatTimer_.get(); }
  int HotPart() const { return hotPart_; }
  void SetHotPart(int p);
  int DownPart() const { return downPart_; }
  void SetDownPart(int p);
  // Ends a press without a release: the mouse was taken away, the editor
  // lost the focus or was hidden.
  void CancelSpin();

  TRect UpperHalf() const { return TRect(0, -1, ClientWidth(), ClientHeight() / 2); }
  TRect LowerHalf() const { return TRect(0, ClientHeight() / 2, ClientWidth(), ClientHeight()); }

  TSpinEvent OnSpin;

 protected:
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void Paint() override;
  void hideEvent(QHideEvent* event) override;

 private:
  int PartAt(int Y) const { return Y < Height() / 2 ? 1 : 2; }
  void DoSpin();
  void DelayTick();
  void RepeatTick();

  std::unique_ptr<TTimer> delayTimer_;
  int hotPart_ = 0;
  int downPart_ = 0;
  std::unique_ptr<TTimer> repeatTimer_;
};
