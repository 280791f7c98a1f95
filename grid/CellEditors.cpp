#include "grid/CellEditors.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "grid/Columns.h"
#include "grid/Providers.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/FormatFloat.h"
#include "platform/SysUtils.h"
#include "platform/Themes.h"

// ---- TCellEditor ----------------------------------------------------------------

TCellEditor::TCellEditor(QWidget* AParent) : TCellEditor(nullptr, AParent) {}

TCellEditor::TCellEditor(TComponentBase* AOwner, QWidget* AParent) : TWinControl(AOwner, AParent) {
  SetBounds(Left(), Top(), 121, 20);
  SetTabStop(true);
  SetColor(clWindow);
  SetBorderWidth(1);
  canvas_.Font()->Assign(Font());
  Screen->SetCursors(crReversedArrow, TScreen::LoadCursorResource(QStringLiteral("REVERSEDARROW")));
}

void TCellEditor::SetAlignment(TAlignment v) {
  alignment_ = v;
  RecreateWnd();
}

void TCellEditor::SetMargin(int v) {
  margin_ = v;
  RecreateWnd();
}

void TCellEditor::SetVerticalAlignment(TVerticalAlignment v) {
  verticalAlignment_ = v;
  RecreateWnd();
}

void TCellEditor::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  SetBorderWidth(v == bsSingle ? 1 : 0);
  RepaintEditor();
  InvalidateFrame();
}

bool TCellEditor::GetAsBoolean() { AbstractError(); }
double TCellEditor::GetAsFloat() { AbstractError(); }
TDateTime TCellEditor::GetAsDate() { AbstractError(); }
QString TCellEditor::GetAsText() { AbstractError(); }
void TCellEditor::SetAsBoolean(bool) { AbstractError(); }
void TCellEditor::SetAsDate(TDateTime) { AbstractError(); }
void TCellEditor::SetAsFloat(double) { AbstractError(); }
void TCellEditor::SetAsText(const QString&) { AbstractError(); }

// Values read from a stored form are not edits.
void TCellEditor::DoChange() {
  if (OnChange && !(ComponentState() & csLoading)) OnChange(this);
}

void TCellEditor::DoEdit(const QString& Value) {
  if (OnEdit) OnEdit(this, Value);
}

void TCellEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWinControl::MouseDown(Button, Shift, X, Y);
  SetFocus();
}

void TCellEditor::WMSetFocus() { RepaintEditor(); }

void TCellEditor::WMKillFocus() {
  RepaintEditor();
  // A held spin button must not go on stepping an editor nobody types in.
  for (auto* spin : findChildren<TSpinButtons*>(Qt::FindDirectChildrenOnly)) spin->CancelSpin();
}

