#include <gtest/gtest.h>

#include <QWidget>
#include <limits>
#include <memory>
#include <vector>

#include "ColumnTestSupport.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"

namespace {

// Adds columns the way reading a form does: position first, then Add.
std::vector<TCustomColumn*> AddWithPositions(TColumns& columns, const std::vector<int>& positions, int width = 80) {
  std::vector<TCustomColumn*> added;
  for (int p : positions) {
    auto* c = new TCustomColumn;
    c->SetPosition(p);
    c->SetWidth(width);
    columns.Add(c);
    added.push_back(c);
  }
  return added;
}

std::vector<int> DisplayIndexes(const TColumns& columns) {
  std::vector<int> out;
  for (int i = 0; i < columns.Count(); ++i) out.push_back(columns.DisplayItems(i)->Index());
  return out;
}

std::vector<int> Positions(const TColumns& columns) {
  std::vector<int> out;
  for (int i = 0; i < columns.Count(); ++i) out.push_back(columns.Items(i)->Position());
  return out;
}

class ColumnModel : public ::testing::Test {
 protected:
  FakeColumnGrid grid;
  TColumns columns{&grid};
  NoticeLog log;
};

}  // namespace

TEST_F(ColumnModel, ColumnsReadWithPositionsShowInPositionOrderAndKeepTheirIndexes) {
  AddWithPositions(columns, {2, 3, 4, 0, 1}, 10);
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{3, 4, 0, 1, 2}));
  EXPECT_EQ(Positions(columns), (std::vector<int>{2, 3, 4, 0, 1}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(columns.Items(i)->Index(), i);
  // Lefts follow the display order.
  EXPECT_EQ(columns.Items(3)->Left(), 0);
  EXPECT_EQ(columns.Items(4)->Left(), 10);
  EXPECT_EQ(columns.Items(0)->Left(), 20);
  EXPECT_EQ(columns.Items(2)->Left(), 40);
}

TEST_F(ColumnModel, EqualPositionsKeepReadingOrderAndMinusOneGoesFirst) {
  AddWithPositions(columns, {1, 1, -1, 1});
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(ColumnModel, AddRaisesTheListNoticeToBothReceiversInOrder) {
  log.Attach(columns);
  AddWithPositions(columns, {0});
  columns.Clear();
  EXPECT_EQ(log.entries, (QStringList{"list1:0", "list2:0", "list1:2", "list2:2"}));
  EXPECT_EQ(columns.Count(), 0);
}

TEST_F(ColumnModel, SettingPositionMovesTheColumnAndRenumbersEveryPosition) {
  AddWithPositions(columns, {2, 3, 4, 0, 1});
  log.Attach(columns);
  columns.DisplayItems(0)->SetPosition(2);  // the column of index 3
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{4, 0, 3, 1, 2}));
  EXPECT_EQ(Positions(columns), (std::vector<int>{1, 3, 4, 2, 0}));
  EXPECT_EQ(log.entries, (QStringList{"change:3:2", "change:3:2"}));
}

TEST_F(ColumnModel, MoveToAPlaceOutsideTheListRaisesAndChangesNothing) {
  AddWithPositions(columns, {0, 1, 2});
  EXPECT_THROW(columns.Items(0)->SetPosition(3), EListError);
  EXPECT_THROW(columns.Move(-1, 0), EListError);
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{0, 1, 2}));
  EXPECT_THROW(columns.Items(5), EListError);
  EXPECT_THROW(columns.DisplayItems(-1), EListError);
}

TEST_F(ColumnModel, AColumnAddedWithoutPositionCanStillBeMovedByPosition) {
  AddWithPositions(columns, {0, 1});
  auto* loose = new TCustomColumn;
  columns.Add(loose);  // Position -1: shown first
  loose->SetPosition(2);
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Positions(columns), (std::vector<int>{0, 1, 2}));
}

TEST_F(ColumnModel, WidthKeepsItsMinimumRelaysAndNotifies) {
  auto cols = AddWithPositions(columns, {0, 1});
  log.Attach(columns);
  cols[0]->SetWidth(3);
  EXPECT_EQ(cols[0]->Width(), 8);
  EXPECT_EQ(cols[1]->Left(), 8);
  EXPECT_EQ(cols[0]->DefaultWidth(), 80);
  EXPECT_EQ(log.entries, (QStringList{"change:0:6"}));
  grid.designing = true;
  cols[0]->SetWidth(50);
  EXPECT_EQ(cols[0]->DefaultWidth(), 50);
}

