// The drop-down windows: opening and the capture rule, the swallowed first
// release, the list's location and hot tracking, the calendar's cell dates,
// tracking and buttons, and their pixels.

#include <gtest/gtest.h>

#include <QTest>

#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/PopupView.h"
#include "grid/Providers.h"
#include "platform/Exceptions.h"

namespace {

TColor PixelAt(const QImage& image, int x, int y) { return FromQColor(QColor::fromRgb(image.pixel(x, y))); }

// Records what a popup reports.
struct Reports {
  QStringList log;
  void Watch(TPopupView& popup) {
    popup.OnAccept = [this](TObject*, const QString& v) { log << QStringLiteral("accept ") + v; };
    popup.OnClose = [this](TObject*) { log << QStringLiteral("close"); };
  }
};

void Release(QWidget* w, QPoint p) { QTest::mouseRelease(w, Qt::LeftButton, {}, p); }
void Press(QWidget* w, QPoint p) { QTest::mousePress(w, Qt::LeftButton, {}, p); }
// Client points are window points less the 2-pixel border.
QPoint Window(TWinControl& w, int x, int y) { return QPoint(x, y) + w.ClientOrigin().ToQt(); }

// A popup that turns any click into its client point.
class TPointPopup : public TPopupView {
 public:
  TPointPopup() { VertScrollBar()->SetMax(0); }  // nothing to scroll
  void Choose(int X, int Y) override { DoAccept(QStringLiteral("%1,%2").arg(X).arg(Y)); }
};

TEST(PopupView, OpensAsATopMostWindowAndHoldsTheMouse) {
  TPointPopup popup;
  popup.SetBounds(0, 0, 60, 40);
  EXPECT_TRUE(popup.Closed());
  EXPECT_FALSE(popup.isVisible());
  popup.Popup(100, 120);
  EXPECT_TRUE(popup.isWindow());
  EXPECT_TRUE(popup.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(popup.geometry(), QRect(100, 120, 60, 40));
  EXPECT_FALSE(popup.Closed());
  EXPECT_FALSE(popup.ReleaseSeen());
  EXPECT_TRUE(popup.MouseCapture());
  EXPECT_EQ(popup.ClientRect(), TRect(0, 0, 56, 36));
}

TEST(PopupView, TheFirstReleaseIsSwallowedTheSecondOutsideClosesWithoutAValue) {
  TPointPopup popup;
  Reports reports;
  reports.Watch(popup);
  popup.SetBounds(0, 0, 60, 40);
  popup.Popup(100, 120);
  Release(&popup, QPoint(-30, -10));  // the click that opened it
  EXPECT_TRUE(popup.ReleaseSeen());
  EXPECT_FALSE(popup.Closed());
  EXPECT_TRUE(popup.isVisible());
  EXPECT_TRUE(popup.MouseCapture());
  EXPECT_TRUE(reports.log.isEmpty());
  Release(&popup, QPoint(-30, -10));
  EXPECT_TRUE(popup.Closed());
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(popup.MouseCapture());
  EXPECT_EQ(reports.log, QStringList{"close"});
}

TEST(PopupView, AReleaseInsideChoosesThenCloses) {
  TPointPopup popup;
  Reports reports;
  reports.Watch(popup);
  popup.SetBounds(0, 0, 60, 40);
  popup.Popup(100, 120);
  Release(&popup, QPoint(-30, -10));
  Release(&popup, Window(popup, 10, 7));
  EXPECT_EQ(reports.log, (QStringList{"accept 10,7", "close"}));
}

TEST(PopupView, TheCaptureIsHeldExactlyWhileThePointerIsOutside) {
  TPointPopup popup;
  popup.SetBounds(0, 0, 60, 40);
  popup.Popup(100, 120);
  QEnterEvent enter(QPointF(5, 5), QPointF(105, 125), QPointF(105, 125));
  QCoreApplication::sendEvent(&popup, &enter);
  EXPECT_FALSE(popup.MouseCapture());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&popup, &leave);
  EXPECT_TRUE(popup.MouseCapture());
  popup.CloseUp();
  QCoreApplication::sendEvent(&popup, &enter);
  QCoreApplication::sendEvent(&popup, &leave);
  EXPECT_FALSE(popup.MouseCapture()) << "a closed popup does not take the mouse back";
}

TEST(PopupView, LosingActivationClosesIt) {
  TPointPopup popup;
  Reports reports;
  reports.Watch(popup);
  popup.Popup(0, 0);
  popup.Perform(WM_ACTIVATEAPP, 1);
  EXPECT_FALSE(popup.Closed());
  popup.Perform(WM_ACTIVATEAPP, 0);
  EXPECT_TRUE(popup.Closed());
  EXPECT_FALSE(popup.isVisible());
  EXPECT_EQ(reports.log, QStringList{"close"});
  popup.Perform(WM_ACTIVATEAPP, 0);
  EXPECT_EQ(reports.log, QStringList{"close"}) << "closed once";
}

TEST(PopupView, TheFrameIsACaptionColouredLineThenAWhiteOne) {
  TPointPopup popup;
  popup.SetBounds(0, 0, 60, 40);
  popup.Popup(0, 0);
  const QImage shown = popup.grab().toImage();
  for (QPoint p : {QPoint(0, 0), QPoint(30, 0), QPoint(59, 39), QPoint(0, 20)})
    EXPECT_EQ(PixelAt(shown, p.x(), p.y()), ColorToRGB(clActiveCaption)) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(1, 1), QPoint(30, 1), QPoint(58, 38)})
    EXPECT_EQ(PixelAt(shown, p.x(), p.y()), ColorToRGB(clWhite)) << p.x() << "," << p.y();
  popup.CloseUp();
}

