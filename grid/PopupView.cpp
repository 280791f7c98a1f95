#include "grid/PopupView.h"

#include <QDate>

#include "grid/Providers.h"
#include "platform/Exceptions.h"
#include "platform/Themes.h"

// ---- TPopupView -----------------------------------------------------------------

TPopupView::TPopupView(QWidget* AOwner) : TScrollView(AOwner) {
  // Nothing in a popup scrolls sideways; a bar there would only take rows.
  HorzScrollBar()->SetMax(0);
  SetBorderWidth(2);
  SetVisible(false);
}

void TPopupView::CreateParams(TCreateParams& Params) {
  TScrollView::CreateParams(Params);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClassStyle = CS_SAVEBITS | CS_DBLCLKS;
}

void TPopupView::CreateWnd() {
  TScrollView::CreateWnd();
  VertScrollBar()->PageStep = 10;
}

void TPopupView::WndProc(TMessage& Message) {
  // Another program taking over leaves no popup hanging on the screen.
  if (Message.Msg == WM_ACTIVATEAPP && Message.WParam == 0) CloseUp();
  TScrollView::WndProc(Message);
}

void TPopupView::WMNCPaint(TCanvas& WindowCanvas) {
  TScrollView::WMNCPaint(WindowCanvas);
  PaintFrame(WindowCanvas);
}

void TPopupView::PaintFrame(TCanvas& WindowCanvas) {
  TRect r(0, 0, Width(), Height());
  WindowCanvas.Brush()->SetColor(clActiveCaption);
  WindowCanvas.FrameRect(r);
  InflateRect(r, -1, -1);
  WindowCanvas.Brush()->SetColor(clWhite);
  WindowCanvas.FrameRect(r);
}

void TPopupView::Popup(int X, int Y) {
  SetBounds(X, Y, Width(), Height());
  SetVisible(true);
  raise();
  closed_ = false;
  releaseSeen_ = false;
  SetMouseCapture(true);
}

void TPopupView::Choose(int, int) { AbstractError(); }

void TPopupView::CloseUp() {
  if (closed_) return;
  closed_ = true;
  SetMouseCapture(false);
  SetVisible(false);
  DoClose();
}

void TPopupView::DoClose() {
  if (OnClose) OnClose(this);
}

void TPopupView::DoAccept(const QString& Value) {
  if (OnAccept) OnAccept(this, Value);
}

void TPopupView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) { CloseOnRelease(Button, Shift, X, Y); }

void TPopupView::CloseOnRelease(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TScrollView::MouseUp(Button, Shift, X, Y);
  // The release of the click that opened the popup.
  if (!releaseSeen_) {
    releaseSeen_ = true;
    SetMouseCapture(true);
    return;
  }
  if (PtInRect(ClientRect(), TPoint(X, Y))) Choose(X, Y);
  CloseUp();
}

// Inside, the popup's own window sees the mouse; outside, the capture does.
void TPopupView::MouseEnter() {
  TScrollView::MouseEnter();
  SetMouseCapture(false);
}

void TPopupView::MouseLeave() {
  TScrollView::MouseLeave();
  if (!closed_) SetMouseCapture(true);
}

// ---- TPopupList -----------------------------------------------------------------

TPopupList::TPopupList(QWidget* AOwner) : TPopupView(AOwner) {
  SetBounds(0, 0, 80 + 2 * BorderWidth(), 50 + 2 * BorderWidth());
  VertScrollUnit = itemHeight_;
}

void TPopupList::SetItemHeight(int h) {
  itemHeight_ = h > 0 ? h : 1;
  VertScrollUnit = itemHeight_;
}

int TPopupList::ItemCount() const { return items_ ? int(items_->size()) : 0; }

int TPopupList::MaxTopIndex() const { return ItemCount() - ClientHeight() / itemHeight_; }

void TPopupList::Popup(int X, int Y) {
  VertScrollBar()->SetPosition(0);
  VertScrollBar()->SetMax(MaxTopIndex());
  LocateText();
  TPopupView::Popup(X, Y);
}

void TPopupList::LocateText() {
  const int found = items_ ? int(items_->indexOf(Text())) : -1;
  hotIndex_ = std::max(found, 0);
  VertScrollBar()->SetPosition(hotIndex_);
}

void TPopupList::Choose(int, int Y) {
  const int index = Y / itemHeight_ + VertScrollBar()->Position();
  // The items may have changed since the list was sized: nothing to choose.
  if (Y < 0 || index >= ItemCount()) return;
  itemIndex_ = index;
  DoAccept(items_->at(index));
}

TRect TPopupList::RowRect(int index) const {
  const int row = index - VertScrollBar()->Position();
  return TRect(0, row * itemHeight_, ClientWidth(), (row + 1) * itemHeight_);
}

void TPopupList::MouseMove(TShiftState Shift, int X, int Y) {
  TPopupView::MouseMove(Shift, X, Y);
  if (!PtInRect(ClientRect(), TPoint(X, Y))) return;
  previousHotIndex_ = hotIndex_;
  hotIndex_ = Y / itemHeight_ + VertScrollBar()->Position();
  if (hotIndex_ == previousHotIndex_) return;
  InvalidateRect(RowRect(previousHotIndex_));
  InvalidateRect(RowRect(hotIndex_));
}