void TCellEditor::RepaintEditor() {
  update();
  for (auto* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->update();
}

void TCellEditor::FontChanged() { canvas_.Font()->Assign(Font()); }

void TCellEditor::InvalidateClientRect(const TRect& r) {
  const QRect area = r.ToQt();
  update(area.translated(ClientOrigin().ToQt()));
  for (auto* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->geometry().topLeft() == ClientOrigin().ToQt()) child->update(area);
}

// The single border: the themed edit frame, or a plain grey one.
void TCellEditor::WMNCPaint(TCanvas& WindowCanvas) {
  if (borderStyle_ == bsNone) return;
  const TRect r(0, 0, Width(), Height());
  if (ThemesActive()) {
    WindowCanvas.SetClipRect(r);
    WindowCanvas.ExcludeClipRect(TRect(1, 1, Width() - 1, Height() - 1));
    DrawThemed(this, &WindowCanvas, r, TThemeClass::Edit, 1, 0);
    WindowCanvas.ResetClip();
    return;
  }
  WindowCanvas.Brush()->SetColor(RGB(128, 128, 128));
  WindowCanvas.FrameRect(r);
}

void TCellEditor::PaintClientArea(QPainter& p) {
  TWinControl::PaintClientArea(p);
  p.save();
  p.translate(ClientOrigin().ToQt());
  PaintOverlay(p);
  p.restore();
}

void TCellEditor::EditWindowPainted(QPainter& p) { PaintOverlay(p); }

// PaintEditor draws on a transparent picture of the client area, which then
// goes over whatever the window painted.
void TCellEditor::PaintOverlay(QPainter& p) {
  const QSize size(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
  if (overlay_.size() != size) {
    canvas_.Release();
    overlay_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
  }
  overlay_.fill(Qt::transparent);
  canvas_.SetTarget(&overlay_);
  PaintEditor();
  canvas_.Release();
  p.drawImage(0, 0, overlay_);
}

void RegisterCellEditors() {
  static const bool registered = [] {
    RegisterEditorClass(QStringLiteral("TTextualEditor"), [](TCustomColumn*) { return new TTextualEditor(); });
    RegisterEditorClass(QStringLiteral("TComboBoxEditor"), [](TCustomColumn*) { return new TComboBoxEditor(); });
    RegisterEditorClass(QStringLiteral("TDatePickerEditor"), [](TCustomColumn*) { return new TDatePickerEditor(); });
    RegisterEditorClass(QStringLiteral("TNumericEditor"), [](TCustomColumn*) { return new TNumericEditor(); });
    RegisterEditorClass(QStringLiteral("TSpinEditor"), [](TCustomColumn*) { return new TSpinEditor(); });
    RegisterEditorClass(QStringLiteral("TCheckBoxEditor"), [](TCustomColumn*) { return new TCheckBoxEditor(); });
    return true;
  }();
  (void)registered;
}

// ---- TTextualEditor -------------------------------------------------------------

TTextualEditor::TTextualEditor(QWidget* AParent) : TTextualEditor(nullptr, AParent) {}

TTextualEditor::TTextualEditor(TComponentBase* AOwner, QWidget* AParent) : TCellEditor(AOwner, AParent) {}

void TTextualEditor::CreateParams(TCreateParams& Params) {
  TCellEditor::CreateParams(Params);
  Params.WindowClass = wcEdit;
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
  switch (Alignment()) {
    case taRightJustify:
      Params.Style |= ES_RIGHT;
      break;
    case taCenter:
      Params.Style |= ES_CENTER;
      break;
    default:
      Params.Style |= ES_LEFT;
  }
  if (readOnly_) Params.Style |= ES_READONLY;
}

void TTextualEditor::CreateWnd() {
  TCellEditor::CreateWnd();
  ApplyEditRect();
}

void TTextualEditor::Resize() {
  TCellEditor::Resize();
  ApplyEditRect();
}

// The line height, and so the rectangle, follows the font.
void TTextualEditor::FontChanged() {
  TCellEditor::FontChanged();
  ApplyEditRect();
}

void TTextualEditor::ApplyEditRect() {
  if (!HandleAllocated()) return;
  TRect r;
  GetEditRect(r);
  Perform(EM_SETRECTNP, 0, LPARAM(&r));
}

int TTextualEditor::TextHeight() { return Canvas()->TextHeight(QStringLiteral("Wg")); }

void TTextualEditor::GetEditRect(TRect& R) {
  const int m = Margin(), cw = ClientWidth(), ch = ClientHeight(), th = TextHeight();
  R = TRect(m + 2, 0, cw - m - 1, ch + 1);
  switch (VerticalAlignment()) {
    case vaTop:
      R.Top = m;
      break;
    case vaMiddle:
      R.Top = (ch - 1) / 2 - th / 2;
      break;
    case vaBottom:
      R.Top = ch - m - th;
      break;
  }
  R.Bottom = R.Top + th;
  if (showPreview_) R.Left += 27;
}

void TTextualEditor::SetReadOnly(bool v) {
  readOnly_ = v;
  Perform(EM_SETREADONLY, v);
}

void TTextualEditor::SetShowPreview(bool v) {
  showPreview_ = v;
  Resize();
  update();
}

void TTextualEditor::SetOwnCursor(TCursor c) {
  ownCursor_ = c;
  SetCursor(c);
}

QString TTextualEditor::GetAsText() { return Text(); }

void TTextualEditor::SetAsText(const QString& s) { SetText(s); }

void TTextualEditor::StartEdit() { SetCaret(int(Text().size())); }

void TTextualEditor::Clear() { SetText(QString()); }

void TTextualEditor::SelectAll() { Perform(EM_SETSEL, 0, -1); }

int TTextualEditor::SelStart() { return LoWord(uintptr_t(Perform(EM_GETSEL))); }

int TTextualEditor::SelLength() {
  const auto sel = uintptr_t(Perform(EM_GETSEL));
  return HiWord(sel) - LoWord(sel);
}

void TTextualEditor::SetCaret(int Position) { Perform(EM_SETSEL, WPARAM(Position), Position); }

void TTextualEditor::DoEnter() {
  TCellEditor::DoEnter();
  if (autoSelect_) SelectAll();
}

// The field is one line: Enter is the grid's, never a line break; a list-only
// editor takes no typed characters at all.
void TTextualEditor::KeyPress(QChar& Key) {
  TCellEditor::KeyPress(Key);
  if (Key == QChar(u'\r') || style_ == dsDropDownList) Key = QChar();
}

void TTextualEditor::TextChanged() {
  TCellEditor::TextChanged();
  DoChange();
  DoEdit(Text());
}

void TTextualEditor::MouseMove(TShiftState Shift, int X, int Y) {
  TCellEditor::MouseMove(Shift, X, Y);
  const TCursor wanted = X <= 2 ? TCursor(crReversedArrow) : ownCursor_;
  if (Cursor() != wanted) SetCursor(wanted);
}

void TTextualEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCellEditor::MouseDown(Button, Shift, X, Y);
  if (X <= 2) SelectAll();
}

void TTextualEditor::PaintEditor() {
  if (!showPreview_) return;
  const TRect client = ClientRect();
  const TRect box(client.Left + 1, client.Top + 1, client.Left + 21, client.Bottom - 1);
  Canvas()->Brush()->SetColor(clBlack);
  Canvas()->FrameRect(box);
  PaintPreview(TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
}

void TTextualEditor::PaintPreview(const TRect& R) { DoCustomPreviewDraw(R); }

void TTextualEditor::DoCustomPreviewDraw(const TRect& R) {
  if (OnCustomPreviewDraw) OnCustomPreviewDraw(this, R);
}

// ---- TSmallButton ---------------------------------------------------------------

TSmallButton::TSmallButton(QWidget* AParent) : TCustomControl(AParent) {}

void TSmallButton::SetDown(bool b) {
  down_ = b;
  Invalidate();
}

void TSmallButton::SetHot(bool b) {
  if (b == hot_) return;
  hot_ = b;
  Invalidate();
}

void TSmallButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::WndProc(Message);
}

void TSmallButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  SetDown(true);
  if (OnPress) OnPress(this);
}

void TSmallButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!down_) return;
  SetDown(false);
  if (OnRelease) OnRelease(this);
}

void TSmallButton::MouseEnter() {
  TCustomControl::MouseEnter();
  SetHot(true);
}

void TSmallButton::MouseLeave() {
  TCustomControl::MouseLeave();
  SetHot(false);
}

TExecuteButton::TExecuteButton(QWidget* AParent) : TSmallButton(AParent) { SetBounds(0, 0, 21, 20); }

void TExecuteButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (ThemesActive()) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    DrawThemed(this, canvas, TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1), TThemeClass::Button, 1,
               StateNumber());
  } else if (Down()) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Rectangle(r);
  } else {
    canvas->DrawFrameControl(r, DFC_BUTTON, DFCS_ADJUSTRECT | DFCS_BUTTONPUSH);
  }
  if (!glyph_.Empty())
    TDrawProvider::DrawGraphic(canvas, Width() / 2 - glyph_.Width() / 2, Height() / 2 - glyph_.Height() / 2, glyph_);
}

TDropDownButton::TDropDownButton(QWidget* AParent) : TSmallButton(AParent) { SetBounds(0, 0, 16, 20); }

void TDropDownButton::Paint() {
  TRect r = ClientRect();
  if (ThemesActive())
    DrawThemed(this, Canvas(), r, TThemeClass::ComboBox, 1, StateNumber());
  else
    Canvas()->DrawFrameControl(r, DFC_SCROLL, DFCS_ADJUSTRECT | DFCS_SCROLLCOMBOBOX | (Down() ? DFCS_PUSHED : 0));
}

// ---- TCustomButtonCellEditor ----------------------------------------------------

TCustomButtonCellEditor::TCustomButtonCellEditor(QWidget* AParent) : TCustomButtonCellEditor(nullptr, AParent) {}

TCustomButtonCellEditor::TCustomButtonCellEditor(TComponentBase* AOwner, QWidget* AParent)
    : TTextualEditor(AOwner, AParent), parts_([this] { return MakeParts(); }) {}

// The popup reports to this editor: it goes first.
TCustomButtonCellEditor::~TCustomButtonCellEditor() {
  if (TParts* parts = parts_.IfMade()) {
    parts->Popup.reset();
    parts->Button.reset();
  }
}

std::unique_ptr<TCustomButtonCellEditor::TParts> TCustomButtonCellEditor::MakeParts() {
  auto parts = std::make_unique<TParts>();
  parts->Button = GetButtonClass()();
  parts->Button->SetEditor(this);
  parts->Popup = GetPopupClass()();
  parts->Popup->SetVisible(false);
  TSmallButton* button = parts->Button.get();
  parts->Popup->OnClose = [button](TObject*) { button->SetDown(false); };
  parts->Popup->OnAccept = [this](TObject*, const QString& value) { CloseUp(value); };
  button->SetParent(this);
  button->SetVisible(false);  // placed and shown by the first resize
  button->OnPress = [this](TObject*) { DropDown(); };
  button->OnRelease = [this](TObject*) { ButtonClick(); };
  return parts;
}

TSmallButton* TCustomButtonCellEditor::Button() { return parts_.Get()->Button.get(); }

