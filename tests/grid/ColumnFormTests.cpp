#include <gtest/gtest.h>

#include "ColumnTestSupport.h"
#include "TestSupport.h"
#include "grid/Cells.h"
#include "grid/ColumnClasses.h"
#include "platform/Exceptions.h"
#include "platform/Streaming.h"

// A grid that stores its columns as child objects of its form, with a cell
// store following the collection as the grid view's does.
class TFormGrid : public QObject, public FakeColumnGrid, public IStoredChildren {
  Q_OBJECT
  Q_PROPERTY(int RowSize READ RowSize WRITE SetRowSize)
 public:
  TFormGrid() {
    columns.ColumnListChanged = [this](TObject* s, int k, int a, int b) {
      log << QStringLiteral("list:%1").arg(k);
      cells.ColumnListChanged(s, k, a, b);
    };
  }
  int RowSize() const { return rowSize; }
  void SetRowSize(int v) { rowSize = v; }
  std::vector<TFormObject> StoredChildForms() const override { return columns.StoredForms(); }
  void ReadStoredChildForms(const std::vector<TFormObject>& forms) override { columns.ReadStoredForms(forms); }

  int rowSize = 20;
  TColumns columns{this};
  TCells cells{nullptr, &columns};
  QStringList log;
};

namespace {

struct CallListColumn {
  const char* caption;
  int width;
  int position;
  TSortKind sortKind;
};

const CallListColumn kCallList[] = {
    {"Saat", 96, 2, skAscending},     {"Cihaz seri no.", 116, 3, skAscending}, {"Çağrı sıra no", 101, 4, skAscending},
    {"Hat no.", 69, 0, skDescending}, {"Arayan numara", 128, 1, skAscending},
};

void BuildCallList(TColumns& columns) {
  for (const CallListColumn& entry : kCallList) {
    auto* c = new TTextualColumn;
    c->SetAlignment(taCenter);
    c->SetColor(clWindow);
    c->SetOptions(coAutoSize | coCanInput | coDontHighlight | coPublicUsing);
    c->Header()->SetCaption(QString::fromUtf8(entry.caption));
    c->SetWidth(entry.width);
    c->SetDefaultWidth(entry.width);
    c->SetPosition(entry.position);
    c->SetSortKind(entry.sortKind);
    c->SetAutoExecute(true);
    columns.Add(c);
  }
}

QStringList Captions(const TColumns& columns, bool displayOrder) {
  QStringList out;
  for (int i = 0; i < columns.Count(); ++i)
    out << (displayOrder ? columns.DisplayItems(i) : columns.Items(i))->Header()->Caption();
  return out;
}

class ColumnForms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterClass<TTextualColumn>();
    RegisterClass<TNumericColumn>();
    RegisterClass<TDateColumn>();
  }
};

}  // namespace

TEST_F(ColumnForms, TheCallListsColumnsComeBackWithTheirIndexesPositionsWidthsCaptionsAndOptions) {
  TFormGrid source;
  BuildCallList(source.columns);
  TBitmap glyph(2, 2);
  glyph.SetPixel(1, 0, clRed);
  source.columns.Items(0)->Header()->SetGlyph(glyph);
  const QString text = WriteObjectText(&source, "GridView1");
  EXPECT_TRUE(text.startsWith(
      "object GridView1: TFormGrid\n  RowSize = 20\n  object TTextualColumn\n    Alignment = taCenter\n"));
  EXPECT_TRUE(text.contains("\n    Options = [coAutoSize, coCanInput, coDontHighlight, coPublicUsing]\n"));
  EXPECT_TRUE(text.contains("\n    Header.Caption = 'Çağrı sıra no'\n"));
  EXPECT_TRUE(text.contains("\n    Font.Name = 'MS Sans Serif'\n"));
  EXPECT_TRUE(text.contains("\n    SortKind = skDescending\n"));
  EXPECT_FALSE(text.contains("InputText"));  // empty texts are left out

  TFormGrid target;
  auto* old = new TNumericColumn;
  target.columns.Add(old);
  target.cells.AddRows(2);
  target.log.clear();
  ReadObjectText(&target, text);

  ASSERT_EQ(target.columns.Count(), 5);
  EXPECT_EQ(Captions(target.columns, false), Captions(source.columns, false));
  EXPECT_EQ(Captions(target.columns, true),
            (QStringList{"Hat no.", "Arayan numara", "Saat", "Cihaz seri no.", "Çağrı sıra no"}));
  for (int i = 0; i < 5; ++i) {
    TCustomColumn* read = target.columns.Items(i);
    TCustomColumn* written = source.columns.Items(i);
    EXPECT_EQ(read->Index(), i);
    EXPECT_EQ(read->Position(), written->Position());
    EXPECT_EQ(read->Width(), written->Width());
    EXPECT_EQ(read->DefaultWidth(), written->Width());
    EXPECT_EQ(read->Options(), written->Options());
    EXPECT_EQ(read->SortKind(), written->SortKind());
    EXPECT_EQ(read->Color(), clWindow);
    EXPECT_TRUE(qobject_cast<TTextualColumn*>(read)->AutoExecute());
  }
  EXPECT_EQ(target.columns.Items(3)->Left(), 0);
  EXPECT_EQ(target.columns.Items(0)->Left(), 69 + 128);
  EXPECT_EQ(target.columns.Items(0)->Header()->Glyph()->Pixel(1, 0), clRed);
  // The store dropped the old column with its rows and follows the new ones.
  EXPECT_EQ(target.log, (QStringList{"list:2", "list:0", "list:0", "list:0", "list:0", "list:0"}));
  EXPECT_EQ(target.cells.ColCount(), 5);
  EXPECT_EQ(target.cells.RowCount(), 0);
  EXPECT_FALSE(target.columns.IsReading());
}

