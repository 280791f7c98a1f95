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
// The spin buttons' parts, numbered as HotPart, DownPart and OnSpin give them.
enum TSpinPart : int { spNone = 0, spUpper = 1, spLower = 2, spBoth = 3 };
// The themed state number of a small button or a spin part.
enum TButtonState : int { bstNormal = 1, bstHot = 2, bstDown = 3 };

using TSpinEvent = std::function<void(TObject* Sender, TSpinPart Part)>;

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
  // Raises EConvertError when the value may not be accepted; the grid asks
  // before the value goes anywhere.
  virtual void CheckValue() {}
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
  TButtonState StateNumber() const { return down_ ? bstDown : hot_ ? bstHot : bstNormal; }
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
  TSpinPart HotPart() const { return hotPart_; }
  void SetHotPart(TSpinPart p);
  TSpinPart DownPart() const { return downPart_; }
  void SetDownPart(TSpinPart p);
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
  TSpinPart PartAt(int Y) const { return Y < Height() / 2 ? spUpper : spLower; }
  void DoSpin();
  void DelayTick();
  void RepeatTick();

  std::unique_ptr<TTimer> delayTimer_;
  TSpinPart hotPart_ = spNone;
  TSpinPart downPart_ = spNone;
  std::unique_ptr<TTimer> repeatTimer_;
};

// ---- the specialised editors ----------------------------------------------------
//
// Map: TPopupEditor (drop-down button, opening the popup under the editor) ·
// TComboBoxEditor (items, images, stepping the index) · TDatePickerEditor
// (calendar, dates as short date texts) · TNumericEditor (character filter,
// paste, showing and reading the value) · TSpinEditor (spin buttons, keys,
// wheel) · TCanvasCellEditor and TCheckBoxEditor (a painted box).

class TPopupEditor : public TCustomButtonCellEditor {
  Q_OBJECT
 public:
  explicit TPopupEditor(QWidget* AParent = nullptr) : TCustomButtonCellEditor(nullptr, AParent) {}
  TPopupEditor(TComponentBase* AOwner, QWidget* AParent) : TCustomButtonCellEditor(AOwner, AParent) {}

 protected:
  TClassOf<TSmallButton> GetButtonClass() override { return &NewInstance<TSmallButton, TDropDownButton>; }
  // Opens the popup just below the editor's bottom-left corner.
  void DropDown() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

class TComboBoxEditor : public TPopupEditor {
  Q_OBJECT
 public:
  explicit TComboBoxEditor(QWidget* AParent = nullptr) : TPopupEditor(nullptr, AParent) {}
  TComboBoxEditor(TComponentBase* AOwner, QWidget* AParent) : TPopupEditor(AOwner, AParent) {}

  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v; }
  TImageList* Images() const { return images_; }
  // The text moves right of the image when images are shown.
  void SetImages(TImageList* v);
  // Clamped to the items; the text becomes the item's. Nothing without items.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  const QStringList& Items() const { return items_; }
  void SetItems(const QStringList& v) { items_ = v; }
  bool ShowImages() const { return showImages_; }
  void SetShowImages(bool v);

  // An item's text also makes it the current item, so the image and the
  // Up/Down steps start from the cell's own item; any other text leaves no
  // item current (-1).
  void SetAsText(const QString& s) override;
  void GetEditRect(TRect& R) override;
  void CloseUp(const QString& Value) override;

 protected:
  TClassOf<TPopupView> GetPopupClass() override { return &NewInstance<TPopupView, TPopupList>; }
  void PrepareDropDown() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void PaintEditor() override;

 private:
  bool ImagesShown() const { return showImages_ && images_; }

  int dropDownCount_ = 8;
  TImageList* images_ = nullptr;
  int itemIndex_ = 0;
  int itemHeight_ = 16;
  QStringList items_;
  bool showImages_ = true;
};

class TDatePickerEditor : public TPopupEditor {
  Q_OBJECT
 public:
  explicit TDatePickerEditor(QWidget* AParent = nullptr) : TPopupEditor(nullptr, AParent) {}
  TDatePickerEditor(TComponentBase* AOwner, QWidget* AParent) : TPopupEditor(AOwner, AParent) {}

  TDateTime Date() { return GetAsDate(); }
  void SetDate(TDateTime d) { SetAsDate(d); }

  // Today for an empty text or "0" (the calendar's "None").
  TDateTime GetAsDate() override;
  void SetAsDate(TDateTime d) override;

 protected:
  TClassOf<TPopupView> GetPopupClass() override { return &NewInstance<TPopupView, TDatePopup>; }
  void PrepareDropDown() override;
};

namespace CellEditorTypes {
Q_NAMESPACE
enum TEditOption : uint8_t { eoAllowAll = 1 << 0, eoAllowFloat = 1 << 1, eoAllowSigns = 1 << 2 };
Q_DECLARE_FLAGS(TEditOptions, TEditOption)
Q_FLAG_NS(TEditOptions)
}  // namespace CellEditorTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(CellEditorTypes::TEditOptions)
using CellEditorTypes::TEditOptions;
using enum CellEditorTypes::TEditOption;