TPopupView* TCustomButtonCellEditor::Popup() { return parts_.Get()->Popup.get(); }

void TCustomButtonCellEditor::SetStyle(TDropDownStyle v) {
  style_ = v;
  SetReadOnly(v == dsDropDownList);
  SetOwnCursor(v == dsDropDownList ? crArrow : crDefault);
}

void TCustomButtonCellEditor::GetEditRect(TRect& R) {
  TTextualEditor::GetEditRect(R);
  R.Right -= 16;
}

void TCustomButtonCellEditor::StartEdit() {
  TTextualEditor::StartEdit();
  SetOwnCursor(Style() == dsDropDownList ? crArrow : crDefault);
  Button()->Invalidate();
}

void TCustomButtonCellEditor::CreateWnd() {
  TTextualEditor::CreateWnd();
  PlaceButton();
}

void TCustomButtonCellEditor::Resize() {
  TTextualEditor::Resize();
  update();
  PlaceButton();
}

void TCustomButtonCellEditor::PlaceButton() {
  TSmallButton* button = Button();
  button->SetBounds(ClientWidth() - button->Width(), 0, button->Width(), ClientHeight());
  button->SetVisible(true);
  button->raise();  // above the edit window
  button->Invalidate();
}

void TCustomButtonCellEditor::WndProc(TMessage& Message) {
  TTextualEditor::WndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED) {
    update();
    Button()->Invalidate();
  }
}

void TCustomButtonCellEditor::MouseEnter() {
  TTextualEditor::MouseEnter();
  if (!(ComponentState() & csDesigning)) Button()->SetHot(true);
}

void TCustomButtonCellEditor::MouseLeave() {
  TTextualEditor::MouseLeave();
  Button()->SetHot(false);
}

void TCustomButtonCellEditor::ButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
}

void TCustomButtonCellEditor::CloseUp(const QString& Value) {
  SetText(Value);
  DoEdit(Text());
  Button()->SetHot(false);
  Button()->SetDown(false);
  if (Style() == dsDropDownList) {
    TRect r;
    GetEditRect(r);
    InvalidateClientRect(r);
  }
}

// ---- TSpinButtons ---------------------------------------------------------------

TSpinButtons::TSpinButtons(QWidget* AParent) : TCustomControl(AParent) {
  delayTimer_ = std::make_unique<TTimer>();
  delayTimer_->SetEnabled(false);
  delayTimer_->SetInterval(400);
  delayTimer_->SetOnTimer([this](TObject*) { DelayTick(); });
  repeatTimer_ = std::make_unique<TTimer>();
  repeatTimer_->SetEnabled(false);
  repeatTimer_->SetInterval(20);
  repeatTimer_->SetOnTimer([this](TObject*) { RepeatTick(); });
}

void TSpinButtons::SetHotPart(TSpinPart p) {
  hotPart_ = p;
  Invalidate();
}

void TSpinButtons::SetDownPart(TSpinPart p) {
  downPart_ = p;
  if (p != spNone) {
    delayTimer_->SetEnabled(true);
    DoSpin();
  } else {
    delayTimer_->SetEnabled(false);
    repeatTimer_->SetEnabled(false);
  }
  Invalidate();
}

void TSpinButtons::CancelSpin() {
  if (downPart_ == spNone && !delayTimer_->Enabled() && !repeatTimer_->Enabled()) return;
  SetDownPart(spNone);
  SetMouseCapture(false);
}

void TSpinButtons::DoSpin() {
  if (OnSpin) OnSpin(this, downPart_);
}

void TSpinButtons::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_CANCELMODE:
      CancelSpin();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

void TSpinButtons::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  SetMouseCapture(true);
  SetDownPart(PartAt(Y));
}

// A press goes on only while these buttons hold the mouse.
void TSpinButtons::DelayTick() {
  if (!MouseCapture()) {
    CancelSpin();
    return;
  }
  repeatTimer_->SetEnabled(true);
}

void TSpinButtons::RepeatTick() {
  if (!MouseCapture()) {
    CancelSpin();
    return;
  }
  DoSpin();
}

void TSpinButtons::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  SetHotPart(PartAt(Y));
}

void TSpinButtons::MouseLeave() {
  TCustomControl::MouseLeave();
  SetHotPart(spNone);
}

void TSpinButtons::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  SetMouseCapture(false);
  SetDownPart(spNone);
}

void TSpinButtons::hideEvent(QHideEvent* event) {
  TCustomControl::hideEvent(event);
  Dispatch(this, [this] { CancelSpin(); });
}