TEST_F(ColumnModel, WhileReadingWidthAndPositionOnlyStore) {
  auto cols = AddWithPositions(columns, {0, 1});
  grid.reading = true;
  cols[0]->SetWidth(30);
  cols[0]->SetPosition(1);
  EXPECT_EQ(cols[1]->Left(), 80);  // no layout while reading
  EXPECT_EQ(cols[0]->Position(), 1);
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{0, 1}));
}

TEST_F(ColumnModel, HiddenColumnKeepsItsLeftAndTakesNoRoom) {
  grid.dataLeft = 12;
  auto cols = AddWithPositions(columns, {0, 1, 2}, 20);
  log.Attach(columns);
  cols[1]->SetVisible(false);
  EXPECT_EQ(cols[1]->Left(), 32);
  EXPECT_EQ(cols[1]->VisibleIndex(), -1);
  EXPECT_EQ(cols[2]->Left(), 32);
  EXPECT_EQ(cols[2]->VisibleIndex(), 1);
  EXPECT_EQ(columns.TotalWidth(), 40);
  EXPECT_EQ(columns.VisibleCount(), 2);
  EXPECT_EQ(log.entries, (QStringList{"change:1:5"}));
}

TEST_F(ColumnModel, SwitchingTheIndicatorRelaysTheColumns) {
  auto cols = AddWithPositions(columns, {1, 0}, 20);
  ASSERT_TRUE(grid.indicatorReceiver);
  grid.dataLeft = 12;
  grid.indicatorReceiver();
  EXPECT_EQ(cols[1]->Left(), 12);
  EXPECT_EQ(cols[0]->Left(), 32);
}

TEST_F(ColumnModel, SortedIsHeldByOneColumnAndOnlyItIsTold) {
  auto cols = AddWithPositions(columns, {0, 1, 2});
  cols[1]->SetSorted(true);
  log.Attach(columns);
  cols[0]->SetSorted(true);
  EXPECT_FALSE(cols[1]->Sorted());
  EXPECT_TRUE(cols[0]->Sorted());
  cols[0]->SetSorted(true);
  EXPECT_EQ(log.entries, (QStringList{"change:0:3", "change:0:3"}));
}

TEST_F(ColumnModel, SearchColumnMovesAndTheOldHolderIsTold) {
  auto cols = AddWithPositions(columns, {0, 1, 2});
  cols[2]->SetOptions(cols[2]->Options() | coSearchColumn);
  log.Attach(columns);
  cols[0]->SetOptions(cols[0]->Options() | coSearchColumn);
  EXPECT_FALSE(cols[2]->Options().testFlag(coSearchColumn));
  EXPECT_TRUE(cols[0]->Options().testFlag(coSearchColumn));
  EXPECT_TRUE(cols[2]->Options().testFlag(coCanClick));
  EXPECT_EQ(log.entries, (QStringList{"change:2:4", "change:0:4"}));
}

TEST_F(ColumnModel, EverySetterRaisesItsKindAndStoreOnlySettersNone) {
  auto cols = AddWithPositions(columns, {0});
  TCustomColumn* c = cols[0];
  log.Attach(columns);
  c->SetAuxiliaryText("x");
  c->SetInputText("y");
  c->SetSortKind(skDescending);
  c->SetSortType(stIP);
  c->SetAlignment(taCenter);
  c->SetColor(clRed);
  c->SetCursor(crHandPoint);
  c->SetDrawingOptions(doCustom);
  c->SetFormulaKind(fkSum);
  c->SetInputCaption("z");
  c->SetVerticalAlignment(vaTop);
  c->Header()->SetCaption("Saat");
  c->Footer()->SetFormulaKind(fkAverage);
  c->SetDefaultValue("d");
  c->SetDefaultWidth(5);
  c->SetWrapKind(wkWordWrap);
  EXPECT_EQ(log.entries, (QStringList{"change:0:0", "change:0:1", "change:0:3", "change:0:3", "change:0:4",
                                      "change:0:4", "change:0:4", "change:0:4", "change:0:4", "change:0:4",
                                      "change:0:4", "change:0:4", "change:0:4"}));
}

