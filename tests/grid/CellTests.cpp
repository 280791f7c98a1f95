#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "ColumnTestSupport.h"
#include "CommaDecimalLocale.h"
#include "TestSupport.h"
#include "grid/CellClasses.h"
#include "grid/Cells.h"
#include "grid/ColumnClasses.h"
#include "platform/Exceptions.h"

namespace {

class KindColumn : public TCustomColumn {
 public:
  explicit KindColumn(TValueKind kind) { SetValueKind(kind); }
};

// A grid of the given column kinds over a store that follows its collection.
class CellStore : public ::testing::Test {
 protected:
  FakeColumnGrid grid;
  TColumns columns{&grid};
  TCells cells{nullptr, &columns};
  QStringList changes;

  void SetUp() override {
    columns.ColumnListChanged = [this](TObject* s, int k, int a, int b) { cells.ColumnListChanged(s, k, a, b); };
    cells.OnCellChanged = [this](TCells*, int c, int r) { changes << QStringLiteral("%1,%2").arg(c).arg(r); };
  }

  TCustomColumn* AddColumn(TValueKind kind, TColor color = clWindow) {
    auto* c = new KindColumn(kind);
    c->SetColor(color);
    columns.Add(c);
    return c;
  }

  void FillText(int col, const QStringList& texts) {
    if (cells.RowCount() < texts.size()) cells.AddRows(int(texts.size()) - cells.RowCount());
    for (int r = 0; r < texts.size(); ++r) cells.Cell(col, r).SetAsText(texts[r]);
  }

  QStringList Texts(int col) {
    QStringList out;
    for (int r = 0; r < cells.RowCount(); ++r) out << cells.Cell(col, r).AsText();
    return out;
  }
};

}  // namespace

// ---- conversions -------------------------------------------------------------

TEST_F(CellStore, BooleanCellConversions) {
  AddColumn(vkBoolean);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  EXPECT_STREQ(c.CellClass().ClassName(), "TBooleanCell");
  c.SetAsBoolean(true);
  EXPECT_EQ(c.AsInteger(), 0);
  EXPECT_EQ(c.AsFloat(), 0);
  EXPECT_EQ(c.AsDateTime(), 0);
  EXPECT_EQ(c.AsText(), "True");
  c.SetAsText("TRUE");
  EXPECT_TRUE(c.AsBoolean());
  c.SetAsText("yes");
  EXPECT_FALSE(c.AsBoolean());
  c.SetAsFloat(0.5);
  EXPECT_TRUE(c.AsBoolean());
  c.SetAsInteger(-3);
  EXPECT_FALSE(c.AsBoolean());
  c.SetAsBoolean(true);
  c.SetAsDateTime(45000);
  EXPECT_FALSE(c.AsBoolean());
}

TEST_F(CellStore, DateTimeCellConversions) {
  AddColumn(vkDateTime);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  c.SetAsBoolean(false);
  EXPECT_EQ(c.AsDateTime(), std::trunc(Now()));
  c.SetAsText("15.03.2024 10:30:00");
  EXPECT_EQ(c.AsText(), "15.03.2024 10:30:00");
  EXPECT_DOUBLE_EQ(c.AsFloat(), EncodeDate(2024, 3, 15) + EncodeTime(10, 30, 0, 0));
  EXPECT_EQ(c.AsInteger(), int(EncodeDate(2024, 3, 15)));
  EXPECT_FALSE(c.AsBoolean());
  c.SetAsInteger(2);
  EXPECT_EQ(c.AsText(), "01.01.1900");
  c.SetAsFloat(2.5);
  EXPECT_EQ(c.AsText(), "01.01.1900 12:00:00");
}

// The calendar's "None" gives "0": the empty date, not a conversion error.
TEST_F(CellStore, DateTimeCellTakesZeroAsTheEmptyDate) {
  AddColumn(vkDateTime);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  c.SetAsText("15.03.2024");
  c.SetAsText("0");
  EXPECT_EQ(c.AsDateTime(), 0);
}