namespace {

struct BadForm {
  const char* name;
  const char* text;
  const char* lineMention;
  const char* detail;
};

void PrintTo(const BadForm& f, std::ostream* os) { *os << f.name; }

class BadColumnForms : public ColumnForms, public ::testing::WithParamInterface<BadForm> {};

}  // namespace

TEST_P(BadColumnForms, RaiseOneClearErrorAndLeaveTheCollectionAsItWas) {
  TFormGrid grid;
  BuildCallList(grid.columns);
  grid.cells.AddRows(3);
  grid.cells.Cell(4, 2).SetAsText("05321234567");
  grid.log.clear();
  const QString before = WriteObjectText(&grid);
  try {
    ReadObjectText(&grid, QString::fromUtf8(GetParam().text));
    FAIL() << "no read error";
  } catch (const EReadError& e) {
    EXPECT_TRUE(e.Message().contains(QLatin1String(GetParam().lineMention))) << e.Message().toStdString();
    EXPECT_TRUE(e.Message().contains(QLatin1String(GetParam().detail))) << e.Message().toStdString();
  }
  EXPECT_EQ(WriteObjectText(&grid), before);
  EXPECT_TRUE(grid.log.isEmpty());
  EXPECT_EQ(grid.cells.RowCount(), 3);
  EXPECT_EQ(grid.cells.Cell(4, 2).AsText(), "05321234567");
  EXPECT_FALSE(grid.columns.IsReading());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadColumnForms,
    ::testing::Values(
        BadForm{"UnknownClass",
                "object G: TFormGrid\n  object TTextualColumn\n  end\n  object TMysteryColumn\n  end\nend\n", "Line 4",
                "TMysteryColumn"},
        BadForm{"UnknownProperty", "object G: TFormGrid\n  object TTextualColumn\n    Widht = 5\n  end\nend\n",
                "Line 3", "Widht"},
        BadForm{"UnknownPart", "object G: TFormGrid\n  object TTextualColumn\n    Heading.Caption = 'x'\n  end\nend\n",
                "Line 3", "Heading.Caption"},
        BadForm{"BadValue",
                "object G: TFormGrid\n  object TTextualColumn\n    Width = 10\n  end\n  object TTextualColumn\n    "
                "Alignment = taMiddle\n  end\nend\n",
                "Line 6", "Alignment"},
        BadForm{"BadSetMember",
                "object G: TFormGrid\n  object TNumericColumn\n    Options = [coAutoSize, coFlying]\n  end\nend\n",
                "Line 3", "coFlying"},
        BadForm{"TextForNumber", "object G: TFormGrid\n  object TTextualColumn\n    Width = 'wide'\n  end\nend\n",
                "Line 3", "Width"},
        BadForm{"Unterminated", "object G: TFormGrid\n  object TTextualColumn\n    Width = 10\nend\n", "Line 4",
                "'end' expected"},
        BadForm{"TruncatedString", "object G: TFormGrid\n  object TTextualColumn\n    Header.Caption = 'Sa", "Line 3",
                "unterminated string"},
        BadForm{"TruncatedValue", "object G: TFormGrid\n  object TTextualColumn\n    Width =", "Line 3",
                "value expected"},
        BadForm{"BadGridProperty", "object G: TFormGrid\n  RowSize = True\n  object TTextualColumn\n  end\nend\n",
                "Line 2", "RowSize"},
        BadForm{"WrongRoot", "object G: TOtherGrid\nend\n", "Line 1", "TOtherGrid"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColumnForms, AStoredWidthPastTheMaximumIsCappedAndLaysOutWithoutOverflow) {
  const QString column = "  object TTextualColumn\n    Width = 2147483647\n  end\n";
  TFormGrid grid;
  ReadObjectText(&grid, "object G: TFormGrid\n" + column + column + column + "end\n");
  ASSERT_EQ(grid.columns.Count(), 3);
  EXPECT_EQ(grid.columns.Items(0)->Width(), kMaxColumnWidth);
  EXPECT_EQ(grid.columns.Items(2)->Left(), 2 * kMaxColumnWidth);
  EXPECT_EQ(grid.columns.TotalWidth(), 3 * kMaxColumnWidth);
}

TEST_F(ColumnForms, AnEmptyDefaultValueComesBackEmptyWhereTheKindGivesOne) {
  TFormGrid source;
  source.columns.Add(new TNumericColumn);
  source.columns.Add(new TDateColumn);
  source.columns.Add(new TTextualColumn);
  source.columns.Add(new TNumericColumn);
  for (int i = 0; i < 3; ++i) source.columns.Items(i)->SetDefaultValue(QString());
  const QString text = WriteObjectText(&source);
  EXPECT_EQ(text.count("DefaultValue = ''"), 2);  // the textual column's default is empty already
  EXPECT_EQ(text.count("DefaultValue = '0'"), 1);

  TFormGrid target;
  ReadObjectText(&target, text);
  ASSERT_EQ(target.columns.Count(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(target.columns.Items(i)->DefaultValue(), "") << i;
  EXPECT_EQ(target.columns.Items(3)->DefaultValue(), "0");
  EXPECT_EQ(WriteObjectText(&target), text);
}

#include "ColumnFormTests.moc"