// ---- the list -----------------------------------------------------------------------

QStringList Numbered(int n) {
  QStringList items;
  for (int i = 0; i < n; ++i) items << QStringLiteral("item %1").arg(i);
  return items;
}

class PopupListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.SetItems(&items);
    list.SetBounds(0, 0, 100, 8 * 16 + 4);  // eight rows of 16 pixels
    reports.Watch(list);
  }
  void Open(const QString& text) {
    list.SetText(text);
    list.Popup(50, 50);
    Release(&list, QPoint(-5, -5));
  }
  QStringList items = Numbered(20);
  TPopupList list;
  Reports reports;
};

TEST_F(PopupListTest, OpeningLocatesTheTextAmongTheItems) {
  Open(QStringLiteral("item 3"));
  EXPECT_EQ(list.VertScrollBar()->Position(), 3);
  EXPECT_EQ(list.HotIndex(), 3);
  EXPECT_EQ(list.MaxTopIndex(), 12);
  EXPECT_EQ(list.VertScrollBar()->Max(), 12);
  list.CloseUp();
  Open(QStringLiteral("x"));
  EXPECT_EQ(list.VertScrollBar()->Position(), 0);
  EXPECT_EQ(list.HotIndex(), 0);
  list.CloseUp();
  Open(QStringLiteral("Item 3"));  // case counts
  EXPECT_EQ(list.HotIndex(), 0);
  list.CloseUp();
  Open(QStringLiteral("item 19"));  // clamped by the bar
  EXPECT_EQ(list.VertScrollBar()->Position(), 12);
  EXPECT_EQ(list.HotIndex(), 19);
}

TEST_F(PopupListTest, AClickChoosesTheItemUnderItCountingTheScrolledRows) {
  Open(QStringLiteral("item 5"));
  Release(&list, Window(list, 10, 2 * 16 + 3));
  EXPECT_EQ(list.ItemIndex(), 7);
  EXPECT_EQ(reports.log, (QStringList{"accept item 7", "close"}));
}

TEST_F(PopupListTest, NoItemOrAnItemPastTheEndChoosesNothing) {
  items = Numbered(2);  // the items shrank after the list was sized
  Open(QString());
  Release(&list, Window(list, 10, 5 * 16 + 3));
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(reports.log, QStringList{"close"});
  reports.log.clear();
  TPopupList empty;
  reports.Watch(empty);
  empty.Popup(0, 0);
  Release(&empty, QPoint(-5, -5));
  Release(&empty, Window(empty, 5, 5));
  EXPECT_EQ(empty.ItemIndex(), -1);
  EXPECT_EQ(reports.log, QStringList{"close"});
}

TEST_F(PopupListTest, ItemHeightIsAtLeastOneAndIsTheScrollUnit) {
  list.SetItemHeight(0);
  EXPECT_EQ(list.ItemHeight(), 1);
  EXPECT_EQ(list.VertScrollUnit, 1);
  list.SetItemHeight(-4);
  EXPECT_EQ(list.ItemHeight(), 1);
  list.SetItemHeight(20);
  EXPECT_EQ(list.VertScrollUnit, 20);
}

TEST_F(PopupListTest, HotTrackingRepaintsOnlyTheOldAndTheNewRow) {
  Open(QStringLiteral("item 2"));
  list.Update();
  ASSERT_TRUE(list.InvalidRegion().isEmpty());
  QTest::mouseMove(&list, Window(list, 10, 5 * 16 + 1));
  EXPECT_EQ(list.PreviousHotIndex(), 2);
  EXPECT_EQ(list.HotIndex(), 7);
  const int w = list.ClientWidth();
  EXPECT_EQ(list.InvalidRegion(), QRegion(0, 0, w, 16) | QRegion(0, 80, w, 16));
  list.Update();
  QTest::mouseMove(&list, Window(list, 30, 5 * 16 + 9));  // same row
  EXPECT_TRUE(list.InvalidRegion().isEmpty());
}

