// Grid forms with integers at the ends of their range: the values a column
// keeps stay within the grid's range, the grid paints, and the form it
// writes reads back to itself.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "TestSupport.h"
#include "grid/ColumnClasses.h"
#include "grid/GridView.h"
#include "platform/Streaming.h"

namespace {

struct ExtremeCase {
  const char* name;
  const char* gridStyle;
  const char* column;  // the one column's class and properties
  const char* property;
  int expected;
};
void PrintTo(const ExtremeCase& c, std::ostream* os) { *os << c.name; }

// A property of the column or of one of its parts ("SlideBounds.Left").
int PropertyAt(QObject* object, const QString& path) {
  const QStringList parts = path.split(QLatin1Char('.'));
  for (int i = 0; i + 1 < parts.size(); ++i) object = object->property(qPrintable(parts[i])).value<QObject*>();
  return object->property(qPrintable(parts.last())).toInt();
}

class ExtremeForm : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeForm, KeepsValuesInRangeAndPaints) {
  const ExtremeCase& c = GetParam();
  TGridView grid;
  grid.SetBounds(0, 0, 240, 120);
  ReadObjectText(&grid, QStringLiteral("object GridView1: TGridView\n  GridStyle = %1\n  object %2\n  end\nend\n")
                            .arg(QLatin1String(c.gridStyle), QLatin1String(c.column)));
  ASSERT_EQ(grid.Columns()->Count(), 1);
  EXPECT_EQ(PropertyAt(grid.Columns()->Items(0), QLatin1String(c.property)), c.expected);

  grid.AddRows(2);
  for (int r = 0; r < 2; ++r) grid.SetCellText(0, r, QStringLiteral("50"));
  grid.Repaint();

  const QString written = WriteObjectText(&grid);
  ReadObjectText(&grid, written);
  EXPECT_EQ(WriteObjectText(&grid), written);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, ExtremeForm,
    ::testing::Values(
        ExtremeCase{"SlideLeft", "gsSlides",
                    "TTextualColumn\n    SlideBounds.Left = 2147483647\n    SlideBounds.Width = 2147483647",
                    "SlideBounds.Left", 1000000},
        ExtremeCase{"SlideHeight", "gsSlides",
                    "TTextualColumn\n    SlideBounds.Top = -2147483648\n    SlideBounds.Height = 2147483647",
                    "SlideBounds.Top", -1000000},
        ExtremeCase{"ProgressMargin", "gsReport", "TProgressColumn\n    Margin = -2147483648\n    ShowText = True",
                    "Margin", -1000000},
        ExtremeCase{"GraphicMargin", "gsReport", "TGraphicColumn\n    Margin = -2147483648\n    BorderWidth = 3",
                    "Margin", -1000000}),
    [](const auto& info) { return std::string(info.param.name); });

// The backing image covers what a screen can show, not a stored size.
TEST(ExtremeFormGrid, AHugeStoredSizeKeepsTheBackingImageToTheScreen) {
  TGridView grid;
  ReadObjectText(&grid, QStringLiteral("object GridView1: TGridView\n  Width = 2147483647\n  Height = 2147483647\n"
                                       "  object TTextualColumn\n  end\nend\n"));
  grid.AddRows(2);
  grid.Repaint();
  const QSize screen = QGuiApplication::primaryScreen()->virtualSize();
  EXPECT_FALSE(grid.Image().isNull());
  EXPECT_LE(grid.Image().width(), screen.width());
  EXPECT_LE(grid.Image().height(), screen.height());
  EXPECT_GT(grid.ClientWidth(), screen.width());
}

}  // namespace
