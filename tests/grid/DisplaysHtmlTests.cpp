#include <gtest/gtest.h>

#include <vector>

#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/ColumnClasses.h"

namespace {

const TRect kCell(4, 3, 154, 43);

// A run of text as the mark-up should show it, or a line break.
struct Piece {
  QString text;
  TFontStyles style = {};
  TColor color = clWindowText;
  int height = -11;
  bool lineBreak = false;
};
Piece Br() { return Piece{{}, {}, clWindowText, -11, true}; }

// Draws the pieces character by character from the cell's top-left corner,
// each line as high as its tallest character.
QImage Expected(const THtmlColumn& column, const std::vector<Piece>& pieces) {
  Sheet sheet;
  TCanvas& c = sheet.canvas;
  c.Font()->Assign(column.Font());
  c.Brush()->SetStyle(bsClear);
  int x = kCell.Left, y = kCell.Top, line = 0;
  for (const Piece& piece : pieces) {
    if (piece.lineBreak) {
      y += line;
      line = 0;
      x = kCell.Left;
      continue;
    }
    c.Font()->SetStyle(piece.style);
    c.Font()->SetColor(piece.color);
    c.Font()->SetHeight(piece.height);
    for (const QChar ch : piece.text) {
      line = std::max(line, c.TextHeight(ch));
      c.TextOut(x, y, ch);
      x += c.TextWidth(ch);
    }
  }
  return sheet.Picture();
}

QImage Painted(THtmlColumn& column, Sheet& sheet, const QString& markup) {
  TColumnDisplay* display = Bind(column, sheet, kCell);
  display->TextValue = markup;
  EXPECT_NO_THROW(display->PaintValue());
  return sheet.Picture();
}

struct MarkupRow {
  const char* name;
  QString markup;
  std::vector<Piece> shown;
};
void PrintTo(const MarkupRow& row, std::ostream* os) { *os << row.name; }

class HtmlCell : public ::testing::TestWithParam<MarkupRow> {};

TEST_P(HtmlCell, MarkupComesOutInItsStyles) {
  const MarkupRow& row = GetParam();
  THtmlColumn column;
  Sheet sheet;
  EXPECT_TRUE(Painted(column, sheet, row.markup) == Expected(column, row.shown));
}

const TColor kLink = RGB(0, 0, 255);

INSTANTIATE_TEST_SUITE_P(
    Subset, HtmlCell,
    ::testing::Values(
        MarkupRow{"PlainTextFromTheTopLeftCorner", "Hat 1", {{"Hat 1"}}},
        MarkupRow{"BoldThenRegular", "<b>x</b>y", {{"x", fsBold}, {"y"}}},
        MarkupRow{"TagNamesIgnoreCase", "<B>x</B>y", {{"x", fsBold}, {"y"}}},
        MarkupRow{"ItalicAndUnderline", "<i>a</i><u>b</u>c", {{"a", fsItalic}, {"b", fsUnderline}, {"c"}}},
        MarkupRow{"NestedBoldStaysUntilTheLastClose", "<b><b>x</b>y</b>z", {{"xy", fsBold}, {"z"}}},
        MarkupRow{"BreakStartsTheNextLineOneTextHeightLower", "a<br>b", {{"a"}, Br(), {"b"}}},
        MarkupRow{"UnknownTagChangesNothing", "<q>x</q>y", {{"xy"}}},
        MarkupRow{"FontColour", "<font color=#FF0000>x", {{"x", {}, RGB(255, 0, 0)}}},
        MarkupRow{"FontSizeInPoints", "<font size=20>x", {{"x", {}, clWindowText, -27}}},
        MarkupRow{"FontColourAndSizeTogether", "<font size=20 color=#00FF00>x", {{"x", {}, RGB(0, 255, 0), -27}}},
        MarkupRow{"UnreadableColourKeepsTheFont", "<font color=red>x<font color=#12345G>y", {{"xy"}}},
        MarkupRow{"QuotedColourKeepsTheFont", "<font color=\"#FF0000\">x", {{"x"}}},
        MarkupRow{"UnreadableSizeKeepsTheFont", "<font size=big>x<font size=0>y<font size=99999999999>z", {{"xyz"}}},
        MarkupRow{"LinkIsBlueAndUnderlinedUntilItCloses",
                  "<a href=x>x</a>y",
                  {{"x", fsUnderline, kLink}, {"y", {}, clWindowText}}},
        MarkupRow{"SlashesInAValueDoNotCloseTheTag", "<a href=http://a/b>x</a>y", {{"x", fsUnderline, kLink}, {"y"}}},
        MarkupRow{"ExtraClosingTagsAreIgnored", "</b></b><b>x</b>y", {{"x", fsBold}, {"y"}}},
        MarkupRow{"UnfinishedTagAtTheEnd", "x<b", {{"x"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HtmlCell, ColumnMarkupSurroundsTheValue) {
  THtmlColumn column;
  column.SetMarkupBefore(QStringLiteral("<b>"));
  column.SetMarkupAfter(QStringLiteral("</b>!"));
  Sheet sheet;
  EXPECT_TRUE(Painted(column, sheet, QStringLiteral("x")) == Expected(column, {{"x", fsBold}, {"!"}}));
}

// Nothing one cell opens reaches the next one.
TEST(HtmlCell, EachCellStartsWithTheColumnsFontAndNoTagOpen) {
  THtmlColumn column;
  Sheet first, second;
  Painted(column, first, QStringLiteral("<b><i><a href=x><font color=#FF0000 size=20>x"));
  EXPECT_TRUE(Painted(column, second, QStringLiteral("y</b>z")) == Expected(column, {{"yz"}}));
}

TEST(HtmlCell, EllipsisIsDrawnAtTheFirstCharacterThatDoesNotFit) {
  THtmlColumn column;
  column.SetWrapKind(wkEllipsis);
  const QString text = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
  Sheet probe;
  probe.canvas.Font()->Assign(column.Font());
  // The first character whose right edge comes within 8 pixels of the cell's.
  int x = kCell.Left, fitting = 0;
  while (x + probe.canvas.TextWidth(text[fitting]) + 8 < kCell.Right) x += probe.canvas.TextWidth(text[fitting++]);
  ASSERT_LT(fitting, text.size());
  Sheet sheet;
  EXPECT_TRUE(Painted(column, sheet, text) == Expected(column, {{text.left(fitting) + QStringLiteral("...")}}));

  column.SetWrapKind(wkNone);
  Sheet unclipped;
  EXPECT_TRUE(Painted(column, unclipped, text.left(fitting + 1)) == Expected(column, {{text.left(fitting + 1)}}));
}

}  // namespace