void TSpinButtons::Paint() {
  const auto state = [this](TSpinPart part) {
    return downPart_ == part ? bstDown : hotPart_ == part ? bstHot : bstNormal;
  };
  TRect upper = UpperHalf(), lower = LowerHalf();
  if (ThemesActive()) {
    DrawThemed(this, Canvas(), upper, TThemeClass::Spin, 1, state(spUpper));
    DrawThemed(this, Canvas(), lower, TThemeClass::Spin, 2, state(spLower));
    return;
  }
  Canvas()->DrawFrameControl(upper, DFC_SCROLL,
                             DFCS_ADJUSTRECT | DFCS_SCROLLUP | (downPart_ == spUpper ? DFCS_PUSHED : 0));
  Canvas()->DrawFrameControl(lower, DFC_SCROLL,
                             DFCS_ADJUSTRECT | DFCS_SCROLLDOWN | (downPart_ == spLower ? DFCS_PUSHED : 0));
}

// ---- TPopupEditor ---------------------------------------------------------------

void TPopupEditor::DropDown() {
  const TPoint p = ClientToScreen(TPoint(-1, ClientHeight()));
  TPopupView* popup = Popup();
  popup->Font()->Assign(Font());
  popup->SetBounds(popup->Left(), popup->Top(), Width(), popup->Height());
  popup->SetText(Text());
  PrepareDropDown();
  popup->Popup(p.X, p.Y);
}

// A list-only editor opens on a click anywhere on it.
void TPopupEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomButtonCellEditor::MouseDown(Button, Shift, X, Y);
  if (Style() != dsDropDownList) return;
  DropDown();
  TCustomButtonCellEditor::Button()->SetDown(true);
}

// ---- TComboBoxEditor ------------------------------------------------------------

void TComboBoxEditor::SetItemIndex(int v) {
  if (items_.isEmpty()) return;
  itemIndex_ = std::clamp(v, 0, int(items_.size()) - 1);
  SetText(items_.at(itemIndex_));
}

void TComboBoxEditor::SetAsText(const QString& s) {
  TPopupEditor::SetAsText(s);
  itemIndex_ = int(items_.indexOf(s));
  if (ImagesShown()) update();
}

void TComboBoxEditor::SetImages(TImageList* v) {
  images_ = v;
  ApplyEditRect();
}

void TComboBoxEditor::SetShowImages(bool v) {
  showImages_ = v;
  ApplyEditRect();
}

void TComboBoxEditor::GetEditRect(TRect& R) {
  TPopupEditor::GetEditRect(R);
  if (ImagesShown()) R.Left += images_->Width() + 2;
}

// The list shows whole items only, at most DropDownCount of them.
void TComboBoxEditor::PrepareDropDown() {
  auto* list = static_cast<TPopupList*>(Popup());
  list->SetItems(&items_);
  list->SetImages(images_);
  list->SetItemHeight(itemHeight_);
  list->SetShowImages(showImages_);
  const int rows = std::max(0, std::min(dropDownCount_, int(items_.size())));
  const int frame = list->Height() - list->ClientHeight();
  list->SetBounds(list->Left(), list->Top(), Width(), rows * list->ItemHeight() + frame);
}

void TComboBoxEditor::CloseUp(const QString& Value) {
  TPopupEditor::CloseUp(Value);
  const int chosen = static_cast<TPopupList*>(Popup())->ItemIndex();
  if (chosen >= 0) itemIndex_ = chosen;
  if (ImagesShown()) update();
}

// Up and down step through the items and go no further.
void TComboBoxEditor::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP || Key == VK_DOWN) {
    SetItemIndex(itemIndex_ + (Key == VK_DOWN ? 1 : -1));
    Key = 0;
    return;
  }
  TPopupEditor::KeyDown(Key, Shift);
}

bool TComboBoxEditor::MouseWheel(TShiftState, int WheelDelta, TPoint) {
  if (WheelDelta != 0) SetItemIndex(itemIndex_ + (WheelDelta < 0 ? 1 : -1));
  return true;
}

void TComboBoxEditor::PaintEditor() {
  TPopupEditor::PaintEditor();
  if (!ImagesShown() || itemIndex_ < 0 || itemIndex_ >= images_->Count()) return;
  const QImage image = images_->Image(itemIndex_);
  int y = 0;
  switch (VerticalAlignment()) {
    case vaTop:
      break;
    case vaMiddle:
      y = ClientHeight() / 2 - image.height() / 2;
      break;
    case vaBottom:
      y = ClientHeight() - image.height();
      break;
  }
  TDrawProvider::DrawGraphic(Canvas(), 2, y, image);
}

// ---- TDatePickerEditor ----------------------------------------------------------

TDateTime TDatePickerEditor::GetAsDate() {
  const QString text = Text();
  if (text.isEmpty() || text == QLatin1String("0")) return Today();
  return StrToDate(text);
}

