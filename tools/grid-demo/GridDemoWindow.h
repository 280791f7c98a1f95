#pragma once
// The grid suite's showcase: one grid view with every column kind over
// generated rows, with the input row, footer formulas, the indicator,
// multi-row selection, an in-place editor for every column that holds a
// value, sorting by header clicks and column dragging. A menu switches the
// look and the grid lines; errors reported through the application object
// show in the status bar.

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "grid/GridView.h"
#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/SysUtils.h"

class QAction;
class QLabel;
class QMenu;

// The demo grid's columns by index (creation order), one of each kind.
enum TDemoColumn : int {
  dcRow,       // TIncrementColumn
  dcName,      // TTextualColumn
  dcCity,      // TComboBoxColumn
  dcAmount,    // TNumericColumn
  dcDate,      // TDateColumn
  dcApproved,  // TCheckBoxColumn
  dcProgress,  // TProgressColumn
  dcRate,      // TRateColumn
  dcStatus,    // TImageColumn
  dcPicture,   // TGraphicColumn
  dcNote,      // THtmlColumn
  dcColumnCount
};

// One generated row: the same index always gives the same values.
struct TDemoRow {
  QString Name;
  QString City;
  double Amount = 0;
  TDateTime Date = 0;
  bool Approved = false;
  double Progress = 0;
  int Rate = 0;
  int Status = 0;
  int Picture = 0;
  QString Note;
};
TDemoRow DemoRow(int index);

// The choices the combo box, status and picture columns offer.
const QStringList& DemoCities();
const QStringList& DemoStatusNames();
const QStringList& DemoPictureNames();

// Loads the generated rows into a grid made by the window.
void FillDemoRows(TGridView* grid, int first, int count);

// Grid-line menu choices: the three styles, and no lines at all.
enum class TDemoGridLines { Normal, Framed, HorizontalOnly, None };

class TGridDemoWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kDefaultRows = 5000;
  // Enough to show the grid staying fast, and far from memory trouble.
  static constexpr int kMaxRows = 1000000;

  explicit TGridDemoWindow(int rows = kDefaultRows, QWidget* parent = nullptr);
  ~TGridDemoWindow() override;

  TGridView* Grid() const { return grid_; }
  // The menu actions, for the keyboard and for tests.
  QAction* LookAction(bool themed) const { return themed ? themedAction_ : classicAction_; }
  QAction* GridLinesAction(TDemoGridLines lines) const { return linesActions_[size_t(lines)]; }
  // The last error shown in the status bar; empty when none.
  const QString& LastError() const { return lastError_; }

  void SetThemed(bool themed);
  void SetGridLines(TDemoGridLines lines);
  // Shown in the status bar until the next one.
  void ShowError(const QString& message);
  // Deletes every selected row; answers how many went.
  int DeleteSelectedRows();
  // Asks first, through ConfirmDelete; answers how many went.
  int AskAndDeleteSelectedRows();
  // Answers whether the given number of rows may go; a question box unless
  // replaced (tests answer it themselves).
  std::function<bool(int)> ConfirmDelete;
  // "Görünüm › Sütunlar": one checkable entry per column, checked when shown.
  QMenu* ColumnsMenu() const { return columnsMenu_; }

 private:
  void MakePictures();
  void MakeColumns();
  void MakeMenus();
  void ConnectGrid();
  void CellChanged(int ACol, int ARow);
  void InputAccept(bool& Accept);
  void ShowRowCount();
  void RefreshFooters();
  void FillColumnsMenu();
  void GridKeyDown(Word& Key, TShiftState Shift);
  // A row added under a sort mark would sit out of order: the mark goes.
  void ClearSortMark();

  // Pictures the cells point at: they outlive the grid, which is deleted first.
  std::unique_ptr<TImageList> statusImages_;
  std::array<TBitmap, 4> pictures_;
  TGridView* grid_ = nullptr;
  QAction* classicAction_ = nullptr;
  QAction* themedAction_ = nullptr;
  std::array<QAction*, 4> linesActions_{};
  QMenu* columnsMenu_ = nullptr;
  QLabel* rowsLabel_ = nullptr;
  QLabel* errorLabel_ = nullptr;
  QString lastError_;
};