void TPopupList::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  VertScrollRect = ClientRect();
  int y = 0;
  for (int i = VertScrollBar()->Position(); i < ItemCount() && y < ClientHeight(); ++i) {
    const TRect row(0, y, ClientWidth(), y + itemHeight_);
    const bool hot = i == hotIndex_;
    canvas->Brush()->SetColor(hot ? clHighlight : clWindow);
    canvas->Font()->SetColor(hot ? clHighlightText : clWindowText);
    canvas->FillRect(row);
    DrawItem(i, row);
    y += itemHeight_;
  }
  canvas->Brush()->SetColor(clWindow);
  canvas->FillRect(TRect(0, y, ClientWidth(), ClientHeight()));
}

void TPopupList::DrawItem(int Index, const TRect& R) {
  int x = R.Left + 2;
  if (showImages_ && images_) {
    if (Index < images_->Count())
      Canvas()->Draw(x, R.Top + itemHeight_ / 2 - images_->Height() / 2, images_->Image(Index));
    x = R.Left + images_->Width() + 5;
  }
  TGraphicsProvider::DrawText(Canvas(), TRect(x, R.Top, R.Right, R.Bottom), taLeftJustify, items_->at(Index), false);
}

// ---- PopupView::TSmallButton ----------------------------------------------------------

namespace PopupView {

void TSmallButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  down_ = true;
  Repaint();
}

void TSmallButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The inherited handling clicks; a click may close the calendar, so the
  // button is drawn up first.
  down_ = false;
  Repaint();
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSmallButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  canvas->Font()->Assign(Font());
  canvas->Font()->SetColor(clBtnText);
  const auto caption = [&] {
    TRect box = r;
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(Caption(), box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    canvas->Brush()->SetStyle(bsSolid);
  };
  if (ThemesActive()) {
    DrawThemed(Parent(), canvas, r, TThemeClass::Button, 1, down_ ? 3 : 1);
    caption();
    return;
  }
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(r);
  caption();
  canvas->DrawEdge(r, down_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

}  // namespace PopupView

// ---- TDatePopup -----------------------------------------------------------------

namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdayLetters[] = {"S", "M", "T", "W", "T", "F", "S"};

// 1 Sunday … 7 Saturday; day 0 (30 December 1899) was a Saturday.
int DayOfWeek(TDateTime d) {
  const int64_t days = int64_t(std::floor(d));
  return int(((days - 1) % 7 + 7) % 7) + 1;
}

// The months whose 49 cells (six rows and the tracked seventh) all lie
// within years 1 to 9999.
constexpr int kFirstShownMonth = 1 * 12 + 1;     // February of year 1
constexpr int kLastShownMonth = 9999 * 12 + 10;  // November 9999

int MonthNumber(int year, int month) { return year * 12 + (month - 1); }

}  // namespace

TDatePopup::TDatePopup(QWidget* AOwner) : TPopupView(AOwner) {
  SetBounds(0, 0, 151, 163);  // the size the date editor opens it at
  todayButton_ = std::make_unique<PopupView::TSmallButton>();
  noneButton_ = std::make_unique<PopupView::TSmallButton>();
  const auto place = [this](PopupView::TSmallButton* b, int left, const char* caption) {
    b->SetParent(this);
    b->SetBounds(left, 131, 48, 20);
    b->SetCaption(QString::fromLatin1(caption));
    b->OnClick = [this](TObject* sender) { ButtonClick(sender); };
  };
  place(todayButton_.get(), 18, "Today");
  place(noneButton_.get(), 79, "None");
}

TDatePopup::~TDatePopup() {
  todayButton_.reset();
  noneButton_.reset();
}

void TDatePopup::CreateWnd() {
  TPopupView::CreateWnd();
  ShowScrollBar(SB_VERT, false);
}

void TDatePopup::SetDate(TDateTime d) {
  int year = 0, month = 0, day = 0;
  DecodeDate(d, year, month, day);  // refuses dates it cannot convert
  date_ = d;
  selectedDate_ = d;
  year_ = uint16_t(year);
  month_ = uint16_t(month);
  day_ = uint16_t(day);
}

void TDatePopup::SetMonth(int m) { month_ = uint16_t(std::clamp(m, 1, 12)); }

void TDatePopup::SetYear(int y) { year_ = uint16_t(std::clamp(y, 1, 9999)); }

int TDatePopup::ShownYear() const {
  return std::clamp(MonthNumber(year_, month_), kFirstShownMonth, kLastShownMonth) / 12;
}

int TDatePopup::ShownMonth() const {
  return std::clamp(MonthNumber(year_, month_), kFirstShownMonth, kLastShownMonth) % 12 + 1;
}

TDateTime TDatePopup::CellDate(int k) const {
  const TDateTime first = EncodeDate(ShownYear(), ShownMonth(), 1);
  return first - (DayOfWeek(first) - 1) + k;
}

