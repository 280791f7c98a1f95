#pragma once
// The drop-down windows the button editors open under themselves: a
// top-most scrolling window that closes on the next click and reports a
// chosen value, a list of texts with optional images, and a one-month
// calendar with "Today" and "None" buttons.
//
// Map: TPopupView (opening, capture rule, closing on click) · TPopupList
// (locating the text, hot tracking, item rows) · TDatePopup (geometry, cell
// dates, tracking, painting) with its own windowless PopupView::TSmallButton.

#include <QStringList>
#include <memory>

#include "grid/ScrollView.h"
#include "platform/ImageList.h"
#include "platform/SysUtils.h"

using TAcceptEvent = std::function<void(TObject* Sender, const QString& Value)>;

class TPopupView : public TScrollView {
  Q_OBJECT
 public:
  explicit TPopupView(QWidget* AOwner = nullptr);

  bool Closed() const { return closed_; }
  bool ReleaseSeen() const { return releaseSeen_; }

  // Opens the window at screen point (x, y) with its current size and takes
  // the mouse, so that the click which closes it is seen wherever it falls.
  virtual void Popup(int X, int Y);
  // Turns a click at client point (x, y) into a value; the base has none.
  virtual void Choose(int X, int Y);
  // Closes without a value; nothing when already closed.
  void CloseUp();

  TNotifyEvent OnClose;
  TAcceptEvent OnAccept;

 protected:
  virtual void PaintFrame(TCanvas& WindowCanvas);
  void DoClose();
  void DoAccept(const QString& Value);
  // The closing-on-click rule, for subclasses that only sometimes run it.
  void CloseOnRelease(TMouseButton Button, TShiftState Shift, int X, int Y);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void WMNCPaint(TCanvas& WindowCanvas) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  bool closed_ = true;
  bool releaseSeen_ = false;
};

class TPopupList : public TPopupView {
  Q_OBJECT
 public:
  explicit TPopupList(QWidget* AOwner = nullptr);

  int HotIndex() const { return hotIndex_; }
  int PreviousHotIndex() const { return previousHotIndex_; }
  const QStringList* Items() const { return items_; }
  void SetItems(const QStringList* list) { items_ = list; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* list) { images_ = list; }
  bool ShowImages() const { return showImages_; }
  void SetShowImages(bool b) { showImages_ = b; }
  // -1 until a click chose an item.
  int ItemIndex() const { return itemIndex_; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);

  virtual int ItemCount() const;
  virtual int MaxTopIndex() const;
  void Popup(int X, int Y) override;
  void Choose(int X, int Y) override;

 protected:
  virtual void DrawItem(int Index, const TRect& R);
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Paint() override;

 private:
  void LocateText();
  TRect RowRect(int index) const;

  int hotIndex_ = 0;
  int previousHotIndex_ = 0;
  const QStringList* items_ = nullptr;
  TImageList* images_ = nullptr;
  bool showImages_ = false;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
};

class TDatePopup;

namespace PopupView {

// A light button without a window, drawn on the calendar's canvas.
class TSmallButton : public TGraphicControl {
 public:
  bool Down() const { return down_; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;

 private:
  bool down_ = false;
};

}  // namespace PopupView

class TDatePopup : public TPopupView {
  Q_OBJECT
 public:
  explicit TDatePopup(QWidget* AOwner = nullptr);
  ~TDatePopup() override;

  TDateTime Date() const { return date_; }
  void SetDate(TDateTime d);
  int Day() const { return day_; }
  void SetDay(int d) { day_ = uint16_t(std::clamp(d, 1, 31)); }
  int Month() const { return month_; }
  void SetMonth(int m);
  int Year() const { return year_; }
  void SetYear(int y);
  TDateTime SelectedDate() const { return selectedDate_; }
  void SetSelectedDate(TDateTime d) { selectedDate_ = d; }
  bool Pressing() const { return pressing_; }
  PopupView::TSmallButton* TodayButton() const { return todayButton_.get(); }
  PopupView::TSmallButton* NoneButton() const { return noneButton_.get(); }

  // The month the calendar shows: (Year, Month) held where every date it
  // paints or tracks can be converted.
  int ShownYear() const;
  int ShownMonth() const;
  // The date of cell k (0..48: six painted rows and the tracked seventh).
  TDateTime CellDate(int k) const;
  static TRect CellRect(int Col, int Row);
  TRect TitleStrip() const { return TRect(0, 0, ClientWidth(), 19); }
  TRect DayHitArea() const { return TRect(14, 38, ClientWidth() - 14, ClientHeight() - 20); }
  TRect PrevArrowHitBox() const { return TRect(0, 0, 18, 18); }
  TRect NextArrowHitBox() const { return TRect(ClientWidth() - 18, 0, ClientWidth(), 18); }

  void Choose(int X, int Y) override;

 protected:
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;

 private:
  void StepMonth(int delta);
  void Track(int X, int Y);
  void ButtonClick(TObject* Sender);
  void PaintTitle();
  void PaintWeekdays();
  void PaintDays();

  TDateTime date_ = 0;
  uint16_t day_ = 1;
  uint16_t month_ = 1;
  TDateTime selectedDate_ = 0;
  uint16_t year_ = 1;
  bool pressing_ = false;
  TRect highlightRect_;
  std::unique_ptr<PopupView::TSmallButton> todayButton_;
  std::unique_ptr<PopupView::TSmallButton> noneButton_;
};