TEST_F(CellStore, FloatCellConversions) {
  AddColumn(vkFloat);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  c.SetAsText("2,5");
  EXPECT_EQ(c.AsFloat(), 2.5);
  EXPECT_EQ(c.AsInteger(), 2);  // halves to even
  EXPECT_EQ(c.AsText(), "2,5");
  c.SetAsFloat(3.5);
  EXPECT_EQ(c.AsInteger(), 4);
  c.SetAsBoolean(true);
  EXPECT_EQ(c.AsFloat(), 0.0);
  EXPECT_FALSE(c.AsBoolean());
  c.SetAsFloat(1e20);
  EXPECT_THROW(c.AsInteger(), EConvertError);
}

TEST_F(CellStore, IntegerCellConversions) {
  AddColumn(vkInteger);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  c.SetAsFloat(2.5);
  EXPECT_EQ(c.AsInteger(), 2);
  c.SetAsFloat(3.5);
  EXPECT_EQ(c.AsInteger(), 4);
  c.SetAsText("-17");
  EXPECT_EQ(c.AsText(), "-17");
  EXPECT_EQ(c.AsFloat(), -17.0);
  EXPECT_EQ(c.AsDateTime(), 0);
  c.SetAsDateTime(100);
  EXPECT_EQ(c.AsInteger(), 0);
  c.SetAsInteger(9);
  c.SetAsBoolean(true);
  EXPECT_EQ(c.AsInteger(), 0);
}

TEST_F(CellStore, StringCellConversions) {
  AddColumn(vkText);
  cells.AddRows(1);
  TCell c = cells.Cell(0, 0);
  c.SetAsBoolean(true);
  EXPECT_EQ(c.AsText(), "True");
  c.SetAsText("fAlSe");
  EXPECT_FALSE(c.AsBoolean());
  c.SetAsText("0,5");
  EXPECT_TRUE(c.AsBoolean());
  EXPECT_EQ(c.AsFloat(), 0.5);
  c.SetAsFloat(1.25);
  EXPECT_EQ(c.AsText(), "1,25");
  c.SetAsInteger(42);
  EXPECT_EQ(c.AsInteger(), 42);
  c.SetAsDateTime(EncodeDate(2024, 3, 15));
  EXPECT_EQ(c.AsText(), "15.03.2024");
  EXPECT_EQ(c.AsDateTime(), EncodeDate(2024, 3, 15));
  c.SetAsText("abc");
  EXPECT_THROW(c.AsBoolean(), EConvertError);
  EXPECT_THROW(c.AsFloat(), EConvertError);
}

TEST_F(CellStore, AFailedConversionKeepsTheValueAndTellsNobody) {
  AddColumn(vkInteger);
  cells.AddRows(1);
  cells.Cell(0, 0).SetAsInteger(7);
  changes.clear();
  try {
    cells.Cell(0, 0).SetAsText("x1");
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
  }
  EXPECT_EQ(cells.Cell(0, 0).AsInteger(), 7);
  EXPECT_TRUE(changes.isEmpty());
}

// ---- rows and notices --------------------------------------------------------

TEST_F(CellStore, NewCellsTakeTheirColumnsClassAndColourSilently) {
  AddColumn(vkText, clRed);
  AddColumn(vkBoolean, clLime);
  cells.AddRows(2);
  EXPECT_TRUE(changes.isEmpty());
  EXPECT_EQ(cells.Cell(0, 1).Color(), clRed);
  EXPECT_EQ(cells.Cell(1, 1).Color(), clLime);
  EXPECT_STREQ(cells.Cell(1, 0).CellClass().ClassName(), "TBooleanCell");
  // A later colour change of the column leaves existing cells alone.
  columns.Items(0)->SetColor(clBlue);
  cells.InsertRow(0);
  EXPECT_EQ(cells.Cell(0, 0).Color(), clBlue);
  EXPECT_EQ(cells.Cell(0, 1).Color(), clRed);
  cells.Cell(0, 1).SetColor(clYellow);
  EXPECT_EQ(changes, QStringList{"0,1"});
}

TEST_F(CellStore, AppendingAColumnToAStoreWithRowsGivesItCellsWithoutNotices) {
  AddColumn(vkText);
  FillText(0, {"a", "b", "c"});
  changes.clear();
  AddColumn(vkFloat, clAqua);
  ASSERT_EQ(cells.ColCount(), 2);
  for (int r = 0; r < 3; ++r) {
    EXPECT_STREQ(cells.Cell(1, r).CellClass().ClassName(), "TFloatCell");
    EXPECT_EQ(cells.Cell(1, r).Color(), clAqua);
    EXPECT_EQ(cells.Cell(1, r).AsFloat(), 0.0);
  }
  EXPECT_TRUE(changes.isEmpty());
  columns.Clear();
  EXPECT_EQ(cells.ColCount(), 0);
  EXPECT_EQ(cells.RowCount(), 0);
}