TEST_F(ColumnModel, AColumnOutsideACollectionTellsNobody) {
  log.Attach(columns);
  TCustomColumn loose;
  loose.SetWidth(3);
  loose.SetVisible(false);
  loose.SetPosition(7);
  loose.Header()->SetCaption("x");
  EXPECT_EQ(loose.Width(), 8);
  EXPECT_EQ(loose.Position(), 7);
  EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(ColumnModel, WidthDistributionPassesTheRoundingRemainderOn) {
  auto cols = AddWithPositions(columns, {0, 1});
  cols[0]->SetWidth(100);
  cols[1]->SetWidth(50);
  for (auto* c : cols) c->SetOptions(c->Options() | coAutoSize);
  columns.AutoSizeColumns(301);
  EXPECT_EQ(cols[0]->Width(), 201);
  EXPECT_EQ(cols[1]->Width(), 100);
}

TEST_F(ColumnModel, WidthDistributionLeavesFixedAndHiddenColumnsAndFillsTheRoom) {
  grid.dataLeft = 12;
  auto cols = AddWithPositions(columns, {0, 1, 2, 3});
  cols[0]->SetWidth(60);
  cols[0]->SetOptions(cols[0]->Options() | coAutoSize | coFixedSize);
  cols[1]->SetWidth(30);
  cols[1]->SetOptions(cols[1]->Options() | coAutoSize);
  cols[2]->SetWidth(40);
  cols[2]->SetOptions(cols[2]->Options() | coAutoSize);
  cols[3]->SetOptions(cols[3]->Options() | coAutoSize);
  cols[3]->SetVisible(false);
  columns.AutoSizeColumns(12 + 60 + 141);
  EXPECT_EQ(cols[0]->Width(), 60);
  EXPECT_EQ(cols[1]->Width(), 60);  // 30 * 141 / 70 = 60.4
  EXPECT_EQ(cols[2]->Width(), 81);
  EXPECT_EQ(cols[3]->Width(), 80);
  EXPECT_EQ(columns.TotalWidth(), 60 + 141);
}

TEST_F(ColumnModel, WidthDistributionIntoTooLittleRoomStopsAtTheMinimum) {
  auto cols = AddWithPositions(columns, {0, 1});
  for (auto* c : cols) c->SetOptions(c->Options() | coAutoSize);
  columns.AutoSizeColumns(-50);
  EXPECT_EQ(cols[0]->Width(), 8);
  EXPECT_EQ(cols[1]->Width(), 8);
}

TEST_F(ColumnModel, PlaceScreenLeftAndPartRectsFollowTheGrid) {
  auto cols = AddWithPositions(columns, {0, 1, 2}, 50);
  grid.horzPosition = 10;
  EXPECT_EQ(cols[0]->Place(), 1);
  EXPECT_EQ(cols[1]->Place(), 2);
  EXPECT_EQ(cols[2]->Place(), 3);
  EXPECT_EQ(cols[1]->ScreenLeft(), 40);
  EXPECT_EQ(cols[1]->PartRect(gaHeader), TRect(40, 0, 90, 20));
  EXPECT_EQ(cols[1]->PartRect(gaFooter), TRect(40, 154, 90, 175));
  EXPECT_EQ(cols[1]->PartRect(gaInput), TRect(40, 20, 90, 33));
  EXPECT_EQ(cols[1]->PartRect(gaData), TRect());
  cols[0]->SetVisible(false);
  cols[2]->SetVisible(false);
  EXPECT_EQ(cols[1]->Place(), 0);
  EXPECT_TRUE(cols[1]->IsOnlyVisible());
  grid.current = 1;
  grid.hot = cols[2];
  EXPECT_TRUE(cols[1]->IsCurrent());
  EXPECT_TRUE(cols[2]->IsHot());
  EXPECT_FALSE(cols[2]->IsPressed());
}

TEST_F(ColumnModel, AssignCopiesTheStatedPropertiesButNotWidthMemoryOrSortType) {
  auto cols = AddWithPositions(columns, {0, 1});
  TCustomColumn source;
  source.SetAlignment(taRightJustify);
  source.SetColor(clAqua);
  source.SetAuxiliaryText("aux");
  source.Font()->SetName("Arial");
  source.Header()->SetCaption("H");
  source.Header()->SetDisplayMode(dmImageOnly);
  source.Footer()->SetFormulaKind(fkMaximum);
  source.SlideBounds()->SetHeight(9);
  source.SetOptions(coAutoSize);
  source.SetPosition(1);
  source.SetWidth(33);
  source.SetDefaultWidth(44);
  source.SetSortType(stDate);
  source.SetFormulaKind(fkSum);
  cols[0]->Assign(&source);
  TCustomColumn* c = columns.Items(0);
  EXPECT_EQ(c->Alignment(), taRightJustify);
  EXPECT_EQ(c->Color(), clAqua);
  EXPECT_EQ(c->AuxiliaryText(), "aux");
  EXPECT_EQ(c->Font()->Name(), "Arial");
  EXPECT_EQ(c->Header()->Caption(), "H");
  EXPECT_EQ(c->Header()->DisplayMode(), dmImageOnly);
  EXPECT_EQ(c->Footer()->FormulaKind(), fkMaximum);
  EXPECT_EQ(c->SlideBounds()->Height(), 9);
  EXPECT_EQ(c->Options(), TColumnOptions(coAutoSize));
  EXPECT_EQ(c->Width(), 33);
  EXPECT_EQ(DisplayIndexes(columns), (std::vector<int>{1, 0}));
  EXPECT_EQ(c->DefaultWidth(), 80);
  EXPECT_EQ(c->SortType(), stAlphabetic);
  EXPECT_EQ(c->FormulaKind(), fkNone);
  // The column keeps owning its own parts.
  EXPECT_NE(c->Header(), source.Header());
}

TEST(ColumnDefaults, ConstructorGivesTheStatedDefaults) {
  TCustomColumn c;
  EXPECT_EQ(c.Alignment(), taLeftJustify);
  EXPECT_EQ(c.Color(), clBlack);
  EXPECT_EQ(c.ValueKind(), vkText);
  EXPECT_EQ(c.Cursor(), crDefault);
  EXPECT_EQ(c.DefaultWidth(), 80);
  EXPECT_EQ(c.Width(), 80);
  EXPECT_EQ(c.Position(), -1);
  EXPECT_EQ(int(c.Options()), 0x236);
  EXPECT_EQ(c.WrapKind(), wkEllipsis);
  EXPECT_EQ(c.VerticalAlignment(), vaMiddle);
  EXPECT_EQ(c.Header()->Color(), clBtnFace);
  EXPECT_EQ(c.Header()->DisplayMode(), dmTextOnly);
  EXPECT_EQ(c.Footer()->Color(), clWindow);
  EXPECT_TRUE(c.Visible());
  EXPECT_FALSE(c.Sorted());
  EXPECT_EQ(c.Display(), nullptr);
  EXPECT_EQ(c.Editor(), nullptr);
}

TEST(ColumnHeader, AGlyphLeavesOutTheColourOfItsBottomLeftPixel) {
  FakeColumnGrid grid;
  TColumns columns(&grid);
  NoticeLog log;
  auto* c = new TCustomColumn;
  columns.Add(c);
  log.Attach(columns);
  TBitmap picture(4, 3);
  picture.SetPixel(0, 2, clLime);
  c->Header()->SetGlyph(picture);
  EXPECT_TRUE(c->Header()->Glyph()->Transparent());
  EXPECT_EQ(c->Header()->Glyph()->TransparentColor(), clLime);
  EXPECT_EQ(log.entries, (QStringList{"change:0:4"}));
  TBitmap other(2, 2);
  other.SetPixel(0, 1, clBlue);
  c->Header()->SetGlyph(other);
  EXPECT_EQ(c->Header()->Glyph()->TransparentColor(), clBlue);
  EXPECT_EQ(c->Header()->Glyph()->Width(), 2);
}

TEST(ColumnPlay, StartTakesTheDisplaysBooleanAndChangeCallsOnChange) {
  class Display : public TColumnDisplay {
   public:
    using TColumnDisplay::TColumnDisplay;
    void PaintValue() override {}
  };
  class Play : public TColumnPlay {
   public:
    using TColumnPlay::TColumnPlay;
    void KeyPress(QChar) override { Change(); }
  };
  RegisterDisplayClass("TestDisplay", [](TCustomColumn* c) { return std::make_unique<Display>(c); });
  RegisterPlayClass("TestPlay", [](TCustomColumn* c) { return std::make_unique<Play>(c); });
  TCustomColumn column({"", "TestDisplay", "TestPlay"});
  ASSERT_NE(column.Display(), nullptr);
  ASSERT_NE(column.Play(), nullptr);
  column.Display()->BooleanValue = true;
  column.Display()->CellRect = TRect(10, 5, 60, 25);
  EXPECT_EQ(column.Display()->GetTextRect(), TRect(12, 5, 58, 25));
  column.Play()->Start();
  EXPECT_TRUE(column.Play()->BooleanValue);
  int changes = 0;
  column.Play()->OnChange = [&](TObject* sender) { changes += sender == column.Play(); };
  column.Play()->KeyPress(QLatin1Char(' '));
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(column.Play()->MouseDown(TPoint(1, 1)), EAbstractError);
}

TEST(ColumnCollection, ClearAndDestructionFreeColumnsInIndexOrderWithoutColumnNotices) {
  QStringList freed;
  class Logged : public TCustomColumn {
   public:
    Logged(QStringList& log, QString name) : log_(log), name_(std::move(name)) {}
    ~Logged() override { log_ << name_; }

   private:
    QStringList& log_;
    QString name_;
  };
  QStringList notices;
  {
    TColumns columns;
    for (const char* name : {"a", "b", "c"}) {
      auto* c = new Logged(freed, name);
      c->SetPosition(2);
      columns.Add(c);
    }
    columns.DisplayItems(2)->SetPosition(0);
    columns.ColumnsChanged = [&](TColumns*, TCustomColumn*, int kind) { notices << QString::number(kind); };
    columns.Clear();
    EXPECT_EQ(freed, (QStringList{"a", "b", "c"}));
    columns.Add(new Logged(freed, "d"));
  }
  EXPECT_EQ(freed, (QStringList{"a", "b", "c", "d"}));
  EXPECT_TRUE(notices.isEmpty());
}

// ---- widths stay within their limits and sums do not overflow -------------------

namespace {

struct WidthRow {
  const char* name;
  int given;
  int stored;
};

void PrintTo(const WidthRow& row, std::ostream* os) { *os << row.name; }

class ColumnWidths : public ColumnModel, public ::testing::WithParamInterface<WidthRow> {};

}  // namespace

TEST_P(ColumnWidths, AreKeptBetweenTheMinimumAndTheMaximum) {
  auto cols = AddWithPositions(columns, {0, 1});
  cols[0]->SetWidth(GetParam().given);
  EXPECT_EQ(cols[0]->Width(), GetParam().stored);
  EXPECT_EQ(cols[1]->Left(), GetParam().stored);
  EXPECT_EQ(columns.TotalWidth(), GetParam().stored + 80);
  TCustomColumn loose;
  loose.SetWidth(GetParam().given);
  EXPECT_EQ(loose.Width(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnWidths,
                         ::testing::Values(WidthRow{"BelowTheMinimum", 3, 8}, WidthRow{"Negative", -5, 8},
                                           WidthRow{"Lowest", std::numeric_limits<int>::min(), 8},
                                           WidthRow{"Minimum", 8, 8}, WidthRow{"Maximum", 1000000, 1000000},
                                           WidthRow{"PastTheMaximum", 1000001, 1000000},
                                           WidthRow{"Highest", std::numeric_limits<int>::max(), 1000000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColumnModel, TheWidthsOfManyWideColumnsAddUpPastThe32BitRange) {
  grid.dataLeft = 12;
  auto cols = AddWithPositions(columns, std::vector<int>(2200, 0), kMaxColumnWidth);
  EXPECT_EQ(columns.TotalWidth(), int64_t(2200) * kMaxColumnWidth);
  EXPECT_EQ(cols[2147]->Left(), 12 + 2147 * kMaxColumnWidth);
  // A left edge beyond the 32-bit range stays at its end.
  EXPECT_EQ(cols[2148]->Left(), std::numeric_limits<int>::max());
  EXPECT_EQ(cols[2199]->Left(), std::numeric_limits<int>::max());
  for (auto* c : cols) c->SetOptions(c->Options() | coAutoSize);
  columns.AutoSizeColumns(std::numeric_limits<int>::max());
  EXPECT_EQ(cols[0]->Width(), 976129);  // 2147483635 shared by 2200
  EXPECT_EQ(columns.TotalWidth(), std::numeric_limits<int>::max() - 12);
}

// ---- counts kept by the layout pass ---------------------------------------------

TEST_F(ColumnModel, PaintingTheHeadersOfAThousandColumnsVisitsNoColumnAgain) {
  auto cols = AddWithPositions(columns, std::vector<int>(1000, 0), 20);
  cols[999]->SetVisible(false);
  const int64_t before = columns.LayoutVisits();
  std::vector<int> places;
  for (int i = 0; i < columns.VisibleCount(); ++i) {
    TCustomColumn* c = columns.DisplayItems(i);
    places.push_back(c->Place());
    EXPECT_FALSE(c->IsOnlyVisible());
    EXPECT_EQ(c->PartRect(gaHeader).Left, 20 * i);
  }
  EXPECT_EQ(columns.LayoutVisits(), before);
  EXPECT_EQ(places.size(), 999u);
  EXPECT_EQ(places.front(), 1);
  EXPECT_EQ(places[500], 2);
  EXPECT_EQ(places.back(), 3);
  EXPECT_EQ(columns.TotalWidth(), 999 * 20);
}

TEST_F(ColumnModel, DistributingWidthsLaysOutOnceAndTellsEachWidthAfterwards) {
  auto cols = AddWithPositions(columns, std::vector<int>(1000, 0), 20);
  for (auto* c : cols) c->SetOptions(c->Options() | coAutoSize);
  QStringList seen;
  columns.ColumnsChanged = [&](TColumns*, TCustomColumn* c, int kind) {
    if (c->Index() < 2) seen << QStringLiteral("%1:%2:%3").arg(c->Index()).arg(kind).arg(columns.TotalWidth());
  };
  const int64_t before = columns.LayoutVisits();
  columns.AutoSizeColumns(30000);
  EXPECT_EQ(columns.LayoutVisits() - before, 1000);
  EXPECT_EQ(seen, (QStringList{"0:6:30000", "1:6:30000"}));
  EXPECT_EQ(cols[999]->Left(), 29970);
}

TEST_F(ColumnModel, ClearingLeavesNoVisibleColumnsAndNoWidth) {
  AddWithPositions(columns, {0, 1, 2});
  columns.Clear();
  EXPECT_EQ(columns.VisibleCount(), 0);
  EXPECT_EQ(columns.TotalWidth(), 0);
}

// ---- companions are made once the column is whole -------------------------------

namespace {

class TWholeKindColumn : public TCustomColumn {
 public:
  TWholeKindColumn() : TCustomColumn({"WholeKindEditor", "WholeKindDisplay", "WholeKindPlay"}) {
    SetValueKind(vkFloat);
  }
};

class TStubDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override {}
};

// Records, for each companion made, whether the factory saw its own kind.
QStringList& Made() {
  static QStringList made;
  return made;
}

QString KindSeen(const QString& companion, TCustomColumn* c) {
  const bool whole = dynamic_cast<TWholeKindColumn*>(c) && c->ValueKind() == vkFloat;
  return companion + (whole ? QStringLiteral(":whole") : QStringLiteral(":half"));
}

}  // namespace

TEST(ColumnCompanions, FactoriesSeeTheWholeColumnAndEachCompanionIsMadeOnce) {
  RegisterDisplayClass("WholeKindDisplay", [](TCustomColumn* c) {
    Made() << KindSeen("display", c);
    return std::make_unique<TStubDisplay>(c);
  });
  RegisterPlayClass("WholeKindPlay", [](TCustomColumn* c) {
    Made() << KindSeen("play", c);
    return std::make_unique<TColumnPlay>(c);
  });
  RegisterEditorClass("WholeKindEditor", [](TCustomColumn* c) {
    Made() << KindSeen("editor", c);
    return new QWidget;
  });
  Made().clear();
  TWholeKindColumn column;
  TColumnDisplay* display = column.Display();
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->Column(), &column);
  EXPECT_EQ(column.Display(), display);
  ASSERT_NE(column.Play(), nullptr);
  EXPECT_EQ(column.Play()->Column(), &column);
  ASSERT_NE(column.Editor(), nullptr);
  EXPECT_TRUE(column.Editor()->isHidden());
  EXPECT_EQ(Made(), (QStringList{"display:whole", "play:whole", "editor:whole"}));
}