void TDatePickerEditor::SetAsDate(TDateTime d) { SetText(DateToStr(d)); }

// A half-typed date opens the calendar at today rather than failing the click.
void TDatePickerEditor::PrepareDropDown() {
  TDateTime d = Today();
  try {
    d = GetAsDate();
  } catch (const EConvertError&) {
  }
  int year = 0, month = 0, day = 0;
  DecodeDate(d, year, month, day);
  auto* calendar = static_cast<TDatePopup*>(Popup());
  calendar->SetYear(year);
  calendar->SetMonth(month);
  calendar->SetDay(day);
  calendar->SetSelectedDate(d);
  calendar->SetBounds(calendar->Left(), calendar->Top(), 151, 163);
}

// ---- TNumericEditor -------------------------------------------------------------

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

// The most digits a fixed-point text shows after the separator, as the
// platform's conversion.
constexpr int kMaxFixedDigits = 18;

// Shown texts never carry an exponent: the filter would read "1E20" back
// as 120.
QString FixedText(double v, int precision) {
  if (!std::isfinite(v)) return FloatToStr(v);
  return FormatFloat(QStringLiteral("0.") + QString(std::min(precision, kMaxFixedDigits), QLatin1Char('0')), v);
}

QString GeneralText(double v) {
  const QString text = FloatToStr(v);
  if (!std::isfinite(v) || !text.contains(QLatin1Char('E'))) return text;
  return FormatFloat(QStringLiteral("0.") + QString(kMaxFixedDigits, QLatin1Char('#')), v);
}

}  // namespace

// Backspace is a key, not part of a number: pasted or stored text drops it.
QString FilterNumericText(const QString& Text, bool Decimals, bool Sign) {
  const QChar separator = FormatSettings.DecimalSeparator;
  QString out;
  out.reserve(Text.size());
  bool separatorKept = false;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    if (IsDigit(c)) {
      out += c;
    } else if (c == separator) {
      if (Decimals && !separatorKept) out += c;
      separatorKept = separatorKept || Decimals;
    } else if (IsSign(c) && Sign && i == 0) {
      out += c;
    }
  }
  return out;
}

void TNumericEditor::SetNullText(const QString& v) {
  nullText_ = v;
  ShowValue(0);
}

void TNumericEditor::SetPrecision(int v) {
  const double value = Value();
  precision_ = v;
  ShowValue(value);
}

// The value is read with the old text after, so that a unit with digits in
// it never joins the number.
void TNumericEditor::SetTextAfter(const QString& v) {
  if (options_ & eoAllowAll) {
    textAfter_ = v;
    return;
  }
  const double value = Value();
  textAfter_ = v;
  ShowValue(value);
}

double TNumericEditor::Value() {
  QString text = Text();
  // The null text may itself end with the unit ("en az 1 m2" after " m2").
  if (!nullText_.isEmpty() && text == nullText_) return 0;
  if (!textAfter_.isEmpty() && text.endsWith(textAfter_)) text.chop(textAfter_.size());
  if (text.isEmpty() || (!nullText_.isEmpty() && text == nullText_)) return 0;
  const QString number = FilterNumericText(text, options_ & eoAllowFloat, options_ & eoAllowSigns);
  // A lone sign or separator is what typing leaves on the way to a number.
  if (!std::any_of(number.begin(), number.end(), IsDigit)) return 0;
  // The filter leaves only a number, so the one thing that can fail is its
  // size: a run of typed digits past every double reads as the largest one.
  if (const std::optional<double> v = TryStrToFloat(number)) return *v;
  return number.startsWith(QLatin1Char('-')) ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

void TNumericEditor::ShowValue(double v) {
  if (v == 0 && !nullText_.isEmpty())
    SetText(nullText_);
  else if (precision_ > 0 && (options_ & eoAllowFloat))
    SetText(FixedText(v, precision_) + textAfter_);
  else
    SetText(GeneralText(v) + textAfter_);
}

// Free text is kept as typed, also when the window is made again.
void TNumericEditor::CreateWnd() {
  TTextualEditor::CreateWnd();
  if (!(options_ & eoAllowAll)) ShowValue(Value());
}

bool TNumericEditor::KeepsTypedCharacter(QChar c) {
  const QChar separator = FormatSettings.DecimalSeparator;
  if (c == separator) return (options_ & eoAllowFloat) && !Text().contains(separator);
  if (IsSign(c))
    return (options_ & eoAllowSigns) && SelStart() == 0 && !Text().contains(QLatin1Char('-')) &&
           !Text().contains(QLatin1Char('+'));
  return IsDigit(c) || c == QChar(8);
}

void TNumericEditor::KeyDown(Word& Key, TShiftState Shift) {
  decimalKeyDown_ = Key == VK_DECIMAL;
  TTextualEditor::KeyDown(Key, Shift);
}

// Dropped characters never reach OnKeyPress, so Enter does not either.
void TNumericEditor::KeyPress(QChar& Key) {
  if (std::exchange(decimalKeyDown_, false) && (Key == QLatin1Char('.') || Key == QLatin1Char(',')))
    Key = FormatSettings.DecimalSeparator;
  const char16_t c = Key.unicode();
  const bool clipboardOrTab = c == 3 || c == 9 || c == 22 || c == 24;
  if ((options_ & eoAllowAll) || clipboardOrTab || KeepsTypedCharacter(Key))
    TTextualEditor::KeyPress(Key);
  else
    Key = QChar();
}

// Pasted text goes through the same filter, in place of the selection; the
// caret stays where the selection began.
void TNumericEditor::PasteFiltered() {
  if (ReadOnly()) return;
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QString pasted = clipboard ? clipboard->text() : QString();
  const int start = SelStart();
  QString text = Text();
  text.remove(start, SelLength());
  const bool decimals = (options_ & eoAllowFloat) && !text.contains(FormatSettings.DecimalSeparator);
  const bool sign = (options_ & eoAllowSigns) && start == 0;
  text.insert(start, FilterNumericText(pasted, decimals, sign));
  SetText(text);
  SetCaret(start);
}

void TNumericEditor::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE:
      PasteFiltered();
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    default:
      TTextualEditor::WndProc(Message);
  }
}