TRect TDatePopup::CellRect(int Col, int Row) {
  return TRect(14 + 17 * Col, 36 + 15 * Row, 31 + 17 * Col, 51 + 15 * Row);
}

void TDatePopup::StepMonth(int delta) {
  const int next = MonthNumber(ShownYear(), ShownMonth()) + delta;
  if (next < kFirstShownMonth || next > kLastShownMonth) return;
  year_ = uint16_t(next / 12);
  month_ = uint16_t(next % 12 + 1);
  Invalidate();
}

void TDatePopup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPopupView::MouseDown(Button, Shift, X, Y);
  const TPoint p(X, Y);
  if (PtInRect(PrevArrowHitBox(), p)) {
    StepMonth(-1);
  } else if (PtInRect(NextArrowHitBox(), p)) {
    StepMonth(1);
  } else if (PtInRect(DayHitArea(), p)) {
    pressing_ = true;
    Track(X, Y);
  }
}

void TDatePopup::MouseMove(TShiftState Shift, int X, int Y) {
  TPopupView::MouseMove(Shift, X, Y);
  if (pressing_ && PtInRect(DayHitArea(), TPoint(X, Y))) Track(X, Y);
}

void TDatePopup::Track(int X, int Y) {
  const int c = (X - 14) / 17, r = (Y - 36) / 15;
  const TDateTime d = CellDate(c + 7 * r);
  if (d == selectedDate_) return;
  selectedDate_ = d;
  InvalidateRect(highlightRect_);
  InvalidateRect(CellRect(c, r));
}

void TDatePopup::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // A release on the title strip (the month arrows) keeps the calendar open.
  if (!PtInRect(TitleStrip(), TPoint(X, Y))) CloseOnRelease(Button, Shift, X, Y);
  pressing_ = false;
}

void TDatePopup::Choose(int X, int Y) {
  if (!PtInRect(DayHitArea(), TPoint(X, Y))) return;
  const int c = (X - 14) / 17, r = (Y - 36) / 15;
  DoAccept(DateToStr(CellDate(c + 7 * r)));
}

void TDatePopup::ButtonClick(TObject* Sender) {
  const auto* button = static_cast<PopupView::TSmallButton*>(Sender);
  if (button->Caption() == QLatin1String("Today"))
    DoAccept(DateToStr(Today()));
  else if (button->Caption() == QLatin1String("None"))
    DoAccept(QStringLiteral("0"));
  CloseUp();
}

void TDatePopup::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Font()->SetColor(clWindowText);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  PaintWeekdays();
  PaintTitle();
  PaintDays();
}

void TDatePopup::PaintWeekdays() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsClear);
  for (int i = 0; i < 7; ++i) {
    TRect box(14 + 17 * i, 20, 14 + 17 * i + 15, 34);
    canvas->DrawText(QString::fromLatin1(kWeekdayLetters[i]), box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  }
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Pen()->SetColor(clGrayText);
  for (int y : {34, 126}) {
    canvas->MoveTo(14, y);
    canvas->LineTo(ClientWidth() - 15, y);
  }
}

void TDatePopup::PaintTitle() {
  TCanvas* canvas = Canvas();
  const int cw = ClientWidth();
  canvas->Brush()->SetColor(ThemesActive() ? TGraphicsProvider::BlendColors(clSystemColor | 28, clWindow, 249)
                                           : clBtnFace);
  canvas->FillRect(TRect(2, 2, cw - 2, 18));
  canvas->Font()->SetColor(clWindowText);
  TRect title(0, 0, cw, 19);
  const QString text = QStringLiteral("%1 %2").arg(QString::fromLatin1(kMonthNames[ShownMonth() - 1])).arg(ShownYear());
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawText(text, title, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  canvas->Pen()->SetColor(clWindowText);
  canvas->Brush()->SetColor(clWindowText);
  canvas->Polygon({TPoint(12, 5), TPoint(12, 13), TPoint(8, 9)});
  canvas->Polygon({TPoint(cw - 13, 5), TPoint(cw - 13, 13), TPoint(cw - 9, 9)});
}

void TDatePopup::PaintDays() {
  TCanvas* canvas = Canvas();
  const bool themed = ThemesActive();
  const TDateTime today = Today();
  TDateTime d = CellDate(0);
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 7; ++c, d += 1) {
      int year = 0, month = 0, day = 0;
      DecodeDate(d, year, month, day);
      const TRect cell = CellRect(c, r);
      canvas->Font()->SetColor(month == ShownMonth() ? clWindowText : clGrayText);
      if (d == std::floor(selectedDate_)) {
        canvas->Brush()->SetColor(themed ? RGB(251, 230, 148) : RGB(192, 192, 192));
        canvas->FillRect(cell);
        highlightRect_ = cell;
      }
      if (d == today) {
        canvas->Brush()->SetColor(themed ? RGB(128, 0, 0) : clHighlight);
        canvas->FrameRect(cell);
      }
      TRect number(cell.Left, cell.Top, cell.Left + 15, cell.Bottom);
      canvas->Brush()->SetStyle(bsClear);
      canvas->DrawText(QString::number(day), number, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
      canvas->Brush()->SetStyle(bsSolid);
    }
  }
}