// Keeps digits, "+", "-" and the decimal separator; separators only when
// Decimals (the first one), a sign only when Sign and it comes first.
QString FilterNumericText(const QString& Text, bool Decimals, bool Sign);

class TNumericEditor : public TTextualEditor {
  Q_OBJECT
 public:
  explicit TNumericEditor(QWidget* AParent = nullptr) : TNumericEditor(nullptr, AParent) {}
  TNumericEditor(TComponentBase* AOwner, QWidget* AParent) : TTextualEditor(AOwner, AParent) {}

  double Max() const { return max_; }
  void SetMax(double v) { max_ = v; }
  double Min() const { return min_; }
  void SetMin(double v) { min_ = v; }
  const QString& NullText() const { return nullText_; }
  void SetNullText(const QString& v);
  TEditOptions Options() const { return options_; }
  void SetOptions(TEditOptions v) { options_ = v; }
  int Precision() const { return precision_; }
  void SetPrecision(int v);
  const QString& TextAfter() const { return textAfter_; }
  void SetTextAfter(const QString& v);
  // The text read as a number: without TextAfter, NullText and whatever
  // the filter drops; 0 when no digit is left.
  double Value();
  void SetValue(double v) { ShowValue(v); }

  double GetAsFloat() override { return Value(); }
  void SetAsFloat(double x) override { SetValue(x); }
  // A typed value outside Min and Max is refused like one that does not
  // convert. The range holds once Min or Max is set: Min always, Max when
  // above 0, as the steps obey them.
  void CheckValue() override;
  bool InRange(double v) const;
  // Copies the settings, then the value, of another numeric editor.
  void Assign(TObject* Source);

 protected:
  void ShowValue(double v);
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void WndProc(TMessage& Message) override;
  void WMKillFocus() override;

 private:
  bool KeepsTypedCharacter(QChar c);
  void PasteFiltered();

  double max_ = 0;
  double min_ = 0;
  QString nullText_;
  TEditOptions options_ = eoAllowFloat | eoAllowSigns;
  int precision_ = 2;
  QString textAfter_;
  // The keypad's decimal key types whatever its layout gives; it stands for the separator.
  bool decimalKeyDown_ = false;
};

class TSpinEditor : public TNumericEditor {
  Q_OBJECT
 public:
  explicit TSpinEditor(QWidget* AParent = nullptr) : TSpinEditor(nullptr, AParent) {}
  TSpinEditor(TComponentBase* AOwner, QWidget* AParent);
  ~TSpinEditor() override;

  double Increment() const { return increment_; }
  void SetIncrement(double v) { increment_ = v; }
  TSpinButtons* SpinButtons() const { return spin_.get(); }

  void GetEditRect(TRect& R) override;
  void StartEdit() override;
  // One step: 1 up, 2 down. Max 0 or less means no upper limit; Min always holds.
  void Spin(TSpinPart Part);

 protected:
  void CreateWnd() override;
  void Resize() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void PlaceSpinButtons();

  double increment_ = 1.0;
  std::unique_ptr<TSpinButtons> spin_;
};

// An editor without an edit window: all of its content comes from
// PaintEditor, drawn on the editor's canvas after every paint.
class TCanvasCellEditor : public TCellEditor {
  Q_OBJECT
 public:
  explicit TCanvasCellEditor(QWidget* AParent = nullptr) : TCellEditor(nullptr, AParent) {}
  TCanvasCellEditor(TComponentBase* AOwner, QWidget* AParent) : TCellEditor(AOwner, AParent) {}
};

class TCheckBoxEditor : public TCanvasCellEditor {
  Q_OBJECT
 public:
  explicit TCheckBoxEditor(QWidget* AParent = nullptr) : TCheckBoxEditor(nullptr, AParent) {}
  TCheckBoxEditor(TComponentBase* AOwner, QWidget* AParent);

  bool Checked() const { return checked_; }
  // Notifies change and edit, and repaints the box.
  void SetChecked(bool b);
  // Shown pressed from the next paint.
  bool Grayed() const { return grayed_; }
  void SetGrayed(bool v) { grayed_ = v; }
  bool Pressed() const { return pressed_; }
  bool Hot() const { return hot_; }
  // Where the box lies in the client area.
  TRect BoxRect();

  bool GetAsBoolean() override { return checked_; }
  void SetAsBoolean(bool b) override { SetChecked(b); }
  QString GetAsText() override;
  // Checks for "true" in any letter case, clears for anything else.
  void SetAsText(const QString& s) override;
  void StartEdit() override;
  void Clear() override { SetChecked(false); }

 protected:
  void PaintEditor() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseLeave() override;
  void WndProc(TMessage& Message) override;

 private:
  void SetPressed(bool v);
  void SetHot(bool v);

  bool checked_ = false;
  bool grayed_ = false;
  bool pressed_ = false;
  bool hot_ = false;
};