TEST_F(PopupListTest, TheHotRowIsHighlightedAndTheRestIsWindow) {
  ThemeLook look(false);
  items = Numbered(3);
  Open(QStringLiteral("item 1"));
  list.Repaint();
  const QImage& image = list.Image();
  EXPECT_EQ(PixelAt(image, 1, 16), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(image, 1, 31), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(image, 1, 15), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(image, 1, 32), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(image, 1, 100), ColorToRGB(clWindow));  // below the last item
  // The hot row's text is drawn in the highlight text colour.
  bool text = false;
  for (int x = 2; x < 60 && !text; ++x)
    for (int y = 16; y < 32 && !text; ++y) text = PixelAt(image, x, y) == ColorToRGB(clHighlightText);
  EXPECT_TRUE(text);
}

TEST_F(PopupListTest, ImagesSitBeforeTheirItemsAndMoveTheText) {
  ThemeLook look(false);
  TImageList images(nullptr, 8, 8);
  QImage red(8, 8, QImage::Format_ARGB32);
  red.fill(Qt::red);
  images.Add(red);
  list.SetImages(&images);
  list.SetShowImages(true);
  items = Numbered(2);
  Open(QStringLiteral("none"));
  list.Repaint();
  const QImage& image = list.Image();
  // Item 0: image at (2, 16 div 2 − 8 div 2) = (2, 4).
  EXPECT_EQ(PixelAt(image, 2, 4), clRed);
  EXPECT_EQ(PixelAt(image, 9, 11), clRed);
  EXPECT_NE(PixelAt(image, 2, 3), clRed);
  // Item 1 has no image: nothing red in its row, and its text starts at 13.
  for (int x = 0; x < 13; ++x) EXPECT_NE(PixelAt(image, x, 20), clRed);
  bool textBefore = false;
  for (int x = 0; x < 13; ++x)
    for (int y = 16; y < 32; ++y) textBefore |= PixelAt(image, x, y) == ColorToRGB(clWindowText);
  EXPECT_FALSE(textBefore);
}

// ---- the calendar ------------------------------------------------------------------

class Calendar : public ::testing::Test {
 protected:
  void SetUp() override { reports.Watch(popup); }
  void Show(int year, int month) {
    popup.SetYear(year);
    popup.SetMonth(month);
  }
  void Open() {
    popup.Popup(10, 10);
    Release(&popup, QPoint(-5, -5));
  }
  TDatePopup popup;
  Reports reports;
};

struct CellCase {
  const char* name;
  int year, month, cell;
  int eyear, emonth, eday;
};

class CalendarCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(CalendarCells, RunFromTheSundayBeforeTheFirst) {
  const CellCase& c = GetParam();
  TDatePopup popup;
  popup.SetYear(c.year);
  popup.SetMonth(c.month);
  EXPECT_EQ(popup.CellDate(c.cell), EncodeDate(c.eyear, c.emonth, c.eday));
}