bool TNumericEditor::InRange(double v) const {
  if (min_ == 0 && max_ == 0) return true;
  return v >= min_ && (max_ <= 0 || v <= max_);
}

void TNumericEditor::CheckValue() {
  if (options_ & eoAllowAll) return;
  const double v = Value();
  if (InRange(v)) return;
  if (max_ > 0)
    throw EConvertError(
        QStringLiteral("'%1' is not between %2 and %3").arg(GeneralText(v), GeneralText(min_), GeneralText(max_)));
  throw EConvertError(QStringLiteral("'%1' is less than %2").arg(GeneralText(v), GeneralText(min_)));
}

void TNumericEditor::WMKillFocus() {
  TTextualEditor::WMKillFocus();
  if (!(options_ & eoAllowAll)) ShowValue(Value());
}

namespace {
QString ClassNameOf(TObject* object) {
  if (auto* q = dynamic_cast<QObject*>(object)) return QString::fromLatin1(q->metaObject()->className());
  return object ? QStringLiteral("TObject") : QStringLiteral("nil");
}
}  // namespace

void TNumericEditor::Assign(TObject* Source) {
  auto* source = dynamic_cast<TNumericEditor*>(Source);
  if (!source)
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(ClassNameOf(Source), ClassNameOf(this)));
  max_ = source->max_;
  min_ = source->min_;
  nullText_ = source->nullText_;
  options_ = source->options_;
  precision_ = source->precision_;
  SetValue(source->Value());
}

// ---- TSpinEditor ----------------------------------------------------------------

TSpinEditor::TSpinEditor(TComponentBase* AOwner, QWidget* AParent)
    : TNumericEditor(AOwner, AParent), spin_(std::make_unique<TSpinButtons>(this)) {
  spin_->SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 20);
  spin_->SetVisible(true);
  spin_->OnSpin = [this](TObject*, TSpinPart part) { Spin(part); };
  SetPrecision(0);
  SetValue(0);
}

// The buttons go before the editor's window does.
TSpinEditor::~TSpinEditor() { spin_.reset(); }

void TSpinEditor::GetEditRect(TRect& R) {
  TTextualEditor::GetEditRect(R);
  R.Right = ClientWidth() - spin_->Width();
}

void TSpinEditor::StartEdit() {
  TNumericEditor::StartEdit();
  spin_->Invalidate();
}

void TSpinEditor::Spin(TSpinPart Part) {
  const double value = Value();
  if (Part == spUpper) {
    if (Max() > 0 && value + increment_ > Max()) return;
    SetValue(value + increment_);
  } else if (Part == spLower) {
    if (value - increment_ < Min()) return;
    SetValue(value - increment_);
  }
}

void TSpinEditor::CreateWnd() {
  TNumericEditor::CreateWnd();
  PlaceSpinButtons();
}

void TSpinEditor::Resize() {
  TNumericEditor::Resize();
  PlaceSpinButtons();
}