TEST_F(CellStore, BulkDeleteClosesEveryGapInEveryColumn) {
  AddColumn(vkText);
  AddColumn(vkInteger);
  cells.AddRows(6);
  for (int r = 0; r < 6; ++r) {
    cells.Cell(0, r).SetAsText(QString(QChar('a' + r)));
    cells.Cell(1, r).SetAsInteger(r);
  }
  cells.Cell(0, 4).SetHint("hint");
  EXPECT_THROW(cells.DeleteRows({0, 6}), EListError);
  EXPECT_THROW(cells.DeleteRows({2, 1}), EListError) << "rows must ascend";
  EXPECT_EQ(Texts(0), (QStringList{"a", "b", "c", "d", "e", "f"})) << "a refused bulk delete deletes nothing";
  cells.DeleteRows({0, 2, 3, 5});
  EXPECT_EQ(Texts(0), (QStringList{"b", "e"}));
  EXPECT_EQ(Texts(1), (QStringList{"1", "4"}));
  EXPECT_EQ(cells.Cell(0, 1).Hint(), "hint");
  EXPECT_TRUE(cells.IsConsistent());
}

TEST_F(CellStore, RowOperationsKeepEveryColumnInStep) {
  AddColumn(vkText);
  AddColumn(vkInteger);
  cells.AddRows(4);
  for (int r = 0; r < 4; ++r) {
    cells.Cell(0, r).SetAsText(QString(QChar('a' + r)));
    cells.Cell(1, r).SetAsInteger(r);
  }
  cells.Cell(0, 2).SetHint("hint");
  cells.DeleteRow(0);   // b c d
  cells.InsertRow(1);   // b _ c d
  cells.MoveRow(3, 0);  // d b _ c
  EXPECT_EQ(Texts(0), (QStringList{"d", "b", "", "c"}));
  EXPECT_EQ(Texts(1), (QStringList{"3", "1", "0", "2"}));
  EXPECT_EQ(cells.Cell(0, 3).Hint(), "hint");
  EXPECT_EQ(cells.Cell(0, 0).Hint(), "");
  EXPECT_TRUE(cells.IsConsistent());
  EXPECT_THROW(cells.Cell(0, 4), EListError);
  EXPECT_THROW(cells.Cell(2, 0), EListError);
  EXPECT_THROW(cells.DeleteRow(4), EListError);
  EXPECT_THROW(cells.InsertRow(5), EListError);

  TCell kept = cells.Cell(1, 3);
  cells.ClearRows();
  EXPECT_EQ(cells.RowCount(), 0);
  EXPECT_THROW(kept.SetAsInteger(1), EListError);
  cells.AddRows(1);
  EXPECT_EQ(cells.Cell(0, 0).Hint(), "");
}

TEST_F(CellStore, SettersNotifyTheirCellAndClearSortValid) {
  AddColumn(vkText);
  FillText(0, {"b", "a"});
  cells.Sort(0, stAlphabetic, false);
  EXPECT_TRUE(cells.SortValid());
  changes.clear();
  cells.Cell(0, 1).SetAsText("0");
  EXPECT_EQ(changes, QStringList{"0,1"});
  EXPECT_FALSE(cells.SortValid());
}

// ---- sorting -----------------------------------------------------------------

TEST_F(CellStore, AlphabeticOrderComparesCodeUnitsAndShorterPrefixesFirst) {
  AddColumn(vkText);
  FillText(0, {"abc", "a", "B", "ab", "", "Ç"});
  cells.Sort(0, stAlphabetic, false);
  EXPECT_EQ(Texts(0), (QStringList{"", "B", "a", "ab", "abc", "Ç"}));
}

TEST_F(CellStore, SameRequestDoesNothingEvenWithAnotherSortType) {
  AddColumn(vkText);
  FillText(0, {"9", "10", "2"});
  cells.Sort(0, stAlphabetic, false);
  EXPECT_EQ(Texts(0), (QStringList{"10", "2", "9"}));
  cells.Sort(0, stNumeric, false);
  EXPECT_EQ(Texts(0), (QStringList{"10", "2", "9"}));
  // Deleting keeps the sort state.
  cells.DeleteRow(0);
  cells.Sort(0, stNumeric, false);
  EXPECT_EQ(Texts(0), (QStringList{"2", "9"}));
  cells.Cell(0, 0).SetAsText("30");
  cells.Sort(0, stNumeric, false);
  EXPECT_EQ(Texts(0), (QStringList{"9", "30"}));
}