INSTANTIATE_TEST_SUITE_P(DatePopup, CalendarCells,
                         ::testing::Values(CellCase{"March2024Cell0", 2024, 3, 0, 2024, 2, 25},
                                           CellCase{"March2024Cell5", 2024, 3, 5, 2024, 3, 1},
                                           CellCase{"March2024Cell35", 2024, 3, 35, 2024, 3, 31},
                                           CellCase{"March2024Cell36", 2024, 3, 36, 2024, 4, 1},
                                           CellCase{"SundayFirstStartsInCell0", 2024, 9, 0, 2024, 9, 1},
                                           CellCase{"JanuaryBacksIntoDecember", 2025, 1, 0, 2024, 12, 29},
                                           CellCase{"DecemberRunsIntoJanuary", 2024, 12, 31, 2025, 1, 1},
                                           CellCase{"LeapFebruaryEnd", 2024, 2, 32, 2024, 2, 29},
                                           CellCase{"SeventhRow", 2024, 3, 48, 2024, 4, 13}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Calendar, APressTracksItsCellAndTheReleaseThereAcceptsIt) {
  Show(2024, 3);
  Open();
  popup.Update();
  Press(&popup, Window(popup, 120, 60));  // column 6, row 1
  EXPECT_TRUE(popup.Pressing());
  EXPECT_EQ(popup.SelectedDate(), EncodeDate(2024, 3, 9));
  EXPECT_EQ(popup.InvalidRegion(), QRegion(TDatePopup::CellRect(6, 1).ToQt()));
  Release(&popup, Window(popup, 120, 60));
  EXPECT_FALSE(popup.Pressing());
  EXPECT_EQ(reports.log, (QStringList{"accept " + DateToStr(EncodeDate(2024, 3, 9)), "close"}));
}

TEST_F(Calendar, DraggingRepaintsTheOldHighlightAndTheNewCellOnly) {
  Show(2024, 3);
  popup.SetSelectedDate(EncodeDate(2024, 3, 1));
  Open();
  popup.Repaint();
  Press(&popup, Window(popup, 20, 40));  // cell 0, 25 February
  popup.Update();
  QTest::mouseMove(&popup, Window(popup, 40, 55));  // column 1, row 1: 4 March
  EXPECT_EQ(popup.SelectedDate(), EncodeDate(2024, 3, 4));
  EXPECT_EQ(popup.InvalidRegion(),
            QRegion(TDatePopup::CellRect(0, 0).ToQt()) | QRegion(TDatePopup::CellRect(1, 1).ToQt()));
}

TEST_F(Calendar, APressBelowTheLastRowBesideTheButtonsTracksASeventhRow) {
  Show(2024, 3);
  Open();
  Press(&popup, Window(popup, 70, 130));  // between the two buttons
  EXPECT_EQ(popup.SelectedDate(), popup.CellDate(3 + 7 * 6));
  EXPECT_EQ(popup.SelectedDate(), EncodeDate(2024, 4, 10));
}

TEST_F(Calendar, MonthArrowsStepAcrossYearsAndKeepItOpen) {
  Show(2024, 12);
  Open();
  Press(&popup, Window(popup, popup.ClientWidth() - 5, 5));
  Release(&popup, Window(popup, popup.ClientWidth() - 5, 5));
  EXPECT_EQ(popup.Year(), 2025);
  EXPECT_EQ(popup.Month(), 1);
  Press(&popup, Window(popup, 5, 5));
  Release(&popup, Window(popup, 5, 5));
  Press(&popup, Window(popup, 5, 5));
  Release(&popup, Window(popup, 5, 5));
  EXPECT_EQ(popup.Year(), 2024);
  EXPECT_EQ(popup.Month(), 11);
  EXPECT_FALSE(popup.Closed());
  EXPECT_TRUE(reports.log.isEmpty());
}

TEST_F(Calendar, TheArrowsStopWhereDatesCanNoLongerBeConverted) {
  Show(1, 3);
  Open();
  for (int i = 0; i < 3; ++i) {
    Press(&popup, Window(popup, 5, 5));
    Release(&popup, Window(popup, 5, 5));
  }
  EXPECT_EQ(popup.Year(), 1);
  EXPECT_EQ(popup.Month(), 2);
  EXPECT_GE(popup.CellDate(0), EncodeDate(1, 1, 1));
  Show(9999, 10);
  for (int i = 0; i < 3; ++i) {
    Press(&popup, Window(popup, popup.ClientWidth() - 5, 5));
    Release(&popup, Window(popup, popup.ClientWidth() - 5, 5));
  }
  EXPECT_EQ(popup.Month(), 11);
  EXPECT_LE(popup.CellDate(48), EncodeDate(9999, 12, 31));
  // A date in the first or last month still paints and tracks.
  popup.SetDate(EncodeDate(9999, 12, 31));
  popup.Repaint();
  Press(&popup, Window(popup, 130, 135));
  EXPECT_LE(popup.SelectedDate(), EncodeDate(9999, 12, 31));
  popup.SetDate(EncodeDate(1, 1, 1));
  EXPECT_NO_THROW(popup.Repaint());
  EXPECT_EQ(popup.CellDate(0), EncodeDate(1, 1, 28));
}

TEST_F(Calendar, NoneAcceptsZeroAndTodayAcceptsTodayBothClosing) {
  Open();
  Press(&popup, Window(popup, 79 + 10, 131 + 5));
  EXPECT_TRUE(popup.NoneButton()->Down());
  Release(&popup, Window(popup, 79 + 10, 131 + 5));
  EXPECT_EQ(reports.log, (QStringList{"accept 0", "close"}));
  reports.log.clear();
  Open();
  Press(&popup, Window(popup, 18 + 10, 131 + 5));
  Release(&popup, Window(popup, 18 + 10, 131 + 5));
  EXPECT_EQ(reports.log, (QStringList{"accept " + DateToStr(std::floor(Now())), "close"}));
}

TEST_F(Calendar, AReleaseOutsideTheDaysOnlyCloses) {
  Show(2024, 3);
  Open();
  Release(&popup, Window(popup, 5, 140));
  EXPECT_EQ(reports.log, QStringList{"close"});
}

TEST_F(Calendar, SettingTheDateShowsItsMonthAndSelectsIt) {
  popup.SetDate(EncodeDate(2023, 7, 14) + 0.5);
  EXPECT_EQ(popup.Year(), 2023);
  EXPECT_EQ(popup.Month(), 7);
  EXPECT_EQ(popup.Day(), 14);
  EXPECT_EQ(popup.SelectedDate(), EncodeDate(2023, 7, 14) + 0.5);
  EXPECT_THROW(popup.SetDate(-800000), EConvertError);
  EXPECT_EQ(popup.Year(), 2023);
  popup.SetMonth(13);
  EXPECT_EQ(popup.Month(), 12);
}

struct LookCase {
  const char* name;
  bool themed;
  TColor selected;
  TColor today;
};

class CalendarLook : public ::testing::TestWithParam<LookCase> {};

TEST_P(CalendarLook, TitleSeparatorsSelectionAndToday) {
  const LookCase& c = GetParam();
  ThemeLook look(c.themed);
  TDatePopup popup;
  int year = 0, month = 0, day = 0;
  const TDateTime today = std::floor(Now());
  DecodeDate(today, year, month, day);
  popup.SetDate(today);
  // Select another day of the month shown so the two marks do not overlap.
  const int cellOfToday = int(today - popup.CellDate(0));
  const int other = cellOfToday == 20 ? 21 : 20;
  popup.SetSelectedDate(popup.CellDate(other));
  popup.show();
  popup.Repaint();
  const QImage& image = popup.Image();
  const int cw = popup.ClientWidth();
  ASSERT_EQ(cw, 147);
  ASSERT_EQ(popup.ClientHeight(), 159);
  const TColor title = c.themed ? TGraphicsProvider::BlendColors(clSystemColor | 28, clWindow, 249) : clBtnFace;
  EXPECT_EQ(PixelAt(image, 20, 3), ColorToRGB(title));
  EXPECT_EQ(PixelAt(image, 1, 3), ColorToRGB(popup.Color()));
  EXPECT_EQ(PixelAt(image, 11, 9), ColorToRGB(clWindowText));  // previous-month arrow
  EXPECT_EQ(PixelAt(image, cw - 12, 9), ColorToRGB(clWindowText));
  EXPECT_EQ(PixelAt(image, 14, 34), ColorToRGB(clGrayText));
  EXPECT_EQ(PixelAt(image, cw - 16, 126), ColorToRGB(clGrayText));
  EXPECT_NE(PixelAt(image, cw - 15, 126), ColorToRGB(clGrayText));
  const TRect sel = TDatePopup::CellRect(other % 7, other / 7);
  EXPECT_EQ(PixelAt(image, sel.Left, sel.Top), ColorToRGB(c.selected));
  const TRect now = TDatePopup::CellRect(cellOfToday % 7, cellOfToday / 7);
  EXPECT_EQ(PixelAt(image, now.Left, now.Top), ColorToRGB(c.today));
  EXPECT_EQ(PixelAt(image, now.Right - 1, now.Bottom - 1), ColorToRGB(c.today));
}

INSTANTIATE_TEST_SUITE_P(DatePopup, CalendarLook,
                         ::testing::Values(LookCase{"Classic", false, RGB(192, 192, 192), clHighlight},
                                           LookCase{"Themed", true, RGB(251, 230, 148), RGB(128, 0, 0)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DatePopupButtons, ClassicButtonsAreRaisedAndSunkWhenDown) {
  ThemeLook look(false);
  TDatePopup popup;
  popup.show();
  popup.Repaint();
  PopupView::TSmallButton* none = popup.NoneButton();
  EXPECT_EQ(none->BoundsRect(), TRect(79, 131, 127, 151));
  EXPECT_EQ(none->Caption(), QStringLiteral("None"));
  EXPECT_EQ(popup.TodayButton()->BoundsRect(), TRect(18, 131, 66, 151));
  EXPECT_EQ(PixelAt(popup.Image(), 79, 131), ColorToRGB(cl3DLight));
  EXPECT_EQ(PixelAt(popup.Image(), 100, 133), ColorToRGB(clBtnFace));
  Press(&popup, Window(popup, 85, 135));
  popup.Update();
  EXPECT_EQ(PixelAt(popup.Image(), 79, 131), ColorToRGB(clBtnShadow));
}

}  // namespace
