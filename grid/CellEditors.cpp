#include "grid/CellEditors.h"

#include "grid/Columns.h"
#include "grid/Providers.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
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

void TSpinButtons::SetHotPart(int p) {
  hotPart_ = p;
  Invalidate();
}

void TSpinButtons::SetDownPart(int p) {
  downPart_ = p;
  if (p != 0) {
    delayTimer_->SetEnabled(true);
    DoSpin();
  } else {
    delayTimer_->SetEnabled(false);
    repeatTimer_->SetEnabled(false);
  }
  Invalidate();
}

void TSpinButtons::CancelSpin() {
  if (downPart_ == 0 && !delayTimer_->Enabled() && !repeatTimer_->Enabled()) return;
  SetDownPart(0);
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
  SetHotPart(0);
}

void TSpinButtons::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  SetMouseCapture(false);
  SetDownPart(0);
}

void TSpinButtons::hideEvent(QHideEvent* event) {
  TCustomControl::hideEvent(event);
  Dispatch(this, [this] { CancelSpin(); });
}

void TSpinButtons::Paint() {
  const auto state = [this](int part) { return downPart_ == part ? 3 : hotPart_ == part ? 2 : 1; };
  TRect upper = UpperHalf(), lower = LowerHalf();
  if (ThemesActive()) {
    DrawThemed(this, Canvas(), upper, TThemeClass::Spin, 1, state(1));
    DrawThemed(this, Canvas(), lower, TThemeClass::Spin, 2, state(2));
    return;
  }
  Canvas()->DrawFrameControl(upper, DFC_SCROLL, DFCS_ADJUSTRECT | DFCS_SCROLLUP | (downPart_ == 1 ? DFCS_PUSHED : 0));
  Canvas()->DrawFrameControl(lower, DFC_SCROLL, DFCS_ADJUSTRECT | DFCS_SCROLLDOWN | (downPart_ == 2 ? DFCS_PUSHED : 0));
}