TEST_F(CellStore, OppositeDirectionReversesRowsExactlyIncludingEqualKeys) {
  AddColumn(vkText);
  AddColumn(vkInteger);
  const QStringList keys{"b", "a", "b", "a", "c", "b", "a"};
  FillText(0, keys);
  for (int r = 0; r < keys.size(); ++r) cells.Cell(1, r).SetAsInteger(r);
  cells.Cell(1, 4).SetColor(clYellow);
  cells.Sort(0, stAlphabetic, false);
  EXPECT_EQ(cells.Cell(1, 6).Color(), clYellow) << "a colour goes with its row";
  EXPECT_NE(cells.Cell(1, 4).Color(), clYellow);
  const QStringList ascending = Texts(1);
  cells.Sort(0, stAlphabetic, true);
  QStringList reversed = ascending;
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(Texts(1), reversed);
  EXPECT_TRUE(cells.SortDescending());
  EXPECT_EQ(Texts(0), (QStringList{"c", "b", "b", "b", "a", "a", "a"}));
}

TEST_F(CellStore, IpOrderComparesNumbersFirstPartFirst) {
  AddColumn(vkText);
  FillText(0, {"192.168.1.10", "10.0.0.0", "192.168.1.2", "", "9.1.1.1", "1.2.3.4.99"});
  cells.Sort(0, stIP, false);
  EXPECT_EQ(Texts(0), (QStringList{"", "1.2.3.4.99", "9.1.1.1", "10.0.0.0", "192.168.1.2", "192.168.1.10"}));
  // Parts beyond 16 bits still order as numbers.
  FillText(0, {"70000.0.0.1", "9.9.9.9", "65536.0.0.0", "65535.99999999.0.0", "", "2147483647.0.0.0"});
  cells.Sort(0, stIP, true);
  EXPECT_EQ(Texts(0),
            (QStringList{"2147483647.0.0.0", "70000.0.0.1", "65536.0.0.0", "65535.99999999.0.0", "9.9.9.9", ""}));
  cells.Cell(0, 0).SetAsText("2147483648.0.0.0");
  EXPECT_THROW(cells.Sort(0, stIP, false), EConvertError);
}