void TSpinEditor::PlaceSpinButtons() {
  if (!HandleAllocated()) return;
  const bool single = BorderStyle() == bsSingle;
  spin_->SetBounds(ClientWidth() - spin_->Width(), single ? 1 : 0, GetSystemMetrics(SM_CXVSCROLL),
                   ClientHeight() + 1 - (single ? 2 : 0));
  spin_->raise();  // above the edit window
  spin_->Invalidate();
}

void TSpinEditor::WndProc(TMessage& Message) {
  TNumericEditor::WndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED) {
    update();
    spin_->Invalidate();
  }
}

// Up and down press a half of the buttons and go no further.
void TSpinEditor::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP || Key == VK_DOWN) {
    spin_->SetDownPart(Key == VK_UP ? spUpper : spLower);
    Key = 0;
    return;
  }
  TNumericEditor::KeyDown(Key, Shift);
}

void TSpinEditor::KeyUp(Word& Key, TShiftState Shift) {
  TNumericEditor::KeyUp(Key, Shift);
  spin_->SetDownPart(spNone);
}

// One step per notch.
bool TSpinEditor::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TNumericEditor::MouseWheel(Shift, WheelDelta, MousePos);
  if (WheelDelta != 0) {
    spin_->SetDownPart(WheelDelta < 0 ? spLower : spUpper);
    spin_->SetDownPart(spNone);
  }
  return true;
}

void TSpinEditor::MouseEnter() {
  TNumericEditor::MouseEnter();
  spin_->SetHotPart(spBoth);
}

void TSpinEditor::MouseLeave() {
  TNumericEditor::MouseLeave();
  spin_->SetHotPart(spNone);
}

// ---- TCheckBoxEditor ------------------------------------------------------------

TCheckBoxEditor::TCheckBoxEditor(TComponentBase* AOwner, QWidget* AParent) : TCanvasCellEditor(AOwner, AParent) {
  SetColor(clWindow);
}

namespace {
TRect GrownClientRect(const TRect& client) {
  return TRect(client.Left - 1, client.Top - 1, client.Right + 1, client.Bottom + 1);
}
}  // namespace

TRect TCheckBoxEditor::BoxRect() {
  const int size = ThemesActive() ? 13 : 11;
  const TPoint p =
      TCalcProvider::AlignBox(size, size, 2, GrownClientRect(ClientRect()), Alignment(), VerticalAlignment());
  return Bounds(p.X, p.Y, size, size);
}

void TCheckBoxEditor::SetChecked(bool b) {
  checked_ = b;
  DoChange();
  DoEdit(GetAsText());
  InvalidateClientRect(BoxRect());
}

QString TCheckBoxEditor::GetAsText() { return checked_ ? QStringLiteral("True") : QStringLiteral("False"); }

void TCheckBoxEditor::SetAsText(const QString& s) { SetChecked(s.toLower() == QLatin1String("true")); }

void TCheckBoxEditor::StartEdit() { repaint(); }

void TCheckBoxEditor::SetPressed(bool v) {
  pressed_ = v;
  InvalidateClientRect(BoxRect());
}

void TCheckBoxEditor::SetHot(bool v) {
  if (v == hot_) return;
  hot_ = v;
  InvalidateClientRect(BoxRect());
}

void TCheckBoxEditor::PaintEditor() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  TGraphicsProvider::DrawCheckBox(this, Canvas(), GrownClientRect(ClientRect()), Alignment(), VerticalAlignment(),
                                  checked_, grayed_ || pressed_, hot_);
}

void TCheckBoxEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCanvasCellEditor::MouseDown(Button, Shift, X, Y);
  if (PtInRect(BoxRect(), TPoint(X, Y))) SetPressed(true);
}

void TCheckBoxEditor::MouseMove(TShiftState Shift, int X, int Y) {
  TCanvasCellEditor::MouseMove(Shift, X, Y);
  SetHot(PtInRect(BoxRect(), TPoint(X, Y)));
}

// A release on the box toggles it, wherever the press began.
void TCheckBoxEditor::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCanvasCellEditor::MouseUp(Button, Shift, X, Y);
  if (PtInRect(BoxRect(), TPoint(X, Y))) SetChecked(!checked_);
  SetPressed(false);
}

// The grid sees the key first and may take it.
void TCheckBoxEditor::KeyDown(Word& Key, TShiftState Shift) {
  TCanvasCellEditor::KeyDown(Key, Shift);
  if (Key == VK_SPACE) SetPressed(true);
}

void TCheckBoxEditor::KeyUp(Word& Key, TShiftState Shift) {
  TCanvasCellEditor::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  SetPressed(false);
  SetChecked(!checked_);
}

void TCheckBoxEditor::MouseLeave() {
  TCanvasCellEditor::MouseLeave();
  SetHot(false);
}

void TCheckBoxEditor::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    default:
      TCanvasCellEditor::WndProc(Message);
  }
}