TEST_F(CellStore, AConversionErrorDuringASortLeavesRowsAndSortStateAlone) {
  AddColumn(vkText);
  AddColumn(vkText);
  FillText(0, {"b", "a", "c", "d"});
  FillText(1, {"3", "1,5", "2", "1..2"});
  cells.Sort(0, stAlphabetic, false);
  EXPECT_THROW(cells.Sort(1, stNumeric, false), EConvertError);
  EXPECT_THROW(cells.Sort(1, stIP, false), EConvertError);
  EXPECT_TRUE(cells.SortValid());
  EXPECT_EQ(cells.SortColumn(), 0);
  EXPECT_EQ(Texts(0), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(Texts(1), (QStringList{"1,5", "3", "2", "1..2"}));
}

TEST_F(CellStore, BooleanDateAndNumericSortsOrderByValue) {
  AddColumn(vkBoolean);
  AddColumn(vkDateTime);
  AddColumn(vkFloat);
  cells.AddRows(3);
  const bool flags[] = {true, false, true};
  const double dates[] = {45000, 44000, 46000};
  const double numbers[] = {2.5, -1, NAN};
  for (int r = 0; r < 3; ++r) {
    cells.Cell(0, r).SetAsBoolean(flags[r]);
    cells.Cell(1, r).SetAsDateTime(dates[r]);
    cells.Cell(2, r).SetAsFloat(numbers[r]);
  }
  cells.Sort(1, stDate, false);
  EXPECT_EQ(cells.Cell(1, 0).AsDateTime(), 44000);
  EXPECT_FALSE(cells.Cell(0, 0).AsBoolean());
  cells.Sort(0, stBoolean, true);
  EXPECT_TRUE(cells.Cell(0, 0).AsBoolean());
  EXPECT_FALSE(cells.Cell(0, 2).AsBoolean());
  cells.Sort(2, stNumeric, false);
  EXPECT_TRUE(std::isnan(cells.Cell(2, 0).AsFloat()));
  EXPECT_EQ(cells.Cell(2, 1).AsFloat(), -1);
  EXPECT_EQ(cells.Cell(2, 2).AsFloat(), 2.5);
}

// A check box column sorts numerically, and a Boolean cell reads as the
// number 0 either way: the sort must still go by what the boxes hold.
TEST_F(CellStore, ANumericSortOfBooleansOrdersByTruth) {
  AddColumn(vkBoolean);
  cells.AddRows(8);
  for (int r = 0; r < 8; ++r) cells.Cell(0, r).SetAsBoolean(r < 4);
  cells.Sort(0, stNumeric, false);
  QList<bool> sorted;
  for (int r = 0; r < 8; ++r) sorted << cells.Cell(0, r).AsBoolean();
  EXPECT_EQ(sorted, (QList<bool>{false, false, false, false, true, true, true, true}));
}

// Random keys, many duplicates, sorted, reversed and constant inputs: every
// sort must end in key order and keep each row whole.
TEST_F(CellStore, RandomInputsEndInTheReferenceOrder) {
  AddColumn(vkInteger);
  AddColumn(vkInteger);
  std::mt19937 random(7);
  const auto shapes = {0, 1, 2, 3, 4};
  for (int size : {0, 1, 2, 3, 17, 200}) {
    for (int shape : shapes) {
      for (bool descending : {false, true}) {
        cells.ClearRows();
        cells.AddRows(size);
        std::vector<std::pair<int, int>> rows;
        for (int r = 0; r < size; ++r) {
          const int key = shape == 0   ? int(random() % 5)
                          : shape == 1 ? r
                          : shape == 2 ? size - r
                          : shape == 3 ? 4
                                       : int(random() % 1000);
          cells.Cell(0, r).SetAsInteger(key);
          cells.Cell(1, r).SetAsInteger(key * 10000 + r);
          rows.emplace_back(key, r);
        }
        cells.Sort(0, stNumeric, descending);
        std::vector<int> keys, expected;
        for (int r = 0; r < size; ++r) {
          keys.push_back(cells.Cell(0, r).AsInteger());
          // The second column still belongs to the key of its row.
          EXPECT_EQ(cells.Cell(1, r).AsInteger() / 10000, keys.back());
        }
        for (const auto& row : rows) expected.push_back(row.first);
        std::sort(expected.begin(), expected.end());
        if (descending) std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(keys, expected) << "size " << size << " shape " << shape;
        std::vector<int> payload;
        for (int r = 0; r < size; ++r) payload.push_back(cells.Cell(1, r).AsInteger() % 10000);
        std::sort(payload.begin(), payload.end());
        for (int r = 0; r < size; ++r) EXPECT_EQ(payload[size_t(r)], r);
        EXPECT_TRUE(cells.IsConsistent());
      }
    }
  }
}

TEST_F(CellStore, ASortedColumnOfAnotherIndexSortsInFull) {
  AddColumn(vkText);
  AddColumn(vkText);
  FillText(0, {"b", "a", "c"});
  FillText(1, {"1", "3", "2"});
  cells.Sort(0, stAlphabetic, false);
  cells.Sort(1, stAlphabetic, false);
  EXPECT_EQ(Texts(1), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Texts(0), (QStringList{"b", "c", "a"}));
  EXPECT_EQ(cells.SortColumn(), 1);
  EXPECT_THROW(cells.Sort(2, stAlphabetic, false), EListError);
}

// ---- date-times the platform cannot show ----------------------------------------

namespace {

struct DateRangeRow {
  const char* name;
  TValueKind kind;
  std::function<void(TCells&)> prepare;
  std::function<void(TCells&)> act;
};

void PrintTo(const DateRangeRow& row, std::ostream* os) { *os << row.name; }

class DateTimesOutOfRange : public CellStore, public ::testing::WithParamInterface<DateRangeRow> {
 protected:
  // The stored values, read without any date conversion.
  QStringList Stored() {
    QStringList out;
    for (int r = 0; r < cells.RowCount(); ++r) {
      TCell c = cells.Cell(0, r);
      out << (GetParam().kind == vkText ? c.AsText() : QString::number(c.AsFloat(), 'g', 17));
    }
    return out;
  }
};

void TwoDates(TCells& cells, double first, double second) {
  cells.Cell(0, 0).SetAsFloat(first);
  cells.Cell(0, 1).SetAsFloat(second);
}

}  // namespace

TEST_P(DateTimesOutOfRange, RaiseAConversionErrorAndChangeNothing) {
  AddColumn(GetParam().kind);
  AddColumn(vkInteger);
  cells.AddRows(2);
  cells.Cell(1, 1).SetAsInteger(1);  // already in order: the sort moves nothing
  GetParam().prepare(cells);
  cells.Sort(1, stNumeric, false);
  const QStringList before = Stored();
  changes.clear();
  try {
    GetParam().act(cells);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_TRUE(e.Message().contains(QLatin1String("years 1 to 9999"))) << e.Message().toStdString();
  }
  EXPECT_EQ(Stored(), before);
  EXPECT_TRUE(changes.isEmpty());
  EXPECT_TRUE(cells.SortValid());
  EXPECT_EQ(cells.SortColumn(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimesOutOfRange,
    ::testing::Values(DateRangeRow{"TextCellGivenNaN", vkText, [](TCells& c) { c.Cell(0, 0).SetAsText("1"); },
                                   [](TCells& c) { c.Cell(0, 0).SetAsDateTime(NAN); }},
                      DateRangeRow{"TextCellGivenTheLowestDouble", vkText,
                                   [](TCells& c) { c.Cell(0, 1).SetAsText("2"); },
                                   [](TCells& c) { c.Cell(0, 1).SetAsDateTime(-1.797e308); }},
                      DateRangeRow{"DateCellHoldingAHugeFloatAsText", vkDateTime,
                                   [](TCells& c) { TwoDates(c, 5, 1e300); }, [](TCells& c) { c.Cell(0, 1).AsText(); }},
                      DateRangeRow{"DateCellHoldingNaNAsText", vkDateTime, [](TCells& c) { TwoDates(c, NAN, 5); },
                                   [](TCells& c) { c.Cell(0, 0).AsText(); }},
                      DateRangeRow{"AlphabeticSortOfAHugeDate", vkDateTime, [](TCells& c) { TwoDates(c, 5, 1e300); },
                                   [](TCells& c) { c.Sort(0, stAlphabetic, false); }},
                      DateRangeRow{"AddressSortOfAHugeDate", vkDateTime, [](TCells& c) { TwoDates(c, 5, -1e300); },
                                   [](TCells& c) { c.Sort(0, stIP, true); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- conversions under a comma-decimal C library locale --------------------------

TEST_F(CellStore, NumbersConvertByTheFormatSettingsWhateverTheCLibraryLocale) {
  CommaDecimalLocale locale;
  if (!locale.Active()) GTEST_SKIP() << CommaDecimalLocale::Reason();
  AddColumn(vkFloat);
  AddColumn(vkText);
  FillText(0, {"1,5", "-9,22E18", ",0510"});
  FillText(1, {"1,5", "-9,22E18", ",0510"});
  EXPECT_EQ(cells.Cell(0, 0).AsFloat(), 1.5);
  EXPECT_EQ(cells.Cell(0, 1).AsFloat(), -9.22e18);
  EXPECT_EQ(cells.Cell(1, 2).AsFloat(), 0.051);
  cells.Sort(1, stNumeric, false);
  EXPECT_EQ(Texts(1), (QStringList{"-9,22E18", ",0510", "1,5"}));
  TNumericColumn numeric;
  numeric.SetFormatMask("0.00");
  EXPECT_EQ(numeric.FormatText("2,5"), "2,50");
}

// ---- invariants that fire --------------------------------------------------------

TEST(CellStoreInvariants, AreCheckedInTestBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto moveOverAShortColumn = [] {
    TColumns columns;
    TCells cells(nullptr, &columns);
    columns.ColumnListChanged = [&cells](TObject* s, int k, int a, int b) { cells.ColumnListChanged(s, k, a, b); };
    columns.Add(new KindColumn(vkText));
    cells.AddRows(3);
    cells.List(0).Colors.pop_back();  // one colour short of the rows
    cells.MoveRow(0, 2);
  };
  EXPECT_DEATH(moveOverAShortColumn(), "IsConsistent");
}
